// The practice-mode panel: mode and exam-kind selectors, the voiced-kana box, the
// speed presets and the numeric boxes with their digit filters and clamps.
#include "practice/frmMain.h"

#include "keypad/KeypadRules.h"
#include "keypad/RangeMenus.h"
#include "platform/failure.h"
#include "platform/forms/keys.h"
#include "platform/numbers.h"
#include "settings/SharedSettings.h"

#include <QRegularExpression>
#include <optional>

using namespace forms;

Menu& FrmMain::RangeMenuOfAlphabet() { return AlphabetIsLatin == -1 ? mnuMojihanni : mnuMojihanniWabun; }

bool FrmMain::UserSetInForce()
{
    if (AlphabetIsLatin == -1)
        return mnuMojihanniUserChose.checked();
    return AlphabetIsLatin == 0 && mnuMojihanniWabun_Hani(18).checked();
}

Timer& FrmMain::BlinkTimerOfAlphabet()
{
    return AlphabetIsLatin == -1 ? timerUserChoseLetters : timerUserChoseJpLetters;
}

void FrmMain::SetReceiveTimeGroup(bool on)
{
    textReceiveTime.setEnabled(on);
    labelReceiveTime.setEnabled(on);
    upDownReceiveTime.setEnabled(on);
    textReceiveTime.setBackColor(on ? vbWindowBackground : vbScrollBars);
}

void FrmMain::SetTypeKeyTrio(bool enabled)
{
    checkTypeKey.setEnabled(enabled);
    checkTypeKeyLeftLabel.setEnabled(enabled);
    checkTypeKeyRightLabel.setEnabled(enabled);
}

void FrmMain::optionKakuninMode_Click()
{
    Label1.setCaption(QString());
    Label1.setForeColor(vbBlack);
    Label2.setEnabled(false);
    Label4.setEnabled(false);
    SetTypeKeyTrio(true);
    checkTypeKey.setValue(1);
    textLimitKikitoriMode.setEnabled(false);
    upDownLimitKikitoriMode.setEnabled(false);
    ApplyModeToKeypads();
}

namespace {
// The steps single-character receive and listen-through share; receive differs
// in the right-answer label, the pass button and the answer-limit pair.
void runModeSelected(FrmMain& f, bool receive)
{
    f.Label1.setCaption(QString());
    f.Label2.setEnabled(receive);
    f.Label4.setEnabled(true);
    f.comboMogisikenMode.setEnabled(false);
    f.GiveBackStart();
    f.StopButton_Command.setEnabled(true);
    f.KaitoupassButton_Command.setEnabled(receive);
    f.SetReceiveTimeGroup(false);
    f.textLimitKikitoriMode.setEnabled(receive);
    f.upDownLimitKikitoriMode.setEnabled(receive);
    f.RangeMenuOfAlphabet().setEnabled(true);
    ApplyModeToKeypads();
    if (AlphabetIsLatin == 0) {
        std::int16_t checked = 0;
        ApplyKanaRange(checked);
    }
    if (receive)
        f.KaitoupassButton_Command.setCaption(QStringLiteral("解答パス"));
    if (f.UserSetInForce()) {
        f.BlinkTimerOfAlphabet().setEnabled(true);
        f.SetTypeKeyTrio(true);
        f.checkTypeKey.setValue(1);
    } else {
        f.SetTypeKeyTrio(false);
        f.checkTypeKey.setValue(0);
    }
}
} // namespace

void FrmMain::optionKikitoriMode_Click() { runModeSelected(*this, true); }

void FrmMain::optionKikinagashiMode_Click() { runModeSelected(*this, false); }

void FrmMain::optionMogisikenMode_Click()
{
    const int kind = comboMogisikenMode.listIndex();
    comboMogisikenMode.setEnabled(true);
    comboMogisikenMode.setLocked(false);
    if (kind == 0 || kind == 1) {
        mnuMojihanni.setEnabled(true);
        KaitoupassButton_Command.setEnabled(false);
        BlinkTimerOfAlphabet().setEnabled(true);
        SetReceiveTimeGroup(true);
    } else if (kind == 2 || kind == 3) {
        mnuMojihanni.setEnabled(false);
        KaitoupassButton_Command.setCaption(QStringLiteral("登録・編集"));
        KaitoupassButton_Command.setEnabled(true);
        SetReceiveTimeGroup(kind == 2);
    }
    GiveBackStart();
    StopButton_Command.setEnabled(true);
    mnuChange.setEnabled(true);
    textLimitKikitoriMode.setEnabled(false);
    upDownLimitKikitoriMode.setEnabled(false);
    if (AlphabetIsLatin == 0) {
        if (kind == 0 || kind == 1) {
            mnuMojihanniWabun.setEnabled(true);
            std::int16_t checked = 0;
            ApplyKanaRange(checked);
        } else if (kind == 2 || kind == 3) {
            mnuMojihanniWabun.setEnabled(false);
            checkExceptDakutenHandakuten.setEnabled(false);
        }
    }
    ApplyModeToKeypads();
}

void FrmMain::comboMogisikenMode_Click()
{
    const int kind = comboMogisikenMode.listIndex();
    if (AlphabetIsLatin == -1) {
        if (kind == 0 || kind == 1) {
            mnuMojihanni.setEnabled(true);
            KaitoupassButton_Command.setEnabled(false);
            timerUserChoseLetters.setEnabled(true);
            SetReceiveTimeGroup(true);
        } else if (kind == 2 || kind == 3) {
            mnuMojihanni.setEnabled(false);
            KaitoupassButton_Command.setCaption(QStringLiteral("登録・編集"));
            KaitoupassButton_Command.setEnabled(true);
            if (kind == 2)
                SetReceiveTimeGroup(true);
        }
    } else if (AlphabetIsLatin == 0) {
        if (kind == 0 || kind == 1) {
            mnuMojihanniWabun.setEnabled(true);
            KaitoupassButton_Command.setEnabled(false);
            timerUserChoseJpLetters.setEnabled(true);
        } else if (kind == 2 || kind == 3) {
            mnuMojihanniWabun.setEnabled(false);
            KaitoupassButton_Command.setCaption(QStringLiteral("登録・編集"));
            KaitoupassButton_Command.setEnabled(true);
            checkExceptDakutenHandakuten.setEnabled(false);
        }
    }
    ApplyModeToKeypads();
}

void FrmMain::checkExceptDakutenHandakuten_Click()
{
    if (checkExceptDakutenHandakuten.value() == 1)
        KanaExcludeDakuten = -1;
    else if (checkExceptDakutenHandakuten.value() == 0)
        KanaExcludeDakuten = 0;
}

void FrmMain::textCwSpeed_Change()
{
    const QString text = textCwSpeed.text();
    OptionButton* const presets[] = {&optionSpeed25, &optionSpeed45, &optionSpeed60, &optionSpeed80};
    if (text.isEmpty())
        return;
    for (OptionButton* o : presets) {
        if (o->caption() == text) {
            o->setValue(true);
            return;
        }
    }
    for (OptionButton* o : presets)
        o->setValue(false);
}

void FrmMain::DigitFilter_KeyPress(int& keyAscii)
{
    if (!forms::passesDigitFilter(keyAscii))
        keyAscii = 0;
}

void FrmMain::NumericBox_Click(TextBox& box)
{
    if (!checkTypeKey.enabled())
        return;
    checkTypeKey.setValue(0);
    box.setLocked(false);
}

namespace {
// The clamp of a numeric box on losing focus: the text the box keeps. A text that
// is not a number (only a paste can bring one) is treated as an empty box; a text
// within the bounds stays as typed. A pasted whole number too long for 16 bits is
// still above (or below) the bounds.
QString clamped(const QString& text, const char* whenEmpty, int low, int high)
{
    std::optional<std::int16_t> value;
    platform::ignoreErrors([&] { value = platform::textToInt16(text); });
    if (!value) {
        static const QRegularExpression whole(QStringLiteral("^\\s*([+-]?)\\d+\\s*$"));
        const auto m = whole.match(text);
        if (m.hasMatch())
            return platform::numberText(m.captured(1) == QLatin1String("-") ? low : high);
    }
    if (text.isEmpty() || !value)
        return QString::fromLatin1(whenEmpty);
    if (*value < low)
        return platform::numberText(low);
    if (*value > high)
        return platform::numberText(high);
    return text;
}

void clampBox(TextBox& box, const char* whenEmpty, int low, int high)
{
    box.setText(clamped(box.text(), whenEmpty, low, high));
}
} // namespace

void FrmMain::textCwSpeed_LostFocus() { clampBox(textCwSpeed, "25", 20, 250); }

void FrmMain::textToneFreq_LostFocus() { clampBox(textToneFreq, "800", 100, 6000); }

void FrmMain::textReceiveTime_LostFocus() { clampBox(textReceiveTime, "1", 1, 30); }

std::int16_t FrmMain::ToneOfBox() { return platform::textToInt16(clamped(textToneFreq.text(), "800", 100, 6000)); }
