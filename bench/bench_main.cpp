// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the benchmarks and prints one table of medians, each against a baseline measured in the same run and
// its budget; fails when a budget is missed. The window cases need a QApplication, built here first.

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

namespace zirk::bench {
void registerMazeBenchmarks();
void registerWindowBenchmarks();

namespace {

// The median of every case: its time in nanoseconds under "case#", its counters under "case#counter" (those
// in milliseconds in nanoseconds too); or the error it reported.
struct Medians : benchmark::BenchmarkReporter {
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const std::string& name = run.run_name.function_name;
            if (run.error_occurred) errors[name] = run.error_message;
            if (run.aggregate_name != "median") continue;
            figures[name + "#"] =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
            for (const auto& [counter, value] : run.counters)
                figures[name + "#" + counter] = value.value * (counter.ends_with("_ms") ? 1e6 : 1);
        }
    }
    std::map<std::string, double> figures;
    std::map<std::string, std::string> errors;
};

std::string format(const char* pattern, double value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

std::string time(double ns) {
    return ns < 1e3   ? format("%.0f ns", ns)
           : ns < 1e6 ? format("%.2f µs", ns / 1e3)
                      : format("%.2f ms", ns / 1e6);
}

// The table, printed row by row in Markdown. A figure is "case#" for a case's time or "case#counter"; a row
// whose figure is missing fails, with the reason.
class Table {
public:
    explicit Table(const Medians& m) : m_(m) {
        std::printf("| Case | Median | Baseline (same run) | Ratio | Budget | Result |\n"
                    "| --- | --- | --- | --- | --- | --- |\n");
    }

    // Within a factor of a baseline of the same run or, for memory, within a number of MiB over it; with no
    // factor, shown for comparison only.
    void ratio(const std::string& row, const std::string& figure, const std::string& base,
               const std::string& label, double factor, bool memory = false) {
        const std::string budget =
            factor <= 0 ? "–" : format(memory ? "≤ +%.0f MiB over " : "≤ %.1f× ", factor) + label;
        const double v = get(figure), b = v < 0 ? -1 : get(base);
        if (b < 0) return print(row, why_, "–", "–", budget, 0);
        const auto shown = [memory](double x) { return memory ? format("%.1f MiB", x) : time(x); };
        print(row, shown(v), shown(b) + " (" + label + ")",
              memory ? format("%+.2f MiB", v - b) : format("%.2f×", v / b), budget,
              factor <= 0 ? -1
              : memory    ? v - b <= factor
                          : v <= factor * b);
    }

    // Under a limit in nanoseconds, or in bytes for a counter.
    void under(const std::string& row, const std::string& figure, double limit) {
        const bool bytes = !figure.ends_with("#");
        const std::string budget = bytes ? format("≤ %.0f B read", limit) : "< " + time(limit);
        const double v = get(figure);
        if (v < 0) return print(row, why_, "–", "–", budget, 0);
        print(row, bytes ? format("%.0f B", v) : time(v), "–", "–", budget, v <= limit);
    }

    bool pass = true;

private:
    double get(const std::string& figure) {
        const auto it = m_.figures.find(figure);
        const auto error = m_.errors.find(figure.substr(0, figure.find('#')));
        why_ = error != m_.errors.end() ? "error: " + error->second : "missing: " + figure;
        return it == m_.figures.end() || it->second <= 0 || error != m_.errors.end() ? -1 : it->second;
    }

    // The verdict is 1 for a budget met, 0 for one missed and -1 for a reference row, which has none.
    void print(const std::string& row, const std::string& value, const std::string& base,
               const std::string& ratio, const std::string& budget, int verdict) {
        pass = pass && verdict != 0;
        std::printf("| %s | %s | %s | %s | %s | %s |\n", row.c_str(), value.c_str(), base.c_str(),
                    ratio.c_str(), budget.c_str(),
                    verdict < 0 ? "–"
                    : verdict   ? "PASS"
                                : "FAIL");
    }

    const Medians& m_;
    std::string why_;
};

std::string loadAverage() {
    double load[3] = {};
    return ::getloadavg(load, 3) == 3
               ? format("%.2f ", load[0]) + format("%.2f ", load[1]) + format("%.2f", load[2])
               : "unknown";
}

std::string processor() {
    std::ifstream in("/proc/cpuinfo");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("model name", 0) == 0) return line.substr(line.find(':') + 2);
    return "unknown processor";
}

} // namespace
} // namespace zirk::bench

int main(int argc, char* argv[]) {
    using namespace zirk::bench;
    benchmark::Initialize(&argc, argv);
    QApplication app(argc, argv);
    registerMazeBenchmarks();
    registerWindowBenchmarks();
    const std::string loadAtStart = loadAverage();
    Medians m;
    benchmark::RunSpecifiedBenchmarks(&m);
    benchmark::Shutdown();

    std::printf("Machine: %s, nproc %ld; load average %s at start, %s at end\n\n", processor().c_str(),
                ::sysconf(_SC_NPROCESSORS_ONLN), loadAtStart.c_str(), loadAverage().c_str());
    Table t(m);
    for (const std::string view : {"worst", "corridor"}) {
        const std::string name = "drawView/" + view + "/MazeView#";
        t.ratio("drawView, " + std::string(view == "worst" ? "all walls" : "corridor") +
                    format(" (%.0f boxes), MazeView 350×350", m.figures[name + "boxes"]),
                name, "drawView/" + view + "/raw_fill#", "raw fill", 1.5);
    }
    const std::string step = "key 6/4 on the key panel → view repainted";
    t.under(step, "step/key_to_repainted_view#", 1e6);
    t.ratio(step, "step/key_to_repainted_view#", "drawView/corridor/MazeView#", "drawView corridor", 2.0);
    t.ratio("loading a 100×100 maze", "load/maze100/readMaze#", "load/maze100/read_to_end#",
            "reading the file", 5.0);
    t.under("2 GiB one-line file: time", "load/line_2GiB#", 1e6);
    t.under("2 GiB one-line file: bytes read", "load/line_2GiB#bytes_read", 8192);
    t.under("100 rows + 64 Mi empty lines: time", "load/empty_lines_64Mi#", 1e6);
    // 100 rows of at most 101 bytes and their line ends, and the one buffer that holds the end of them.
    t.under("100 rows + 64 Mi empty lines: bytes read", "load/empty_lines_64Mi#bytes_read",
            100 * 103 + 65536);
    // A step of the grip within one frame at 60 Hz; at 3840 × 2160, where writing the pixels is most of it,
    // within three bare windows of the same run.
    for (const std::string size : {"503x393", "1920x1080"}) {
        t.under("grip step, pictures hidden, " + size, "frame/pictures_hidden/" + size + "#", 16e6);
        t.ratio("grip step, pictures hidden, " + size, "frame/pictures_hidden/" + size + "#",
                "frame/bare_window/" + size + "#", "bare window", 0);
    }
    const std::string bare = "frame/bare_window/3840x2160#";
    t.ratio("grip step, pictures hidden, 3840x2160", "frame/pictures_hidden/3840x2160#", bare, "bare window",
            3.0);
    t.ratio("size change, pictures shown, 3840x2160", "frame/pictures_shown/3840x2160#", bare, "bare window",
            3.0);
    // Offscreen the budgets; on the X server, for comparison, what a real display adds.
    for (const std::string platform : {"offscreen", "Xvfb"}) {
        const bool x = platform == "Xvfb";
        const std::string name = x ? "startup/xvfb_first_paint#" : "startup/first_paint#";
        if (x && !m.figures.count(name)) continue;
        const std::string row = "start-up to first painted frame, " + platform;
        t.ratio(row, name + "zirk_ms", name + "label_ms", "one line of text", x ? 0 : 1.3);
        t.ratio(row, name + "zirk_ms", name + "bare_ms", "bare window", 0);
        t.ratio("start-up peak memory (RSS), " + platform, name + "zirk_peak_rss_MiB",
                name + "bare_peak_rss_MiB", "bare window", x ? 0 : 8, true);
    }

    std::printf("\n%s\n", t.pass ? "All budgets met." : "Some budget FAILED.");
    return t.pass ? 0 : 1;
}
