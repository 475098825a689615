#pragma once
#include "platform/forms/control.h"

#include <QPixmap>
#include <QString>
#include <QStringList>

namespace forms {

// Caption shown as plain text ("&" is not an access key here).
class Label : public Control {
public:
    explicit Label(Container& parent);
    QString caption() const { return caption_; }
    void setCaption(const QString& text);
    void setAlignment(Align a);
    // Transparent (0) lets the container show through; opaque (1) paints BackColor.
    void setBackStyle(int style);
    void setWordWrap(bool on);

private:
    void applyColors() override;
    void applyFont() override;
    void applyGeometry() override;
    // The stand-in font runs a few per cent wider than the design's: a caption line
    // that overshoots the label by no more than that is condensed to fit, not broken.
    void fitLines();
    QString caption_;
    bool opaque_ = true;
};

// Click (then MouseUp) on a mouse click; Click alone on Space or Enter while it has the focus.
class CommandButton : public Control {
public:
    explicit CommandButton(Container& parent);
    QString caption() const { return caption_; }
    void setCaption(const QString& text); // "&" marks the access key

    // Scripted user click: takes the focus (the previous control's LostFocus runs first),
    // then Click, then MouseUp. Does nothing when the button cannot be reached.
    void click();
    // Value = True from code: raises Click.
    void press();

private:
    friend class detail::Hook;
    void userClicked(int button);
    QString caption_;
};

class TextBox : public Control {
public:
    explicit TextBox(Container& parent);
    QString text() const { return text_; }
    // Raises Change when the text differs. MaxLength does not apply.
    void setText(const QString& text);
    // 0 = no limit. What the learner types or pastes is cut to it; a text set from
    // code is kept whole.
    int maxLength() const { return maxLength_; }
    void setMaxLength(int n);
    // Read-only but focusable; its events still run.
    bool locked() const { return locked_; }
    void setLocked(bool on);
    void setAlignment(Align a);

    // Scripted user actions: click into the box (focus, Click), double click, typing.
    void click();
    void dblClick();
    void type(const QString& text);

private:
    friend class detail::Hook;
    void applyColors() override;
    void userEdited(const QString& text);
    void applyLimit();
    QString text_;
    int maxLength_ = 0;
    bool locked_ = false;
};

// An option button: the selected one of its container. Value false -> true (from code or
// a user click) clears the others of the same container without events and raises Click;
// a user click on the selected one raises Click again.
class OptionButton : public Control {
public:
    explicit OptionButton(Container& parent);
    QString caption() const { return caption_; }
    void setCaption(const QString& text);
    bool value() const { return value_; }
    void setValue(bool on);
    void click(); // scripted user click
    // An arrow key: the next (or previous) reachable option of the group by TabIndex,
    // wrapping round, takes the focus and is selected, as a click would select it.
    void arrowTo(bool forward);

private:
    friend class detail::Hook;
    void userClicked();
    void select(bool raiseClick);
    QString caption_;
    bool value_ = false;
};

// 0 unticked, 1 ticked, 2 grey. Value writes from code raise Click on a change.
class CheckBox : public Control {
public:
    explicit CheckBox(Container& parent);
    QString caption() const { return caption_; }
    void setCaption(const QString& text);
    int value() const { return value_; }
    void setValue(int v);
    void click(); // scripted user click: toggles

private:
    friend class detail::Hook;
    void userClicked();
    void show();
    QString caption_;
    int value_ = 0;
};

// A control that holds controls (a frame, a picture box): enabled and visible as
// far as it and everything above it are.
class ContainerControl : public Control, public Container {
public:
    Form& form() override { return Control::form(); }
    QWidget* client() override { return widget(); }
    bool effectivelyEnabled() const override { return enabled() && container().effectivelyEnabled(); }
    bool effectivelyVisible() const override { return visible() && container().effectivelyVisible(); }

protected:
    using Control::Control;
};

class Frame : public ContainerControl {
public:
    explicit Frame(Container& parent);
    void setCaption(const QString& text);
    // Border style 0 removes the frame line and caption.
    void setBorderStyle(int style);
};

// Drop-down list (not editable). ListIndex -1 means no selection.
class ComboBox : public Control {
public:
    explicit ComboBox(Container& parent);
    void addItem(const QString& item, int index);
    void removeItem(int index); // Failure when out of range
    int listCount() const { return static_cast<int>(items_.size()); }
    QString list(int index) const; // Failure when out of range
    int listIndex() const { return listIndex_; }
    // -1 .. ListCount - 1, else Failure; raises Click on a change.
    void setListIndex(int index);
    bool locked() const { return locked_; }
    void setLocked(bool on);
    void choose(int index); // scripted user choice (ignored while locked)

private:
    friend class detail::Hook;
    void userChose(int index);
    QStringList items_;
    int listIndex_ = -1;
    bool locked_ = false;
};

// Horizontal scroll bar (slider). Change on a value change from code, on a step or page
// click and when the thumb is released.
class HScrollBar : public Control {
public:
    explicit HScrollBar(Container& parent);
    int min() const { return min_; }
    int max() const { return max_; }
    int value() const { return value_; }
    int largeChange() const { return large_; }
    void setMin(int v);
    void setMax(int v);
    void setSmallChange(int v);
    void setLargeChange(int v);
    // Failure outside Min..Max; Change on a change.
    void setValue(int v);
    // Scripted user drag: the thumb released at v (clamped into range).
    void userScrollTo(int v);

private:
    friend class detail::Hook;
    void userMoved(int v, bool released);
    void setEnds(int min, int max);
    void sync();
    int min_ = 0, max_ = 32767, value_ = 0, small_ = 1, large_ = 1;
    int pressValue_ = 0;
};

// Spinner tied to a buddy text box. A step reads the buddy's number (clamped into
// Min..Max; a text that is no number counts as Value), writes the new value as decimal
// text into the buddy (the buddy's Change runs), then raises its own Change. No wrap:
// a step at the end of the range does nothing. Writes to the buddy from code never
// raise the spinner's Change.
class UpDown : public Control {
public:
    explicit UpDown(Container& parent);
    void setBuddy(TextBox* buddy) { buddy_ = buddy; }
    TextBox* buddy() const { return buddy_; }
    int min() const { return min_; }
    int max() const { return max_; }
    int value() const { return value_; }
    void setMin(int v) { min_ = v; }
    void setMax(int v) { max_ = v; }
    void setIncrement(int v) { increment_ = v; }
    // Failure outside Min..Max; on a change writes the buddy and raises Change.
    void setValue(int v);
    // Scripted user steps.
    void up() { step(+1); }
    void down() { step(-1); }

private:
    friend class detail::Hook;
    void step(int direction);
    TextBox* buddy_ = nullptr;
    int min_ = 0, max_ = 10, increment_ = 1, value_ = 0;
};

class ProgressBar : public Control {
public:
    explicit ProgressBar(Container& parent);
    float value() const { return value_; }
    void setMin(float v);
    void setMax(float v);
    // Failure outside Min..Max.
    void setValue(float v);

private:
    void sync();
    float min_ = 0, max_ = 100, value_ = 0;
};

// Tabs numbered from 1. Selecting a tab (user or code) raises Click on a change.
class TabStrip : public Control {
public:
    explicit TabStrip(Container& parent);
    void addTab(const QString& caption);
    int tabCount() const;
    QString tabCaption(int i) const; // Failure when out of range
    // SelectedItem.Index
    int selectedIndex() const { return selected_; }
    // Tabs(i).Selected = True; Failure when out of range.
    void selectTab(int i);
    bool tabSelected(int i) const { return i == selected_; }
    void clickTab(int i); // scripted user click

private:
    friend class detail::Hook;
    void userSelected(int i);
    int selected_ = 0;
};

// A picture loaded from a file: null when the file is missing or unreadable.
QPixmap loadPicture(const QString& path);

// A picture box is also a container (panels of controls).
class PictureBox : public ContainerControl {
public:
    explicit PictureBox(Container& parent);
    void setPicture(const QPixmap& p);
    void setBorderStyle(int style);
};

// A line between two points of its container (twips). Its colour is BorderColor.
class Line : public Control {
public:
    explicit Line(Container& parent);
    void setPoints(float x1, float y1, float x2, float y2);
    void setBorderColor(Color c);
    void setBorderWidth(int pixels);

private:
    int borderWidth_ = 1;
    float x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
};

// Plain-text editor. Text uses CR LF line breaks; files are code page 932 with CR LF.
class TextEditor : public Control {
public:
    enum class FileResult { Ok,
        CannotOpen,
        Failed };
    struct Outcome {
        FileResult result = FileResult::Ok;
        QString description; // for a message box
        explicit operator bool() const { return result == FileResult::Ok; }
    };

    explicit TextEditor(Container& parent);
    QString text() const { return text_; }
    // Raises Change when the text differs.
    void setText(const QString& text);
    bool locked() const { return locked_; }
    void setLocked(bool on);
    // Replaces the text with the file's (the text stays as it was on a failure).
    // CannotOpen: missing, unreadable or a folder; Failed: bytes that are no code page 932.
    Outcome loadFile(const QString& path);
    // Writes the whole file or nothing. CannotOpen: the file cannot be created or written;
    // Failed: a character with no code page 932 form.
    Outcome saveFile(const QString& path) const;
    // 0 for an empty text, else line breaks + 1.
    int lineCount() const;

    void type(const QString& text); // scripted user typing at the end of the text

private:
    friend class detail::Hook;
    void userEdited();
    void applyColors() override;
    QString text_;
    bool locked_ = false;
};

} // namespace forms
