// Time and memory of building an exam recording: generated exams (five-character
// groups) of 3, 10 and 30 minutes at 25, 45 and 250 characters per minute, and a
// registered exam text of about 65 minutes, at 8000 and 16000 samples per second in
// both alphabets. Each row gives the build time (text to file, before playing), the
// recording's length, how many times faster than real time that is, and the peak
// resident memory the build added, against the recording's size. A checksum of
// each recording shows that a change of the build left its bytes alone (the texts
// are drawn from a fixed seed). Beside each row, `sox synth` writes a tone of the
// same length: what writing that many samples costs another program.
#include "bench_support.h"

#include "material/ExamSampleBuilders.h"
#include "material/ExamWaveCompiler.h"
#include "material/MockExam.h"
#include "synthesis/ToneSynthesis.h"

#include <QCryptographicHash>
#include <QFileInfo>

#include <atomic>
#include <malloc.h>
#include <mutex>
#include <thread>
#include <unistd.h>

using namespace bench;

namespace {

// Resident set size in bytes, read cheaply enough to poll.
long residentBytes()
{
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * sysconf(_SC_PAGESIZE);
}

// Polls the resident size every half millisecond; peakBefore(t) is the largest seen
// before steady time t.
class ResidentWatch {
public:
    ResidentWatch()
        : thread_([this] {
              while (!stop_) {
                  const long r = residentBytes();
                  const auto now = Steady::now();
                  std::lock_guard lock(m_);
                  readings_.push_back({now, r});
                  std::this_thread::sleep_for(std::chrono::microseconds(500));
              }
          })
    {
    }
    ~ResidentWatch()
    {
        stop_ = true;
        thread_.join();
    }
    long peakBefore(Steady::time_point t)
    {
        std::lock_guard lock(m_);
        long peak = 0;
        for (const auto& [at, r] : readings_)
            if (at < t)
                peak = std::max(peak, r);
        return peak;
    }

private:
    std::mutex m_;
    std::vector<std::pair<Steady::time_point, long>> readings_;
    std::atomic<bool> stop_ {false};
    std::thread thread_;
};

// A fixed-seed generator, so that every run draws the same exams.
class Draw {
public:
    int below(int n)
    {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>((state_ >> 33) % static_cast<std::uint64_t>(n));
    }

private:
    std::uint64_t state_ = 20261210;
};

const QString latinDraws = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
const QString kanaDraws = QString::fromUtf16(u"アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホ"
                                             u"マミムメモヤユヨラリルレロワヰヱヲンガギグゲゴパピプペポ");

// A generated exam as the mock exam composes it: the start signs, budget characters
// in groups of five, the end sign.
QString generatedExam(bool kana, int cpm, int minutes)
{
    Draw draw;
    const QString& from = kana ? kanaDraws : latinDraws;
    const int budget = MockExamBudget(kana, cpm, minutes);
    QString text = kana ? QString::fromUtf16(u"HR HR [ﾎﾚ] ") : QStringLiteral("HR HR = ");
    for (int j = 1; j <= budget; ++j) {
        text += from[draw.below(static_cast<int>(from.size()))];
        if (j % 5 == 0)
            text += QLatin1Char(' ');
    }
    text += kana ? QString::fromUtf16(u" [ﾗﾀ]") : QStringLiteral(" +");
    return text;
}

// A registered exam text: prose with punctuation and line breaks.
QString registeredPiece(bool kana)
{
    if (!kana)
        return QStringLiteral(
            "THE OLD LIGHTHOUSE STOOD ON THE CLIFF FOR TWO HUNDRED YEARS, AND ITS KEEPER WROTE\r\n"
            "EVERY SHIP INTO HIS BOOK. ON 12/03 THE STORM CAME: WAVES OF 9 METRES, WIND FROM\r\n"
            "THE NORTH-WEST. WHO WOULD SAIL IN SUCH WEATHER? \"NOBODY\", HE SAID (AND HE WAS RIGHT).\r\n");
    return QString::fromUtf16(u"ムカシ ムカシ アル ヤマノ フモトニ オジイサント オバアサンガ スンデ イマシタ｡\r\n"
                              u"オジイサンハ ヤマヘ シバカリニ､ オバアサンハ カワヘ センタクニ デカケマシタ｡\r\n"
                              u"スルト カワカミカラ オオキナ モモガ ドンブラコ ドンブラコト ナガレテ キマシタ｡\r\n");
}

// The piece repeated to about 65 minutes at the speed and rate: the piece's own
// recording (less its second of silence at each end) tells how often.
QString registeredText(bool kana, int cpm, int rate)
{
    AlphabetIsLatin = kana ? 0 : -1;
    const QString piece = registeredPiece(kana);
    BuildAndPlayExamWave(99, piece, static_cast<std::int16_t>(cpm), 800, rate, -1);
    platform::sound().stop();
    const qint64 bytes = QFileInfo(ExamWaveFilePath(99, AlphabetIsLatin)).size();
    const double seconds = static_cast<double>(bytes - 44) / 2 / rate - 2;
    return piece.repeated(static_cast<qsizetype>(std::lround(65 * 60 / seconds)));
}

struct Row {
    QString name;
    std::int16_t slot = 99;
    QString text;
    int cpm = 45;
};

struct Reading {
    double buildMs = 0;
    double seconds = 0; // the recording's length
    qint64 bytes = 0;
    double peakAdded = 0; // bytes of resident memory the build added at its peak
    QByteArray checksum;
    double soxMs = -1;
};

Reading build(Program& p, const Row& row, bool kana, int rate)
{
    AlphabetIsLatin = kana ? 0 : -1;
    const QString path = ExamWaveFilePath(row.slot, AlphabetIsLatin);
    platform::deleteFile(path); // a registered text would otherwise play its kept recording
    platform::sound().clearLog();
    ExamSamples.clear(); // what the row before left
    ExamSamples.shrink_to_fit();
    Reading r;
    {
        ResidentWatch watch;
        malloc_trim(0); // what earlier rows freed goes back to the system
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        const long before = residentBytes();
        const auto t0 = Steady::now();
        BuildAndPlayExamWave(row.slot, row.text, static_cast<std::int16_t>(row.cpm), 800, rate, -1);
        // The build ends where playing starts: the play call.
        auto end = Steady::now();
        for (const auto& e : platform::sound().log())
            if (e.played)
                end = e.called;
        r.buildMs = msBetween(t0, end);
        r.peakAdded = static_cast<double>(watch.peakBefore(end) - before);
    }
    platform::sound().stop(); // frees the recording the player loaded
    // The exam is over: its end-of-playback poll would otherwise run inside the next build.
    p.main().timerCheckWavePlayEnd.setEnabled(false);
    const QByteArray file = platform::readWholeFile(path);
    r.bytes = file.size();
    r.seconds = static_cast<double>(file.size() - 44) / 2 / rate;
    r.checksum = QCryptographicHash::hash(file, QCryptographicHash::Sha256).toHex().left(12);

    // The same length of tone by another program, into the same folder.
    const QString soxOut = platform::besideProgram(QStringLiteral("sound/sox.wav"));
    const std::string command = QStringLiteral("sox -n -r %1 -b 16 -c 1 '%2' synth %3 sine 800 2>/dev/null")
                                    .arg(rate)
                                    .arg(soxOut)
                                    .arg(r.seconds, 0, 'f', 3)
                                    .toStdString();
    const auto s0 = Steady::now();
    if (std::system(command.c_str()) == 0)
        r.soxMs = msSince(s0);
    platform::deleteFile(soxOut);
    return r;
}

} // namespace

int main(int argc, char** argv)
{
    Program p(argc, argv);
    platform::sound().enableLog();

    std::vector<Row> rows;
    for (int minutes : {3, 10, 30})
        for (int cpm : {25, 45, 250})
            rows.push_back({QStringLiteral("generated %1 min").arg(minutes), 99, QString(), cpm});
    rows.push_back({QStringLiteral("registered text"), 0, QString(), 45});

    std::printf("exam recording build, tone 800 Hz, quality 1, volume 1\n");
    std::printf("  %-19s %-5s %4s %5s  %8s %9s %10s %8s %12s  %-12s  %s\n", "exam", "", "cpm", "rate",
                "minutes", "build ms", "x realtime", "MB", "peak/size", "checksum", "sox synth ms (x realtime)");
    for (bool kana : {false, true}) {
        for (int rate : {8000, 16000}) {
            for (Row row : rows) {
                if (row.slot == 99) {
                    const int minutes = row.name.section(QLatin1Char(' '), 1, 1).toInt();
                    row.text = generatedExam(kana, row.cpm, minutes);
                } else {
                    row.text = registeredText(kana, row.cpm, rate);
                }
                const Reading r = build(p, row, kana, rate);
                std::printf("  %-19s %-5s %4d %5d  %8.1f %9.1f %10.0f %8.1f %12.2f  %-12s  %.1f (%.0f)\n",
                            qPrintable(row.name), kana ? "kana" : "Latin", row.cpm, rate, r.seconds / 60,
                            r.buildMs, r.seconds * 1000 / r.buildMs, r.bytes / 1e6, r.peakAdded / r.bytes,
                            r.checksum.constData(), r.soxMs, r.seconds * 1000 / r.soxMs);
                std::fflush(stdout);
            }
        }
    }
    AlphabetIsLatin = -1;
    return 0;
}
