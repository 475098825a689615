#include "platform/forms/controls.h"

#include "platform/failure.h"
#include "platform/files.h"
#include "platform/forms/detail.h"
#include "platform/text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QFontMetricsF>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QTabBar>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace forms {

using detail::Hooked;

namespace {
    // Runs fn with a widget's own signals ignored by the layer (a write from code).
    struct Quiet {
        explicit Quiet(bool& flag)
            : flag_(flag)
            , old_(flag)
        {
            flag_ = true;
        }
        ~Quiet() { flag_ = old_; }
        bool& flag_;
        bool old_;
    };
    bool quiet = false; // the layer itself is updating a widget

    Qt::Alignment qtAlign(Align a)
    {
        switch (a) {
        case Align::Right:
            return Qt::AlignRight | Qt::AlignVCenter;
        case Align::Center:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        default:
            return Qt::AlignLeft | Qt::AlignVCenter;
        }
    }

    void outOfRange(const char* what, double v)
    {
        throw platform::Failure(QStringLiteral("invalid property value: %1 = %2").arg(QLatin1String(what)).arg(v));
    }
} // namespace

// ---- Label

Label::Label(Container& parent)
    : Control(parent, new Hooked<QLabel>(parent.client()), false)
{
    auto* l = static_cast<QLabel*>(widget());
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    applyColors();
}

void Label::setCaption(const QString& text)
{
    caption_ = text;
    static_cast<QLabel*>(widget())->setText(text);
    fitLines();
}

void Label::applyFont()
{
    Control::applyFont();
    fitLines();
}

void Label::applyGeometry()
{
    Control::applyGeometry();
    fitLines();
}

void Label::fitLines()
{
    constexpr int mostCondensed = 92; // per cent of the normal width
    QFont f = widget()->font();
    f.setStretch(QFont::Unstretched);
    const QFontMetricsF m(f);
    QString longest;
    qreal widest = 0;
    for (const QString& line : caption_.split(QRegularExpression(QStringLiteral("\\r\\n|\\r|\\n"))))
        if (qreal w = m.horizontalAdvance(line); w > widest)
            widest = w, longest = line;
    const int room = widget()->contentsRect().width();
    if (widest > room && room > 0 && widest * mostCondensed / 100 <= room) {
        for (int stretch = static_cast<int>(100 * room / widest); stretch >= mostCondensed; --stretch) {
            f.setStretch(stretch);
            if (QFontMetricsF(f).horizontalAdvance(longest) <= room)
                break;
        }
    }
    if (f != widget()->font())
        widget()->setFont(f);
}

void Label::setAlignment(Align a)
{
    Qt::Alignment h = a == Align::Right ? Qt::AlignRight : a == Align::Center ? Qt::AlignHCenter
                                                                              : Qt::AlignLeft;
    static_cast<QLabel*>(widget())->setAlignment(h | Qt::AlignTop);
}

void Label::setBackStyle(int style)
{
    opaque_ = style != 0;
    applyColors();
}

void Label::setWordWrap(bool on) { static_cast<QLabel*>(widget())->setWordWrap(on); }

void Label::applyColors()
{
    Control::applyColors();
    // Containers show the button face; a label of that colour lets its container's
    // own background (a frame's shading) show through instead of a lighter patch.
    widget()->setAutoFillBackground(opaque_ && backColor() != vbButtonFace);
}

// ---- CommandButton

CommandButton::CommandButton(Container& parent)
    : Control(parent, new Hooked<QPushButton>(parent.client()), true)
{
    auto* b = static_cast<QPushButton*>(widget());
    b->setAutoDefault(false);
    b->setDefault(false);
    // Space clicks on its release, outside the key's handling: still a keyboard move.
    QObject::connect(b, &QPushButton::clicked, b, [this] {
        detail::KeyboardScope byKey(detail::lastPressWasKey());
        userClicked(vbLeftButton);
    });
}

void CommandButton::setCaption(const QString& text)
{
    caption_ = text;
    static_cast<QPushButton*>(widget())->setText(text);
}

void CommandButton::userClicked(int) { detail::fireUser(*this, onClick); }

void CommandButton::click()
{
    if (!reachable())
        return;
    float x = width() / 2, y = height() / 2;
    detail::fireUser(*this, onMouseDown, vbLeftButton, 0, x, y);
    setFocus();
    detail::fireUser(*this, onClick);
    detail::fireUser(*this, onMouseUp, vbLeftButton, 0, x, y);
}

void CommandButton::press() { form().raise(onClick); }

// ---- TextBox

TextBox::TextBox(Container& parent)
    : Control(parent, new Hooked<QLineEdit>(parent.client()), true)
{
    auto* e = static_cast<QLineEdit*>(widget());
    e->setFrame(true);
    QObject::connect(e, &QLineEdit::textChanged, e, [this](const QString& t) {
        if (!quiet)
            userEdited(t);
    });
    setForeColor(vbWindowText);
    setBackColor(vbWindowBackground);
}

void TextBox::applyColors()
{
    QPalette p = widget()->palette();
    QColor fore = detail::toQColor(foreColor()), back = detail::toQColor(backColor());
    p.setColor(QPalette::Active, QPalette::Text, fore);
    p.setColor(QPalette::Inactive, QPalette::Text, fore);
    p.setColor(QPalette::Base, back);
    widget()->setPalette(p);
}

void TextBox::setText(const QString& text)
{
    if (text == text_)
        return;
    text_ = text;
    {
        Quiet q(quiet);
        applyLimit();
        static_cast<QLineEdit*>(widget())->setText(text);
    }
    form().raise(onChange);
}

void TextBox::applyLimit()
{
    // The edit's own limit cuts every insertion the learner makes (keys, a paste by
    // key, menu, middle button or drop) as the longest text wants, but it would also
    // cut a text set from code, which stays whole: while such a text is longer, the
    // limit is its length.
    constexpr int unlimited = 32767; // the edit's own default
    auto* e = static_cast<QLineEdit*>(widget());
    const int limit = std::max(maxLength_ > 0 ? maxLength_ : unlimited, static_cast<int>(text_.size()));
    if (e->maxLength() == limit)
        return;
    Quiet q(quiet);
    const int cursor = e->cursorPosition();
    e->setMaxLength(limit); // sets the text again, which puts the cursor at the end
    e->setCursorPosition(cursor);
}

void TextBox::userEdited(const QString& text)
{
    if (text == text_)
        return;
    text_ = text;
    detail::fireUser(*this, onChange);
}

void TextBox::setMaxLength(int n)
{
    maxLength_ = std::max(0, n);
    applyLimit();
}

void TextBox::setLocked(bool on)
{
    locked_ = on;
    static_cast<QLineEdit*>(widget())->setReadOnly(on);
    applyFont(); // read-only toggles the input-method attribute
}

void TextBox::setAlignment(Align a)
{
    static_cast<QLineEdit*>(widget())->setAlignment(qtAlign(a));
}

void TextBox::click()
{
    if (!reachable())
        return;
    setFocus();
    detail::fireUser(*this, onClick);
}

void TextBox::dblClick()
{
    if (!reachable())
        return;
    setFocus();
    detail::fireUser(*this, onDblClick);
}

void TextBox::type(const QString& text)
{
    if (!reachable())
        return;
    setFocus();
    static_cast<QLineEdit*>(widget())->end(false);
    form().userType(text);
}

// ---- OptionButton

OptionButton::OptionButton(Container& parent)
    : Control(parent, new Hooked<QRadioButton>(parent.client()), true)
{
    auto* r = static_cast<QRadioButton*>(widget());
    r->setAutoExclusive(false); // the layer keeps one selected per container
    QObject::connect(r, &QRadioButton::clicked, r, [this] {
        detail::KeyboardScope byKey(detail::lastPressWasKey());
        userClicked();
    });
}

void OptionButton::setCaption(const QString& text)
{
    caption_ = text;
    static_cast<QRadioButton*>(widget())->setText(text);
}

void OptionButton::select(bool raiseClick)
{
    for (Control* c : form().controls()) {
        auto* o = dynamic_cast<OptionButton*>(c);
        if (o && o != this && &o->container() == &container() && o->value_) {
            o->value_ = false;
            static_cast<QRadioButton*>(o->widget())->setChecked(false);
        }
    }
    value_ = true;
    static_cast<QRadioButton*>(widget())->setChecked(true);
    if (raiseClick)
        form().raise(onClick);
}

void OptionButton::setValue(bool on)
{
    if (on == value_)
        return;
    if (on) {
        select(true);
    } else {
        value_ = false;
        static_cast<QRadioButton*>(widget())->setChecked(false);
    }
}

void OptionButton::userClicked()
{
    static_cast<QRadioButton*>(widget())->setChecked(true);
    detail::userEvent(form(), [this] {
        if (value_)
            form().raise(onClick);
        else
            select(true);
    });
}

void OptionButton::click()
{
    if (!reachable())
        return;
    setFocus();
    userClicked();
}

void OptionButton::arrowTo(bool forward)
{
    std::vector<OptionButton*> group;
    for (Control* c : form().controls())
        if (auto* o = dynamic_cast<OptionButton*>(c); o && &o->container() == &container() && (o == this || o->reachable()))
            group.push_back(o);
    std::stable_sort(group.begin(), group.end(), [](Control* a, Control* b) { return a->tabIndex() < b->tabIndex(); });
    const auto at = std::find(group.begin(), group.end(), this) - group.begin();
    const auto n = static_cast<std::ptrdiff_t>(group.size());
    OptionButton* next = group[static_cast<std::size_t>((at + (forward ? 1 : n - 1)) % n)];
    if (next == this)
        return;
    next->setFocus();
    next->userClicked();
}

// ---- CheckBox

CheckBox::CheckBox(Container& parent)
    : Control(parent, new Hooked<QCheckBox>(parent.client()), true)
{
    auto* b = static_cast<QCheckBox*>(widget());
    QObject::connect(b, &QCheckBox::clicked, b, [this] {
        detail::KeyboardScope byKey(detail::lastPressWasKey());
        userClicked();
    });
}

void CheckBox::setCaption(const QString& text)
{
    caption_ = text;
    static_cast<QCheckBox*>(widget())->setText(text);
}

void CheckBox::show()
{
    auto* b = static_cast<QCheckBox*>(widget());
    b->setTristate(value_ == 2);
    b->setCheckState(value_ == 1 ? Qt::Checked : value_ == 2 ? Qt::PartiallyChecked
                                                             : Qt::Unchecked);
}

void CheckBox::setValue(int v)
{
    if (v < 0 || v > 2)
        outOfRange("Value", v);
    if (v == value_)
        return;
    value_ = v;
    show();
    form().raise(onClick);
}

void CheckBox::userClicked()
{
    value_ = value_ == 1 ? 0 : 1;
    show();
    detail::fireUser(*this, onClick);
}

void CheckBox::click()
{
    if (!reachable())
        return;
    setFocus();
    userClicked();
}

// ---- Frame

namespace {
    // A group box that paints nothing without its border: no line, no caption, and the
    // background of what lies below. Only this one widget: its children keep their own.
    class FrameBox : public detail::Hooked<QGroupBox> {
    public:
        using Hooked::Hooked;
        bool borderless = false;

    protected:
        void paintEvent(QPaintEvent* e) override
        {
            if (!borderless)
                QGroupBox::paintEvent(e);
        }
    };
} // namespace

Frame::Frame(Container& parent)
    : ContainerControl(parent, new FrameBox(parent.client()), false)
{
}

void Frame::setCaption(const QString& text)
{
    static_cast<QGroupBox*>(widget())->setTitle(text);
}

void Frame::setBorderStyle(int style)
{
    static_cast<FrameBox*>(widget())->borderless = style == 0;
    widget()->update();
}

// ---- ComboBox

ComboBox::ComboBox(Container& parent)
    : Control(parent, new Hooked<QComboBox>(parent.client()), true)
{
    auto* c = static_cast<QComboBox*>(widget());
    c->setEditable(false);
    QObject::connect(c, &QComboBox::activated, c, [this](int i) {
        if (!quiet)
            userChose(i);
    });
    setForeColor(vbWindowText);
    setBackColor(vbWindowBackground);
}

void ComboBox::addItem(const QString& item, int index)
{
    if (index < 0 || index > listCount())
        outOfRange("Index", index);
    items_.insert(index, item);
    if (listIndex_ >= index)
        ++listIndex_;
    Quiet q(quiet);
    auto* c = static_cast<QComboBox*>(widget());
    c->insertItem(index, item);
    c->setCurrentIndex(listIndex_);
}

void ComboBox::removeItem(int index)
{
    if (index < 0 || index >= listCount())
        outOfRange("Index", index);
    items_.removeAt(index);
    if (listIndex_ == index)
        listIndex_ = -1;
    else if (listIndex_ > index)
        --listIndex_;
    Quiet q(quiet);
    auto* c = static_cast<QComboBox*>(widget());
    c->removeItem(index);
    c->setCurrentIndex(listIndex_);
}

QString ComboBox::list(int index) const
{
    if (index < 0 || index >= listCount())
        outOfRange("List", index);
    return items_.at(index);
}

void ComboBox::setListIndex(int index)
{
    if (index < -1 || index >= listCount())
        outOfRange("ListIndex", index);
    if (index == listIndex_)
        return;
    listIndex_ = index;
    {
        Quiet q(quiet);
        static_cast<QComboBox*>(widget())->setCurrentIndex(index);
    }
    form().raise(onClick);
}

void ComboBox::setLocked(bool on) { locked_ = on; }

void ComboBox::userChose(int index)
{
    if (locked_) {
        Quiet q(quiet);
        static_cast<QComboBox*>(widget())->setCurrentIndex(listIndex_);
        return;
    }
    listIndex_ = index;
    detail::fireUser(*this, onClick);
}

void ComboBox::choose(int index)
{
    if (!reachable() || locked_ || index < 0 || index >= listCount())
        return;
    setFocus();
    {
        Quiet q(quiet);
        static_cast<QComboBox*>(widget())->setCurrentIndex(index);
    }
    userChose(index);
}

// ---- HScrollBar

namespace {
    // The style's focus frame over the whole widget, for widgets that draw no focus of
    // their own; the style shows it only after a keyboard focus move.
    void drawFocusFrame(QWidget* w)
    {
        QStyleOptionFocusRect frame;
        frame.initFrom(w);
        frame.backgroundColor = w->palette().color(QPalette::Window);
        QPainter p(w);
        w->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &p, w);
    }

    // Qt's scroll bar draws no focus at all; this one draws the focus frame over itself.
    class ScrollBarWidget : public Hooked<QScrollBar> {
    public:
        using Hooked<QScrollBar>::Hooked;

    protected:
        void paintEvent(QPaintEvent* e) override
        {
            QScrollBar::paintEvent(e);
            if (hasFocus())
                drawFocusFrame(this);
        }
    };
} // namespace

HScrollBar::HScrollBar(Container& parent)
    : Control(parent, new ScrollBarWidget(Qt::Horizontal, parent.client()), true)
{
    auto* s = static_cast<QScrollBar*>(widget());
    sync();
    QObject::connect(s, &QScrollBar::valueChanged, s, [this, s](int v) {
        if (!quiet)
            userMoved(v, !s->isSliderDown());
    });
    QObject::connect(s, &QScrollBar::sliderPressed, s, [this] { pressValue_ = value_; });
    QObject::connect(s, &QScrollBar::sliderReleased, s, [this] {
        if (value_ != pressValue_)
            detail::fireUser(*this, onChange);
    });
}

void HScrollBar::sync()
{
    Quiet q(quiet);
    auto* s = static_cast<QScrollBar*>(widget());
    s->setInvertedAppearance(min_ > max_);
    s->setRange(std::min(min_, max_), std::max(min_, max_));
    s->setSingleStep(small_);
    s->setPageStep(large_);
    s->setValue(value_);
}

void HScrollBar::setMin(int v) { setEnds(v, max_); }

void HScrollBar::setMax(int v) { setEnds(min_, v); }

// Min may lie above Max (the bar runs the other way); Value is pulled inside, with
// Change when that moves it.
void HScrollBar::setEnds(int min, int max)
{
    min_ = min;
    max_ = max;
    int old = value_;
    value_ = std::clamp(value_, std::min(min_, max_), std::max(min_, max_));
    sync();
    if (value_ != old)
        form().raise(onChange);
}

void HScrollBar::setSmallChange(int v)
{
    small_ = v;
    sync();
}

void HScrollBar::setLargeChange(int v)
{
    large_ = v;
    sync();
}

void HScrollBar::setValue(int v)
{
    if (v < std::min(min_, max_) || v > std::max(min_, max_))
        outOfRange("Value", v);
    if (v == value_)
        return;
    value_ = v;
    sync();
    form().raise(onChange);
}

void HScrollBar::userMoved(int v, bool released)
{
    if (v == value_)
        return;
    value_ = v;
    if (released)
        detail::fireUser(*this, onChange);
}

void HScrollBar::userScrollTo(int v)
{
    if (!reachable())
        return;
    v = std::clamp(v, std::min(min_, max_), std::max(min_, max_));
    if (v == value_)
        return;
    value_ = v;
    sync();
    detail::fireUser(*this, onChange);
}

// ---- UpDown

namespace {
    QToolButton* arrow(QWidget* parent, Qt::ArrowType a)
    {
        auto* b = new QToolButton(parent);
        b->setArrowType(a);
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        return b;
    }
} // namespace

UpDown::UpDown(Container& parent)
    : Control(parent, new Hooked<QWidget>(parent.client()), false)
{
    auto* box = new QVBoxLayout(widget());
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    QToolButton* upButton = arrow(widget(), Qt::UpArrow);
    QToolButton* downButton = arrow(widget(), Qt::DownArrow);
    box->addWidget(upButton);
    box->addWidget(downButton);
    QObject::connect(upButton, &QToolButton::clicked, upButton, [this] { up(); });
    QObject::connect(downButton, &QToolButton::clicked, downButton, [this] { down(); });
}

void UpDown::setValue(int v)
{
    if (v < std::min(min_, max_) || v > std::max(min_, max_))
        outOfRange("Value", v);
    if (v == value_)
        return;
    value_ = v;
    if (buddy_)
        buddy_->setText(QString::number(v));
    form().raise(onChange);
}

void UpDown::step(int direction)
{
    if (!reachable())
        return;
    int lo = std::min(min_, max_), hi = std::max(min_, max_);
    int base = value_;
    if (buddy_) {
        bool ok = false;
        int typed = buddy_->text().trimmed().toInt(&ok);
        if (ok)
            base = typed;
    }
    base = std::clamp(base, lo, hi);
    // Up moves towards Max, whichever way round the range is.
    int sign = max_ >= min_ ? direction : -direction;
    long long next = static_cast<long long>(base) + static_cast<long long>(sign) * increment_;
    int value = static_cast<int>(std::clamp<long long>(next, lo, hi));
    if (value == base)
        return;
    detail::userEvent(form(), [this, value] {
        value_ = value;
        if (buddy_)
            buddy_->setText(QString::number(value));
        form().raise(onChange);
    });
}

// ---- ProgressBar

namespace {
    constexpr int progressSteps = 10000;
}

ProgressBar::ProgressBar(Container& parent)
    : Control(parent, new Hooked<QProgressBar>(parent.client()), false)
{
    auto* p = static_cast<QProgressBar*>(widget());
    p->setRange(0, progressSteps);
    p->setTextVisible(false);
    sync();
}

void ProgressBar::sync()
{
    float span = max_ - min_;
    float part = span > 0 ? (value_ - min_) / span : 0.0f;
    static_cast<QProgressBar*>(widget())->setValue(static_cast<int>(std::nearbyint(std::clamp(part, 0.0f, 1.0f) * progressSteps)));
}

void ProgressBar::setMin(float v)
{
    min_ = v;
    value_ = std::clamp(value_, std::min(min_, max_), std::max(min_, max_));
    sync();
}

void ProgressBar::setMax(float v)
{
    max_ = v;
    value_ = std::clamp(value_, std::min(min_, max_), std::max(min_, max_));
    sync();
}

void ProgressBar::setValue(float v)
{
    if (!(v >= min_ && v <= max_))
        outOfRange("Value", v);
    value_ = v;
    sync();
}

// ---- TabStrip

namespace {
    QTabBar* tabBarOf(QWidget* w) { return w->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly); }
}

TabStrip::TabStrip(Container& parent)
    : Control(parent, new Hooked<QWidget>(parent.client()), false)
{
    auto* panel = new QFrame(widget());
    panel->setFrameShape(QFrame::StyledPanel);
    auto* bar = new QTabBar(widget());
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setDrawBase(false);
    // The tab row of the design (300 twips): the panels laid over the strip start
    // just below it, inside the page.
    bar->setStyleSheet(QStringLiteral("QTabBar::tab { height: %1px; }").arg(detail::px(300) - 2));
    auto* box = new QVBoxLayout(widget());
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->addWidget(bar);
    box->addWidget(panel, 1);
    QObject::connect(bar, &QTabBar::currentChanged, bar, [this](int i) {
        if (!quiet)
            userSelected(i + 1);
    });
}

void TabStrip::addTab(const QString& caption)
{
    Quiet q(quiet);
    QTabBar* bar = tabBarOf(widget());
    bar->addTab(caption);
    if (selected_ == 0)
        selected_ = 1;
    bar->setCurrentIndex(selected_ - 1);
}

int TabStrip::tabCount() const { return tabBarOf(widget())->count(); }

QString TabStrip::tabCaption(int i) const
{
    if (i < 1 || i > tabCount())
        outOfRange("Index", i);
    return tabBarOf(widget())->tabText(i - 1);
}

void TabStrip::selectTab(int i)
{
    if (i < 1 || i > tabCount())
        outOfRange("Index", i);
    if (i == selected_)
        return;
    selected_ = i;
    {
        Quiet q(quiet);
        tabBarOf(widget())->setCurrentIndex(i - 1);
    }
    form().raise(onClick);
}

void TabStrip::userSelected(int i)
{
    if (i == selected_)
        return;
    selected_ = i;
    detail::fireUser(*this, onClick);
}

void TabStrip::clickTab(int i)
{
    if (!reachable() || i < 1 || i > tabCount())
        return;
    {
        Quiet q(quiet);
        tabBarOf(widget())->setCurrentIndex(i - 1);
    }
    userSelected(i);
}

// ---- pictures

QPixmap loadPicture(const QString& path)
{
    QPixmap p;
    if (!path.isEmpty() && QFileInfo(path).isFile())
        p.load(path); // stays null when unreadable
    return p;
}

PictureBox::PictureBox(Container& parent)
    : ContainerControl(parent, new Hooked<QLabel>(parent.client()), false)
{
    auto* l = static_cast<QLabel*>(widget());
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setFrameShape(QFrame::Box);
    l->setAutoFillBackground(true);
}

void PictureBox::setPicture(const QPixmap& p)
{
    static_cast<QLabel*>(widget())->setPixmap(p);
}

void PictureBox::setBorderStyle(int style) { static_cast<QLabel*>(widget())->setFrameShape(style ? QFrame::Box : QFrame::NoFrame); }


// ---- Line

namespace {
    class LineWidget : public QWidget {
    public:
        using QWidget::QWidget;
        QLine line;
        QColor color = Qt::black;
        int width = 1;

    protected:
        void paintEvent(QPaintEvent*) override
        {
            QPainter p(this);
            p.setPen(QPen(color, width));
            p.drawLine(line);
        }
    };
} // namespace

Line::Line(Container& parent)
    : Control(parent, new LineWidget(parent.client()), false)
{
    widget()->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Line::setPoints(float x1, float y1, float x2, float y2)
{
    x1_ = x1, y1_ = y1, x2_ = x2, y2_ = y2;
    int pad = borderWidth_;
    int ax = detail::px(x1), ay = detail::px(y1), bx = detail::px(x2), by = detail::px(y2);
    int left = std::min(ax, bx) - pad, top = std::min(ay, by) - pad;
    auto* w = static_cast<LineWidget*>(widget());
    w->line = QLine(ax - left, ay - top, bx - left, by - top);
    w->setGeometry(left, top, std::abs(bx - ax) + 2 * pad + 1, std::abs(by - ay) + 2 * pad + 1);
    w->update();
}

void Line::setBorderColor(Color c)
{
    static_cast<LineWidget*>(widget())->color = detail::toQColor(c);
    widget()->update();
}

void Line::setBorderWidth(int pixels)
{
    borderWidth_ = std::max(1, pixels);
    static_cast<LineWidget*>(widget())->width = borderWidth_;
    setPoints(x1_, y1_, x2_, y2_);
}

// ---- TextEditor

namespace {
    QString toCrLf(QString t)
    {
        t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        t.replace(QChar('\r'), QChar('\n'));
        t.replace(QChar('\n'), QStringLiteral("\r\n"));
        return t;
    }

    QString editorText(QPlainTextEdit* e)
    {
        QString t = e->document()->toRawText();
        t.replace(QChar::ParagraphSeparator, QChar('\n'));
        t.replace(QChar::LineSeparator, QChar('\n'));
        return toCrLf(t);
    }

    const QString cannotOpen = QStringLiteral("パス/ファイル アクセス エラーです。");
} // namespace

namespace detail {
    bool keepsTab(const Control* c, int qtKey, int qtModifiers)
    {
        auto* editor = dynamic_cast<const TextEditor*>(c);
        return editor && !editor->locked() && qtKey == Qt::Key_Tab && !(qtModifiers & Qt::ShiftModifier);
    }
} // namespace detail

namespace {
    // A locked editor has no caret to show that it has the focus; it draws the style's
    // focus frame on its border instead, which the style shows only after a keyboard
    // focus move, as on the other controls. Its viewport covers the inside.
    class EditorWidget : public Hooked<QPlainTextEdit> {
    public:
        using Hooked<QPlainTextEdit>::Hooked;

    protected:
        bool event(QEvent* e) override
        {
            const bool r = Hooked<QPlainTextEdit>::event(e);
            if (e->type() == QEvent::Paint && hasFocus() && isReadOnly())
                drawFocusFrame(this);
            return r;
        }
    };
} // namespace

TextEditor::TextEditor(Container& parent)
    : Control(parent, new EditorWidget(parent.client()), true)
{
    auto* e = static_cast<QPlainTextEdit*>(widget());
    e->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QObject::connect(e, &QPlainTextEdit::textChanged, e, [this] {
        if (!quiet)
            userEdited();
    });
    setForeColor(vbWindowText);
    setBackColor(vbWindowBackground);
}

void TextEditor::applyColors()
{
    QPalette p = widget()->palette();
    p.setColor(QPalette::Text, detail::toQColor(foreColor()));
    p.setColor(QPalette::Base, detail::toQColor(backColor()));
    widget()->setPalette(p);
}

void TextEditor::setText(const QString& text)
{
    QString t = toCrLf(text);
    if (t == text_)
        return;
    text_ = t;
    {
        Quiet q(quiet);
        QString plain = t;
        plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        static_cast<QPlainTextEdit*>(widget())->setPlainText(plain);
    }
    form().raise(onChange);
}

void TextEditor::userEdited()
{
    QString t = editorText(static_cast<QPlainTextEdit*>(widget()));
    if (t == text_)
        return;
    text_ = t;
    detail::fireUser(*this, onChange);
}

void TextEditor::setLocked(bool on)
{
    locked_ = on;
    static_cast<QPlainTextEdit*>(widget())->setReadOnly(on);
    applyFont();
    widget()->update(); // the focus frame of a locked editor
}

TextEditor::Outcome TextEditor::loadFile(const QString& path)
{
    QFileInfo info(path);
    QFile f(path);
    if (path.isEmpty() || info.isDir() || !f.open(QIODevice::ReadOnly))
        return { FileResult::CannotOpen, cannotOpen };
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return { FileResult::CannotOpen, cannotOpen };
    std::optional<QString> text = platform::decodeCp932(bytes);
    if (!text)
        return { FileResult::Failed, QStringLiteral("ファイルの内容を読み込めません。") };
    setText(*text);
    return {};
}

TextEditor::Outcome TextEditor::saveFile(const QString& path) const
{
    std::optional<QByteArray> bytes = platform::encodeCp932(text_);
    if (!bytes)
        return { FileResult::Failed, QStringLiteral("ファイルに書き込めない文字があります。") };
    if (path.isEmpty() || QFileInfo(path).isDir())
        return { FileResult::CannotOpen, cannotOpen };
    try {
        platform::writeWholeFile(path, *bytes);
    } catch (const platform::Failure&) {
        return { FileResult::CannotOpen, cannotOpen };
    }
    return {};
}

int TextEditor::lineCount() const { return text_.isEmpty() ? 0 : static_cast<int>(text_.count(QStringLiteral("\r\n"))) + 1; }

void TextEditor::type(const QString& text)
{
    if (!reachable())
        return;
    setFocus();
    static_cast<QPlainTextEdit*>(widget())->moveCursor(QTextCursor::End);
    form().userType(text);
}

} // namespace forms
