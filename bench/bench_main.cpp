// SPDX-License-Identifier: GPL-3.0-or-later
// The benchmarks need a QApplication for the window cases, so the runner's own main builds one first.

#include <QApplication>

#include <benchmark/benchmark.h>

namespace zirk::bench {
void registerDrawBenchmarks();
void registerStepBenchmarks();
void registerLoadBenchmarks();
void registerFrameBenchmarks();
void registerStartupBenchmarks();
} // namespace zirk::bench

int main(int argc, char* argv[]) {
    benchmark::Initialize(&argc, argv);
    QApplication app(argc, argv);
    zirk::bench::registerDrawBenchmarks();
    zirk::bench::registerStepBenchmarks();
    zirk::bench::registerLoadBenchmarks();
    zirk::bench::registerFrameBenchmarks();
    zirk::bench::registerStartupBenchmarks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
