// The mock-exam generators: the shapes of the four exam kinds on both roads.
#include "dialogs/ExamTextState.h"
#include "dialogs/dialogMogisikenTxt.h"
#include "material/ExamWaveCompiler.h"
#include "material/ExamWords.h"
#include "material/MockExam.h"
#include "practice/QuenModule.h"
#include "practice/RunState.h"
#include "practice/frmMain.h"
#include "settings/SharedSettings.h"
#include "support/app_fixture.h"
#include "support/morse_heard.h"

#include <QFile>

namespace {
constexpr std::int16_t u = 10;
constexpr std::int16_t tone = 800;

class MockExam : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        WaveSampleRate = 8000;
        ExamAnswerText.clear();
        ExamWordCount = 0;
        LatinWordLenMin = LatinWordLenMax = 5;
        LatinAutoStartEnd = KanaAutoStartEnd = -1;
        LatinExamTextSlot = 0;
        KanaExcludeDakuten = 0;
        frmMain(); // its load builds the sound bank, which takes time of its own
        t0 = clock().now();
    }

    QString latin(const char* sound, int kind, int speed, int minutes, const char* range = "Limit_AtoE")
    {
        platform::sound().clearLog();
        t0 = clock().now();
        return RunLatinMockExam(QString::fromLatin1(sound), static_cast<std::int16_t>(kind),
            static_cast<std::int16_t>(speed), static_cast<std::int16_t>(minutes), u, tone, QString::fromLatin1(range));
    }

    // The exam file the compiler started, and how long it plays.
    std::pair<QString, platform::Tick> examPlayed()
    {
        std::pair<QString, platform::Tick> last;
        for (const auto& e : platform::sound().log())
            if (e.what.endsWith(QLatin1String(".wav")) && !e.what.endsWith(QLatin1String("/sound.wav")))
                last = {QFileInfo(e.what).fileName(), e.durationMs};
        frmMain().timerCheckWavePlayEnd.setEnabled(false);
        return last;
    }

    // How long the recording of a text plays, compiled on its own.
    platform::Tick lengthOfRecording(const QString& text, int speed)
    {
        platform::sound().clearLog();
        BuildAndPlayExamWave(99, text, static_cast<std::int16_t>(speed), tone, WaveSampleRate, 0);
        return examPlayed().second;
    }

    // The Morse of a Latin text (no spaces), characters 3 units apart.
    static QString codesOf(const QString& text)
    {
        QStringList codes;
        for (QChar c : text)
            codes << codeOf(c == u'訂' ? QString::fromUtf16(u"訂正") : QString(c));
        return codes.join(' ');
    }

    static QStringList groups(const QString& text) { return text.split(' ', Qt::SkipEmptyParts); }

    platform::Tick t0 = 0;
    const QString preamble = QStringLiteral(".... .-. / .... .-. / -...- / ");
};
} // namespace

TEST_F(MockExam, BudgetsWithTheKanaQuarterOff)
{
    EXPECT_EQ(MockExamBudget(false, 25, 4), 100);
    EXPECT_EQ(MockExamBudget(true, 45, 3), 101); // 101.25
    EXPECT_EQ(MockExamBudget(true, 50, 3), 112); // 112.5, halves to even
    EXPECT_EQ(MockExamBudget(true, 30, 5), 112); // 112.5
    EXPECT_EQ(MockExamBudget(false, 999, 40), 39960); // no 16-bit wrap
}

TEST_F(MockExam, FiveCharacterGroupsEndByThemselvesAlikeOnBothRoads)
{
    const struct {
        int speed, minutes;
        int characters;
        int lastGroup;
    } cases[] = {
        {25, 4, 80, 5}, // budget 100: 16 groups
        {45, 3, 107, 2}, // budget 135: 21 groups and 2
        {1, 1, 1, 1}, {7, 1, 6, 1}, {20, 1, 16, 1}, // budget 20, less one per group and one more per third
    };
    for (const auto& c : cases) {
        const QString wave = latin("Wave", 0, c.speed, c.minutes);
        const QString waveFull = QStringLiteral("HR HR = ") + wave + QStringLiteral("+");
        const auto [file, length] = examPlayed();
        EXPECT_EQ(file, "Mogisiken.wav");
        EXPECT_EQ(length, lengthOfRecording(waveFull, c.speed)) << "the signs around the text";
        const QString beep = latin("Beep", 0, c.speed, c.minutes);
        const QString heard = heardMorse(t0, u);
        for (const QString& text : {wave, beep}) {
            const QStringList g = groups(text);
            EXPECT_EQ(QString(text).remove(' ').size(), c.characters) << c.speed << "x" << c.minutes;
            ASSERT_FALSE(g.isEmpty());
            for (int i = 0; i + 1 < g.size(); ++i)
                EXPECT_EQ(g[i].size(), 5);
            EXPECT_EQ(g.back().size(), c.lastGroup);
        }
        EXPECT_TRUE(wave.endsWith(' '));
        EXPECT_EQ(beep.endsWith(' '), c.lastGroup == 5);
        // Heard: the preamble, groups a word gap apart, then AR.
        QStringList sent;
        for (const QString& group : groups(beep))
            sent << codesOf(group);
        EXPECT_EQ(heard, preamble + sent.join(" / ") + " / .-.-.") << c.speed << "x" << c.minutes;
    }
}

TEST_F(MockExam, RandomLengthGroupsStayWithinTheirBounds)
{
    LatinWordLenMin = 2;
    LatinWordLenMax = 4;
    for (const char* sound : {"Wave", "Beep"}) {
        // The Beep picker names the error sign "訂正", the silent one "訂": one character.
        const QString text
            = latin(sound, 1, 30, 2, "Limit_All").replace(QString::fromUtf16(u"訂正"), QString::fromUtf16(u"訂"));
        examPlayed(); // budget 60
        const QStringList g = groups(text);
        std::set<int> lengths;
        for (int i = 0; i + 1 < g.size(); ++i)
            lengths.insert(static_cast<int>(g[i].size()));
        EXPECT_EQ(lengths, (std::set<int> {2, 3, 4})) << sound << text.toStdString();
        EXPECT_LE(g.back().size(), 4);
        // Characters plus one per full group plus one per third group reach the budget.
        const int full = text.endsWith(' ') ? static_cast<int>(g.size()) : static_cast<int>(g.size()) - 1;
        const int used = static_cast<int>(QString(text).remove(' ').size()) + full + full / 3;
        EXPECT_GE(used, 60) << sound;
        EXPECT_LT(used, 60 + 3) << sound;
    }
    // Equal bounds of 5 give exactly the five-character exam's count.
    LatinWordLenMin = LatinWordLenMax = 5;
    EXPECT_EQ(QString(latin("Beep", 1, 45, 3)).remove(' ').size(), 107);
    // Bounds of 0 (a fresh settings file) draw no length: one run of characters.
    LatinWordLenMin = LatinWordLenMax = 0;
    const QString run = latin("Beep", 1, 12, 1);
    EXPECT_EQ(run.size(), 12);
    EXPECT_FALSE(run.contains(' '));
}

TEST_F(MockExam, PseudoTextCountsEveryThirdWordOneMore)
{
    ExamWordList[1] = QStringLiteral("AB");
    ExamWordCount = 1;
    const QString five = QStringLiteral("AB AB AB AB AB "); // counts 2, 4, 7, 9, 11 against 10
    EXPECT_EQ(latin("Wave", 2, 10, 1), five);
    const auto [file, length] = examPlayed();
    EXPECT_EQ(length, lengthOfRecording(QStringLiteral("HR HR = ") + five + "+", 10));
    EXPECT_EQ(latin("Beep", 2, 10, 1), five);
    // Each word comes 4 units after the gap before it.
    const QString ab = codesOf("AB");
    EXPECT_EQ(heardMorse(t0, u), ".... .-. / .... .-. / -...- [11] " + QStringList(5, ab).join(" / ") + " / .-.-.");

    // No words at all: nothing is sent.
    ExamWordCount = 0;
    EXPECT_EQ(latin("Beep", 2, 10, 1), QString());
    EXPECT_TRUE(heardMorse(t0, u).isEmpty());
}

TEST_F(MockExam, ExamTextWithAndWithoutTheSigns)
{
    dialogMogisikenTxt().richTextBoxEdit.setText(QStringLiteral("CQ"));
    LatinExamTextSlot = 2;
    LatinAutoStartEnd = 0;
    EXPECT_EQ(latin("Beep", 3, 25, 1), "CQ");
    EXPECT_EQ(heardMorse(t0, u), "-.-. --.-");
    // C and Q with their 3-unit gaps are 30 units; then the second of silence, no end sign.
    EXPECT_EQ(clock().now() - t0, 30 * u + 1000);
    EXPECT_EQ(latin("Wave", 3, 25, 1), "CQ");
    auto played = examPlayed();
    EXPECT_EQ(played.first, "MogisikenOubun2.wav");
    EXPECT_EQ(played.second, lengthOfRecording("CQ", 25));

    LatinAutoStartEnd = -1;
    LatinExamTextSlot = 3;
    EXPECT_EQ(latin("Wave", 3, 25, 1), "CQ");
    played = examPlayed();
    EXPECT_EQ(played.first, "MogisikenOubun3.wav");
    EXPECT_EQ(played.second, lengthOfRecording("HR HR = CQ+", 25));
    EXPECT_EQ(latin("Beep", 3, 25, 1), "CQ");
    EXPECT_EQ(heardMorse(t0, u), preamble + "-.-. --.- / .-.-.");
}

TEST_F(MockExam, KanaSignsOnBothRoads)
{
    AlphabetIsLatin = 0;
    dialogMogisikenTxt().richTextBoxEdit.setText(QString::fromUtf16(u"ア"));
    platform::sound().clearLog();
    t0 = clock().now();
    EXPECT_EQ(RunKanaMockExam("Beep", 3, 25, 1, u, tone, 1), QString::fromUtf16(u"ア"));
    EXPECT_EQ(heardMorse(t0, u), ".... .-. / .... .-. / -..--- / --.-- / ...-.");

    KanaExamTextSlot = 4;
    platform::sound().clearLog();
    RunKanaMockExam("Wave", 3, 25, 1, u, tone, 1);
    auto played = examPlayed();
    EXPECT_EQ(played.first, "MogisikenWabun4.wav");
    EXPECT_EQ(played.second, lengthOfRecording(QString::fromUtf16(u"HR HR [ﾎﾚ] ア [ﾗﾀ]"), 25));

    // Five-character groups from ア..オ: the kana budget is three quarters.
    platform::sound().clearLog();
    const QString groupsOfKana = RunKanaMockExam("Wave", 0, 20, 1, u, tone, 1); // budget 15: 13 characters
    played = examPlayed();
    EXPECT_EQ(QString(groupsOfKana).remove(' ').size(), 13);
    EXPECT_EQ(played.second,
        lengthOfRecording(QString::fromUtf16(u"HR HR [ﾎﾚ] ") + groupsOfKana + QString::fromUtf16(u"[ﾗﾀ]"), 20));
}

TEST_F(MockExam, UnknownSoundOrKindDoesNothing)
{
    EXPECT_EQ(latin("WAVE", 0, 25, 1), QString());
    EXPECT_EQ(latin("beep", 0, 25, 1), QString());
    EXPECT_EQ(latin("Beep", 4, 25, 1), QString());
    EXPECT_EQ(latin("Beep", -1, 25, 1), QString());
    EXPECT_TRUE(platform::sound().log().empty());
    EXPECT_EQ(clock().now(), t0);
}

TEST_F(MockExam, StopEndsABeepExamAtTheNextCharacterWithoutTheEndSign)
{
    // Stop inside the third group: the character sounding finishes, nothing follows.
    clock().callAfter(0, [] {});
    platform::sound().clearLog();
    t0 = clock().now();
    const platform::Tick stopAt = t0 + 2000 + 10 * 12 * u;
    clock().callAt(stopAt, [] { StopRequested = -1; });
    const QString text = RunLatinMockExam("Beep", 0, 25, 4, u, tone, "Limit_AtoE");
    const QString heard = heardMorse(t0, u);
    EXPECT_FALSE(heard.endsWith(".-.-.")) << heard.toStdString();
    QStringList sent;
    for (const QString& group : groups(text))
        sent << codesOf(group);
    EXPECT_EQ(heard, preamble + sent.join(" / "));
    EXPECT_LT(clock().now() - stopAt, 20 * u); // at most one character (and a gap) more

    // A pseudo-text exam stopped keeps the words begun, each with its space.
    ExamWordList[1] = QStringLiteral("ABC");
    ExamWordCount = 1;
    StopRequested = 0;
    clock().callAfter(3000, [] { StopRequested = -1; });
    const QString words = RunLatinMockExam("Beep", 2, 25, 4, u, tone, "Limit_All");
    EXPECT_TRUE(words.endsWith("ABC "));
    EXPECT_EQ(words.size() % 4, 0);
}
