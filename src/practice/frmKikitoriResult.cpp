#include "practice/frmKikitoriResult.h"

#include "platform/failure.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "practice/QuenModule.h"
#include "practice/RunState.h"
#include "practice/frmMain.h"
#include "settings/SharedSettings.h"

using namespace forms;

namespace {
const QString uiFont = QStringLiteral("ＭＳ Ｐゴシック");

// The labels of the Latin miss list: the character and ":", except the two marks
// that have names.
QString latinMissLabel(int i)
{
    if (i == 37)
        return QStringLiteral("終点:");
    if (i == 38)
        return QStringLiteral("小読点:");
    return LatinCharTable[i] + QLatin1Char(':');
}
} // namespace

FrmKikitoriResult::FrmKikitoriResult()
{
    setCaption(QStringLiteral("聞き取り成績"));
    setBorderStyle(Border::FixedDialog);
    setMinButton(false);
    setMaxButton(false);
    setClientSize(5055, 6615);

    SyutudaiLabel.setFont(uiFont, 14.25f);
    SyutudaiLabel.setAlignment(Align::Right);
    SyutudaiLabel.move(960, 240, 615, 375);
    Label2.setCaption(QStringLiteral("問中"));
    Label2.setFont(uiFont, 14.25f);
    Label2.move(1560, 240, 615, 495);
    SeikaiLabel.setFont(uiFont, 14.25f);
    SeikaiLabel.setForeColor(vbRed);
    SeikaiLabel.setAlignment(Align::Right);
    SeikaiLabel.move(2640, 240, 615, 375);
    Label4.setCaption(QStringLiteral("問正解"));
    Label4.setFont(uiFont, 14.25f);
    Label4.move(3240, 240, 855, 375);
    Frame1.setCaption(QStringLiteral("不正解符号リスト"));
    Frame1.setFont(uiFont, 9);
    Frame1.move(240, 960, 4575, 4815);
    HuseikaiListLabel.setFont(uiFont, 12);
    HuseikaiListLabel.setWordWrap(true);
    HuseikaiListLabel.move(120, 480, 4335, 4215);
    CloseButton.setCaption(QStringLiteral("閉じる"));
    CloseButton.move(1920, 6000, 1215, 375);

    onLoad = [this] { Form_Load(); };
    onUnload = [this](int&) { HuseikaiList_Buf.clear(); };
    CloseButton.onClick = [this] { unload(); };
}

QString ScoreIconFileFor(std::int16_t asked, std::int16_t right)
{
    const float ratio = static_cast<float>(static_cast<double>(right) / asked);
    const char* name = nullptr;
    if (ratio == 1.0f)
        name = "Perfect.gaz";
    else if (ratio < 1.0f && ratio >= 0.8f)
        name = "Good.gaz";
    else if (ratio < 0.8f && ratio >= 0.5f)
        name = "Soso.gaz";
    else if (ratio < 0.5f && ratio >= 0.0f)
        name = "Bad.gaz";
    return name ? platform::besideProgram(QString::fromLatin1(name)) : QString();
}

void FrmKikitoriResult::Form_Load()
{
    FrmMain& m = frmMain();
    SyutudaiLabel.setCaption(m.Label4.caption());
    SeikaiLabel.setCaption(m.Label2.caption());
    const std::int16_t asked = platform::textToInt16(SyutudaiLabel.caption());
    const std::int16_t right = platform::textToInt16(SeikaiLabel.caption());
    setIcon(QPixmap());
    // A missing or unreadable picture is no picture.
    const QString icon = ScoreIconFileFor(asked, right);
    if (!icon.isEmpty())
        setIcon(loadPicture(icon));

    if (AlphabetIsLatin == -1) {
        for (int i = 1; i <= LatinCharCount; ++i) {
            if (LatinMissCount[i] == 0)
                continue;
            platform::saturatingIncrement(MissListCount);
            HuseikaiList_Buf += latinMissLabel(i) + platform::numberText(LatinMissCount[i]) + QStringLiteral("回　");
            if (MissListCount % 5 == 0 && MissListCount <= 35)
                HuseikaiList_Buf += QStringLiteral("\r\r\n");
        }
    } else if (AlphabetIsLatin == 0) {
        for (int i = 1; i <= KanaCharCount; ++i) {
            if (KanaMissCount[i] == 0)
                continue;
            platform::saturatingIncrement(MissListCount);
            HuseikaiList_Buf += GetKanaText(static_cast<std::int16_t>(i)) + QLatin1Char(':')
                + platform::numberText(KanaMissCount[i]) + QStringLiteral("回　");
        }
    }
    HuseikaiListLabel.setCaption(HuseikaiList_Buf);
    if (asked == right)
        HuseikaiListLabel.setCaption(QStringLiteral("不正解の符号なし。"));
}
