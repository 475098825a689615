#include "dialogs/dialogMogisikenTxt.h"

DialogMogisikenTxt::DialogMogisikenTxt()
{
    setCaption(QStringLiteral("模擬試験モード　-テキストファイルの登録・作成-"));
    setBorderStyle(forms::Border::FixedDialog);
    setMinButton(false);
    setMaxButton(false);
    setClientSize(9000, 6600);
}
