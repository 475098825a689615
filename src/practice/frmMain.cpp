#include "practice/frmMain.h"

#include "platform/process.h"
#include "practice/QuenModule.h"

#include <QString>

#include <functional>

using namespace forms;

namespace {
const QString uiFont = QStringLiteral("ＭＳ Ｐゴシック");

const char16_t* const kanaRangeCaptions[18] = {
    u"ア～オ(&A)", u"カ～コ(&K)", u"サ～ソ(&S)", u"タ～ト(&T)", u"ナ～ノ(&N)", u"ハ～ホ(&H)",
    u"マ～モ(&M)", u"ヤ～ヨ(&Y)", u"ラ～ロ(&R)", u"ワ～ン・濁点・半濁点(&W)", u"数字(&1)",
    u"記号(&2)", u"全カナ(&3)", u"カナ・数字(&4)", u"カナ・記号(&5)", u"数字・記号(&6)",
    u"カナ・数字・記号(&7)", u"ユーザー指定文字(&8)",
};

// The Latin mark keys in LatinCharTable order: each carries a tooltip and some a
// font of their own (bold, and larger or smaller than the 18 pt rest).
struct LatinKeyDesign {
    const char16_t* toolTip;
    float points;
    bool bold;
};
const LatinKeyDesign latinMarkKeys[] = {
    {u"終点", 20.25f, true}, // EndPoint_Button
    {u"小読点", 20.25f, true}, // SmallRead_Button
    {u"問符", 18, false}, // Question_Button
    {u"斜線", 18, true}, // Slash_Button
    {u"左括弧", 18, true}, // HidariKakko_Button
    {u"右括弧", 18, true}, // MigiKakko_Button
    {u"区切り符号", 18, false}, // BT_Button
    {u"終了符号", 18, false}, // AR_Button
    {u"横線", 18, true}, // Minus_Button
    {u"略符", 18, true}, // Ryakuhu_Button
    {u"引用符", 18, true}, // Inyouhu_Button
    {u"訂正符号", 12, true}, // HH_Button
};
constexpr int firstMarkKey = 37;

const struct {
    int index;
    const char16_t* toolTip;
} kanaKeyToolTips[] = {
    {61, u"長音"}, {62, u"区切り点"}, {63, u"段落"}, {64, u"下向き括弧"}, {65, u"上向き括弧"},
};

void place(Control& c, float left, float top, float width, float height) { c.move(left, top, width, height); }

void label(Label& l, const QString& caption, float left, float top, float width, float height, float points = 9)
{
    l.setCaption(caption);
    l.setFont(uiFont, points);
    place(l, left, top, width, height);
}

void spinner(UpDown& u, TextBox& buddy, int min, int max, int increment, int value)
{
    u.setBuddy(&buddy);
    u.setMin(min);
    u.setMax(max);
    u.setIncrement(increment);
    u.setValue(value);
    place(u, buddy.left() + buddy.width(), buddy.top(), 255, buddy.height());
}
} // namespace

FrmMain::FrmMain()
{
    design();
}

void FrmMain::design()
{
    setCaption(platform::appTitle());
    setBorderStyle(Border::FixedSingle);
    setMaxButton(false);
    setKeyPreview(true);
    setInputMethodEnabled(false);
    move(0, 0, 7500, 9030); // centred by the load, after the alphabet's layout

    // Menus.
    mnuEnd.setCaption(QStringLiteral("終了(&X)"));
    mnuChange.setCaption(QStringLiteral("欧文・和文切替(&C)"));
    mnuSound.setCaption(QStringLiteral("サウンド切替・設定(&S)"));
    mnuSoundWave.setCaption(QStringLiteral("Wave音(&W)"));
    mnuSoundBeep.setCaption(QStringLiteral("Beep音(WinXP/2000用)(&B)"));
    // Both marked by design: a stored sound mode leaves one of them, and a damaged
    // one still leaves Wave in force, which the next save stores.
    mnuSoundWave.setChecked(true);
    mnuSoundBeep.setChecked(true);
    mnuSoundSeparator.setCaption(QStringLiteral("-"));
    mnuOptions.setCaption(QStringLiteral("設定(&O)"));
    mnuMojihanni.setCaption(QStringLiteral("出題文字範囲設定(&M)"));
    // Captions and shortcuts of the Latin range items, in the rows of LatinRangeItem.
    const struct {
        const char16_t* caption;
        const char* shortcut;
    } latinItems[] = {
        {u"A～E(&A)", "F1"},
        {u"F～J(&F)", "F2"},
        {u"K～O(&K)", "F3"},
        {u"P～T(&P)", "F4"},
        {u"U～Z(&U)", "F5"},
        {u"アルファベット(&L)", "F6"},
        {u"数字(&N)", "F7"},
        {u"記号(&M)", "F8"},
        {u"アルファベット+数字(&V)", "Shift+F1"},
        {u"アルファベット+記号(&W)", "Shift+F2"},
        {u"数字+記号(&X)", "Shift+F3"},
        {u"アルファベット+数字+記号(&Y)", "Shift+F4"},
        {u"ユーザー指定文字(&Z)", "Shift+F5"},
    };
    for (int row = 1; row <= 13; ++row) {
        Menu& item = LatinRangeItem(row);
        item.setCaption(QString::fromUtf16(latinItems[row - 1].caption));
        item.setShortcut(QString::fromLatin1(latinItems[row - 1].shortcut));
        item.setChecked(true); // all marked until a choice or the settings pick one
    }
    mnuMojihanniWabun.setCaption(QStringLiteral("出題文字範囲設定(&M)"));
    mnuMojihanniWabun.setVisible(false);
    for (int i = 1; i <= 18; ++i) {
        mnuMojihanniWabun_Hani(i).setCaption(QString::fromUtf16(kanaRangeCaptions[i - 1]));
        mnuMojihanniWabun_Hani(i).setChecked(true); // likewise, until the first range is applied
    }
    mnuHelp.setCaption(QStringLiteral("ヘルプ(&H)"));
    mnuHelpOnlineManual.setCaption(QStringLiteral("オンライン・マニュアルを見る(&O)"));
    mnuHelpGoHamWeb.setCaption(QStringLiteral("アマチュア無線情報サイトを見る(&W)"));
    mnuHelpReadme.setCaption(QStringLiteral("ReadMe.txtを開く(&T)"));
    mnuHelpAbout.setCaption(QStringLiteral("バージョン情報(&A)"));

    // The practice-mode panel.
    place(frameControl, 150, 0, 7200, 4320);
    frameControl.setBorderStyle(0);

    Frame1.setCaption(QStringLiteral("練習モード"));
    place(Frame1, 60, 60, 4560, 4200);
    struct ModeOption {
        OptionButton* option;
        const char16_t* caption;
        float top;
    };
    const ModeOption modes[] = {
        {&optionKakuninMode, u"符号確認モード", 300},
        {&optionKikitoriMode, u"1文字受信モード", 600},
        {&optionKikinagashiMode, u"聞き流しモード", 900},
        {&optionMogisikenMode, u"模擬試験モード", 1200},
    };
    for (const auto& m : modes) {
        m.option->setCaption(QString::fromUtf16(m.caption));
        m.option->setFont(uiFont, 10.5f);
        place(*m.option, 180, m.top, 2040, 300);
    }
    // No mode is selected by design: the settings pick one, and a stored value that
    // names no mode leaves none, so that the next save keeps that value.
    label(checkTypeKeyLeftLabel, QStringLiteral("("), 2400, 330, 120, 255, 10.5f);
    checkTypeKey.setCaption(QStringLiteral("キー入力"));
    checkTypeKey.setValue(1);
    checkTypeKey.setFont(uiFont, 10.5f);
    place(checkTypeKey, 2520, 300, 1215, 300);
    label(checkTypeKeyRightLabel, QStringLiteral(")"), 3735, 330, 120, 255, 10.5f);
    comboMogisikenMode.setFont(uiFont, 10.5f);
    place(comboMogisikenMode, 2400, 1170, 1935, 330);

    Frame2.setCaption(QString());
    place(Frame2, 180, 1620, 4200, 1440);
    Label1.setFont(uiFont, 21.75f, true);
    Label1.setAlignment(Align::Center);
    place(Label1, 120, 360, 2160, 720);
    label(Label4, QString(), 2280, 300, 855, 375, 14.25f);
    Label4.setFontBold(true);
    Label4.setAlignment(Align::Right);
    label(Label5, QStringLiteral("問出題"), 3180, 345, 900, 300, 12);
    label(Label2, QString(), 2280, 840, 855, 375, 14.25f);
    Label2.setFontBold(true);
    Label2.setAlignment(Align::Right);
    Label2.setForeColor(vbRed);
    label(Label3, QStringLiteral("問正解"), 3180, 885, 900, 300, 12);

    StartButton_Command.setCaption(QStringLiteral("スタート"));
    place(StartButton_Command, 180, 3180, 1335, 495);
    StopButton_Command.setCaption(QStringLiteral("ストップ"));
    StopButton_Command.setToolTipText(QStringLiteral("受信練習ストップ"));
    place(StopButton_Command, 1620, 3180, 1335, 495);
    KaitoupassButton_Command.setCaption(QStringLiteral("解答パス"));
    KaitoupassButton_Command.setEnabled(false);
    place(KaitoupassButton_Command, 3060, 3180, 1335, 495);
    for (CommandButton* b : {&StartButton_Command, &StopButton_Command, &KaitoupassButton_Command})
        b->setFont(uiFont, 10.5f);

    textLimitKikitoriMode.setText(QStringLiteral("10"));
    textLimitKikitoriMode.setLocked(true);
    textLimitKikitoriMode.setAlignment(Align::Right);
    place(textLimitKikitoriMode, 3060, 3780, 555, 330);
    spinner(upDownLimitKikitoriMode, textLimitKikitoriMode, 0, 10, 1, 10);
    label(Label7, QStringLiteral("秒"), 3960, 3825, 300, 285, 10.5f);

    Frame4.setCaption(QStringLiteral("速度(PARIS)"));
    place(Frame4, 4680, 60, 2460, 1560);
    const struct {
        OptionButton* option;
        const char* caption;
        float left, top;
    } speeds[] = {{&optionSpeed25, "25", 180, 300}, {&optionSpeed45, "45", 1260, 300},
                  {&optionSpeed60, "60", 180, 660}, {&optionSpeed80, "80", 1260, 660}};
    for (const auto& s : speeds) {
        s.option->setCaption(QString::fromLatin1(s.caption));
        s.option->setFont(uiFont, 10.5f);
        place(*s.option, s.left, s.top, 960, 300);
    }
    textCwSpeed.setMaxLength(3);
    textCwSpeed.setAlignment(Align::Right);
    textCwSpeed.setFont(uiFont, 12);
    place(textCwSpeed, 180, 1050, 735, 360);
    textCwSpeed.setText(QStringLiteral("45"));
    optionSpeed45.setValue(true);
    spinner(upDownSpeed, textCwSpeed, 20, 250, 1, 45);

    Frame3.setCaption(QStringLiteral("トーン周波数"));
    place(Frame3, 4680, 1740, 2460, 1080);
    textToneFreq.setMaxLength(4);
    textToneFreq.setAlignment(Align::Right);
    textToneFreq.setFont(uiFont, 12);
    place(textToneFreq, 180, 450, 735, 360);
    textToneFreq.setText(QStringLiteral("800"));
    spinner(upDownToneFreq, textToneFreq, 100, 6000, 2, 800);
    label(Label6, QStringLiteral("Hz"), 1260, 495, 600, 300, 10.5f);

    Frame6.setCaption(QStringLiteral("模擬試験受信時間"));
    place(Frame6, 4680, 2940, 2460, 1080);
    textReceiveTime.setMaxLength(2);
    textReceiveTime.setAlignment(Align::Right);
    textReceiveTime.setLocked(true);
    textReceiveTime.setFont(uiFont, 12);
    place(textReceiveTime, 180, 450, 555, 360);
    textReceiveTime.setText(QStringLiteral("3"));
    spinner(upDownReceiveTime, textReceiveTime, 1, 20, 1, 3);
    label(labelReceiveTime, QStringLiteral("分間"), 1080, 495, 900, 300, 10.5f);

    for (Frame* f : {&Frame1, &Frame2, &Frame3, &Frame4, &Frame6})
        f->setFont(uiFont, 9);

    // Keypads: 6855 and 10455 twips wide, placed by the alphabet layout.
    place(frameEngButton, 387.5f, 4400, 6855, 3735);
    place(frameJpButton, -48000, 4400, 10455, 3735);
    for (int i = 1; i <= LatinCharCount; ++i) {
        CommandButton& b = LatinButton(i);
        b.setCaption(LatinCharTable[i]);
        place(b, 840.0f * ((i - 1) % 8), 120.0f + 600.0f * ((i - 1) / 8), 735, 495);
        if (i >= firstMarkKey) {
            const LatinKeyDesign& d = latinMarkKeys[i - firstMarkKey];
            b.setFont(uiFont, d.points, d.bold);
            b.setToolTipText(QString::fromUtf16(d.toolTip));
        } else {
            b.setFont(uiFont, 18);
        }
    }
    for (int i = 1; i <= KanaCharCount; ++i) {
        CommandButton& b = ButtonJp(i);
        if (i != 60) // the ideographic zero arrives with the first caption restore
            b.setCaption(GetKanaText(static_cast<std::int16_t>(i)));
        if (i <= 60)
            place(b, 240.0f + 840.0f * ((i - 1) / 5), 120.0f + 600.0f * ((i - 1) % 5), 735, 495);
        else
            place(b, 240.0f + 840.0f * (i - 61), 3120, 735, 495);
        if (i == 49)
            b.setFont(uiFont, 12, true);
        else if (i == 67 || i == 68)
            b.setFont(uiFont, 15.75f, true);
        else
            b.setFont(uiFont, 18);
    }
    for (const auto& t : kanaKeyToolTips)
        ButtonJp(t.index).setToolTipText(QString::fromUtf16(t.toolTip));
    // Below the sixth row of kana keys: the keypad's last stop of the Tab key.
    checkExceptDakutenHandakuten.setTabIndex(ButtonJp(KanaCharCount).tabIndex() + 1);
    checkExceptDakutenHandakuten.setValue(1);
    checkExceptDakutenHandakuten.setFont(uiFont, 10.5f);
    place(checkExceptDakutenHandakuten, 7080, 3180, 3255, 375);

    // Timers.
    timerLimitKikitoriMode.setInterval(1000);
    timerLimitKikitoriMode.setEnabled(false);
    timerCheckWavePlayEnd.setInterval(0);
    timerCheckWavePlayEnd.setEnabled(true);
    timerUserChoseLetters.setInterval(1000);
    timerUserChoseJpLetters.setInterval(1000);

    // Events.
    onLoad = [this] { Form_Load(); };
    onQueryUnload = [this](int& cancel, int mode) { Form_QueryUnload(cancel, mode); };
    onResize = [this] { Form_Resize(); };
    onKeyPress = [this](int& k) { Form_KeyPress(k); };
    mnuEnd.onClick = [this] { mnuEnd_Click(); };
    mnuChange.onClick = [this] { mnuChange_Click(); };
    mnuSoundWave.onClick = [this] { mnuSoundWave_Click(); };
    mnuSoundBeep.onClick = [this] { mnuSoundBeep_Click(); };
    mnuOptions.onClick = [this] { mnuOptions_Click(); };
    mnuHelpAbout.onClick = [this] { mnuHelpAbout_Click(); };
    mnuHelpReadme.onClick = [this] { mnuHelpReadme_Click(); };
    mnuHelpOnlineManual.onClick = [this] { mnuHelpOnlineManual_Click(); };
    mnuHelpGoHamWeb.onClick = [this] { mnuHelpGoHamWeb_Click(); };

    // While a run holds the panel only its own mode option is enabled; a click on it
    // (the selected option raises Click again) must not set the mode up afresh.
    auto unlessRunHolds = [this](std::function<void()> click) {
        return [this, click] {
            if (!RunHoldsPanel())
                click();
        };
    };
    optionKakuninMode.onClick = unlessRunHolds([this] { optionKakuninMode_Click(); });
    optionKikitoriMode.onClick = unlessRunHolds([this] { optionKikitoriMode_Click(); });
    optionKikinagashiMode.onClick = unlessRunHolds([this] { optionKikinagashiMode_Click(); });
    optionMogisikenMode.onClick = unlessRunHolds([this] { optionMogisikenMode_Click(); });
    comboMogisikenMode.onClick = [this] { comboMogisikenMode_Click(); };
    checkExceptDakutenHandakuten.onClick = [this] { checkExceptDakutenHandakuten_Click(); };
    optionSpeed25.onClick = [this] { textCwSpeed.setText(QStringLiteral("25")); };
    optionSpeed45.onClick = [this] { textCwSpeed.setText(QStringLiteral("45")); };
    optionSpeed60.onClick = [this] { textCwSpeed.setText(QStringLiteral("60")); };
    optionSpeed80.onClick = [this] { textCwSpeed.setText(QStringLiteral("80")); };
    textCwSpeed.onChange = [this] { textCwSpeed_Change(); };
    for (TextBox* box : {&textCwSpeed, &textReceiveTime, &textToneFreq}) {
        box->onKeyPress = [this](int& keyAscii) { DigitFilter_KeyPress(keyAscii); };
        box->onClick = [this, box] { NumericBox_Click(*box); };
    }
    textCwSpeed.onLostFocus = [this] { textCwSpeed_LostFocus(); };
    textToneFreq.onLostFocus = [this] { textToneFreq_LostFocus(); };
    textReceiveTime.onLostFocus = [this] { textReceiveTime_LostFocus(); };
    StartButton_Command.onClick = [this] { StartButton_Command_Click(); };
    StopButton_Command.onClick = [this] { StopButton_Command_Click(); };
    StopButton_Command.onMouseUp = [this](int, int, float, float) { StopButton_Command_MouseUp(); };
    KaitoupassButton_Command.onClick = [this] { KaitoupassButton_Command_Click(); };
    timerLimitKikitoriMode.onTimer = [this] { timerLimitKikitoriMode_Timer(); };
    timerCheckWavePlayEnd.onTimer = [this] { timerCheckWavePlayEnd_Timer(); };
    upDownLimitKikitoriMode.onChange = [this] { upDownLimitKikitoriMode_Change(); };

    LatinButton.on(&CommandButton::onClick, [this](int i) { LatinButton_Click(i); });
    ButtonJp.on(&CommandButton::onClick, [this](int i) { ButtonJp_Click(i); });
    for (int row = 1; row < 13; ++row)
        LatinRangeItem(row).onClick = [this, row] { LatinRangeItem_Click(row); };
    mnuMojihanniUserChose.onClick = [this] { mnuMojihanniUserChose_Click(); };
    mnuMojihanniWabun_Hani.on(&Menu::onClick, [this](int i) { mnuMojihanniWabun_Hani_Click(i); });
    timerUserChoseLetters.onTimer = [this] { timerUserChoseLetters_Timer(); };
    timerUserChoseJpLetters.onTimer = [this] { timerUserChoseJpLetters_Timer(); };
}

Menu& FrmMain::LatinRangeItem(int row)
{
    Menu* const items[] = {
        &mnuMojiHanniAtoE, &mnuMojiHanniFtoJ, &mnuMojiHanniKtoO, &mnuMojiHanniPtoT, &mnuMojiHanniUtoZ,
        &mnuMojiHanniAllAlphabets, &mnuMojiHanniNumbers, &mnuMojiHanniMarks, &mnuMojiHanniAlphabetsNumbers,
        &mnuMojiHanniAlphabetsMarks, &mnuMojiHanniNumbersMarks, &mnuMojiHanniAll, &mnuMojihanniUserChose,
    };
    if (row < 1 || row > 13)
        throw platform::Failure(QStringLiteral("Latin range row %1 out of bounds").arg(row));
    return *items[row - 1];
}
