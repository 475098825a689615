// The kana side of the keyboard: the romaji tables, the code check, answering and
// registration by romaji.
#include "answer/RomajiReader.h"
#include "answer/keyboard_fixture.h"
#include "support/real_input.h"

#include <cstring>
#include <set>

using namespace forms;

namespace {
QString u(const char* utf8) { return QString::fromUtf8(utf8); }
} // namespace

TEST(RomajiTables, EveryTokenCanBeTypedAndNamesItsKana)
{
    // The key texts of the code check; a token is one or two of them.
    QStringList keyTexts;
    for (const RomajiKey& k : RomajiKeyTable)
        keyTexts << QString::fromUtf16(k.text);
    auto typeable = [&](const QString& token) {
        for (const QString& a : keyTexts) {
            if (token == a)
                return true;
            for (const QString& b : keyTexts)
                if (token == a + b)
                    return true;
        }
        return false;
    };
    std::set<QString> tokens;
    std::set<int> indexes;
    int voiced = 0;
    for (const RomajiToken& t : RomajiTokenTable) {
        const QString token = QString::fromUtf16(t.token), kana = QString::fromUtf16(t.kana);
        SCOPED_TRACE(token.toStdString());
        EXPECT_TRUE(typeable(token));
        EXPECT_TRUE(tokens.insert(token).second);
        EXPECT_EQ(RomajiTokenText(token, RomajiDigits::Kanji), kana);
        if (const int i = GetKanaIndex(kana))
            indexes.insert(i);
        else
            ++voiced;
    }
    EXPECT_EQ(voiced, 26); // the G, Z (with JI), D, B and P rows
    EXPECT_EQ(indexes.size(), 68u); // every other token names a table entry, all of them
}

TEST(RomajiTables, EntriesGiveTheirKana)
{
    const struct {
        const char* entry;
        const char* ascii; // with ASCII digits (answering, registration)
        const char* kanji; // with kanji digits (code check)
    } cases[] = {{"KA", "カ", "カ"}, {"NN", "ン", "ン"}, {"JI", "ジ", "ジ"}, {"ZI", "ジ", "ジ"}, {"FU", "フ", "フ"},
        {"HU", "フ", "フ"}, {"YI", "ヰ", "ヰ"}, {"YE", "ヱ", "ヱ"}, {"WO", "ヲ", "ヲ"}, {"GA", "ガ", "ガ"},
        {"PO", "ポ", "ポ"}, {"1", "一", ""}, {"0", "〇", ""}, {"一", "", "一"}, {"〇", "", "〇"}, {"？", "？", "？"},
        {"ホレ", "ホレ", "ホレ"}, {"ラタ", "ラタ", "ラタ"}, {"]", "」", "」"}, {"\"", "濁点", "濁点"}, {"HD", "ﾟ", "ﾟ"},
        {"-", "ー", "ー"}, {",", "、", "、"}, {"(", "(", "("}, {")", ")", ")"},
        // No token: longer spellings, a lone N, small letters, the empty entry.
        {"SHI", "", ""}, {"TSU", "", ""}, {"CHI", "", ""}, {"N", "", ""}, {"ka", "", ""}, {"", "", ""},
        {"KAKA", "", ""}, {"ラタラタ", "", ""}, {"10", "", ""}, {"?", "", ""}, {"[", "", ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(RomajiTokenText(u(c.entry), RomajiDigits::Ascii), u(c.ascii)) << c.entry;
        EXPECT_EQ(RomajiTokenText(u(c.entry), RomajiDigits::Kanji), u(c.kanji)) << c.entry;
    }
}

TEST(RomajiTables, KeysAppendTheirTexts)
{
    const struct {
        int key;
        const char* ascii;
        const char* kanji;
    } cases[] = {{8, "ラタ", "ラタ"}, {'"', "\"", "\""}, {'(', "(", "("}, {')', ")", ")"}, {',', ",", ","},
        {'-', "-", "-"}, {'0', "0", "〇"}, {'1', "1", "一"}, {'9', "9", "九"}, {'?', "？", "？"}, {'a', "A", "A"},
        {'A', "A", "A"}, {'z', "Z", "Z"}, {'j', "J", "J"}, {'[', "ホレ", "ホレ"}, {']', "]", "]"},
        // Not accepted.
        {'c', "", ""}, {'L', "", ""}, {'q', "", ""}, {'V', "", ""}, {'x', "", ""}, {13, "", ""}, {27, "", ""},
        {' ', "", ""}, {'.', "", ""}, {'/', "", ""}, {'{', "", ""}, {127, "", ""}, {0, "", ""}, {-1, "", ""},
        {7, "", ""}, {'a' - 32 + 128, "", ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(RomajiKeyText(c.key, RomajiDigits::Ascii), u(c.ascii)) << c.key;
        EXPECT_EQ(RomajiKeyText(c.key, RomajiDigits::Kanji), u(c.kanji)) << c.key;
    }
    int accepted = 0;
    for (int key = -32768; key <= 32767; ++key)
        accepted += !RomajiKeyText(key, RomajiDigits::Kanji).isEmpty();
    EXPECT_EQ(accepted, 40 + 21); // the letters in both cases
}

class RomajiKeyboard : public KeyboardFixture {
protected:
    FrmMain& kanaCodeCheck()
    {
        FrmMain& f = shownKana();
        f.optionKakuninMode.click();
        return f;
    }
    void freshCodeCheck(FrmMain& f)
    {
        f.Label1.setCaption(QString());
        f.RomajiKeyCount = 0;
        platform::sound().clearLog();
    }
};

TEST_F(RomajiKeyboard, CodeCheckSoundsEachCompletedToken)
{
    const struct {
        const char* typed;
        QStringList sounded;
        const char* caption; // after the last key
    } cases[] = {
        {"ka", {u("カ")}, ""}, {"e", {u("エ")}, ""}, {"nn", {u("ン")}, ""}, {"no", {u("ノ")}, ""}, {"n", {}, "N"},
        {"hu", {u("フ")}, ""}, {"fu", {u("フ")}, ""}, {"hd", {u("ﾟ")}, ""}, {"ha", {u("ハ")}, ""}, {"sh", {}, "SH"},
        {"shi", {}, ""}, {"shii", {u("イ")}, ""}, {"kxa", {u("カ")}, ""}, {"kc la", {u("カ")}, ""}, {"k\x1b", {}, "K"},
        {"k\x1b\ra", {u("カ")}, ""}, {"k\b", {}, "Kラタ"}, {"k\ba", {}, ""}, {"\b", {u("ラタ")}, ""},
        {"[", {u("ホレ")}, ""}, {"]", {u("」")}, ""}, {"?", {u("？")}, ""}, {",", {u("、")}, ""}, {"-", {u("ー")}, ""},
        {"\"", {u("濁点")}, ""}, {"1", {u("一")}, ""}, {"9", {u("九")}, ""}, {"0", {u("〇")}, ""}, {"(", {"("}, ""},
        {"ga", {}, ""}, // a voiced kana has no code of its own
    };
    FrmMain& f = kanaCodeCheck();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        freshCodeCheck(f);
        f.userType(u(c.typed));
        EXPECT_EQ(sounded(), c.sounded);
        EXPECT_EQ(f.Label1.caption(), u(c.caption));
    }
    EXPECT_TRUE(AnswerChar.isEmpty());
}

TEST_F(RomajiKeyboard, CodeCheckUsesTheSettingsOfTheMomentAndIgnoresAStaleCount)
{
    FrmMain& f = kanaCodeCheck();
    freshCodeCheck(f);
    frmOptions().textHugouKakuninPlayTimes.setText("3");
    f.userType("a");
    EXPECT_EQ(sounded().size(), 3);
    frmOptions().textHugouKakuninPlayTimes.setText("2");
    f.userType("i");
    EXPECT_EQ(sounded().size(), 5);

    // A count left by the answering reader does not cut the next token short.
    frmOptions().textHugouKakuninPlayTimes.setText("1");
    platform::sound().clearLog();
    f.RomajiKeyCount = 2;
    f.userType("ka");
    EXPECT_EQ(sounded(), QStringList(u("カ")));
    EXPECT_EQ(f.RomajiKeyCount, 0);

    // A tone box with no number sounds nothing and leaves no half token behind.
    f.textToneFreq.setText(QString());
    platform::sound().clearLog();
    f.userType("ka");
    EXPECT_TRUE(sounded().isEmpty());
    EXPECT_EQ(f.Label1.caption(), QString());
    EXPECT_EQ(f.RomajiKeyCount, 0);

    // Unticked, in another mode, or with the Latin alphabet: nothing.
    f.textToneFreq.setText("800");
    f.checkTypeKey.setValue(0);
    f.userType("ka");
    EXPECT_TRUE(sounded().isEmpty());
    EXPECT_EQ(f.Label1.caption(), QString());
}

TEST_F(RomajiKeyboard, EscStopsAKanaRepetitionAndKeysDuringItAreNotRead)
{
    FrmMain& f = kanaCodeCheck();
    freshCodeCheck(f);
    frmOptions().textHugouKakuninPlayTimes.setText("5");
    std::function<void()> poll = [&] {
        if (sounded().size() == 1) {
            f.userType("a"); // not read: the label shows the character that sounds
        } else if (sounded().size() == 2) {
            f.userType("\x1b");
            return;
        }
        clock().callAfter(10, poll);
    };
    clock().callAfter(10, poll);
    f.userType("ka");
    EXPECT_EQ(sounded(), (QStringList {u("カ"), u("カ")}));
    EXPECT_EQ(f.Label1.caption(), QString());
    EXPECT_EQ(f.RomajiKeyCount, 0);
    EXPECT_EQ(CodeCheckPlaying, 0);
    EXPECT_EQ(CodeCheckStopRequested, 0);
}

// Esc stops the repetitions of a kana. The keys typed after it are read, even inside the
// stopped repetition's wait, and begin an entry of their own that sounds the play count;
// keys typed before Esc are not. Typed as the window system delivers them.
TEST_F(RomajiKeyboard, KeysAfterEscAreReadEvenInsideTheStoppedWait)
{
    const QString ka = u("カ"), a = u("ア"), ki = u("キ");
    const struct {
        const char* what;
        bool button; // カ started by its button rather than by "ka"
        const char* before; // typed before Esc, while カ repeats
        const char* inWait; // typed after Esc, inside the stopped repetition's wait
        const char* after; // typed once the stopped sounding has returned
        QStringList sounded;
        const char* caption;
    } cases[] = {
        {"a in the wait", false, "", "a", "", {ka, a, a, a}, ""},
        {"a key before Esc is not read", false, "i", "a", "", {ka, a, a, a}, ""},
        {"two keys in the wait", false, "", "ki", "", {ka, ki, ki, ki}, ""},
        {"an entry begun in the wait ends after it", false, "", "k", "i", {ka, ki, ki, ki}, ""},
        {"an entry begun in the wait stays", false, "", "k", "", {ka}, "K"},
        {"nothing after Esc", false, "", "", "", {ka}, ""},
        {"after the kana button", true, "", "a", "", {ka, a, a, a}, ""},
    };
    FrmMain& f = kanaCodeCheck();
    f.textCwSpeed.setText("25"); // カ's wait is 12 units of 240 ms
    f.userType("e"); // the bank is built for the speed first, behind its own window
    frmOptions().textHugouKakuninPlayTimes.setText("3");
    real::activate(f);
    auto typed = [](const char* keys) {
        for (const char* k = keys; *k; ++k)
            real::type(*k);
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        freshCodeCheck(f);
        f.optionKakuninMode.setFocus();
        clock().callAfter(1000, [&] { typed(c.before); });
        clock().callAfter(1500, [&] { real::key(Qt::Key_Escape); });
        clock().callAfter(2000, [&] { typed(c.inWait); });
        if (c.button)
            real::click(f.ButtonJp(6));
        else
            typed("ka");
        typed(c.after);
        EXPECT_EQ(sounded(), c.sounded);
        EXPECT_EQ(f.Label1.caption(), u(c.caption));
        EXPECT_EQ(f.RomajiKeyCount, static_cast<std::int16_t>(std::strlen(c.caption)));
        EXPECT_EQ(CodeCheckPlaying, 0);
        EXPECT_EQ(CodeCheckStopRequested, 0);
    }
}

TEST_F(RomajiKeyboard, TypedRomajiAnswersTheOpenQuestion)
{
    const struct {
        const char* typed;
        const char* sent;
        const char* answer;
    } cases[] = {{"ka\r", "カ", "カ"}, {"KA\r", "カ", "カ"}, {"chi\r", "ヒ", "ヒ"}, {"shi\r", "シ", "ESC"},
        {"tsu\r", "ツ", "ESC"}, {"n\r", "ン", "ESC"}, {"nn\r", "ン", "ン"}, {"ji\r", "ジ", "ジ"},
        {"ga\r", "カ", "ガ"}, // the voiced kana is no table entry: wrong
        {"1\r", "一", "一"}, {"0\r", "〇", "〇"}, {"?\r", "？", "？"}, {"[\r", "ホレ", "ホレ"}, {"]\r", "」", "」"},
        {"\"\r", "濁点", "濁点"}, {"hd\r", "ﾟ", "ﾟ"}, {"-\r", "ー", "ー"}, {",\r", "、", "、"}, {"(\r", "(", "("},
        {"\b\r", "ラタ", "ラタ"}, {"\r", "ア", "ESC"}, {"\x1b", "ア", "ESC"}, {"k\x1b", "カ", "ESC"}};
    FrmMain& f = shownKana();
    receiveRun(f);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const QString sent = u(c.sent), answer = u(c.answer);
        const bool right = answer == sent;
        openQuestion(f, sent);
        f.userType(u(c.typed));
        EXPECT_FALSE(f.timerLimitKikitoriMode.enabled());
        EXPECT_EQ(QuestionOpen, 0);
        EXPECT_EQ(AnswerChar, answer);
        EXPECT_EQ(f.Label1.caption(), right ? QStringLiteral("○") : sent);
        EXPECT_EQ(f.Label1.foreColor(), right ? vbRed : vbBlack);
        EXPECT_EQ(CorrectCount, right ? 1 : 0);
        EXPECT_EQ(f.Label2.caption(), right ? "1" : "0");
        EXPECT_EQ(totalMisses(), right ? 0 : 1);
        if (!right) {
            EXPECT_EQ(KanaMissCount[GetKanaIndex(sent)], 1);
        }
        EXPECT_EQ(f.RomajiKeyCount, 0);
    }
}

TEST_F(RomajiKeyboard, AnEntryShowsWhileTypedAndTwoBackspacesThrowItAway)
{
    FrmMain& f = shownKana();
    receiveRun(f);
    openQuestion(f, u("カ"));
    f.Label1.setCaption(u("○")); // the last answer's mark goes with the first key
    f.Label1.setForeColor(vbRed);
    f.userType("k");
    EXPECT_FALSE(f.timerLimitKikitoriMode.enabled());
    f.userType("a");
    EXPECT_EQ(f.Label1.caption(), "KA");
    EXPECT_EQ(f.Label1.foreColor(), vbBlack);

    for (const char* restart : {"\b\b", "ka\b\b"}) {
        SCOPED_TRACE(restart);
        openQuestion(f, u("カ"));
        f.userType(restart);
        EXPECT_EQ(f.Label1.caption(), QString());
        EXPECT_EQ(f.RomajiKeyCount, 0);
        EXPECT_TRUE(f.RomajiBuffer.isEmpty());
        EXPECT_EQ(QuestionOpen, -1);
        EXPECT_TRUE(AnswerChar.isEmpty());
        f.userType("ka\r"); // the next entry starts afresh
        EXPECT_EQ(CorrectCount, 1);
    }

    // A key that adds nothing stops the countdown and begins no entry.
    openQuestion(f, u("カ"));
    f.userType(" c");
    EXPECT_FALSE(f.timerLimitKikitoriMode.enabled());
    EXPECT_EQ(f.RomajiKeyCount, 0);
    EXPECT_EQ(QuestionOpen, -1);
}

TEST_F(RomajiKeyboard, TheFirstAnswerCountsAndLaterKeysNeverReopenTheQuestion)
{
    FrmMain& f = shownKana();
    receiveRun(f);
    f.StopButton_Command.setFocus();
    openQuestion(f, u("ア"));
    // A key inside the 80 ms pause of the right answer.
    clock().callAfter(40, [&] { f.userType("k"); });
    f.userType("a\r");
    EXPECT_EQ(f.Label1.caption(), u("○"));
    EXPECT_EQ(CorrectCount, 1);
    EXPECT_EQ(AnswerChar, u("ア"));
    EXPECT_TRUE(f.StopButton_Command.hasFocus()); // the focus stays

    // More keys and a second entry change neither the answer nor the counts.
    f.userType("i");
    EXPECT_EQ(AnswerChar, u("ア"));
    f.userType("\r\x1b");
    EXPECT_EQ(AnswerChar, u("ア"));
    EXPECT_EQ(CorrectCount, 1);
    EXPECT_EQ(totalMisses(), 0);

    // Nothing was sent yet: the empty text is shown and no miss counted.
    openQuestion(f, QString());
    f.Label1.setCaption("?");
    f.userType("a\r");
    EXPECT_EQ(AnswerChar, u("ア"));
    EXPECT_EQ(f.Label1.caption(), QString());
    EXPECT_EQ(totalMisses(), 0);
}

// The Enter that ends a typed answer presses no button that has the focus, typed as the
// window system delivers it; with keyboard input off the reader takes no key, and Enter
// presses the focused button as in every window.
TEST_F(RomajiKeyboard, TheEnterOfATypedAnswerPressesNoFocusedButton)
{
    FrmMain& f = shownKana();
    real::activate(f);
    receiveRun(f);
    int presses = 0;
    f.StopButton_Command.onClick = [&] { ++presses; };
    f.ButtonJp(2).onClick = [&] { ++presses; };
    const struct {
        const char* what;
        CommandButton* focused;
        int typeKey;
        int presses;
        const char* answer;
    } cases[] = {
        {"Stop focused", &f.StopButton_Command, 1, 0, "カ"},
        {"a kana key focused", &f.ButtonJp(2), 1, 0, "カ"},
        {"keyboard input off", &f.StopButton_Command, 0, 1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        f.checkTypeKey.setValue(c.typeKey);
        openQuestion(f, u("カ"));
        presses = 0;
        c.focused->setFocus();
        ASSERT_EQ(real::keyTarget(), c.focused->widget());
        real::type('k');
        real::type('a');
        real::key(Qt::Key_Return);
        EXPECT_EQ(AnswerChar, u(c.answer));
        EXPECT_EQ(presses, c.presses);
    }
}

TEST_F(RomajiKeyboard, AtZeroOfASetLimitNoKeyIsTaken)
{
    FrmMain& f = shownKana();
    receiveRun(f);
    AnswerTimeLimitSec = 3;
    openQuestion(f, u("カ"));
    f.textLimitKikitoriMode.setText("0");
    f.userType("ka\r");
    EXPECT_TRUE(f.timerLimitKikitoriMode.enabled());
    EXPECT_EQ(QuestionOpen, -1);
    EXPECT_EQ(f.RomajiKeyCount, 0);
    clock().advance(1000);
    EXPECT_EQ(AnswerChar, "ESC");
    EXPECT_EQ(KanaMissCount[6], 1);
}

TEST_F(RomajiKeyboard, RegistrationAddsUnderItem18AndRemovesUnderAnyRange)
{
    const struct {
        const char* situation;
        bool item18;
        bool running;
        std::int16_t before, after;
    } cases[] = {{"item 18: adds", true, false, 0, 6}, {"item 18: removes", true, false, 6, 0},
        {"other range: removes", false, false, 6, 0}, {"other range: cannot add", false, false, 0, 0},
        {"running", true, true, 0, 0}, {"running, chosen", true, true, 6, 6},
        {"damaged value is never changed", true, false, 40, 40}, {"damaged, other range", false, false, 40, 40}};
    FrmMain& f = shownKana();
    f.optionKikinagashiMode.click();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.situation);
        f.StartButton_Command.setEnabled(true);
        f.mnuMojihanniWabun_Hani(c.item18 ? 18 : 17).click();
        f.checkTypeKey.setValue(1);
        f.StartButton_Command.setEnabled(!c.running);
        KanaUserChosen[6] = c.before;
        f.RomajiKeyCount = 0;
        f.userType("ka");
        if (!c.running) {
            EXPECT_EQ(f.Label1.caption(), "KA");
        }
        f.userType("\r");
        EXPECT_EQ(KanaUserChosen[6], c.running ? c.before : c.after);
        EXPECT_EQ(f.Label1.caption(), QString());
    }
}

TEST_F(RomajiKeyboard, RegistrationMovesTheFocusAndLeavesVoicedKanaAlone)
{
    FrmMain& f = shownKana();
    f.optionKikinagashiMode.click();
    f.mnuMojihanniWabun_Hani(18).click();
    f.checkTypeKey.setValue(1);
    f.textToneFreq.setFocus();
    f.userType("g");
    EXPECT_TRUE(f.optionKikinagashiMode.hasFocus());
    f.userType("a\r");
    EXPECT_EQ(CountKanaUserChosen(), 0);
    EXPECT_EQ(f.Label1.caption(), QString());

    f.userType("1\r\b\r");
    EXPECT_EQ(KanaUserChosen[51], 51);
    EXPECT_EQ(KanaUserChosen[68], 68);

    // A group exam that runs shows the keys and moves the focus, but changes nothing.
    f.optionMogisikenMode.click();
    f.comboMogisikenMode.choose(0);
    f.checkTypeKey.setValue(1);
    f.StartButton_Command.setEnabled(false);
    f.textToneFreq.setFocus();
    f.userType("ka");
    EXPECT_EQ(f.Label1.caption(), "KA");
    EXPECT_TRUE(f.optionMogisikenMode.hasFocus());
    f.userType("\r");
    EXPECT_EQ(KanaUserChosen[6], 0);

    // Esc ends the entry without touching the set or any open question.
    QuestionOpen = -1;
    f.userType("ka\x1b");
    EXPECT_EQ(f.Label1.caption(), QString());
    EXPECT_EQ(f.RomajiKeyCount, 0);
    EXPECT_TRUE(AnswerChar.isEmpty());
    EXPECT_EQ(CountKanaUserChosen(), 2);
}
