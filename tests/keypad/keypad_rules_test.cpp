#include "keypad/KeypadRules.h"
#include "settings/SharedSettings.h"
#include "support/keypad_fixture.h"

#include <optional>

using namespace forms;

namespace {
enum class Mode { None, CodeCheck, Receive, Listen, Exam };

OptionButton& optionOf(FrmMain& f, Mode m)
{
    switch (m) {
    case Mode::None:
    case Mode::CodeCheck:
        return f.optionKakuninMode;
    case Mode::Receive:
        return f.optionKikitoriMode;
    case Mode::Listen:
        return f.optionKikinagashiMode;
    case Mode::Exam:
        break;
    }
    return f.optionMogisikenMode;
}

// Selects the mode through its option button (its handler runs, as for the learner).
void selectMode(FrmMain& f, Mode m, int kind)
{
    f.optionMogisikenMode.setValue(true);
    f.comboMogisikenMode.setListIndex(kind);
    f.optionKikitoriMode.setValue(true);
    optionOf(f, m).setValue(true);
    if (m == Mode::None) // as a stored mode that names none leaves it
        optionOf(f, m).setValue(false);
}

bool typeKeyGroup(FrmMain& f, bool on)
{
    return f.checkTypeKey.enabled() == on && f.checkTypeKeyLeftLabel.enabled() == on
        && f.checkTypeKeyRightLabel.enabled() == on;
}

bool examLengthGroup(FrmMain& f, bool on)
{
    return f.textReceiveTime.enabled() == on && f.labelReceiveTime.enabled() == on
        && f.upDownReceiveTime.enabled() == on
        && f.textReceiveTime.backColor() == (on ? vbWindowBackground : vbScrollBars);
}
} // namespace

class KeypadRules : public KeypadFixture { };

struct LatinCase {
    const char* situation;
    Mode mode;
    int kind;
    int row;
    bool typeKeysOn;
    int tick; // from 0 before the rules run
    std::vector<int> keys;
    bool rangeMenu;
    bool codeCheckPanel; // Start, Stop, pass, exam-kind list, limit spinner and exam length off
    bool examLengthOff;
};

TEST_F(KeypadRules, LatinResultsFollowModeExamKindAndRange)
{
    const std::vector<int> all = span(1, 48), none;
    const LatinCase cases[] = {
        {"code check, row 5", Mode::CodeCheck, -1, 5, true, 0, all, false, true, true},
        {"receive, row 10", Mode::Receive, -1, 10, true, 0, span(1, 26, span(37, 48)), true, false, false},
        {"receive, row 12", Mode::Receive, -1, 12, true, 1, all, true, false, false},
        {"receive, row 13", Mode::Receive, -1, 13, true, 1, all, true, false, false},
        {"listen, row 3", Mode::Listen, -1, 3, false, 0, span(11, 15), true, false, false},
        {"exam kind 1, row 7", Mode::Exam, 1, 7, false, 0, span(27, 36), true, false, false},
        {"listen, row 13", Mode::Listen, -1, 13, true, 1, all, true, false, false},
        {"exam kind 0, row 12", Mode::Exam, 0, 12, true, 1, all, true, false, false},
        {"exam kind 2, row 13", Mode::Exam, 2, 13, false, 0, none, false, false, false},
        {"exam kind 3, row 1", Mode::Exam, 3, 1, false, 0, none, false, false, true},
        {"no mode, row 3", Mode::None, 1, 3, false, 0, span(11, 15), false, false, false},
        {"no mode, row 12", Mode::None, 1, 12, true, 1, all, false, false, false},
    };
    FrmMain& f = shown();
    for (const LatinCase& c : cases) {
        SCOPED_TRACE(c.situation);
        selectMode(f, c.mode, c.kind);
        checkLatinRow(f, c.row);
        // Every output the opposite of what the rules should give, or set where
        // they should leave it.
        for (int i = 1; i <= 48; ++i)
            f.LatinButton(i).setEnabled(i % 2 == 0);
        f.SetTypeKeyTrio(!c.typeKeysOn);
        f.checkTypeKey.setValue(0);
        f.mnuMojihanni.setEnabled(!c.rangeMenu);
        for (Control* on : std::initializer_list<Control*> {&f.StartButton_Command, &f.StopButton_Command,
                 &f.KaitoupassButton_Command, &f.comboMogisikenMode, &f.upDownLimitKikitoriMode})
            on->setEnabled(true);
        f.SetReceiveTimeGroup(true);

        ApplyModeToKeypads();

        EXPECT_TRUE(typeKeyGroup(f, c.typeKeysOn));
        EXPECT_EQ(f.checkTypeKey.value(), c.tick);
        EXPECT_EQ(enabledLatinKeys(f), c.keys);
        EXPECT_EQ(f.mnuMojihanni.enabled(), c.rangeMenu);
        const bool panel = !c.codeCheckPanel;
        EXPECT_EQ(f.StartButton_Command.enabled(), panel);
        EXPECT_EQ(f.StopButton_Command.enabled(), panel);
        EXPECT_EQ(f.KaitoupassButton_Command.enabled(), panel);
        EXPECT_EQ(f.comboMogisikenMode.enabled(), panel);
        EXPECT_EQ(f.upDownLimitKikitoriMode.enabled(), panel);
        EXPECT_TRUE(examLengthGroup(f, !c.examLengthOff));
    }
}

struct KanaCase {
    const char* situation;
    Mode mode;
    int kind;
    int row;
    bool startEnabled;
    bool typeKeysOn;
    std::vector<int> keys;
    // Enabled with this caption, nullptr: disabled, none: left as it was.
    std::optional<const char16_t*> dakutenBox;
    bool rangeMenu;
    bool listLocked; // starts locked
    std::optional<bool> runControls; // Start, Stop and the exam-kind list
    std::optional<QString> pass; // enabled with this caption; "" disabled
    std::optional<bool> examLength;
    std::optional<bool> blinkTimer;
};

TEST_F(KeypadRules, KanaResultsFollowModeExamKindRangeAndRun)
{
    const std::vector<int> all = span(1, 68), none;
    std::vector<int> evenKeys; // as each case leaves the keys before the rules run
    for (int i = 2; i <= 68; i += 2)
        evenKeys.push_back(i);
    const QString edit = QStringLiteral("登録・編集");
    const KanaCase cases[] = {
        {"code check", Mode::CodeCheck, -1, 5, true, true, all, nullptr, false, true, false, QString(), false, {}},
        {"receive, row 15", Mode::Receive, -1, 15, true, true, span(1, 50, span(61, 68)), nullptr, true, false, {}, {},
            {}, false},
        {"receive during a run", Mode::Receive, -1, 15, false, true, span(1, 50, span(61, 68)), nullptr, false, true,
            {}, {}, {}, false},
        {"listen, row 18", Mode::Listen, -1, 18, true, true, all, nullptr, true, false, {}, {}, {}, true},
        {"listen, row 5", Mode::Listen, -1, 5, true, false, span(21, 25), nullptr, true, false, {}, {}, {}, false},
        {"exam kind 1, row 2", Mode::Exam, 1, 2, true, false, span(6, 10), u"濁点を練習しない", true, false, {},
            QString(), true, false},
        {"exam kind 0, row 6", Mode::Exam, 0, 6, true, false, span(26, 30), u"濁点・半濁点を練習しない", true, false,
            {}, QString(), true, false},
        {"exam kind 0, row 18", Mode::Exam, 0, 18, true, true, all, nullptr, true, false, {}, QString(), true, true},
        {"exam kind 2", Mode::Exam, 2, 18, true, false, none, std::nullopt, false, true, {}, edit, true, false},
        {"exam kind 3", Mode::Exam, 3, 3, true, false, none, std::nullopt, false, true, {}, edit, false, false},
        // Nothing past the range menu is written: the keys and the rest keep their state.
        {"no mode, row 5", Mode::None, 1, 5, true, false, evenKeys, std::nullopt, false, true, {}, {}, {}, {}},
        {"no mode, row 18", Mode::None, 1, 18, true, true, evenKeys, std::nullopt, false, true, {}, {}, {}, {}},
    };
    FrmMain& f = shownKana();
    for (const KanaCase& c : cases) {
        SCOPED_TRACE(c.situation);
        selectMode(f, c.mode, c.kind);
        checkKanaRow(f, c.row);
        for (int i = 1; i <= 68; ++i)
            f.ButtonJp(i).setEnabled(i % 2 == 0);
        f.SetTypeKeyTrio(!c.typeKeysOn);
        f.checkExceptDakutenHandakuten.setEnabled(true);
        f.checkExceptDakutenHandakuten.setCaption(QStringLiteral("x"));
        f.mnuMojihanniWabun.setEnabled(!c.rangeMenu);
        f.comboMogisikenMode.setEnabled(true);
        f.comboMogisikenMode.setLocked(true);
        f.StartButton_Command.setEnabled(c.startEnabled);
        f.StopButton_Command.setEnabled(true);
        f.KaitoupassButton_Command.setEnabled(true);
        f.KaitoupassButton_Command.setCaption(QStringLiteral("解答パス"));
        f.SetReceiveTimeGroup(!c.examLength.value_or(true));
        f.timerUserChoseJpLetters.setEnabled(!c.blinkTimer.value_or(true));

        ApplyModeToKeypads();

        EXPECT_TRUE(typeKeyGroup(f, c.typeKeysOn));
        EXPECT_EQ(enabledKanaKeys(f), c.keys);
        const char16_t* box = c.dakutenBox.value_or(u"x");
        if (box) {
            EXPECT_TRUE(f.checkExceptDakutenHandakuten.enabled());
            EXPECT_EQ(f.checkExceptDakutenHandakuten.caption(), QString::fromUtf16(box));
        } else {
            EXPECT_FALSE(f.checkExceptDakutenHandakuten.enabled());
        }
        EXPECT_EQ(f.mnuMojihanniWabun.enabled(), c.rangeMenu);
        EXPECT_EQ(f.comboMogisikenMode.locked(), c.listLocked);
        if (c.runControls) {
            EXPECT_EQ(f.StartButton_Command.enabled(), *c.runControls);
            EXPECT_EQ(f.StopButton_Command.enabled(), *c.runControls);
            EXPECT_EQ(f.comboMogisikenMode.enabled(), *c.runControls);
        }
        if (c.pass) {
            EXPECT_EQ(f.KaitoupassButton_Command.enabled(), !c.pass->isEmpty());
            if (!c.pass->isEmpty()) {
                EXPECT_EQ(f.KaitoupassButton_Command.caption(), *c.pass);
            }
        } else {
            EXPECT_TRUE(f.KaitoupassButton_Command.enabled());
        }
        if (c.examLength) {
            EXPECT_TRUE(examLengthGroup(f, *c.examLength));
        }
        if (c.blinkTimer) {
            EXPECT_EQ(f.timerUserChoseJpLetters.enabled(), *c.blinkTimer);
        }
    }
}
