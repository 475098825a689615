// CPU time used by WaitMilliseconds in the real event loop, and how late it returns.
#include "bench_support.h"

#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Some events during the wait, as a learner's clicks or a countdown would bring.
    QTimer ticker;
    int ticks = 0;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(100);

    for (int ms : {2000, 80, 24}) {
        bench::CpuMeter meter;
        WaitMilliseconds(ms);
        const double cpu = meter.cpuMs();
        const double wall = meter.wallMs();
        std::printf("WaitMilliseconds(%d): wall %.1f ms, CPU %.2f ms (%.2f%% of wall)\n", ms, wall, cpu,
                    100 * cpu / wall);
    }
    std::printf("timer ticks handled during the waits: %d\n", ticks);
    return 0;
}
