#include "dialogs/dialogMogisikenTxt.h"
#include "dialog_fixture.h"
#include "material/ExamWaveCache.h"
#include "support/real_input.h"

#include <QDir>

using namespace forms;

class ExamTexts : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        QDir().mkpath(path("Text"));
        QDir().mkpath(path("sound"));
    }

    QString text(const QString& name) const { return path("Text/" + name); }
    QString slotSound(int slot) const { return path(QStringLiteral("sound/MogisikenOubun%1.wav").arg(slot)); }

    // Registers Latin slots in the settings file: slot -> file name, enabled flag -1.
    void registered(std::initializer_list<std::pair<int, QString>> texts)
    {
        records([&](SettingsFile& s) {
            for (const auto& [slot, name] : texts) {
                s.writeString(74 + slot, text(name));
                s.writeInt16(84 + slot, -1);
            }
        });
    }

    DialogMogisikenTxt& shown()
    {
        DialogMogisikenTxt& d = dialogMogisikenTxt();
        d.show();
        return d;
    }

    static bool listShown(DialogMogisikenTxt& d)
    {
        return d.Picture1(0).left() == 120 && d.Picture1(1).left() == -12000 && d.cmdCredit.visible()
            && d.cmdCreditAllDelete.visible() && d.OKButton.caption() == "OK";
    }
};

TEST_F(ExamTexts, AFreshSettingsFileLoadsTheDesignAndTheFirstSaveWritesIt)
{
    DialogMogisikenTxt& d = dialogMogisikenTxt();
    EXPECT_TRUE(d.optionTextRandom.value());
    EXPECT_EQ(d.frameCheckOrOption(0).left(), 600);
    EXPECT_EQ(d.frameCheckOrOption(1).left(), -6000);
    EXPECT_EQ(d.labelExplanation.caption(),
              QStringLiteral("使用したいファイル全てにチェックマークを入れて下さい。\r\n"
                             "登録済みファイルの編集・削除はファイルパスをダブルクリックして下さい。"));
    EXPECT_EQ(d.checkAutoStartEndAdd.value(), 0);
    for (int i = 0; i <= 9; ++i) {
        EXPECT_TRUE(d.textFilePath(i).text().isEmpty());
        EXPECT_FALSE(d.checkSelectText(i).enabled());
        EXPECT_FALSE(d.optionSelectText(i).enabled());
    }
    EXPECT_FALSE(d.cmdCreditAllDelete.enabled());
    EXPECT_TRUE(dialogs::messages().empty());

    // Choosing the pick method shows the option buttons; closing saves it.
    d.show();
    d.optionTestSelect.click();
    EXPECT_EQ(d.frameCheckOrOption(1).left(), 600);
    d.userClose();
    SettingsFile s;
    EXPECT_EQ(s.readInt16(72), 2);
    EXPECT_EQ(s.readInt16(73), 0);
    for (int i = 0; i <= 9; ++i) {
        EXPECT_EQ(s.readString(74 + i), QString());
        EXPECT_EQ(s.readInt16(84 + i), 0);
    }
    EXPECT_EQ(LatinExamTextSelectMode, 2);
    EXPECT_EQ(ExamTextDialogOk, 0);
}

TEST_F(ExamTexts, LoadReadsTheSlotsTheirFlagsAndTheCacheKeys)
{
    writeBytes(text("three.txt"), "CQ CQ");
    writeBytes(text("seven.txt"), "DE JA1");
    registered({{3, "three.txt"}, {7, "seven.txt"}});
    records([&](SettingsFile& s) {
        s.writeInt16(73, -1);
        s.writeInt16(84 + 7, 0);
        s.writeInt16(94 + 3, -1);
        s.writeTagged(104 + 3, 800);
        s.writeTagged(114 + 3, 45);
    });
    LatinExamTextDrawn[3] = 1;
    DialogMogisikenTxt& d = dialogMogisikenTxt();
    EXPECT_EQ(d.textFilePath(3).text(), text("three.txt"));
    EXPECT_EQ(d.checkSelectText(3).value(), 1);
    EXPECT_TRUE(d.checkSelectText(3).enabled());
    EXPECT_EQ(d.checkSelectText(7).value(), 0);
    EXPECT_TRUE(d.optionSelectText(7).enabled());
    EXPECT_EQ(d.checkAutoStartEndAdd.value(), 1);
    EXPECT_EQ(LatinAutoStartEnd, -1);
    EXPECT_TRUE(d.cmdCreditAllDelete.enabled());
    // Ticking at load starts the slot's random cycle afresh.
    EXPECT_EQ(LatinExamTextDrawn[3], 0);
    EXPECT_EQ(LatinExamWaveStartEnd[3], -1);
    EXPECT_EQ(LatinExamWaveFreq[3], std::optional<std::int16_t>(800));
    EXPECT_EQ(LatinExamWaveSpeed[3], std::optional<std::int16_t>(45));
    EXPECT_EQ(LatinExamWaveFreq[4], std::nullopt);
    // The editor holds the last text that loaded.
    EXPECT_EQ(d.richTextBoxEdit.text(), "DE JA1");
}

// A key is read a slot at a time: a slot with a record that cannot be read keeps
// the key it held, so no key is put together from two recordings.
TEST_F(ExamTexts, ASlotWithADamagedKeyRecordKeepsTheKeyItHeld)
{
    records([&](SettingsFile& s) {
        for (int slot : {2, 5}) {
            s.writeInt16(94 + slot, -1);
            s.writeTagged(104 + slot, 900);
            s.writeTagged(114 + slot, 25);
        }
    });
    QByteArray bytes = settingsBytes();
    bytes[SettingsRecordOffset(114 + 5)] = 3; // no tag of a TaggedValue
    writeBytes(SettingsFile::defaultPath(), bytes);
    LatinExamWaveStartEnd[5] = 0;
    LatinExamWaveFreq[5] = 800;
    LatinExamWaveSpeed[5] = 60;
    dialogMogisikenTxt();
    EXPECT_EQ(ExamWaveKeyOf(-1, 2), (ExamWaveKey{-1, 900, 25}));
    EXPECT_EQ(ExamWaveKeyOf(-1, 5), (ExamWaveKey{0, 800, 60}));
}

TEST_F(ExamTexts, AMissingTextIsSaidAndFreedADamagedOneIsSaidAndKept)
{
    const QByteArray damaged("\x81\x20", 2);
    writeBytes(text("damaged.txt"), damaged);
    registered({{1, "gone.txt"}, {2, "damaged.txt"}});
    DialogMogisikenTxt& d = dialogMogisikenTxt();
    ASSERT_EQ(dialogs::messages().size(), 2u);
    for (const auto& m : dialogs::messages()) {
        EXPECT_EQ(m.title, QStringLiteral("ファイルエラー"));
        EXPECT_EQ(m.buttons, vbOKOnly | vbCritical);
    }
    EXPECT_TRUE(d.textFilePath(1).text().isEmpty());
    EXPECT_FALSE(d.checkSelectText(1).enabled());
    EXPECT_EQ(d.checkSelectText(1).value(), 0);
    EXPECT_EQ(d.textFilePath(2).text(), text("damaged.txt"));
    // A double click does not offer a text that was not read from the file.
    d.show();
    d.textFilePath(2).dblClick();
    EXPECT_TRUE(listShown(d));
    d.OKButton.click();
    SettingsFile s;
    EXPECT_EQ(s.readString(75), QString());
    EXPECT_EQ(s.readInt16(85), 0);
    EXPECT_EQ(s.readString(76), text("damaged.txt"));
    EXPECT_EQ(bytesOf(text("damaged.txt")), damaged);
}

TEST_F(ExamTexts, RegisteringAnExistingTextAndSavingItsEdit)
{
    writeBytes(text("old.txt"), sjis(QStringLiteral("ホレ イロハ")));
    registered({{0, "zero.txt"}});
    writeBytes(text("zero.txt"), "X");
    writeBytes(slotSound(1), "old recording");
    DialogMogisikenTxt& d = shown();
    dialogs::queueFile(text("old.txt"));
    d.cmdCredit.click();
    ASSERT_EQ(dialogs::fileRequests().size(), 1u);
    EXPECT_EQ(dialogs::fileRequests()[0].initialDir, path("Text"));
    EXPECT_EQ(d.richTextBoxEdit.text(), QStringLiteral("ホレ イロハ"));
    EXPECT_EQ(d.cmdTextSave.caption(), QStringLiteral("登録"));
    EXPECT_EQ(d.OKButton.caption(), QStringLiteral("キャンセル"));
    EXPECT_EQ(d.Picture1(1).left(), 120);
    EXPECT_FALSE(d.cmdCredit.visible());
    EXPECT_TRUE(d.textFilePath(1).text().isEmpty()); // shown only once saved

    d.richTextBoxEdit.type(QStringLiteral(" ニ"));
    EXPECT_EQ(d.cmdTextSave.caption(), QStringLiteral("保存・登録"));
    d.cmdTextSave.click();
    EXPECT_EQ(bytesOf(text("old.txt")), sjis(QStringLiteral("ホレ イロハ ニ")));
    EXPECT_EQ(d.textFilePath(1).text(), text("old.txt"));
    EXPECT_EQ(d.checkSelectText(1).value(), 1);
    EXPECT_TRUE(d.optionSelectText(1).enabled());
    EXPECT_FALSE(QFile::exists(slotSound(1)));
    EXPECT_TRUE(listShown(d));
    EXPECT_EQ(SettingsFile().readString(75), text("old.txt"));
    EXPECT_EQ(SettingsFile().readInt16(85), -1);
}

// "登録" of a text as it was read registers it without rewriting it: reading and
// writing code page 932 is not byte for byte (here, bare line feeds).
TEST_F(ExamTexts, RegisteringAnUneditedTextLeavesItsFileAsItWas)
{
    const QByteArray original = "CQ\nDE";
    writeBytes(text("lf.txt"), original);
    DialogMogisikenTxt& d = shown();
    dialogs::queueFile(text("lf.txt"));
    d.cmdCredit.click();
    d.cmdTextSave.click();
    EXPECT_EQ(d.textFilePath(0).text(), text("lf.txt"));
    EXPECT_EQ(bytesOf(text("lf.txt")), original);
}

TEST_F(ExamTexts, ANewNameIsCreatedEmptyAndCancelRemovesIt)
{
    DialogMogisikenTxt& d = shown();
    dialogs::queueFile(text("new"));
    d.cmdCredit.click();
    ASSERT_TRUE(QFile::exists(text("new.txt")));
    EXPECT_TRUE(d.richTextBoxEdit.text().isEmpty());
    EXPECT_EQ(d.cmdTextSave.caption(), QStringLiteral("保存・登録"));
    EXPECT_TRUE(d.labelExplanation.caption().startsWith(QStringLiteral("新しく問題文を作成して")));
    d.cmdTextSave.click();
    ASSERT_EQ(dialogs::messages().size(), 1u);
    EXPECT_EQ(dialogs::messages()[0].prompt, QStringLiteral("テキストファイルが空です。文章を作成して下さい。"));
    EXPECT_EQ(d.Picture1(1).left(), 120);
    d.OKButton.click();
    EXPECT_FALSE(dialogMogisikenTxt.isLoaded());
    EXPECT_FALSE(QFile::exists(text("new.txt")));
    EXPECT_EQ(ExamTextDialogOk, 0);
    EXPECT_EQ(SettingsFile().readString(74), QString());

    // Cancelling the registration of an existing file keeps the file.
    writeBytes(text("kept.txt"), "ABC");
    DialogMogisikenTxt& again = shown();
    dialogs::queueFile(text("kept.txt"));
    again.cmdCredit.click();
    again.OKButton.click();
    EXPECT_EQ(bytesOf(text("kept.txt")), "ABC");
    EXPECT_TRUE(dialogMogisikenTxt().textFilePath(0).text().isEmpty());
}

TEST_F(ExamTexts, NoFreeSlotOrACancelledDialogChangesNothing)
{
    for (int i = 0; i <= 9; ++i) {
        writeBytes(text(QStringLiteral("t%1.txt").arg(i)), "A");
        registered({{i, QStringLiteral("t%1.txt").arg(i)}});
    }
    writeBytes(text("extra.txt"), "B");
    DialogMogisikenTxt& d = shown();
    dialogs::queueFile(text("extra.txt"));
    d.cmdCredit.click();
    EXPECT_TRUE(listShown(d));
    d.cmdCredit.click(); // cancelled
    EXPECT_TRUE(listShown(d));
    EXPECT_TRUE(dialogs::messages().empty());
    for (int i = 0; i <= 9; ++i)
        EXPECT_EQ(d.textFilePath(i).text(), text(QStringLiteral("t%1.txt").arg(i)));
}

TEST_F(ExamTexts, OpeningARegisteredTextAndUnregisteringIt)
{
    writeBytes(text("a.txt"), "AAA");
    writeBytes(text("b.txt"), "BBB");
    registered({{0, "a.txt"}, {4, "b.txt"}});
    writeBytes(slotSound(4), "recording");
    DialogMogisikenTxt& d = shown();
    d.textFilePath(5).dblClick(); // an empty row
    EXPECT_TRUE(listShown(d));

    d.textFilePath(4).dblClick();
    EXPECT_EQ(d.richTextBoxEdit.text(), "BBB");
    EXPECT_EQ(d.Picture1(0).left(), -12000);
    EXPECT_EQ(d.Picture1(1).left(), 120);
    dialogs::queueAnswer(vbNo);
    d.cmdDelete.click();
    EXPECT_EQ(dialogs::messages().back().title, QStringLiteral("削除確認"));
    EXPECT_EQ(dialogs::messages().back().buttons, vbYesNo | vbExclamation);
    EXPECT_TRUE(listShown(d));
    EXPECT_EQ(d.textFilePath(4).text(), text("b.txt"));
    EXPECT_TRUE(QFile::exists(slotSound(4)));

    d.textFilePath(4).dblClick();
    dialogs::queueAnswer(vbYes);
    d.cmdDelete.click();
    EXPECT_TRUE(listShown(d));
    EXPECT_TRUE(d.textFilePath(4).text().isEmpty());
    EXPECT_FALSE(d.checkSelectText(4).enabled());
    EXPECT_FALSE(QFile::exists(slotSound(4)));
    EXPECT_EQ(bytesOf(text("b.txt")), "BBB");
    EXPECT_EQ(SettingsFile().readString(78), QString());

    // A row whose file vanished meanwhile is said and freed.
    QFile::remove(text("a.txt"));
    d.textFilePath(0).dblClick();
    EXPECT_EQ(dialogs::messages().back().title, QStringLiteral("ファイルエラー"));
    EXPECT_TRUE(d.textFilePath(0).text().isEmpty());
    EXPECT_TRUE(listShown(d));
    EXPECT_FALSE(d.cmdCreditAllDelete.enabled());
}

// Registering a text brings the editor panel over the list, which stays where it is:
// the boxes behind it are no Tab stops. Tab goes from the check box straight to the
// editor, and Shift+Tab from キャンセル walks back over what is seen only.
TEST_F(ExamTexts, TheRegistrationTabsOnlyThroughWhatItShows)
{
    writeBytes(text("old.txt"), "CQ");
    writeBytes(text("zero.txt"), "X");
    registered({{0, "zero.txt"}});
    DialogMogisikenTxt& d = shown();
    real::activate(d);
    dialogs::queueFile(text("old.txt"));
    d.cmdCredit.click();
    ASSERT_EQ(d.Picture1(0).left(), 120);
    ASSERT_EQ(d.Picture1(1).left(), 120);
    d.checkAutoStartEndAdd.setFocus();
    real::key(Qt::Key_Tab);
    EXPECT_EQ(d.activeControl(), &d.richTextBoxEdit);

    d.OKButton.setFocus();
    std::vector<Control*> walked;
    for (int i = 0; i < 6; ++i) {
        real::key(Qt::Key_Backtab, Qt::ShiftModifier);
        walked.push_back(d.activeControl());
    }
    EXPECT_EQ(walked, (std::vector<Control*>{&d.cmdDelete, &d.cmdTextSave, &d.richTextBoxEdit, &d.checkAutoStartEndAdd,
                                             &d.optionTextRandom, &d.OKButton}));
}

// Opening a registered text by a double click on its box takes the list out of view
// while that box has the focus: the focus goes to the first stop in view, and no stop
// of the walk back round the dialog is in the list.
TEST_F(ExamTexts, OpeningATextLeavesNoFocusInTheListOutOfView)
{
    writeBytes(text("a.txt"), "AAA");
    registered({{0, "a.txt"}});
    DialogMogisikenTxt& d = shown();
    real::activate(d);
    d.textFilePath(0).dblClick();
    ASSERT_EQ(d.Picture1(0).left(), -12000);
    EXPECT_EQ(d.activeControl(), &d.optionTextRandom);
    EXPECT_EQ(real::keyTarget(), d.optionTextRandom.widget());
    QWidget* list = d.Picture1(0).widget();
    for (int i = 0; i < 6; ++i) {
        real::key(Qt::Key_Backtab, Qt::ShiftModifier);
        ASSERT_NE(d.activeControl(), nullptr);
        EXPECT_FALSE(list->isAncestorOf(real::keyTarget())) << "step " << i;
    }
}

// A recording that cannot be deleted when its slot's text changes stays on disk,
// but loses its key: the next exam of the slot must not take it for the new text's.
TEST_F(ExamTexts, ARecordingThatCannotBeDeletedLosesItsKey)
{
    writeBytes(text("a.txt"), "AAA");
    registered({{2, "a.txt"}});
    records([&](SettingsFile& s) {
        s.writeInt16(94 + 2, -1);
        s.writeTagged(104 + 2, 800);
        s.writeTagged(114 + 2, 45);
    });
    QDir().mkpath(slotSound(2) + "/kept"); // a folder in its place: no delete takes it
    DialogMogisikenTxt& d = shown();
    ASSERT_EQ(ExamWaveKeyOf(-1, 2), (ExamWaveKey{-1, 800, 45}));
    d.textFilePath(2).dblClick();
    d.richTextBoxEdit.type(QStringLiteral(" BBB"));
    d.cmdTextSave.click();
    ASSERT_FALSE(dialogs::messages().empty());
    EXPECT_TRUE(dialogs::messages().back().prompt.startsWith(QStringLiteral("以前の問題音声ファイルを削除できません。")));
    EXPECT_EQ(bytesOf(text("a.txt")), "AAA BBB");
    EXPECT_EQ(ExamWaveKeyOf(-1, 2), (ExamWaveKey{-1, std::nullopt, std::nullopt}));
    EXPECT_EQ(examWaveKeyStore().read(-1, 2), (ExamWaveKey{-1, std::nullopt, std::nullopt}));
}

TEST_F(ExamTexts, UnregisteringAllFreesEverySlotAndDeletesTheirSounds)
{
    writeBytes(text("a.txt"), "AAA");
    registered({{2, "a.txt"}, {9, "a.txt"}});
    for (int i = 0; i <= 9; ++i)
        writeBytes(slotSound(i), "rec");
    writeBytes(path("sound/MogisikenWabun2.wav"), "kana rec");
    DialogMogisikenTxt& d = shown();
    dialogs::queueAnswer(vbNo);
    d.cmdCreditAllDelete.click();
    EXPECT_EQ(d.textFilePath(2).text(), text("a.txt"));
    dialogs::queueAnswer(vbYes);
    d.cmdCreditAllDelete.click();
    EXPECT_EQ(dialogs::messages().back().title, QStringLiteral("確認"));
    for (int i = 0; i <= 9; ++i) {
        EXPECT_TRUE(d.textFilePath(i).text().isEmpty());
        EXPECT_FALSE(QFile::exists(slotSound(i)));
    }
    EXPECT_EQ(LatinExamTextEnabled[2], 0);
    EXPECT_FALSE(d.cmdCreditAllDelete.enabled());
    EXPECT_TRUE(QFile::exists(path("sound/MogisikenWabun2.wav")));
    EXPECT_TRUE(QFile::exists(text("a.txt")));
}

TEST_F(ExamTexts, APickOkAndTheCloseBoxEndTheDialogDifferently)
{
    writeBytes(text("a.txt"), "AAA");
    registered({{6, "a.txt"}});
    {
        DialogMogisikenTxt& d = shown();
        d.optionTestSelect.click();
        d.optionSelectText(6).click();
        EXPECT_FALSE(dialogMogisikenTxt.isLoaded());
        EXPECT_EQ(LatinExamTextPicked[6], -1);
        EXPECT_EQ(LatinExamTextSlot, 6);
        EXPECT_EQ(ExamTextDialogOk, 0);
        EXPECT_EQ(SettingsFile().readInt16(72), 2);
    }
    LatinExamTextPicked[6] = 0;
    shown().userClose();
    EXPECT_EQ(ExamTextDialogOk, 0);
    EXPECT_EQ(LatinExamTextPicked[6], 0);
    shown().OKButton.click();
    EXPECT_EQ(ExamTextDialogOk, -1);
    EXPECT_FALSE(dialogMogisikenTxt.isLoaded());
}

TEST_F(ExamTexts, TheKanaAlphabetUsesItsOwnRecordsAndSounds)
{
    AlphabetIsLatin = 0;
    writeBytes(text("k.txt"), sjis(QStringLiteral("イロハ")));
    writeBytes(path("sound/MogisikenWabun0.wav"), "kana rec");
    writeBytes(slotSound(0), "latin rec");
    DialogMogisikenTxt& d = shown();
    dialogs::queueFile(text("k.txt"));
    d.cmdCredit.click();
    d.cmdTextSave.click();
    d.checkAutoStartEndAdd.click();
    EXPECT_EQ(KanaAutoStartEnd, -1);
    d.OKButton.click();
    SettingsFile s;
    EXPECT_EQ(s.readString(211), text("k.txt"));
    EXPECT_EQ(s.readInt16(221), -1);
    EXPECT_EQ(s.readInt16(133), -1);
    EXPECT_EQ(s.readString(74), QString());
    EXPECT_EQ(KanaExamTextPath[0], text("k.txt"));
    EXPECT_FALSE(QFile::exists(path("sound/MogisikenWabun0.wav")));
    EXPECT_TRUE(QFile::exists(slotSound(0)));
}
