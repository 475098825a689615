// The keyboard with the Latin alphabet, and the Esc functions of both alphabets.
#include "answer/KeyboardHandler.h"
#include "answer/keyboard_fixture.h"

#include <set>

using namespace forms;

class LatinKeyboard : public KeyboardFixture { };

TEST(LatinKeyMap, KeysGiveTheirTableEntries)
{
    const struct {
        int key;
        int index;
    } mapped[] = {{'A', 1}, {'Q', 17}, {'Z', 26}, {'a', 1}, {'q', 17}, {'z', 26}, {'1', 27}, {'9', 35}, {'0', 36},
        {'.', 37}, {',', 38}, {'?', 39}, {'/', 40}, {'(', 41}, {')', 42}, {'=', 43}, {'+', 44}, {'-', 45}, {'\'', 46},
        {'"', 47}, {8, 48}};
    for (const auto& m : mapped)
        EXPECT_EQ(LatinKeyIndex(m.key), m.index) << m.key;
    const int unmapped[] = {27, 13, 32, 9, 0, -1, '!', '@', '[', '`', '{', '~', ':', ';', '*', '_', 127, 0xB1,
        keyAsciiOf(QStringLiteral("ア"))};
    for (int key : unmapped)
        EXPECT_EQ(LatinKeyIndex(key), 0) << key;

    // Over every 16-bit code: 74 mapped codes, every entry reached, a letter by both
    // cases and every printable key by its own character.
    std::set<int> reached;
    int count = 0;
    for (int key = -32768; key <= 32767; ++key) {
        const int i = LatinKeyIndex(key);
        if (!i)
            continue;
        ++count;
        reached.insert(i);
        ASSERT_GE(i, 1);
        ASSERT_LE(i, LatinCharCount);
        if (key != 8) {
            EXPECT_EQ(LatinCharTable[i], QString(QChar(key)).toUpper()) << key;
        }
    }
    EXPECT_EQ(count, 74);
    EXPECT_EQ(reached.size(), 48u);
}

TEST_F(LatinKeyboard, CodeCheckKeysSoundAndStillReachTheFocusedBox)
{
    FrmMain& f = shown();
    f.optionKakuninMode.click();
    f.userType("q\b");
    EXPECT_EQ(sounded(), (QStringList {"Q", QStringLiteral("訂正")}));
    EXPECT_EQ(f.Label1.caption(), QString());

    // A digit typed into the speed box sounds and lands in the box.
    platform::sound().clearLog();
    f.textCwSpeed.setText("4");
    f.textCwSpeed.setFocus();
    f.userType("5");
    EXPECT_EQ(sounded(), QStringList {"5"});
    EXPECT_EQ(f.textCwSpeed.text(), "45");

    // Unmapped keys only clear the label; with the box unticked nothing happens.
    platform::sound().clearLog();
    f.Label1.setCaption("?");
    f.userType(" ");
    EXPECT_EQ(f.Label1.caption(), QString());
    f.checkTypeKey.setValue(0);
    f.Label1.setCaption("?");
    f.userType("q ");
    EXPECT_TRUE(sounded().isEmpty());
    EXPECT_EQ(f.Label1.caption(), "?");
}

TEST_F(LatinKeyboard, EscStopsARepeatedCodeCheckCharacterWithoutAskingAnything)
{
    FrmMain& f = shown();
    f.optionKakuninMode.click();
    f.mnuMojihanniUserChose.setChecked(true);
    frmOptions().textHugouKakuninPlayTimes.setText("5");
    QString labelAfterEsc = "unset";
    std::function<void()> poll = [&] {
        if (sounded().size() < 2) {
            clock().callAfter(10, poll);
            return;
        }
        f.userType("\x1b");
        labelAfterEsc = f.Label1.caption();
    };
    clock().callAfter(10, poll);
    f.userType("k");
    EXPECT_EQ(sounded(), (QStringList {"K", "K"}));
    EXPECT_EQ(labelAfterEsc, QString()); // cleared at once, the box being ticked
    EXPECT_EQ(CodeCheckPlaying, 0);
    EXPECT_EQ(CodeCheckStopRequested, 0);
    EXPECT_TRUE(dialogs::messages().empty());

    // Esc with nothing repeating raises no request.
    f.userType("\x1b");
    EXPECT_EQ(CodeCheckStopRequested, 0);
}

TEST_F(LatinKeyboard, AKeyPressedJustAfterEscSoundsItsCharacter)
{
    FrmMain& f = shown();
    f.optionKakuninMode.click();
    frmOptions().textHugouKakuninPlayTimes.setText("5");
    std::function<void()> poll = [&] {
        if (sounded().size() < 2) {
            clock().callAfter(10, poll);
            return;
        }
        // Esc, then E while K's stopped repetition still waits out its gap.
        f.userType("\x1b");
        f.userType("e");
    };
    clock().callAfter(10, poll);
    f.userType("k");
    EXPECT_EQ(sounded(), (QStringList {"K", "K", "E", "E", "E", "E", "E"}));
    EXPECT_EQ(CodeCheckPlaying, 0);
    EXPECT_EQ(CodeCheckStopRequested, 0);
}

TEST_F(LatinKeyboard, EscCancelsAConversionOnlyWhileOneRuns)
{
    FrmMain& f = shown();
    f.optionMogisikenMode.click();
    auto lockAsAnExam = [&] {
        f.StartButton_Command.setEnabled(false);
        f.mnuChange.setEnabled(false);
        f.optionKikitoriMode.setEnabled(false);
        f.textCwSpeed.setLocked(true);
        f.upDownReceiveTime.setEnabled(false);
        f.mnuMojihanni.setEnabled(false);
        ConversionCancelRequested = 0;
    };

    // No progress window: nothing changes, and the test does not load it.
    lockAsAnExam();
    f.userType("\x1b");
    EXPECT_EQ(ConversionCancelRequested, 0);
    EXPECT_FALSE(f.StartButton_Command.enabled());
    EXPECT_FALSE(frmExchangeProgress.isLoaded());

    // A conversion that has finished (bar at 11) cannot be cancelled.
    FrmExchangeProgress& p = frmExchangeProgress();
    p.show();
    p.progressBarExchange.setValue(11);
    f.userType("\x1b");
    EXPECT_EQ(ConversionCancelRequested, 0);
    EXPECT_FALSE(f.StartButton_Command.enabled());

    p.progressBarExchange.setValue(4);
    f.userType("\x1b");
    EXPECT_EQ(ConversionCancelRequested, -1);
    EXPECT_TRUE(f.StartButton_Command.enabled());
    EXPECT_TRUE(f.mnuChange.enabled());
    EXPECT_TRUE(f.optionKikitoriMode.enabled());
    EXPECT_FALSE(f.textCwSpeed.locked());
    EXPECT_TRUE(f.upDownReceiveTime.enabled());
    EXPECT_FALSE(f.mnuMojihanni.enabled()); // the range menu stays as the run left it

    // Outside mock-exam mode Esc cancels nothing; the keyboard-input box does not matter.
    lockAsAnExam();
    f.optionKikinagashiMode.setValue(true);
    f.StartButton_Command.setEnabled(false);
    f.userType("\x1b");
    EXPECT_EQ(ConversionCancelRequested, 0);
    f.optionMogisikenMode.setValue(true);
    lockAsAnExam();
    f.checkTypeKey.setValue(0);
    f.userType("\x1b");
    EXPECT_EQ(ConversionCancelRequested, -1);
}

TEST_F(LatinKeyboard, EscClearsTheUserSetOfTheAlphabetAfterAYes)
{
    FrmMain& f = shown();
    f.optionKikitoriMode.click();
    f.mnuMojihanniUserChose.click();
    f.checkTypeKey.setValue(0); // Esc does not need the box
    LatinUserChosen[3] = 3;
    LatinUserChosen[48] = 48;
    KanaUserChosen[5] = 5;
    dialogs::queueAnswer(vbNo);
    f.userType("\x1b");
    ASSERT_EQ(dialogs::messages().size(), 1u);
    const MsgBoxRecord& box = dialogs::messages()[0];
    EXPECT_EQ(box.prompt, QStringLiteral("登録文字を全て削除しますか？"));
    EXPECT_EQ(box.title, QStringLiteral("削除確認"));
    EXPECT_EQ(box.buttons, vbYesNo | vbExclamation);
    EXPECT_EQ(CountLatinUserChosen(), 2);

    dialogs::queueAnswer(vbYes);
    f.userType("\x1b");
    EXPECT_EQ(CountLatinUserChosen(), 0);
    EXPECT_EQ(KanaUserChosen[5], 5);

    // Not while a run goes, nor in code check, nor under another range.
    const size_t asked = dialogs::messages().size();
    f.StartButton_Command.setEnabled(false);
    f.userType("\x1b");
    f.StartButton_Command.setEnabled(true);
    f.optionKakuninMode.click();
    f.userType("\x1b");
    f.optionKikitoriMode.click();
    f.mnuMojiHanniAll.click();
    f.userType("\x1b");
    EXPECT_EQ(dialogs::messages().size(), asked);

    // Kana: all 68 entries, under item 18.
    f.mnuChange.click();
    f.optionKikinagashiMode.click();
    f.mnuMojihanniWabun_Hani(18).click();
    for (int i = 1; i <= 68; ++i)
        KanaUserChosen[i] = static_cast<std::int16_t>(i);
    LatinUserChosen[3] = 3;
    dialogs::queueAnswer(vbYes);
    f.userType("\x1b");
    EXPECT_EQ(dialogs::messages().size(), asked + 1);
    EXPECT_EQ(CountKanaUserChosen(), 0);
    EXPECT_EQ(LatinUserChosen[3], 3);
}

TEST_F(LatinKeyboard, KeysAnswerTheOpenQuestionOnce)
{
    const struct {
        const char* sent;
        const char* typed;
        const char* answer; // nullptr: no answer, the question stays open
        bool right;
    } cases[] = {{"K", "k", "K", true}, {"K", "K", "K", true}, {"訂正", "\b", "訂正", true}, {"\"", "\"", "\"", true},
        {"K", "\x1b", "ESC", false}, {"0", "o", "O", false}, {"K", " ", nullptr, false}, {"K", "\r", nullptr, false}};
    FrmMain& f = shown();
    receiveRun(f);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const QString sent = QString::fromUtf8(c.sent);
        openQuestion(f, sent);
        f.userType(QString::fromUtf8(c.typed));
        EXPECT_FALSE(f.timerLimitKikitoriMode.enabled()); // every key stops the countdown
        if (!c.answer) {
            EXPECT_EQ(QuestionOpen, -1);
            EXPECT_TRUE(AnswerChar.isEmpty());
            EXPECT_EQ(f.Label1.caption(), QString());
            EXPECT_EQ(totalMisses(), 0);
            continue;
        }
        EXPECT_EQ(AnswerChar, QString::fromUtf8(c.answer));
        EXPECT_EQ(f.Label1.caption(), c.right ? QStringLiteral("○") : sent);
        EXPECT_EQ(f.Label1.foreColor(), c.right ? vbRed : vbBlack);
        EXPECT_EQ(CorrectCount, c.right ? 1 : 0);
        EXPECT_EQ(f.Label2.caption(), c.right ? "1" : "0");
        EXPECT_EQ(totalMisses(), c.right ? 0 : 1);
        if (!c.right) {
            EXPECT_EQ(LatinMissCount[GetLatinIndex(sent)], 1);
        }

        // A second key judges nothing: the first answer counts.
        f.userType(c.right ? "\x1b" : c.sent);
        EXPECT_EQ(AnswerChar, QString::fromUtf8(c.answer));
        EXPECT_EQ(CorrectCount, c.right ? 1 : 0);
        EXPECT_EQ(totalMisses(), c.right ? 0 : 1);
    }
}

TEST_F(LatinKeyboard, AtZeroOfASetLimitKeysAreRefusedAndTheTimeOutComes)
{
    FrmMain& f = shown();
    receiveRun(f);
    AnswerTimeLimitSec = 3;
    openQuestion(f, "K");
    f.textLimitKikitoriMode.setText("0");
    f.userType("k");
    EXPECT_EQ(QuestionOpen, -1);
    EXPECT_TRUE(f.timerLimitKikitoriMode.enabled());
    clock().advance(1000);
    EXPECT_EQ(AnswerChar, "ESC");
    EXPECT_EQ(LatinMissCount[11], 1);

    // Without a limit "0" is no limit: the key answers.
    AnswerTimeLimitSec = 0;
    openQuestion(f, "K");
    f.textLimitKikitoriMode.setText("0");
    f.userType("k");
    EXPECT_EQ(CorrectCount, 1);
}

TEST_F(LatinKeyboard, RegistrationKeysMarkAndUnmarkWhileIdle)
{
    const struct {
        const char* situation;
        bool userRange;
        bool running;
        bool ticked;
        std::int16_t before, after;
    } cases[] = {{"user range: marks", true, false, true, 0, 17}, {"user range: unmarks", true, false, true, 17, 0},
        {"other range: unmarks", false, false, true, 17, 0}, {"other range: cannot mark", false, false, true, 0, 0},
        {"during a run", true, true, true, 0, 0}, {"during a run, chosen", true, true, true, 17, 17},
        {"box unticked", true, false, false, 0, 0}};
    FrmMain& f = shown();
    f.optionKikinagashiMode.click();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.situation);
        f.StartButton_Command.setEnabled(true);
        (c.userRange ? f.mnuMojihanniUserChose : f.mnuMojiHanniAtoE).click();
        f.checkTypeKey.setValue(c.ticked ? 1 : 0);
        f.StartButton_Command.setEnabled(!c.running);
        for (const char* key : {"q", "Q"}) {
            LatinUserChosen[17] = c.before;
            f.userType(key);
            EXPECT_EQ(LatinUserChosen[17], c.after) << key;
        }
    }

    // A group exam idle takes registration keys as well; "\b" is the error sign.
    f.StartButton_Command.setEnabled(true);
    f.optionMogisikenMode.click();
    f.comboMogisikenMode.choose(0);
    f.mnuMojihanniUserChose.click();
    f.checkTypeKey.setValue(1);
    f.userType("\b ");
    EXPECT_EQ(LatinUserChosen[48], 48);
    EXPECT_EQ(CountLatinUserChosen(), 1);
}
