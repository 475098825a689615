// Latency from a sound call to the first frame handed to the ALSA device, from the
// play log: plays started from silence, plays that replace a sounding one, beeps.
// The device is QUENLO_ALSA_DEVICE when set, else "default", else "null" (which
// takes frames at once, so it measures our side of the road only).
//
// Then the road most desktops have: a PulseAudio of the bench's own (a null sink in
// a private runtime folder) reached through ALSA's pulse plugin. The play call to the
// first sample the sink mixes, as parec reads it from the sink's monitor, and the
// program's CPU time while the device is open and idle and while it sounds.
#include "bench_support.h"

#include <QByteArray>
#include <QTemporaryDir>

#include <atomic>
#include <condition_variable>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

using namespace platform;
using namespace std::chrono;
using bench::Steady;

namespace {

QByteArray image(int ms)
{
    const std::uint32_t rate = 16000;
    const std::uint32_t bytes = rate / 1000 * ms * 2;
    QByteArray out("RIFF");
    auto put = [&](std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            out.append(char(v >> (8 * i)));
    };
    put(36 + bytes, 4);
    out.append("WAVEfmt ");
    put(16, 4), put(1, 2), put(1, 2), put(rate, 4), put(rate * 2, 4), put(2, 2), put(16, 2);
    out.append("data");
    put(bytes, 4);
    for (std::uint32_t i = 0; i < bytes / 2; ++i)
        put(static_cast<std::uint16_t>(i % 40 < 20 ? 8000 : -8000), 2);
    return out;
}

void report(const char* what)
{
    std::vector<double> ms;
    std::size_t lost = 0;
    for (const auto& e : sound().log()) {
        if (e.firstFrame)
            ms.push_back(bench::msBetween(e.called, *e.firstFrame));
        else
            ++lost;
    }
    sound().clearLog();
    bench::printSpread(what, bench::spread(ms));
    if (lost)
        std::printf("  %-38s %zu never reached the device\n", "", lost);
}

void waitQuiet()
{
    while (sound().isPlaying())
        std::this_thread::sleep_for(milliseconds(1));
    std::this_thread::sleep_for(milliseconds(5));
}

// A child process; its standard output on a pipe when asked.
struct Child {
    pid_t pid = -1;
    int out = -1;
};

Child spawn(std::vector<std::string> args, bool pipeOut, const std::string& logPath = "/dev/null")
{
    Child child;
    int fds[2] = {-1, -1};
    if (pipeOut && pipe(fds) != 0)
        return child;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (pipeOut) {
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_addclose(&actions, fds[1]);
    } else {
        posix_spawn_file_actions_addopen(&actions, 1, logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    }
    posix_spawn_file_actions_addopen(&actions, 2, logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawnp(&child.pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        child.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    if (pipeOut) {
        close(fds[1]);
        child.out = fds[0];
    }
    return child;
}

int waitChild(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Ends a child by its id: the signal, then SIGKILL if it has not ended in 5 s.
void endChild(pid_t pid, int sig)
{
    if (pid <= 0)
        return;
    kill(pid, sig);
    for (int i = 0; i < 500; ++i) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return;
        std::this_thread::sleep_for(milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitChild(pid);
}

// A PulseAudio of the bench's own with a null sink "nul"; its clients find it
// through PULSE_SERVER, which is set for this process and its children.
class PulseServer {
public:
    std::optional<std::string> start()
    {
        if (!dir_.isValid())
            return "no temporary folder";
        const std::string dir = dir_.path().toStdString();
        const std::string pa = dir + "/server.pa";
        std::FILE* f = std::fopen(pa.c_str(), "w");
        if (!f)
            return "cannot write " + pa;
        std::fputs("load-module module-null-sink sink_name=nul rate=48000\n"
                   "load-module module-native-protocol-unix\n"
                   "set-default-sink nul\n",
                   f);
        std::fclose(f);
        // The private folder is the server's runtime folder and home (its cookie).
        setenv("PULSE_RUNTIME_PATH", dir.c_str(), 1);
        setenv("HOME", dir.c_str(), 1);
        setenv("PULSE_SERVER", ("unix:" + dir + "/native").c_str(), 1);
        server_ = spawn({"pulseaudio", "-n", "-F", pa, "--daemonize=no", "--exit-idle-time=-1"}, false,
                        dir + "/server.log")
                      .pid;
        if (server_ < 0)
            return "pulseaudio did not start (not installed?)";
        for (int i = 0; i < 100; ++i) {
            const Child info = spawn({"pactl", "info"}, false);
            if (info.pid < 0)
                return "pactl did not start (not installed?)";
            if (waitChild(info.pid) == 0)
                return std::nullopt;
            int status = 0;
            if (waitpid(server_, &status, WNOHANG) == server_) {
                server_ = -1;
                return "pulseaudio ended at its start";
            }
            std::this_thread::sleep_for(milliseconds(100));
        }
        return "pulseaudio did not answer within 10 s";
    }

    ~PulseServer() { endChild(server_, SIGTERM); }

private:
    QTemporaryDir dir_;
    pid_t server_ = -1;
};

// parec on the sink's monitor, read by a thread of its own: when the first sample
// that is not silence arrives after arm(). parec asks for 5 ms pieces, so the
// reading comes up to about 5 ms after the sink mixed the sample.
class MonitorReader {
public:
    bool start()
    {
        child_ = spawn({"parec", "--latency-msec=5", "-d", "nul.monitor", "--raw", "--format=s16le", "--rate=48000",
                        "--channels=1"},
                       true);
        if (child_.pid < 0)
            return false;
        reader_ = std::thread([this] { read(); });
        return true;
    }

    ~MonitorReader() { stop(); }

    void stop()
    {
        if (child_.pid < 0)
            return;
        endChild(child_.pid, SIGINT);
        child_.pid = -1;
        if (reader_.joinable())
            reader_.join();
        close(child_.out);
    }

    void arm()
    {
        std::lock_guard lock(mutex_);
        armed_ = true;
        heard_.reset();
    }

    // When the armed sound was first heard, waiting up to the timeout.
    std::optional<Steady::time_point> heard(milliseconds timeout)
    {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, timeout, [this] { return heard_.has_value(); });
        armed_ = false;
        return heard_;
    }

    // Waits until the monitor has given a second of samples, silent or not.
    void waitFlowing(seconds timeout)
    {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, timeout, [this] { return samples_ >= 48000; });
    }

    // Waits until the monitor has given only silence for the stretch.
    void waitSilence(milliseconds stretch, milliseconds timeout)
    {
        const auto end = Steady::now() + timeout;
        for (;;) {
            {
                std::lock_guard lock(mutex_);
                if (Steady::now() - lastLoud_ >= stretch)
                    return;
            }
            if (Steady::now() > end)
                return;
            std::this_thread::sleep_for(milliseconds(10));
        }
    }

private:
    void read()
    {
        std::int16_t buffer[2048];
        for (;;) {
            const ssize_t got = ::read(child_.out, buffer, sizeof buffer);
            if (got <= 0) {
                if (got < 0 && errno == EINTR)
                    continue;
                return;
            }
            const auto now = Steady::now();
            bool loud = false;
            for (ssize_t i = 0; i < got / 2; ++i)
                loud = loud || buffer[i] > 200 || buffer[i] < -200;
            std::lock_guard lock(mutex_);
            samples_ += got / 2;
            if (samples_ >= 48000)
                changed_.notify_all();
            if (!loud)
                continue;
            lastLoud_ = now;
            if (armed_ && !heard_) {
                heard_ = now;
                changed_.notify_all();
            }
        }
    }

    Child child_;
    std::thread reader_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool armed_ = false;
    std::optional<Steady::time_point> heard_;
    Steady::time_point lastLoud_ {};
    std::int64_t samples_ = 0;
};

void cpuRow(const char* what, double wallMs, double cpuMs)
{
    std::printf("  %-38s %.2f ms CPU per second (%.3f %% of a core) over %.1f s\n", what, cpuMs / wallMs * 1000,
                cpuMs / wallMs * 100, wallMs / 1000);
}

void throughPulseAudio()
{
    std::printf("through PulseAudio (a server of the bench's own, null sink, ALSA \"pulse\" plugin):\n");
    PulseServer server;
    if (auto why = server.start()) {
        std::printf("  no PulseAudio rows: %s\n", why->c_str());
        return;
    }
    QString error;
    if (!useAlsaSound(QStringLiteral("pulse"), &error)) {
        std::printf("  no PulseAudio rows: ALSA \"pulse\" did not open: %s\n", qPrintable(error));
        return;
    }
    MonitorReader monitor;
    if (!monitor.start()) {
        std::printf("  no PulseAudio rows: parec did not start\n");
        return;
    }
    // The recording is under way before the first play: its first second comes late.
    monitor.waitFlowing(seconds(5));
    sound().clearLog();

    const QByteArray tone = image(200);
    std::vector<double> atSink;
    int unheard = 0;
    const int plays = 30;
    for (int i = 0; i < plays; ++i) {
        monitor.arm();
        sound().playMemory(tone, SND_MEMORY | SND_ASYNC, "tone");
        const auto called = sound().log().back().called;
        if (const auto heard = monitor.heard(milliseconds(2000)))
            atSink.push_back(bench::msBetween(called, *heard));
        else
            ++unheard;
        waitQuiet();
        monitor.waitSilence(milliseconds(150), milliseconds(2000));
    }
    report("from silence: first frame to ALSA");
    bench::printSpread("from silence: first sample at the sink", bench::spread(atSink));
    if (unheard)
        std::printf("  %-38s %d of %d never heard at the sink\n", "", unheard, plays);
    // The reader's own wake-ups would count as the program's.
    monitor.stop();

    const int seconds = 10;
    {
        bench::CpuMeter idle;
        std::this_thread::sleep_for(std::chrono::seconds(seconds));
        cpuRow("CPU, device open and idle", idle.wallMs(), idle.cpuMs());
    }
    {
        const QByteArray longTone = image(seconds * 1000 + 500);
        bench::CpuMeter sounding;
        sound().playMemory(longTone, SND_MEMORY | SND_ASYNC, "long");
        std::this_thread::sleep_for(std::chrono::seconds(seconds));
        cpuRow("CPU, sounding", sounding.wallMs(), sounding.cpuMs());
        sound().stop();
        waitQuiet();
    }
    // The device goes before the server.
    useSilentSound();
}

} // namespace

int main()
{
    const QByteArray wanted = qgetenv("QUENLO_ALSA_DEVICE");
    std::vector<QString> names = wanted.isEmpty() ? std::vector<QString> {"default", "null"}
                                                  : std::vector<QString> {QString::fromLocal8Bit(wanted)};
    bool opened = false;
    for (const auto& name : names) {
        QString error;
        if (useAlsaSound(name, &error)) {
            opened = true;
            break;
        }
        std::printf("ALSA \"%s\" did not open: %s\n", qPrintable(name), qPrintable(error));
    }
    if (!opened) {
        std::printf("no ALSA device opened: nothing to measure on it\n");
        throughPulseAudio();
        return 0;
    }
    std::printf("device %s%s\n", qPrintable(sound().deviceName()),
                sound().deviceName().endsWith(QLatin1String(":null"))
                    ? " (no sound card: it takes frames at once, so this is our side of the road only)"
                    : "");
    sound().enableLog();
    const int plays = 50;

    const QByteArray shortSound = image(30);
    for (int i = 0; i < plays; ++i) {
        sound().playMemory(shortSound, SND_MEMORY | SND_ASYNC, "short");
        waitQuiet();
    }
    report("play from silence (30 ms image)");

    const QByteArray longSound = image(1000);
    for (int i = 0; i < plays; ++i) {
        sound().playMemory(longSound, SND_MEMORY | SND_ASYNC, "long");
        std::this_thread::sleep_for(milliseconds(10));
    }
    sound().stop();
    waitQuiet();
    report("play replacing a sounding image");

    for (int i = 0; i < plays; ++i)
        sound().beep(800, 20);
    report("beep (20 ms)");

    throughPulseAudio();
    return 0;
}
