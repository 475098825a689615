#include "material/ExamWaveCompiler.h"

#include "material/ExamSampleBuilders.h"
#include "material/ExamTextReader.h"
#include "material/ExamWaveCache.h"
#include "material/ExamWaveSize.h"
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
#include "synthesis/ToneSynthesis.h"
#include "synthesis/frmExchangeProgress.h"

#include <algorithm>

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

class Build {
public:
    Build(std::int16_t unit, std::int16_t tone, std::int32_t rate)
        : unit_(unit), tone_(tone), rate_(rate)
    {}

    // Builds a row at the current position; a later position is appended to the
    // recording. A character that cannot be built is left out.
    void send(int row) const
    {
        if (row == 0)
            return;
        if (!ignoreErrors([&] { BuildExamSamples(row, unit_, tone_, rate_); }))
            return;
        if (TextCharPos >= 2)
            ignoreErrors([] { JoinBuffers2(ExamSamples, ExamCharSamples); });
    }

    void wordGap() const
    {
        ignoreErrors([&] { AppendWordGap(unit_, rate_); });
    }

    // Positions past the 16-bit range stay "a later position".
    static void advance(int positions)
    {
        TextCharPos = static_cast<std::int16_t>(std::min<int>(TextCharPos + positions, INT16_MAX));
    }

private:
    std::int16_t unit_, tone_;
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
    if (!ExamRecordingFitsWaveFile(text, alphabet, unit, sampleRate)) {
        forms::MsgBox(QStringLiteral("問題文が長すぎて音声ファイルに収まりません。問題文を短くして下さい。"),
                      forms::vbOKOnly | forms::vbCritical, QStringLiteral("エラー"));
        return;
    }

    ExamSamples.clear();
    TextCharPos = 1;
    if (interactive == -1) {
        ignoreErrors([] { frmExchangeProgress().centerOn(frmMain()); });
        ignoreErrors([] { frmExchangeProgress().show(); });
    }

    const Build build(unit, tone, sampleRate);
    bool kanaBrackets = false; // between a ホレ token and the next ラタ, BT or AR token
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const VoicedKanaReading read = ReadVoicedKana(text[i]);
        const QChar ch = read.plain;
        if (cancelledDuringYield())
            return;
        int positions = 1;
        if (IsLineBreak(ch)) {
            positions = 0;
        } else if (IsWordSpace(ch)) {
            build.wordGap();
        } else if (OpensBracket(ch)) {
            const BracketSign sign = ReadBracketToken(QStringView(text).mid(i, 4));
            if (sign == BracketSign::Hore)
                kanaBrackets = true;
            else if (sign != BracketSign::None)
                kanaBrackets = false;
            build.send(BracketSignRow(sign));
            i += 3; // the bracket and the 3 characters after it, token or not
            positions = 4;
        } else {
            build.send(ExamCharacterRow(ch, kanaBrackets || alphabet == 0));
        }
        showProgress(i + 1, n);
        Build::advance(positions);
        if (read.mark != VoicingMark::None) {
            if (cancelledDuringYield())
                return;
            build.send(VoicingMarkRow(read.mark));
            showProgress(i + 1, n);
        }
    }

    ignoreErrors([&] { PadSilence(ExamSamples, sampleRate, 1000, 1000); });
    // The file is replaced whole: a failure leaves the earlier recording intact.
    QByteArray image;
    const bool built = ignoreErrors([&] { image = WaveImage(ExamSamples, sampleRate); });
    // A slot's key is emptied before its recording is replaced; when it cannot be,
    // the old recording and key stay and the new one plays from memory.
    const bool replaceable = built && (!slotFile || ForgetExamWaveKey(alphabet, slot));
    const bool written = replaceable && ignoreErrors([&] { platform::writeWholeFile(path, image); });
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
