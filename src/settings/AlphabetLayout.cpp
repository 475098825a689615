#include "settings/AlphabetLayout.h"

#include "practice/frmMain.h"
#include "settings/SharedSettings.h"

void LayOutMainWindowForAlphabet()
{
    FrmMain& f = frmMain();
    const bool latin = AlphabetIsLatin == -1;
    f.setHeight(9030);
    f.setWidth(latin ? 7500 : 10600);
    if (latin) {
        f.frameEngButton.setLeft((f.width() - f.frameEngButton.width() + 130) / 2);
        f.frameJpButton.setLeft(-48000);
    } else {
        f.frameEngButton.setLeft(-48000);
        f.frameJpButton.setLeft((f.width() - f.frameJpButton.width() - 90) / 2);
    }
    f.frameEngButton.setTop(4400);
    f.frameJpButton.setTop(4400);
    f.mnuMojihanni.setVisible(latin);
    f.mnuMojihanniWabun.setVisible(!latin);
}

void FillExamKindList()
{
    FrmMain& f = frmMain();
    const bool latin = AlphabetIsLatin == -1;
    f.comboMogisikenMode.addItem(QStringLiteral("5文字暗文"), 0);
    f.comboMogisikenMode.addItem(QStringLiteral("不定長暗文"), 1);
    f.comboMogisikenMode.addItem(latin ? QStringLiteral("疑似英文") : QStringLiteral("疑似和文"), 2);
    f.comboMogisikenMode.addItem(QStringLiteral("テキスト"), 3);
}

std::array<forms::OptionButton*, 4> ModeOptions(FrmMain& f)
{
    return {&f.optionKakuninMode, &f.optionKikitoriMode, &f.optionKikinagashiMode, &f.optionMogisikenMode};
}
