#include "synthesis/frmExchangeProgress.h"

#include "practice/frmMain.h"

std::int16_t ConversionCancelRequested = 0;

FrmExchangeProgress::FrmExchangeProgress()
{
    setCaption(QStringLiteral("変換処理中"));
    setBorderStyle(forms::Border::FixedDialog);
    setMinButton(false);
    setMaxButton(false);
    setShowInTaskbar(false);
    setClientSize(2790, 840);
    progressBarExchange.setMin(0);
    progressBarExchange.setMax(11);
    progressBarExchange.move(240, 240, 2295, 375);
    onKeyPress = [this](int& keyAscii) { Form_KeyPress(keyAscii); };
}

void GiveBackControlsAfterConversionCancel() { frmMain().GiveBackExamControls(); }

void FrmExchangeProgress::Form_KeyPress(int& keyAscii)
{
    FrmMain& m = frmMain();
    const bool mockExam = m.optionMogisikenMode.value();
    const bool startEnabled = m.StartButton_Command.enabled();
    const float value = progressBarExchange.value();
    if (keyAscii == 27 && value != 11 && !startEnabled && mockExam) {
        ConversionCancelRequested = -1;
        GiveBackControlsAfterConversionCancel();
    }
}
