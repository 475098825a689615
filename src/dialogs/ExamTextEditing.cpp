// The exam-text dialog's editing: registering or creating a text in the first free
// slot, opening a registered text, saving and unregistering. A text file is
// written only with what the learner saved, and only when it differs from what
// was read; a file that exists but cannot be read is never offered for editing,
// so it cannot be overwritten with something else.
#include "dialogs/DialogFiles.h"
#include "dialogs/ExamTextState.h"
#include "dialogs/dialogMogisikenTxt.h"

#include "material/ExamWaveCache.h"
#include "material/ExamWaveCompiler.h"
#include "platform/failure.h"
#include "platform/files.h"
#include "settings/SharedSettings.h"

#include <QFileInfo>

using namespace forms;

namespace {
const QString fileError = QStringLiteral("ファイルエラー");
const QString crlf = QStringLiteral("\r\n");
const QString saveAndRegister = QStringLiteral("保存・登録");

std::array<QString, 10>& paths() { return AlphabetIsLatin == -1 ? LatinExamTextPath : KanaExamTextPath; }
} // namespace

void DialogMogisikenTxt::ShowListButtons(bool on)
{
    cmdCredit.setVisible(on);
    cmdCreditAllDelete.setVisible(on);
}

// 0 the list, 1 the editor.
void DialogMogisikenTxt::ShowPanel(int panel)
{
    Picture1(panel).setLeft(120);
    Picture1(1 - panel).setLeft(-12000);
}

// The slot's recording was made from its old text; the next exam builds afresh.
// A recording that stays (it cannot be deleted) loses its key, so that no exam
// takes it for the new text's.
void DialogMogisikenTxt::DeleteSlotSound(int slot)
{
    const std::int16_t alphabet = AlphabetIsLatin == -1 ? -1 : 0;
    const QString wave = ExamWaveFilePath(static_cast<std::int16_t>(slot), alphabet);
    try {
        platform::deleteFile(wave);
    } catch (const platform::Failure&) {
        ForgetExamWaveKey(alphabet, slot);
        ShowFileProblem(QStringLiteral("以前の問題音声ファイルを削除できません。") + crlf + wave, fileError);
    }
}

// A slot's tick box and option button take part only while a text is registered
// there; a text just registered is ticked for the random choice.
void DialogMogisikenTxt::MarkSlotRegistered(int slot, bool on)
{
    checkSelectText(slot).setEnabled(on);
    checkSelectText(slot).setValue(on ? 1 : 0);
    optionSelectText(slot).setEnabled(on);
}

// Back from the editor to the list: its buttons, OK closing the dialog again, no
// registration open, the slots stored.
void DialogMogisikenTxt::EndEditing()
{
    ShowListButtons(true);
    OKButton.setCaption(QStringLiteral("OK"));
    registrationCreatedFile_ = false;
    SaveExamTextSettings();
}

void DialogMogisikenTxt::cmdCredit_Click()
{
    ShowListButtons(false);
    FileOpenRequest request;
    request.filter = QStringLiteral("テキスト(*.txt)|*.txt|すべて(*.*)|*.*");
    request.defaultExt = QStringLiteral("txt");
    request.initialDir = platform::besideProgram(QStringLiteral("Text"));
    request.title = QStringLiteral("既存ファイルの読み込み又は新規ファイルの作成");
    request.createPrompt = true;
    const FileOpenResult chosen = showFileOpen(request);
    if (chosen.cancelled) {
        ShowListButtons(true);
        return;
    }
    int slot = -1;
    for (int i = 0; i <= 9 && slot < 0; ++i)
        if (textFilePath(i).text().isEmpty())
            slot = i;
    if (slot < 0 || !PathFitsSettings(chosen.path, fileError)) {
        ShowListButtons(true);
        return;
    }
    const bool exists = QFileInfo::exists(chosen.path);
    const TextEditor::Outcome outcome = richTextBoxEdit.loadFile(chosen.path);
    if (!outcome && exists) {
        ShowFileProblem(outcome.description + crlf + chosen.path, fileError);
        ShowListButtons(true);
        return;
    }
    paths()[slot] = chosen.path;
    EditSlot() = static_cast<std::int16_t>(slot);
    registrationCreatedFile_ = false;

    if (!outcome || richTextBoxEdit.text().isEmpty()) {
        labelExplanation.setCaption(QStringLiteral("新しく問題文を作成して、「保存・登録」ボタンを押して下さい。") + crlf
                                    + QStringLiteral("作成を中止するには、「キャンセル」ボタンを押して下さい。"));
        OKButton.setCaption(QStringLiteral("キャンセル"));
        richTextBoxEdit.setText(QString());
        // Failures from here on leave the registration going with an empty editor.
        if (!exists)
            registrationCreatedFile_ = static_cast<bool>(richTextBoxEdit.saveFile(chosen.path));
        Picture1(1).setLeft(120);
        richTextBoxEdit.setFocus();
        cmdTextSave.setCaption(saveAndRegister);
    } else {
        labelExplanation.setCaption(QStringLiteral("読み込んだ問題文を確認して、「保存・登録」ボタンを押して下さい。") + crlf
                                    + QStringLiteral("登録を中止するには、「キャンセル」ボタンを押して下さい。"));
        OKButton.setCaption(QStringLiteral("キャンセル"));
        Picture1(1).setLeft(120);
        cmdTextSave.setCaption(QStringLiteral("登録"));
    }
    editorFileText_ = outcome ? richTextBoxEdit.text() : QString();
}

void DialogMogisikenTxt::textFilePath_DblClick(int index) { OpenExamTextForEdit(index); }

void DialogMogisikenTxt::OpenExamTextForEdit(int slot)
{
    const QString path = textFilePath(slot).text();
    if (path.isEmpty())
        return;
    const TextEditor::Outcome outcome = richTextBoxEdit.loadFile(path);
    if (!outcome) {
        ShowFileProblem(outcome.description + crlf + path, fileError);
        // A file that is gone frees its slot; one that is there but unreadable as
        // text stays registered and is not opened.
        if (outcome.result == TextEditor::FileResult::CannotOpen)
            FreeSlot(slot);
        return;
    }
    editorFileText_ = richTextBoxEdit.text();
    EditSlot() = static_cast<std::int16_t>(slot);
    ShowPanel(1);
    cmdDelete.setEnabled(true);
    ShowListButtons(false);
}

void DialogMogisikenTxt::richTextBoxEdit_Change()
{
    if (richTextBoxEdit.text() != LastEditorText) {
        cmdTextSave.setCaption(saveAndRegister);
        LastEditorText = richTextBoxEdit.text();
    }
}

void DialogMogisikenTxt::cmdTextSave_Click()
{
    if (richTextBoxEdit.text().isEmpty()) {
        MsgBox(QStringLiteral("テキストファイルが空です。文章を作成して下さい。"), vbOKOnly | vbCritical,
               QStringLiteral("エラー"));
        return;
    }
    const int slot = EditSlot();
    const QString path = paths()[slot];
    if (richTextBoxEdit.text() != editorFileText_ || !QFileInfo::exists(path)) {
        if (const TextEditor::Outcome written = richTextBoxEdit.saveFile(path); !written) {
            // Nothing is registered; the text stays in the editor.
            ShowFileProblem(written.description + crlf + path, fileError);
            return;
        }
        editorFileText_ = richTextBoxEdit.text();
    }
    DeleteSlotSound(slot);
    ShowPanel(0);
    textFilePath(slot).setText(path);
    MarkSlotRegistered(slot, true);
    EndEditing();
}

void DialogMogisikenTxt::cmdDelete_Click()
{
    const int answer = MsgBox(QStringLiteral("このファイルを登録解除してよろしいですか？"), vbYesNo | vbExclamation,
                              QStringLiteral("削除確認"));
    const int slot = EditSlot();
    if (answer == vbYes) {
        paths()[slot].clear();
        textFilePath(slot).setText(QString());
        richTextBoxEdit.setText(QString());
        ShowPanel(0);
        MarkSlotRegistered(slot, false);
        DeleteSlotSound(slot);
    } else {
        richTextBoxEdit.setText(QString());
        ShowPanel(0);
    }
    EndEditing();
}

void DialogMogisikenTxt::cmdCreditAllDelete_Click()
{
    const int answer = MsgBox(QStringLiteral("全ての問題文を登録解除しますが、よろしいですか？"), vbYesNo | vbExclamation,
                              QStringLiteral("確認"));
    if (answer != vbYes)
        return;
    auto& enabled = AlphabetIsLatin == -1 ? LatinExamTextEnabled : KanaExamTextEnabled;
    for (int i = 0; i <= 9; ++i) {
        DeleteSlotSound(i);
        textFilePath(i).setText(QString());
        MarkSlotRegistered(i, false);
        enabled[i] = 0;
        paths()[i].clear();
    }
}

void DialogMogisikenTxt::OKButton_Click()
{
    if (OKButton.caption() == QStringLiteral("OK")) {
        ExamTextDialogOk = -1;
        SaveExamTextSettings();
        unload();
        return;
    }
    // The cancel of an open registration: a file it created is removed again, as
    // long as it is still the empty file it made.
    const int slot = EditSlot();
    const QString path = paths()[slot];
    if (registrationCreatedFile_ && QFileInfo(path).isFile() && QFileInfo(path).size() == 0)
        platform::ignoreErrors([&] { platform::deleteFile(path); });
    registrationCreatedFile_ = false;
    paths()[slot].clear();
    OKButton.setCaption(QStringLiteral("OK"));
    ShowPanel(0);
    ShowListButtons(true);
    unload();
}
