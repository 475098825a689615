#include "dialogs/frmAbout.h"

FrmAbout::FrmAbout()
{
    setCaption(QStringLiteral("バージョン情報"));
    setBorderStyle(forms::Border::FixedDialog);
    setMinButton(false);
    setMaxButton(false);
    setShowInTaskbar(false);
    setClientSize(5400, 3300);
}
