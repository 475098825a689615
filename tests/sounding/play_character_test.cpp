#include "practice/QuenModule.h"
#include "practice/RunState.h"
#include "practice/frmMain.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsRecords.h"
#include "settings/SharedSettings.h"
#include "sounding/PlayCharacter.h"
#include "sounding/makeBeep.h"
#include "support/app_fixture.h"
#include "support/play_log.h"
#include "synthesis/Delay.h"
#include "synthesis/MorseCodeTable.h"
#include "synthesis/SoundBank.h"
#include "synthesis/ToneOptions.h"

#include <functional>

class CodeCheck : public AppFixture {
protected:
    FrmMain& main() { return shownMain(); }
    void TearDown() override
    {
        CodeIntervalFactor = 1.0f;
        AppFixture::TearDown();
    }
    // The plays of the bank's images, from the log.
    std::vector<Sounded> plays()
    {
        std::vector<Sounded> out;
        for (const Sounded& s : soundedSince(0))
            if (s.what != "beep")
                out.push_back(s);
        return out;
    }
};

TEST_F(CodeCheck, WaveWaitsBetweenRepetitions)
{
    main();
    const struct {
        const char* speed;
        float factor;
        const char16_t* text;
        int gapUnits;
        platform::Tick wait;
    } cases[] = {
        {"45", 1.0f, u"A", 3, 1064}, {"45", 1.5f, u"A", 3, 1264}, {"80", 1.5f, u"E", 3, 412},
        {"45", 1.1f, u"A", 5, 1370}, {"80", 1.1f, u"E", 3, 323},  {"25", 1.0f, u"0", 10, 6960},
    };
    for (const auto& c : cases) {
        CodeIntervalFactor = c.factor;
        const QString text = QString::fromUtf16(c.text);
        PlayCharacter(text, c.speed, 800, WaveSampleRate, 1, c.gapUnits); // builds the bank for the speed
        platform::sound().clearLog();
        platform::Tick start = clock().now();
        PlayCharacter(text, c.speed, 800, WaveSampleRate, 3, c.gapUnits);
        auto p = plays();
        ASSERT_EQ(p.size(), 3u) << c.speed;
        EXPECT_EQ(p[0].at, start);
        EXPECT_EQ(p[1].at - p[0].at, c.wait) << c.speed << " " << c.factor;
        EXPECT_EQ(clock().now() - start, 3 * c.wait);
        EXPECT_EQ(p[0].what, text);
        EXPECT_EQ(frmMain().Label1.caption(), text);
        EXPECT_EQ(CodeCheckPlaying, 0);
    }
}

TEST_F(CodeCheck, BeepRoadWaitsTheGapAfterTheRoutine)
{
    FrmMain& f = main();
    f.mnuSoundBeep.click();
    platform::sound().clearLog();
    platform::Tick start = clock().now();
    PlayCharacter("A", "25", 800, WaveSampleRate, 2, 10); // unit 240, gap 1680 after 3 units
    auto s = soundedSince(start);
    ASSERT_EQ(s.size(), 4u);
    EXPECT_EQ(s[0], (Sounded{0, "beep", 240}));
    EXPECT_EQ(s[1], (Sounded{480, "beep", 720}));
    EXPECT_EQ(s[2].at, 8 * 240 + 1680);
    EXPECT_EQ(clock().now() - start, 2 * (8 * 240 + 1680));
    EXPECT_EQ(LastBeepSymbol, "A");
}

TEST_F(CodeCheck, BracketsFollowTheAlphabetAndUnknownTextsSoundNothing)
{
    main();
    const QByteArray* image = nullptr;
    AlphabetIsLatin = -1;
    EXPECT_EQ(CodeCheckRow("(", &image), 41);
    EXPECT_EQ(image, &LatinCharWave[41]);
    AlphabetIsLatin = 0;
    EXPECT_EQ(CodeCheckRow("(", &image), 42);
    EXPECT_EQ(image, &KanaCharWave[64]);
    EXPECT_EQ(CodeCheckRow(")"), 47);
    EXPECT_EQ(CodeCheckRow(QString::fromUtf16(u"ル")), 41);
    AlphabetIsLatin = 5;
    EXPECT_EQ(CodeCheckRow("("), 0);
    EXPECT_EQ(CodeCheckRow("\""), 47);
    AlphabetIsLatin = -1;

    frmMain().Label1.setCaption("x");
    platform::sound().clearLog();
    platform::Tick start = clock().now();
    for (const char16_t* t : {u"a", u"ガ", u"０", u""})
        PlayCharacter(QString::fromUtf16(t), "45", 800, WaveSampleRate, 3, 3);
    EXPECT_TRUE(soundedSince(0).empty());
    EXPECT_EQ(clock().now(), start);
    EXPECT_EQ(frmMain().Label1.caption(), "x");
    EXPECT_EQ(CodeCheckPlaying, 0);
}

TEST_F(CodeCheck, EscStopsTheRepetitionsAlsoAfterANestedPress)
{
    main();
    PlayCharacter("A", "45", 800, WaveSampleRate, 1, 3);
    platform::sound().clearLog();
    platform::Tick start = clock().now();
    // A nested press of E during the first wait of A, then Esc after it returned.
    clock().callAt(start + 100, [] {
        PlayCharacter("E", "45", 800, WaveSampleRate, 1, 3);
        EXPECT_EQ(CodeCheckPlaying, -1); // the interrupted call still repeats
    });
    clock().callAt(start + 900, [] {
        if (CodeCheckPlaying == -1)
            CodeCheckStopRequested = -1;
    });
    PlayCharacter("A", "45", 800, WaveSampleRate, 5, 3);
    auto p = plays();
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(p[0].what, "A");
    EXPECT_EQ(p[1].what, "E");
    EXPECT_EQ(CodeCheckPlaying, 0);
    EXPECT_EQ(CodeCheckStopRequested, 0);
}

TEST_F(CodeCheck, RebuildsWhenSpeedOrAlphabetDifferButNotForTheRateAlone)
{
    FrmMain& f = main();
    ASSERT_EQ(SoundBankSpeedText, "45"); // built at start-up
    QByteArray before = LatinCharWave[1];
    PlayCharacter("A", "45", 800, WaveSampleRate, 0, 3);
    EXPECT_EQ(LatinCharWave[1], before);
    // Another sample rate: the images keep playing at the rate they were built at.
    const std::int32_t rate = WaveSampleRate;
    WaveSampleRate = rate == 8000 ? 16000 : 8000;
    PlayCharacter("A", "45", 800, WaveSampleRate, 0, 3);
    WaveSampleRate = rate;
    EXPECT_EQ(LatinCharWave[1], before);
    PlayCharacter("A", "045", 800, WaveSampleRate, 0, 3);
    EXPECT_EQ(SoundBankSpeedText, "045");
    // Switching the alphabet while Beep is chosen, then back to Wave: the kana images
    // are built before they play.
    f.mnuSoundBeep.click();
    f.mnuChange.click();
    f.mnuSoundWave.click();
    EXPECT_TRUE(KanaCharWave[1].isEmpty());
    platform::sound().clearLog();
    PlayCharacter(QString::fromUtf16(u"ア"), "045", 800, WaveSampleRate, 1, 3);
    EXPECT_FALSE(KanaCharWave[1].isEmpty());
    ASSERT_EQ(plays().size(), 1u);
}

// A press inside the waits of a rebuild would sound the half-built bank: it sounds
// nothing then, and its character once the rebuild has ended. The rebuild of the
// alphabet switch, and of a press at another speed (the second press nested in it).
TEST_F(CodeCheck, APressDuringARebuildSoundsOnceTheBankIsBuilt)
{
    FrmMain& f = main();
    const QString a = QString::fromUtf16(u"ア"), ka = QString::fromUtf16(u"カ");
    // Both alphabets' images built once, in code check.
    f.optionKakuninMode.click();
    f.mnuChange.click();
    f.optionKakuninMode.click();
    const struct {
        const char* name;
        std::function<void()> rebuild;
        QStringList heard; // from the rebuild's end
    } cases[] = {
        {"the alphabet switch",
         [&] {
             f.mnuChange.click(); // to Latin
             f.mnuChange.click(); // and back: the press comes inside this rebuild
         },
         {ka}},
        {"a press at another speed",
         [&] {
             f.textCwSpeed.setText(f.textCwSpeed.text() == QLatin1String("25") ? "60" : "25");
             f.ButtonJp(1).click();
         },
         {a, ka}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(AlphabetIsLatin, 0);
        bool building = false;
        std::size_t soundedInPress = 0;
        clock().callAfter(700, [&] {
            building = SoundBankBuilding();
            const std::size_t before = platform::sound().log().size();
            f.ButtonJp(6).click();
            soundedInPress = platform::sound().log().size() - before;
        });
        platform::sound().clearLog();
        const platform::Tick t0 = clock().now();
        c.rebuild();
        clock().advance(10000);
        EXPECT_TRUE(building);
        EXPECT_EQ(soundedInPress, 0u);
        QStringList heard;
        for (const Sounded& s : soundedSince(t0))
            if (!heard.contains(s.what))
                heard << s.what;
        EXPECT_EQ(heard, c.heard);
        EXPECT_EQ(f.Label1.caption(), QString());
    }
}

// A bracket's code changes with the alphabet. Pressed in Latin at a new speed, with
// the switch to kana made inside the press's own rebuild: the Latin bracket sounds,
// from the images that rebuild made, as it does with no switch.
TEST_F(CodeCheck, ABracketPressedBeforeASwitchSoundsInItsAlphabet)
{
    FrmMain& f = main();
    // Both alphabets' images built, so that the kana bracket would sound too.
    f.optionKakuninMode.click();
    f.mnuChange.click();
    f.optionKakuninMode.click();
    f.mnuChange.click();
    f.optionKakuninMode.click();
    ASSERT_EQ(AlphabetIsLatin, -1);
    forms::CommandButton& bracket = f.LatinButton(GetLatinIndex(")"));
    auto pressAt25 = [&](bool switchInside) {
        f.textCwSpeed.setText("60");
        bracket.click();
        clock().advance(20000);
        f.textCwSpeed.setText("25");
        bool building = false;
        if (switchInside)
            clock().callAfter(300, [&] {
                building = SoundBankBuilding();
                f.mnuChange.click();
            });
        platform::sound().clearLog();
        bracket.click();
        clock().advance(20000);
        EXPECT_EQ(building, switchInside);
        std::vector<std::string> heard; // each image with its length
        for (const Sounded& s : plays())
            heard.push_back(QStringLiteral("%1 %2 ms").arg(s.what).arg(s.ms).toStdString());
        return heard;
    };
    const std::vector<std::string> alone = pressAt25(false);
    const std::vector<std::string> switched = pressAt25(true);
    EXPECT_EQ(AlphabetIsLatin, 0);
    ASSERT_FALSE(alone.empty());
    EXPECT_EQ(switched, alone);
}

// Presses made inside one rebuild wait for its end and are then taken up one at a
// time, in the order they were made, each sounded whole: its repetitions with their
// gaps, then the next press (no burst, no press cut short). An Esc drops the presses
// made before it, and stops the press whose rebuild it is; a press after it sounds.
TEST_F(CodeCheck, PressesDuringARebuildSoundWholeInTheOrderMade)
{
    FrmMain& f = main();
    // Two repetitions, 5 units apart, in both alphabets (each switch loads them);
    // both alphabets' images built once, in code check.
    {
        SettingsFile file;
        for (const AlphabetRecords* r : {&LatinRecords, &KanaRecords}) {
            file.writeInt16(r->codePlayCount, 2);
            file.writeInt16(r->codeGapUnits, 5);
        }
    }
    f.optionKakuninMode.click();
    f.mnuChange.click();
    f.optionKakuninMode.click();
    auto kana = [](const char16_t* t) { return QString::fromUtf16(t); };
    const QString a = kana(u"ア"), i = kana(u"イ"), u = kana(u"ウ");
    const QString esc = QStringLiteral("\x1b");
    auto switchTwice = [&] {
        f.mnuChange.click(); // to Latin
        f.mnuChange.click(); // and back: the presses come inside this rebuild
    };
    auto pressAtNewSpeed = [&] {
        f.textCwSpeed.setText(f.textCwSpeed.text() == QLatin1String("25") ? "60" : "25");
        f.ButtonJp(1).click(); // ア, with its own rebuild
    };
    const struct {
        const char* name;
        std::function<void()> rebuild;
        QStringList inside; // pressed 0.4 s apart from 0.3 s into the rebuild ("\x1b": Esc)
        QStringList heard;  // every repetition, from the rebuild's start
    } cases[] = {
        {"the alphabet switch", switchTwice, {a, i, u}, {a, a, i, i, u, u}},
        {"a press at another speed", pressAtNewSpeed, {i, u}, {a, a, i, i, u, u}},
        {"Esc inside the switch", switchTwice, {a, i, esc, u}, {u, u}},
        {"Esc inside a press's own rebuild", pressAtNewSpeed, {i, esc, u}, {u, u}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(AlphabetIsLatin, 0);
        int pressedInside = 0;
        std::size_t soundedInPresses = 0;
        for (int k = 0; k < c.inside.size(); ++k)
            clock().callAfter(300 + 400 * k, [&, text = c.inside[k]] {
                if (!SoundBankBuilding())
                    return;
                ++pressedInside;
                const std::size_t before = platform::sound().log().size();
                if (text == esc)
                    f.userType(esc);
                else
                    f.ButtonJp(GetKanaIndex(text)).click();
                soundedInPresses += platform::sound().log().size() - before;
            });
        platform::sound().clearLog();
        c.rebuild();
        clock().advance(30000);
        EXPECT_EQ(pressedInside, c.inside.size());
        EXPECT_EQ(soundedInPresses, 0u);
        const std::vector<Sounded> p = plays();
        QStringList heard;
        for (const Sounded& s : p)
            heard << s.what;
        EXPECT_EQ(heard.join(' ').toStdString(), c.heard.join(' ').toStdString());
        // Each play waits out the one before it: its character and the whole gap.
        const std::int32_t gapMs = 2 * UnitMs;
        for (std::size_t k = 1; k < p.size(); ++k) {
            const int units = MorseRowAt(CodeCheckRow(p[k - 1].what)).n;
            EXPECT_EQ(p[k].at - p[k - 1].at, WaveCharacterWaitMs(units, UnitMs, gapMs)) << "play " << k;
        }
        EXPECT_EQ(CodeCheckPlaying, 0);
        EXPECT_EQ(f.Label1.caption(), QString());
    }
}
