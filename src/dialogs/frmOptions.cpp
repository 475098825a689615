#include "dialogs/frmOptions.h"

#include "dialogs/DialogFiles.h"
#include "dialogs/OptionsRecords.h"
#include "dialogs/dialogMogisikenTxt.h"
#include "platform/failure.h"
#include "platform/forms/keys.h"
#include "platform/numbers.h"
#include "practice/frmMain.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsRecords.h"
#include "settings/SharedSettings.h"
#include "synthesis/ToneOptions.h"

#include <algorithm>
#include <optional>

using namespace forms;
using platform::ignoreErrors;

namespace {
    // Caption and position of a label, button, option button or frame.
    template <class C>
    void place(C& c, const QString& caption, float left, float top, float width, float height)
    {
        c.setCaption(caption);
        c.move(left, top, width, height);
    }

    void range(HScrollBar& s, int min, int max, int smallChange, int largeChange, int value)
    {
        s.setMin(min);
        s.setMax(max);
        s.setSmallChange(smallChange);
        s.setLargeChange(largeChange);
        s.setValue(value);
    }

    // A locked, right-aligned number box with its spinner. The spinner gets its value
    // before its buddy, so the box stays empty until the settings are loaded into it.
    void spinner(UpDown& u, TextBox& box, int min, int max, int value, int maxLength)
    {
        box.setLocked(true);
        box.setAlignment(Align::Right);
        box.setMaxLength(maxLength);
        u.setMin(min);
        u.setMax(max);
        u.setIncrement(1);
        u.setValue(value);
        u.setBuddy(&box);
    }
}

FrmOptions::FrmOptions()
{
    setCaption(QStringLiteral("設定"));
    setBorderStyle(Border::FixedDialog);
    setMinButton(false);
    setMaxButton(false);
    setKeyPreview(true);
    setClientSize(6150, 4920);

    for (const char16_t* tab : {u"WAVE設定", u"模擬試験", u"単語登録", u"符号確認"})
        tbsOptions.addTab(QString::fromUtf16(tab));
    tbsOptions.move(120, 120, 5895, 4245);
    // The panels blend into the tab strip's page.
    picOptions.forEach([](PictureBox& p) { p.setBorderStyle(0); });
    picOptions(0).move(240, 480, 5685, 3780);
    picOptions(1).move(-20000, 480, 5595, 3780);
    picOptions(2).move(-20000, 480, 5685, 3780);
    picOptions(3).move(-20000, 480, 5685, 3780);

    // Tab 1: sound.
    place(fraSample1, QStringLiteral("音質・音量"), 360, 120, 4935, 2265);
    place(QuarityLabel, QStringLiteral("[音質5]"), 480, 240, 735, 255);
    place(labelQualitySoft, QStringLiteral("柔らかい音質1　"), 720, 480, 1335, 255);
    place(labelQualityHard, QStringLiteral("硬い音質5"), 2400, 480, 855, 255);
    range(WavQuarityHScroll, 1, 5, 1, 1, 1);
    WavQuarityHScroll.move(1200, 720, 1575, 255);
    place(VolumeLabel, QStringLiteral("[音量10]"), 480, 1320, 735, 255);
    place(labelVolumeLow, QStringLiteral("小さい"), 1080, 1560, 495, 255);
    place(labelVolumeHigh, QStringLiteral("大きい"), 2520, 1560, 615, 255);
    range(WavVolumeHScroll, 1, 5, 1, 1, 1);
    WavVolumeHScroll.move(1200, 1800, 1575, 255);

    place(frameCodeInterval, QStringLiteral("符号間隔調整（聞き流しモード）"), 360, 2520, 3615, 1095);
    // Room for the widest reading, "遅延時間 +100%", in the stand-in font: the label is
    // 105 twips wider and the slider 120 further right than the Windows layout had them.
    place(labelCodeInterval, QStringLiteral("遅延時間 ±0%"), 360, 480, 1560, 240);
    labelCodeInterval.setFontSize(9.75f);
    range(hScrollCodeInterval, -100, 100, 1, 10, 0);
    hScrollCodeInterval.move(1920, 480, 1335, 255);
    place(TestButton, QStringLiteral("テスト"), 4320, 2610, 855, 375);
    place(cmdStandardCw, QStringLiteral("標準CW"), 4320, 3210, 855, 375);

    // Tab 2: mock exam.
    place(frameMogiTango, QStringLiteral("不定長暗文モード（単語文字数）"), 120, 120, 3380, 975);
    spinner(upDownLowerBound, textLowerBound, 1, 10, 1, 2);
    upDownLowerBound.move(120, 360, 255, 375);
    textLowerBound.move(360, 360, 360, 375);
    place(labelLowerBound, QStringLiteral("文字から"), 720, 450, 735, 255);
    spinner(upDownUpperBound, textUpperBound, 1, 10, 1, 2);
    upDownUpperBound.move(1440, 360, 255, 375);
    textUpperBound.move(1680, 360, 360, 375);
    place(labelUpperBound, QStringLiteral("文字までの範囲"), 2040, 450, 1230, 255);

    place(frameTextMode, QStringLiteral("テキストモード"), 3600, 120, 1935, 975);
    place(optionTextRandom, QStringLiteral("ランダム"), 240, 240, 1095, 255);
    optionTextRandom.setToolTipText(QStringLiteral("登録テキストをランダムに選択します。"));
    optionTextRandom.setValue(true);
    place(optionTextSelect, QStringLiteral("試験時選択"), 240, 600, 1215, 255);
    optionTextSelect.setToolTipText(QStringLiteral("試験の都度、問題ファイルを指定します。"));
    place(cmdTextSet, QStringLiteral("登録"), 4920, 30, 615, 375);

    place(frameEntryFile, QStringLiteral("疑似英文登録ファイル"), 120, 1200, 5415, 1335);
    place(optionEntrySampleFile, QStringLiteral("サンプルファイル"), 2040, 15, 1590, 180);
    // The slots' captions stay empty until the settings are loaded.
    optionEntryFile1.move(360, 330, 3735, 180);
    optionEntryFile2.move(360, 620, 3735, 180);
    optionEntryFile3.move(360, 920, 3735, 180);
    place(cmdEntryFile, QStringLiteral("登録"), 4440, 240, 615, 255);
    place(cmdEditEntryFile, QStringLiteral("編集"), 4440, 600, 615, 255);
    place(cmdDeleteEntryFile, QStringLiteral("削除"), 4440, 960, 615, 255);

    place(frameWavePlay, QStringLiteral("WAVE再生"), 120, 2640, 5415, 1095);
    place(labelSampleRate, QStringLiteral("問題ファイル作成時間 [ サンプリング周波数 ]"), 600, 360, 3495, 255);
    place(optionWaveSampHigh, QStringLiteral("遅い [ 16khz ]"), 840, 600, 1695, 375);
    place(optionWaveSampLow, QStringLiteral("速い [ 8khz ]"), 2880, 600, 1935, 375);

    // Tab 3: word list.
    place(labelLastCountEntryWords, QStringLiteral("登録単語数：**　（最大30）"), 120, 0, 2295, 255);
    place(Label8, QStringLiteral("※最後の単語は、改行しないで下さい。"), 2520, 0, 3015, 255);
    richTextBoxEntryWords.move(0, 360, 5655, 3375);

    // Tab 4: code check.
    place(fraSample4, QStringLiteral("符号再生回数 （1～5回）"), 1440, 480, 2655, 1035);
    spinner(upDownLoopCw, textHugouKakuninPlayTimes, 1, 5, 1, 1);
    upDownLoopCw.move(840, 360, 255, 375);
    textHugouKakuninPlayTimes.move(1080, 360, 450, 375);
    place(labelPlayTimesUnit, QStringLiteral("回"), 1580, 460, 255, 255);
    place(frameHugouSpace, QStringLiteral("符号間空白（3～10短点長）"), 1440, 2040, 2655, 975);
    spinner(upDownHugouSpace, textHugouSpace, 3, 10, 3, 2);
    upDownHugouSpace.move(720, 360, 255, 375);
    textHugouSpace.move(960, 360, 450, 375);
    place(labelHugouSpaceUnit, QStringLiteral("短点長"), 1490, 460, 615, 255);

    place(cmdOK, QStringLiteral("OK"), 2520, 4440, 1095, 375);
    place(cmdCancel, QStringLiteral("ｷｬﾝｾﾙ"), 3720, 4455, 1095, 375);
    setCancelButton(&cmdCancel);
    place(cmdSave, QStringLiteral("設定保存"), 4920, 4440, 1095, 375);

    // Every label is one line on its container's face.
    for (Label* l : {&QuarityLabel, &labelQualitySoft, &labelQualityHard, &VolumeLabel, &labelVolumeLow,
             &labelVolumeHigh, &labelCodeInterval, &labelLowerBound, &labelUpperBound, &labelSampleRate,
             &labelLastCountEntryWords, &Label8, &labelPlayTimesUnit, &labelHugouSpaceUnit}) {
        l->setBackStyle(0);
        l->setWordWrap(false);
    }

    onLoad = [this] { Form_Load(); };
    onKeyDown = [this](int& keyCode, int shift) { Form_KeyDown(keyCode, shift); };
    tbsOptions.onClick = [this] { tbsOptions_Click(); };
    cmdOK.onClick = [this] { cmdOK_Click(); };
    cmdCancel.onClick = [this] { cmdCancel_Click(); };
    cmdSave.onClick = [this] { cmdSave_Click(); };
    cmdTextSet.onClick = [this] { cmdTextSet_Click(); };
    optionTextRandom.onClick = [this] { SettingChanged(); };
    optionTextSelect.onClick = [this] { SettingChanged(); };
    textLowerBound.onChange = [this] { textLowerBound_Change(); };
    for (TextBox* box : {&textLowerBound, &textUpperBound}) {
        box->onKeyPress = [this](int& keyAscii) { Bound_KeyPress(keyAscii); };
        box->onLostFocus = [this, box] { Bound_LostFocus(*box); };
    }
    for (UpDown* u : {&upDownLowerBound, &upDownUpperBound, &upDownLoopCw, &upDownHugouSpace})
        u->onChange = [this] { SettingChanged(); };

    WavQuarityHScroll.onChange = [this] { WavQuarityHScroll_Change(); };
    WavVolumeHScroll.onChange = [this] { WavVolumeHScroll_Change(); };
    hScrollCodeInterval.onChange = [this] { hScrollCodeInterval_Change(); };
    optionWaveSampLow.onClick = [this] { optionWaveSampLow_Click(); };
    optionWaveSampHigh.onClick = [this] { optionWaveSampHigh_Click(); };
    TestButton.onClick = [this] { TestButton_Click(); };
    cmdStandardCw.onClick = [this] { cmdStandardCw_Click(); };

    optionEntrySampleFile.onClick = [this] { optionEntrySampleFile_Click(); };
    optionEntryFile1.onClick = [this] { optionEntryFile_Click(1); };
    optionEntryFile2.onClick = [this] { optionEntryFile_Click(2); };
    optionEntryFile3.onClick = [this] { optionEntryFile_Click(3); };
    cmdEntryFile.onClick = [this] { cmdEntryFile_Click(); };
    cmdEditEntryFile.onClick = [this] { cmdEditEntryFile_Click(); };
    cmdDeleteEntryFile.onClick = [this] { cmdDeleteEntryFile_Click(); };
    richTextBoxEntryWords.onKeyPress = [this](int&) { SettingChanged(); };
    // A change made without a key press (Delete, Shift+Insert, a paste by the mouse or
    // the editor's menu, a drop) is an edit of the word list as well.
    richTextBoxEntryWords.onChange = [this] {
        if (!writingWordList_)
            SettingChanged();
    };
    // Until a word file is loaded the editor holds no file's text.
    richTextBoxEntryWords.setLocked(true);
}

void FrmOptions::SettingChanged() { cmdSave.setEnabled(true); }

void FrmOptions::Form_Load()
{
    // A settings file that cannot be read leaves the design values; the save says
    // so if it cannot write either.
    ignoreErrors([&] { LoadOptionSettings(); });
    cmdSave.setEnabled(false);
    centerOnScreen();
}

namespace {
// A stored number outside its spinner's range (a file written elsewhere) is taken
// as the nearest value the spinner can show.
std::int16_t inRange(std::int16_t value, int low, int high)
{
    return static_cast<std::int16_t>(std::clamp<int>(value, low, high));
}

// The number a locked box holds, within its spinner's range. A box that holds no
// number (only code can put one there) keeps the value last loaded or saved, and
// the box is set to what is stored, so what it shows is what was saved.
std::int16_t boxValue(TextBox& box, int low, int high, std::int16_t previous)
{
    std::optional<std::int16_t> n;
    ignoreErrors([&] { n = platform::textToInt16(box.text()); });
    const std::int16_t value = inRange(n.value_or(previous), low, high);
    const QString text = platform::numberText(value);
    if (!n || *n != value || box.text() != text)
        box.setText(text);
    return value;
}
} // namespace

// The records are read one by one: one that cannot be read leaves its control as
// designed and the others still load.
void FrmOptions::LoadOptionSettings()
{
    SettingsFile file;
    auto read16 = [&](int record, auto&& use) {
        ignoreErrors([&] { use(file.readInt16(record)); });
    };

    read16(SharedRecord::Quality, [&](std::int16_t q) {
        if (q >= 1 && q <= 5) {
            QuarityLabel.setCaption(QualityCaption(q));
            WavQuarityHScroll.setValue(q);
        }
    });
    LastWaveQuality = static_cast<std::int16_t>(WavQuarityHScroll.value());
    read16(SharedRecord::Volume, [&](std::int16_t v) {
        if (v >= 1 && v <= 5) {
            VolumeLabel.setCaption(VolumeCaption(v));
            WavVolumeHScroll.setValue(v);
        }
    });
    LastWaveVolume = static_cast<std::int16_t>(WavVolumeHScroll.value());
    read16(SharedRecord::CodeInterval, [&](std::int16_t p) {
        const int percent = inRange(p, hScrollCodeInterval.min(), hScrollCodeInterval.max());
        hScrollCodeInterval.setValue(percent);
        ShowCodeInterval(percent);
    });
    ignoreErrors([&] {
        WaveSampleRate = SampleRateOfRecord(file.readInt32(SharedRecord::SampleRate));
        if (WaveSampleRate == 8000)
            optionWaveSampLow.setValue(true);
        else if (WaveSampleRate == 16000)
            optionWaveSampHigh.setValue(true);
    });

    if (AlphabetIsLatin != -1 && AlphabetIsLatin != 0)
        return;
    const AlphabetRecords& r = RecordsOf(AlphabetIsLatin);
    const OptionsVariables v = OptionsVariablesOf(AlphabetIsLatin);
    read16(r.lowerBound, [&](std::int16_t n) {
        v.lower = inRange(n, 1, 10);
        textLowerBound.setText(platform::numberText(v.lower));
    });
    read16(r.upperBound, [&](std::int16_t n) {
        v.upper = inRange(n, 1, 10);
        textUpperBound.setText(platform::numberText(v.upper));
    });
    read16(r.wordFileChoice, [&](std::int16_t n) {
        v.choice = n;
        if (n == 0)
            optionEntrySampleFile.setValue(true);
        else if (n >= 1 && n <= 3)
            EntryFileOption(n).setValue(true);
    });
    for (int i = 1; i <= 3; ++i) {
        ignoreErrors([&] { v.title[i] = file.readString(r.wordFileTitle[i]); });
        ignoreErrors([&] { v.path[i] = file.readString(r.wordFilePath[i]); });
        EntryFileOption(i).setCaption(v.title[i].isEmpty() ? NoWordFileCaption() : v.title[i]);
    }
    read16(r.codePlayCount, [&](std::int16_t n) {
        v.playCount = inRange(n, upDownLoopCw.min(), upDownLoopCw.max());
        textHugouKakuninPlayTimes.setText(platform::numberText(v.playCount));
    });
    read16(r.codeGapUnits, [&](std::int16_t n) {
        v.gapUnits = inRange(n, upDownHugouSpace.min(), upDownHugouSpace.max());
        textHugouSpace.setText(platform::numberText(v.gapUnits));
    });
    read16(r.examTextSelectMode, [&](std::int16_t n) {
        v.textSelectMode = n;
        if (n == 1)
            optionTextRandom.setValue(true);
        else if (n == 2)
            optionTextSelect.setValue(true);
    });
}

bool FrmOptions::SaveOptionSettings()
{
    LastWaveQuality = static_cast<std::int16_t>(WavQuarityHScroll.value());
    LastWaveVolume = static_cast<std::int16_t>(WavVolumeHScroll.value());
    const bool twin = AlphabetIsLatin == -1 || AlphabetIsLatin == 0;
    // The word list first: when it cannot be written nothing is saved and the
    // learner's words stay in the editor.
    if (twin && !SaveWordList())
        return false;

    const bool saved = WriteSettings([&](SettingsFile& file) {
        file.writeInt16(SharedRecord::Quality, static_cast<std::int16_t>(WavQuarityHScroll.value()));
        file.writeInt16(SharedRecord::Volume, static_cast<std::int16_t>(WavVolumeHScroll.value()));
        file.writeInt16(SharedRecord::CodeInterval, static_cast<std::int16_t>(hScrollCodeInterval.value()));
        file.writeInt32(SharedRecord::SampleRate, WaveSampleRate);
        if (!twin)
            return;
        const AlphabetRecords& r = RecordsOf(AlphabetIsLatin);
        const OptionsVariables v = OptionsVariablesOf(AlphabetIsLatin);
        v.lower = boxValue(textLowerBound, 1, 10, v.lower);
        file.writeInt16(r.lowerBound, v.lower);
        v.upper = boxValue(textUpperBound, 1, 10, v.upper);
        file.writeInt16(r.upperBound, v.upper);
        if (optionEntrySampleFile.value())
            v.choice = 0;
        else if (const int slot = SelectedSlot())
            v.choice = static_cast<std::int16_t>(slot);
        file.writeInt16(r.wordFileChoice, v.choice);
        for (int i = 1; i <= 3; ++i) {
            file.writeString(r.wordFileTitle[i], v.title[i]);
            file.writeString(r.wordFilePath[i], v.path[i]);
        }
        v.playCount = boxValue(textHugouKakuninPlayTimes, upDownLoopCw.min(), upDownLoopCw.max(), v.playCount);
        file.writeInt16(r.codePlayCount, v.playCount);
        v.gapUnits = boxValue(textHugouSpace, upDownHugouSpace.min(), upDownHugouSpace.max(), v.gapUnits);
        file.writeInt16(r.codeGapUnits, v.gapUnits);
        if (optionTextRandom.value()) {
            dialogMogisikenTxt().optionTextRandom.setValue(true);
            v.textSelectMode = 1;
        } else if (optionTextSelect.value()) {
            dialogMogisikenTxt().optionTestSelect.setValue(true);
            v.textSelectMode = 2;
        }
        file.writeInt16(r.examTextSelectMode, v.textSelectMode);
    });
    if (saved)
        cmdSave.setEnabled(false);
    return saved;
}

void FrmOptions::cmdOK_Click()
{
    if (SaveOptionSettings())
        unload();
}

void FrmOptions::cmdSave_Click() { SaveOptionSettings(); }

void FrmOptions::cmdCancel_Click() { unload(); }

void FrmOptions::cmdTextSet_Click()
{
    unload();
    FrmMain& m = frmMain();
    DialogMogisikenTxt& d = dialogMogisikenTxt();
    d.centerOn(m);
    d.showModal();
}

// Ctrl+Tab steps through the tabs, from the last back to the first.
void FrmOptions::Form_KeyDown(int& keyCode, int shift)
{
    if (keyCode != 9 || shift != vbCtrlMask)
        return;
    const int selected = tbsOptions.selectedIndex();
    tbsOptions.selectTab(selected == tbsOptions.tabCount() ? 1 : selected + 1);
}

void FrmOptions::Bound_KeyPress(int& keyAscii)
{
    if (!forms::passesDigitFilter(keyAscii))
        keyAscii = 0;
}

void FrmOptions::Bound_LostFocus(TextBox& box)
{
    const QString t = box.text();
    if (t.isEmpty() || t == QLatin1String("0") || t == QLatin1String("00"))
        box.setText(QStringLiteral("1"));
    if (platform::isNumericText(box.text()) && platform::textToDouble(box.text()) > 10)
        box.setText(QStringLiteral("10"));
}

// The upper bound follows a lower bound raised above it; a lower upper bound set
// afterwards stays.
void FrmOptions::textLowerBound_Change()
{
    auto number = [](const TextBox& box) {
        std::int16_t n = 0;
        ignoreErrors([&] { n = platform::textToInt16(box.text()); });
        return n;
    };
    const std::int16_t lower = number(textLowerBound);
    const std::int16_t upper = number(textUpperBound);
    if (lower <= 10 && upper < lower)
        textUpperBound.setText(platform::numberText(lower));
}

// The selected tab's panel comes into view and takes input; the others leave the view
// and are disabled, so nothing on a hidden panel takes the focus.
void FrmOptions::tbsOptions_Click()
{
    for (int i = 0; i < tbsOptions.tabCount(); ++i) {
        const bool selected = tbsOptions.tabSelected(i + 1);
        picOptions(i).setLeft(selected ? 210 : -20000);
        picOptions(i).setEnabled(selected);
        if (selected && i == 2)
            LoadWordList();
    }
}
