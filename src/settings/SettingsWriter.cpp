// The main window's settings of the alphabet in use, written back at the alphabet
// switch and at the end of the program.
#include "settings/SettingsWriter.h"

#include "keypad/RangeTables.h"
#include "keypad/UserChosen.h"
#include "platform/numbers.h"
#include "practice/frmMain.h"
#include "settings/AlphabetLayout.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsRecords.h"
#include "settings/SharedSettings.h"

#include <array>

using namespace forms;

namespace {
// The practice mode 1..4 of the first selected mode option, 0 when none is.
std::int16_t selectedMode(FrmMain& f)
{
    const auto options = ModeOptions(f);
    for (std::size_t i = 0; i < options.size(); ++i)
        if (options[i]->value())
            return static_cast<std::int16_t>(i + 1);
    return 0;
}

std::int16_t checkedKanaRange(FrmMain& f)
{
    for (int i = 1; i <= 18; ++i)
        if (f.mnuMojihanniWabun_Hani(i).checked())
            return static_cast<std::int16_t>(i);
    return 0;
}
} // namespace

void SaveMainSettings()
{
    FrmMain& f = frmMain();
    // Before the file is opened: a box that holds no number stops the save with
    // nothing written.
    const std::int16_t tone = platform::textToInt16(f.textToneFreq.text());
    const std::int16_t speed = platform::textToInt16(f.textCwSpeed.text());
    const std::int16_t minutes = platform::textToInt16(f.textReceiveTime.text());

    SettingsFile file;
    if (AlphabetIsLatin == -1 || AlphabetIsLatin == 0) {
        const bool latin = AlphabetIsLatin == -1;
        const AlphabetRecords& r = RecordsOf(AlphabetIsLatin);
        file.writeInt16(SharedRecord::Alphabet, AlphabetIsLatin);
        if (const std::int16_t mode = selectedMode(f))
            file.writeInt16(r.mode, mode);
        file.writeInt16(r.tone, tone);
        file.writeInt16(r.speed, speed);
        file.writeInt16(r.examKind, static_cast<std::int16_t>(f.comboMogisikenMode.listIndex()));
        file.writeInt16(r.minutes, minutes);
        if (f.mnuSoundWave.checked())
            file.writeString(SharedRecord::SoundMode, QStringLiteral("WAVE"));
        else if (f.mnuSoundBeep.checked())
            file.writeString(SharedRecord::SoundMode, QStringLiteral("BEEP"));
        if (latin) {
            if (const int row = CheckedLatinRangeRow())
                file.writeString(r.range, QString::fromLatin1(LatinRangeTable[row].savedKey));
            for (int i = 1; i <= r.userChosenCount; ++i)
                file.writeInt16(r.firstUserChosen + i - 1, LatinUserChosen[i]);
        } else {
            file.writeInt16(r.range, checkedKanaRange(f));
            for (int i = 1; i <= r.userChosenCount; ++i)
                file.writeTagged(r.firstUserChosen + i - 1, KanaUserChosen[i]);
            if (f.checkExceptDakutenHandakuten.value() == 1)
                KanaExcludeDakuten = -1;
            else if (f.checkExceptDakutenHandakuten.value() == 0)
                KanaExcludeDakuten = 0;
            file.writeInt16(r.excludeDakuten, KanaExcludeDakuten);
        }
    }
    file.writeInt16(SharedRecord::AnswerLimit, AnswerTimeLimitSec);
}
