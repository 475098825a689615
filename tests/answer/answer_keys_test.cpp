#include "answer/AnswerKeys.h"
#include "dialogs/frmOptions.h"
#include "settings/SharedSettings.h"
#include "support/keypad_fixture.h"

#include <numeric>

using namespace forms;

namespace {
int totalMisses()
{
    return std::accumulate(LatinMissCount.begin(), LatinMissCount.end(), 0)
        + std::accumulate(KanaMissCount.begin(), KanaMissCount.end(), 0);
}

// A question as the run driver leaves it: sounded, countdown running, no answer yet.
void openQuestion(FrmMain& f, const QString& sent)
{
    SentChar = sent;
    AnswerChar.clear();
    QuestionOpen = -1;
    CorrectCount = 0;
    ClearMissCounts();
    f.Label1.setCaption(QStringLiteral("?"));
    f.Label1.setForeColor(vbWhite);
    f.Label2.setCaption(QStringLiteral("0"));
    f.timerLimitKikitoriMode.setEnabled(true);
}
} // namespace

class AnswerKeys : public KeypadFixture {
protected:
    FrmMain& latinReceive()
    {
        FrmMain& f = shown();
        f.optionKikitoriMode.click();
        f.mnuMojiHanniAll.click();
        return f;
    }
    // Kana single-character receive with a run going (Start held off by the run).
    FrmMain& kanaReceiveRun()
    {
        FrmMain& f = shownKana();
        f.optionKikitoriMode.click();
        f.mnuMojihanniWabun_Hani(17).click();
        f.StartButton_Command.setEnabled(false);
        return f;
    }
};

struct AnswerCase {
    const char* sent;
    int key; // table index of the key clicked
    bool right;
    int missAt; // table index that counts a miss, 0 for none
};

TEST_F(AnswerKeys, ALatinKeyAnswersTheOpenQuestionOnce)
{
    const AnswerCase cases[] = {
        {"K", 11, true, 0}, {"訂正", 48, true, 0}, {"\"", 47, true, 0}, {"訂正", 5, false, 48}, {"0", 36, true, 0},
        {"O", 36, false, 15}, // the letter is not the digit
        {"", 1, false, 0}, // nothing was sent: shown empty, nothing counted
        {"ア", 1, false, 0}, // left from a kana run: shown, not counted
    };
    FrmMain& f = latinReceive();
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(c.sent);
        const QString sent = QString::fromUtf8(c.sent);
        openQuestion(f, sent);
        f.LatinButton(c.key).click();
        EXPECT_FALSE(f.timerLimitKikitoriMode.enabled());
        EXPECT_EQ(AnswerChar, LatinCharTable[c.key]);
        EXPECT_EQ(QuestionOpen, 0);
        EXPECT_EQ(f.Label1.caption(), c.right ? QStringLiteral("○") : sent);
        EXPECT_EQ(f.Label1.foreColor(), c.right ? vbRed : vbBlack);
        EXPECT_EQ(CorrectCount, c.right ? 1 : 0);
        EXPECT_EQ(f.Label2.caption(), c.right ? "1" : "0");
        EXPECT_EQ(totalMisses(), c.missAt ? 1 : 0);
        if (c.missAt) {
            EXPECT_EQ(LatinMissCount[c.missAt], 1);
        }

        // The question is answered: another key judges nothing.
        f.timerLimitKikitoriMode.setEnabled(true);
        f.LatinButton(c.key == 2 ? 3 : 2).click();
        EXPECT_EQ(AnswerChar, LatinCharTable[c.key]);
        EXPECT_EQ(CorrectCount, c.right ? 1 : 0);
        EXPECT_EQ(totalMisses(), c.missAt ? 1 : 0);
        EXPECT_EQ(f.Label1.caption(), c.right ? QStringLiteral("○") : sent);
        EXPECT_TRUE(f.timerLimitKikitoriMode.enabled());
    }
}

TEST_F(AnswerKeys, ARightAnswerBlanksTheLabelAtLeast80msAndANestedAnswerCountsNothing)
{
    FrmMain& f = latinReceive();
    openQuestion(f, QStringLiteral("Q"));
    const platform::Tick start = clock().now();
    QString during;
    Color colourDuring = 0;
    clock().callAt(start + 40, [&] {
        during = f.Label1.caption();
        colourDuring = f.Label1.foreColor();
        f.LatinButton(39).click(); // "?", a second answer inside the wait
    });
    f.LatinButton(17).click(); // Q
    EXPECT_GE(clock().now() - start, 80);
    EXPECT_EQ(during, QString());
    EXPECT_EQ(colourDuring, vbRed);
    EXPECT_EQ(AnswerChar, "Q");
    EXPECT_EQ(f.Label1.caption(), QStringLiteral("○"));
    EXPECT_EQ(CorrectCount, 1);
    EXPECT_EQ(totalMisses(), 0);
}

TEST_F(AnswerKeys, WithNoOpenQuestionAKeyJudgesNothing)
{
    FrmMain& f = latinReceive();
    openQuestion(f, QStringLiteral("K"));
    QuestionOpen = 0; // the last question of a run, answered or timed out
    f.LatinButton(11).click(); // K
    EXPECT_TRUE(AnswerChar.isEmpty());
    EXPECT_TRUE(f.timerLimitKikitoriMode.enabled());
    EXPECT_EQ(f.Label1.caption(), "?");
    EXPECT_EQ(CorrectCount, 0);
}

TEST_F(AnswerKeys, AKanaKeyAnswersDuringARunAndGivesTheFocusToTheReceiveMode)
{
    const AnswerCase cases[] = {
        {"ホレ", 67, true, 0}, {"〇", 60, true, 0}, {"ア", 2, false, 1}, {"ﾟ", 49, false, 50},
        {"K", 1, false, 0}, // left from a Latin run
    };
    FrmMain& f = kanaReceiveRun();
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(c.sent);
        const QString sent = QString::fromUtf8(c.sent);
        openQuestion(f, sent);
        f.ButtonJp(c.key).click();
        EXPECT_FALSE(f.timerLimitKikitoriMode.enabled());
        EXPECT_EQ(AnswerChar, KanaCharTable[c.key]);
        EXPECT_EQ(f.Label1.caption(), c.right ? QStringLiteral("○") : sent);
        EXPECT_EQ(f.Label1.foreColor(), c.right ? vbRed : vbBlack);
        EXPECT_EQ(CorrectCount, c.right ? 1 : 0);
        EXPECT_EQ(totalMisses(), c.missAt ? 1 : 0);
        if (c.missAt) {
            EXPECT_EQ(KanaMissCount[c.missAt], 1);
        }
        EXPECT_TRUE(f.optionKikitoriMode.hasFocus());

        f.ButtonJp(3).click();
        EXPECT_EQ(AnswerChar, KanaCharTable[c.key]);
        EXPECT_EQ(CorrectCount, c.right ? 1 : 0);
    }

    // Nothing sent: the answer is taken, but the label and the counters stay.
    openQuestion(f, QString());
    f.ButtonJp(1).click();
    EXPECT_EQ(AnswerChar, QStringLiteral("ア"));
    EXPECT_EQ(f.Label1.caption(), "?");
    EXPECT_EQ(f.Label1.foreColor(), vbWhite);
    EXPECT_EQ(totalMisses(), 0);
    EXPECT_TRUE(f.optionKikitoriMode.hasFocus());

    // No run going: a kana key does not answer.
    f.StartButton_Command.setEnabled(true);
    openQuestion(f, QStringLiteral("ア"));
    f.ButtonJp(1).click();
    EXPECT_EQ(QuestionOpen, -1);
    EXPECT_TRUE(AnswerChar.isEmpty());
    EXPECT_TRUE(f.timerLimitKikitoriMode.enabled());
}

TEST_F(AnswerKeys, CodeCheckSoundsAndClearsTheLabelButAnswersAndMarksNothing)
{
    FrmMain& f = shown();
    f.optionKakuninMode.click();
    frmOptions().textHugouKakuninPlayTimes.setText(QStringLiteral("2"));
    frmOptions().textHugouSpace.setText(QStringLiteral("5"));
    f.mnuMojihanniUserChose.setChecked(true);
    SentChar = QStringLiteral("Q");
    QuestionOpen = -1;
    f.Label1.setCaption(QStringLiteral("?"));
    f.LatinButton(17).click(); // Q
    EXPECT_EQ(f.Label1.caption(), QString());
    EXPECT_TRUE(AnswerChar.isEmpty());
    EXPECT_EQ(QuestionOpen, -1);
    EXPECT_EQ(LatinUserChosen[17], 0);

    // A play count that is no number sounds nothing.
    frmOptions().textHugouKakuninPlayTimes.setText(QString());
    f.Label1.setCaption(QStringLiteral("?"));
    f.LatinButton(17).click(); // Q
    EXPECT_EQ(f.Label1.caption(), "?");
}

TEST_F(AnswerKeys, KanaCodeCheckClearsTheLabel)
{
    FrmMain& f = shownKana();
    f.optionKakuninMode.click();
    frmOptions().textHugouKakuninPlayTimes.setText(QStringLiteral("1"));
    frmOptions().textHugouSpace.setText(QStringLiteral("3"));
    f.Label1.setCaption(QStringLiteral("?"));
    f.ButtonJp(67).click();
    EXPECT_EQ(f.Label1.caption(), QString());
    EXPECT_TRUE(AnswerChar.isEmpty());
}

struct MarkCase {
    const char* situation;
    bool userRange; // the user-chosen item is the checked range
    bool running;
    std::int16_t before;
    std::int16_t after;
};

TEST_F(AnswerKeys, LatinKeysMarkAndUnmarkWhileNoRunGoes)
{
    const MarkCase cases[] = {
        {"user range: marks", true, false, 0, 3},
        {"user range: unmarks", true, false, 3, 0},
        {"other range: unmarks", false, false, 3, 0},
        {"other range: cannot mark", false, false, 0, 0},
        {"during a run", true, true, 0, 0},
        {"during a run, chosen", true, true, 3, 3},
        {"damaged value is never changed", true, false, 7, 7},
        {"damaged value under another range", false, false, 7, 7},
    };
    FrmMain& f = shown();
    f.optionKikinagashiMode.click();
    for (const MarkCase& c : cases) {
        SCOPED_TRACE(c.situation);
        f.StartButton_Command.setEnabled(true);
        (c.userRange ? f.mnuMojihanniUserChose : f.mnuMojiHanniAtoE).click();
        f.StartButton_Command.setEnabled(!c.running);
        LatinUserChosen[3] = c.before;
        f.LatinButton(3).click(); // C
        EXPECT_EQ(LatinUserChosen[3], c.after);
    }
}

TEST_F(AnswerKeys, KanaKeysMarkAndUnmarkOnlyUnderTheUserRange)
{
    const MarkCase cases[] = {
        {"user range: marks", true, false, 0, 3},
        {"user range: unmarks", true, false, 3, 0},
        {"other range: cannot unmark", false, false, 3, 3},
        {"other range: cannot mark", false, false, 0, 0},
        {"during a run", true, true, 0, 0},
        {"damaged value is never changed", true, false, 9, 9},
        {"damaged value under another range", false, false, 9, 9},
    };
    FrmMain& f = shownKana();
    f.optionKikinagashiMode.click();
    for (const MarkCase& c : cases) {
        SCOPED_TRACE(c.situation);
        f.StartButton_Command.setEnabled(true);
        f.mnuMojihanniWabun_Hani(c.userRange ? 18 : 17).click();
        f.StartButton_Command.setEnabled(!c.running);
        KanaUserChosen[3] = c.before;
        f.ButtonJp(3).click();
        EXPECT_EQ(KanaUserChosen[3], c.after);
    }
}

TEST_F(AnswerKeys, TheTogglesIgnoreIndexesOutsideTheTables)
{
    FrmMain& f = shown();
    f.optionKikinagashiMode.click();
    f.mnuMojihanniUserChose.click();
    for (std::int16_t i : {0, 49, -1, 32767})
        ToggleLatinUserChosen(i);
    for (std::int16_t i : {0, 69})
        ToggleKanaUserChosen(i);
    EXPECT_EQ(CountLatinUserChosen(), 0);
    EXPECT_EQ(CountKanaUserChosen(), 0);
}

TEST_F(AnswerKeys, TheLatinKeysKeepTheirCaptionsAndLayout)
{
    FrmMain& f = frmMain();
    const struct {
        int index;
        float left, top;
    } keys[] = {
        {1, 0, 120},      // A
        {8, 5880, 120},   // H
        {26, 840, 1920},  // Z
        {27, 1680, 1920}, // 1
        {36, 2520, 2520}, // 0
        {40, 5880, 2520}, // "/"
        {48, 5880, 3120}, // 訂正
    };
    for (const auto& k : keys) {
        SCOPED_TRACE(k.index);
        const CommandButton& b = f.LatinButton(k.index);
        EXPECT_EQ(b.caption(), LatinCharTable[k.index]);
        EXPECT_EQ(b.left(), k.left);
        EXPECT_EQ(b.top(), k.top);
    }
    EXPECT_EQ(f.LatinButton(48).toolTipText(), QStringLiteral("訂正符号"));
    EXPECT_EQ(f.LatinButton(47).toolTipText(), QStringLiteral("引用符"));
    EXPECT_EQ(f.ButtonJp(60).left(), 240 + 840 * 11);
    EXPECT_EQ(f.ButtonJp(60).top(), 120 + 600 * 4);
    EXPECT_EQ(f.ButtonJp(68).left(), 240 + 840 * 7);
    EXPECT_EQ(f.ButtonJp(68).top(), 3120);
}
