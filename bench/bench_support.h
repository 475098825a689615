// What the benchmark programs share: readings of time, CPU and memory, order
// statistics, and the whole program on its real clock with practice runs driven
// the way a learner drives them (clicks scheduled on the clock).
#pragma once
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/forms/forms.h"
#include "platform/numbers.h"
#include "platform/sound/sound_service.h"
#include "platform/virtual_clock.h"
#include "practice/QuenModule.h"
#include "practice/RunState.h"
#include "practice/frmKikitoriResult.h"
#include "practice/frmMain.h"
#include "settings/SharedSettings.h"
#include "synthesis/Delay.h"
#include "synthesis/MorseCodeTable.h"
#include "synthesis/SoundBank.h"
#include "synthesis/ToneOptions.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace bench {

using Steady = std::chrono::steady_clock;

inline double msBetween(Steady::time_point from, Steady::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

inline double msSince(Steady::time_point from) { return msBetween(from, Steady::now()); }

inline double cpuSeconds()
{
    timespec ts {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

// CPU time and wall time of a stretch of the program.
class CpuMeter {
public:
    CpuMeter() : wall0_(Steady::now()), cpu0_(cpuSeconds()) {}
    double wallMs() const { return msSince(wall0_); }
    double cpuMs() const { return (cpuSeconds() - cpu0_) * 1000; }

private:
    Steady::time_point wall0_;
    double cpu0_;
};

// Order statistics of a set of readings (the 99th percentile by nearest rank).
struct Spread {
    std::size_t n = 0;
    double min = 0, median = 0, p99 = 0, max = 0;
};

inline Spread spread(std::vector<double> v)
{
    Spread s;
    s.n = v.size();
    if (v.empty())
        return s;
    std::sort(v.begin(), v.end());
    auto rank = [&](double q) { return v[static_cast<std::size_t>(std::ceil(q * v.size())) - 1]; };
    s.min = v.front();
    s.median = v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
    s.p99 = rank(0.99);
    s.max = v.back();
    return s;
}

inline void printSpread(const char* what, const Spread& s, bool withPercentile = true)
{
    if (s.n == 0) {
        std::printf("  %-38s no readings\n", what);
        return;
    }
    std::printf("  %-38s n=%-4zu median %7.3f ms", what, s.n, s.median);
    if (withPercentile)
        std::printf("  p99 %7.3f ms", s.p99);
    std::printf("  max %7.3f ms  (min %.3f ms)\n", s.max, s.min);
}

// Resident set size from /proc/self/status, in kB: the peak so far and now.
struct Resident {
    long peakKb = 0; // VmHWM
    long nowKb = 0; // VmRSS
};

inline Resident resident()
{
    Resident r;
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:")
            status >> r.peakKb;
        else if (key == "VmRSS:")
            status >> r.nowKb;
        status.ignore(1 << 16, '\n');
    }
    return r;
}

inline void printResident(const char* when, const Resident& r)
{
    std::printf("  %-24s peak %6.1f MB   now %6.1f MB\n", when, r.peakKb / 1024.0, r.nowKb / 1024.0);
}

// The silent device, telling the bench when each sound starts so that answers can be
// scheduled without polling.
class WatchedSilentDevice : public platform::SilentDevice {
public:
    std::function<void()> onStart;
    void start(platform::Voice voice) override
    {
        platform::SilentDevice::start(std::move(voice));
        if (onStart)
            onStart();
    }
};

// QT_QPA_PLATFORM must be set before the application object exists.
struct Offscreen {
    Offscreen() { setenv("QT_QPA_PLATFORM", "offscreen", 0); }
};

// The program as it starts, on the real clock: a temporary program folder with the
// shipped files, the silent device with the play log, scripted dialogs, and the
// main window loaded (settings, sound bank) and shown.
class Program {
public:
    Program(int& argc, char** argv) : app_(argc, argv)
    {
        platform::setProgramFolder(dir_.path());
        const QDir assets(QStringLiteral(QUENLO_ASSETS_DIR));
        for (const QString& name : assets.entryList(QDir::Files))
            QFile::copy(assets.filePath(name), dir_.filePath(name));
        auto device = std::make_unique<WatchedSilentDevice>();
        device_ = device.get();
        platform::sound().setDevice(std::move(device));
        platform::sound().enableLog();
        forms::dialogs::setScripted(true);
        const auto t0 = Steady::now();
        main_ = &frmMain();
        main_->show();
        platform::clock().yield(platform::clock().now()); // the first paint
        startUpMs_ = msSince(t0);
    }

    // The forms go before the folder and the application object.
    ~Program()
    {
        device_->onStart = nullptr;
        forms::discardAll();
        platform::setProgramFolder(QString());
    }

    FrmMain& main() { return *main_; }
    WatchedSilentDevice& device() { return *device_; }
    double startUpMs() const { return startUpMs_; }

private:
    Offscreen offscreen_;
    QApplication app_;
    QTemporaryDir dir_;
    WatchedSilentDevice* device_ = nullptr;
    FrmMain* main_ = nullptr;
    double startUpMs_ = 0;
};

// The waits the schedule prescribes, computed as the run driver and the pickers do.
// A start-signal sign: its units and 3 units x CodeIntervalFactor, then, after R and
// the third sign, a second wait of 4 units x the factor.
inline std::int32_t signWaitMs(int units, std::int16_t u, bool wordGap)
{
    const double f = CodeIntervalFactor;
    std::int32_t ms = platform::toInt32(static_cast<double>(3 * u) * f + static_cast<double>(units) * u);
    if (wordGap)
        ms += platform::toInt32(static_cast<double>(4) * u * f);
    return ms;
}

// A Latin character: its length N plus 3 units x CodeIntervalFactor.
inline std::int32_t characterWaitMs(const QString& text, std::int16_t u)
{
    const int n = MorseRowAt(MorseRowOfLatin(GetLatinIndex(text))).n;
    return platform::toInt32(static_cast<float>(3 * u) * static_cast<double>(CodeIntervalFactor)
                             + static_cast<float>(n * u));
}

// The scheduled start of each sound of a run after the first, from the one before
// it: H, R and BT open the run; listen-through characters follow one another.
inline std::int32_t waitAfter(std::size_t index, const QString& what, std::int16_t u)
{
    if (index == 0)
        return signWaitMs(7, u, false); // H
    if (index == 1)
        return signWaitMs(7, u, true); // R
    if (index == 2)
        return signWaitMs(13, u, true); // BT
    return characterWaitMs(what, u);
}

// Readies the main window for a Wave run of Latin letters A..Z at cpm characters
// per minute in the given practice mode. The bank for that speed is built first on
// a virtual clock, so that Start finds it ready (bench_sound_bank times rebuilds).
inline void prepareRun(FrmMain& f, int cpm, forms::OptionButton& mode)
{
    if (AlphabetIsLatin != -1)
        f.mnuChange.click();
    f.mnuSoundWave.click();
    for (forms::Menu* m :
         {&f.mnuMojiHanniAtoE, &f.mnuMojiHanniFtoJ, &f.mnuMojiHanniKtoO, &f.mnuMojiHanniPtoT, &f.mnuMojiHanniUtoZ,
          &f.mnuMojiHanniNumbers, &f.mnuMojiHanniMarks, &f.mnuMojiHanniAlphabetsNumbers, &f.mnuMojiHanniAlphabetsMarks,
          &f.mnuMojiHanniNumbersMarks, &f.mnuMojiHanniAll, &f.mnuMojihanniUserChose})
        m->setChecked(false);
    f.mnuMojiHanniAllAlphabets.setChecked(true);
    f.textCwSpeed.setText(platform::numberText(cpm));
    {
        platform::ScopedVirtualClock virtualTime;
        BuildSoundBank(f.textCwSpeed.text(), f.ToneOfBox(), WaveSampleRate);
    }
    mode.click();
    platform::sound().clearLog();
}

// Closes the results window of a stopped single-character run as soon as it is up.
inline void closeResultsWhenShown(int triesLeft = 400)
{
    platform::clock().callAfter(5, [triesLeft] {
        FrmKikitoriResult* r = frmKikitoriResult.ifLoaded();
        if (r && r->isShown())
            r->CloseButton.click();
        else if (triesLeft > 0)
            closeResultsWhenShown(triesLeft - 1);
    });
}

// A single-character receive run: each of `questions` questions is passed
// answerDelayMs after its countdown starts; the question after them is left
// waiting for idleMs from that moment (the CPU is read over that wait) and the run
// is stopped.
struct SingleRun {
    std::vector<Steady::time_point> answers; // when each pass was clicked
    int lateCountdowns = 0; // countdown not yet running at its scheduled moment + the delay
    double idleWallMs = 0, idleCpuMs = 0;
    double wallMs = 0, cpuMs = 0; // the whole run
};

class SingleCharacterDriver {
public:
    SingleCharacterDriver(Program& p, int questions, int answerDelayMs, int idleMs)
        : p_(p), questions_(questions), delay_(answerDelayMs), idle_(idleMs)
    {
    }

    SingleRun run()
    {
        p_.device().onStart = [this] { characterStarted(); };
        CpuMeter whole;
        p_.main().StartButton_Command.click(); // returns when the run has stopped
        result_.wallMs = whole.wallMs();
        result_.cpuMs = whole.cpuMs();
        p_.device().onStart = nullptr;
        return result_;
    }

private:
    void characterStarted()
    {
        if (QuestionOpen != -1)
            return; // a sign of the start signal
        ++started_;
        const bool idle = started_ > questions_;
        const platform::Tick armed = platform::clock().now() + characterWaitMs(SentChar, UnitMs);
        platform::clock().callAt(armed + delay_, [this, idle] { answerOrWait(idle, false); });
    }

    void answerOrWait(bool idle, bool retried)
    {
        FrmMain& f = p_.main();
        if (!f.timerLimitKikitoriMode.enabled() || QuestionOpen != -1) {
            if (!retried)
                ++result_.lateCountdowns;
            platform::clock().callAfter(1, [this, idle] { answerOrWait(idle, true); });
            return;
        }
        if (!idle) {
            result_.answers.push_back(Steady::now());
            f.KaitoupassButton_Command.click();
            return;
        }
        auto meter = std::make_shared<CpuMeter>();
        platform::clock().callAfter(idle_, [this, meter] {
            result_.idleWallMs = meter->wallMs();
            result_.idleCpuMs = meter->cpuMs();
            closeResultsWhenShown();
            p_.main().StopButton_Command.click();
        });
    }

    Program& p_;
    int questions_, delay_, idle_;
    int started_ = 0;
    SingleRun result_;
};

// A listen-through run stopped seconds after its start signal; CPU and wall time
// over the whole run.
struct ListenRun {
    double wallMs = 0, cpuMs = 0;
};

inline ListenRun listenThroughRun(Program& p, int seconds)
{
    const std::int16_t u = ComputeUnitMs(p.main().textCwSpeed.text());
    const std::int32_t signal = signWaitMs(7, u, false) + signWaitMs(7, u, true) + signWaitMs(13, u, true);
    platform::clock().callAfter(signal + seconds * 1000, [&p] { p.main().StopButton_Command.click(); });
    CpuMeter meter;
    p.main().StartButton_Command.click();
    return {meter.wallMs(), meter.cpuMs()};
}

// The sounds of the play log, in order (a run's log is cleared before it starts).
inline std::vector<platform::PlayLogEntry> playedSounds()
{
    std::vector<platform::PlayLogEntry> out;
    for (auto& e : platform::sound().log())
        if (e.played)
            out.push_back(e);
    return out;
}

} // namespace bench
