// Whole mock exams as a learner takes them, on virtual time: Start, the exam on
// the Beep or the Wave road, Stop, and the exam answer window.
#include "dialogs/ExamTextState.h"
#include "dialogs/dialogMogisikenTxt.h"
#include "dialogs/frmOptions.h"
#include "keypad/UserChosen.h"
#include "material/ExamWords.h"
#include "platform/text.h"
#include "practice/RunState.h"
#include "practice/frmExamAnswer.h"
#include "practice/frmMain.h"
#include "settings/SharedSettings.h"
#include "support/app_fixture.h"
#include "support/morse_heard.h"
#include "synthesis/frmExchangeProgress.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QMainWindow>
#include <QPixmap>
#include <functional>

using namespace forms;

namespace {
// What the answer window showed when it opened.
struct Answer {
    int shown = 0;
    QString text, caption;
    float left = 0, top = 0;
    bool startEnabled = true;
};
} // namespace

class Exam : public AppFixture {
protected:
    FrmMain& f = shownMain();

    void SetUp() override
    {
        AppFixture::SetUp();
        ExamAnswerText.clear();
        ExamWordCount = 0;
        LatinAutoStartEnd = KanaAutoStartEnd = 0;
        LatinExamTextSelectMode = KanaExamTextSelectMode = 1;
        ExamTextDialogOk = 0;
        for (auto* a : {&LatinExamTextPath, &KanaExamTextPath})
            a->fill(QString());
        for (auto* a : {&LatinExamTextEnabled, &KanaExamTextEnabled, &LatinExamTextDrawn, &KanaExamTextDrawn,
                 &LatinExamTextPicked, &KanaExamTextPicked})
            a->fill(0);
        WaveSampleRate = 8000;
    }

    // A five-character exam of one minute at 25 characters per minute from A..E:
    // budget 25, so four groups.
    void chooseExam(int kind, bool beep)
    {
        // Only A..E checked (the range menu's own handlers are not needed here).
        f.mnuMojiHanniAtoE.setChecked(true);
        for (Menu* m : {&f.mnuMojiHanniFtoJ, &f.mnuMojiHanniKtoO, &f.mnuMojiHanniPtoT, &f.mnuMojiHanniUtoZ,
                 &f.mnuMojiHanniAllAlphabets, &f.mnuMojiHanniNumbers, &f.mnuMojiHanniMarks,
                 &f.mnuMojiHanniAlphabetsNumbers, &f.mnuMojiHanniAlphabetsMarks, &f.mnuMojiHanniNumbersMarks,
                 &f.mnuMojiHanniAll, &f.mnuMojihanniUserChose})
            m->setChecked(false);
        f.textCwSpeed.setText("25");
        f.optionMogisikenMode.click();
        f.comboMogisikenMode.choose(kind);
        f.textReceiveTime.setText("1");
        (beep ? f.mnuSoundBeep : f.mnuSoundWave).click();
    }

    // Calls step every 10 ms of virtual time until it returns false.
    void every10ms(std::function<bool()> step)
    {
        clock().callAfter(10, [this, step] {
            if (step())
                every10ms(step);
        });
    }

    // Closes the answer window as soon as it opens (by its button, or with
    // closeBox by the window's close box) and keeps what it showed.
    void watchAnswer(bool closeBox = false)
    {
        every10ms([this, closeBox] {
            FrmExamAnswer* a = frmExamAnswer.ifLoaded();
            if (!a || !a->isShown())
                return true;
            ++answer.shown;
            answer.text = a->richTextBoxExamAnswer.text();
            answer.caption = a->caption();
            answer.left = a->left();
            answer.top = a->top();
            answer.startEnabled = f.StartButton_Command.enabled();
            if (closeBox)
                a->userClose();
            else
                a->cmdClose.click();
            return false;
        });
    }

    // Lets virtual time run (timers tick) until done() or the limit.
    void runUntil(std::function<bool()> done, platform::Tick limitMs = 600000)
    {
        const platform::Tick end = clock().now() + limitMs;
        while (!done() && clock().now() < end)
            clock().yield(clock().now() + 100);
    }

    QString writeText(const QString& name, const QString& text)
    {
        const QString path = platform::besideProgram(name);
        platform::writeWholeFile(path, *platform::encodeCp932(text));
        return path;
    }

    void expectControlsBack()
    {
        EXPECT_TRUE(f.StartButton_Command.enabled());
        EXPECT_TRUE(f.mnuChange.enabled());
        for (OptionButton* o : {&f.optionKakuninMode, &f.optionKikitoriMode, &f.optionKikinagashiMode, &f.optionSpeed25,
                 &f.optionSpeed45, &f.optionSpeed60, &f.optionSpeed80})
            EXPECT_TRUE(o->enabled());
        EXPECT_FALSE(f.comboMogisikenMode.locked());
        EXPECT_FALSE(f.textToneFreq.locked());
        EXPECT_FALSE(f.textCwSpeed.locked());
        EXPECT_FALSE(f.textReceiveTime.locked());
        EXPECT_TRUE(f.upDownToneFreq.enabled());
        EXPECT_TRUE(f.upDownSpeed.enabled());
        // The exam-length group stays off for exam texts, as the mode shows it.
        EXPECT_EQ(f.upDownReceiveTime.enabled(), f.comboMogisikenMode.listIndex() != 3);
    }

    Answer answer;
};

TEST_F(Exam, ABeepExamRunsToItsEndAndShowsItsTextInTheAnswerWindow)
{
    chooseExam(0, true);
    platform::sound().clearLog();
    const platform::Tick t0 = clock().now();
    bool lockedDuringExam = false;
    clock().callAfter(5000, [&] {
        lockedDuringExam = !f.StartButton_Command.enabled() && !f.mnuChange.enabled() && f.textToneFreq.locked()
            && f.comboMogisikenMode.locked() && !f.mnuMojihanni.enabled() && !f.optionKikitoriMode.enabled();
    });
    watchAnswer();
    f.StartButton_Command.click();

    EXPECT_TRUE(lockedDuringExam);
    ASSERT_EQ(answer.shown, 1);
    EXPECT_EQ(answer.caption, QString::fromUtf16(u"模擬試験解答"));
    EXPECT_FALSE(answer.startEnabled); // the window opens before the controls come back
    EXPECT_EQ(answer.text, ExamAnswerText);
    const QStringList groups = ExamAnswerText.split(' ', Qt::SkipEmptyParts);
    ASSERT_EQ(groups.size(), 4); // each group uses one more of the 25, the third two more
    for (const QString& g : groups)
        EXPECT_EQ(g.size(), 5);
    EXPECT_EQ(ExamAnswerText.size(), 4 * 6);
    // Centred on the main window.
    FrmExamAnswer probe; // design size, as the shown window had
    EXPECT_FLOAT_EQ(answer.left, (f.width() - probe.width()) / 2 + f.left());
    EXPECT_FLOAT_EQ(answer.top, (f.height() - probe.height()) / 2 + f.top());

    // What was heard: the preamble, the groups, AR, at 25 characters per minute.
    QStringList sent;
    for (const QString& g : groups) {
        QStringList codes;
        for (QChar c : g)
            codes << codeOf(QString(c));
        sent << codes.join(' ');
    }
    EXPECT_EQ(heardMorse(t0, 240), ".... .-. / .... .-. / -...- / " + sent.join(" / ") + " / .-.-.");
    expectControlsBack();
    EXPECT_TRUE(f.mnuMojihanni.enabled()); // kinds 0 and 1: given back by the window
    EXPECT_EQ(StopRequested, 0); // an exam that ends by itself
    EXPECT_FALSE(frmExamAnswer.isLoaded());
}

TEST_F(Exam, StopDuringABeepExamEndsItAtTheNextCharacterAndStartsNoOther)
{
    chooseExam(0, true);
    platform::sound().clearLog();
    const platform::Tick t0 = clock().now();
    // Stop in the second group (the start signs take 68 units of 240 ms): Start
    // stays off while the exam still unwinds.
    const platform::Tick stopAt = t0 + 68 * 240 + 20000;
    clock().callAt(stopAt, [&] {
        f.StopButton_Command.click();
        EXPECT_FALSE(f.StartButton_Command.enabled());
        f.StartButton_Command.click(); // a press does nothing
    });
    watchAnswer(true);
    f.StartButton_Command.click();

    ASSERT_EQ(answer.shown, 1);
    const QString heard = heardMorse(t0, 240);
    EXPECT_FALSE(heard.endsWith(".-.-.")) << heard.toStdString(); // no end sign
    const QString drawn = QString(answer.text).remove(' ');
    EXPECT_GE(drawn.size(), 5);
    EXPECT_LT(drawn.size(), 12);
    // Every drawn character was heard, and nothing sounded after the one playing at Stop.
    qsizetype heardCharacters = 0;
    for (const QString& group : heard.split(QStringLiteral(" / ")))
        heardCharacters += group.split(' ', Qt::SkipEmptyParts).size();
    EXPECT_EQ(heardCharacters, 5 + drawn.size()); // H R H R BT, then the characters
    platform::Tick lastBeep = 0;
    for (const auto& e : platform::sound().log())
        if (e.what == "beep")
            lastBeep = e.at;
    EXPECT_LT(lastBeep - stopAt, 19 * 240); // at most the longest character after Stop
    EXPECT_EQ(StopRequested, -1);
    expectControlsBack();
    EXPECT_EQ(ExamAnswerText, answer.text); // the second Start made no exam
}

TEST_F(Exam, StopDuringTheStartSignsShowsNoAnswerWindow)
{
    chooseExam(0, true);
    clock().callAfter(1000, [&] { f.StopButton_Command.click(); });
    watchAnswer();
    f.StartButton_Command.click();
    EXPECT_EQ(answer.shown, 0);
    EXPECT_EQ(ExamAnswerText, QString());
    expectControlsBack();
}

TEST_F(Exam, AWaveExamIsCompiledPlayedAndEndedByThePlaybackPoll)
{
    chooseExam(0, false);
    watchAnswer();
    f.StartButton_Command.click();
    // Start has returned while the exam plays; the run stays locked.
    EXPECT_EQ(answer.shown, 0);
    EXPECT_FALSE(f.StartButton_Command.enabled());
    EXPECT_TRUE(f.StopButton_Command.enabled());
    EXPECT_TRUE(f.timerCheckWavePlayEnd.enabled());
    EXPECT_EQ(f.timerCheckWavePlayEnd.interval(), 800);
    EXPECT_TRUE(platform::sound().isPlaying());
    EXPECT_EQ(ExamAnswerText.split(' ', Qt::SkipEmptyParts).size(), 4);
    EXPECT_TRUE(ExamAnswerText.endsWith(' '));
    f.StartButton_Command.click(); // nothing while the exam plays
    runUntil([&] { return answer.shown > 0 && !f.timerCheckWavePlayEnd.enabled(); });
    ASSERT_EQ(answer.shown, 1);
    EXPECT_EQ(answer.text, ExamAnswerText);
    EXPECT_FALSE(platform::sound().isPlaying());
    EXPECT_FALSE(f.timerCheckWavePlayEnd.enabled());
    expectControlsBack();
    bool compiled = false;
    for (const auto& e : platform::sound().log())
        compiled |= e.what.endsWith("/sound/Mogisiken.wav") && e.durationMs > 20000;
    EXPECT_TRUE(compiled);
}

TEST_F(Exam, StopDuringAWaveExamEndsItAtTheNextPollTick)
{
    chooseExam(0, false);
    watchAnswer();
    f.StartButton_Command.click();
    bool startOffAfterStop = false;
    clock().callAfter(3000, [&] {
        f.StopButton_Command.click();
        startOffAfterStop = !f.StartButton_Command.enabled(); // until the poll has ended the exam
    });
    const platform::Tick stopAt = clock().now() + 3000;
    runUntil([&] { return answer.shown > 0; });
    ASSERT_EQ(answer.shown, 1);
    EXPECT_LE(clock().now() - stopAt, 900);
    EXPECT_EQ(answer.text.split(' ', Qt::SkipEmptyParts).size(), 4); // the whole exam text
    EXPECT_TRUE(startOffAfterStop);
    runUntil([&] { return !f.timerCheckWavePlayEnd.enabled(); }, 2000);
    expectControlsBack();
}

TEST_F(Exam, StopWhileAWaveExamIsCompiledKeepsItFromPlaying)
{
    chooseExam(0, false);
    watchAnswer();
    // The first event the run handles is inside the compiler's conversion.
    clock().callAfter(0, [&] {
        EXPECT_TRUE(frmExchangeProgress.isLoaded());
        f.StopButton_Command.click();
        f.StartButton_Command.click(); // no second run inside this one
    });
    f.StartButton_Command.click();
    EXPECT_EQ(StopRequested, -1);
    EXPECT_FALSE(platform::sound().isPlaying());
    runUntil([&] { return answer.shown > 0 && !f.timerCheckWavePlayEnd.enabled(); }, 5000);
    EXPECT_EQ(answer.shown, 1);
    expectControlsBack();
    int exams = 0;
    for (const auto& e : platform::sound().log())
        exams += e.what.endsWith("/sound/Mogisiken.wav");
    EXPECT_LE(exams, 1);
}

TEST_F(Exam, PseudoTextReadsTheWordFileWithItsBlankLinesAndRefusesAnEmptyOrMissingOne)
{
    chooseExam(2, true);
    // The sample file of the Latin alphabet serves while no word file is chosen.
    writeText("dudevadizu.rur", QStringLiteral("CQ\r\n\r\nDE\r\n"));
    watchAnswer();
    f.StartButton_Command.click();
    EXPECT_EQ(ExamWordCount, 3); // the blank line is an empty word
    EXPECT_EQ(ExamWordList[2], QString());
    ASSERT_EQ(answer.shown, 1);
    for (const QString& w : answer.text.split(' ', Qt::SkipEmptyParts))
        EXPECT_TRUE(w == "CQ" || w == "DE") << w.toStdString();
    EXPECT_TRUE(f.KaitoupassButton_Command.enabled()); // kinds 2 and 3: given back by the window

    // A file of blank lines gives one empty word per line and no error.
    writeText("dudevadizu.rur", QStringLiteral("\r\n\r\n"));
    const std::size_t messages = dialogs::messages().size();
    watchAnswer();
    f.StartButton_Command.click();
    EXPECT_EQ(ExamWordCount, 2);
    EXPECT_EQ(dialogs::messages().size(), messages);
    EXPECT_EQ(answer.shown, 2);
    expectControlsBack();

    // An empty file has no line: the exam is refused with a message, the word file
    // is left as it was.
    writeText("dudevadizu.rur", QString());
    f.StartButton_Command.click();
    ASSERT_FALSE(dialogs::messages().empty());
    EXPECT_EQ(dialogs::messages().back().prompt, QString::fromUtf16(u"ファイルが空です。"));
    EXPECT_EQ(dialogs::messages().back().title, QString::fromUtf16(u"エラー"));
    EXPECT_EQ(dialogs::messages().back().buttons, vbOKOnly);
    EXPECT_EQ(platform::readWholeFile(platform::besideProgram("dudevadizu.rur")), QByteArray());
    EXPECT_EQ(answer.shown, 2);
    expectControlsBack();
    EXPECT_TRUE(f.KaitoupassButton_Command.enabled()); // "登録・編集", to put the file right
    EXPECT_EQ(StopRequested, -1);

    // A registered slot whose file has gone: a clear message, no exam.
    // (registered and chosen while it was there, deleted afterwards)
    LatinWordFileTitle[2] = QStringLiteral("gone");
    LatinWordFilePath[2] = writeText("gone.txt", QStringLiteral("QRZ\r\n"));
    frmOptions().optionEntryFile2.setCaption(LatinWordFileTitle[2]);
    frmOptions().optionEntryFile2.setValue(true);
    platform::deleteFile(LatinWordFilePath[2]);
    f.StartButton_Command.click();
    EXPECT_TRUE(dialogs::messages().back().prompt.contains(QString::fromUtf16(u"単語ファイルを読み込めません。")));
    EXPECT_TRUE(dialogs::messages().back().prompt.contains("gone.txt"));
    EXPECT_EQ(dialogs::messages().back().buttons, vbOKOnly | vbCritical);
    EXPECT_EQ(answer.shown, 2);
    expectControlsBack();
}

TEST_F(Exam, RandomDrawSendsEveryEnabledTextOnceBeforeAnyRepeats)
{
    chooseExam(3, true);
    const char* texts[] = {"E", "T", "I"};
    for (int i = 0; i < 3; ++i) {
        LatinExamTextPath[i * 3] = writeText(QStringLiteral("t%1.txt").arg(i), QString::fromLatin1(texts[i]));
        LatinExamTextEnabled[i * 3] = -1;
    }
    QStringList sent;
    for (int run = 0; run < 6; ++run) {
        clock().block(37);
        answer = {};
        watchAnswer();
        f.StartButton_Command.click();
        sent << answer.text;
    }
    QStringList firstCycle = sent.mid(0, 3), secondCycle = sent.mid(3, 3);
    firstCycle.sort();
    secondCycle.sort();
    EXPECT_EQ(firstCycle, (QStringList {"E", "I", "T"})) << sent.join(',').toStdString();
    EXPECT_EQ(secondCycle, (QStringList {"E", "I", "T"})) << sent.join(',').toStdString();
}

TEST_F(Exam, RandomDrawWithNoEnabledTextOpensTheDialogAndEndsTheRun)
{
    chooseExam(3, true);
    LatinExamTextPath[1] = writeText("t.txt", "E"); // registered, not ticked
    LatinExamTextEnabled[5] = -1; // ticked, not registered
    float left = 0, top = 0;
    every10ms([&] {
        DialogMogisikenTxt* d = dialogMogisikenTxt.ifLoaded();
        if (!d || !d->isShown())
            return true;
        left = d->left();
        top = d->top();
        d->userClose();
        return false;
    });
    watchAnswer();
    f.StartButton_Command.click();
    ASSERT_FALSE(dialogs::messages().empty());
    EXPECT_EQ(dialogs::messages().back().prompt, QString::fromUtf16(u"選択されているファイルがありません。"));
    EXPECT_EQ(dialogs::messages().back().buttons, vbOKOnly | vbCritical);
    EXPECT_FLOAT_EQ(left, f.left() - 50);
    EXPECT_FLOAT_EQ(top, f.top() + 350);
    EXPECT_EQ(answer.shown, 0);
    expectControlsBack();
    EXPECT_TRUE(f.KaitoupassButton_Command.enabled());
    EXPECT_EQ(StopRequested, -1);
}

TEST_F(Exam, PickModeSendsThePickedTextOrEndsWithoutAPick)
{
    chooseExam(3, true);
    LatinExamTextSelectMode = 2;
    LatinExamTextPath[4] = writeText("four.txt", "TEST");
    // Registered as the dialog registers it: closing the dialog saves its slots.
    DialogMogisikenTxt& d = dialogMogisikenTxt();
    d.textFilePath(4).setText(LatinExamTextPath[4]);
    d.optionTestSelect.setValue(true);
    QString explanation;
    auto pickWhenShown = [&](int slot) {
        every10ms([&, slot] {
            DialogMogisikenTxt* d = dialogMogisikenTxt.ifLoaded();
            if (!d || !d->isShown())
                return true;
            explanation = d->labelExplanation.caption();
            if (slot >= 0) { // what the dialog's slot button does
                LatinExamTextPicked[slot] = -1;
                LatinExamTextSlot = static_cast<std::int16_t>(slot);
            }
            d->unload();
            return false;
        });
    };
    pickWhenShown(4);
    watchAnswer();
    f.StartButton_Command.click();
    EXPECT_EQ(explanation, QString::fromUtf16(u"受験に使用する問題ファイルを選択してください。"));
    ASSERT_EQ(answer.shown, 1);
    EXPECT_EQ(answer.text, "TEST");
    EXPECT_EQ(LatinExamTextPicked[4], 0);

    // A pick left pending from an earlier visit: the Beep road uses it at once.
    LatinExamTextPicked[4] = -1;
    answer = {};
    watchAnswer();
    f.StartButton_Command.click();
    EXPECT_EQ(answer.text, "TEST");
    EXPECT_EQ(LatinExamTextPicked[4], 0);

    // Closed without a pick: the run ends, no message.
    const auto messages = dialogs::messages().size();
    ExamTextDialogOk = -1;
    pickWhenShown(-1);
    answer = {};
    f.StartButton_Command.click();
    EXPECT_EQ(answer.shown, 0);
    EXPECT_EQ(ExamTextDialogOk, 0);
    EXPECT_EQ(dialogs::messages().size(), messages);
    EXPECT_TRUE(f.StartButton_Command.enabled());

    // A picked text whose file has gone: a message, and the pick does not stay.
    QFile::remove(LatinExamTextPath[4]);
    LatinExamTextPicked[4] = -1;
    f.StartButton_Command.click();
    EXPECT_EQ(dialogs::messages().back().title, QString::fromUtf16(u"ファイルエラー"));
    EXPECT_EQ(LatinExamTextPicked[4], 0);
    EXPECT_TRUE(f.StartButton_Command.enabled());
}

TEST_F(Exam, AKanaBeepExamUsesTheKanaSigns)
{
    f.mnuChange.click();
    f.mnuMojihanniWabun_Hani(1).click();
    f.textCwSpeed.setText("25");
    f.optionMogisikenMode.click();
    f.comboMogisikenMode.choose(0);
    f.textReceiveTime.setText("1");
    f.mnuSoundBeep.click();
    platform::sound().clearLog();
    const platform::Tick t0 = clock().now();
    watchAnswer();
    f.StartButton_Command.click();
    ASSERT_EQ(answer.shown, 1);
    EXPECT_EQ(QString(answer.text).remove(' ').size(), 15); // budget 19 (18.75): three groups
    const QString heard = heardMorse(t0, 240);
    EXPECT_TRUE(heard.startsWith(".... .-. / .... .-. / -..--- / ")) << heard.toStdString();
    EXPECT_TRUE(heard.endsWith(" / ...-.")) << heard.toStdString();
    EXPECT_TRUE(f.mnuMojihanniWabun.enabled());
}

TEST_F(Exam, TheAnswerWindowAsTheLearnerSeesIt)
{
    // After a short kana exam: a picture of the window as it opened.
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
    f.mnuChange.click();
    for (int i = 1; i <= 18; ++i) // all kana
        f.mnuMojihanniWabun_Hani(i).setChecked(i == 13);
    f.textCwSpeed.setText("45");
    f.optionMogisikenMode.click();
    f.comboMogisikenMode.choose(0);
    f.textReceiveTime.setText("2");
    f.mnuSoundBeep.click();
    const QString path = qEnvironmentVariable("QUENLO_SCREENSHOT_DIR", QDir::tempPath()) + "/exam_answer.png";
    bool saved = false;
    QString shown;
    every10ms([&] {
        FrmExamAnswer* a = frmExamAnswer.ifLoaded();
        if (!a || !a->isShown())
            return true;
        shown = a->richTextBoxExamAnswer.text();
        saved = a->window()->grab().save(path);
        EXPECT_TRUE(a->richTextBoxExamAnswer.locked());
        a->cmdClose.click();
        return false;
    });
    f.StartButton_Command.click();
    EXPECT_TRUE(saved) << path.toStdString();
    EXPECT_EQ(shown, ExamAnswerText);
    EXPECT_EQ(QString(shown).remove(QLatin1Char(' ')).size(), 55); // budget 67.5 -> 68, eleven groups
    EXPECT_FALSE(frmExamAnswer.isLoaded());
    EXPECT_TRUE(f.mnuChange.enabled());
}

TEST_F(Exam, AFirstMockExamOnAFreshInstallIsHeard)
{
    // Nothing chosen but the mode: the first-run settings carry an exam kind.
    ASSERT_EQ(f.comboMogisikenMode.listIndex(), 0);
    f.optionMogisikenMode.click();
    watchAnswer();
    f.StartButton_Command.click();
    EXPECT_TRUE(platform::sound().isPlaying());
    EXPECT_EQ(ExamAnswerText.split(' ', Qt::SkipEmptyParts).first().size(), 5);
    runUntil([&] { return answer.shown > 0 && !f.timerCheckWavePlayEnd.enabled(); });
    EXPECT_EQ(answer.shown, 1);
    expectControlsBack();
}

TEST_F(Exam, AStartWithNoExamKindGivesEveryControlBackAtOnce)
{
    for (bool beep : {false, true}) {
        chooseExam(0, beep);
        f.comboMogisikenMode.setListIndex(-1); // as a damaged settings file leaves it
        platform::sound().clearLog();
        f.StartButton_Command.click();
        EXPECT_TRUE(platform::sound().log().empty());
        expectControlsBack();
        EXPECT_TRUE(f.StopButton_Command.enabled());
        EXPECT_FALSE(f.timerCheckWavePlayEnd.enabled() && f.timerCheckWavePlayEnd.interval() > 0);
    }
}

// Five-character groups with nothing to send (no range item checked, or an empty
// user-chosen set): on both roads the Start ends at once with every control back,
// the minutes box locked since the window was created included (a stale answer
// text from an earlier exam is never shown).
TEST_F(Exam, GroupsWithNothingToSendGiveEveryControlBackAtOnce)
{
    ExamAnswerText = QStringLiteral("ABCDE");
    watchAnswer(true);
    for (bool userChosen : {false, true}) {
        for (bool beep : {false, true}) {
            SCOPED_TRACE(beep ? "Beep" : "Wave");
            SCOPED_TRACE(userChosen ? "an empty user-chosen set" : "no range item");
            chooseExam(0, beep);
            f.textReceiveTime.setLocked(true); // as the window is created
            f.mnuMojiHanniAtoE.setChecked(false);
            f.mnuMojihanniUserChose.setChecked(userChosen);
            LatinUserChosen.fill(0);
            platform::sound().clearLog();
            f.StartButton_Command.click();
            EXPECT_TRUE(platform::sound().log().empty());
            EXPECT_EQ(answer.shown, 0);
            expectControlsBack();
            EXPECT_FALSE(f.timerCheckWavePlayEnd.enabled() && f.timerCheckWavePlayEnd.interval() > 0);
        }
    }
}

TEST_F(Exam, ABeepExamThatSentNothingGivesTheRegistrationBack)
{
    chooseExam(3, true);
    LatinExamTextPath[0] = writeText("empty.txt", QString());
    LatinExamTextEnabled[0] = -1;
    watchAnswer();
    f.StartButton_Command.click();
    EXPECT_EQ(answer.shown, 0);
    EXPECT_EQ(ExamAnswerText, QString());
    expectControlsBack();
    EXPECT_EQ(f.KaitoupassButton_Command.caption(), QString::fromUtf16(u"登録・編集"));
    EXPECT_TRUE(f.KaitoupassButton_Command.enabled());
}

// The mode option stays enabled during an exam, and the forms raise Click on it
// again: on both roads the exam keeps the exam-kind list, the alphabet switch and
// Start from the learner until it ends.
TEST_F(Exam, ClickingTheExamModeDuringAnExamKeepsItsLocks)
{
    for (bool beep : {false, true}) {
        SCOPED_TRACE(beep ? "Beep" : "Wave");
        chooseExam(0, beep);
        const platform::Tick clickAt = clock().now() + 5000;
        bool kindLocked = false, alphabetOff = false, startOff = false;
        clock().callAt(clickAt, [&] {
            f.optionMogisikenMode.click();
            kindLocked = f.comboMogisikenMode.locked();
            alphabetOff = !f.mnuChange.enabled();
            startOff = !f.StartButton_Command.enabled();
            f.StopButton_Command.click();
        });
        watchAnswer(true);
        f.StartButton_Command.click();
        runUntil([&] { return clock().now() > clickAt && f.StartButton_Command.enabled(); });
        EXPECT_TRUE(kindLocked);
        EXPECT_TRUE(alphabetOff);
        EXPECT_TRUE(startOff);
    }
}

// Code check has no run: an exam that ends after the learner chose code check
// (on the stack of Start, or by the playback poll) leaves Start off there.
TEST_F(Exam, AStoppedExamEndingInCodeCheckLeavesStartOff)
{
    for (bool beep : {true, false}) {
        SCOPED_TRACE(beep ? "Beep" : "Wave");
        chooseExam(0, beep);
        const platform::Tick stopAt = clock().now() + 68 * 240 + 5000;
        clock().callAt(stopAt, [&] {
            f.StopButton_Command.click();
            f.optionKakuninMode.click(); // while the exam still sounds
        });
        watchAnswer(true);
        f.StartButton_Command.click();
        runUntil([&] {
            return clock().now() > stopAt && !(f.timerCheckWavePlayEnd.enabled() && f.timerCheckWavePlayEnd.interval() > 0);
        });
        ASSERT_TRUE(f.optionKakuninMode.value());
        EXPECT_FALSE(f.StartButton_Command.enabled());
    }
}
