#include "platform/forms/form.h"

#include <QIcon>

#include "platform/clock.h"
#include "platform/failure.h"
#include "platform/forms/controls.h"
#include "platform/forms/detail.h"
#include "platform/forms/keys.h"
#include "platform/forms/menu.h"
#include "platform/forms/timer.h"
#include "platform/forms/window_system.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QScreen>
#include <QTranslator>
#include <QWindow>
#include <algorithm>
#include <cstdio>

namespace forms {

namespace {
    // The offscreen platform (tests) has no stacking order to change.
    void bringToFront(QWidget* w)
    {
        if (QGuiApplication::platformName() != QStringLiteral("offscreen"))
            w->raise();
        w->activateWindow();
    }

    std::vector<Form*> live; // loaded automatic instances, in load order
    std::vector<Form*> graveyard; // unloaded, waiting for their handlers to return
    platform::Clock* collectOn = nullptr; // clock that has the pending collection
    unsigned generations = 0;
    std::vector<Form*> modalStack; // nullptr: a message box

    // Non-client area assumed for a frame: border and caption (pixels).
    constexpr int frameExtraWidth = 6;
    constexpr int frameExtraHeight = 25;

    void collect()
    {
        collectOn = nullptr;
        auto idle = graveyard;
        for (Form* f : idle) {
            if (f->handlerDepth() == 0) {
                graveyard.erase(std::find(graveyard.begin(), graveyard.end(), f));
                delete f;
            }
        }
    }

    // Destroys idle unloaded forms on the next turn of the clock, from a clean stack:
    // a Qt frame of the form's own widget may still be below the handler that ended.
    void scheduleCollect()
    {
        platform::Clock& c = platform::clock();
        if (collectOn == &c)
            return;
        collectOn = &c;
        c.callAt(c.now(), [] { collect(); });
    }
} // namespace

namespace detail {

    HandlerScope::HandlerScope(Form& f)
        : form_(f)
    {
        ++form_.depth_;
    }

    HandlerScope::~HandlerScope()
    {
        if (--form_.depth_ == 0 && !form_.loaded_)
            scheduleCollect();
    }

    void userEvent(Form& f, const std::function<void()>& fn)
    {
        HandlerScope scope(f);
        try {
            fn();
        } catch (const platform::Failure& e) {
            std::fprintf(stderr, "quenlo: unhandled error in an event handler: %s\n", e.what());
        }
    }

    Form* loadInstance(Form** slot, Form* (*make)())
    {
        Form* f = make();
        f->designing_ = false;
        *slot = f;
        f->slot_ = slot;
        f->generation_ = ++generations;
        live.push_back(f);
        {
            HandlerScope scope(*f);
            f->raise(f->onLoad);
        }
        if (*slot != f)
            throw platform::Failure(QStringLiteral("the form was unloaded while it loaded"));
        return f;
    }

    void pushModal(Form* f) { modalStack.push_back(f); }
    void popModal(Form* f)
    {
        auto it = std::find(modalStack.rbegin(), modalStack.rend(), f);
        if (it != modalStack.rend())
            modalStack.erase(std::next(it).base());
    }
    Form* topModal(bool& any)
    {
        any = !modalStack.empty();
        return any ? modalStack.back() : nullptr;
    }

    bool compositorSized(const QWidget* window)
    {
        return compositorSizesWindows() && (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen));
    }

    void leastSize(QWidget* window, QSize size)
    {
        window->setMinimumSize(size);
        window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }

    // On X a fixed-size window is never maximised. On Wayland the compositor's state
    // stands: the window has taken its size, and asking the compositor back could
    // start a round of requests with one that maximises every window. Restored, it
    // takes the form's size again, one set meanwhile included.
    void Window::changeEvent(QEvent* e)
    {
        QMainWindow::changeEvent(e);
        if (e->type() != QEvent::WindowStateChange || !form_ || form_->border_ == Border::Sizable)
            return;
        constexpr Qt::WindowStates big = Qt::WindowMaximized | Qt::WindowFullScreen;
        if (!compositorSizesWindows()) {
            if (windowState() & big)
                setWindowState(windowState() & ~big);
        } else if (!(windowState() & big) && (static_cast<QWindowStateChangeEvent*>(e)->oldState() & big)) {
            form_->applyGeometry();
        }
    }

    void Window::closeEvent(QCloseEvent* e)
    {
        e->ignore();
        if (form_)
            form_->userClose();
    }

    void Window::moveEvent(QMoveEvent* e)
    {
        QMainWindow::moveEvent(e);
        if (!form_ || !isVisible())
            return;
        // A user moved the window: take the new place unless it is the one set.
        QPoint p = frameGeometry().topLeft();
        if (p.x() != px(form_->left_) || p.y() != px(form_->top_)) {
            form_->left_ = twips(p.x());
            form_->top_ = twips(p.y());
        }
    }

    void Window::resizeEvent(QResizeEvent* e)
    {
        QMainWindow::resizeEvent(e);
        if (!form_ || !isVisible() || form_->border_ != Border::Sizable)
            return;
        int w = width() + frameExtraWidth, h = height() + frameExtraHeight;
        if (w != px(form_->width_) || h != px(form_->height_)) {
            form_->width_ = twips(w);
            form_->height_ = twips(h);
            Form* f = form_;
            userEvent(*f, [f] { f->raise(f->onResize); });
        }
    }

} // namespace detail

Form::Form()
    : TwipsRect<Form>(4800, 3600)
    , window_(new detail::Window(this))
    , client_(new QWidget)
{
    detail::installAppHooks();
    window_->setCentralWidget(client_);
    client_->setFocusPolicy(Qt::NoFocus);
    window_->setAttribute(Qt::WA_DeleteOnClose, false);
    applyFlags();
    applyGeometry();
}

Form::~Form()
{
    for (Timer* t : timers_)
        t->stop();
    detach();
    auto g = std::find(graveyard.begin(), graveyard.end(), this);
    if (g != graveyard.end())
        graveyard.erase(g);
    window_->detach();
    delete window_;
}

QWidget* Form::client() { return client_; }
QMainWindow* Form::window() const { return window_; }

QMenuBar* Form::menuBar() { return window_->menuBar(); }

bool Form::effectivelyEnabled() const
{
    bool any = false;
    Form* top = detail::topModal(any);
    return !any || top == this;
}

bool Form::effectivelyVisible() const { return shown_; }

void Form::removeTimer(Timer* t) { timers_.erase(std::remove(timers_.begin(), timers_.end(), t), timers_.end()); }
void Form::removeMenu(Menu* m) { menus_.erase(std::remove(menus_.begin(), menus_.end(), m), menus_.end()); }

void Form::forgetControl(Control* c)
{
    controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
    if (activeControl_ == c)
        activeControl_ = nullptr;
    if (cancelButton_ == c)
        cancelButton_ = nullptr;
    if (defaultButton_ == c)
        defaultButton_ = nullptr;
}

// ---- life cycle

void Form::show()
{
    if (!loaded_)
        return;
    if (shown_) {
        bringToFront(window_);
        return;
    }
    bool any = false;
    Form* top = detail::topModal(any);
    if (any && top != this)
        throw platform::Failure(QStringLiteral("Can't show non-modal form when modal form is displayed"));
    bool first = !everShown_;
    shown_ = true;
    everShown_ = true;
    adoptOwner();
    applyGeometry();
    window_->show();
    showFocusFrameIfByKey();
    bringToFront(window_);
    if (first)
        raise(onResize);
}

// A form shown by a key (a menu chosen from the keyboard, Enter on a button) shows
// where its focus is from the start, as a later Tab would; one shown by a click or by
// code shows it from the first keyboard move on. After the window's show, which clears
// Qt's mark.
void Form::showFocusFrameIfByKey()
{
    window_->setAttribute(Qt::WA_KeyboardFocusChange, detail::KeyboardScope::active());
}

void Form::showModal()
{
    if (!loaded_)
        return;
    if (shown_)
        throw platform::Failure(QStringLiteral("Form already displayed; can't show modally"));
    detail::HandlerScope scope(*this);
    bool first = !everShown_;
    shown_ = true;
    modal_ = true;
    everShown_ = true;
    detail::pushModal(this);
    adoptOwner(); // may recreate the window: before its modality and place
    window_->setWindowModality(Qt::ApplicationModal);
    applyGeometry();
    window_->show();
    showFocusFrameIfByKey();
    bringToFront(window_);
    auto done = [this] {
        detail::popModal(this);
        modal_ = false;
        if (shown_) {
            shown_ = false;
            window_->hide();
        }
        window_->setWindowModality(Qt::NonModal);
    };
    try {
        if (first)
            raise(onResize);
        detail::KeyboardScope::Aside ownInput;
        while (shown_ && loaded_)
            platform::clock().yield();
    } catch (...) {
        done();
        throw;
    }
    done();
}

bool Form::unload() { return unloadWith(vbFormCode, true); }

void Form::userClose()
{
    if (!loaded_)
        return;
    detail::userEvent(*this, [this] { unloadWith(vbFormControlMenu, true); });
}

bool Form::unloadWith(int mode, bool askQuery)
{
    if (!loaded_)
        return true;
    if (unloading_)
        return false;
    detail::HandlerScope scope(*this);
    unloading_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset { unloading_ };
    int cancel = 0;
    if (askQuery)
        raise(onQueryUnload, cancel, mode);
    if (cancel)
        return false;
    raise(onUnload, cancel);
    if (cancel)
        return false;
    detach();
    return true;
}

// The instance leaves: hidden, timers stopped, its automatic reference cleared. The
// object itself lives on until none of its handlers runs.
void Form::detach()
{
    if (!loaded_)
        return;
    loaded_ = false;
    for (Timer* t : timers_)
        t->stop();
    if (shown_) {
        shown_ = false;
        window_->hide();
    }
    if (slot_ && *slot_ == this)
        *slot_ = nullptr;
    slot_ = nullptr;
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    graveyard.push_back(this);
    if (depth_ == 0)
        scheduleCollect();
}

std::vector<Form*> loadedForms() { return live; }

void useStandInFonts()
{
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
    QApplication::setFont(QFont(QStringLiteral("IPAPGothic"), 9));
}

void useJapaneseQtTexts()
{
    static QTranslator translator;
    if (translator.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&translator);
}

void discardAll()
{
    auto all = live;
    for (Form* f : all)
        f->detach();
    collect();
}

// ---- geometry

void Form::move(float left, float top, float width, float height)
{
    bool resized = width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    applyGeometry();
    if (resized)
        raise(onResize);
}

void Form::applyGeometry()
{
    int w = std::max(1, detail::px(width_) - frameExtraWidth);
    int h = std::max(1, detail::px(height_) - frameExtraHeight);
    const QSize least = border_ == Border::Sizable ? QSize(0, 0) : QSize(w, h);
    if (border_ != Border::Sizable && !compositorSizesWindows()) {
        window_->setFixedSize(w, h);
    } else if (detail::compositorSized(window_)) {
        // A maximised or full-screen window keeps the size and place its compositor
        // gave it: a least size beyond it would make Qt grow the window, and a move or
        // resize makes Qt forget the state, so that the next size set is committed
        // (which breaks the protocol, or loses the keyboard). The geometry set stays
        // the form's. Restored, a form designed with a fixed size takes it again
        // (Window::changeEvent); a sizable one takes the size the compositor restores,
        // as it takes any size its window is given (Window::resizeEvent).
        detail::leastSize(window_, least.boundedTo(window_->size()));
        return;
    } else {
        detail::leastSize(window_, least);
        window_->resize(w, h);
    }
    window_->move(detail::px(left_), detail::px(top_));
}

void Form::setClientSize(float width, float height)
{
    float menu = menus_.empty() ? 0.0f : detail::twips(window_->menuBar()->sizeHint().height());
    move(left_, top_, width + detail::twips(frameExtraWidth), height + detail::twips(frameExtraHeight) + menu);
}

float Form::screenWidth()
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? detail::twips(s->geometry().width()) : 0.0f;
}

float Form::screenHeight()
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? detail::twips(s->geometry().height()) : 0.0f;
}

void Form::centerOn(const Form& other)
{
    move((other.width() - width_) / 2 + other.left(), (other.height() - height_) / 2 + other.top());
}

void Form::centerOnScreen() { move((screenWidth() - width_) / 2, (screenHeight() - height_) / 2); }

// ---- design properties

void Form::setCaption(const QString& text)
{
    caption_ = text;
    window_->setWindowTitle(text);
}

void Form::setBorderStyle(Border b)
{
    border_ = b;
    applyFlags();
    applyGeometry();
}

void Form::setMinButton(bool on)
{
    minButton_ = on;
    applyFlags();
}

void Form::setMaxButton(bool on)
{
    maxButton_ = on;
    applyFlags();
}

void Form::setShowInTaskbar(bool on)
{
    showInTaskbar_ = on;
    applyFlags();
}

// A dialog belongs to the form it is shown over: the window manager keeps it above
// that form, minimises it with it and lists it in no taskbar.
bool Form::isDialog() const { return modal_ || !showInTaskbar_ || border_ == Border::FixedDialog; }

Form* Form::dialogOwner(const Form* except)
{
    for (auto it = modalStack.rbegin(); it != modalStack.rend(); ++it)
        if (*it && *it != except && (*it)->shown_)
            return *it;
    // Else the program's main window: the first shown form that is no dialog itself.
    for (Form* f : live)
        if (f != except && f->shown_ && f->window_->windowType() != Qt::Dialog)
            return f;
    return nullptr;
}

void Form::adoptOwner()
{
    if (isDialog() != (window_->windowType() == Qt::Dialog))
        applyFlags();
    Form* owner = isDialog() ? dialogOwner(this) : nullptr;
    window_->winId(); // the window system's window exists from here on
    if (QWindow* w = window_->windowHandle())
        w->setTransientParent(owner ? owner->window_->windowHandle() : nullptr);
}

void Form::setIcon(const QPixmap& picture)
{
    icon_ = picture;
    window()->setWindowIcon(picture.isNull() ? QIcon() : QIcon(picture));
}

void Form::applyFlags()
{
    Qt::WindowFlags f = (isDialog() ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint;
    if (border_ != Border::None)
        f |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    else
        f |= Qt::FramelessWindowHint;
    bool fixedDialog = border_ == Border::FixedDialog;
    if (minButton_ && !fixedDialog && border_ != Border::None)
        f |= Qt::WindowMinimizeButtonHint;
    if (maxButton_ && border_ == Border::Sizable)
        f |= Qt::WindowMaximizeButtonHint;
    bool visible = window_->isVisible();
    window_->setWindowFlags(f);
    if (visible)
        window_->show();
}

void Form::setInputMethodEnabled(bool on)
{
    imEnabled_ = on;
    window_->setAttribute(Qt::WA_InputMethodEnabled, on);
    for (Control* c : controls_)
        c->applyFont(); // applyFont also re-applies the input-method attribute
}

void Form::paintNow()
{
    if (!shown_)
        return;
    // Only layout and paint requests: no input and no timer runs here.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    window_->repaint();
}

// ---- focus

void Form::moveFocusTo(Control* c)
{
    if (c == activeControl_)
        return;
    Control* previous = activeControl_;
    activeControl_ = c;
    if (previous)
        detail::fireUser(*previous, previous->onLostFocus);
    if (c && activeControl_ == c)
        detail::fireUser(*c, c->onGotFocus);
}

namespace detail {
    // Qt reckons what of a widget can be seen: clipped by its containers (so a control
    // parked far off the window, or in a panel parked so, has none) less what later
    // siblings, and later siblings of its containers, cover with their own background.
    // It also takes away the widget's own opaque children (an editor's viewport), which
    // are the control too: any of them seen is the control seen.
    bool inView(const Control* c)
    {
        QWidget* w = c->widget();
        if (!w->isVisible())
            return false;
        if (!w->visibleRegion().isEmpty())
            return true;
        const auto inner = w->findChildren<QWidget*>();
        return std::any_of(inner.begin(), inner.end(),
            [](QWidget* i) { return !i->isWindow() && !i->visibleRegion().isEmpty(); });
    }
} // namespace detail

namespace {
    bool tabStop(Control* c)
    {
        if (!c->takesFocus() || !c->reachable() || !detail::inView(c))
            return false;
        auto* option = dynamic_cast<OptionButton*>(c);
        if (!option || option->value())
            return true;
        for (Control* other : c->form().controls())
            if (other != c && &other->container() == &c->container())
                if (auto* o = dynamic_cast<OptionButton*>(other); o && o->value())
                    return false;
        return true; // no option of the group is selected: each one is a stop
    }

    // The controls by TabIndex, ties in creation order, that are stops (or from).
    std::vector<Control*> tabOrder(const std::vector<Control*>& controls, Control* from)
    {
        std::vector<Control*> order;
        for (Control* c : controls)
            if (c == from || tabStop(c))
                order.push_back(c);
        std::stable_sort(order.begin(), order.end(), [](Control* a, Control* b) { return a->tabIndex() < b->tabIndex(); });
        return order;
    }
} // namespace

void Form::tabFrom(Control* from, bool forward)
{
    const std::vector<Control*> order = tabOrder(controls_, from);
    std::vector<Control*> stops;
    std::copy_if(order.begin(), order.end(), std::back_inserter(stops), [](Control* c) { return tabStop(c); });
    if (stops.empty())
        return;
    auto at = std::find(order.begin(), order.end(), from);
    Control* next = nullptr;
    if (at == order.end()) {
        next = forward ? stops.front() : stops.back();
    } else if (forward) {
        auto it = std::find_if(at + 1, order.end(), [](Control* c) { return tabStop(c); });
        next = it != order.end() ? *it : stops.front();
    } else {
        auto rit = std::find_if(std::make_reverse_iterator(at), order.rend(), [](Control* c) { return tabStop(c); });
        next = rit != order.rend() ? *rit : stops.back();
    }
    next->setFocus();
}

// The focused control has been moved out of view or covered (a panel brought over the
// one it is on): the focus goes to the first stop in view, so that the next key acts
// on something seen; with none in view, to the neutral client widget.
void Form::keepFocusInView()
{
    Control* c = activeControl_;
    if (!c || !shown_ || !loaded_ || keepingFocusInView_ || detail::inView(c))
        return;
    keepingFocusInView_ = true;
    const std::vector<Control*> stops = tabOrder(controls_, nullptr);
    if (!stops.empty())
        stops.front()->setFocus();
    else
        c->leaveFocus();
    keepingFocusInView_ = false;
}

// ---- keys

namespace {
    int vbKeyCode(int key)
    {
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return 65 + (key - Qt::Key_A);
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return 48 + (key - Qt::Key_0);
        if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
            return 112 + (key - Qt::Key_F1);
        switch (key) {
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return 9;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Shift:
            return 16;
        case Qt::Key_Control:
            return 17;
        case Qt::Key_Alt:
            return 18;
        case Qt::Key_Pause:
            return 19;
        case Qt::Key_CapsLock:
            return 20;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Space:
            return 32;
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_End:
            return 35;
        case Qt::Key_Home:
            return 36;
        case Qt::Key_Left:
            return 37;
        case Qt::Key_Up:
            return 38;
        case Qt::Key_Right:
            return 39;
        case Qt::Key_Down:
            return 40;
        case Qt::Key_Insert:
            return 45;
        case Qt::Key_Delete:
            return 46;
        default:
            return 0;
        }
    }

    // KeyAscii of a key event: the keys that give a character code. Besides printable
    // text these are Backspace 8, Enter 13, Esc 27, Ctrl with a letter 1..26 (Ctrl+X 24),
    // Ctrl+Backspace 127 and Tab 9 where the control keeps its Tab; a Tab that moves the
    // focus gives none.
    int keyAsciiOfEvent(Control* target, int key, int mods, const QString& text)
    {
        if (mods & (Qt::AltModifier | Qt::MetaModifier))
            return 0;
        if (mods & Qt::ControlModifier) {
            if (key == Qt::Key_Backspace)
                return 127;
            return key >= Qt::Key_A && key <= Qt::Key_Z ? 1 + (key - Qt::Key_A) : 0;
        }
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
            return detail::keepsTab(target, key, mods) ? 9 : 0;
        if (key == Qt::Key_Backspace)
            return 8;
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return 13;
        if (key == Qt::Key_Escape)
            return 27;
        if (text.isEmpty())
            return 0;
        char16_t ch = text.at(0).unicode();
        if (ch < 32 || ch == 127)
            return 0;
        return keyAsciiOf(text);
    }
} // namespace

bool Form::keyRoute(Control* target, int qtKey, int qtModifiers, const QString& text, bool& deliver, QString& deliverText)
{
    deliver = true;
    deliverText = text;
    if (!loaded_)
        return false;
    detail::HandlerScope scope(*this);
    detail::KeyboardScope keyboard;
    bool handled = false;
    try {
        int shift = detail::vbShift(Qt::KeyboardModifiers(qtModifiers));
        if (int code = vbKeyCode(qtKey)) {
            // The form sees keys first with KeyPreview, and always when no control has the focus.
            if ((keyPreview_ || !target) && onKeyDown) {
                raise(onKeyDown, code, shift);
                handled = true;
            }
            if (code && target && target->onKeyDown) {
                raise(target->onKeyDown, code, shift);
                handled = true;
            }
            if (code == 0) {
                deliver = false;
                return true;
            }
        }
        int ascii = keyAsciiOfEvent(target, qtKey, qtModifiers, text);
        if (!ascii)
            return handled;
        // Enter and Esc press the default and cancel buttons; Ctrl+M (13) does not.
        // Enter on a focused button presses that button instead, whichever is the default.
        const bool ctrl = qtModifiers & Qt::ControlModifier;
        const bool enter = ascii == 13 && !ctrl;
        auto* focusedButton = dynamic_cast<CommandButton*>(target);
        if (ascii == 27 && !ctrl && cancelButton_ && cancelButton_->reachable()) {
            deliver = false;
            cancelButton_->press();
            return true;
        }
        if (enter && !focusedButton && defaultButton_ && defaultButton_->reachable()) {
            deliver = false;
            defaultButton_->press();
            return true;
        }
        int k = ascii;
        if (keyPreview_ || !target)
            raise(onKeyPress, k);
        if (k && target)
            raise(target->onKeyPress, k);
        if (k == 0) {
            deliver = false;
            return true;
        }
        if (enter && focusedButton && k == 13) {
            // The form's KeyPress has had the Enter first; a handler that moved the focus
            // away from the button (an answer typed at the keyboard) has taken it.
            deliver = false;
            if (loaded_ && activeControl_ == focusedButton && focusedButton->reachable())
                focusedButton->press();
            return true;
        }
        if (auto* box = dynamic_cast<TextBox*>(target)) {
            // MaxLength limits typing: a new character past the limit is dropped. A control
            // code (Backspace, Enter, Esc, Ctrl+C, Ctrl+Backspace...) types no character.
            auto* edit = static_cast<QLineEdit*>(box->widget());
            const bool control = (k > 0 && k < 32) || k == 127;
            if (!control && box->maxLength() > 0 && !edit->hasSelectedText()
                && box->text().size() >= box->maxLength()) {
                deliver = false;
                return true;
            }
        }
        if (k != ascii) {
            deliverText = k == 8 ? QStringLiteral("\b") : k == 13 ? QStringLiteral("\r")
                : k == 27                                         ? QStringLiteral("\x1b")
                                                                  : characterOf(k);
            if (deliverText.isEmpty())
                deliver = false;
        }
        return true;
    } catch (const platform::Failure& e) {
        std::fprintf(stderr, "quenlo: unhandled error in a key handler: %s\n", e.what());
        deliver = false;
        return true;
    }
}

namespace {
    int qtKeyOfChar(QChar ch)
    {
        switch (ch.unicode()) {
        case '\b':
            return Qt::Key_Backspace;
        case '\r':
        case '\n':
            return Qt::Key_Return;
        case 0x1b:
            return Qt::Key_Escape;
        case ' ':
            return Qt::Key_Space;
        case '\t':
            return Qt::Key_Tab;
        default:
            break;
        }
        char16_t u = ch.toUpper().unicode();
        if ((u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9'))
            return u;
        return Qt::Key_unknown;
    }
} // namespace

void Form::userType(const QString& text)
{
    for (int i = 0; i < text.size(); ++i) {
        if (!loaded_ || !shown_)
            return;
        int n = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QString ch = text.mid(i, n);
        i += n - 1;
        Control* target = activeControl_ && activeControl_->reachable() ? activeControl_ : nullptr;
        bool deliver = true;
        QString out;
        keyRoute(target, qtKeyOfChar(ch.at(0)), 0, ch == QStringLiteral("\n") ? QStringLiteral("\r") : ch, deliver, out);
        if (!deliver || !target || !loaded_)
            continue;
        if (auto* b = dynamic_cast<CommandButton*>(target)) {
            if (out == QStringLiteral(" "))
                detail::fireUser(*b, b->onClick);
            continue;
        }
        detail::deliverKey(target->widget(), out);
    }
}

void Form::userKey(int qtKey, int qtModifiers)
{
    if (!loaded_ || !shown_)
        return;
    Control* target = activeControl_ && activeControl_->reachable() ? activeControl_ : nullptr;
    bool deliver = true;
    QString out;
    keyRoute(target, qtKey, qtModifiers, QString(), deliver, out);
}

} // namespace forms
