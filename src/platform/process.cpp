#include "platform/process.h"

#include "platform/clock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
    QProcess::startDetached(QStringLiteral("xdg-open"), {target});
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

void endProgram(int exitCode)
{
    if (ender())
        ender()(exitCode);
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

void setProgramEnder(std::function<void(int)> fn) { ender() = std::move(fn); }

QString appTitle() { return QStringLiteral("Quenlo <Varneth>"); }
int appMajor() { return 1; }
int appMinor() { return 0; }
int appRevision() { return 0; }

} // namespace platform
