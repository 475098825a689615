#include "dialogs/dialogMogisikenTxt.h"
#include "material/ExamSampleBuilders.h"
#include "material/ExamWaveCache.h"
#include "material/ExamWaveCompiler.h"
#include "platform/failure.h"
#include "platform/files.h"
#include "platform/sound/sound_service.h"
#include "practice/RunState.h"
#include "practice/frmMain.h"
#include "settings/SharedSettings.h"
#include "support/app_fixture.h"
#include "synthesis/frmExchangeProgress.h"
#include "synthesis/synthesis_fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QtEndian>

#include <functional>
#include <memory>
#include <string>

using platform::SND_ASYNC;
using platform::SND_FILENAME;
using platform::SND_MEMORY;
using platform::SND_NODEFAULT;

namespace {

// A recording read back as what a listener hears: the silence before the first and
// after the last tone in ms, and between them the elements ("." one unit of tone,
// "-" three) and the gaps (none for one unit, " " for three, " | " for seven, " <k> "
// for any other k units).
struct Layout {
    platform::Tick leadMs = 0, trailMs = 0;
    std::string code;
    bool operator==(const Layout&) const = default;
};

void PrintTo(const Layout& l, std::ostream* os)
{
    *os << "{" << l.leadMs << " ms, \"" << l.code << "\", " << l.trailMs << " ms}";
}

Layout layoutOf(const QString& path, int unitMs)
{
    const QByteArray file = platform::readWholeFile(path);
    const std::int32_t rate = qFromLittleEndian<std::int32_t>(file.constData() + 24);
    const std::int32_t bytes = qFromLittleEndian<std::int32_t>(file.constData() + 40);
    EXPECT_EQ(file.size(), 44 + bytes);
    std::vector<std::pair<bool, qsizetype>> runs; // (tone, samples)
    for (qsizetype i = 44; i + 1 < file.size(); i += 2) {
        const bool tone = qFromLittleEndian<std::int16_t>(file.constData() + i) != 0;
        if (runs.empty() || runs.back().first != tone)
            runs.push_back({tone, 0});
        ++runs.back().second;
    }
    Layout l;
    if (runs.empty() || runs.front().first || runs.back().first)
        return {-1, -1, "no silence at the ends"};
    l.leadMs = runs.front().second * 1000 / rate;
    l.trailMs = runs.back().second * 1000 / rate;
    const qsizetype unit = rate * unitMs / 1000;
    for (std::size_t r = 1; r + 1 < runs.size(); ++r) {
        const qsizetype units = runs[r].second / unit;
        if (runs[r].second % unit)
            l.code += " <" + std::to_string(runs[r].second) + " samples> ";
        else if (runs[r].first)
            l.code += units == 1   ? "."
                      : units == 3 ? "-"
                                   : " <tone " + std::to_string(units) + "> ";
        else
            l.code += units == 1   ? ""
                      : units == 3 ? " "
                      : units == 7 ? " | "
                                   : " <" + std::to_string(units) + "> ";
    }
    return l;
}

// Runs probe(turn) at every turn of the event loop (turns 1, 2, ...) while it lives.
class EveryTurn {
public:
    explicit EveryTurn(std::function<void(int)> probe) : probe_(std::move(probe)) { post(); }
    ~EveryTurn() { *alive_ = false; }
    int turns() const { return turn_; }

private:
    void post()
    {
        QMetaObject::invokeMethod(
            qApp,
            [this, alive = alive_] {
                if (!*alive)
                    return;
                probe_(++turn_);
                post();
            },
            Qt::QueuedConnection);
    }
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    std::function<void(int)> probe_;
    int turn_ = 0;
};

QString soundFile(const QString& name)
{
    return platform::besideProgram(QStringLiteral("sound/") + name);
}

// Loads the exam-text dialog afresh, which reads the recordings' keys, and closes it.
void reloadExamTextDialog()
{
    dialogMogisikenTxt.unload();
    dialogMogisikenTxt();
    dialogMogisikenTxt.unload();
}

} // namespace

class ExamWaveCompiler : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        FrmMain& f = frmMain(); // creates the sound folder
        f.show();
        // No ramps: at 800 Hz and 8000 samples per second no tone sample is 0.
        SetToneQualityValue(5);
        SetToneVolumeValue(1);
        setExamWaveKeyStore(nullptr);
        for (auto* a : {&LatinExamWaveStartEnd, &KanaExamWaveStartEnd})
            a->fill(0);
        for (auto* a :
             {&LatinExamWaveFreq, &LatinExamWaveSpeed, &KanaExamWaveFreq, &KanaExamWaveSpeed})
            a->fill(std::nullopt);
        LatinAutoStartEnd = 0;
        KanaAutoStartEnd = 0;
        ConversionCancelRequested = 0;
        disarmPoll();
        platform::sound().clearLog();
    }
    void TearDown() override
    {
        SetToneQualityValue(1);
        SetToneVolumeValue(1);
        AppFixture::TearDown();
    }

    static void disarmPoll()
    {
        frmMain().timerCheckWavePlayEnd.setEnabled(false);
        frmMain().timerCheckWavePlayEnd.setInterval(0);
    }
    static bool pollArmed()
    {
        const forms::Timer& t = frmMain().timerCheckWavePlayEnd;
        return t.enabled() && t.interval() == 800;
    }
    // The main window during a mock exam's conversion: the run holds the Start button.
    static FrmMain& inMockExamRun()
    {
        FrmMain& f = frmMain();
        f.optionMogisikenMode.setValue(true);
        f.StartButton_Command.setEnabled(false);
        f.textCwSpeed.setLocked(true);
        return f;
    }
    static std::vector<platform::PlayLogEntry> plays() { return platform::sound().log(); }
};

TEST_F(ExamWaveCompiler, RecordingsHaveASecondOfSilenceAtEachEndAndMorseSpacingBetween)
{
    const struct {
        const char16_t* text;
        std::int16_t alphabet;
        Layout layout;
    } cases[] = {
        {u"E", -1, {1300, 1000, "."}},
        {u"A B", -1, {1300, 1000, ".- | -..."}},
        {u"A  B", -1, {1300, 1000, ".- <11> -..."}},
        {u"A!B", -1, {1300, 1000, ".- -..."}},
        {u"ＣＱ　ｃｑ", -1, {1300, 1000, "-.-. --.- | -.-. --.-"}},
        {u"ガ", -1, {1300, 1000, ".-.. .."}},
        {u"ガA", -1, {1300, 1000, ".-.. .. .-"}},
        {u"Aガ", -1, {1300, 1000, ".- .-.. .."}},
        {u"ｶﾞ", -1, {1300, 1000, ".-.. .."}},
        {u"パ", -1, {1300, 1000, "-... ..--."}},
        {u"(A)", -1, {1300, 1000, "-.--. .- -.--.-"}},
        {u"[ﾎﾚ](A)[ﾗﾀ](A)", -1, {1300, 1000, "-..--- -.--.- .- .-..-. ...-. -.--. .- -.--.-"}},
        {u"[ﾎﾚ](A)[BT](A)", -1, {1300, 1000, "-..--- -.--.- .- .-..-. -...- -.--. .- -.--.-"}},
        {u"(ア)", 0, {1300, 1000, "-.--.- --.-- .-..-."}},
        {u"AB[", -1, {1300, 1000, ".- -..."}},
        {u"\r\nA", -1, {1300, 1000, ".-"}},
        {u" A", -1, {1700, 1000, ".-"}},
        {u"A\r\nB", -1, {1300, 1000, ".- -..."}},
        {u"[BT]X", -1, {1300, 1000, "-...- -..-"}},
        {u"=＝+＋-－", -1, {1300, 1000, "-...- -...- .-.-. .-.-. -....- -....-"}},
        {u"「アイウ」", 0, {1300, 1000, ".-.-.."}},
        {u"[XY]abc", -1, {1300, 1000, ".- -... -.-."}},
        {u"訂", -1, {1300, 1000, "........"}},
    };
    UnitMs = 77;
    for (const auto& c : cases) {
        AlphabetIsLatin = c.alphabet;
        BuildAndPlayExamWave(99, QString::fromUtf16(c.text), 60, 800, 8000, -1);
        EXPECT_EQ(layoutOf(soundFile("Mogisiken.wav"), 100), c.layout)
            << QString::fromUtf16(c.text).toStdString();
        platform::sound().stop();
    }
    EXPECT_EQ(UnitMs, 77); // the exam's own unit leaves the shared one alone
}

TEST_F(ExamWaveCompiler, TheFileIsACanonicalWaveAtTheGivenRateAndUnit)
{
    BuildAndPlayExamWave(99, "T", 45, 800, 16000, -1); // unit 133 ms
    const QByteArray file = platform::readWholeFile(soundFile("Mogisiken.wav"));
    // 2 s of silence, 2 units of lead, the dash element of 4 units.
    const qsizetype samples = 32000 + 6 * 133 * 16;
    ASSERT_EQ(file.size(), 44 + 2 * samples);
    EXPECT_EQ(file.left(4), "RIFF");
    EXPECT_EQ(qFromLittleEndian<std::int32_t>(file.constData() + 4), 2 * samples + 36);
    EXPECT_EQ(file.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(qFromLittleEndian<std::int16_t>(file.constData() + 22), 1);
    EXPECT_EQ(qFromLittleEndian<std::int32_t>(file.constData() + 24), 16000);
    EXPECT_EQ(qFromLittleEndian<std::int16_t>(file.constData() + 34), 16);
    EXPECT_EQ(qFromLittleEndian<std::int32_t>(file.constData() + 40), 2 * samples);
    EXPECT_EQ(layoutOf(soundFile("Mogisiken.wav"), 133), (Layout{1399, 1000, "-"}));
}

// Every character goes through its exam builder and the builder's storing rule:
// the character of the last later position is left in ExamCharSamples.
TEST_F(ExamWaveCompiler, TheLastLaterCharacterStaysWhereItsBuilderStoredIt)
{
    AlphabetIsLatin = -1;
    ExamCharSamples.assign(3, 7);
    BuildAndPlayExamWave(99, QStringLiteral("AB"), 60, 800, 8000, -1); // unit 100 ms
    platform::sound().stop();
    const SampleBuffer left = ExamCharSamples;
    TextCharPos = 2;
    BuildExamSamples(MorseRowOfKey(u"B"), 100, 800, 8000);
    EXPECT_EQ(left, ExamCharSamples);
}

TEST_F(ExamWaveCompiler, AMockExamPlaysAsynchronouslyAndArmsThePlaybackEndPoll)
{
    FrmMain& f = inMockExamRun();
    std::vector<std::pair<bool, QString>> window; // shown, caption at the second turn
    float left = 0, top = 0, width = 0, height = 0;
    {
        EveryTurn probe([&](int turn) {
            if (turn == 2 && frmExchangeProgress.isLoaded()) {
                FrmExchangeProgress& p = frmExchangeProgress();
                window.push_back({p.isShown(), p.caption()});
                left = p.left();
                top = p.top();
                width = p.width();
                height = p.height();
            }
        });
        BuildAndPlayExamWave(99, "CQ", 60, 800, 8000, -1);
    }
    ASSERT_EQ(window.size(), 1u);
    EXPECT_TRUE(window[0].first);
    EXPECT_EQ(window[0].second, QStringLiteral("変換処理中"));
    EXPECT_EQ(left, (f.width() - width) / 2 + f.left());
    EXPECT_EQ(top, (f.height() - height) / 2 + f.top());
    EXPECT_FALSE(frmExchangeProgress.isLoaded());
    ASSERT_EQ(plays().size(), 1u);
    EXPECT_EQ(plays()[0].what, soundFile("Mogisiken.wav"));
    EXPECT_EQ(plays()[0].flags, SND_ASYNC);
    EXPECT_TRUE(plays()[0].played);
    EXPECT_TRUE(pollArmed());
    EXPECT_TRUE(platform::sound().isPlaying());

    // The poll ends the run once the recording has played.
    const platform::Tick length = plays()[0].durationMs;
    clock().advance(length - 100);
    EXPECT_FALSE(f.StartButton_Command.enabled());
    EXPECT_TRUE(f.timerCheckWavePlayEnd.enabled());
    clock().advance(1700);
    EXPECT_TRUE(f.StartButton_Command.enabled());
    EXPECT_FALSE(f.timerCheckWavePlayEnd.enabled());
}

TEST_F(ExamWaveCompiler, TheOptionsSampleShowsNoWindowAndReturnsWhenTheSoundHasEnded)
{
    bool shownAtAnyTurn = false;
    const platform::Tick start = clock().now();
    {
        EveryTurn probe([&](int) {
            if (frmExchangeProgress.isLoaded() && frmExchangeProgress().isShown())
                shownAtAnyTurn = true;
        });
        BuildAndPlayExamWave(99, QStringLiteral("ﾃｽﾄ"), 60, 800, 8000, 0);
    }
    EXPECT_FALSE(shownAtAnyTurn);
    EXPECT_FALSE(frmExchangeProgress.isLoaded());
    ASSERT_EQ(plays().size(), 1u);
    EXPECT_EQ(plays()[0].flags, 0u);
    EXPECT_EQ(clock().now() - start, plays()[0].durationMs);
    EXPECT_FALSE(platform::sound().isPlaying());
    EXPECT_FALSE(frmMain().timerCheckWavePlayEnd.enabled());
    EXPECT_EQ(layoutOf(soundFile("Mogisiken.wav"), 100), (Layout{1300, 1000, ".-.-- ---.- ..-.."}));
}

TEST_F(ExamWaveCompiler, YieldsOncePerPositionAndVoicingMarkAndShowsProgressInTenths)
{
    inMockExamRun();
    std::vector<float> bar;
    float atUnload = -1;
    frmExchangeProgress().onQueryUnload = [&](int&, int) {
        atUnload = frmExchangeProgress().progressBarExchange.value();
    };
    const std::uint64_t yieldsBefore = clock().yields();
    {
        EveryTurn probe([&](int) {
            if (frmExchangeProgress.isLoaded())
                bar.push_back(frmExchangeProgress().progressBarExchange.value());
        });
        BuildAndPlayExamWave(99, QString(20, u'E'), 60, 800, 8000, -1);
    }
    EXPECT_EQ(clock().yields() - yieldsBefore, 20u);
    // The value after each of positions 0..19.
    const std::vector<float> expected = {0, 0, 1, 1, 2, 2, 3, 3, 4, 4,
                                         5, 5, 6, 6, 7, 7, 8, 8, 9, 9};
    EXPECT_EQ(bar, expected);
    EXPECT_EQ(atUnload, 11);
    EXPECT_EQ(ExamProgressAt(20, 20), 10);
    EXPECT_EQ(ExamProgressAt(1, 20), 0);

    const std::uint64_t before = clock().yields();
    BuildAndPlayExamWave(99, QStringLiteral("ガ\r\nバ"), 60, 800, 8000, -1);
    EXPECT_EQ(clock().yields() - before, 6u); // 4 characters and 2 marks
}

TEST_F(ExamWaveCompiler, EscDuringTheConversionLeavesNothingBehind)
{
    const struct {
        const char16_t* text;
        int turn; // the yield at which Esc is pressed
    } cases[] = {{u"CQ CQ", 1}, {u"CQ CQ", 4}, {u"CQ CQ", 5}, {u"ガ", 2}};
    for (const auto& c : cases) {
        // An earlier recording of the slot, built at another speed.
        AlphabetIsLatin = -1;
        BuildAndPlayExamWave(3, "E", 45, 800, 8000, -1);
        const QByteArray earlier = platform::readWholeFile(soundFile("MogisikenOubun3.wav"));
        const ExamWaveKey keyBefore = ExamWaveKeyOf(-1, 3);
        platform::sound().stop();
        platform::sound().clearLog();
        disarmPoll();
        FrmMain& f = inMockExamRun();

        {
            EveryTurn probe([&](int turn) {
                if (turn == c.turn)
                    frmExchangeProgress().userType(QStringLiteral("\x1b"));
            });
            BuildAndPlayExamWave(3, QString::fromUtf16(c.text), 60, 800, 8000, -1);
            EXPECT_EQ(probe.turns(), c.turn);
        }
        const std::string what =
            QString::fromUtf16(c.text).toStdString() + " at turn " + std::to_string(c.turn);
        EXPECT_EQ(platform::readWholeFile(soundFile("MogisikenOubun3.wav")), earlier) << what;
        EXPECT_EQ(ExamWaveKeyOf(-1, 3), keyBefore) << what;
        EXPECT_EQ(examWaveKeyStore().read(-1, 3), keyBefore) << what;
        EXPECT_TRUE(plays().empty()) << what;
        EXPECT_FALSE(pollArmed()) << what;
        EXPECT_EQ(ConversionCancelRequested, 0) << what;
        EXPECT_FALSE(frmExchangeProgress.isLoaded()) << what;
        EXPECT_TRUE(f.StartButton_Command.enabled()) << what;
        EXPECT_FALSE(f.textCwSpeed.locked()) << what;
    }
    // A generated exam cancelled before it was ever written leaves no file.
    inMockExamRun();
    {
        EveryTurn probe([&](int turn) {
            if (turn == 2)
                ConversionCancelRequested = -1;
        });
        BuildAndPlayExamWave(99, "CQ", 60, 800, 8000, -1);
    }
    EXPECT_FALSE(platform::fileExists(soundFile("Mogisiken.wav")));
    EXPECT_EQ(ConversionCancelRequested, 0);
}

// A cancel that no build took up (Esc raised while nothing was converting) does
// not silence the next exam.
TEST_F(ExamWaveCompiler, AnEarlierCancelIsNotTakenByTheNextBuild)
{
    AlphabetIsLatin = -1;
    inMockExamRun();
    ConversionCancelRequested = -1;
    BuildAndPlayExamWave(99, "CQ", 60, 800, 8000, -1);
    EXPECT_EQ(plays().size(), 1u);
    EXPECT_TRUE(platform::fileExists(soundFile("Mogisiken.wav")));
    EXPECT_EQ(ConversionCancelRequested, 0);
}

TEST_F(ExamWaveCompiler, ARegisteredTextIsReusedWhileItsKeyMatches)
{
    const QString file = soundFile("MogisikenOubun3.wav");
    const struct {
        const char* change;
        std::function<void()> apply;
        std::int16_t tone, speed;
        bool reused;
    } cases[] = {
        {"nothing", [] {}, 800, 60, true},
        {"the text only", [] {}, 800, 60, true},
        {"the start/end flag", [] { LatinAutoStartEnd = -1; }, 800, 60, false},
        {"the tone", [] {}, 700, 60, false},
        {"the speed", [] {}, 800, 45, false},
        {"the file deleted", [&] { platform::deleteFile(file); }, 800, 60, false},
        {"the key never written",
         [] {
             LatinExamWaveFreq[3].reset();
             LatinExamWaveSpeed[3].reset();
         },
         800, 60, false},
        {"the sample rate", [] {}, 800, 60, true},
    };
    AlphabetIsLatin = -1;
    for (const auto& c : cases) {
        LatinAutoStartEnd = 0;
        platform::deleteFile(file); // a fresh recording of "CQ"
        BuildAndPlayExamWave(3, "CQ", 60, 800, 8000, -1);
        EXPECT_EQ(ExamWaveKeyOf(-1, 3), (ExamWaveKey{0, 800, 60}));
        EXPECT_EQ(examWaveKeyStore().read(-1, 3), (ExamWaveKey{0, 800, 60}));
        const QByteArray built = platform::readWholeFile(file);
        c.apply();
        platform::sound().clearLog();
        disarmPoll();

        const std::int32_t rate = std::string(c.change) == "the sample rate" ? 16000 : 8000;
        BuildAndPlayExamWave(3, "DE", c.speed, c.tone, rate, -1);
        ASSERT_EQ(plays().size(), 1u) << c.change;
        EXPECT_EQ(plays()[0].what, file);
        EXPECT_EQ(plays()[0].flags, c.reused ? SND_FILENAME | SND_NODEFAULT | SND_ASYNC : SND_ASYNC)
            << c.change;
        EXPECT_TRUE(pollArmed()) << c.change;
        EXPECT_EQ(platform::readWholeFile(file) == built, c.reused) << c.change;
        if (!c.reused) {
            EXPECT_EQ(ExamWaveKeyOf(-1, 3), (ExamWaveKey{LatinAutoStartEnd, c.tone, c.speed}))
                << c.change;
            EXPECT_EQ(layoutOf(file, c.speed == 45 ? 133 : 100).code, "-.. .");
        }
        platform::sound().stop();
    }
    // The kana slot of the same number is a file and a key of its own.
    AlphabetIsLatin = 0;
    KanaAutoStartEnd = -1;
    BuildAndPlayExamWave(3, QStringLiteral("ア"), 60, 800, 8000, -1);
    EXPECT_TRUE(platform::fileExists(soundFile("MogisikenWabun3.wav")));
    EXPECT_EQ(ExamWaveKeyOf(0, 3), (ExamWaveKey{-1, 800, 60}));
    EXPECT_EQ(examWaveKeyStore().read(0, 3), (ExamWaveKey{-1, 800, 60}));
    EXPECT_EQ(ExamWaveKeyOf(-1, 3).startEnd, 0);
}

TEST_F(ExamWaveCompiler, GeneratedExamsAreAlwaysBuiltAfresh)
{
    platform::writeWholeFile(soundFile("Mogisiken.wav"), "not a recording");
    for (const char* text : {"CQ", "CQ"}) {
        platform::sound().clearLog();
        BuildAndPlayExamWave(99, text, 60, 800, 8000, -1);
        ASSERT_EQ(plays().size(), 1u);
        EXPECT_EQ(plays()[0].flags, SND_ASYNC);
        EXPECT_EQ(layoutOf(soundFile("Mogisiken.wav"), 100).code, "-.-. --.-");
    }
    EXPECT_EQ(ExamWaveKeyOf(-1, 3), ExamWaveKey{});
    // A damaged alphabet value names no slot file: the text is sent as a generated exam.
    AlphabetIsLatin = 1;
    BuildAndPlayExamWave(3, "E", 60, 800, 8000, -1);
    EXPECT_EQ(layoutOf(soundFile("Mogisiken.wav"), 100).code, ".");
    EXPECT_FALSE(platform::fileExists(soundFile("MogisikenOubun3.wav")));
}

TEST_F(ExamWaveCompiler, AnEmptyTextIsRefusedUnlessARecordingCanBeReused)
{
    BuildAndPlayExamWave(99, "", 60, 800, 8000, -1);
    ASSERT_EQ(forms::dialogs::messages().size(), 1u);
    const auto& box = forms::dialogs::messages()[0];
    EXPECT_EQ(box.prompt, QStringLiteral("読み込む文字が有りません｡"));
    EXPECT_EQ(box.title, QStringLiteral("エラー"));
    EXPECT_EQ(box.buttons, forms::vbOKOnly | forms::vbCritical);
    EXPECT_TRUE(plays().empty());
    EXPECT_FALSE(platform::fileExists(soundFile("Mogisiken.wav")));
    EXPECT_FALSE(pollArmed());

    BuildAndPlayExamWave(2, "E", 60, 800, 8000, -1);
    platform::sound().clearLog();
    forms::dialogs::reset();
    BuildAndPlayExamWave(2, "", 60, 800, 8000, -1);
    EXPECT_TRUE(forms::dialogs::messages().empty());
    ASSERT_EQ(plays().size(), 1u);
    EXPECT_EQ(plays()[0].flags, SND_FILENAME | SND_NODEFAULT | SND_ASYNC);
}

TEST_F(ExamWaveCompiler, AnUnwritableFolderPlaysTheNewRecordingAndStoresNoKey)
{
    ASSERT_TRUE(QDir(platform::besideProgram("sound")).removeRecursively());
    BuildAndPlayExamWave(4, "E", 60, 800, 8000, -1);
    ASSERT_EQ(plays().size(), 1u);
    EXPECT_EQ(plays()[0].flags, SND_MEMORY | SND_ASYNC);
    EXPECT_TRUE(plays()[0].played);
    EXPECT_EQ(plays()[0].durationMs, 2400); // 1000 ms, 3 units, 1 unit, 1000 ms
    EXPECT_TRUE(pollArmed());
    EXPECT_EQ(ExamWaveKeyOf(-1, 4), ExamWaveKey{});
    EXPECT_EQ(examWaveKeyStore().read(-1, 4), ExamWaveKey{});
}

TEST_F(ExamWaveCompiler, ABuildStartedDuringAnotherOnesYieldsDoesNothing)
{
    int nested = 0;
    {
        EveryTurn probe([&](int turn) {
            if (turn == 2) {
                ++nested;
                BuildAndPlayExamWave(99, QStringLiteral("TEST"), 60, 800, 8000, 0);
            }
        });
        BuildAndPlayExamWave(99, "CQ CQ", 60, 800, 8000, -1);
    }
    EXPECT_EQ(nested, 1);
    ASSERT_EQ(plays().size(), 1u);
    EXPECT_EQ(plays()[0].flags, SND_ASYNC);
    EXPECT_EQ(layoutOf(soundFile("Mogisiken.wav"), 100).code, "-.-. --.- | -.-. --.-");
}

namespace {
// Keeps the keys in memory; fails every write while failAll is set, and every
// write of a key that holds a tone while failValues is set.
class FailingKeyStore : public ExamWaveKeyStore {
public:
    ExamWaveKey read(std::int16_t alphabet, int slot) override { return kept.read(alphabet, slot); }
    void write(std::int16_t alphabet, int slot, const ExamWaveKey& key) override
    {
        if (failAll || (failValues && key.freq))
            throw platform::Failure(QStringLiteral("the settings file is full"));
        kept.write(alphabet, slot, key);
    }
    bool failAll = false, failValues = false;
    InMemoryExamWaveKeyStore kept;
};
} // namespace

TEST_F(ExamWaveCompiler, AKeyOnlyEverDescribesTheRecordingThatIsThere)
{
    auto owned = std::make_unique<FailingKeyStore>();
    FailingKeyStore& store = *owned;
    setExamWaveKeyStore(std::move(owned));
    AlphabetIsLatin = -1;
    const QString file = soundFile("MogisikenOubun3.wav");
    BuildAndPlayExamWave(3, "CQ", 60, 800, 8000, -1);
    const QByteArray cq = platform::readWholeFile(file);
    auto again = [&](const char* text, std::int16_t tone) {
        platform::sound().stop();
        platform::sound().clearLog();
        disarmPoll();
        BuildAndPlayExamWave(3, text, 60, tone, 8000, -1);
        EXPECT_EQ(plays().size(), 1u);
        return plays().empty() ? 0u : plays().back().flags;
    };
    const unsigned reused = SND_FILENAME | SND_NODEFAULT | SND_ASYNC;

    // The key cannot be touched: the new recording plays from memory, and the file
    // and the stored key stay those of the old one.
    store.failAll = true;
    EXPECT_EQ(again("DE", 700), SND_MEMORY | SND_ASYNC);
    EXPECT_EQ(platform::readWholeFile(file), cq);
    EXPECT_EQ(store.kept.read(-1, 3), (ExamWaveKey{0, 800, 60}));
    // The exam-text dialog's next load reads that key, and the old recording is
    // right for it.
    store.failAll = false;
    reloadExamTextDialog();
    EXPECT_EQ(again("DE", 800), reused);

    // The new recording is written but its key cannot be stored: no key, in memory
    // or in the file, describes the old recording any more.
    store.failValues = true;
    EXPECT_EQ(again("DE", 700), SND_ASYNC);
    EXPECT_EQ(layoutOf(file, 100).code, "-.. .");
    EXPECT_EQ(store.kept.read(-1, 3), (ExamWaveKey{0, std::nullopt, std::nullopt}));
    EXPECT_FALSE(ExamWaveKeyOf(-1, 3).freq.has_value());
    store.failValues = false;
    reloadExamTextDialog();
    EXPECT_EQ(again("CQ", 800), SND_ASYNC);
    EXPECT_EQ(layoutOf(file, 100).code, "-.-. --.-");
    EXPECT_EQ(again("CQ", 800), reused);
    setExamWaveKeyStore(nullptr);
}

TEST_F(ExamWaveCompiler, AReusedRecordingThatCannotBePlayedIsBuiltAgain)
{
    AlphabetIsLatin = -1;
    const QString file = soundFile("MogisikenOubun2.wav");
    BuildAndPlayExamWave(2, "E", 60, 800, 8000, -1);
    for (const QByteArray& junk : {QByteArray("junk"), QByteArray(), QByteArray(44, '\xff')}) {
        platform::writeWholeFile(file, junk);
        platform::sound().stop();
        platform::sound().clearLog();
        disarmPoll();
        BuildAndPlayExamWave(2, "E", 60, 800, 8000, -1);
        ASSERT_FALSE(plays().empty());
        EXPECT_TRUE(plays().back().played);
        EXPECT_EQ(plays().back().flags, SND_ASYNC);
        EXPECT_EQ(layoutOf(file, 100).code, ".");
        EXPECT_TRUE(pollArmed());
        EXPECT_EQ(ExamWaveKeyOf(-1, 2), (ExamWaveKey{0, 800, 60}));
    }
}

// What the size check counts is what the compiler builds.
TEST_F(ExamWaveCompiler, TheRecordingSizeIsKnownBeforeTheBuild)
{
    for (const auto& [alphabet, text] : {std::pair<std::int16_t, QString>{-1, "CQ DE [BT] (1)"},
                                         {0, QString::fromUtf16(u"HR HR [ﾎﾚ] ガパ「ラタ」 ア\r\nイ")}}) {
        AlphabetIsLatin = alphabet;
        BuildAndPlayExamWave(99, text, 60, 800, 8000, -1);
        const QByteArray file = platform::readWholeFile(soundFile("Mogisiken.wav"));
        EXPECT_EQ(ExamRecordingSamples(text, alphabet, 100, 8000), (file.size() - 44) / 2) << text.toStdString();
        platform::sound().stop();
    }
}

// A text whose recording would not fit a WAV file is refused before anything is
// built; odd texts are read without harm.
TEST_F(ExamWaveCompiler, ATextTooLongForAWaveFileIsRefusedUpFront)
{
    AlphabetIsLatin = -1;
    const QString tooLong(20000, QLatin1Char('0')); // 22 units of 300 ms each at 16000
    EXPECT_GT(ExamRecordingSamples(tooLong, -1, 300, 16000), MaxWaveSamples);
    EXPECT_LE(ExamRecordingSamples(tooLong.left(10000), -1, 300, 16000), MaxWaveSamples);
    BuildAndPlayExamWave(5, tooLong, 20, 800, 16000, -1);
    ASSERT_EQ(forms::dialogs::messages().size(), 1u);
    const auto& box = forms::dialogs::messages()[0];
    EXPECT_TRUE(box.prompt.contains(QStringLiteral("長すぎて"))) << box.prompt.toStdString();
    EXPECT_EQ(box.buttons, forms::vbOKOnly | forms::vbCritical);
    EXPECT_TRUE(plays().empty());
    EXPECT_FALSE(platform::fileExists(soundFile("MogisikenOubun5.wav")));
    EXPECT_FALSE(frmExchangeProgress.isLoaded());
    EXPECT_EQ(ExamWaveKeyOf(-1, 5), ExamWaveKey{});
    EXPECT_FALSE(pollArmed());

    forms::dialogs::reset();
    const QString odd[] = {QString(3, QChar(0)), QStringLiteral("\r"), QStringLiteral("\n\n"),
                           QString(QChar(0xd800)) + QChar(0xdfff), QStringLiteral("E["), QStringLiteral("「ホ"),
                           QString::fromUtf16(u"縺｢")};
    for (const QString& text : odd) {
        platform::sound().stop();
        platform::sound().clearLog();
        BuildAndPlayExamWave(99, text, 60, 800, 8000, -1);
        EXPECT_EQ(plays().size(), 1u);
        EXPECT_TRUE(forms::dialogs::messages().empty());
    }
}

TEST(ExamWaveCache, SlotsHaveTheirSettingsRecordsAndFileNames)
{
    const struct {
        std::int16_t alphabet;
        int slot;
        ExamWaveKeyRecords records;
    } cases[] = {{-1, 0, {94, 104, 114}},
                 {-1, 9, {103, 113, 123}},
                 {0, 0, {231, 241, 251}},
                 {0, 9, {240, 250, 260}}};
    for (const auto& c : cases) {
        const ExamWaveKeyRecords r = ExamWaveKeyRecordsOf(c.alphabet, c.slot);
        EXPECT_EQ(r.startEnd, c.records.startEnd);
        EXPECT_EQ(r.freq, c.records.freq);
        EXPECT_EQ(r.speed, c.records.speed);
    }
    EXPECT_THROW(ExamWaveKeyRecordsOf(-1, 10), platform::Failure);
    EXPECT_THROW(ExamWaveKeyRecordsOf(1, 0), platform::Failure);

    const QString folder = platform::programFolder();
    platform::setProgramFolder(QStringLiteral("/p"));
    EXPECT_EQ(ExamWaveFilePath(99, -1), QStringLiteral("/p/sound/Mogisiken.wav"));
    EXPECT_EQ(ExamWaveFilePath(0, -1), QStringLiteral("/p/sound/MogisikenOubun0.wav"));
    EXPECT_EQ(ExamWaveFilePath(7, 0), QStringLiteral("/p/sound/MogisikenWabun7.wav"));
    EXPECT_EQ(ExamWaveFilePath(7, 1), QStringLiteral("/p/sound/Mogisiken.wav"));
    platform::setProgramFolder(folder);

    // The dialog's load fills the arrays of one alphabet from the store.
    setExamWaveKeyStore(nullptr);
    examWaveKeyStore().write(0, 6, {-1, 900, 25});
    KanaExamWaveFreq.fill(std::nullopt);
    LatinExamWaveFreq.fill(std::nullopt);
    LoadExamWaveKeys(0);
    EXPECT_EQ(ExamWaveKeyOf(0, 6), (ExamWaveKey{-1, 900, 25}));
    EXPECT_FALSE(LatinExamWaveFreq[6].has_value());
    setExamWaveKeyStore(nullptr);
}
