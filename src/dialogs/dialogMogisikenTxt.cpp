#include "dialogs/dialogMogisikenTxt.h"

DialogMogisikenTxt::DialogMogisikenTxt()
{
    setCaption(QStringLiteral("模擬試験モード　-テキストファイルの登録・作成-"));
    setBorderStyle(forms::Border::FixedDialog);
    setMinButton(false);
    setMaxButton(false);
    setClientSize(9000, 6600);

    const QString uiFont = QStringLiteral("ＭＳ Ｐゴシック");
    labelExplanation.setCaption(QStringLiteral("受信練習に使用するテキストをセットして下さい。"));
    labelExplanation.setFont(uiFont, 9.75f);
    labelExplanation.move(240, 1560, 5775, 615);
    richTextBoxEdit.setFont(uiFont, 15.75f, true);
    richTextBoxEdit.move(0, 0, 6015, 4695);
}
