#pragma once
#include <QString>
#include <cstdint>
#include <functional>

namespace platform {

// Single instance: holds an advisory lock for the life of the process. The
// kernel drops it when the holder dies, so a crashed instance never leaves it stuck.
class SingleInstance {
public:
    // Lock name: one lock per program folder.
    explicit SingleInstance(const QString& programFolder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    // False when another running instance holds the lock.
    bool acquired() const { return fd_ >= 0; }
    static QString lockPathFor(const QString& programFolder);

private:
    int fd_ = -1;
};

// Opens a file or web address with the desktop's default handler, started in the
// program's folder. The target is passed as one argument, never through a shell.
// The result is not reported.
void shellOpen(const QString& target);
// Tests replace the opener; nullptr restores the desktop's.
void setShellOpener(std::function<void(const QString&)> opener);

// The process-wide random generator: seeding mixes into the state, draws are
// single precision with 0 <= r < 1.
void randomizeFromClock();
void randomize(double seed);
float rnd();
// Sets the state outright and seeds "from the clock" with the tick count only,
// so that a run on the virtual clock draws the same sequence every time (tests).
void resetRandom(std::uint64_t state);

// Leaves the process at once, from any depth of nested waits: no window's close
// handler runs and no loop resumes. Tests replace the ending (for instance with
// one that throws) to see that it happened; nullptr restores the real one.
[[noreturn]] void endProgram(int exitCode = 0);
void setProgramEnder(std::function<void(int)> ender);

// Requests to end that come from outside the window: SIGTERM, SIGHUP and SIGINT, and
// the desktop session manager's request to save before the session ends. A signal
// only notes the request; the handler runs on the event loop as a clock call, never
// inside the signal handler. The session manager waits for its answer, so its
// request runs the handler at once. nullptr gives the signals their default action
// back and drops the session's requests.
void onEndRequest(std::function<void()> handler);
// An exit() from now on (Qt calls it when the display is lost) runs the end handler,
// keeping the exit's status, and ends there: the objects made before this call are
// never destroyed, so no destructor waits on anything (a sound worker stuck in a
// server that does not answer). Called once the program is up: objects made later
// are destroyed before the handler runs.
void endThroughHandlerAtExit();
// Notes the signals from now on, before there is an application to run a handler: a
// request made then is held until onEndRequest gives it one. Called first thing, so
// that no moment of the start-up is left to the signals' default action.
void holdEndRequests();

// The title (the main window's caption: product name and edition) and version
// numbers of the application.
QString appTitle();
int appMajor();
int appMinor();
int appRevision();

} // namespace platform
