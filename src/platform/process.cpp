#include "platform/process.h"

#include "platform/clock.h"
#include "platform/files.h"

#include <QCryptographicHash>
#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

QString SingleInstance::lockPathFor(const QString& programFolder)
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    QByteArray key = QCryptographicHash::hash(programFolder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return dir + QStringLiteral("/quenlo-") + QString::fromLatin1(key) + QStringLiteral(".lock");
}

SingleInstance::SingleInstance(const QString& programFolder)
{
    QByteArray path = lockPathFor(programFolder).toLocal8Bit();
    int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return; // cannot tell; treat as not acquired only when another holds it
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return;
    }
    fd_ = fd;
}

SingleInstance::~SingleInstance()
{
    if (fd_ >= 0)
        ::close(fd_);
}

namespace {
std::function<void(const QString&)>& opener()
{
    static std::function<void(const QString&)> fn;
    return fn;
}
} // namespace

void shellOpen(const QString& target)
{
    if (opener()) {
        opener()(target);
        return;
    }
    // Started in the program's folder, not wherever the program was started from.
    QProcess::startDetached(QStringLiteral("xdg-open"), {target}, programFolder());
}

void setShellOpener(std::function<void(const QString&)> fn) { opener() = std::move(fn); }

namespace {
std::uint64_t randomState = 0x853c49e6748fea9bULL;
bool clockSeedIsTimeOnly = false;

std::uint64_t splitmix(std::uint64_t& x)
{
    std::uint64_t z = (x += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

void mix(std::uint64_t value)
{
    randomState ^= value;
    splitmix(randomState);
}
} // namespace

void randomizeFromClock()
{
    using namespace std::chrono;
    auto ns = static_cast<std::uint64_t>(
        duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count());
    if (clockSeedIsTimeOnly)
        ns = 0;
    mix(static_cast<std::uint64_t>(clock().now()) * 0x100000001b3ULL ^ ns);
}

void randomize(double seed)
{
    std::uint64_t bits;
    std::memcpy(&bits, &seed, sizeof bits);
    mix(bits);
}

float rnd()
{
    // 24 random bits: every value is exact in single precision and below 1.
    return static_cast<float>(splitmix(randomState) >> 40) * (1.0f / 16777216.0f);
}

void resetRandom(std::uint64_t state)
{
    randomState = state;
    clockSeedIsTimeOnly = true;
}

namespace {
std::function<void(int)>& ender()
{
    static std::function<void(int)> fn;
    return fn;
}
} // namespace

namespace {
// The status of an exit() under way (Qt's own on a lost display), or -1.
int exitingWith = -1;
} // namespace

void endProgram(int exitCode)
{
    if (exitingWith >= 0)
        exitCode = exitingWith;
    if (ender())
        ender()(exitCode);
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

void setProgramEnder(std::function<void(int)> fn) { ender() = std::move(fn); }

namespace {
constexpr int endSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The signal handler writes one byte here; the event loop reads it. Set up once,
// before any handler is installed, and kept for the life of the process.
int endPipe[2] = {-1, -1};

std::function<void()>& endHandler()
{
    static std::function<void()> fn;
    return fn;
}

extern "C" void noteEndSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] ssize_t n = ::write(endPipe[1], &byte, 1); // full pipe: a request is pending anyway
    errno = savedErrno;
}

void runEndHandler()
{
    if (endHandler())
        endHandler()();
}

// The pipe, taken once; false when it cannot be had.
bool pipeOnce()
{
    static const bool made = ::pipe2(endPipe, O_NONBLOCK | O_CLOEXEC) == 0;
    return made;
}

// The pipe's reader on the event loop and the session manager's request, once there
// is an application.
bool readerOnce()
{
    static bool ready = false;
    if (ready)
        return true;
    if (!QCoreApplication::instance() || !pipeOnce())
        return false;
    auto* notifier = new QSocketNotifier(endPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char bytes[64];
        while (::read(endPipe[0], bytes, sizeof bytes) > 0) {
        }
        // A clock call, like every other event of the program: a test on the virtual
        // clock sees its effects inside its own wait.
        clock().callAt(clock().now(), runEndHandler);
    });
#if QT_CONFIG(sessionmanager)
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        QObject::connect(gui, &QGuiApplication::commitDataRequest, [](QSessionManager&) { runEndHandler(); });
#endif
    ready = true;
    return true;
}

// The dispositions found at the first installation; a signal the starter chose to
// ignore (nohup) stays ignored.
struct sigaction previousActions[std::size(endSignals)];
bool noting = false;

void noteSignals(bool on)
{
    if (on == noting)
        return;
    for (std::size_t i = 0; i < std::size(endSignals); ++i) {
        if (on) {
            ::sigaction(endSignals[i], nullptr, &previousActions[i]);
            if (previousActions[i].sa_handler == SIG_IGN)
                continue;
            struct sigaction action {};
            sigemptyset(&action.sa_mask);
            action.sa_handler = noteEndSignal;
            action.sa_flags = SA_RESTART;
            ::sigaction(endSignals[i], &action, nullptr);
        } else {
            ::sigaction(endSignals[i], &previousActions[i], nullptr);
        }
    }
    noting = on;
}
} // namespace

void holdEndRequests()
{
    if (pipeOnce())
        noteSignals(true);
}

void onEndRequest(std::function<void()> handler)
{
    endHandler() = std::move(handler);
    // A request held since holdEndRequests waits in the pipe for the reader.
    noteSignals(endHandler() && readerOnce());
}

namespace {
extern "C" void endAtExit(int status, void*)
{
    // Once only: an exit() from inside the handler ends here at once.
    static bool ending = false;
    if (!ending) {
        ending = true;
        exitingWith = status;
        runEndHandler();
    }
    std::fflush(nullptr);
    std::_Exit(status);
}
} // namespace

void endThroughHandlerAtExit() { ::on_exit(endAtExit, nullptr); }

QString appTitle() { return QStringLiteral("Quenlo <Varneth>"); }
int appMajor() { return 1; }
int appMinor() { return 0; }
int appRevision() { return 0; }

} // namespace platform
