#include "platform/files.h"
#include "platform/forms/forms.h"
#include "platform/forms/window_system.h"
#include "platform/virtual_clock.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

#include "support/real_input.h"

#include <cstdlib>
#include <string>
#include <vector>

using namespace forms;
using platform::Failure;
using platform::Tick;

namespace {

std::vector<std::string> events;
void note(const std::string& e) { events.push_back(e); }

// The waits of the trainer: read the tick, yield, compare.
void waitMs(Tick ms)
{
    Tick start = platform::clock().now();
    while (platform::clock().now() - start < ms)
        platform::clock().yield(start + ms);
}

struct PanelForm : Form {
    static inline int destroyed = 0;

    Frame frame1 { *this };
    OptionButton opt1 { frame1 };
    OptionButton opt2 { frame1 };
    OptionButton optOther { *this };
    CheckBox check { *this };
    TextBox text { *this };
    ComboBox combo { *this };
    HScrollBar scroll { *this };
    TextBox buddy { *this };
    UpDown spin { *this };
    CommandButton button { *this };
    ControlArray<CommandButton> keys { frame1, 1, 3 };
    Menu mnuSound { *this };
    Menu mnuWave { mnuSound };
    Timer timer { *this };
    int loads = 0;

    PanelForm()
    {
        setCaption("Panel");
        move(0, 0, 6000, 4500);
        text.setText("design");
        opt1.setValue(true);
        check.setValue(1);
        combo.addItem("a", 0);
        combo.addItem("b", 1);
        combo.addItem("c", 2);
        scroll.setMax(10);
        spin.setBuddy(&buddy);
        spin.setMin(0);
        spin.setMax(10);
        spin.setIncrement(2);
        buddy.setText("5");
        mnuSound.setCaption("&Sound");
        mnuWave.setCaption("&Wave");

        onLoad = [this] { ++loads, note("Form_Load"); };
        opt1.onClick = [] { note("opt1_Click"); };
        opt2.onClick = [] { note("opt2_Click"); };
        optOther.onClick = [] { note("optOther_Click"); };
        check.onClick = [] { note("check_Click"); };
        text.onChange = [] { note("text_Change"); };
        text.onLostFocus = [] { note("text_LostFocus"); };
        combo.onClick = [] { note("combo_Click"); };
        scroll.onChange = [] { note("scroll_Change"); };
        buddy.onChange = [this] { note("buddy_Change " + buddy.text().toStdString()); };
        spin.onChange = [] { note("spin_Change"); };
        button.onClick = [] { note("button_Click"); };
        button.onMouseUp = [](int b, int, float, float) { note("button_MouseUp " + std::to_string(b)); };
        keys.on(&CommandButton::onClick, [](int i) { note("keys_Click " + std::to_string(i)); });
        mnuWave.onClick = [] { note("mnuWave_Click"); };
        timer.onTimer = [] { note("timer_Timer"); };
        onQueryUnload = [](int&, int mode) { note("QueryUnload " + std::to_string(mode)); };
        onUnload = [](int&) { note("Unload"); };
        onResize = [] { note("Form_Resize"); };
    }
    ~PanelForm() override { ++destroyed; }
};
FormRef<PanelForm> panel;

struct DialogForm : Form {
    Label label { *this };
    DialogForm()
    {
        setBorderStyle(Border::FixedDialog);
        setClientSize(2790, 840);
    }
};
FormRef<DialogForm> dialog;

struct PlainForm : Form { };
FormRef<PlainForm> plain;

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        events.clear();
        dialogs::reset();
    }
    void TearDown() override { discardAll(); }
    platform::ScopedVirtualClock clock;
};

TEST_F(FormsTest, FirstAccessLoadsOnceAndDesignValuesRaiseNothing)
{
    EXPECT_FALSE(panel.isLoaded());
    PanelForm& f = panel();
    EXPECT_TRUE(panel.isLoaded());
    EXPECT_EQ(events, std::vector<std::string> { "Form_Load" });
    EXPECT_EQ(&panel(), &f);
    EXPECT_EQ(f.loads, 1);
    EXPECT_EQ(f.text.text(), "design");
    EXPECT_TRUE(f.opt1.value());
    EXPECT_FALSE(f.isShown()); // loaded hidden
}

TEST_F(FormsTest, WritesFromCodeRaiseTheUserHandlerOnlyOnARealChange)
{
    PanelForm& f = panel();
    events.clear();

    f.opt2.setValue(true);
    EXPECT_FALSE(f.opt1.value());
    f.opt2.setValue(true);
    f.optOther.setValue(true); // another container: opt2 stays selected
    EXPECT_TRUE(f.opt2.value());
    f.opt2.setValue(false);
    f.check.setValue(1);
    f.check.setValue(0);
    f.text.setText("design");
    f.text.setText("x");
    f.combo.setListIndex(1);
    f.combo.setListIndex(1);
    f.combo.setListIndex(-1);
    f.scroll.setValue(5);
    f.scroll.setValue(5);
    EXPECT_EQ(events, (std::vector<std::string> { "opt2_Click", "optOther_Click", "check_Click", "text_Change", "combo_Click", "combo_Click", "scroll_Change" }));

    events.clear();
    f.mnuWave.setChecked(true);
    f.mnuWave.setEnabled(false);
    f.mnuWave.setCaption("Wave");
    f.text.setEnabled(false);
    f.text.setVisible(false);
    f.button.setCaption("OK");
    f.button.setLeft(-20000);
    f.timer.setInterval(0);
    f.timer.setEnabled(false);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(f.button.left(), -20000.0f);
    EXPECT_FALSE(f.text.enabled());
}

TEST_F(FormsTest, OutOfRangeWritesFailInsteadOfClamping)
{
    PanelForm& f = panel();
    EXPECT_THROW(f.combo.setListIndex(3), Failure);
    EXPECT_THROW(f.combo.setListIndex(-2), Failure);
    EXPECT_THROW(f.combo.list(3), Failure);
    EXPECT_THROW(f.combo.removeItem(5), Failure);
    EXPECT_THROW(f.scroll.setValue(11), Failure);
    EXPECT_THROW(f.scroll.setValue(-1), Failure);
    EXPECT_THROW(f.check.setValue(3), Failure);
    EXPECT_THROW(f.keys(0), Failure);
    EXPECT_THROW(f.keys(4), Failure);
    EXPECT_EQ(f.combo.listIndex(), -1);
    EXPECT_EQ(f.scroll.value(), 0);
}

TEST_F(FormsTest, UserClicksRaiseClickAlsoOnTheSelectedOptionAndMenusNeverToggle)
{
    PanelForm& f = panel();
    f.show();
    events.clear();
    f.opt1.click(); // already selected
    f.opt2.click();
    f.check.click();
    f.keys(2).click();
    f.mnuWave.setChecked(false);
    f.mnuWave.click();
    EXPECT_FALSE(f.mnuWave.checked());
    f.mnuWave.setChecked(true);
    f.mnuWave.click();
    EXPECT_TRUE(f.mnuWave.checked());
    f.mnuSound.setEnabled(false);
    f.mnuWave.click(); // its menu is disabled: nothing
    EXPECT_EQ(events, (std::vector<std::string> { "opt1_Click", "opt2_Click", "check_Click", "keys_Click 2", "mnuWave_Click", "mnuWave_Click" }));
    EXPECT_EQ(f.check.value(), 0);
}

TEST_F(FormsTest, ButtonClickTakesFocusFirstAndMouseUpFollowsClick)
{
    PanelForm& f = panel();
    f.show();
    f.text.setFocus();
    events.clear();
    f.button.click();
    EXPECT_EQ(events, (std::vector<std::string> { "text_LostFocus", "button_Click", "button_MouseUp 1" }));
    EXPECT_TRUE(f.button.hasFocus());

    // Disabling the focused control leaves the focus nowhere a Space could press.
    f.button.setEnabled(false);
    EXPECT_EQ(f.activeControl(), nullptr);
    events.clear();
    f.userType(" ");
    EXPECT_TRUE(events.empty());
    f.button.setEnabled(true);
    f.button.setFocus();
    f.userType(" \r");
    EXPECT_EQ(events, (std::vector<std::string> { "button_Click", "button_Click" })); // Space and Enter press
}

TEST_F(FormsTest, UnloadRunsItsHandlersAndTheNextAccessRestoresDesignValues)
{
    PanelForm& first = panel();
    unsigned generation = first.generation();
    first.text.setText("changed");
    first.opt2.setValue(true);
    events.clear();

    first.onQueryUnload = [](int& cancel, int) { cancel = 1; };
    EXPECT_FALSE(first.unload());
    EXPECT_TRUE(panel.isLoaded());

    first.onQueryUnload = [](int&, int mode) { note("QueryUnload " + std::to_string(mode)); };
    EXPECT_TRUE(first.unload());
    EXPECT_FALSE(panel.isLoaded());
    EXPECT_FALSE(first.isLoaded());
    EXPECT_EQ(events, (std::vector<std::string> { "QueryUnload 1", "Unload" }));

    PanelForm& second = panel();
    EXPECT_NE(second.generation(), generation);
    EXPECT_EQ(second.text.text(), "design");
    EXPECT_TRUE(second.opt1.value());
    EXPECT_EQ(second.loads, 1);

    // The close box asks with its own unload mode.
    second.show();
    events.clear();
    second.userClose();
    EXPECT_EQ(events, (std::vector<std::string> { "QueryUnload 0", "Unload" }));
}

TEST_F(FormsTest, AFormUnloadedByItsOwnHandlerLivesUntilTheHandlerReturns)
{
    PanelForm& f = panel();
    f.show();
    int before = PanelForm::destroyed;
    bool stillLoaded = true;
    QString textAfterWait;
    f.button.onClick = [&f, &stillLoaded, &textAfterWait] {
        f.unload();
        waitMs(500); // yields: the clock runs other work meanwhile
        stillLoaded = f.isLoaded();
        f.text.setText("after"); // the instance is still there to touch
        textAfterWait = f.text.text();
    };
    f.button.click();
    EXPECT_FALSE(stillLoaded);
    EXPECT_EQ(textAfterWait, "after");
    EXPECT_EQ(PanelForm::destroyed, before); // not yet: destroyed on the next turn
    waitMs(1);
    EXPECT_EQ(PanelForm::destroyed, before + 1);
    EXPECT_EQ(panel().text.text(), "design");
}

TEST_F(FormsTest, TimerIntervalZeroNeverTicksAndTicksNeverNest)
{
    PanelForm& f = panel();
    f.timer.setEnabled(true);
    clock->advance(10000);
    EXPECT_TRUE(events.size() == 1); // Form_Load only

    std::vector<Tick> starts;
    int depth = 0, deepest = 0;
    f.timer.onTimer = [&] {
        starts.push_back(platform::clock().now());
        deepest = std::max(deepest, ++depth);
        waitMs(350); // longer than the interval
        --depth;
    };
    Tick t0 = platform::clock().now();
    f.timer.setInterval(100);
    waitMs(990);
    EXPECT_EQ(deepest, 1);
    // Ticks due while the handler waited collapse: the next starts an interval after it returned.
    EXPECT_EQ(starts, (std::vector<Tick> { t0 + 100, t0 + 550 }));
}

TEST_F(FormsTest, TimerEnablingRules)
{
    PanelForm& f = panel();
    std::vector<Tick> ticks;
    f.timer.onTimer = [&] { ticks.push_back(platform::clock().now()); };
    f.timer.setEnabled(false);
    f.timer.setInterval(1000);
    Tick t0 = platform::clock().now();
    f.timer.setEnabled(true); // from off: a fresh interval
    clock->advance(400);
    f.timer.setEnabled(true); // already on: no restart
    clock->advance(700);
    f.timer.setInterval(1000); // a write while enabled restarts the count
    clock->advance(1500);
    f.timer.setEnabled(false);
    clock->advance(5000);
    EXPECT_EQ(ticks, (std::vector<Tick> { t0 + 1000, t0 + 2100 }));
}

TEST_F(FormsTest, TimersTickUnderAModalFormAndModelessShowsFailMeanwhile)
{
    PanelForm& f = panel();
    f.show();
    int ticks = 0;
    f.timer.onTimer = [&] { ++ticks; };
    f.timer.setInterval(100);
    bool modelessFailed = false;
    clock->callAfter(250, [&] {
        try {
            panel().show(); // already shown: comes to the front, no failure
            plain().show();
        } catch (const Failure&) {
            modelessFailed = true;
        }
    });
    clock->callAfter(1000, [] { dialog().unload(); });
    Tick t0 = platform::clock().now();
    dialog().showModal();
    EXPECT_EQ(platform::clock().now(), t0 + 1000);
    EXPECT_EQ(ticks, 10);
    EXPECT_TRUE(modelessFailed);
    EXPECT_FALSE(plain().isShown());
    EXPECT_FALSE(dialog.isLoaded());
    plain().show(); // no modal form any more
    EXPECT_TRUE(plain().isShown());
}

// A form shown modally is a dialog of the form it is shown over (the topmost modal
// form, else the main window), whatever its border; shown modeless again it is a
// window of its own. The main window belongs to none.
TEST_F(FormsTest, AModalFormIsADialogOfTheFormItIsShownOver)
{
    PanelForm& main = panel();
    main.show();
    QWindow *mainWindow = main.window()->windowHandle(), *plainWindow = nullptr;
    Qt::WindowType plainType = Qt::Widget, dialogType = Qt::Widget;
    QWindow* dialogOwner = nullptr;
    clock->callAfter(100, [&] {
        plainWindow = plain().window()->windowHandle();
        plainType = plain().window()->windowType();
        clock->callAfter(100, [&] {
            dialogType = dialog().window()->windowType();
            dialogOwner = dialog().window()->windowHandle()->transientParent();
            dialog().unload();
        });
        dialog().showModal();
        plain().unload();
    });
    plain().showModal();
    EXPECT_EQ(plainType, Qt::Dialog);
    ASSERT_NE(plainWindow, nullptr);
    EXPECT_EQ(plainWindow->transientParent(), mainWindow);
    EXPECT_EQ(dialogType, Qt::Dialog);
    EXPECT_EQ(dialogOwner, plainWindow);
    plain().show();
    EXPECT_EQ(plain().window()->windowType(), Qt::Window);
    EXPECT_EQ(plain().window()->windowHandle()->transientParent(), nullptr);
    EXPECT_EQ(main.window()->windowType(), Qt::Window);
    EXPECT_EQ(mainWindow->transientParent(), nullptr);
}

// A fixed-size form refuses the maximised state that a title bar may ask for anyway;
// a sizable one takes it.
TEST_F(FormsTest, OnlyASizableFormIsMaximised)
{
    DialogForm& fixed = dialog();
    fixed.show();
    fixed.window()->setWindowState(Qt::WindowMaximized);
    EXPECT_FALSE(fixed.window()->windowState() & Qt::WindowMaximized);
    PanelForm& sizable = panel();
    sizable.show();
    sizable.window()->setWindowState(Qt::WindowMaximized);
    EXPECT_TRUE(sizable.window()->windowState() & Qt::WindowMaximized);
}

TEST_F(FormsTest, KeyPreviewSeesEachKeyFirstAndTheControlMaySwallowIt)
{
    PanelForm& f = panel();
    f.setKeyPreview(true);
    f.onKeyPress = [](int& k) {
        note("form " + std::to_string(k));
        if (k >= 'a' && k <= 'z')
            k -= 32; // the form may change the key for the control
    };
    f.text.onKeyPress = [](int& k) {
        note("text " + std::to_string(k));
        if (k >= '0' && k <= '9')
            k = 0; // swallowed
    };
    f.text.onChange = nullptr;
    f.show();
    f.text.setText("");
    events.clear();
    f.text.type("a1\b");
    EXPECT_EQ(events, (std::vector<std::string> { "form 97", "text 65", "form 49", "text 49", "form 8", "text 8" }));
    EXPECT_EQ(f.text.text(), "");
    f.text.type("b");
    EXPECT_EQ(f.text.text(), "B");

    // MaxLength limits typing, not a text set from code.
    f.text.setMaxLength(2);
    f.text.type("cd");
    EXPECT_EQ(f.text.text(), "BC");
    f.text.setText("longer text");
    EXPECT_EQ(f.text.text(), "longer text");
}

// A paste is cut to the longest text on every road a paste takes, as typing is: what
// fits in place of the selection goes in, the rest is dropped, and Change comes once
// with the cut text. A text set from code stays whole, also when MaxLength comes later.
TEST_F(FormsTest, APasteIsCutToTheLongestText)
{
    PanelForm& f = panel();
    f.text.onChange = [&f] { note("text_Change " + f.text.text().toStdString()); };
    f.show();
    real::activate(f);
    f.text.setMaxLength(3);
    auto* edit = static_cast<QLineEdit*>(f.text.widget());
    const struct {
        const char* road;
        std::function<void()> paste;
    } roads[] = {
        {"Ctrl+V", [] { real::key(Qt::Key_V, Qt::ControlModifier); }},
        {"Shift+Insert", [] { real::key(Qt::Key_Insert, Qt::ShiftModifier); }},
        {"the context menu's paste", [edit] { edit->paste(); }},
    };
    const struct {
        const char* before;
        int selectionStart, selectionLength;
        const char* pasted;
        const char* after;
    } cases[] = {
        {"", 0, 0, "1234", "123"},   {"45", 2, 0, "1234", "451"}, {"45", 0, 0, "1234", "145"},
        {"456", 0, 3, "78901", "789"}, {"456", 1, 1, "78", "476"}, {"456", 3, 0, "7", "456"},
    };
    for (const auto& r : roads) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << r.road << ": " << c.pasted << " into " << c.before);
            f.text.setText(c.before);
            f.text.setFocus();
            ASSERT_EQ(real::keyTarget(), edit);
            edit->setSelection(c.selectionStart, c.selectionLength);
            QGuiApplication::clipboard()->setText(QString::fromLatin1(c.pasted));
            events.clear();
            r.paste();
            EXPECT_EQ(f.text.text(), c.after);
            EXPECT_EQ(edit->text(), c.after);
            const std::string change = std::string("text_Change ") + c.after;
            EXPECT_EQ(events, std::string(c.before) == c.after ? std::vector<std::string>{}
                                                               : std::vector<std::string>{change});
        }
    }

    f.text.setText("longer text");
    EXPECT_EQ(edit->text(), "longer text");
    f.text.setMaxLength(2);
    EXPECT_EQ(edit->text(), "longer text");
    f.text.setText("a");
    f.text.setFocus();
    edit->end(false);
    QGuiApplication::clipboard()->setText("12345");
    edit->paste();
    EXPECT_EQ(f.text.text(), "a1");
}

// The window system's own events take the same road as the scripted ones.
TEST_F(FormsTest, RealQtEventsTakeTheSameRoute)
{
    PanelForm& f = panel();
    f.setKeyPreview(true);
    f.onKeyPress = [](int& k) { note("form " + std::to_string(k)); };
    f.text.onKeyPress = [](int& k) {
        note("text " + std::to_string(k));
        if (k == '1')
            k = 0;
    };
    f.show();
    waitMs(1); // the window system activates the window
    f.text.setText("");
    f.text.setFocus();
    ASSERT_EQ(QApplication::focusWidget(), f.text.widget());
    events.clear();
    for (QString t : { QStringLiteral("x"), QStringLiteral("1") }) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, t);
        QApplication::sendEvent(f.text.widget(), &press);
    }
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(f.text.widget(), &tab); // no character: no KeyPress
    EXPECT_EQ(events, (std::vector<std::string> { "form 120", "text 120", "text_Change", "form 49", "text 49" }));
    EXPECT_EQ(f.text.text(), "x");

    events.clear();
    QWidget* b = f.button.widget();
    QPointF inside(b->width() / 2.0, b->height() / 2.0);
    QMouseEvent down(QEvent::MouseButtonPress, inside, b->mapToGlobal(inside), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent up(QEvent::MouseButtonRelease, inside, b->mapToGlobal(inside), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(b, &down);
    QApplication::sendEvent(b, &up);
    EXPECT_EQ(events, (std::vector<std::string> { "text_LostFocus", "button_Click", "button_MouseUp 1" }));

    events.clear();
    f.mnuWave.setChecked(true);
    f.mnuWave.action()->trigger();
    EXPECT_TRUE(f.mnuWave.checked());
    EXPECT_TRUE(f.mnuWave.action()->isChecked());
    EXPECT_EQ(events, std::vector<std::string> { "mnuWave_Click" });
}

// A key reaches the form once, whatever its handler does to the focus: moving it up to
// the frame's parent, onto another control, or away by disabling the focused control.
TEST_F(FormsTest, AKeyReachesTheFormOnceWhereverItsHandlerMovesTheFocus)
{
    PanelForm& f = panel();
    f.setKeyPreview(true);
    f.text.onChange = nullptr;
    f.text.onLostFocus = nullptr;
    std::function<void()> moveFocus;
    int downs = 0, presses = 0;
    f.onKeyDown = [&](int& code, int) {
        if (code != 17) // the Ctrl key of Ctrl+Tab
            ++downs, moveFocus();
    };
    f.onKeyPress = [&](int&) { ++presses, moveFocus(); };
    f.show();
    real::activate(f);
    const struct {
        const char* what;
        std::function<void()> move;
    } moves[] = {
        {"disable the focused control", [&] { f.opt1.setEnabled(false); }},
        {"focus another control", [&] { f.text.setFocus(); }},
        {"hide the focused control's frame", [&] { f.frame1.setVisible(false); }},
    };
    for (const auto& m : moves) {
        for (Qt::Key k : {Qt::Key_Tab, Qt::Key_F5, Qt::Key_A, Qt::Key_Return}) {
            SCOPED_TRACE(testing::Message() << m.what << ", key " << k);
            f.frame1.setVisible(true);
            f.opt1.setEnabled(true);
            f.opt1.setFocus();
            ASSERT_EQ(real::keyTarget(), f.opt1.widget());
            downs = presses = 0;
            moveFocus = m.move;
            real::key(k, k == Qt::Key_Tab ? Qt::ControlModifier : Qt::NoModifier);
            EXPECT_EQ(downs, 1);
            EXPECT_EQ(presses, k == Qt::Key_A || k == Qt::Key_Return ? 1 : 0);
        }
    }
}

// A failure in a handler raised by a write from code reaches the writer (whose
// "errors ignored" statement skips it); one in a user event ends only that event.
TEST_F(FormsTest, HandlerFailuresStopAtTheRightPlace)
{
    PanelForm& f = panel();
    f.show();
    f.check.onClick = [] { throw Failure("inside Click"); };
    EXPECT_THROW(f.check.setValue(0), Failure);
    EXPECT_FALSE(platform::ignoreErrors([&] { f.check.setValue(1); }));
    EXPECT_NO_THROW(f.check.click());
    EXPECT_EQ(f.check.value(), 0);
}

// Every key that gives a character code raises KeyPress as the window system delivers
// it, control codes included: Ctrl with a letter anywhere, Tab only where the control
// keeps it as a character. A Tab that moves the focus raises none, and Ctrl+M is no Enter.
TEST_F(FormsTest, ControlCodesRaiseKeyPressAndTabStillMovesTheFocus)
{
    struct EditForm : Form {
        TextBox box { *this };
        TextEditor editor { *this };
        CheckBox check { *this };
        CommandButton ok { *this };
    };
    static FormRef<EditForm> editForm;
    EditForm& f = editForm();
    f.setKeyPreview(true);
    f.setDefaultButton(&f.ok);
    std::vector<std::pair<std::string, int>> presses;
    f.onKeyPress = [&](int& k) { presses.emplace_back("form", k); };
    f.box.onKeyPress = [&](int& k) { presses.emplace_back("box", k); };
    f.editor.onKeyPress = [&](int& k) { presses.emplace_back("editor", k); };
    int okClicks = 0;
    f.ok.onClick = [&] { ++okClicks; };
    f.show();
    real::activate(f);
    QApplication::clipboard()->clear();

    using Presses = std::vector<std::pair<std::string, int>>;
    f.editor.setText("ab");
    f.editor.setFocus();
    auto* edit = static_cast<QPlainTextEdit*>(f.editor.widget());
    edit->moveCursor(QTextCursor::End);
    edit->moveCursor(QTextCursor::Left, QTextCursor::KeepAnchor);
    real::key(Qt::Key_X, Qt::ControlModifier); // cuts the b
    real::key(Qt::Key_Tab);
    real::key(Qt::Key_V, Qt::ControlModifier);
    real::key(Qt::Key_M, Qt::ControlModifier);
    real::key(Qt::Key_X, Qt::AltModifier); // Alt gives no character
    EXPECT_EQ(f.editor.text().left(3), "a\tb");
    real::key(Qt::Key_Backspace, Qt::ControlModifier); // deletes the word before the cursor
    EXPECT_EQ(presses, (Presses {{"form", 24}, {"editor", 24}, {"form", 9}, {"editor", 9}, {"form", 22},
                           {"editor", 22}, {"form", 13}, {"editor", 13}, {"form", 127}, {"editor", 127}}));
    EXPECT_EQ(f.editor.text(), "a\t");
    EXPECT_TRUE(f.editor.hasFocus());
    EXPECT_EQ(okClicks, 0);

    // A handler that swallows the code swallows the edit with it.
    f.editor.onKeyPress = [](int& k) { k = 0; };
    const QString before = f.editor.text();
    edit->selectAll();
    real::key(Qt::Key_X, Qt::ControlModifier);
    real::key(Qt::Key_Tab);
    EXPECT_EQ(f.editor.text(), before);

    // In a box Tab moves on unseen; Ctrl+C still copies from a box at its longest text.
    presses.clear();
    f.box.setText("12");
    f.box.setMaxLength(2);
    f.box.setFocus();
    static_cast<QLineEdit*>(f.box.widget())->deselect();
    static_cast<QLineEdit*>(f.box.widget())->home(false);
    static_cast<QLineEdit*>(f.box.widget())->end(true);
    real::key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "12");
    real::key(Qt::Key_Tab);
    EXPECT_TRUE(f.editor.hasFocus());
    f.box.setFocus();
    real::key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(f.ok.hasFocus());
    EXPECT_EQ(presses, (Presses {{"form", 3}, {"box", 3}}));
}

// Enter on a focused button presses it, as Space does, whichever button is the default;
// the form's KeyPress sees the 13 first and may swallow it, or take it by moving the
// focus. Ctrl+M gives 13 but presses nothing; away from a button Enter presses the default.
TEST_F(FormsTest, EnterPressesTheFocusedButtonAfterTheFormHasSeenIt)
{
    struct ButtonsForm : Form {
        TextBox box { *this };
        CommandButton ok { *this };
        CommandButton other { *this };
    };
    static FormRef<ButtonsForm> buttonsForm;
    ButtonsForm& f = buttonsForm();
    f.setKeyPreview(true);
    f.setDefaultButton(&f.ok);
    std::function<void(int&)> formKey;
    f.onKeyPress = [&](int& k) {
        note("form " + std::to_string(k));
        if (formKey)
            formKey(k);
    };
    f.ok.onClick = [] { note("ok"); };
    f.other.onClick = [] { note("other"); };
    f.show();
    real::activate(f);
    using Events = std::vector<std::string>;
    const struct {
        const char* what;
        Control* focus;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        std::function<void(int&)> formKey;
        Events seen;
    } cases[] = {
        {"Enter", &f.other, Qt::Key_Return, Qt::NoModifier, nullptr, {"form 13", "other"}},
        {"the keypad's Enter", &f.other, Qt::Key_Enter, Qt::KeypadModifier, nullptr, {"form 13", "other"}},
        {"Shift+Enter", &f.other, Qt::Key_Return, Qt::ShiftModifier, nullptr, {"form 13", "other"}},
        {"Space", &f.other, Qt::Key_Space, Qt::NoModifier, nullptr, {"form 32", "other"}},
        {"Enter on the default button", &f.ok, Qt::Key_Return, Qt::NoModifier, nullptr, {"form 13", "ok"}},
        {"Ctrl+M", &f.other, Qt::Key_M, Qt::ControlModifier, nullptr, {"form 13"}},
        {"Enter swallowed by the form", &f.other, Qt::Key_Return, Qt::NoModifier, [](int& k) { k = 0; }, {"form 13"}},
        {"Enter taken by a form that moves the focus", &f.other, Qt::Key_Return, Qt::NoModifier,
            [&](int&) { f.box.setFocus(); }, {"form 13"}},
        {"Enter in a text box", &f.box, Qt::Key_Return, Qt::NoModifier, nullptr, {"ok"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        formKey = c.formKey;
        c.focus->setFocus();
        ASSERT_EQ(real::keyTarget(), c.focus->widget());
        events.clear();
        real::key(c.key, c.mods);
        EXPECT_EQ(events, c.seen);
    }
}

// An arrow in an option group moves the focus to the next reachable option of the
// same container by TabIndex, wrapping round, and selects it with its Click; options
// of another container and unreachable ones are passed by.
TEST_F(FormsTest, ArrowsInAnOptionGroupSelectAsTheyMove)
{
    struct GroupForm : Form {
        Frame group { *this };
        OptionButton a { group }, b { group }, off { group }, c { group };
        OptionButton elsewhere { *this };
        GroupForm()
        {
            for (OptionButton* o : {&a, &b, &off, &c, &elsewhere})
                o->onClick = [o, this] { note(o == &a ? "a" : o == &b ? "b" : o == &c ? "c" : "other"); };
            b.setTabIndex(5); // after c, whatever the order they were made in
        }
    };
    static FormRef<GroupForm> groupForm;
    GroupForm& f = groupForm();
    f.off.setEnabled(false);
    f.show();
    real::activate(f);
    const struct {
        Qt::Key key;
        const char* selected;
    } steps[] = {{Qt::Key_Down, "c"}, {Qt::Key_Right, "b"}, {Qt::Key_Down, "a"}, {Qt::Key_Up, "b"},
        {Qt::Key_Left, "c"}, {Qt::Key_Up, "a"}};
    f.a.click();
    for (const auto& step : steps) {
        SCOPED_TRACE(step.selected);
        events.clear();
        real::key(step.key);
        EXPECT_EQ(events, std::vector<std::string> {step.selected});
        OptionButton& want = step.selected == std::string("a") ? f.a : step.selected == std::string("b") ? f.b : f.c;
        EXPECT_TRUE(want.value());
        EXPECT_EQ(real::keyTarget(), want.widget());
        EXPECT_FALSE(f.elsewhere.value());
    }
}

// Qt's styles draw the focus frame only in a window whose focus has moved from the
// keyboard. Each case starts in a fresh window with the focus set from code, moves it
// by a real key, and then parks it elsewhere from code: the control must look different
// with the focus than without it. A text box or an editable editor is no case: Qt draws
// its focus (outline, caret) in any window. A locked editor has no caret and is one.
TEST_F(FormsTest, AFocusMovedFromTheKeyboardIsSeen)
{
    struct FocusForm : Form {
        CommandButton park { *this };
        CommandButton first { *this };
        CommandButton second { *this };
        Frame group { *this };
        OptionButton opt1 { group };
        OptionButton opt2 { group };
        CheckBox check { *this };
        HScrollBar scroll { *this };
        TextBox box { *this };
        ComboBox combo { *this };
        TextEditor locked { *this };
        FocusForm()
        {
            move(0, 0, 7000, 4500);
            park.move(120, 120, 1200, 400);
            first.move(1500, 120, 1200, 400);
            second.move(2880, 120, 1200, 400);
            group.move(120, 700, 3000, 500);
            opt1.move(60, 120, 1200, 300);
            opt2.move(1500, 120, 1200, 300);
            check.move(120, 1300, 1500, 300);
            scroll.move(120, 1800, 2400, 300);
            box.move(120, 2300, 1200, 300);
            combo.move(120, 2800, 1200, 300);
            locked.move(3300, 700, 2400, 1500);
            locked.setText("CQ");
            locked.setLocked(true);
            for (CommandButton* b : {&park, &first, &second})
                b->setCaption("OK");
            opt1.setCaption("one");
            opt2.setCaption("two");
            check.setCaption("check");
            opt1.setValue(true);
            combo.addItem("a", 0);
            scroll.setMax(10);
            first.onKeyPress = [this](int& k) {
                if (k == 'x')
                    k = 0, second.setFocus();
            };
        }
    };
    static FormRef<FocusForm> focusForm;
    using Of = Control& (*)(FocusForm&);
    const struct {
        const char* what;
        Of from;
        std::function<void()> key;
        Of to;
    } cases[] = {
        {"Tab to a command button", [](FocusForm& f) -> Control& { return f.first; }, [] { real::key(Qt::Key_Tab); },
            [](FocusForm& f) -> Control& { return f.second; }},
        {"Shift+Tab to a command button", [](FocusForm& f) -> Control& { return f.second; },
            [] { real::key(Qt::Key_Backtab, Qt::ShiftModifier); }, [](FocusForm& f) -> Control& { return f.first; }},
        {"Tab to an option button", [](FocusForm& f) -> Control& { return f.second; }, [] { real::key(Qt::Key_Tab); },
            [](FocusForm& f) -> Control& { return f.opt1; }},
        {"an arrow in an option group", [](FocusForm& f) -> Control& { return f.opt1; },
            [] { real::key(Qt::Key_Right); }, [](FocusForm& f) -> Control& { return f.opt2; }},
        {"Tab to a check box", [](FocusForm& f) -> Control& { return f.opt1; }, [] { real::key(Qt::Key_Tab); },
            [](FocusForm& f) -> Control& { return f.check; }},
        {"Tab to a scroll bar", [](FocusForm& f) -> Control& { return f.check; }, [] { real::key(Qt::Key_Tab); },
            [](FocusForm& f) -> Control& { return f.scroll; }},
        {"Tab to a combo box", [](FocusForm& f) -> Control& { return f.box; }, [] { real::key(Qt::Key_Tab); },
            [](FocusForm& f) -> Control& { return f.combo; }},
        {"Tab to a locked text editor", [](FocusForm& f) -> Control& { return f.combo; }, [] { real::key(Qt::Key_Tab); },
            [](FocusForm& f) -> Control& { return f.locked; }},
        {"a key whose handler moves the focus", [](FocusForm& f) -> Control& { return f.first; },
            [] { real::type('x'); }, [](FocusForm& f) -> Control& { return f.second; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (focusForm.isLoaded())
            focusForm().unload();
        FocusForm& f = focusForm();
        f.show();
        real::activate(f);
        Control& from = c.from(f);
        Control& to = c.to(f);
        from.setFocus();
        ASSERT_EQ(real::keyTarget(), from.widget());
        c.key();
        ASSERT_EQ(real::keyTarget(), to.widget());
        QWidget* window = f.window();
        const QRect at(to.widget()->mapTo(window, QPoint(0, 0)), to.widget()->size());
        const QImage focused = window->grab(at).toImage();
        f.park.setFocus();
        ASSERT_EQ(real::keyTarget(), f.park.widget());
        EXPECT_NE(focused, window->grab(at).toImage());
    }
}

// A Tab stop is a control some part of which can be seen. Two panels share a place, as
// a list and an editor do: the one brought over the other (a picture box fills its own
// background) hides the boxes behind it, while a box it covers only in part, or one
// under a borderless frame, which paints nothing, stays a stop; a box placed outside
// its frame's area is out of view though inside the window. A focused control that
// leaves view, covered or moved away, gives the focus to the first stop in view.
TEST_F(FormsTest, TabStopsOnlyOnWhatCanBeSeen)
{
    struct Panels : Form {
        CheckBox check { *this };
        PictureBox list { *this };
        TextBox row1 { list };
        TextBox row2 { list };
        Frame strip { list };
        TextBox outside { strip };
        PictureBox editPanel { *this };
        TextEditor editor { editPanel };
        CommandButton save { editPanel };
        CommandButton ok { *this };
        Panels()
        {
            move(0, 0, 7000, 5000);
            check.move(120, 120, 1500, 300);
            list.move(120, 600, 6000, 3000);
            row1.move(120, 120, 3000, 300);
            row2.move(120, 600, 3000, 300);
            strip.setBorderStyle(0);
            strip.move(60, 450, 4000, 600); // over row2
            outside.move(4500, 150, 1000, 300);
            editPanel.move(-12000, 600, 6000, 800); // over row1 whole, row2 in part
            editor.move(0, 0, 3000, 500);
            save.move(3500, 100, 1000, 400);
            ok.move(5000, 4000, 1000, 400);
        }
    };
    static FormRef<Panels> panels;
    Panels& f = panels();
    f.show();
    real::activate(f);
    auto walk = [&](Control& from, Qt::Key key, Qt::KeyboardModifiers mods) {
        from.setFocus();
        std::vector<Control*> walked;
        for (int i = 0; i < 4; ++i) {
            real::key(key, mods);
            walked.push_back(f.activeControl());
            EXPECT_EQ(real::keyTarget(), f.activeControl() ? f.activeControl()->widget() : nullptr);
        }
        return walked;
    };
    using Walk = std::vector<Control*>;
    EXPECT_EQ(walk(f.check, Qt::Key_Tab, Qt::NoModifier), (Walk {&f.row1, &f.row2, &f.ok, &f.check}));

    f.row1.setFocus();
    f.editPanel.setLeft(f.list.left());
    EXPECT_EQ(f.activeControl(), &f.check);
    EXPECT_EQ(real::keyTarget(), f.check.widget());
    EXPECT_EQ(walk(f.ok, Qt::Key_Backtab, Qt::ShiftModifier), (Walk {&f.save, &f.editor, &f.row2, &f.check}));

    f.row2.setFocus();
    f.list.setLeft(-12000);
    EXPECT_EQ(f.activeControl(), &f.check);
    EXPECT_EQ(walk(f.ok, Qt::Key_Backtab, Qt::ShiftModifier), (Walk {&f.save, &f.editor, &f.check, &f.ok}));
    f.check.setFocus();
    real::key(Qt::Key_Tab);
    EXPECT_EQ(f.activeControl(), &f.editor);
}

// A form opened by a key (a menu chosen after a key, Space on a button, which clicks on
// its release) shows where its focus is at once, as the desktop does; one opened after
// a click shows it from the first keyboard move on.
TEST_F(FormsTest, AFormOpenedByAKeyShowsItsFocusAtOnce)
{
    struct Opened : Form {
        CommandButton button { *this };
        CommandButton other { *this };
        Opened()
        {
            move(0, 0, 4500, 1500);
            button.move(120, 120, 1200, 400);
            other.move(1500, 120, 1200, 400);
            button.setCaption("OK");
            other.setCaption("OK");
        }
    };
    struct Opener : Form {
        CommandButton target { *this };
        CommandButton opens { *this };
        Menu mnuFile { *this };
        Menu mnuOpen { mnuFile };
        Opener() { opens.move(1500, 120, 1200, 400); }
    };
    static FormRef<Opened> opened;
    static FormRef<Opener> opener;
    Opener& o = opener();
    o.mnuOpen.onClick = [] { opened().show(); };
    o.opens.onClick = [] { opened().show(); };
    o.show();
    auto button = [](Opened& d) {
        QWidget* w = d.window();
        return w->grab(QRect(d.button.widget()->mapTo(w, QPoint(0, 0)), d.button.widget()->size())).toImage();
    };
    auto openBy = [&](const std::function<void()>& open) -> Opened& {
        if (opened.isLoaded())
            opened().unload();
        real::activate(o);
        open();
        Opened& d = opened();
        real::activate(d);
        d.button.setFocus();
        EXPECT_EQ(real::keyTarget(), d.button.widget());
        return d;
    };
    const QImage byKey = button(openBy([&] {
        o.target.setFocus();
        real::key(Qt::Key_Shift);
        o.mnuOpen.click();
    }));
    EXPECT_EQ(button(openBy([&] {
        o.opens.setFocus();
        real::key(Qt::Key_Space);
    })),
        byKey);
    Opened& d = openBy([&] {
        real::click(o.target);
        o.mnuOpen.click();
    });
    EXPECT_NE(button(d), byKey);
    real::key(Qt::Key_Tab);
    real::key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(button(d), byKey);
}

TEST_F(FormsTest, KeyCodesOfCharacters)
{
    struct Case {
        const char* character;
        int code;
    } cases[] = {
        { "A", 65 },
        { " ", 32 },
        { "~", 126 },
        { "\\", 92 },
        { "ｱ", 177 },
        { "ﾟ", 223 },
        { "あ", static_cast<std::int16_t>(0x82A0) },
        { "ー", static_cast<std::int16_t>(0x815B) },
        { "한", noCodePageCode },
        { "😀", noCodePageCode },
    };
    for (const Case& c : cases) {
        QString ch = QString::fromUtf8(c.character);
        EXPECT_EQ(keyAsciiOf(ch), c.code) << c.character;
        if (c.code != noCodePageCode) {
            EXPECT_EQ(characterOf(c.code), ch) << c.character;
        }
    }
    EXPECT_NE(keyAsciiOf(QString::fromUtf8("한")), 63);
}

TEST_F(FormsTest, UpDownStepWritesTheBuddyThenRaisesItsOwnChange)
{
    PanelForm& f = panel();
    f.show();
    events.clear();
    f.spin.up(); // from the buddy's "5"
    EXPECT_EQ(f.buddy.text(), "7");
    f.buddy.setText("9"); // a write from code: the spinner says nothing
    f.spin.up(); // 11 is past Max: stops at 10
    f.spin.up(); // at the end: nothing happens
    f.buddy.setText("junk");
    f.spin.down(); // no number in the box: steps from the spinner's value
    EXPECT_EQ(events, (std::vector<std::string> { "buddy_Change 7", "spin_Change", "buddy_Change 9", "buddy_Change 10", "spin_Change", "buddy_Change junk", "buddy_Change 8", "spin_Change" }));
    EXPECT_EQ(f.spin.value(), 8);
}

TEST_F(FormsTest, ScriptedMessageBoxesAnswerAndAreRecorded)
{
    dialogs::queueAnswer(vbNo);
    EXPECT_EQ(MsgBox("Save?", vbYesNo | vbExclamation, "Title"), vbNo);
    EXPECT_EQ(MsgBox("Again?", vbYesNo), vbYes); // nothing queued: the first button
    EXPECT_EQ(MsgBox("Done"), vbOK);
    const auto& shown = dialogs::messages();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].prompt, "Save?");
    EXPECT_EQ(shown[0].title, "Title");
    EXPECT_EQ(shown[0].buttons, vbYesNo | vbExclamation);
    EXPECT_EQ(shown[0].answer, vbNo);
    EXPECT_EQ(shown[2].buttons, vbOKOnly);

    dialogs::queueFile("/tmp/words");
    FileOpenResult r = showFileOpen({ "テキスト(*.txt)|*.txt|すべて(*.*)|*.*", "/nonexistent", "t", "txt", true });
    EXPECT_FALSE(r.cancelled);
    EXPECT_EQ(r.path, "/tmp/words.txt");
    EXPECT_EQ(r.fileTitle, "words.txt");
    EXPECT_TRUE(showFileOpen({}).cancelled);
    EXPECT_EQ(dialogs::fileRequests().size(), 2u);
}

TEST_F(FormsTest, GeometryIsTwipsReadBackExactlyAndSizeWritesRaiseResize)
{
    PanelForm& f = panel();
    events.clear();
    f.setLeft(387.5f);
    f.setTop(-12000);
    EXPECT_TRUE(events.empty());
    f.setWidth(7500);
    f.setHeight(9030);
    f.setWidth(7500);
    EXPECT_EQ(events, (std::vector<std::string> { "Form_Resize", "Form_Resize" }));
    EXPECT_EQ(f.left(), 387.5f);
    EXPECT_EQ(f.top(), -12000.0f);
    f.button.move(-48000, 387.5f, 735, 495);
    EXPECT_EQ(f.button.left(), -48000.0f);
    EXPECT_EQ(f.button.top(), 387.5f);

    DialogForm& d = dialog();
    d.centerOn(f);
    EXPECT_EQ(d.left(), (f.width() - d.width()) / 2 + f.left());
    EXPECT_EQ(d.top(), (f.height() - d.height()) / 2 + f.top());
}

struct FramedForm : Form {
    Frame outer { *this };
    Frame inner { static_cast<Container&>(outer) };
    Label label { inner };
    FramedForm()
    {
        move(0, 0, 4500, 3000);
        outer.move(0, 0, 4000, 2500);
        outer.setBorderStyle(0);
        inner.setCaption("inner");
        inner.move(300, 300, 3000, 1800);
        label.setCaption("label");
        label.move(300, 600, 1500, 600);
    }
};
FormRef<FramedForm> framed;

// A frame without border draws nothing of its own, and only it: the frame inside it
// keeps its line, and a label of the default colour shows its container's background.
TEST_F(FormsTest, ABorderlessFrameLeavesItsChildrenTheirLooks)
{
    FramedForm& f = framed();
    f.show();
    QImage outer = f.outer.widget()->grab().toImage();
    QImage inner = f.inner.widget()->grab().toImage();
    const int y = inner.height() / 2;
    // The inner frame's left line differs from the plain background beside it.
    int lineX = -1;
    for (int x = 0; x < 6 && lineX < 0; ++x)
        if (inner.pixel(x, y) != outer.pixel(2, 2))
            lineX = x;
    EXPECT_GE(lineX, 0) << "no border line on the inner frame";
    // The label's background is the frame's inside, not a patch of its own.
    QRect l = f.label.widget()->geometry();
    EXPECT_EQ(inner.pixel(l.right() - 1, l.bottom() - 1), inner.pixel(l.right() + 4, l.bottom() - 1));
    f.label.setBackColor(vbWhite);
    EXPECT_EQ(f.inner.widget()->grab().toImage().pixel(l.right() - 1, l.bottom() - 1), qRgb(255, 255, 255));
}

TEST_F(FormsTest, ColoursReadBackAsNumbers)
{
    PanelForm& f = panel();
    f.text.setBackColor(vbScrollBars);
    EXPECT_EQ(f.text.backColor(), 0x80000000u);
    f.text.setForeColor(vbRed);
    EXPECT_EQ(f.text.foreColor(), 255u);
    EXPECT_EQ(f.text.widget()->palette().color(QPalette::Text), QColor(255, 0, 0));
}

TEST_F(FormsTest, TextEditorFilesInCodePage932)
{
    QTemporaryDir dir;
    QString path = dir.filePath("words.txt");
    {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("\x82\xa0\x82\xa2\r\nABC\r\n"); // "あい" CR LF "ABC" CR LF
    }
    struct EditorForm : Form {
        TextEditor editor { *this };
    };
    static FormRef<EditorForm> editorForm;
    TextEditor& e = editorForm().editor;
    int changes = 0;
    e.onChange = [&] { ++changes; };

    EXPECT_EQ(e.lineCount(), 0);
    ASSERT_TRUE(e.loadFile(path));
    EXPECT_EQ(e.text(), QString::fromUtf8("あい\r\nABC\r\n"));
    EXPECT_EQ(e.lineCount(), 3);
    EXPECT_EQ(changes, 1);
    e.setText("one\ntwo"); // line breaks become CR LF
    EXPECT_EQ(e.text(), "one\r\ntwo");
    EXPECT_EQ(e.lineCount(), 2);

    EXPECT_EQ(e.loadFile(dir.filePath("missing.txt")).result, TextEditor::FileResult::CannotOpen);
    EXPECT_EQ(e.loadFile(dir.path()).result, TextEditor::FileResult::CannotOpen);
    EXPECT_EQ(e.text(), "one\r\ntwo"); // a failed load leaves the text
    EXPECT_EQ(e.saveFile(dir.path()).result, TextEditor::FileResult::CannotOpen);

    e.setText(QString::fromUtf8("モールス\r\nCQ"));
    ASSERT_TRUE(e.saveFile(path));
    const QByteArray saved("\x83\x82\x81\x5b\x83\x8b\x83\x58\r\nCQ");
    EXPECT_EQ(platform::readWholeFile(path), saved);
    e.setText(QString::fromUtf8("한"));
    EXPECT_EQ(e.saveFile(path).result, TextEditor::FileResult::Failed);
    EXPECT_EQ(platform::readWholeFile(path), saved); // the old text is kept
}

TEST_F(FormsTest, MissingPictureIsNoPictureAndNoFailure)
{
    EXPECT_TRUE(loadPicture("/nonexistent/picture.bmp").isNull());
    EXPECT_TRUE(loadPicture(QDir::tempPath()).isNull());
}

// Loads nest: a form whose load touches another form and its own controls.
struct OuterForm;
struct InnerForm : Form {
    Label label { *this };
    InnerForm();
};
struct OuterForm : Form {
    Label label { *this };
    OuterForm();
};
FormRef<OuterForm> outer;
FormRef<InnerForm> inner;
InnerForm::InnerForm()
{
    onLoad = [this] {
        note("Inner_Load");
        label.setCaption(outer().label.caption()); // the outer form is mid-load: no reload
    };
}
OuterForm::OuterForm()
{
    onLoad = [this] {
        note("Outer_Load");
        label.setCaption("outer");
        inner().label.setCaption(inner().label.caption() + "!");
        outer().label.setCaption("outer again"); // its own instance, not a new load
    };
}

TEST_F(FormsTest, LoadsNestWithoutRecursion)
{
    OuterForm& o = outer();
    EXPECT_EQ(events, (std::vector<std::string> { "Outer_Load", "Inner_Load" }));
    EXPECT_EQ(inner().label.caption(), "outer!");
    EXPECT_EQ(o.label.caption(), "outer again");
}

} // namespace

// The platform asked of Qt before the application is made: the learner's own choice
// stands; an X display (a Wayland desktop's XWayland) is taken first, Wayland where no
// X server answers; with no X display Qt takes what is there. WAYLAND_DISPLAY is set
// throughout: whether a Wayland desktop is there changes none of this.
TEST(WindowSystem, ThePlatformChosenFromTheEnvironment)
{
    struct Case {
        const char* qpa;
        const char* display;
        std::optional<std::string> chosen;
    };
    const Case cases[] = {
        { nullptr, ":0", "xcb;wayland" }, // an X desktop, or a Wayland desktop's XWayland
        { nullptr, nullptr, std::nullopt }, // no X display: Wayland alone
        { nullptr, "", std::nullopt }, // an empty DISPLAY names no display
        { "wayland", ":0", std::nullopt }, // the learner's own choice
        { "offscreen", ":0", std::nullopt },
        { "", ":0", "xcb;wayland" }, // empty: no choice, as Qt reads it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("QT_QPA_PLATFORM=") + (c.qpa ? c.qpa : "(unset)") + " DISPLAY="
            + (c.display ? c.display : "(unset)"));
        auto env = [&](const char* name) -> const char* {
            const std::string n = name;
            return n == "QT_QPA_PLATFORM" ? c.qpa : n == "DISPLAY" ? c.display : n == "WAYLAND_DISPLAY" ? "wayland-0" : nullptr;
        };
        EXPECT_EQ(chosenQtPlatform(env), c.chosen);
    }
}

// The choice is for this program's own application only: once it is made, what the
// program starts (the desktop's handler of a web page) sees the learner's environment.
TEST(WindowSystem, TheChoiceIsTakenBackOnceTheApplicationIsMade)
{
    const std::optional<std::string> qpa = std::getenv("QT_QPA_PLATFORM")
        ? std::optional<std::string>(std::getenv("QT_QPA_PLATFORM")) : std::nullopt;
    const std::optional<std::string> display = std::getenv("DISPLAY")
        ? std::optional<std::string>(std::getenv("DISPLAY")) : std::nullopt;
    auto put = [](const char* name, const std::optional<std::string>& value) {
        value ? setenv(name, value->c_str(), 1) : unsetenv(name);
    };
    setenv("DISPLAY", ":99", 1);

    unsetenv("QT_QPA_PLATFORM");
    chooseQtPlatform();
    ASSERT_NE(std::getenv("QT_QPA_PLATFORM"), nullptr);
    EXPECT_STREQ(std::getenv("QT_QPA_PLATFORM"), "xcb;wayland");
    takeBackQtPlatform();
    EXPECT_EQ(std::getenv("QT_QPA_PLATFORM"), nullptr);

    setenv("QT_QPA_PLATFORM", "wayland", 1); // the learner's own stays
    chooseQtPlatform();
    takeBackQtPlatform();
    ASSERT_NE(std::getenv("QT_QPA_PLATFORM"), nullptr);
    EXPECT_STREQ(std::getenv("QT_QPA_PLATFORM"), "wayland");

    put("QT_QPA_PLATFORM", qpa);
    put("DISPLAY", display);
}

// The message boxes' buttons speak the interface's language whatever the locale (the
// tests run in C.UTF-8, as a learner's session may).
TEST(QtTexts, TheMessageBoxButtonsAreJapanese)
{
    const std::pair<QMessageBox::StandardButton, QString> buttons[] = {
        {QMessageBox::Yes, QStringLiteral("はい")},
        {QMessageBox::No, QStringLiteral("いいえ")},
        {QMessageBox::Cancel, QStringLiteral("キャンセル")},
    };
    QMessageBox box;
    for (const auto& [button, text] : buttons) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_TRUE(box.addButton(button)->text().startsWith(text)) << box.button(button)->text().toStdString();
    }
}

