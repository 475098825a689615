// The main window's keyboard: the Esc functions, then the Latin key map or the
// kana romaji readers. The key code is only read, so the focused control receives
// every key as well, but for the Enter that a kana reader takes.
#include "answer/KeyboardHandler.h"

#include "answer/AnswerKeys.h"
#include "answer/RomajiReader.h"
#include "keypad/UserChosen.h"
#include "practice/QuenModule.h"
#include "practice/Question.h"
#include "practice/frmMain.h"
#include "settings/SharedSettings.h"
#include "sounding/PlayCharacter.h"
#include "synthesis/SoundBank.h"
#include "synthesis/frmExchangeProgress.h"

using namespace forms;

namespace {
// Key codes firstKey..lastKey give the LatinCharTable entries from firstIndex on.
struct LatinKeyRange {
    int firstKey, lastKey;
    std::int16_t firstIndex;
};
const LatinKeyRange LatinKeyMap[] = {{'A', 'Z', 1}, {'a', 'z', 1}, {'1', '9', 27}, {'0', '0', 36}, {'.', '.', 37},
    {',', ',', 38}, {'?', '?', 39}, {'/', '/', 40}, {'(', '(', 41}, {')', ')', 42}, {'=', '=', 43}, {'+', '+', 44},
    {'-', '-', 45}, {'\'', '\'', 46}, {'"', '"', 47}, {8, 8, 48}};

constexpr int escKey = 27;
constexpr int enterKey = 13;

// An exam text is being converted to WAV: its progress window is up and not yet
// full. Asking must not load the window.
bool conversionRunning(FrmMain& f)
{
    if (!f.optionMogisikenMode.value() || f.StartButton_Command.enabled())
        return false;
    const FrmExchangeProgress* p = frmExchangeProgress.ifLoaded();
    return p && p->isShown() && p->progressBarExchange.value() < 11;
}

void offerToClearUserSet()
{
    const bool latin = AlphabetIsLatin == -1;
    if (MsgBox(QStringLiteral("登録文字を全て削除しますか？"), vbYesNo | vbExclamation, QStringLiteral("削除確認"))
        != vbYes)
        return;
    if (latin)
        LatinUserChosen.fill(0);
    else
        KanaUserChosen.fill(0);
}

bool answerLimitReached(FrmMain& f)
{
    return f.textLimitKikitoriMode.text() == QLatin1String("0") && AnswerTimeLimitSec != 0;
}

// The Latin side: code check, answering or registration, the first that applies.
void latinKey(FrmMain& f, int key)
{
    if (f.checkTypeKey.value() != 1)
        return;
    const std::int16_t index = LatinKeyIndex(key);
    if (f.optionKakuninMode.value()) {
        if (index)
            PlayCodeCheckCharacter(LatinCharTable[index]);
        else
            f.Label1.setCaption(QString());
        return;
    }
    if (f.optionKikitoriMode.value() && !f.StartButton_Command.enabled() && !answerLimitReached(f)) {
        // Any key ends the running time limit of the question; only a key that
        // answers keeps a countdown that has not started yet from starting.
        question::keyReached(index != 0 || key == escKey);
        if (index)
            JudgeLatinAnswer(LatinCharTable[index]);
        else if (key == escKey)
            JudgeLatinAnswer(QStringLiteral("ESC"));
        return;
    }
    const int kind = f.comboMogisikenMode.listIndex();
    const bool groupExam = f.comboMogisikenMode.enabled() && (kind == 0 || kind == 1);
    if ((groupExam || f.StartButton_Command.enabled()) && index)
        ToggleLatinUserChosen(index);
}

// Whether the answering or the registration reader took the key.
bool kanaKey(FrmMain& f, int key)
{
    if (RomajiCodeCheckKey(f, key))
        return false;
    return RomajiAnswerKey(f, key) || RomajiRegistrationKey(f, key);
}
} // namespace

std::int16_t LatinKeyIndex(int keyAscii)
{
    for (const LatinKeyRange& r : LatinKeyMap)
        if (keyAscii >= r.firstKey && keyAscii <= r.lastKey)
            return static_cast<std::int16_t>(r.firstIndex + (keyAscii - r.firstKey));
    return 0;
}

void FrmMain::Form_KeyPress(int& keyAscii)
{
    const int key = keyAscii;
    if (key == escKey && conversionRunning(*this)) {
        ConversionCancelRequested = -1;
        GiveBackControlsAfterConversionCancel();
        return;
    }
    if (key == escKey && !optionKakuninMode.value() && StartButton_Command.enabled() && UserSetInForce()) {
        offerToClearUserSet();
        return;
    }
    if (key == escKey && optionKakuninMode.value()) {
        // Stops what sounds and what waits for the bank to sound next.
        DropWaitingPresses();
        if (CodeCheckPlaying == -1)
            CodeCheckStopRequested = -1;
    }
    if (AlphabetIsLatin == -1)
        latinKey(*this, key);
    else if (AlphabetIsLatin == 0 && kanaKey(*this, key) && key == enterKey)
        keyAscii = 0; // the Enter that ends a typed answer or registration presses no focused button
}
