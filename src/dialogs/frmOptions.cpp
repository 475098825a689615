#include "dialogs/frmOptions.h"

using namespace forms;

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

    tbsOptions.onClick = [this] { tbsOptions_Click(); };
    cmdOK.onClick = [this] { unload(); };
    cmdCancel.onClick = [this] { unload(); };
    onLoad = [this] { centerOnScreen(); };
}

// The selected tab's panel comes into view and takes input; the others leave the view
// and are disabled, so nothing on a hidden panel takes the focus.
void FrmOptions::tbsOptions_Click()
{
    for (int i = 0; i < tbsOptions.tabCount(); ++i) {
        const bool selected = tbsOptions.tabSelected(i + 1);
        picOptions(i).setLeft(selected ? 210 : -20000);
        picOptions(i).setEnabled(selected);
    }
}
