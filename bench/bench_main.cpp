// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the benchmarks and prints one table of medians, each against a baseline measured in the same run and
// its budget; fails when a budget is missed. The window cases need a QApplication, built here first.

#include <QApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

namespace zirk::bench {
void registerDrawBenchmarks();
void registerStepBenchmarks();
void registerLoadBenchmarks();
void registerFrameBenchmarks();
void registerStartupBenchmarks();

namespace {

// The median of every case: its time in nanoseconds and its counters, or the error it reported.
struct Median {
    double ns = -1;
    std::map<std::string, double> counters;
    std::string error;
};

class Medians : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            Median& m = cases[run.run_name.function_name];
            if (run.error_occurred) m.error = run.error_message;
            if (run.aggregate_name != "median") continue;
            m.ns = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
            for (const auto& [name, counter] : run.counters)
                m.counters[name] = counter.value;
        }
    }
    std::map<std::string, Median> cases;
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

// A figure of the run: a case's median time, or one of its counters given in milliseconds, bytes or MiB.
struct Figure {
    Figure(std::string caseName, std::string counterName = {}, std::string baseLabel = {})
        : name(std::move(caseName)), counter(std::move(counterName)), label(std::move(baseLabel)) {}
    std::string name;
    std::string counter; // none: the time
    std::string label;   // how the table names it as a baseline
};

class Table {
public:
    using Row = std::vector<std::string>; // case, median, baseline, ratio, budget, result
    explicit Table(const Medians& m) : m_(m) {}

    // The figure in nanoseconds (or bytes, or MiB); below zero, with the reason in `why`, when there is none.
    double get(const Figure& f, std::string& why) const {
        const auto it = m_.cases.find(f.name);
        if (it == m_.cases.end() || it->second.ns < 0) {
            why = it == m_.cases.end() || it->second.error.empty() ? "missing: " + f.name
                                                                   : "error: " + it->second.error;
            return -1;
        }
        if (f.counter.empty()) return it->second.ns;
        const auto c = it->second.counters.find(f.counter);
        if (c != it->second.counters.end() && c->second > 0)
            return c->second * (f.counter.ends_with("_ms") ? 1e6 : 1);
        why = "missing: " + f.name + " " + f.counter;
        return -1;
    }

    // Held to a factor of a baseline of the same run; with no factor, shown for comparison only. A memory row
    // is held to the baseline plus a number of MiB instead.
    void compare(const std::string& row, const Figure& figure, const Figure& base, double factor,
                 bool memory = false) {
        const std::string budget = factor <= 0 ? "–"
                                   : memory    ? format("≤ +%.0f MiB over ", factor) + base.label
                                               : format("≤ %.1f× ", factor) + base.label;
        std::string why;
        const double v = get(figure, why), b = v < 0 ? -1 : get(base, why);
        if (b < 0) return add({row, why, "–", "–", budget}, false);
        const Row r =
            memory ? Row{row, format("%.1f MiB", v), format("%.1f MiB (", b) + base.label + ")",
                         format("%+.2f MiB", v - b), budget}
                   : Row{row, time(v), time(b) + " (" + base.label + ")", format("%.2f×", v / b), budget};
        add(r, factor <= 0 || (memory ? v - b <= factor : v <= factor * b), factor <= 0);
    }

    // Under a limit in nanoseconds, or in bytes for a counter.
    void under(const std::string& row, const Figure& figure, double limit) {
        const bool bytes = !figure.counter.empty();
        const std::string budget = bytes ? format("≤ %.0f B read", limit) : "< " + time(limit);
        std::string why;
        const double v = get(figure, why);
        if (v < 0) return add({row, why, "–", "–", budget}, false);
        add({row, bytes ? format("%.0f B", v) : time(v), "–", "–", budget}, v <= limit);
    }

    bool print() {
        rows_.insert(rows_.begin(), {"Case", "Median", "Baseline (same run)", "Ratio", "Budget", "Result"});
        // Widths in characters: "µ", "×", "≤", "→" and "–" take more than one byte.
        const auto width = [](const std::string& s) {
            return static_cast<std::size_t>(
                std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xc0) != 0x80; }));
        };
        Row rule(6);
        for (const Row& row : rows_)
            for (std::size_t i = 0; i < row.size(); ++i)
                rule[i] = std::string(std::max(rule[i].size(), width(row[i])), '-');
        rows_.insert(rows_.begin() + 1, rule);
        for (const Row& row : rows_) {
            std::string text = "|";
            for (std::size_t i = 0; i < row.size(); ++i)
                text += " " + row[i] + std::string(rule[i].size() - width(row[i]), ' ') + " |";
            std::printf("%s\n", text.c_str());
        }
        return pass_;
    }

private:
    // A reference row has no budget: it neither passes nor fails.
    void add(Row r, bool pass, bool reference = false) {
        r.push_back(reference ? "–" : pass ? "PASS" : "FAIL");
        pass_ = pass_ && pass;
        rows_.push_back(r);
    }

    const Medians& m_;
    std::vector<Row> rows_;
    bool pass_ = true;
};

std::string loadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
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
    registerDrawBenchmarks();
    registerStepBenchmarks();
    registerLoadBenchmarks();
    registerFrameBenchmarks();
    registerStartupBenchmarks();
    const std::string loadAtStart = loadAverage();
    Medians m;
    benchmark::RunSpecifiedBenchmarks(&m);
    benchmark::Shutdown();

    Table t(m);
    for (const std::string view : {"worst", "corridor"}) {
        const auto drawn = m.cases.find("drawView/" + view + "/MazeView");
        const double boxes = drawn == m.cases.end() ? 0 : drawn->second.counters["boxes"];
        t.compare("drawView, " + std::string(view == "worst" ? "all walls" : "corridor") +
                      format(" (%.0f boxes), MazeView 350×350", boxes),
                  {"drawView/" + view + "/MazeView"}, {"drawView/" + view + "/raw_fill", "", "raw fill"},
                  1.5);
    }
    const std::string step = "key 6/4 on the key panel → view repainted";
    t.under(step, {"step/key_to_repainted_view"}, 1e6);
    t.compare(step, {"step/key_to_repainted_view"}, {"drawView/corridor/MazeView", "", "drawView corridor"},
              2.0);
    t.compare("loading a 100×100 maze", {"load/maze100/readMaze"},
              {"load/maze100/read_to_end", "", "reading the file"}, 5.0);
    t.under("2 GiB one-line file: time", {"load/line_2GiB"}, 1e6);
    t.under("2 GiB one-line file: bytes read", {"load/line_2GiB", "bytes_read"}, 8192);
    t.under("100 rows + 64 Mi empty lines: time", {"load/empty_lines_64Mi"}, 1e6);
    // 100 rows of at most 101 bytes and their line ends, and the one buffer that holds the end of them.
    t.under("100 rows + 64 Mi empty lines: bytes read", {"load/empty_lines_64Mi", "bytes_read"},
            100 * 103 + 65536);
    // A step of the grip within one frame at 60 Hz; at 3840 × 2160, where writing the pixels is most of it,
    // within three bare windows of the same run.
    for (const std::string size : {"503x393", "1920x1080"}) {
        t.under("grip step, pictures hidden, " + size, {"frame/pictures_hidden/" + size}, 16e6);
        t.compare("grip step, pictures hidden, " + size, {"frame/pictures_hidden/" + size},
                  {"frame/bare_window/" + size, "", "bare window"}, 0);
    }
    const Figure bare{"frame/bare_window/3840x2160", "", "bare window"};
    t.compare("grip step, pictures hidden, 3840x2160", {"frame/pictures_hidden/3840x2160"}, bare, 3.0);
    t.compare("size change, pictures shown, 3840x2160", {"frame/pictures_shown/3840x2160"}, bare, 3.0);
    // Offscreen the budgets; on the X server, for comparison, what a real display adds.
    for (const std::string platform : {"offscreen", "Xvfb"}) {
        const bool x = platform == "Xvfb";
        const std::string name = x ? "startup/xvfb_first_paint" : "startup/first_paint";
        if (x && !m.cases.count(name)) continue;
        const std::string row = "start-up to first painted frame, " + platform;
        const Figure zirk{name, "zirk_ms"}, bareWindow{name, "bare_ms", "bare window"};
        t.compare(row, zirk, {name, "label_ms", "one line of text"}, x ? 0 : 1.3);
        t.compare(row, zirk, bareWindow, 0);
        t.compare("start-up peak memory (RSS), " + platform, {name, "zirk_peak_rss_MiB"},
                  {name, "bare_peak_rss_MiB", "bare window"}, x ? 0 : 8, true);
    }

    std::printf("Machine: %s, nproc %ld; load average %s at start, %s at end\n\n", processor().c_str(),
                ::sysconf(_SC_NPROCESSORS_ONLN), loadAtStart.c_str(), loadAverage().c_str());
    const bool pass = t.print();
    std::printf("\n%s\n", pass ? "All budgets met." : "Some budget FAILED.");
    return pass ? 0 : 1;
}
