#pragma once
#include "platform/forms/control.h"

#include <QPixmap>
#include <QString>
#include <functional>
#include <vector>

class QMainWindow;
class QMenuBar;

namespace forms {

class CommandButton;
class Menu;
class Timer;
namespace detail {
    class Window;
    class HandlerScope;
    Form* loadInstance(Form** slot, Form* (*make)());
}
void discardAll();

// Border styles of a form.
enum class Border { None = 0,
    FixedSingle = 1,
    Sizable = 2,
    FixedDialog = 3 };

// Why a form is being unloaded (the original's UnloadMode).
constexpr int vbFormControlMenu = 0; // the close box
constexpr int vbFormCode = 1; // Unload from code

// A window with the original's form semantics. A form class derives from Form,
// declares its controls as members (containers before their children) and sets its
// design values and wires its events in its constructor: that constructor is the
// design, so every load starts from the same values. Its one automatic instance is
// reached through a FormRef (see below).
class Form : public Container, public TwipsRect<Form> {
public:
    Form();
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    Form& form() override { return *this; }
    QWidget* client() override;
    // Not blocked by a modal window above it (a form has no Enabled of its own).
    bool effectivelyEnabled() const override;
    bool effectivelyVisible() const override;

    // Life cycle.
    // Modeless show. Fails while a modal form or message box is up, unless this form is
    // already shown (then it only comes to the front).
    void show();
    // Modal show: a nested loop on the clock's yield; returns when this form is unloaded.
    // Timers keep ticking. Fails when the form is already shown.
    void showModal();
    // Runs QueryUnload and Unload (either may cancel: returns false), hides, ends a modal
    // loop of this form, detaches the automatic instance and destroys the form as soon as
    // none of its handlers is running any more.
    bool unload();
    // False once this instance has been unloaded: a handler that resumes after a wait
    // asks this before touching its form.
    bool isLoaded() const { return loaded_; }
    bool isShown() const { return shown_; }
    bool isModal() const { return modal_; }
    // Counts loads of this form class: differs between two instances.
    unsigned generation() const { return generation_; }

    // Geometry of the outer frame, in twips; setting the size raises Resize.
    using TwipsRect<Form>::move;
    void move(float left, float top, float width, float height);
    // Design helper: sets the outer size from a client area size.
    void setClientSize(float width, float height);
    static float screenWidth();
    static float screenHeight();
    // Left = (other.Width - Width) / 2 + other.Left, likewise Top; single precision.
    void centerOn(const Form& other);
    void centerOnScreen();

    QString caption() const { return caption_; }
    void setCaption(const QString& text);

    // Design properties.
    void setBorderStyle(Border b);
    void setMinButton(bool on);
    void setMaxButton(bool on);
    // Off: a dialog of the program's main window, not listed in the taskbar.
    void setShowInTaskbar(bool on);
    // The window's icon; a null picture removes it.
    void setIcon(const QPixmap& picture);
    const QPixmap& icon() const { return icon_; }
    void setKeyPreview(bool on) { keyPreview_ = on; }
    // Off: keys reach the form as plain characters, never through an input method.
    void setInputMethodEnabled(bool on);
    // Esc clicks the cancel button, Enter the default button; none unless set.
    void setCancelButton(CommandButton* b) { cancelButton_ = b; }
    void setDefaultButton(CommandButton* b) { defaultButton_ = b; }

    // Repaints the shown window at once, without running any input or timer handler.
    void paintNow();
    // The control that has the focus, or nullptr.
    Control* activeControl() const { return activeControl_; }

    // Events.
    std::function<void()> onLoad;
    std::function<void()> onResize;
    std::function<void(int& cancel, int unloadMode)> onQueryUnload;
    std::function<void(int& cancel)> onUnload;
    std::function<void(int& keyAscii)> onKeyPress;
    std::function<void(int& keyCode, int shift)> onKeyDown;

    // Scripted user actions (tests): the close box, and keys typed at the focused control
    // (or at the form when no control has the focus). Each character of text is one key;
    // "\r" is Enter, "\x1b" Esc, "\b" Backspace.
    void userClose();
    void userType(const QString& text);
    // A non-character key (Qt::Key_*) with Qt modifiers, for KeyDown (e.g. Ctrl+Tab).
    void userKey(int qtKey, int qtModifiers = 0);

    // Runs a handler with this form's handler depth held. From code: failures pass to the
    // caller. Used by the controls; also usable for anything that must keep the form alive.
    template <class F, class... A>
    void raise(const F& handler, A&&... args);

    // The layer's own use.
    QMainWindow* window() const;
    // A form shown modally, kept out of the taskbar or with a fixed dialog border is a
    // dialog: a window of its owner's, typed as a dialog.
    bool isDialog() const;
    // The form a dialog shown now belongs to: the topmost shown modal form other than
    // except, else the main window (the first shown form that is no dialog); or none.
    static Form* dialogOwner(const Form* except);
    QMenuBar* menuBar();
    int handlerDepth() const { return depth_; }
    void forgetControl(Control* c);
    void addTimer(Timer* t) { timers_.push_back(t); }
    void removeTimer(Timer* t);
    void addMenu(Menu* m) { menus_.push_back(m); }
    void removeMenu(Menu* m);
    void controlAdded(Control* c) { controls_.push_back(c); }
    const std::vector<Control*>& controls() const { return controls_; }
    bool keyRoute(Control* target, int qtKey, int qtModifiers, const QString& text, bool& deliver, QString& deliverText);
    bool inputMethodEnabled() const { return imEnabled_; }
    // Makes c the active control, raising the previous one's LostFocus and c's GotFocus.
    void moveFocusTo(Control* c);
    // The Tab key: the focus moves to the next control (previous one backwards) by
    // TabIndex, ties in creation order, among those a user can reach and see: enabled,
    // visible, some part of it in view (detail::inView), and of a group of option
    // buttons only the selected one.
    void tabFrom(Control* from, bool forward);
    // After a control has moved or come into view: a focused control that no part of can
    // be seen any more gives the focus to the first Tab stop in view.
    void keepFocusInView();

private:
    friend class detail::Window;
    friend class detail::HandlerScope;
    friend Form* detail::loadInstance(Form** slot, Form* (*make)());
    friend void forms::discardAll();

    void applyGeometry();
    void showFocusFrameIfByKey();
    void applyFlags();
    void adoptOwner();
    bool unloadWith(int mode, bool askQuery);
    void detach();
    friend class Control;

    detail::Window* window_;
    QWidget* client_;
    Form** slot_ = nullptr;
    unsigned generation_ = 0;
    bool loaded_ = true;
    bool shown_ = false;
    bool modal_ = false;
    bool unloading_ = false;
    bool designing_ = true; // the constructor runs: design values raise no events
    bool everShown_ = false;
    bool keepingFocusInView_ = false;
    int depth_ = 0;
    QString caption_;
    QPixmap icon_;
    Border border_ = Border::Sizable;
    bool minButton_ = true, maxButton_ = true;
    bool keyPreview_ = false;
    bool showInTaskbar_ = true;
    bool imEnabled_ = true;
    CommandButton* cancelButton_ = nullptr;
    CommandButton* defaultButton_ = nullptr;
    Control* activeControl_ = nullptr;
    std::vector<Control*> controls_;
    std::vector<Timer*> timers_;
    std::vector<Menu*> menus_;
};

namespace detail {
    // Holds a form's handler depth for its lifetime; a form unloaded meanwhile is
    // destroyed after the outermost scope has ended.
    class HandlerScope {
    public:
        explicit HandlerScope(Form& f);
        ~HandlerScope();
        HandlerScope(const HandlerScope&) = delete;
        HandlerScope& operator=(const HandlerScope&) = delete;

    private:
        Form& form_;
    };

    // Runs fn as the outermost handler of a user or timer event: a layer failure that
    // nothing caught ends the event (reported on standard error), as it cannot return
    // into the window system. Other exceptions pass.
    void userEvent(Form& f, const std::function<void()>& fn);

    Form* loadInstance(Form** slot, Form* (*make)());
}

template <class F, class... A>
void Form::raise(const F& handler, A&&... args)
{
    if (!handler || designing_)
        return;
    detail::HandlerScope scope(*this);
    handler(std::forward<A>(args)...);
}

// The automatic instance of form class T: `inline forms::FormRef<FrmMain> frmMain;`
// then `frmMain()` loads it (hidden, Load handler run) on first access and returns it;
// `frmMain.isLoaded()` asks without loading. After an unload the next access builds a
// fresh instance with its design values.
template <class T>
class FormRef {
public:
    T& operator()()
    {
        Form* f = instance_ ? instance_ : detail::loadInstance(&instance_, &make);
        return static_cast<T&>(*f);
    }
    bool isLoaded() const { return instance_ != nullptr; }
    // The instance if loaded, else nullptr (never loads).
    T* ifLoaded() const { return static_cast<T*>(instance_); }
    // Unloads the instance if there is one; true when it was unloaded or none was loaded.
    bool unload() { return instance_ ? instance_->unload() : true; }

private:
    static Form* make() { return new T; }
    Form* instance_ = nullptr;
};

// The interface's font names are the Windows ones: IPA's proportional Gothic stands in
// for them and is the application's own font too.
void useStandInFonts();

// Qt's own texts (message-box buttons, the file dialog) in the interface's language,
// whatever the learner's locale, where Qt's Japanese translation is installed.
void useJapaneseQtTexts();

// Every loaded form (automatic instances), in load order.
std::vector<Form*> loadedForms();
// Hides and detaches every form without running any handler (end of the program, test
// tear-down); forms not on the stack are destroyed at once, the others when they return.
void discardAll();

} // namespace forms
