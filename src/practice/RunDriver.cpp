// The run driver behind Start: preparation, the run lock, the start signal and
// the question loops of single-character receive and listen-through.
#include "practice/frmMain.h"

#include "dialogs/ExamTextState.h"
#include "dialogs/dialogMogisikenTxt.h"
#include "dialogs/frmOptions.h"
#include "keypad/KeypadRules.h"
#include "keypad/UserChosen.h"
#include "material/ExamTextDraw.h"
#include "material/ExamWords.h"
#include "material/MockExam.h"
#include "material/RandomDraw.h"
#include "material/RandomPickers.h"
#include "platform/clock.h"
#include "platform/failure.h"
#include "platform/files.h"
#include "platform/forms/dialogs.h"
#include "platform/numbers.h"
#include "platform/sound/sound_service.h"
#include "practice/QuenModule.h"
#include "practice/RunState.h"
#include "practice/frmExamAnswer.h"
#include "settings/AlphabetLayout.h"
#include "settings/SharedSettings.h"
#include "sounding/makeBeep.h"
#include "synthesis/Delay.h"
#include "synthesis/SoundBank.h"
#include "synthesis/ToneOptions.h"

#include <algorithm>
#include <array>

using namespace forms;

namespace {
// Runs on the stack: a stopped run unwinds only when its current wait ends, and a
// new run must not start inside it.
int runsOnStack = 0;
// Start was given back while it could not act yet: it comes back when the run
// has unwound.
bool startOwed = false;

bool playbackPollArmed(FrmMain& f)
{
    return f.timerCheckWavePlayEnd.enabled() && f.timerCheckWavePlayEnd.interval() > 0;
}

// The last run has left the stack: Start is given back if it was owed, and the
// keypads follow it (they took the disabled Start for a run going).
void runUnwound()
{
    if (!startOwed || !frmMain.isLoaded())
        return;
    FrmMain& f = frmMain();
    f.GiveBackStart();
    if (!f.StartButton_Command.enabled())
        return;
    platform::ignoreErrors([] { ApplyModeToKeypads(); });
    if (AlphabetIsLatin == -1 && f.mnuMojihanniUserChose.checked())
        f.timerUserChoseLetters.setEnabled(true);
}

std::int32_t stretched(int units, std::int16_t u)
{
    return platform::toInt32(static_cast<double>(units) * u * static_cast<double>(CodeIntervalFactor));
}

// Plays a start-signal sign from the bank and waits its length and the gaps.
void signWave(const QByteArray& image, const QString& label, int units, std::int16_t u, bool wordGap)
{
    if (!image.isEmpty())
        platform::sound().playMemory(image, platform::SND_MEMORY | platform::SND_ASYNC, label);
    WaitMilliseconds(WaveCharacterWaitMs(units, u));
    if (wordGap)
        WaitMilliseconds(stretched(4, u));
}

// The picker name of the first checked Latin range item, "" when none is.
QString checkedLatinRange(FrmMain& f)
{
    for (int row = 1; row <= 13; ++row)
        if (f.LatinRangeItem(row).checked())
            return QString::fromLatin1(LatinRangeNames[row - 1]);
    return QString();
}

// The first checked kana range item 1..18, 0 when none is.
std::int16_t checkedKanaRange(FrmMain& f)
{
    for (int i = 1; i <= 18; ++i)
        if (f.mnuMojihanniWabun_Hani(i).checked())
            return static_cast<std::int16_t>(i);
    return 0;
}

enum class Road { None, WaveLatin, WaveKana, BeepLatin, BeepKana };

// One character of the run's road from the range checked now; false when no range
// item is checked (nothing is drawn or sounded).
bool pickAndSound(FrmMain& f, Road road)
{
    const std::int16_t tone = f.ToneOfBox();
    const bool latin = road == Road::WaveLatin || road == Road::BeepLatin;
    const QString name = latin ? checkedLatinRange(f) : QString();
    const std::int16_t range = latin ? 0 : checkedKanaRange(f);
    if (latin ? name.isEmpty() : range == 0)
        return false;
    switch (road) {
    case Road::WaveLatin:
        PlayRandomLatinWave(name, UnitMs, tone, 16000);
        break;
    case Road::WaveKana:
        PlayRandomKanaWave(range, UnitMs, tone, 16000);
        break;
    case Road::BeepLatin:
        PlayRandomLatinBeep(name, UnitMs, tone);
        break;
    case Road::BeepKana:
        PlayRandomKanaBeep(range, UnitMs, tone);
        break;
    case Road::None:
        return false;
    }
    return true;
}

void singleCharacterLoop(FrmMain& f, Road road)
{
    AskedCount = 0;
    CorrectCount = 0;
    f.Label4.setCaption(platform::numberText(AskedCount));
    f.Label2.setCaption(platform::numberText(CorrectCount));
    StopRequested = 0;
    auto& clock = platform::clock();
    for (;;) {
        // The picker opens the question; with no range it keeps the last character
        // and can still be answered.
        if (!pickAndSound(f, road))
            question::openAgain();
        // Stopped while the character sounded: the question was never asked (unless
        // an answer given meanwhile counted it).
        if (StopRequested == -1)
            return;
        question::count();
        while (question::waitingForAnswer() && StopRequested != -1)
            clock.yield();
        if (StopRequested == -1)
            return;
    }
}

void listenThroughLoop(FrmMain& f, Road road)
{
    AskedCount = 0;
    f.Label2.setCaption(QStringLiteral(" - "));
    f.Label4.setCaption(platform::numberText(AskedCount));
    StopRequested = 0;
    auto& clock = platform::clock();
    const bool wave = road == Road::WaveLatin || road == Road::WaveKana;
    for (;;) {
        clock.yield(clock.now()); // pending events, without sleeping
        if (!pickAndSound(f, road))
            question::openAgain();
        f.Label1.setForeColor(vbBlack);
        f.Label1.setCaption(wave ? SentChar : LastBeepSymbol);
        question::count();
        if (StopRequested == -1)
            return;
    }
}

// A start that cannot go on (the learner has been told why, or cancelled): the run
// ends with every control back, the exam kind list and the pass button included,
// so that the word file or the exam texts can be put right at once.
void refuseExam(FrmMain& f)
{
    f.GiveBackExamControls();
    const int kind = f.comboMogisikenMode.listIndex();
    if (kind == 2 || kind == 3)
        f.KaitoupassButton_Command.setEnabled(true);
    EndPracticeRun();
}

// The exam answer window, then the controls a Beep exam gives back when it ends.
// An exam that sent nothing (an empty exam text, a Stop during the start signs)
// has no window to give back the range menu or "登録・編集": it ends as a refused
// one, so that the text can be put right at once.
void endBeepExam(FrmMain& f)
{
    if (ExamAnswerText.isEmpty()) {
        refuseExam(f);
        return;
    }
    FrmExamAnswer& answer = frmExamAnswer();
    answer.centerOn(f);
    answer.showModal();
    f.GiveBackExamControls();
}

// The pseudo-text exam's words from the word file chosen in the options dialog.
bool loadExamWords(FrmMain& f, bool latin)
{
    FrmOptions& o = frmOptions();
    const auto& registered = latin ? LatinWordFilePath : KanaWordFilePath;
    // With no choice made yet the sample file serves, as the stored choice 0 does.
    QString path
        = platform::besideProgram(latin ? QStringLiteral("dudevadizu.rur") : QStringLiteral("dezevazedevovud.eru"));
    if (!o.optionEntrySampleFile.value()) {
        if (o.optionEntryFile1.value())
            path = registered[1];
        else if (o.optionEntryFile2.value())
            path = registered[2];
        else if (o.optionEntryFile3.value())
            path = registered[3];
    }
    switch (LoadExamWordList(path)) {
    case WordFileRead::Ok:
        return true;
    case WordFileRead::Empty:
        MsgBox(QStringLiteral("ファイルが空です。"), vbOKOnly, QStringLiteral("エラー"));
        break;
    case WordFileRead::Unreadable:
        MsgBox(
            QStringLiteral("単語ファイルを読み込めません。\n") + path, vbOKOnly | vbCritical, QStringLiteral("エラー"));
        break;
    }
    refuseExam(f);
    return false;
}

// Loads a registered exam text into the exam-text editor, where the generators read it.
bool loadExamText(FrmMain& f, const QString& path)
{
    const auto outcome = dialogMogisikenTxt().richTextBoxEdit.loadFile(path);
    if (outcome)
        return true;
    MsgBox(outcome.description + QLatin1Char('\n') + path, vbOKOnly | vbCritical, QStringLiteral("ファイルエラー"));
    refuseExam(f);
    return false;
}

int lowestPicked(const std::array<std::int16_t, 10>& picked)
{
    for (int s = 0; s < 10; ++s)
        if (picked[s] == -1)
            return s;
    return -1;
}

// The exam-text dialog where the run driver opens it: not centred, but below the
// main window's panel.
DialogMogisikenTxt& dialogForPick(FrmMain& f)
{
    DialogMogisikenTxt& d = dialogMogisikenTxt();
    d.move(f.left() - 50, f.top() + 350);
    return d;
}

// The mock-exam branch of Start: exam locks, the road, what the exam kind needs,
// the generator, and the end of a Beep exam.
void launchMockExam(FrmMain& f)
{
    f.textReceiveTime_LostFocus(); // the minutes box gets its clamp like speed and tone
    for (OptionButton* o : {&f.optionKakuninMode, &f.optionKikitoriMode, &f.optionKikinagashiMode})
        o->setEnabled(false);
    f.comboMogisikenMode.setLocked(true);
    f.textToneFreq.setLocked(true);
    f.upDownToneFreq.setEnabled(false);
    f.textReceiveTime.setLocked(true);
    f.upDownReceiveTime.setEnabled(false);
    f.KaitoupassButton_Command.setEnabled(false);
    StopRequested = 0;
    if (AlphabetIsLatin == -1)
        f.mnuMojihanni.setEnabled(false);
    else if (AlphabetIsLatin == 0)
        f.mnuMojihanniWabun.setEnabled(false);

    const int kind = f.comboMogisikenMode.listIndex();
    if (kind < 0 || kind > 3) {
        // No exam kind (a damaged settings file): nothing would ever end the run.
        refuseExam(f);
        return;
    }

    bool wave = false;
    if (f.mnuSoundWave.checked() && (AlphabetIsLatin == -1 || AlphabetIsLatin == 0))
        wave = true;
    else if (!f.mnuSoundBeep.checked() || (AlphabetIsLatin != -1 && AlphabetIsLatin != 0))
        return; // no road: locked until Stop
    const bool latin = AlphabetIsLatin == -1;

    QString rangeName = QStringLiteral("Limit_All");
    std::int16_t rangeIndex = 17;
    int pickedSlot = -1;
    bool exam = true;
    if (kind == 0 || kind == 1) {
        if (latin)
            exam = !(rangeName = checkedLatinRange(f)).isEmpty();
        else
            exam = (rangeIndex = checkedKanaRange(f)) != 0;
    } else if (kind == 2) {
        if (!loadExamWords(f, latin))
            return;
    } else {
        const auto& path = latin ? LatinExamTextPath : KanaExamTextPath;
        auto& enabled = latin ? LatinExamTextEnabled : KanaExamTextEnabled;
        auto& picked = latin ? LatinExamTextPicked : KanaExamTextPicked;
        std::int16_t& slotOfRun = latin ? LatinExamTextSlot : KanaExamTextSlot;
        const std::int16_t mode = latin ? LatinExamTextSelectMode : KanaExamTextSelectMode;
        int slot = -1;
        if (mode == 1) {
            // Only registered texts are counted, so the draw always finds the slot it counts to.
            std::int16_t n = 0;
            for (int s = 0; s < 10; ++s)
                if (enabled[s] == -1 && !path[s].isEmpty())
                    ++n;
            if (n == 0) {
                MsgBox(QStringLiteral("選択されているファイルがありません。"), vbOKOnly | vbCritical,
                    QStringLiteral("エラー"));
                dialogForPick(f).showModal();
                refuseExam(f);
                return;
            }
            bool drawn = false;
            slot = PickNextTextSlot(n).toInt(&drawn);
            if (!drawn || slot < 0 || slot > 9) {
                refuseExam(f);
                return;
            }
        } else if (mode == 2) {
            if (!wave)
                slot = lowestPicked(picked);
            if (slot < 0) {
                DialogMogisikenTxt& d = dialogForPick(f);
                d.labelExplanation.setCaption(QStringLiteral("受験に使用する問題ファイルを選択してください。"));
                d.showModal();
                slot = lowestPicked(picked);
                if (slot < 0) {
                    platform::clock().yield(platform::clock().now());
                    slot = lowestPicked(picked);
                }
                if (slot < 0) {
                    ExamTextDialogOk = 0;
                    refuseExam(f);
                    return;
                }
            }
            pickedSlot = slot;
        } else {
            exam = false;
        }
        if (exam) {
            if (wave)
                slotOfRun = static_cast<std::int16_t>(slot);
            if (!loadExamText(f, path[slot])) {
                // A pick whose file is gone must not come back at every start.
                if (pickedSlot >= 0)
                    picked[pickedSlot] = 0;
                return;
            }
        }
    }

    if (!exam) {
        // Nothing to send (no range item checked, no way to choose a text): a run
        // that never runs would hold the panel until Stop.
        refuseExam(f);
        return;
    }
    const QString sound = wave ? QStringLiteral("Wave") : QStringLiteral("Beep");
    const std::int16_t speed = platform::textToInt16(f.textCwSpeed.text());
    const std::int16_t minutes = platform::textToInt16(f.textReceiveTime.text());
    const std::int16_t tone = f.ToneOfBox();
    ExamAnswerText = latin
        ? RunLatinMockExam(sound, static_cast<std::int16_t>(kind), speed, minutes, UnitMs, tone, rangeName)
        : RunKanaMockExam(sound, static_cast<std::int16_t>(kind), speed, minutes, UnitMs, tone, rangeIndex);
    if (pickedSlot >= 0)
        (latin ? LatinExamTextPicked : KanaExamTextPicked)[pickedSlot] = 0;
    // Stop pressed while the exam was being compiled: it must not start playing
    // afterwards. The poll then ends the exam as for a Stop during playback.
    if (wave && StopRequested == -1)
        platform::sound().stop();
    if (!wave)
        endBeepExam(f);
}
} // namespace

void FrmMain::GiveBackStart()
{
    if (optionKakuninMode.value()) {
        startOwed = false;
        return;
    }
    startOwed = runsOnStack > 0 || playbackPollArmed(*this);
    if (!startOwed)
        StartButton_Command.setEnabled(true);
}

bool FrmMain::RunHoldsPanel() { return StopRequested != -1 && (runsOnStack > 0 || playbackPollArmed(*this)); }

void FrmMain::StartButton_Command_Click()
{
    // With no mode chosen (a stored mode that names none) there is nothing to run:
    // the press takes nothing, instead of holding the panel until Stop.
    const auto modes = ModeOptions(*this);
    if (std::none_of(modes.begin(), modes.end(), [](const OptionButton* o) { return o->value(); }))
        return;
    // Never a run inside another: not while a stopped run unwinds, nor while the
    // end of a played exam is still being polled.
    if (runsOnStack > 0 || playbackPollArmed(*this))
        return;
    // Pressed inside the waits of a rebuild (the alphabet switch's, a code-check
    // press's): a run now would sound the half-built bank. The press is taken up
    // when the rebuild has ended, in its turn, if Start can still be pressed then.
    // A second press is dropped when the first one's run begins.
    if (SoundBankBuilding()) {
        AfterSoundBankBuilt([] {
            FrmMain* f = frmMain.ifLoaded();
            if (f && f->StartButton_Command.reachable())
                f->StartButton_Command.press();
        });
        return;
    }
    ++runsOnStack;
    startOwed = false;
    DropWaitingPresses(); // made before the run, for the panel it now holds
    struct Unwind {
        ~Unwind()
        {
            if (--runsOnStack == 0)
                runUnwound();
        }
    } unwind;

    // The boxes get their clamps before anything is computed from them.
    textCwSpeed_LostFocus();
    textToneFreq_LostFocus();
    const std::int16_t tone = ToneOfBox();
    const bool receive = optionKikitoriMode.value();
    const bool listen = optionKikinagashiMode.value();
    const bool latin = AlphabetIsLatin == -1;

    if (receive) {
        checkTypeKey.setValue(1);
        KaitoupassButton_Command.setEnabled(true);
    } else {
        checkTypeKey.setEnabled(false);
    }
    ExamWordCount = 0;
    UnitMs = ComputeUnitMs(textCwSpeed.text());

    mnuChange.setEnabled(false);
    StartButton_Command.setEnabled(false);
    StopButton_Command.setEnabled(true);
    StopRequested = 0;
    question::close(); // a question left open by an earlier run takes no answer
    for (OptionButton* o : {&optionSpeed25, &optionSpeed45, &optionSpeed60, &optionSpeed80})
        o->setEnabled(false);
    textCwSpeed.setLocked(true);
    upDownSpeed.setEnabled(false);
    upDownLimitKikitoriMode.setEnabled(false);

    // The user-chosen range needs at least one chosen character.
    std::int16_t chosen = -1;
    if (latin && mnuMojihanniUserChose.checked())
        chosen = LatinUserChosenCount = CountLatinUserChosen();
    else if (AlphabetIsLatin == 0 && mnuMojihanniWabun_Hani(18).checked())
        chosen = KanaUserChosenCount = CountKanaUserChosen();
    const int kind = comboMogisikenMode.listIndex();
    const bool drawsFromRange = receive || listen || (optionMogisikenMode.value() && kind != 2 && kind != 3);
    if (chosen == 0 && drawsFromRange) {
        MsgBox(QStringLiteral("指定された文字がありません。"), vbOKOnly | vbCritical, QStringLiteral("エラー"));
        GiveBackStart();
        mnuChange.setEnabled(true);
        // An exam refused here ends as every refused exam does, the minutes box
        // (locked since the window was created) included.
        if (optionMogisikenMode.value())
            GiveBackExamControls();
        EndPracticeRun();
        return;
    }

    if (receive || listen) {
        for (OptionButton* o : {&optionKakuninMode, &optionKikitoriMode, &optionKikinagashiMode, &optionMogisikenMode})
            if (!o->value())
                o->setEnabled(false);
        textToneFreq.setLocked(true);
        upDownToneFreq.setEnabled(false);
        RangeMenuOfAlphabet().setEnabled(false);
    }
    if (receive) {
        if (textLimitKikitoriMode.text() != QLatin1String("0"))
            textLimitKikitoriMode.setText(platform::numberText(AnswerTimeLimitSec));
        ClearMissCounts();
        MissListCount = 0;
    }
    if (optionMogisikenMode.value()) {
        launchMockExam(*this);
        return;
    }
    if (!receive && !listen)
        return; // code check, which has no run (Start is disabled there)

    // The rebuild waits: the panel is locked first, so that no mode or alphabet can
    // change under the run meanwhile.
    if (textToneFreq.text() != SoundBankFreqText || textCwSpeed.text() != SoundBankSpeedText
        || !SoundBankHoldsAlphabet()) {
        BuildSoundBank(textCwSpeed.text(), tone, WaveSampleRate);
        if (StopRequested == -1)
            return;
    }

    // The start signal: H, R, then BT (Latin) or ホレ (kana).
    Label1.setForeColor(vbBlack);
    Label2.setCaption(QStringLiteral(" - "));
    Label4.setCaption(QStringLiteral(" - "));
    const std::int16_t u = UnitMs;
    const QString third = latin ? QStringLiteral("BT") : QStringLiteral("ホレ");
    if (mnuSoundWave.checked()) {
        Label1.setCaption(QStringLiteral("H"));
        signWave(LatinCharWave[8], QStringLiteral("H"), 7, u, false);
        if (StopRequested == -1)
            return;
        Label1.setCaption(QStringLiteral("R"));
        signWave(LatinCharWave[18], QStringLiteral("R"), 7, u, true);
        if (StopRequested == -1)
            return;
        Label1.setCaption(third);
        signWave(latin ? LatinCharWave[43] : KanaCharWave[67], third, latin ? 13 : 19, u, true);
        if (StopRequested == -1)
            return;
    } else if (mnuSoundBeep.checked()) {
        Label1.setCaption(QStringLiteral("H"));
        BeepLetterH(QStringLiteral("H"), u, 3 * u, ToneOfBox());
        if (StopRequested == -1)
            return;
        Label1.setCaption(QStringLiteral("R"));
        BeepLetterR(QStringLiteral("R"), u, 3 * u, ToneOfBox());
        WaitMilliseconds(4 * u);
        if (StopRequested == -1)
            return;
        Label1.setCaption(third);
        if (latin)
            BeepBTWordGap(third, u, 3 * u, ToneOfBox());
        else
            BeepHoreWordGap(third, u, 3 * u, ToneOfBox());
        if (StopRequested == -1)
            return;
    }

    // The road is chosen once for the whole run.
    Road road = Road::None;
    if (mnuSoundWave.checked())
        road = latin ? Road::WaveLatin : Road::WaveKana;
    else if (mnuSoundBeep.checked())
        road = latin ? Road::BeepLatin : Road::BeepKana;
    if (road == Road::None || (AlphabetIsLatin != -1 && AlphabetIsLatin != 0))
        return;
    if (receive)
        singleCharacterLoop(*this, road);
    else
        listenThroughLoop(*this, road);
}
