#include "material/ExamWaveCompiler.h"

#include "material/ExamSampleBuilders.h"
#include "material/ExamTextReader.h"
#include "material/ExamWaveCache.h"
#include "platform/clock.h"
#include "platform/failure.h"
#include "platform/files.h"
#include "platform/forms/forms.h"
#include "platform/numbers.h"
#include "platform/sound/sound_service.h"
#include "practice/frmMain.h"
#include "settings/SharedSettings.h"
#include "synthesis/Delay.h"
#include "synthesis/MakeWaveHeader.h"
#include "synthesis/MorseCodeTable.h"
#include "synthesis/ToneSynthesis.h"
#include "synthesis/frmExchangeProgress.h"

#include <algorithm>
#include <cmath>

using platform::ignoreErrors;

namespace {

bool building = false;

bool isSlot(int slot) { return slot >= 0 && slot <= 9; }

std::int16_t autoStartEndOf(std::int16_t alphabet)
{
    return alphabet == -1 ? LatinAutoStartEnd : KanaAutoStartEnd;
}

// An empty tone or speed was never written, so it matches nothing.
bool keyMatches(std::int16_t alphabet, int slot, std::int16_t tone, std::int16_t speed)
{
    const ExamWaveKey key = ExamWaveKeyOf(alphabet, slot);
    return key.startEnd == autoStartEndOf(alphabet) && key.freq == tone && key.speed == speed;
}

void armPlaybackEndPoll()
{
    ignoreErrors([] {
        forms::Timer& poll = frmMain().timerCheckWavePlayEnd;
        poll.setInterval(800);
        poll.setEnabled(true);
    });
}

// Handles the pending events once. True when the learner cancelled meanwhile: the
// window is then gone and the flag cleared.
bool cancelledDuringYield()
{
    auto& clock = platform::clock();
    clock.yield(clock.now());
    if (ConversionCancelRequested != -1)
        return false;
    ignoreErrors([] { frmExchangeProgress.unload(); });
    ConversionCancelRequested = 0;
    return true;
}

void showProgress(qsizetype i, qsizetype n)
{
    if (const int k = ExamProgressAt(i, n))
        ignoreErrors(
            [k] { frmExchangeProgress().progressBarExchange.setValue(static_cast<float>(k)); });
}

// The text as the recording sends it, step by step into a pass: cancelled() before
// each text position and voicing mark, then send(row) or wordGap(), progress(i, n)
// and advance(positions). False when the pass was cancelled.
template <typename Pass> bool walkText(const QString& text, bool kanaText, Pass& pass)
{
    bool kanaBrackets = false; // between a ホレ token and the next ラタ, BT or AR token
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const VoicedKanaReading read = ReadVoicedKana(text[i]);
        const QChar ch = read.plain;
        if (pass.cancelled())
            return false;
        int positions = 1;
        if (IsLineBreak(ch)) {
            positions = 0;
        } else if (IsWordSpace(ch)) {
            pass.wordGap();
        } else if (OpensBracket(ch)) {
            const BracketSign sign = ReadBracketToken(QStringView(text).mid(i, 4));
            if (sign == BracketSign::Hore)
                kanaBrackets = true;
            else if (sign != BracketSign::None)
                kanaBrackets = false;
            pass.send(BracketSignRow(sign));
            i += 3; // the bracket and the 3 characters after it, token or not
            positions = 4;
        } else {
            pass.send(ExamCharacterRow(ch, kanaBrackets || kanaText));
        }
        pass.progress(i + 1, n);
        pass.advance(positions);
        if (read.mark != VoicingMark::None) {
            if (pass.cancelled())
                return false;
            pass.send(VoicingMarkRow(read.mark));
            pass.progress(i + 1, n);
        }
    }
    return true;
}

// The building pass: every character through its builder, appended to ExamSamples
// when stored at a later position; yields and shows progress as it goes.
class Write {
public:
    Write(std::int16_t unit, std::int16_t tone, std::int32_t rate)
        : unit_(unit), tone_(tone), rate_(rate)
    {}
    bool cancelled() { return cancelledDuringYield(); }
    void send(int row)
    {
        // Position 1 starts ExamSamples itself; a character that cannot be built is
        // left out.
        if (ignoreErrors([&] { BuildExamSamples(row, unit_, tone_, rate_); }) && TextCharPos >= 2)
            ignoreErrors([&] { JoinBuffers2(ExamSamples, ExamCharSamples); });
    }
    void wordGap() { ignoreErrors([&] { AppendWordGap(unit_, rate_); }); }
    void progress(qsizetype i, qsizetype n) { showProgress(i, n); }
    // Positions past the 16-bit range stay "a later position".
    void advance(int positions)
    {
        TextCharPos = static_cast<std::int16_t>(std::min<int>(TextCharPos + positions, INT16_MAX));
    }

private:
    std::int16_t unit_, tone_;
    std::int32_t rate_;
};

// The recording's length worked out from the code table alone, without building a
// tone: fast enough to refuse a text before the build starts.
class Count {
public:
    Count(std::int16_t unitMs, std::int32_t rate) : unit_(unitMs), rate_(rate) {}

    // Samples of ms, rounded as the tone builder rounds them.
    std::int64_t of(double ms) const
    {
        return static_cast<std::int64_t>(std::nearbyint(static_cast<double>(rate_) * ms / 1000));
    }
    // A character: each element behind a unit of silence, the whole behind 2 units.
    std::int64_t characterLength(int row) const
    {
        if (row == 0)
            return 0;
        std::int64_t n = of(2.0 * unit_);
        for (const char* e = MorseRowAt(row).code; *e; ++e)
            n += of(unit_) + of((*e == '-' ? 3.0 : 1.0) * unit_);
        return n;
    }
    std::int64_t wordGapLength() const { return of(4.0 * unit_); }

    // As a pass of walkText: the sum of what the recording sends.
    bool cancelled() { return false; }
    void send(int row) { total += characterLength(row); }
    void wordGap() { total += wordGapLength(); }
    void progress(qsizetype, qsizetype) {}
    void advance(int) {}
    std::int64_t total = 0;

private:
    std::int16_t unit_;
    std::int32_t rate_;
};
} // namespace

QString ExamWaveFilePath(std::int16_t slot, std::int16_t alphabet)
{
    QString name = QStringLiteral("Mogisiken.wav");
    if (isSlot(slot) && alphabet == -1)
        name = QStringLiteral("MogisikenOubun%1.wav").arg(slot);
    else if (isSlot(slot) && alphabet == 0)
        name = QStringLiteral("MogisikenWabun%1.wav").arg(slot);
    return platform::joinPath(platform::besideProgram(QStringLiteral("sound")), name);
}

std::int64_t ExamRecordingSamples(const QString& text, std::int16_t alphabet, std::int16_t unitMs,
                                  std::int32_t sampleRate)
{
    Count count(unitMs, sampleRate);
    walkText(text, alphabet == 0, count);
    return 2 * count.of(1000) + count.total;
}

int ExamProgressAt(qsizetype i, qsizetype n)
{
    if (i == n)
        return 10;
    for (int k = 9; k >= 1; --k)
        if (static_cast<double>(i) >= static_cast<double>(n) * k / 10)
            return k;
    return 0;
}

void BuildAndPlayExamWave(std::int16_t slot, const QString& text, std::int16_t speed,
                          std::int16_t tone, std::int32_t sampleRate, std::int16_t interactive)
{
    // The buffers and the position counter belong to the running build.
    if (building)
        return;
    building = true;
    struct Done {
        ~Done() { building = false; }
    } done;
    // An Esc raised before this build began (one that no build took up) is not
    // meant for it.
    ConversionCancelRequested = 0;

    const std::int16_t alphabet = AlphabetIsLatin;
    const bool slotFile = isSlot(slot) && (alphabet == -1 || alphabet == 0);
    const QString path = ExamWaveFilePath(slot, alphabet);
    auto& sound = platform::sound();

    // Only a missing file forces a rebuild; one that exists is judged by its key.
    // A recording that cannot be played (damaged) is built again, as a missing one.
    if (slotFile && platform::fileExists(path) && keyMatches(alphabet, slot, tone, speed)
        && sound.playFile(path, platform::SND_FILENAME | platform::SND_NODEFAULT | platform::SND_ASYNC)) {
        armPlaybackEndPoll();
        return;
    }

    // The unit of ComputeUnitMs for the speed; UnitMs stays as it is.
    const std::int16_t unit = ComputeUnitMs(platform::numberText(speed));

    if (text.isEmpty()) {
        forms::MsgBox(QStringLiteral("読み込む文字が有りません｡"),
                      forms::vbOKOnly | forms::vbCritical, QStringLiteral("エラー"));
        return;
    }
    // Refused before anything is built: it would be built for minutes and lost.
    const std::int64_t length = ExamRecordingSamples(text, alphabet, unit, sampleRate);
    if (length > MaxWaveSamples) {
        forms::MsgBox(QStringLiteral("問題文が長すぎて音声ファイルに収まりません。問題文を短くして下さい。"),
                      forms::vbOKOnly | forms::vbCritical, QStringLiteral("エラー"));
        return;
    }

    if (interactive == -1) {
        ignoreErrors([] { frmExchangeProgress().centerOn(frmMain()); });
        ignoreErrors([] { frmExchangeProgress().show(); });
    }

    // The recording is laid out once at the length counted above and every piece is
    // appended in place: the build takes time in proportion to the recording, not to
    // its square, and memory about the recording's size.
    ExamSamples.clear();
    ExamSamples.shrink_to_fit();
    ExamSamples.reserve(static_cast<std::size_t>(length));
    TextCharPos = 1;
    Write write(unit, tone, sampleRate);
    if (!walkText(text, alphabet == 0, write)) {
        ExamSamples.clear();
        ExamSamples.shrink_to_fit();
        return;
    }
    // A second of silence at each end, unless that would pass what a WAV file holds.
    ignoreErrors([&] { PadSilence(ExamSamples, sampleRate, 1000, 1000); });

    // A slot's key is emptied before its recording is replaced; when it cannot be,
    // the old recording and key stay and the new one plays from memory. The file is
    // replaced whole: a failure leaves the earlier recording intact.
    const bool replaceable = !slotFile || ForgetExamWaveKey(alphabet, slot);
    const bool written = replaceable && ignoreErrors([&] { WriteWaveFile(path, ExamSamples, sampleRate); });
    // Only a recording that could not be written is needed in memory, to play.
    QByteArray image;
    const bool built = written || ignoreErrors([&] { image = WaveImage(ExamSamples, sampleRate); });
    ExamSamples.clear();
    ExamSamples.shrink_to_fit();
    ignoreErrors([] { frmExchangeProgress().progressBarExchange.setValue(11); });
    ignoreErrors([] { frmExchangeProgress.unload(); });

    // A key only ever describes the file that is there.
    if (slotFile && written) {
        ExamWaveKey key = ExamWaveKeyOf(alphabet, slot);
        const std::int16_t flag = autoStartEndOf(alphabet);
        if (flag == -1 || flag == 0)
            key.startEnd = flag;
        key.freq = tone;
        key.speed = speed;
        ignoreErrors([&] { StoreExamWaveKey(alphabet, slot, key); });
    }

    // When the folder cannot be written, the recording plays from memory rather
    // than leaving an older one to play.
    auto play = [&](unsigned flags) {
        if (written)
            sound.playFile(path, flags);
        else if (built)
            sound.playMemory(image, platform::SND_MEMORY | flags, path);
    };
    if (interactive != 0) {
        play(platform::SND_ASYNC);
        armPlaybackEndPoll();
    } else {
        auto& clock = platform::clock();
        clock.yield(clock.now());
        play(platform::SND_SYNC);
    }
}
