#include "dialogs/frmOptions.h"
#include "dialog_fixture.h"
#include "support/real_input.h"

#include <QClipboard>
#include <QDir>
#include <QPlainTextEdit>

using namespace forms;

namespace {
const QString freeSlot = QStringLiteral("登録なし");
const QString wordError = QStringLiteral("登録単語ファイルエラー");
} // namespace

class WordFiles : public DialogFixture {
protected:
    // Registers files in Latin slots 1..3 of the settings file ("" leaves a slot freeSlot)
    // and chooses `choice`.
    void registered(std::initializer_list<QString> names, int choice)
    {
        records([&](SettingsFile& s) {
            int slot = 1;
            for (const QString& name : names) {
                const int title = 15 + 2 * (slot - 1);
                s.writeString(title, name);
                s.writeString(title + 1, name.isEmpty() ? QString() : path(name));
                ++slot;
            }
            s.writeInt16(14, static_cast<std::int16_t>(choice));
        });
    }

    // The dialog shown on its exam tab, as the pass button shows it.
    FrmOptions& shownOnExamTab()
    {
        FrmOptions& f = frmOptions();
        f.show();
        f.tbsOptions.clickTab(2);
        return f;
    }

    static bool registerButtons(FrmOptions& f) { return f.cmdEntryFile.enabled() && f.cmdDeleteEntryFile.enabled(); }
};

TEST_F(WordFiles, CancellingTheFileDialogMovesTheChoiceToARegisteredSlotOrTheSample)
{
    {
        SCOPED_TRACE("nothing registered");
        FrmOptions& f = shownOnExamTab();
        f.optionEntryFile2.click();
        ASSERT_EQ(dialogs::fileRequests().size(), 1u);
        const FileOpenRequest& r = dialogs::fileRequests()[0];
        EXPECT_EQ(r.title, QStringLiteral("既存ファイルの読み込み又は新規ファイルの作成"));
        EXPECT_EQ(r.filter, QStringLiteral("テキスト(*.txt)|*.txt|すべて(*.*)|*.*"));
        EXPECT_EQ(r.defaultExt, "txt");
        EXPECT_EQ(r.initialDir, platform::programFolder());
        EXPECT_TRUE(r.createPrompt);
        EXPECT_TRUE(f.optionEntrySampleFile.value());
        EXPECT_FALSE(f.cmdEntryFile.enabled());
        EXPECT_FALSE(f.cmdDeleteEntryFile.enabled());
        EXPECT_EQ(f.richTextBoxEntryWords.text(), "CQ\r\nDE\r\nJA1ABC");
        frmOptions.unload();
    }
    {
        SCOPED_TRACE("slot 3 registered");
        writeBytes(path("three.txt"), "ABC");
        registered({"", "", "three.txt"}, 0);
        dialogs::reset();
        FrmOptions& f = shownOnExamTab();
        f.optionEntryFile1.click();
        EXPECT_TRUE(f.optionEntryFile3.value());
        EXPECT_EQ(f.richTextBoxEntryWords.text(), "ABC");
        EXPECT_TRUE(registerButtons(f));
        // "登録" on a registered slot, then cancel: nothing changes.
        f.cmdEntryFile.click();
        EXPECT_TRUE(f.optionEntryFile3.value());
        EXPECT_EQ(LatinWordFilePath[3], path("three.txt"));
    }
}

TEST_F(WordFiles, RegisteringANewNameCreatesAnEmptyFileAndShowsTheWordTab)
{
    const QByteArray settings = settingsBytes();
    FrmOptions& f = shownOnExamTab();
    dialogs::queueFile(path("mine"));
    f.optionEntryFile1.click();
    EXPECT_TRUE(QFile::exists(path("mine.txt")));
    EXPECT_EQ(bytesOf(path("mine.txt")), QByteArray());
    EXPECT_EQ(f.optionEntryFile1.caption(), "mine.txt");
    EXPECT_EQ(LatinWordFileTitle[1], "mine.txt");
    EXPECT_EQ(LatinWordFilePath[1], path("mine.txt"));
    EXPECT_EQ(f.tbsOptions.selectedIndex(), 3);
    EXPECT_EQ(f.labelLastCountEntryWords.caption(), QStringLiteral("登録単語数：0（最大50）"));
    EXPECT_TRUE(dialogs::messages().empty());
    EXPECT_EQ(settingsBytes(), settings); // only a save writes the settings file

    // An existing file is loaded without switching the tab.
    writeBytes(path("old.txt"), "XYZ");
    f.tbsOptions.clickTab(2);
    dialogs::queueFile(path("old.txt"));
    f.cmdEntryFile.click();
    EXPECT_EQ(f.optionEntryFile1.caption(), "old.txt");
    EXPECT_EQ(f.richTextBoxEntryWords.text(), "XYZ");
    EXPECT_EQ(f.tbsOptions.selectedIndex(), 2);

    f.cmdOK.click();
    SettingsFile s;
    EXPECT_EQ(s.readInt16(14), 1);
    EXPECT_EQ(s.readString(15), "old.txt");
    EXPECT_EQ(s.readString(16), path("old.txt"));
}

TEST_F(WordFiles, AFileThatCannotBeReadIsNeitherRegisteredNorTouched)
{
    const QByteArray damaged("\x81\x20not a text", 12);
    writeBytes(path("damaged.txt"), damaged);
    FrmOptions& f = shownOnExamTab();
    dialogs::queueFile(path("damaged.txt"));
    f.optionEntryFile1.click();
    ASSERT_EQ(dialogs::messages().size(), 1u);
    EXPECT_EQ(dialogs::messages()[0].title, wordError);
    EXPECT_EQ(f.optionEntryFile1.caption(), freeSlot);
    EXPECT_TRUE(LatinWordFilePath[1].isEmpty());
    f.cmdOK.click();
    EXPECT_EQ(bytesOf(path("damaged.txt")), damaged);
}

TEST_F(WordFiles, ASlotWhoseFileVanishedIsFreedInTheAlphabetInUseOnly)
{
    writeBytes(path("gone.txt"), "A");
    registered({"", "", "gone.txt"}, 0);
    records([&](SettingsFile& s) {
        s.writeString(138, "kana.txt");
        s.writeString(139, path("kana.txt"));
    });
    QFile::remove(path("gone.txt"));
    FrmOptions& f = shownOnExamTab();
    f.optionEntryFile3.click();
    ASSERT_EQ(dialogs::messages().size(), 1u);
    EXPECT_EQ(dialogs::messages()[0].title, wordError);
    EXPECT_EQ(dialogs::messages()[0].buttons, vbOKOnly | vbCritical);
    EXPECT_TRUE(f.optionEntryFile3.value());
    EXPECT_EQ(f.optionEntryFile3.caption(), freeSlot);
    EXPECT_TRUE(LatinWordFileTitle[3].isEmpty());
    EXPECT_TRUE(LatinWordFilePath[3].isEmpty());
    EXPECT_FALSE(f.cmdEntryFile.enabled());
    EXPECT_FALSE(f.cmdDeleteEntryFile.enabled());
    // The editor offers no other file's words under this slot.
    EXPECT_TRUE(f.richTextBoxEntryWords.text().isEmpty());
    EXPECT_TRUE(f.richTextBoxEntryWords.locked());
    EXPECT_EQ(SettingsFile().readString(138), "kana.txt");

    // The word tab says nothing more about the slot already freed; a save writes
    // the choice with the empty slot.
    f.tbsOptions.clickTab(3);
    EXPECT_EQ(dialogs::messages().size(), 1u);
    f.cmdOK.click();
    SettingsFile s;
    EXPECT_EQ(s.readInt16(14), 3);
    EXPECT_EQ(s.readString(19), QString());
    EXPECT_EQ(s.readString(20), QString());
}

TEST_F(WordFiles, DeletingASlotMovesTheChoiceOnAndKeepsTheFiles)
{
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        writeBytes(path(name), name);
    registered({"a.txt", "b.txt", "c.txt"}, 1);
    FrmOptions& f = shownOnExamTab();
    ASSERT_TRUE(f.optionEntryFile1.value());
    f.cmdDeleteEntryFile.click();
    EXPECT_EQ(f.optionEntryFile1.caption(), freeSlot);
    EXPECT_TRUE(f.optionEntryFile2.value());
    EXPECT_EQ(f.richTextBoxEntryWords.text(), "b.txt");
    EXPECT_TRUE(f.cmdSave.enabled());
    f.cmdDeleteEntryFile.click();
    f.cmdDeleteEntryFile.click();
    EXPECT_TRUE(f.optionEntrySampleFile.value());
    EXPECT_FALSE(registerButtons(f));
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        EXPECT_TRUE(QFile::exists(path(name)));
}

TEST_F(WordFiles, AMissingSampleIsSaidAndMadeAgain)
{
    writeBytes(path("a.txt"), "ALPHA");
    registered({"a.txt"}, 1);
    QFile::remove(path("dudevadizu.rur"));
    FrmOptions& f = shownOnExamTab();
    f.optionEntryFile1.click();
    ASSERT_EQ(f.richTextBoxEntryWords.text(), "ALPHA");
    f.optionEntrySampleFile.click();
    ASSERT_EQ(dialogs::messages().size(), 1u);
    EXPECT_EQ(dialogs::messages()[0].title, wordError);
    // Made from what the editor held.
    EXPECT_EQ(bytesOf(path("dudevadizu.rur")), "ALPHA");
}

TEST_F(WordFiles, TheWordTabCountsLines)
{
    const struct {
        QByteArray file;
        int count;
    } cases[] = {{"", 0}, {"ONE", 1}, {"ONE\r\nTWO", 2}, {"ONE\r\nTWO\r\n", 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.constData());
        writeBytes(path("dudevadizu.rur"), c.file);
        FrmOptions& f = frmOptions();
        f.tbsOptions.selectTab(3);
        EXPECT_EQ(f.labelLastCountEntryWords.caption(),
                  QStringLiteral("登録単語数：%1（最大50）").arg(c.count));
        frmOptions.unload();
    }
}

// A word file is written back only with the learner's edits, never because it was
// opened: its bytes (here with bare line feeds) stay as they were otherwise.
TEST_F(WordFiles, SavingOnTheWordTabWritesOnlyEditedWords)
{
    const QByteArray original = "CQ\nDE\nK";
    writeBytes(path("dudevadizu.rur"), original);
    FrmOptions& f = frmOptions();
    f.show();
    f.tbsOptions.clickTab(3);
    f.cmdSave.click();
    EXPECT_EQ(bytesOf(path("dudevadizu.rur")), original);

    f.richTextBoxEntryWords.type("\rAR");
    EXPECT_TRUE(f.cmdSave.enabled());
    // Going to another tab and back keeps the edit.
    f.tbsOptions.clickTab(1);
    f.tbsOptions.clickTab(3);
    EXPECT_EQ(f.richTextBoxEntryWords.text(), "CQ\r\nDE\r\nK\r\nAR");
    // Saving on another tab writes no word file.
    f.tbsOptions.clickTab(2);
    f.cmdSave.click();
    EXPECT_EQ(bytesOf(path("dudevadizu.rur")), original);
    f.tbsOptions.clickTab(3);
    f.cmdOK.click();
    EXPECT_EQ(bytesOf(path("dudevadizu.rur")), "CQ\r\nDE\r\nK\r\nAR");
}

// Every key that edits the word list enables saving, typed as the window system
// delivers them: the control codes (a Tab kept in the list, the focus staying,
// Backspace, Ctrl+Backspace, the clipboard's Ctrl+X and Ctrl+V) and the keys that raise
// no KeyPress (Delete, the clipboard's Shift+Delete and Shift+Insert).
TEST_F(WordFiles, EveryEditingKeyOfTheWordListEnablesSaving)
{
    FrmOptions& f = frmOptions();
    f.show();
    real::activate(f);
    f.tbsOptions.clickTab(3);
    const QString words = QStringLiteral("CQ\r\nDE\r\nJA1ABC");
    const struct {
        const char* what;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        bool selectLastWord;
        const char* after;
    } cases[] = {
        {"a letter", Qt::Key_K, Qt::NoModifier, false, "CQ\r\nDE\r\nJA1ABCk"},
        {"Tab", Qt::Key_Tab, Qt::NoModifier, false, "CQ\r\nDE\r\nJA1ABC\t"},
        {"Backspace", Qt::Key_Backspace, Qt::NoModifier, false, "CQ\r\nDE\r\nJA1AB"},
        {"Ctrl+X", Qt::Key_X, Qt::ControlModifier, true, "CQ\r\nDE\r\n"},
        {"Ctrl+V", Qt::Key_V, Qt::ControlModifier, false, "CQ\r\nDE\r\nJA1ABCAR"},
        {"Ctrl+Backspace", Qt::Key_Backspace, Qt::ControlModifier, false, "CQ\r\nDE\r\n"},
        {"Delete", Qt::Key_Delete, Qt::NoModifier, true, "CQ\r\nDE\r\n"},
        {"Shift+Delete", Qt::Key_Delete, Qt::ShiftModifier, true, "CQ\r\nDE\r\n"},
        {"Shift+Insert", Qt::Key_Insert, Qt::ShiftModifier, false, "CQ\r\nDE\r\nJA1ABCAR"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QApplication::clipboard()->setText(QStringLiteral("AR"));
        f.richTextBoxEntryWords.setText(words);
        f.cmdSave.click();
        ASSERT_FALSE(f.cmdSave.enabled());
        f.richTextBoxEntryWords.setFocus();
        auto* edit = static_cast<QPlainTextEdit*>(f.richTextBoxEntryWords.widget());
        edit->moveCursor(QTextCursor::End);
        if (c.selectLastWord)
            edit->moveCursor(QTextCursor::StartOfLine, QTextCursor::KeepAnchor);
        real::key(c.key, c.mods);
        EXPECT_EQ(f.richTextBoxEntryWords.text(), c.after);
        EXPECT_TRUE(f.cmdSave.enabled());
        EXPECT_TRUE(f.richTextBoxEntryWords.hasFocus());
    }
}

// Only the learner's changes enable saving: the word tab's load, 登録 and 編集 write the
// editor from code.
TEST_F(WordFiles, LoadingTheWordListLeavesSavingAsItWas)
{
    writeBytes(path("a.txt"), "CQ");
    writeBytes(path("b.txt"), "DE");
    registered({QStringLiteral("a.txt")}, 1);
    FrmOptions& f = frmOptions();
    f.show();
    f.tbsOptions.clickTab(3);
    EXPECT_EQ(f.richTextBoxEntryWords.text(), "CQ");
    EXPECT_FALSE(f.cmdSave.enabled());
    f.tbsOptions.clickTab(2);
    dialogs::queueFile(path("b.txt"));
    f.cmdEntryFile.click();
    EXPECT_EQ(f.richTextBoxEntryWords.text(), "DE");
    EXPECT_FALSE(f.cmdSave.enabled());
    f.cmdEditEntryFile.click();
    EXPECT_EQ(f.tbsOptions.selectedIndex(), 3);
    EXPECT_FALSE(f.cmdSave.enabled());
}

TEST_F(WordFiles, WordsTheCodePageCannotHoldKeepTheDialogOpenAndTheFileAsItWas)
{
    FrmOptions& f = frmOptions();
    f.show();
    f.tbsOptions.clickTab(3);
    const QByteArray before = bytesOf(path("dudevadizu.rur"));
    f.richTextBoxEntryWords.setText(QStringLiteral("CQ\r\n\U0001F600"));
    f.cmdOK.click();
    EXPECT_TRUE(f.isShown());
    ASSERT_EQ(dialogs::messages().size(), 1u);
    EXPECT_EQ(dialogs::messages()[0].title, wordError);
    EXPECT_EQ(bytesOf(path("dudevadizu.rur")), before);
}
