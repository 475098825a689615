#include "settings/SettingsLoader.h"

#include "dialogs/dialogMogisikenTxt.h"
#include "dialogs/frmOptions.h"
#include "keypad/KeypadRules.h"
#include "keypad/RangeMenus.h"
#include "keypad/RangeTables.h"
#include "keypad/UserChosen.h"
#include "platform/failure.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "practice/frmMain.h"
#include "settings/AlphabetLayout.h"
#include "settings/FirstRunSettings.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsRecords.h"
#include "settings/SharedSettings.h"
#include "synthesis/SoundBank.h"
#include "synthesis/ToneOptions.h"

#include <array>
#include <memory>

using namespace forms;
using platform::ignoreErrors;
using platform::numberText;

namespace {
// The shared variables one alphabet's records load into.
struct AlphabetVariables {
    std::int16_t &wordLenMin, &wordLenMax;
    std::int16_t* wordFileChoice; // the Latin choice is not kept here
    std::array<QString, 4> &titles, &paths;
    std::int16_t &codePlayCount, &codeGapUnits;
};

AlphabetVariables variablesInUse()
{
    if (AlphabetIsLatin == -1)
        return {LatinWordLenMin, LatinWordLenMax, nullptr, LatinWordFileTitle, LatinWordFilePath,
                LatinCodePlayCount, LatinCodeGapUnits};
    return {KanaWordLenMin, KanaWordLenMax, &KanaWordFileChoice, KanaWordFileTitle, KanaWordFilePath,
            KanaCodePlayCount, KanaCodeGapUnits};
}

std::array<OptionButton*, 4> wordFileOptions(FrmOptions& o)
{
    return {&o.optionEntrySampleFile, &o.optionEntryFile1, &o.optionEntryFile2, &o.optionEntryFile3};
}

// The settings file for a load; when it cannot be opened at all, the first-run
// settings in memory, so the window still starts with usable values.
std::unique_ptr<SettingsFile> openForLoad()
{
    std::unique_ptr<SettingsFile> file;
    if (!ignoreErrors([&] { file = std::make_unique<SettingsFile>(); }))
        file = std::make_unique<SettingsFile>(FirstRunSettingsImage());
    return file;
}

// A value read into a fresh temporary: 0 when the read fails.
template <typename Read>
auto readOrZero(Read read) -> decltype(read())
{
    decltype(read()) value{};
    ignoreErrors([&] { value = read(); });
    return value;
}

// Reads into a variable; a failed read leaves it as it was.
template <typename T, typename Read>
void readInto(T& target, Read read)
{
    ignoreErrors([&] { target = read(); });
}

// The layout and every record of the alphabet in use, from the exam-kind list to
// the user-chosen set (and the voiced-kana flag), each step on its own: a step that
// fails is skipped and the next one runs.
void loadAlphabetRecords(FrmMain& f, SettingsFile& file)
{
    const bool latin = AlphabetIsLatin == -1;
    const AlphabetRecords& b = RecordsOf(AlphabetIsLatin);
    const AlphabetVariables v = variablesInUse();

    ignoreErrors([] { LayOutMainWindowForAlphabet(); });
    ignoreErrors([] { FillExamKindList(); });

    const std::int16_t mode = readOrZero([&] { return file.readInt16(b.mode); });
    ignoreErrors([&] {
        if (mode >= 1 && mode <= 4)
            ModeOptions(f)[mode - 1]->setValue(true);
    });
    const std::int16_t tone = readOrZero([&] { return file.readInt16(b.tone); });
    ignoreErrors([&] { f.textToneFreq.setText(numberText(tone)); });
    const std::int16_t speed = readOrZero([&] { return file.readInt16(b.speed); });
    ignoreErrors([&] { f.textCwSpeed.setText(numberText(speed)); });
    const std::int16_t kind = readOrZero([&] { return file.readInt16(b.examKind); });
    ignoreErrors([&] { f.comboMogisikenMode.setListIndex(kind); });
    // The exam kind's reaction sets up the pass button, the range menu and the exam
    // length for a mock exam even when another mode is selected (a receive mode
    // would get "登録・編集" on its pass button), and a mode option that was selected
    // already raised no Click: the selected mode is set up once more, as its click does.
    ignoreErrors([&] {
        if (f.optionKakuninMode.value())
            f.optionKakuninMode_Click();
        else if (f.optionKikitoriMode.value())
            f.optionKikitoriMode_Click();
        else if (f.optionKikinagashiMode.value())
            f.optionKikinagashiMode_Click();
        else if (f.optionMogisikenMode.value())
            f.optionMogisikenMode_Click();
    });
    const std::int16_t minutes = readOrZero([&] { return file.readInt16(b.minutes); });
    ignoreErrors([&] { f.textReceiveTime.setText(numberText(minutes)); });

    const QString sound = readOrZero([&] { return file.readString(SharedRecord::SoundMode); });
    ignoreErrors([&] {
        if (sound == QLatin1String("WAVE")) {
            f.mnuSoundWave.setChecked(true);
            f.mnuSoundBeep.setChecked(false);
        } else if (sound == QLatin1String("WAVE_DELAY")) {
            f.mnuSoundWave.setChecked(false);
            f.mnuSoundBeep.setChecked(false);
        } else if (sound == QLatin1String("BEEP")) {
            f.mnuSoundBeep.setChecked(true);
            f.mnuSoundWave.setChecked(false);
        }
    });

    // The first touch of the options dialog loads it, and its own load reads its
    // records through a second open of the file; the steps below then set the same
    // controls from this load's reads.
    const std::int16_t quality = readOrZero([&] { return file.readInt16(SharedRecord::Quality); });
    ignoreErrors([&] {
        if (quality >= 1 && quality <= 5) {
            frmOptions().QuarityLabel.setCaption(QStringLiteral("[音質%1]").arg(quality));
            frmOptions().WavQuarityHScroll.setValue(quality);
        }
    });
    const std::int16_t volume = readOrZero([&] { return file.readInt16(SharedRecord::Volume); });
    ignoreErrors([&] {
        if (volume >= 1 && volume <= 5) {
            frmOptions().VolumeLabel.setCaption(QStringLiteral("[音量%1]").arg(volume * 2));
            frmOptions().WavVolumeHScroll.setValue(volume);
        }
    });
    const std::int16_t interval = readOrZero([&] { return file.readInt16(SharedRecord::CodeInterval); });
    ignoreErrors([&] {
        FrmOptions& o = frmOptions();
        o.hScrollCodeInterval.setValue(interval);
        if (interval == 0) {
            CodeIntervalFactor = 1.0f;
            o.labelCodeInterval.setCaption(QStringLiteral("遅延時間 ±0%"));
        } else {
            CodeIntervalFactor = static_cast<float>(1 + o.hScrollCodeInterval.value() * 0.01);
            o.labelCodeInterval.setCaption(
                QStringLiteral("遅延時間 %1%2%").arg(interval > 0 ? QStringLiteral("+") : QString()).arg(interval));
        }
    });

    if (latin) {
        const QString key = readOrZero([&] { return file.readString(b.range); });
        ignoreErrors([&] {
            for (int row = 1; row <= LatinRangeCount; ++row) {
                if (key != QLatin1String(LatinRangeTable[row].savedKey))
                    continue;
                for (int r = 1; r <= LatinRangeCount; ++r)
                    f.LatinRangeItem(r).setChecked(r == row);
            }
        });
    } else {
        readInto(KanaRangeIndex, [&] { return file.readInt16(b.range); });
        ignoreErrors([] {
            std::int16_t copy = KanaRangeIndex;
            ApplyKanaRange(copy);
        });
    }

    readInto(v.wordLenMin, [&] { return file.readInt16(b.lowerBound); });
    readInto(v.wordLenMax, [&] { return file.readInt16(b.upperBound); });
    ignoreErrors([&] {
        frmOptions().textLowerBound.setText(numberText(v.wordLenMin));
        frmOptions().textUpperBound.setText(numberText(v.wordLenMax));
    });

    std::int16_t choice = 0;
    readInto(v.wordFileChoice ? *v.wordFileChoice : choice,
             [&] { return file.readInt16(b.wordFileChoice); });
    if (v.wordFileChoice)
        choice = *v.wordFileChoice;
    ignoreErrors([&] {
        if (choice >= 0 && choice <= 3)
            wordFileOptions(frmOptions())[choice]->setValue(true);
    });
    for (int slot = 1; slot <= 3; ++slot) {
        readInto(v.titles[slot], [&] { return file.readString(b.wordFileTitle[slot]); });
        readInto(v.paths[slot], [&] { return file.readString(b.wordFilePath[slot]); });
    }

    readInto(WaveSampleRate, [&] { return SampleRateOfRecord(file.readInt32(SharedRecord::SampleRate)); });
    ignoreErrors([&] {
        if (WaveSampleRate == 8000)
            frmOptions().optionWaveSampLow.setValue(true);
        else if (WaveSampleRate == 16000)
            frmOptions().optionWaveSampHigh.setValue(true);
    });

    readInto(v.codePlayCount, [&] { return file.readInt16(b.codePlayCount); });
    readInto(v.codeGapUnits, [&] { return file.readInt16(b.codeGapUnits); });
    ignoreErrors([&] {
        frmOptions().textHugouKakuninPlayTimes.setText(numberText(v.codePlayCount));
        frmOptions().textHugouSpace.setText(numberText(v.codeGapUnits));
    });

    for (int i = 1; i <= b.userChosenCount; ++i) {
        const int record = b.firstUserChosen + i - 1;
        if (latin)
            readInto(LatinUserChosen[i], [&] { return file.readInt16(record); });
        else
            readInto(KanaUserChosen[i], [&] { return file.readTaggedOrZero(record); });
    }

    if (!latin) {
        readInto(KanaExcludeDakuten, [&] { return file.readInt16(b.excludeDakuten); });
        ignoreErrors([&] {
            if (KanaExcludeDakuten == -1)
                f.checkExceptDakutenHandakuten.setValue(1);
            else if (KanaExcludeDakuten == 0)
                f.checkExceptDakutenHandakuten.setValue(0);
        });
    }
}

// What both loads do after the file is closed.
void loadDialogsAndKeypad()
{
    ignoreErrors([] { dialogMogisikenTxt(); });
    ignoreErrors([] { platform::createFolder(platform::besideProgram(QStringLiteral("sound"))); });
    ignoreErrors([] { ApplyModeToKeypads(); });
}
} // namespace

void LoadSettings()
{
    FrmMain& f = frmMain();
    std::unique_ptr<SettingsFile> file = openForLoad();
    readInto(AlphabetIsLatin, [&] { return file->readInt16(SharedRecord::Alphabet); });
    if (AlphabetIsLatin == -1 || AlphabetIsLatin == 0)
        loadAlphabetRecords(f, *file);
    readInto(AnswerTimeLimitSec, [&] { return file->readInt16(SharedRecord::AnswerLimit); });
    ignoreErrors([&] { f.textLimitKikitoriMode.setText(numberText(AnswerTimeLimitSec)); });
    file.reset();
    loadDialogsAndKeypad();
}

void ReloadSettingsForAlphabet()
{
    FrmMain& f = frmMain();
    f.Label1.setCaption(QString());
    f.Label2.setCaption(QString());
    f.Label4.setCaption(QString());
    for (int i = 0; i < 4; ++i)
        ignoreErrors([&] { f.comboMogisikenMode.removeItem(0); });
    // A hidden options dialog still shows the old alphabet's word-file captions and
    // exam-text method, and a save would store them in the new alphabet's records:
    // unloaded here, its load reads the new alphabet's records inside this load.
    ignoreErrors([] {
        if (frmOptions.isLoaded())
            frmOptions.unload();
    });
    {
        std::unique_ptr<SettingsFile> file = openForLoad();
        if (AlphabetIsLatin == -1 || AlphabetIsLatin == 0)
            loadAlphabetRecords(f, *file);
    }
    loadDialogsAndKeypad();
    ignoreErrors([&] {
        const std::int16_t tone = platform::textToInt16(f.textToneFreq.text());
        BuildSoundBank(f.textCwSpeed.text(), tone, WaveSampleRate);
    });
}
