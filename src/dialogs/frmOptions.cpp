#include "dialogs/frmOptions.h"

using namespace forms;

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
    picOptions(0).move(240, 480, 5685, 3780);
    picOptions(1).move(-20000, 480, 5595, 3780);
    picOptions(2).move(-20000, 480, 5685, 3780);
    picOptions(3).move(-20000, 480, 5685, 3780);

    fraSample1.setCaption(QStringLiteral("音質・音量"));
    fraSample1.move(360, 120, 4935, 2265);
    QuarityLabel.setCaption(QStringLiteral("[音質5]"));
    QuarityLabel.move(480, 240, 735, 255);
    for (HScrollBar* s : {&WavQuarityHScroll, &WavVolumeHScroll}) {
        s->setMin(1);
        s->setMax(5);
        s->setSmallChange(1);
        s->setLargeChange(1);
        s->setValue(1);
    }
    WavQuarityHScroll.move(1200, 720, 1575, 255);
    VolumeLabel.setCaption(QStringLiteral("[音量10]"));
    VolumeLabel.move(480, 1320, 735, 255);
    WavVolumeHScroll.move(1200, 1800, 1575, 255);

    fraSample4.setCaption(QStringLiteral("符号再生回数 （1～5回）"));
    fraSample4.move(1440, 480, 2655, 1035);
    textHugouKakuninPlayTimes.setLocked(true);
    textHugouKakuninPlayTimes.setAlignment(Align::Right);
    textHugouKakuninPlayTimes.setMaxLength(1);
    textHugouKakuninPlayTimes.move(1080, 360, 450, 375);
    upDownLoopCw.setMin(1);
    upDownLoopCw.setMax(5);
    upDownLoopCw.setValue(1); // before the buddy: the box stays empty until loaded
    upDownLoopCw.setBuddy(&textHugouKakuninPlayTimes);
    upDownLoopCw.move(840, 360, 255, 375);
    frameHugouSpace.setCaption(QStringLiteral("符号間空白（3～10短点長）"));
    frameHugouSpace.move(1440, 2040, 2655, 975);
    textHugouSpace.setLocked(true);
    textHugouSpace.setAlignment(Align::Right);
    textHugouSpace.setMaxLength(2);
    textHugouSpace.move(960, 360, 450, 375);
    upDownHugouSpace.setMin(3);
    upDownHugouSpace.setMax(10);
    upDownHugouSpace.setValue(3);
    upDownHugouSpace.setBuddy(&textHugouSpace);
    upDownHugouSpace.move(720, 360, 255, 375);

    cmdOK.setCaption(QStringLiteral("OK"));
    cmdOK.move(2520, 4440, 1095, 375);
    cmdCancel.setCaption(QStringLiteral("ｷｬﾝｾﾙ"));
    cmdCancel.move(3720, 4455, 1095, 375);
    setCancelButton(&cmdCancel);
    cmdSave.setCaption(QStringLiteral("設定保存"));
    cmdSave.move(4920, 4440, 1095, 375);
    cmdOK.onClick = [this] { unload(); };
    cmdCancel.onClick = [this] { unload(); };
    onLoad = [this] { centerOnScreen(); };
}
