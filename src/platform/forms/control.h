#pragma once
#include <QString>
#include <cstdint>
#include <functional>

class QWidget;

namespace forms {

class Form;
class Control;
namespace detail {
    class Hook;
}

// Colours are the original's numbers: 0x00BBGGRR, or 0x80000000 | n for system colour n.
using Color = std::uint32_t;
constexpr Color vbBlack = 0x000000;
constexpr Color vbRed = 0x0000FF;
constexpr Color vbWhite = 0xFFFFFF;
constexpr Color systemColor(int n) { return 0x80000000u | static_cast<Color>(n); }
constexpr Color vbScrollBars = systemColor(0);
constexpr Color vbButtonFace = systemColor(15);
constexpr Color vbWindowBackground = systemColor(5);
constexpr Color vbWindowText = systemColor(8);
constexpr Color vbButtonText = systemColor(18);

// Geometry is in twips (15 per pixel at 96 dpi), single precision.
constexpr float twipsPerPixel = 15.0f;

// Mouse buttons and the Shift argument as the original passes them.
constexpr int vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4;
constexpr int vbShiftMask = 1, vbCtrlMask = 2, vbAltMask = 4;

// Alignment of labels and text boxes.
enum class Align { Left = 0,
    Right = 1,
    Center = 2 };

// The geometry of forms and controls in twips, read back exactly as written. Self
// provides move(left, top, width, height), which every setter goes through.
template <class Self>
class TwipsRect {
public:
    float left() const { return left_; }
    float top() const { return top_; }
    float width() const { return width_; }
    float height() const { return height_; }
    void setLeft(float v) { self().move(v, top_, width_, height_); }
    void setTop(float v) { self().move(left_, v, width_, height_); }
    void setWidth(float v) { self().move(left_, top_, v, height_); }
    void setHeight(float v) { self().move(left_, top_, width_, v); }
    void move(float left, float top) { self().move(left, top, width_, height_); }

protected:
    TwipsRect(float width, float height) : width_(width), height_(height) {}
    float left_ = 0, top_ = 0, width_, height_;

private:
    Self& self() { return static_cast<Self&>(*this); }
};

// Anything that holds controls: a form, a frame, a picture box.
class Container {
public:
    virtual ~Container() = default;
    virtual Form& form() = 0;
    // The widget children are placed in (coordinates relative to it).
    virtual QWidget* client() = 0;
    // The own flags of this container and everything above it.
    virtual bool effectivelyEnabled() const = 0;
    virtual bool effectivelyVisible() const = 0;
};

// What every control has. Each control keeps its own Enabled, Visible, colours, font
// and geometry: they read back as set, whatever the state of its container.
// Writes of these common properties raise no event.
class Control : public TwipsRect<Control> {
public:
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    Form& form() const { return *form_; }
    Container& container() const { return *container_; }
    // Position in its control array, -1 when it is not an element of one.
    int index() const { return index_; }

    bool enabled() const { return enabled_; }
    void setEnabled(bool on);
    bool visible() const { return visible_; }
    void setVisible(bool on);
    // Enabled and visible up to the form (what decides whether a user can reach it).
    bool reachable() const;

    using TwipsRect<Control>::move;
    virtual void move(float left, float top, float width, float height);

    Color foreColor() const { return foreColor_; }
    void setForeColor(Color c);
    Color backColor() const { return backColor_; }
    void setBackColor(Color c);

    bool fontUnderline() const { return fontUnderline_; }
    void setFontSize(float points);
    void setFontBold(bool on);
    void setFontUnderline(bool on);
    void setFont(const QString& name, float points, bool bold = false);

    QString toolTipText() const { return toolTip_; }
    void setToolTipText(const QString& text);
    // See the MousePointer values below.
    void setMousePointer(int pointer);
    // The Tab key's order within the form; by default the order of creation.
    int tabIndex() const { return tabIndex_; }
    void setTabIndex(int i);

    // Whether the kind of control takes the focus at all (labels, frames and lines do not).
    bool takesFocus() const { return focusable_; }
    // Never fails: nothing happens on a control that is disabled, hidden or cannot take focus.
    void setFocus();
    bool hasFocus() const;

    // Events. Each is raised synchronously, nested in whatever caused it; an empty
    // function means no handler. Not every control raises every event.
    std::function<void()> onClick;
    std::function<void()> onDblClick;
    std::function<void()> onChange;
    std::function<void()> onGotFocus;
    std::function<void()> onLostFocus;
    std::function<void(int& keyAscii)> onKeyPress;
    std::function<void(int& keyCode, int shift)> onKeyDown;
    std::function<void(int button, int shift, float x, float y)> onMouseDown;
    std::function<void(int button, int shift, float x, float y)> onMouseUp;
    std::function<void(int button, int shift, float x, float y)> onMouseMove;

    // The layer's own use (and tests that look at pixels); the trainer never needs it.
    QWidget* widget() const { return widget_; }
    // Set by ControlArray.
    void setArrayIndex(int i) { index_ = i; }

protected:
    Control(Container& parent, QWidget* widget, bool focusable);
    // Called when Enabled, Visible or colours change, for controls that paint themselves.
    virtual void applyColors();
    virtual void applyFont();
    virtual void applyGeometry();
    // Focus moves away on disabling or hiding.
    void leaveFocus();

private:
    friend class Form;
    friend class detail::Hook;

    Form* form_;
    Container* container_;
    QWidget* widget_;
    bool focusable_;
    int index_ = -1;
    bool enabled_ = true;
    bool visible_ = true;
    Color foreColor_;
    Color backColor_;
    QString fontName_;
    float fontSize_;
    bool fontBold_ = false;
    bool fontUnderline_ = false;
    QString toolTip_;
    int tabIndex_ = 0;
};

// MousePointer values; vbCustom shows a pointing hand (the only custom pointer in use).
constexpr int vbArrow = 1, vbIbeam = 3, vbHourglass = 11, vbCustom = 99;

} // namespace forms
