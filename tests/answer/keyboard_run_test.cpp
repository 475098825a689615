// Single-character runs answered from the keyboard, on virtual time.
#include "answer/RomajiReader.h"
#include "answer/keyboard_fixture.h"
#include "practice/frmKikitoriResult.h"

#include <functional>

using namespace forms;

class KeyboardRun : public KeyboardFixture {
protected:
    // Closes the results window when it opens and keeps its counts.
    void closeResults()
    {
        every10ms([this] {
            FrmKikitoriResult* r = frmKikitoriResult.ifLoaded();
            if (!r || !r->isShown())
                return true;
            resultAsked = r->SyutudaiLabel.caption();
            resultRight = r->SeikaiLabel.caption();
            r->CloseButton.click();
            return false;
        });
    }

    // The romaji a learner types for a kana.
    static QString romajiOf(const QString& kana)
    {
        for (const RomajiToken& t : RomajiTokenTable)
            if (kana == QStringView(t.kana))
                return QString::fromUtf16(t.token).toLower();
        return QString();
    }

    QString resultAsked, resultRight;
};

TEST_F(KeyboardRun, ALatinRunAnsweredByKeys)
{
    FrmMain& f = shown();
    checkLatinRow(f, 1); // A..E
    AnswerTimeLimitSec = 3;
    f.optionKikitoriMode.click();
    enum { Right, Wrong, Esc, SpaceThenRight, Stop } plan[] = {Right, Wrong, Esc, SpaceThenRight, Stop};
    int step = 0;
    platform::Tick spaceAt = 0;
    QStringList labels;
    every10ms([&] {
        if (AskedCount != step + 1)
            return true;
        if (plan[step] == SpaceThenRight && spaceAt) {
            // The space stopped the countdown: no time-out, however long it takes.
            if (clock().now() - spaceAt < 6000)
                return true;
            EXPECT_EQ(QuestionOpen, -1);
            f.userType(SentChar.toLower());
            labels << f.Label1.caption();
            ++step;
            return true;
        }
        if (!f.timerLimitKikitoriMode.enabled())
            return true;
        switch (plan[step]) {
        case Right:
            f.userType(SentChar.toLower());
            break;
        case Wrong:
            f.userType(SentChar == "A" ? "b" : "a");
            break;
        case Esc:
            f.userType("\x1b");
            break;
        case SpaceThenRight:
            // Typed into a box that ignores it (on a button, a space clicks it).
            f.textLimitKikitoriMode.setFocus();
            f.userType(" ");
            spaceAt = clock().now();
            return true;
        case Stop:
            closeResults();
            f.StopButton_Command.click();
            return false;
        }
        labels << f.Label1.caption();
        ++step;
        return true;
    });
    f.StartButton_Command.click();
    EXPECT_EQ(resultAsked, "4");
    EXPECT_EQ(resultRight, "2");
    ASSERT_EQ(labels.size(), 4);
    EXPECT_EQ(labels[0], QStringLiteral("○"));
    EXPECT_FALSE(labels[1].isEmpty());
    EXPECT_NE(labels[1], QStringLiteral("○"));
    EXPECT_EQ(labels[3], QStringLiteral("○"));
    int misses = 0;
    for (int i = 1; i <= 5; ++i)
        misses += LatinMissCount[i];
    EXPECT_EQ(misses, 2);
    EXPECT_EQ(totalMisses(), 2);
}

TEST_F(KeyboardRun, AKanaRunAnsweredInRomaji)
{
    FrmMain& f = shownKana();
    f.optionKikitoriMode.click();
    f.mnuMojihanniWabun_Hani(2).click(); // カ..コ
    AnswerTimeLimitSec = 5;
    QStringList sent;
    int step = 0;
    every10ms([&] {
        if (AskedCount != step + 1 || !f.timerLimitKikitoriMode.enabled())
            return true;
        sent << SentChar;
        switch (step) {
        case 0:
        case 2:
            f.userType(romajiOf(SentChar));
            EXPECT_EQ(f.Label1.caption(), romajiOf(SentChar).toUpper());
            f.userType("\r");
            EXPECT_EQ(f.Label1.caption(), QStringLiteral("○"));
            break;
        case 1:
            f.userType("a\r"); // ア is not in the range: wrong
            EXPECT_EQ(f.Label1.caption(), SentChar);
            break;
        default:
            closeResults();
            f.StopButton_Command.click();
            return false;
        }
        ++step;
        return true;
    });
    f.StartButton_Command.click();
    ASSERT_EQ(sent.size(), 4);
    EXPECT_EQ(resultAsked, "3");
    EXPECT_EQ(resultRight, "2");
    EXPECT_EQ(KanaMissCount[GetKanaIndex(sent[1])], 1);
    EXPECT_EQ(totalMisses(), 1);
}

TEST_F(KeyboardRun, AKeyWhileTheCharacterSoundsKeepsTheCountdownOff)
{
    FrmMain& f = shownKana();
    f.optionKikitoriMode.click();
    f.mnuMojihanniWabun_Hani(2).click();
    AnswerTimeLimitSec = 2;
    bool typedEarly = false, armedAfter = false;
    every10ms([&] {
        // The first question's character is sounding: begin the answer now.
        if (AskedCount == 0 && QuestionOpen == -1 && !typedEarly) {
            f.userType("k");
            typedEarly = true;
        }
        if (AskedCount == 1) {
            armedAfter = f.timerLimitKikitoriMode.enabled();
            closeResults();
            f.StopButton_Command.click();
            return false;
        }
        return true;
    });
    f.StartButton_Command.click();
    EXPECT_TRUE(typedEarly);
    EXPECT_FALSE(armedAfter); // nothing re-arms the countdown for that question
}

TEST_F(KeyboardRun, AStrayKeyWhileTheCharacterSoundsLeavesTheCountdownArmed)
{
    const struct {
        bool kana;
        const char* key;
    } cases[] = {{false, "!"}, {false, " "}, {true, "!"}, {true, "q"}};
    FrmMain& f = shown();
    checkLatinRow(f, 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        if (c.kana && AlphabetIsLatin == -1) {
            f.mnuChange.click();
            f.mnuMojihanniWabun_Hani(2).click();
        }
        f.optionKikitoriMode.click();
        AnswerTimeLimitSec = 2;
        f.Label1.setCaption(QStringLiteral("x"));
        f.textLimitKikitoriMode.setText("0"); // as a timed-out earlier question leaves it
        AskedCount = 0; // the last run's count stays until the next loop starts
        bool typed = false, armed = false;
        QString label, limit;
        every10ms([&] {
            if (AskedCount == 0 && QuestionOpen == -1 && !typed) {
                f.userType(c.key);
                typed = true;
            }
            if (AskedCount == 1) {
                armed = f.timerLimitKikitoriMode.enabled();
                label = f.Label1.caption();
                limit = f.textLimitKikitoriMode.text();
                f.StopButton_Command.click();
                return false;
            }
            return true;
        });
        f.StartButton_Command.click();
        EXPECT_TRUE(typed);
        EXPECT_TRUE(armed);
        EXPECT_EQ(label, QString());
        EXPECT_EQ(limit, "2");
    }
}
