// The results window as Stop shows it after a single-character run: the counts,
// the score picture by the ratio, and the miss list.
#include "platform/files.h"
#include "practice/QuenModule.h"
#include "practice/RunState.h"
#include "practice/frmKikitoriResult.h"
#include "practice/frmMain.h"
#include "settings/SharedSettings.h"
#include "support/app_fixture.h"

#include <QImage>
#include <vector>

using namespace forms;

namespace {
struct Showing {
    QString asked, right, list;
    QImage picture; // null: no picture
};

QImage pictureOf(const char* name)
{
    return forms::loadPicture(platform::besideProgram(QString::fromLatin1(name))).toImage();
}
} // namespace

class ResultsWindow : public AppFixture {
protected:
    FrmMain& f = shownMain();

    void SetUp() override { f.optionKikitoriMode.click(); }

    // The counts as a run leaves them in the main window, and its misses.
    void runLeft(int asked, int right, const std::vector<std::pair<int, int>>& misses)
    {
        f.Label4.setCaption(QString::number(asked));
        f.Label2.setCaption(QString::number(right));
        ClearMissCounts();
        for (auto [index, count] : misses) {
            const auto i = static_cast<std::size_t>(index);
            (AlphabetIsLatin == -1 ? LatinMissCount[i] : KanaMissCount[i]) = static_cast<std::int16_t>(count);
        }
    }

    // Stop, as the learner presses it; what the window showed, closed by its button
    // or by its close box.
    Showing stop(bool closeBox = false)
    {
        Showing s;
        bool seen = false;
        clock().callAfter(10, [&] {
            FrmKikitoriResult* r = frmKikitoriResult.ifLoaded();
            if (!r || !r->isShown())
                return;
            seen = true;
            s = {r->SyutudaiLabel.caption(), r->SeikaiLabel.caption(), r->HuseikaiListLabel.caption(),
                 r->icon().isNull() ? QImage() : r->icon().toImage()};
            if (closeBox)
                r->userClose();
            else
                r->CloseButton.click();
        });
        f.StopButton_Command.click();
        EXPECT_TRUE(seen);
        EXPECT_FALSE(frmKikitoriResult.isLoaded());
        return s;
    }
};

TEST_F(ResultsWindow, ScorePictureByTheRatio)
{
    const struct {
        int asked, right;
        const char* picture; // nullptr: none
    } cases[] = {
        {10, 10, "Perfect.gaz"}, {5, 4, "Good.gaz"},  {10, 8, "Good.gaz"}, {10, 9, "Good.gaz"},
        {10, 7, "Soso.gaz"},     {10, 5, "Soso.gaz"}, {2, 1, "Soso.gaz"},  {10, 4, "Bad.gaz"},
        {10, 0, "Bad.gaz"},      {4, 5, nullptr},
    };
    for (const auto& c : cases) {
        runLeft(c.asked, c.right, {{1, c.asked - c.right > 0 ? c.asked - c.right : 1}});
        MissListCount = 0;
        const Showing s = stop();
        const QString what = QStringLiteral("%1 of %2").arg(c.right).arg(c.asked);
        EXPECT_EQ(s.asked, QString::number(c.asked)) << what.toStdString();
        EXPECT_EQ(s.right, QString::number(c.right)) << what.toStdString();
        if (c.picture)
            EXPECT_EQ(s.picture, pictureOf(c.picture)) << what.toStdString() << " " << c.picture;
        else
            EXPECT_TRUE(s.picture.isNull()) << what.toStdString();
        // Every question right: no list, whatever the counters hold.
        if (c.asked == c.right)
            EXPECT_EQ(s.list, QStringLiteral("不正解の符号なし。"));
        else
            EXPECT_EQ(s.list, QStringLiteral("A:%1回　").arg(c.asked - c.right > 0 ? c.asked - c.right : 1));
    }
}

TEST_F(ResultsWindow, MissListLabelsAndLineBreaks)
{
    const QString br = QStringLiteral("\r\r\n");
    QString seven, forty;
    for (int i = 1; i <= 7; ++i)
        seven += LatinCharTable[i] + QStringLiteral(":1回　") + (i == 5 ? br : QString());
    std::vector<std::pair<int, int>> fortyMisses;
    for (int i = 1; i <= 40; ++i) {
        fortyMisses.push_back({i, 1});
        const QString label = i == 37 ? QStringLiteral("終点:") : i == 38 ? QStringLiteral("小読点:")
                                                                          : LatinCharTable[i] + QLatin1Char(':');
        forty += label + QStringLiteral("1回　") + (i % 5 == 0 && i <= 35 ? br : QString());
    }
    const struct {
        const char* name;
        std::vector<std::pair<int, int>> misses;
        QString list;
    } cases[] = {
        {"named marks", {{1, 2}, {5, 1}, {37, 3}, {38, 1}}, QStringLiteral("A:2回　E:1回　終点:3回　小読点:1回　")},
        {"the last three", {{46, 1}, {47, 2}, {48, 1}}, QStringLiteral("':1回　\":2回　訂正:1回　")},
        {"seven entries", {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, {7, 1}}, seven},
        {"forty entries", fortyMisses, forty},
    };
    for (const auto& c : cases) {
        runLeft(60, 10, c.misses);
        MissListCount = 0; // a new run's list
        EXPECT_EQ(stop().list, c.list) << c.name;
    }
}

TEST_F(ResultsWindow, ASecondShowingCarriesTheEntryCount)
{
    runLeft(10, 6, {{1, 1}, {2, 1}, {3, 1}});
    MissListCount = 0;
    EXPECT_EQ(stop(true).list, QStringLiteral("A:1回　B:1回　C:1回　"));
    // Stop again with no answer in between: the same counts, the list built anew
    // (the close box emptied it) and its line break after the running fifth entry.
    const Showing again = stop();
    EXPECT_EQ(again.asked, "10");
    EXPECT_EQ(again.right, "6");
    EXPECT_EQ(again.list, QStringLiteral("A:1回　B:1回　\r\r\nC:1回　"));
    EXPECT_EQ(MissListCount, 6);
}

TEST_F(ResultsWindow, KanaListInTableOrderWithoutBreaks)
{
    f.mnuChange.click();
    f.optionKikitoriMode.click();
    const int hore = GetKanaIndex(QString::fromUtf16(u"ホレ"));
    std::vector<std::pair<int, int>> misses = {{hore, 2}, {1, 1}};
    for (int i = 2; i <= 7; ++i)
        misses.push_back({i, 1});
    runLeft(20, 3, misses);
    MissListCount = 0;
    QString list;
    for (int i = 1; i <= 7; ++i)
        list += GetKanaText(static_cast<std::int16_t>(i)) + QStringLiteral(":1回　");
    list += QStringLiteral("ホレ:2回　");
    EXPECT_EQ(stop().list, list);
}
