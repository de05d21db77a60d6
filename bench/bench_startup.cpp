// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up to the first painted frame and its peak memory, each in a fresh process: the game against the bare
// window with one line of text and the bare window alone. The three take turns, so that a change in the
// machine's load falls on all alike. Offscreen, and again on the X server ZIRK_BENCH_DISPLAY names, if any.

#include <QCoreApplication>
#include <QProcess>

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <set>
#include <string>

namespace zirk::bench {

namespace {

constexpr std::array<const char*, 3> kPrograms{"zirk", "bare", "label"};

// The child prints the time from the start it is handed (the steady clock, the same in every process) to the
// end of its first paint, and its peak memory in KiB.
bool run(const char* program, const QProcessEnvironment& env, double& ms, double& rssMiB) {
    QProcess child;
    child.setProcessEnvironment(env);
    const auto start = std::chrono::steady_clock::now().time_since_epoch();
    child.start(QCoreApplication::applicationDirPath() + "/bench_startup_" + program,
                {QString::number(std::chrono::duration_cast<std::chrono::nanoseconds>(start).count())});
    if (!child.waitForFinished(60000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return false;
    const QList<QByteArray> figures = child.readAllStandardOutput().split(' ');
    ms = figures.value(0).toDouble() / 1e6;
    rssMiB = figures.value(1).toDouble() / 1024;
    return ms > 0 && rssMiB > 0;
}

void startup(benchmark::State& st, const QProcessEnvironment& env) {
    static int round = 0;
    static std::set<const QProcessEnvironment*> warmed;
    double ms = 0, rssMiB = 0;
    if (warmed.insert(&env).second) {
        // The first start of each reads its libraries and plugins from disk; no later start does.
        for (const char* program : kPrograms)
            run(program, env, ms, rssMiB);
    }
    // Each repetition starts with another of the three, so that none is always first after a pause.
    const int first = round++ % 3;
    for (auto _ : st) {
        for (int i = 0; i < 3; ++i) {
            const char* program = kPrograms[static_cast<std::size_t>((first + i) % 3)];
            if (!run(program, env, ms, rssMiB)) return st.SkipWithError("a start-up program failed");
            if (program == kPrograms[0]) st.SetIterationTime(ms / 1e3);
            st.counters[std::string(program) + "_ms"] = ms;
            st.counters[std::string(program) + "_peak_rss_MiB"] = rssMiB;
        }
    }
}

} // namespace

void registerStartupBenchmarks() {
    static const QProcessEnvironment offscreen = QProcessEnvironment::systemEnvironment();
    static QProcessEnvironment x11 = offscreen;
    x11.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    x11.insert(QStringLiteral("DISPLAY"), offscreen.value(QStringLiteral("ZIRK_BENCH_DISPLAY")));
    benchmark::RegisterBenchmark("startup/first_paint", [](benchmark::State& st) { startup(st, offscreen); })
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(15)
        ->Unit(benchmark::kMillisecond);
    if (x11.value(QStringLiteral("DISPLAY")).isEmpty()) return;
    benchmark::RegisterBenchmark("startup/xvfb_first_paint", [](benchmark::State& st) { startup(st, x11); })
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(15)
        ->Unit(benchmark::kMillisecond);
}

} // namespace zirk::bench
