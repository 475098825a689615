// The options dialog's word files: the sample file and three registered slots per
// alphabet for the pseudo-text exam, and the word list editor of the word tab.
//
// The editor is only ever written back to the file it was read from, and only when
// the learner changed it: a word file is never rewritten because it was opened. A
// file that cannot be read leaves the editor empty and locked rather than showing
// another file's words under its name.
#include "dialogs/DialogFiles.h"
#include "dialogs/OptionsRecords.h"
#include "dialogs/frmOptions.h"

#include "platform/files.h"
#include "platform/numbers.h"
#include "settings/SharedSettings.h"

#include <QScopedValueRollback>

using namespace forms;

namespace {
const QString wordFileError = QStringLiteral("登録単語ファイルエラー");

QString& titleOf(int slot) { return OptionsVariablesOf(AlphabetIsLatin).title[slot]; }
QString& pathOf(int slot) { return OptionsVariablesOf(AlphabetIsLatin).path[slot]; }
} // namespace

OptionButton& FrmOptions::EntryFileOption(int slot)
{
    switch (slot) {
    case 1:
        return optionEntryFile1;
    case 2:
        return optionEntryFile2;
    default:
        return optionEntryFile3;
    }
}

// The first selected slot in the order 1, 2, 3; 0 when none is.
int FrmOptions::SelectedSlot()
{
    for (int slot = 1; slot <= 3; ++slot)
        if (EntryFileOption(slot).value())
            return slot;
    return 0;
}

QString FrmOptions::ChosenWordFile()
{
    if (optionEntrySampleFile.value())
        return SampleWordFilePath(AlphabetIsLatin);
    if (const int slot = SelectedSlot())
        return pathOf(slot);
    return QString();
}

FileOpenResult FrmOptions::ChooseWordFile()
{
    // Selecting a free slot from code (a load of the hidden dialog) opens no file
    // dialog: only the learner can choose a file.
    if (!isShown())
        return {};
    FileOpenRequest request;
    request.filter = QStringLiteral("テキスト(*.txt)|*.txt|すべて(*.*)|*.*");
    request.defaultExt = QStringLiteral("txt");
    request.initialDir = platform::programFolder();
    request.title = QStringLiteral("既存ファイルの読み込み又は新規ファイルの作成");
    request.createPrompt = true;
    return showFileOpen(request);
}

TextEditor::Outcome FrmOptions::LoadWordFile(const QString& path)
{
    const QScopedValueRollback<bool> fromCode(writingWordList_, true);
    const TextEditor::Outcome outcome = richTextBoxEntryWords.loadFile(path);
    if (outcome) {
        wordListPath_ = path;
        wordListSaved_ = richTextBoxEntryWords.text();
        richTextBoxEntryWords.setLocked(false);
    }
    return outcome;
}

void FrmOptions::ShowNoWordFile()
{
    wordListPath_.clear();
    wordListSaved_.clear();
    const QScopedValueRollback<bool> fromCode(writingWordList_, true);
    richTextBoxEntryWords.setText(QString());
    richTextBoxEntryWords.setLocked(true);
}

bool FrmOptions::WordListHoldsUnsavedEdits() const
{
    return !wordListPath_.isEmpty() && richTextBoxEntryWords.text() != wordListSaved_;
}

// Registration in a slot. A file that exists but cannot be read is not registered;
// a name that does not exist yet is created empty.
void FrmOptions::RegisterWordFile(int slot, const FileOpenResult& chosen)
{
    if (!PathFitsSettings(chosen.path, wordFileError))
        return;
    const TextEditor::Outcome outcome = LoadWordFile(chosen.path);
    const bool create = !outcome && !platform::fileExists(chosen.path);
    if (!outcome && !create) {
        ShowFileProblem(outcome.description + QStringLiteral("\r\n") + chosen.path, wordFileError);
        return;
    }
    pathOf(slot) = chosen.path;
    titleOf(slot) = chosen.fileTitle;
    EntryFileOption(slot).setCaption(chosen.fileTitle);
    if (!create)
        return;
    {
        const QScopedValueRollback<bool> fromCode(writingWordList_, true);
        richTextBoxEntryWords.setText(QString());
    }
    if (const TextEditor::Outcome written = richTextBoxEntryWords.saveFile(chosen.path); !written) {
        ShowFileProblem(written.description + QStringLiteral("\r\n") + chosen.path, wordFileError);
        ShowNoWordFile();
    } else {
        LoadWordFile(chosen.path);
    }
    tbsOptions.selectTab(3);
}

void FrmOptions::optionEntryFile_Click(int slot)
{
    SettingChanged();
    if (EntryFileOption(slot).caption() == NoWordFileCaption()) {
        const FileOpenResult chosen = ChooseWordFile();
        if (chosen.cancelled) {
            SelectRegisteredWordFile();
            return;
        }
        cmdEntryFile.setEnabled(true);
        cmdDeleteEntryFile.setEnabled(true);
        RegisterWordFile(slot, chosen);
        return;
    }
    cmdEntryFile.setEnabled(true);
    cmdDeleteEntryFile.setEnabled(true);
    // An empty path (the stored choice selected while the dialog loads, before the
    // slots are read) is no file to load.
    if (pathOf(slot).isEmpty())
        return;
    const TextEditor::Outcome outcome = LoadWordFile(pathOf(slot));
    if (outcome)
        return;
    ShowFileProblem(outcome.description + QStringLiteral("\r\n") + pathOf(slot), wordFileError);
    ShowNoWordFile();
    if (outcome.result == TextEditor::FileResult::CannotOpen) {
        titleOf(slot).clear();
        pathOf(slot).clear();
        cmdEntryFile.setEnabled(false);
        cmdDeleteEntryFile.setEnabled(false);
        EntryFileOption(slot).setCaption(NoWordFileCaption());
    }
    // A file that opens but is not a text of the code page stays registered.
}

void FrmOptions::optionEntrySampleFile_Click()
{
    cmdEntryFile.setEnabled(false);
    cmdDeleteEntryFile.setEnabled(false);
    SettingChanged();
    const QString sample = SampleWordFilePath(AlphabetIsLatin);
    const TextEditor::Outcome outcome = LoadWordFile(sample);
    if (outcome)
        return;
    ShowFileProblem(outcome.description + QStringLiteral("\r\n") + sample, wordFileError);
    // A missing sample is made again from what the editor holds; one that exists
    // but cannot be read is left alone.
    if (platform::fileExists(sample)) {
        ShowNoWordFile();
        return;
    }
    if (const TextEditor::Outcome written = richTextBoxEntryWords.saveFile(sample); !written) {
        ShowFileProblem(written.description + QStringLiteral("\r\n") + sample, wordFileError);
        ShowNoWordFile();
        return;
    }
    LoadWordFile(sample);
}

void FrmOptions::cmdEntryFile_Click()
{
    const FileOpenResult chosen = ChooseWordFile();
    if (chosen.cancelled) {
        SelectRegisteredWordFile();
        return;
    }
    if (const int slot = SelectedSlot())
        RegisterWordFile(slot, chosen);
}

void FrmOptions::cmdEditEntryFile_Click()
{
    tbsOptions.selectTab(3);
    // The word tab's load has shown the chosen file, or said why it could not.
    const QString chosen = ChosenWordFile();
    if (!chosen.isEmpty() && wordListPath_ != chosen)
        LoadWordFile(chosen);
}

void FrmOptions::cmdDeleteEntryFile_Click()
{
    if (const int slot = SelectedSlot()) {
        titleOf(slot).clear();
        pathOf(slot).clear();
        EntryFileOption(slot).setCaption(NoWordFileCaption());
    }
    SelectRegisteredWordFile();
}

// The choice stays on a selected registered slot, else moves to the first
// registered slot, else to the sample.
void FrmOptions::SelectRegisteredWordFile()
{
    const int selected = SelectedSlot();
    if (selected && EntryFileOption(selected).caption() != NoWordFileCaption())
        return;
    for (int slot = 1; slot <= 3; ++slot) {
        if (EntryFileOption(slot).caption() != NoWordFileCaption()) {
            EntryFileOption(slot).setValue(true);
            break;
        }
    }
    cmdDeleteEntryFile.setEnabled(true);
    bool allFree = true;
    for (int slot = 1; slot <= 3; ++slot)
        allFree = allFree && EntryFileOption(slot).caption() == NoWordFileCaption();
    if (allFree)
        optionEntrySampleFile.setValue(true);
}

// The word tab shows the chosen file. Unsaved edits of that same file are kept
// when the learner comes back to the tab.
void FrmOptions::LoadWordList()
{
    if (AlphabetIsLatin != -1 && AlphabetIsLatin != 0)
        return;
    const QString chosen = ChosenWordFile();
    const int slot = SelectedSlot();
    if (!optionEntrySampleFile.value() && !slot) {
        ShowWordCount();
        return;
    }
    if (chosen.isEmpty()) {
        ShowNoWordFile();
    } else if (!(wordListPath_ == chosen && WordListHoldsUnsavedEdits())) {
        const TextEditor::Outcome outcome = LoadWordFile(chosen);
        if (!outcome) {
            ShowFileProblem(outcome.description + QStringLiteral("\r\n") + chosen, wordFileError);
            const bool missing = !platform::fileExists(chosen);
            if (optionEntrySampleFile.value() && missing) {
                // A missing sample is made again from what the editor holds.
                if (richTextBoxEntryWords.saveFile(chosen))
                    LoadWordFile(chosen);
                else
                    ShowNoWordFile();
            } else {
                ShowNoWordFile();
                if (slot && outcome.result == TextEditor::FileResult::CannotOpen) {
                    titleOf(slot).clear();
                    pathOf(slot).clear();
                    EntryFileOption(slot).setCaption(NoWordFileCaption());
                }
            }
        }
    }
    ShowWordCount();
}

void FrmOptions::ShowWordCount()
{
    labelLastCountEntryWords.setCaption(QStringLiteral("登録単語数：")
                                        + platform::numberText(richTextBoxEntryWords.lineCount())
                                        + QStringLiteral("（最大50）"));
}

// With the word tab selected, the learner's edits go back to the file they were
// read from; nothing is written when nothing was changed.
bool FrmOptions::SaveWordList()
{
    if (!tbsOptions.tabSelected(3))
        return true;
    const QString chosen = ChosenWordFile();
    if (chosen.isEmpty() || chosen != wordListPath_ || !WordListHoldsUnsavedEdits())
        return true;
    if (const TextEditor::Outcome written = richTextBoxEntryWords.saveFile(chosen); !written) {
        ShowFileProblem(written.description + QStringLiteral("\r\n") + chosen, wordFileError);
        return false;
    }
    wordListSaved_ = richTextBoxEntryWords.text();
    return true;
}
