// The main window and the progress window driven by keys and clicks as the window
// system delivers them: focus and key routing as a learner meets them.
#include "dialogs/dialogMogisikenTxt.h"
#include "dialogs/frmOptions.h"
#include "practice/frmExamAnswer.h"
#include "practice/frmKikitoriResult.h"
#include "support/keypad_fixture.h"
#include "support/real_input.h"
#include "synthesis/frmExchangeProgress.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QWindow>

using namespace forms;

class RealDelivery : public KeypadFixture { };

// Answer keys typed while an answer button has the focus answer once each; Esc passes
// the question; the Stop button clicked ends the run with the right counts.
TEST_F(RealDelivery, AnswerKeysWhileAButtonHasTheFocus)
{
    FrmMain& f = shown();
    real::activate(f);
    checkLatinRow(f, 1); // A..E
    AnswerTimeLimitSec = 5;
    f.optionKikitoriMode.click();
    enum { Right, Esc, Wrong, Stop } plan[] = {Right, Esc, Wrong, Right, Stop};
    int step = 0;
    QString asked, right;
    every10ms([&] {
        if (AskedCount != step + 1 || !f.timerLimitKikitoriMode.enabled())
            return true;
        f.LatinButton(1).setFocus();
        EXPECT_EQ(real::keyTarget(), f.LatinButton(1).widget());
        switch (plan[step]) {
        case Right:
            real::type(SentChar.toLower().toLatin1().at(0));
            break;
        case Esc:
            real::key(Qt::Key_Escape);
            break;
        case Wrong:
            real::type(SentChar == "A" ? 'b' : 'a');
            break;
        case Stop:
            // The results window opens inside the click: close it from a step of its own.
            every10ms([&] {
                FrmKikitoriResult* r = frmKikitoriResult.ifLoaded();
                if (!r || !r->isShown())
                    return true;
                asked = r->SyutudaiLabel.caption();
                right = r->SeikaiLabel.caption();
                real::click(r->CloseButton);
                return false;
            });
            real::click(f.StopButton_Command);
            return false;
        }
        ++step;
        return true;
    });
    real::click(f.StartButton_Command);
    EXPECT_EQ(asked, "4");
    EXPECT_EQ(right, "2");
}

// The progress window stays out of the taskbar as a dialog of the main window,
// and Esc typed at it cancels the conversion of a mock exam.
TEST_F(RealDelivery, TheProgressWindowIsADialogOfTheMainWindowAndTakesEsc)
{
    FrmMain& f = shown();
    f.comboMogisikenMode.setListIndex(0);
    f.optionMogisikenMode.click();
    f.StartButton_Command.setEnabled(false); // as while a run converts its exam
    ConversionCancelRequested = 0;
    FrmExchangeProgress& p = frmExchangeProgress();
    p.show();
    EXPECT_EQ(p.window()->windowType(), Qt::Dialog);
    ASSERT_NE(p.window()->windowHandle(), nullptr);
    EXPECT_EQ(p.window()->windowHandle()->transientParent(), f.window()->windowHandle());
    real::activate(p);
    real::key(Qt::Key_Escape);
    EXPECT_EQ(ConversionCancelRequested, -1);
    EXPECT_TRUE(f.StartButton_Command.enabled());
    // The main window itself is listed.
    EXPECT_EQ(f.window()->windowType(), Qt::Window);
}

// Enter on a window's focused button presses it, as Space does, and so does the
// keypad's Enter: each of these buttons closes its window, and none is its window's
// default button (the options dialog previews its keys).
TEST_F(RealDelivery, EnterPressesTheFocusedButtonOfEachWindow)
{
    FrmMain& f = shown();
    f.Label4.setCaption("3"); // as a stopped run leaves them for its results
    f.Label2.setCaption("2");
    const struct {
        const char* what;
        std::function<CommandButton&()> open;
        std::function<bool()> loaded;
    } buttons[] = {
        {"聞き取り成績 閉じる", []() -> CommandButton& { return frmKikitoriResult().CloseButton; },
            [] { return frmKikitoriResult.isLoaded(); }},
        {"模擬試験解答 閉じる", []() -> CommandButton& { return frmExamAnswer().cmdClose; },
            [] { return frmExamAnswer.isLoaded(); }},
        {"設定 ｷｬﾝｾﾙ", []() -> CommandButton& { return frmOptions().cmdCancel; }, [] { return frmOptions.isLoaded(); }},
        {"exam texts OK", []() -> CommandButton& { return dialogMogisikenTxt().OKButton; },
            [] { return dialogMogisikenTxt.isLoaded(); }},
        {"設定 OK", []() -> CommandButton& { return frmOptions().cmdOK; }, [] { return frmOptions.isLoaded(); }},
    };
    for (Qt::Key enter : {Qt::Key_Return, Qt::Key_Enter}) {
        for (const auto& b : buttons) {
            SCOPED_TRACE(testing::Message() << b.what << (enter == Qt::Key_Enter ? ", the keypad's Enter" : ""));
            CommandButton& button = b.open();
            button.form().show();
            real::activate(button.form());
            button.setFocus();
            ASSERT_EQ(real::keyTarget(), button.widget());
            real::key(enter, enter == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
            EXPECT_FALSE(b.loaded());
        }
    }
}

// The Tab key walks the main window in its tab order: the panel top to bottom, of each
// group of options the selected one, the keypad of the alphabet in use in table order
// (never the one parked out of sight), and round again; Shift+Tab walks back.
TEST_F(RealDelivery, TabFollowsTheMainWindowsTabOrder)
{
    for (bool kana : {false, true}) {
        SCOPED_TRACE(kana ? "kana" : "Latin");
        FrmMain& f = kana ? shownKana() : shown();
        real::activate(f);
        std::vector<Control*> expected = {&f.optionKakuninMode, &f.checkTypeKey, &f.optionSpeed45, &f.textCwSpeed,
                                          &f.textToneFreq};
        if (kana) {
            for (int i = 1; i <= 68; ++i)
                expected.push_back(&f.ButtonJp(i));
            expected.push_back(&f.checkExceptDakutenHandakuten);
            f.checkExceptDakutenHandakuten.setEnabled(true); // as the ranges with voiced kana have it
        } else {
            for (int i = 1; i <= 48; ++i)
                expected.push_back(&f.LatinButton(i));
        }
        expected.push_back(&f.optionKakuninMode);
        f.optionKakuninMode.setFocus();
        std::vector<Control*> walked = {f.activeControl()};
        for (size_t i = 1; i < expected.size(); ++i) {
            real::key(Qt::Key_Tab);
            walked.push_back(f.activeControl());
            EXPECT_EQ(real::keyTarget(), f.activeControl()->widget());
        }
        EXPECT_EQ(walked, expected);
        real::key(Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(f.activeControl(), expected[expected.size() - 2]);
        real::key(Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(f.activeControl(), expected[expected.size() - 3]);
        forms::discardAll();
    }
}

// A paste into a number box is cut to the box's longest text at once, as the edit
// control does; leaving the box then clamps what is left as for typed digits, and a
// pasted non-number still counts as an empty box. Shift+Insert raises no KeyPress, so
// the digit filters have no say in it.
TEST_F(RealDelivery, APasteIntoANumberBoxIsCutToItsLongestText)
{
    FrmMain& f = shown();
    real::activate(f);
    // The minutes box switched on; a click into a box unlocks it while the
    // keyboard-input box is enabled, in a mock exam with the learner's own set.
    checkLatinRow(f, 13);
    f.comboMogisikenMode.setListIndex(0);
    f.optionMogisikenMode.click();
    ASSERT_TRUE(f.textReceiveTime.enabled());
    ASSERT_TRUE(f.checkTypeKey.enabled());
    const struct {
        TextBox* box;
        const char* pasted;
        const char* pastedAs;
        const char* left;
    } cases[] = {
        {&f.textCwSpeed, "1234", "123", "123"},      {&f.textCwSpeed, "6000", "600", "250"},
        {&f.textToneFreq, "99999", "9999", "6000"},  {&f.textToneFreq, "12345", "1234", "1234"},
        {&f.textToneFreq, "ab12", "ab12", "800"},    {&f.textReceiveTime, "123", "12", "12"},
        {&f.textReceiveTime, "-40000", "-4", "1"},   {&f.textReceiveTime, "x", "x", "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pasted);
        real::click(*c.box);
        ASSERT_EQ(real::keyTarget(), c.box->widget());
        c.box->setText(QString());
        QGuiApplication::clipboard()->setText(QString::fromLatin1(c.pasted));
        real::key(Qt::Key_Insert, Qt::ShiftModifier);
        EXPECT_EQ(c.box->text(), c.pastedAs);
        EXPECT_EQ(static_cast<QLineEdit*>(c.box->widget())->text(), c.pastedAs);
        real::click(c.box == &f.textToneFreq ? f.textCwSpeed : f.textToneFreq); // leaves the box
        EXPECT_EQ(c.box->text(), c.left);
    }
}
