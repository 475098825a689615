#pragma once
// Internals shared by the forms layer's sources; not for the trainer.
#include "platform/forms/control.h"
#include "platform/forms/form.h"

#include <QColor>
#include <QEvent>
#include <QMainWindow>
#include <QWidget>
#include <cmath>

class QMouseEvent;

namespace forms::detail {

inline int px(float twips) { return static_cast<int>(std::nearbyint(twips / twipsPerPixel)); }
inline float twips(int pixels) { return static_cast<float>(pixels) * twipsPerPixel; }

QColor toQColor(Color c);

// The control a widget (or one of its inner widgets) stands for, or nullptr.
Control* controlOf(const QObject* o);
void registerWidget(QWidget* w, Control* c);
void unregisterWidget(QWidget* w);
Form* formOf(const QObject* o);

int vbShift(Qt::KeyboardModifiers m);
int vbButton(Qt::MouseButton b);

// Raises a user event of control c (mouse, focus): outermost-event rules of userEvent.
template <class... A>
void fireUser(Control& c, const std::function<void(A...)>& h, A... args)
{
    if (!h)
        return;
    Form& f = c.form();
    userEvent(f, [&] { f.raise(h, args...); });
}

// Mouse events of a control's widget: Down before the widget sees the press, Click (for
// controls that click on release) and Up after it has handled the release. Stops
// propagation so a frame never sees its children's mouse events.
class Hook {
public:
    static bool before(Control* c, QWidget* w, QEvent* e);
    static void after(Control* c, QWidget* w, QEvent* e);
    static void mouse(Control* c, QWidget* w, QMouseEvent* e, const std::function<void(int, int, float, float)>& h);
};

struct HookedBase {
    virtual ~HookedBase() = default;
    Control* control = nullptr;
};

template <class W>
class Hooked : public W, public HookedBase {
public:
    using W::W;

protected:
    bool event(QEvent* e) override
    {
        if (!control)
            return W::event(e);
        Control* c = control;
        if (Hook::before(c, this, e))
            return true;
        bool r = W::event(e);
        Hook::after(c, this, e);
        return r;
    }
};

// A window the compositor has maximised or made full screen: on Wayland it must keep
// the size it was given (see compositorSizesWindows).
bool compositorSized(const QWidget* window);
// The window takes any size from size up: where the compositor sizes windows, the
// least size of a window designed with a fixed one.
void leastSize(QWidget* window, QSize size);

// The top-level window of a form.
class Window : public QMainWindow {
public:
    explicit Window(Form* f)
        : form_(f)
    {
    }
    Form* form() const { return form_; }
    void detach() { form_ = nullptr; }

protected:
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    Form* form_;
};

// A control that takes the key as a character rather than moving the focus: an
// editable text editor keeps its Tab (not Shift+Tab, which has no character to give).
bool keepsTab(const Control* c, int qtKey, int qtModifiers);
// Whether some part of the control can be seen: inside its containers' visible area and
// not wholly covered by a later widget (a sibling of it or of a container) that fills
// its own background.
bool inView(const Control* c);

void installAppHooks();
// Marks a stretch in which a key is being handled: the focus moved meanwhile, by Tab or
// by a handler, is a keyboard move, and its control shows the style's focus frame; so is
// the focus of a form shown meanwhile.
class KeyboardScope {
public:
    explicit KeyboardScope(bool on = true)
        : on_(on)
    {
        if (on_)
            ++depth();
    }
    ~KeyboardScope()
    {
        if (on_)
            --depth();
    }
    KeyboardScope(const KeyboardScope&) = delete;
    KeyboardScope& operator=(const KeyboardScope&) = delete;
    static bool active() { return depth() > 0; }

    // Sets the scope aside: a click, or the input of a modal form's own loop, is no key
    // even inside a key's handling.
    class Aside {
    public:
        Aside()
            : saved_(depth())
        {
            depth() = 0;
        }
        ~Aside() { depth() = saved_; }
        Aside(const Aside&) = delete;
        Aside& operator=(const Aside&) = delete;

    private:
        int saved_;
    };

private:
    bool on_;
    static int& depth()
    {
        static int d = 0;
        return d;
    }
};
// Whether the user's last press was a key rather than a mouse button (a menu chosen
// from the keyboard is a keyboard move).
bool lastPressWasKey();
// Sends a key to a widget as if typed (bypassing the layer's routing).
void deliverKey(QWidget* w, const QString& text);
// Modal stack: forms and message boxes (nullptr) that block the others.
void pushModal(Form* f);
void popModal(Form* f);
Form* topModal(bool& any);

} // namespace forms::detail
