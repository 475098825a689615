// Whole practice runs on the real clock with the silent device: when each sound
// starts against the moment the schedule gives it, the CPU used while the program
// waits, and the resident memory after start-up and after the runs.
//
// Single-character receive: the start signal (H, R, BT with their gaps), then each
// question; every question is passed a short fixed time after its countdown starts,
// and the next character is due at that answer. Listen-through: each character is
// due when the one before it has had its length plus 3 units x CodeIntervalFactor.
//
// Without arguments the counts are reduced so that `make bench` stays short;
// --full runs 200 questions and 2 minutes of listen-through at every speed.
#include "bench_support.h"

#include <cstring>

using namespace bench;

namespace {

struct Plan {
    int cpm;
    int questions;
    int listenSeconds;
};

const int answerDelayMs = 50;
const int idleWaitMs = 3000;

// How late each sound started against its scheduled moment (negative: early).
std::vector<double> lateness(const std::vector<platform::PlayLogEntry>& log,
                             const std::vector<Steady::time_point>& answers, std::int16_t u)
{
    std::vector<double> late;
    for (std::size_t i = 1; i < log.size(); ++i) {
        Steady::time_point due;
        if (answers.empty() || i <= 3)
            due = log[i - 1].called + std::chrono::milliseconds(waitAfter(i - 1, log[i - 1].what, u));
        else if (i - 4 < answers.size())
            due = answers[i - 4];
        else
            break;
        late.push_back(msBetween(due, log[i].called));
    }
    return late;
}

bool opensWithStartSignal(const std::vector<platform::PlayLogEntry>& log)
{
    return log.size() > 3 && log[0].what == "H" && log[1].what == "R" && log[2].what == "BT";
}

void singleCharacter(Program& p, const Plan& plan)
{
    FrmMain& f = p.main();
    AnswerTimeLimitSec = 10; // the countdown ticks once a second while an answer is awaited
    f.textLimitKikitoriMode.setText(QStringLiteral("10"));
    prepareRun(f, plan.cpm, f.optionKikitoriMode);
    SingleRun run = SingleCharacterDriver(p, plan.questions, answerDelayMs, idleWaitMs).run();
    const auto log = playedSounds();
    const std::int16_t u = UnitMs;
    std::printf("single-character receive, %d cpm (unit %d ms, code-interval factor %.2f): %d questions, "
                "each passed %d ms after its countdown starts, %.1f s\n",
                plan.cpm, u, CodeIntervalFactor, plan.questions, answerDelayMs, run.wallMs / 1000);
    if (!opensWithStartSignal(log) || log.size() != 4 + static_cast<std::size_t>(plan.questions)) {
        std::printf("  unexpected play log: %zu sounds\n", log.size());
        return;
    }
    const auto late = lateness(log, run.answers, u);
    printSpread("sound start against the schedule", spread(late));
    std::printf("  %-38s R %+.3f ms, BT %+.3f ms, first character %+.3f ms\n", "of which the start signal", late[0],
                late[1], late[2]);
    printSpread("and the next character after an answer", spread({late.begin() + 3, late.end()}));
    std::printf("  %-38s %d of %d\n", "countdown not started by its delay", run.lateCountdowns, plan.questions + 1);
    std::printf("  %-38s %.3f ms CPU per s (%.1f s, countdown ticking)\n", "waiting for an answer",
                1000 * run.idleCpuMs / run.idleWallMs, run.idleWallMs / 1000);
    std::printf("  %-38s %.3f ms CPU per s\n", "whole run", 1000 * run.cpuMs / run.wallMs);
}

void listenThrough(Program& p, const Plan& plan)
{
    FrmMain& f = p.main();
    prepareRun(f, plan.cpm, f.optionKikinagashiMode);
    ListenRun run = listenThroughRun(p, plan.listenSeconds);
    const auto log = playedSounds();
    const std::int16_t u = UnitMs;
    std::printf("listen-through, %d cpm (unit %d ms): stopped %d s after the start signal, %.1f s\n", plan.cpm, u,
                plan.listenSeconds, run.wallMs / 1000);
    if (!opensWithStartSignal(log)) {
        std::printf("  unexpected play log: %zu sounds\n", log.size());
        return;
    }
    printSpread("sound start against the schedule", spread(lateness(log, {}, u)));
    // Each wait counts from its own start, so lateness adds up over the run.
    double scheduled = 0;
    for (std::size_t i = 0; i + 1 < log.size(); ++i)
        scheduled += waitAfter(i, log[i].what, u);
    const double drift = msBetween(log.front().called, log.back().called) - scheduled;
    std::printf("  %-38s %+.1f ms after %.1f s of schedule (%+.2f ms per minute)\n",
                "last sound against the summed schedule", drift, scheduled / 1000, drift / (scheduled / 60000));
    std::printf("  %-38s %.3f ms CPU per s\n", "CPU during listen-through", 1000 * run.cpuMs / run.wallMs);
}

} // namespace

int main(int argc, char** argv)
{
    const bool full = argc > 1 && std::strcmp(argv[1], "--full") == 0;
    Program p(argc, argv);
    const Resident startUp = resident();
    std::printf("start-up (main window loaded and shown, first sound bank built): %.0f ms\n", p.startUpMs());
    if (full)
        std::printf("full counts: 200 questions and 2 minutes of listen-through at every speed\n");
    else
        std::printf("reduced counts to keep `make bench` short: 10, 40 and 100 questions at 25, 80 and 250 cpm\n"
                    "and 15 s of listen-through each (the aim is 200 questions and 2 minutes at every speed:\n"
                    "`build-release/bench/bench_practice_run --full` runs that, about 20 minutes)\n");

    const std::vector<Plan> plans = full ? std::vector<Plan> {{25, 200, 120}, {80, 200, 120}, {250, 200, 120}}
                                         : std::vector<Plan> {{25, 10, 15}, {80, 40, 15}, {250, 100, 15}};
    for (const Plan& plan : plans) {
        singleCharacter(p, plan);
        listenThrough(p, plan);
    }

    std::printf("resident memory:\n");
    printResident("after start-up", startUp);
    printResident("after the runs", resident());
    return 0;
}
