#include "dialogs/frmOptions.h"
#include "support/app_fixture.h"

using namespace forms;

class OptionsDialog : public AppFixture { };

namespace {
    // The panel of tab `tab` stands in view and takes input; the others are out of view.
    void expectPanelsFor(FrmOptions& f, int tab)
    {
        for (int i = 0; i <= 3; ++i) {
            SCOPED_TRACE(testing::Message() << "tab " << tab << ", panel " << i);
            EXPECT_EQ(f.picOptions(i).left(), i == tab - 1 ? 210 : -20000);
            EXPECT_EQ(f.picOptions(i).enabled(), i == tab - 1);
        }
    }
}

TEST_F(OptionsDialog, DesignValuesThatOtherPartsRead)
{
    FrmOptions& f = frmOptions();
    for (HScrollBar* s : {&f.WavQuarityHScroll, &f.WavVolumeHScroll}) {
        EXPECT_EQ(s->min(), 1);
        EXPECT_EQ(s->max(), 5);
        EXPECT_EQ(s->value(), 1);
    }
    // The labels keep their design captions beside the design value 1 until a load.
    EXPECT_EQ(f.QuarityLabel.caption(), QStringLiteral("[音質5]"));
    EXPECT_EQ(f.VolumeLabel.caption(), QStringLiteral("[音量10]"));
    EXPECT_EQ(f.hScrollCodeInterval.min(), -100);
    EXPECT_EQ(f.hScrollCodeInterval.max(), 100);
    EXPECT_EQ(f.hScrollCodeInterval.largeChange(), 10);
    EXPECT_EQ(f.hScrollCodeInterval.value(), 0);

    const struct {
        const char* name;
        UpDown* spinner;
        TextBox* box;
        int min, max, value, maxLength;
    } spinners[] = {
        {"play count", &f.upDownLoopCw, &f.textHugouKakuninPlayTimes, 1, 5, 1, 1},
        {"gap", &f.upDownHugouSpace, &f.textHugouSpace, 3, 10, 3, 2},
        {"lower", &f.upDownLowerBound, &f.textLowerBound, 1, 10, 1, 2},
        {"upper", &f.upDownUpperBound, &f.textUpperBound, 1, 10, 1, 2},
    };
    for (const auto& c : spinners) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.box->text(), QString());
        EXPECT_TRUE(c.box->locked());
        EXPECT_EQ(c.box->maxLength(), c.maxLength);
        EXPECT_EQ(c.spinner->min(), c.min);
        EXPECT_EQ(c.spinner->max(), c.max);
        EXPECT_EQ(c.spinner->value(), c.value);
        EXPECT_EQ(c.spinner->buddy(), c.box);
    }
    EXPECT_TRUE(f.optionTextRandom.value());
    EXPECT_FALSE(f.optionTextSelect.value());
    EXPECT_FALSE(f.optionWaveSampHigh.value());
    EXPECT_FALSE(f.optionWaveSampLow.value());
    for (OptionButton* o : {&f.optionEntrySampleFile, &f.optionEntryFile1, &f.optionEntryFile2, &f.optionEntryFile3})
        EXPECT_FALSE(o->value());
    EXPECT_EQ(f.optionEntryFile1.caption(), QString());

    ASSERT_EQ(f.tbsOptions.tabCount(), 4);
    EXPECT_EQ(f.tbsOptions.tabCaption(2), QStringLiteral("模擬試験"));
    EXPECT_EQ(f.tbsOptions.selectedIndex(), 1);
    // Until the first switch the first panel stands at its design Left.
    EXPECT_EQ(f.picOptions(0).left(), 240);
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(f.picOptions(i).left(), -20000);
}

TEST_F(OptionsDialog, TheTabSwitchBringsOnePanelIntoView)
{
    FrmOptions& f = frmOptions();
    f.show();
    for (int tab : {3, 4, 1, 2}) {
        f.tbsOptions.clickTab(tab);
        expectPanelsFor(f, tab);
    }
    // Controls of a panel out of view cannot be reached.
    EXPECT_FALSE(f.WavQuarityHScroll.reachable());
    EXPECT_TRUE(f.optionWaveSampLow.reachable());
}

TEST_F(OptionsDialog, SelectingTheSecondTabFromCodeRunsTheSwitchBeforeShowing)
{
    // What the pass button does in its "登録・編集" role.
    frmOptions().tbsOptions.selectTab(2);
    expectPanelsFor(frmOptions(), 2);
}

TEST_F(OptionsDialog, EveryWayOfClosingUnloadsAndTheNextAccessStartsFromTheDesign)
{
    const struct {
        const char* how;
        void (*close)(FrmOptions&);
    } ways[] = {
        {"OK", [](FrmOptions& f) { f.cmdOK.click(); }},
        {"cancel", [](FrmOptions& f) { f.cmdCancel.click(); }},
        {"Esc", [](FrmOptions& f) { f.userType("\x1b"); }},
        {"close box", [](FrmOptions& f) { f.userClose(); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        FrmOptions& f = frmOptions();
        const unsigned generation = f.generation();
        f.show();
        f.WavVolumeHScroll.userScrollTo(4);
        f.tbsOptions.clickTab(4);
        f.upDownLoopCw.up();
        f.tbsOptions.clickTab(2);
        f.optionTextSelect.click();
        // A step from the empty box starts at the spinner's value and writes the box.
        ASSERT_EQ(f.textHugouKakuninPlayTimes.text(), "2");
        ASSERT_EQ(f.WavVolumeHScroll.value(), 4);
        ASSERT_TRUE(f.optionTextSelect.value());
        way.close(f);
        ASSERT_FALSE(frmOptions.isLoaded());

        FrmOptions& again = frmOptions();
        EXPECT_NE(again.generation(), generation);
        EXPECT_FALSE(again.isShown());
        EXPECT_EQ(again.WavVolumeHScroll.value(), 1);
        EXPECT_EQ(again.textHugouKakuninPlayTimes.text(), QString());
        EXPECT_EQ(again.upDownLoopCw.value(), 1);
        EXPECT_TRUE(again.optionTextRandom.value());
        EXPECT_EQ(again.tbsOptions.selectedIndex(), 1);
        EXPECT_EQ(again.picOptions(0).left(), 240);
        EXPECT_EQ(again.picOptions(3).left(), -20000);
        frmOptions.unload();
    }
}
