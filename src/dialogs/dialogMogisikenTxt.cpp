#include "dialogs/dialogMogisikenTxt.h"

#include "dialogs/DialogFiles.h"
#include "dialogs/ExamTextState.h"
#include "material/ExamWaveCache.h"
#include "material/ExamWaveCompiler.h"
#include "platform/failure.h"
#include "platform/files.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsRecords.h"
#include "settings/SharedSettings.h"

using namespace forms;
using platform::ignoreErrors;

std::int16_t LatinExamTextEditSlot = 0;
std::int16_t KanaExamTextEditSlot = 0;

namespace {
const QString fileError = QStringLiteral("ファイルエラー");
const QString crlf = QStringLiteral("\r\n");
const QString editHint = QStringLiteral("登録済みファイルの編集・削除はファイルパスをダブルクリックして下さい。");

struct ExamTextTwins {
    std::int16_t& selectMode;
    std::int16_t& autoStartEnd;
    std::array<QString, 10>& path;
    std::array<std::int16_t, 10>& enabled;
    std::array<std::int16_t, 10>& drawn;
    std::array<std::int16_t, 10>& picked;
    std::int16_t& slot;
};

bool latin() { return AlphabetIsLatin == -1; }

std::int16_t alphabet() { return latin() ? -1 : 0; }

const AlphabetRecords& records() { return RecordsOf(alphabet()); }

ExamTextTwins twins()
{
    if (latin())
        return {LatinExamTextSelectMode, LatinAutoStartEnd, LatinExamTextPath, LatinExamTextEnabled,
                LatinExamTextDrawn, LatinExamTextPicked, LatinExamTextSlot};
    return {KanaExamTextSelectMode, KanaAutoStartEnd, KanaExamTextPath, KanaExamTextEnabled,
            KanaExamTextDrawn, KanaExamTextPicked, KanaExamTextSlot};
}

template <class C>
void place(C& c, const QString& caption, float left, float top, float width, float height)
{
    c.setCaption(caption);
    c.move(left, top, width, height);
}
} // namespace

DialogMogisikenTxt::DialogMogisikenTxt()
{
    setCaption(QStringLiteral("模擬試験モード　-テキストファイルの登録・作成-"));
    setBorderStyle(Border::FixedDialog);
    setMinButton(false);
    setMaxButton(false);
    setClientSize(6255, 8655);
    const QString uiFont = QStringLiteral("ＭＳ Ｐゴシック");

    place(frameSelectMode, QStringLiteral("テキスト選択方法"), 240, 240, 2895, 855);
    place(optionTextRandom, QStringLiteral("ランダム"), 240, 360, 1215, 255);
    optionTextRandom.setToolTipText(QStringLiteral("受験時にランダムで問題文を選択します。"));
    optionTextRandom.setValue(true);
    place(optionTestSelect, QStringLiteral("試験時選択"), 1440, 360, 1335, 255);
    optionTestSelect.setToolTipText(QStringLiteral("受験の都度、自分で問題文を選択します。"));
    place(cmdCredit, QStringLiteral("登録/作成"), 3360, 460, 1215, 495);
    cmdCredit.setToolTipText(QStringLiteral("テキストファイルの登録・作成をします。"));
    place(cmdCreditAllDelete, QStringLiteral("全登録解除"), 4800, 460, 1215, 495);
    cmdCreditAllDelete.setToolTipText(QStringLiteral("登録問題文全てを解除します。"));
    cmdCreditAllDelete.setEnabled(false);
    place(checkAutoStartEndAdd, QStringLiteral("出題時に開始符号・終了符号を自動付加する。"), 240, 1200, 4095, 255);
    place(labelExplanation, QStringLiteral("受信練習に使用するテキストをセットして下さい。"), 240, 1560, 5775, 615);
    labelExplanation.setFont(uiFont, 9.75f);
    labelExplanation.setBackStyle(0);

    Picture1.forEach([](PictureBox& p) { p.setBorderStyle(0); });
    Picture1(0).move(120, 2280, 6015, 5535);
    Picture1(1).move(-12000, 2280, 6015, 5415);

    frameNumbers.setBorderStyle(0);
    frameNumbers.move(240, 120, 450, 5055);
    labelNumber.forEach([&](Label& l) {
        const int i = l.index();
        place(l, QStringLiteral("%1.").arg(i + 1), 0, 240 + 480 * i, 450, 375);
        l.setFont(uiFont, 14.25f, true);
        l.setBackStyle(0);
        l.setWordWrap(false);
    });
    place(labelSelectHeading, QStringLiteral("選択"), 780, 120, 435, 255);
    labelSelectHeading.setBackStyle(0);
    frameCheckOrOption.forEach([](Frame& f) { f.setBorderStyle(0); });
    frameCheckOrOption(0).move(600, 360, 735, 4695);
    frameCheckOrOption(1).move(-6000, 360, 735, 4695);
    checkSelectText.forEach([](CheckBox& c) {
        c.move(240, 480 * c.index(), 255, 375);
        c.setEnabled(false);
    });
    optionSelectText.forEach([](OptionButton& o) {
        o.move(240, 480 * o.index(), 255, 375);
        o.setEnabled(false);
    });
    place(frameFilePath, QStringLiteral("ファイルパス"), 1440, 120, 4455, 5055);
    textFilePath.forEach([](TextBox& t) {
        t.move(120, 240 + 480 * t.index(), 4215, 375);
        t.setLocked(true);
    });

    richTextBoxEdit.move(0, 0, 6015, 4695);
    richTextBoxEdit.setFont(uiFont, 15.75f, true);
    place(cmdTextSave, QStringLiteral("保存・登録"), 1680, 4920, 1215, 495);
    place(cmdDelete, QStringLiteral("削除"), 3360, 4920, 735, 495);
    place(OKButton, QStringLiteral("OK"), 4680, 8040, 1215, 375);

    onLoad = [this] { Form_Load(); };
    onQueryUnload = [this](int& cancel, int mode) { Form_QueryUnload(cancel, mode); };
    optionTextRandom.onClick = [this] { ShowSelectionModeControls(); };
    optionTestSelect.onClick = [this] { ShowSelectionModeControls(); };
    checkAutoStartEndAdd.onClick = [this] { checkAutoStartEndAdd_Click(); };
    checkSelectText.on(&Control::onClick, [this](int i) { checkSelectText_Click(i); });
    optionSelectText.on(&Control::onClick, [this](int i) { optionSelectText_Click(i); });
    textFilePath.on(&Control::onChange, [this](int i) { textFilePath_Change(i); });
    textFilePath.on(&Control::onDblClick, [this](int i) { textFilePath_DblClick(i); });
    cmdCredit.onClick = [this] { cmdCredit_Click(); };
    cmdCreditAllDelete.onClick = [this] { cmdCreditAllDelete_Click(); };
    cmdTextSave.onClick = [this] { cmdTextSave_Click(); };
    cmdDelete.onClick = [this] { cmdDelete_Click(); };
    OKButton.onClick = [this] { OKButton_Click(); };
    richTextBoxEdit.onChange = [this] { richTextBoxEdit_Change(); };
}

std::int16_t& DialogMogisikenTxt::EditSlot() { return latin() ? LatinExamTextEditSlot : KanaExamTextEditSlot; }

void DialogMogisikenTxt::Form_Load() { LoadExamTextSettings(); }

void DialogMogisikenTxt::Form_QueryUnload(int&, int) { SaveExamTextSettings(); }

// Each record is read by itself: one that cannot be read leaves its control as
// designed and the others still load. The recordings' keys are read a slot at a
// time (LoadExamWaveKeys).
void DialogMogisikenTxt::LoadExamTextSettings()
{
    const AlphabetRecords& r = records();
    const ExamTextTwins v = twins();
    ignoreErrors([&] {
        SettingsFile file;
        ignoreErrors([&] {
            v.selectMode = file.readInt16(r.examTextSelectMode);
            if (v.selectMode == 1)
                optionTextRandom.setValue(true);
            else if (v.selectMode == 2)
                optionTestSelect.setValue(true);
        });
        ignoreErrors([&] {
            v.autoStartEnd = file.readInt16(r.autoStartEnd);
            if (v.autoStartEnd == -1)
                checkAutoStartEndAdd.setValue(1);
            else if (v.autoStartEnd == 0)
                checkAutoStartEndAdd.setValue(0);
        });
        for (int i = 0; i <= 9; ++i)
            ignoreErrors([&] {
                v.path[i] = file.readString(r.firstExamTextPath + i);
                textFilePath(i).setText(v.path[i]);
                if (!textFilePath(i).text().isEmpty()) {
                    checkSelectText(i).setEnabled(true);
                    optionSelectText(i).setEnabled(true);
                }
            });
        for (int i = 0; i <= 9; ++i)
            ignoreErrors([&] {
                v.enabled[i] = file.readInt16(r.firstExamTextEnabled + i);
                if (v.enabled[i] == -1)
                    checkSelectText(i).setValue(1);
                else if (v.enabled[i] == 0)
                    checkSelectText(i).setValue(0);
            });
        LoadExamWaveKeys(alphabet());
    });
    ShowSelectionModeControls();

    // Every registered text is tried; a missing one frees its slot, a damaged one
    // (bytes that are no text of the code page) is said and stays registered.
    for (int i = 0; i <= 9; ++i) {
        if (v.path[i].isEmpty())
            continue;
        const TextEditor::Outcome outcome = richTextBoxEdit.loadFile(v.path[i]);
        cmdCreditAllDelete.setEnabled(true);
        if (outcome)
            continue;
        ShowFileProblem(outcome.description + crlf + v.path[i], fileError);
        if (outcome.result == TextEditor::FileResult::CannotOpen)
            FreeSlot(i);
    }
}

void DialogMogisikenTxt::SaveExamTextSettings()
{
    const AlphabetRecords& r = records();
    const ExamTextTwins v = twins();
    if (optionTextRandom.value())
        v.selectMode = 1;
    else if (optionTestSelect.value())
        v.selectMode = 2;
    v.autoStartEnd = checkAutoStartEndAdd.value() == 1 ? -1 : 0;
    for (int i = 0; i <= 9; ++i) {
        v.path[i] = textFilePath(i).text();
        v.enabled[i] = checkSelectText(i).value() == 1 ? -1 : 0;
    }
    WriteSettings([&](SettingsFile& file) {
        file.writeInt16(r.examTextSelectMode, v.selectMode);
        file.writeInt16(r.autoStartEnd, v.autoStartEnd);
        for (int i = 0; i <= 9; ++i)
            file.writeString(r.firstExamTextPath + i, v.path[i]);
        for (int i = 0; i <= 9; ++i)
            file.writeInt16(r.firstExamTextEnabled + i, v.enabled[i]);
    });
}

void DialogMogisikenTxt::ShowSelectionModeControls()
{
    if (optionTextRandom.value()) {
        frameCheckOrOption(0).setLeft(600);
        frameCheckOrOption(1).setLeft(-6000);
        labelExplanation.setCaption(QStringLiteral("使用したいファイル全てにチェックマークを入れて下さい。") + crlf + editHint);
    } else if (optionTestSelect.value()) {
        frameCheckOrOption(1).setLeft(600);
        frameCheckOrOption(0).setLeft(-6000);
        labelExplanation.setCaption(QStringLiteral("今から受験する問題のファイルを選択して下さい。") + crlf + editHint);
    }
}

// "全登録解除" is enabled exactly while a slot is registered.
void DialogMogisikenTxt::textFilePath_Change(int)
{
    cmdCreditAllDelete.setEnabled(false);
    for (int i = 0; i <= 9; ++i)
        if (!textFilePath(i).text().isEmpty())
            cmdCreditAllDelete.setEnabled(true);
}

// A slot ticked or unticked by the learner starts its random cycle afresh.
void DialogMogisikenTxt::checkSelectText_Click(int index) { twins().drawn[index] = 0; }

void DialogMogisikenTxt::checkAutoStartEndAdd_Click()
{
    twins().autoStartEnd = checkAutoStartEndAdd.value() == 1 ? -1 : 0;
}

void DialogMogisikenTxt::optionSelectText_Click(int index)
{
    const ExamTextTwins v = twins();
    v.picked[index] = -1;
    v.slot = static_cast<std::int16_t>(index);
    unload();
}

void DialogMogisikenTxt::FreeSlot(int slot)
{
    textFilePath(slot).setText(QString());
    MarkSlotRegistered(slot, false);
    twins().path[slot].clear();
}
