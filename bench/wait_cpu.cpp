// CPU time used by WaitMilliseconds in the real event loop, and how late it returns.
#include "synthesis/Delay.h"

#include <QApplication>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <ctime>

static double cpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Some events during the wait, as a learner's clicks or a countdown would bring.
    QTimer ticker;
    int ticks = 0;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(100);

    for (int ms : {2000, 80, 24}) {
        auto wall0 = std::chrono::steady_clock::now();
        double cpu0 = cpuSeconds();
        WaitMilliseconds(ms);
        double cpu = cpuSeconds() - cpu0;
        double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
        std::printf("WaitMilliseconds(%d): wall %.1f ms, CPU %.2f ms (%.2f%% of wall)\n", ms,
                    wall * 1000, cpu * 1000, 100 * cpu / wall);
    }
    std::printf("timer ticks handled during the waits: %d\n", ticks);
    return 0;
}
