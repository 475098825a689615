#include "platform/forms/control.h"

#include "platform/forms/controls.h"
#include "platform/forms/detail.h"

#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPalette>
#include <QPointer>
#include <QSet>

#include <memory>
#include <optional>

namespace forms {

namespace detail {

    namespace {
        QHash<const QObject*, Control*>& registry()
        {
            static QHash<const QObject*, Control*> r;
            return r;
        }

        // System colour n -> palette role (the usual correspondences).
        struct SystemColor {
            QPalette::ColorRole role;
            QPalette::ColorGroup group;
        };
        constexpr SystemColor systemColors[] = {
            { QPalette::Button, QPalette::Active }, // 0 scroll bars
            { QPalette::Dark, QPalette::Active }, // 1 desktop
            { QPalette::Highlight, QPalette::Active }, // 2 active caption
            { QPalette::Mid, QPalette::Active }, // 3 inactive caption
            { QPalette::Window, QPalette::Active }, // 4 menu
            { QPalette::Base, QPalette::Active }, // 5 window background
            { QPalette::Shadow, QPalette::Active }, // 6 window frame
            { QPalette::WindowText, QPalette::Active }, // 7 menu text
            { QPalette::Text, QPalette::Active }, // 8 window text
            { QPalette::HighlightedText, QPalette::Active }, // 9 caption text
            { QPalette::Mid, QPalette::Active }, // 10 active border
            { QPalette::Mid, QPalette::Active }, // 11 inactive border
            { QPalette::Dark, QPalette::Active }, // 12 application workspace
            { QPalette::Highlight, QPalette::Active }, // 13 highlight
            { QPalette::HighlightedText, QPalette::Active }, // 14 highlight text
            { QPalette::Button, QPalette::Active }, // 15 button face
            { QPalette::Mid, QPalette::Active }, // 16 button shadow
            { QPalette::Text, QPalette::Disabled }, // 17 grey text
            { QPalette::ButtonText, QPalette::Active }, // 18 button text
            { QPalette::WindowText, QPalette::Inactive }, // 19 inactive caption text
            { QPalette::Light, QPalette::Active }, // 20 3D highlight
            { QPalette::Shadow, QPalette::Active }, // 21 3D dark shadow
            { QPalette::Midlight, QPalette::Active }, // 22 3D light
            { QPalette::ToolTipText, QPalette::Active }, // 23 info text
            { QPalette::ToolTipBase, QPalette::Active }, // 24 info background
        };
    } // namespace

    QColor toQColor(Color c)
    {
        if (c & 0x80000000u) {
            std::uint32_t n = c & 0xFFFFu;
            if (n < std::size(systemColors)) {
                QPalette p = QApplication::palette();
                return p.color(systemColors[n].group, systemColors[n].role);
            }
            return Qt::black;
        }
        return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
    }

    void registerWidget(QWidget* w, Control* c) { registry().insert(w, c); }
    void unregisterWidget(QWidget* w) { registry().remove(w); }

    Control* controlOf(const QObject* o)
    {
        for (; o; o = o->parent()) {
            auto it = registry().constFind(o);
            if (it != registry().constEnd())
                return it.value();
            if (o->isWidgetType() && static_cast<const QWidget*>(o)->isWindow())
                return nullptr;
        }
        return nullptr;
    }

    Form* formOf(const QObject* o)
    {
        if (!o || !o->isWidgetType())
            return nullptr;
        auto* w = dynamic_cast<Window*>(static_cast<const QWidget*>(o)->window());
        return w ? w->form() : nullptr;
    }

    int vbShift(Qt::KeyboardModifiers m)
    {
        return (m & Qt::ShiftModifier ? vbShiftMask : 0) | (m & Qt::ControlModifier ? vbCtrlMask : 0)
            | (m & Qt::AltModifier ? vbAltMask : 0);
    }

    int vbButton(Qt::MouseButton b)
    {
        switch (b) {
        case Qt::LeftButton:
            return vbLeftButton;
        case Qt::RightButton:
            return vbRightButton;
        case Qt::MiddleButton:
            return vbMiddleButton;
        default:
            return 0;
        }
    }

    namespace {
        // Key events the layer passes on itself: the filter lets them through untouched.
        QSet<const QEvent*>& passing()
        {
            static QSet<const QEvent*> s;
            return s;
        }

        bool send(QWidget* w, QEvent* e, bool spontaneous)
        {
            passing().insert(e);
            // A spontaneous event stays one: its shortcuts were tried before it arrived.
            bool r = spontaneous ? QCoreApplication::instance()->notify(w, e) : QCoreApplication::sendEvent(w, e);
            passing().remove(e);
            return r;
        }
    } // namespace

    void deliverKey(QWidget* w, const QString& text)
    {
        int key = Qt::Key_unknown;
        if (text == QStringLiteral("\b"))
            key = Qt::Key_Backspace;
        else if (text == QStringLiteral("\r"))
            key = Qt::Key_Return;
        else if (text == QStringLiteral("\x1b"))
            key = Qt::Key_Escape;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        send(w, &press, false);
    }

    // Down and Right step forward, Up and Left back; nullopt for any other key.
    std::optional<bool> arrowForward(int key)
    {
        if (key == Qt::Key_Down || key == Qt::Key_Right)
            return true;
        if (key == Qt::Key_Up || key == Qt::Key_Left)
            return false;
        return std::nullopt;
    }

    bool& pressedKeyLast()
    {
        static bool key = false;
        return key;
    }

    // Routes every key typed at a form's widgets through the form's key handling, and
    // follows the focus into the forms' own notion of the active control.
    class AppFilter : public QObject {
    protected:
        bool eventFilter(QObject* o, QEvent* e) override
        {
            if (e->type() == QEvent::MouseButtonPress)
                pressedKeyLast() = false;
            else if (e->type() == QEvent::KeyPress || e->type() == QEvent::ShortcutOverride)
                pressedKeyLast() = true; // a menu's shortcut key is only ever seen as the latter
            if (e->type() != QEvent::KeyPress || passing().contains(e) || !o->isWidgetType())
                return false;
            // Only at the first delivery, not while the event travels up to the parents.
            QWidget* first = QApplication::focusWidget();
            if (!first)
                first = QApplication::activeWindow();
            if (o != first)
                return false;
            Form* f = formOf(o);
            if (!f)
                return false;
            KeyboardScope keyboard;
            auto* k = static_cast<QKeyEvent*>(e);
            Control* target = controlOf(o);
            if (target && !target->reachable())
                target = nullptr;
            bool deliver = true;
            QString out;
            QPointer<QWidget> receiver = static_cast<QWidget*>(o);
            f->keyRoute(target, k->key(), static_cast<int>(k->modifiers()), k->text(), deliver, out);
            // The form has had the key. From here on it travels as a key the layer passes
            // on: a handler that moved the focus must not make one of the parents it climbs
            // through look like a first delivery (the form would see the key twice).
            e->accept();
            if (!deliver || !receiver)
                return true;
            // Tab and Shift+Tab follow the form's TabIndex order (an editable text editor
            // keeps its Tab), never Qt's own chain, which knows nothing of what is in view.
            const bool tab = k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab;
            if (tab && !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
                && !keepsTab(target, k->key(), static_cast<int>(k->modifiers()))) {
                if (f->isLoaded())
                    f->tabFrom(target, k->key() == Qt::Key_Tab && !(k->modifiers() & Qt::ShiftModifier));
                return true;
            }
            // Arrows in an option group select as they move, as the desktop's radio
            // buttons do (Qt's own move only focuses: the layer keeps the groups itself).
            if (auto* option = dynamic_cast<OptionButton*>(target);
                option && arrowForward(k->key()) && !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
                if (f->isLoaded())
                    option->arrowTo(*arrowForward(k->key()));
                return true;
            }
            if (out != k->text()) {
                deliverKey(receiver, out);
                return true;
            }
            std::unique_ptr<QEvent> copy(e->clone());
            send(receiver, copy.get(), e->spontaneous());
            e->setAccepted(true);
            return true;
        }
    };

    bool lastPressWasKey() { return pressedKeyLast(); }

    void installAppHooks()
    {
        static bool installed = false;
        if (installed || !QCoreApplication::instance())
            return;
        installed = true;
        auto* filter = new AppFilter;
        filter->setParent(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(filter);
        QObject::connect(qApp, &QApplication::focusChanged, filter, [](QWidget*, QWidget* now) {
            // Focus leaving for another window or no window is no LostFocus.
            Control* c = controlOf(now);
            if (!c)
                return;
            Form& f = c->form();
            if (f.isLoaded() && f.activeControl() != c)
                f.moveFocusTo(c);
        });
    }

    bool Hook::before(Control* c, QWidget* w, QEvent* e)
    {
        switch (e->type()) {
        case QEvent::MouseButtonPress:
            if (auto* combo = dynamic_cast<ComboBox*>(c); combo && combo->locked())
                return true;
            // The focus moves first (the previous control's LostFocus), whatever sent the click.
            if (static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
                KeyboardScope::Aside click;
                c->setFocus();
            }
            mouse(c, w, static_cast<QMouseEvent*>(e), c->onMouseDown);
            return false;
        case QEvent::MouseMove:
            mouse(c, w, static_cast<QMouseEvent*>(e), c->onMouseMove);
            return false;
        case QEvent::MouseButtonDblClick:
            fireUser(*c, c->onDblClick);
            return false;
        case QEvent::KeyPress:
        case QEvent::Wheel:
            if (auto* combo = dynamic_cast<ComboBox*>(c); combo && combo->locked())
                return true;
            return false;
        default:
            return false;
        }
    }

    void Hook::after(Control* c, QWidget* w, QEvent* e)
    {
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::MouseButtonDblClick:
            e->accept();
            break;
        case QEvent::MouseButtonRelease: {
            auto* m = static_cast<QMouseEvent*>(e);
            // Controls whose click is their mouse release; buttons click through Qt.
            bool clicks = dynamic_cast<TextBox*>(c) || dynamic_cast<Label*>(c) || dynamic_cast<PictureBox*>(c)
                || dynamic_cast<Frame*>(c);
            if (clicks && m->button() == Qt::LeftButton && w->rect().contains(m->position().toPoint()))
                fireUser(*c, c->onClick);
            mouse(c, w, m, c->onMouseUp);
            e->accept();
            break;
        }
        default:
            break;
        }
    }

    void Hook::mouse(Control* c, QWidget*, QMouseEvent* e, const std::function<void(int, int, float, float)>& h)
    {
        if (!h)
            return;
        int button = e->type() == QEvent::MouseMove ? 0 : vbButton(e->button());
        if (e->type() == QEvent::MouseMove) {
            Qt::MouseButtons b = e->buttons();
            button = (b & Qt::LeftButton ? vbLeftButton : 0) | (b & Qt::RightButton ? vbRightButton : 0)
                | (b & Qt::MiddleButton ? vbMiddleButton : 0);
        }
        QPointF p = e->position();
        fireUser(*c, h, button, vbShift(e->modifiers()), static_cast<float>(p.x()) * twipsPerPixel,
            static_cast<float>(p.y()) * twipsPerPixel);
    }

} // namespace detail

Control::Control(Container& parent, QWidget* widget, bool focusable)
    : TwipsRect<Control>(0, 0)
    , form_(&parent.form())
    , container_(&parent)
    , widget_(widget)
    , focusable_(focusable)
    , foreColor_(vbButtonText)
    , backColor_(vbButtonFace)
    , fontName_(QStringLiteral("ＭＳ Ｐゴシック"))
    , fontSize_(9.0f)
{
    detail::registerWidget(widget_, this);
    if (auto* h = dynamic_cast<detail::HookedBase*>(widget_))
        h->control = this;
    widget_->setFocusPolicy(focusable ? Qt::StrongFocus : Qt::NoFocus);
    widget_->setMouseTracking(true);
    tabIndex_ = static_cast<int>(form_->controls().size());
    form_->controlAdded(this);
    applyFont();
    widget_->show();
}

Control::~Control()
{
    form_->forgetControl(this);
    detail::unregisterWidget(widget_);
    if (auto* h = dynamic_cast<detail::HookedBase*>(widget_))
        h->control = nullptr;
    delete widget_;
}

bool Control::reachable() const
{
    return enabled_ && visible_ && container_->effectivelyEnabled() && container_->effectivelyVisible();
}

void Control::leaveFocus()
{
    bool active = form_->activeControl_ == this;
    QWidget* fw = QApplication::focusWidget();
    if (fw && (fw == widget_ || widget_->isAncestorOf(fw)))
        form_->client()->setFocus(Qt::OtherFocusReason); // neutral: no button Space would press
    if (active)
        form_->moveFocusTo(nullptr);
}

void Control::setEnabled(bool on)
{
    if (on == enabled_)
        return;
    if (!on)
        leaveFocus();
    enabled_ = on;
    widget_->setEnabled(on);
}

void Control::setVisible(bool on)
{
    if (on == visible_)
        return;
    if (!on)
        leaveFocus();
    visible_ = on;
    widget_->setVisible(on);
    if (on)
        form_->keepFocusInView(); // it may cover the focused control
}

void Control::move(float left, float top, float width, float height)
{
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    applyGeometry();
    form_->keepFocusInView();
}

void Control::applyGeometry()
{
    widget_->setGeometry(detail::px(left_), detail::px(top_), std::max(0, detail::px(width_)), std::max(0, detail::px(height_)));
}

void Control::setForeColor(Color c)
{
    foreColor_ = c;
    applyColors();
}

void Control::setBackColor(Color c)
{
    backColor_ = c;
    applyColors();
}

void Control::applyColors()
{
    QPalette p = widget_->palette();
    QColor fore = detail::toQColor(foreColor_), back = detail::toQColor(backColor_);
    for (auto role : { QPalette::WindowText, QPalette::ButtonText, QPalette::Text })
        p.setColor(QPalette::Active, role, fore), p.setColor(QPalette::Inactive, role, fore);
    for (auto role : { QPalette::Window, QPalette::Button })
        p.setColor(role, back);
    widget_->setPalette(p);
}

void Control::setFontSize(float points)
{
    fontSize_ = points;
    applyFont();
}

void Control::setFontBold(bool on)
{
    fontBold_ = on;
    applyFont();
}

void Control::setFontUnderline(bool on)
{
    fontUnderline_ = on;
    applyFont();
}

void Control::setFont(const QString& name, float points, bool bold)
{
    fontName_ = name;
    fontSize_ = points;
    fontBold_ = bold;
    applyFont();
}

void Control::applyFont()
{
    QFont f(fontName_);
    if (fontSize_ > 0)
        f.setPointSizeF(fontSize_);
    f.setBold(fontBold_);
    f.setUnderline(fontUnderline_);
    widget_->setFont(f);
    if (!form_->inputMethodEnabled())
        widget_->setAttribute(Qt::WA_InputMethodEnabled, false);
}

void Control::setToolTipText(const QString& text)
{
    toolTip_ = text;
    widget_->setToolTip(text);
}

void Control::setMousePointer(int pointer)
{
    switch (pointer) {
    case vbCustom:
        widget_->setCursor(Qt::PointingHandCursor);
        break;
    case vbHourglass:
        widget_->setCursor(Qt::WaitCursor);
        break;
    case vbIbeam:
        widget_->setCursor(Qt::IBeamCursor);
        break;
    case vbArrow:
        widget_->setCursor(Qt::ArrowCursor);
        break;
    default:
        widget_->unsetCursor();
        break;
    }
}

void Control::setTabIndex(int i) { tabIndex_ = i; }

void Control::setFocus()
{
    if (!focusable_ || !reachable() || !form_->isLoaded())
        return;
    form_->moveFocusTo(this);
    if (form_->activeControl_ != this)
        return;
    // Qt's styles draw the focus frame only in a window whose focus has moved from the
    // keyboard; Qt marks one only for its own Tab chain, which the layer never uses.
    QWidget* window = widget_->window();
    if (detail::KeyboardScope::active() && !window->testAttribute(Qt::WA_KeyboardFocusChange)) {
        window->setAttribute(Qt::WA_KeyboardFocusChange);
        widget_->update(); // it may have the focus already
    }
    widget_->setFocus(Qt::OtherFocusReason);
}

bool Control::hasFocus() const { return form_->activeControl_ == this; }

} // namespace forms
