// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up to the first painted frame and its peak memory, each in a fresh process: the game's time against
// the bare window showing one line of text, its memory against the bare window itself. The three take turns,
// so that a change in the machine's load falls on all alike. Offscreen, and again on the X server named by
// ZIRK_BENCH_DISPLAY when there is one.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zirk::bench {

namespace {

struct Child {
    bool ok = false;
    double ms = 0;
    double rssMiB = 0;
};

std::string besideThisProgram(const char* name) {
    char self[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return name;
    std::string path(self, static_cast<std::size_t>(n));
    return path.substr(0, path.rfind('/') + 1) + name;
}

// The same clock in every process of the machine, so a child can subtract this reading from its own.
long long nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

Child run(const std::string& program, char** env) {
    Child result;
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return result;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    char start[32];
    pid_t pid = 0;
    const long long t0 = nowNs();
    std::snprintf(start, sizeof start, "%lld", t0);
    char* argv[] = {const_cast<char*>(program.c_str()), start, nullptr};
    const int spawned = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, env);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    std::string text;
    char buf[256];
    for (;;) {
        const ssize_t n = ::read(out[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        text.append(buf, static_cast<std::size_t>(n));
    }
    ::close(out[0]);
    if (spawned != 0) return result;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    long long ns = 0;
    long rssKiB = 0;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
        std::sscanf(text.c_str(), "%lld %ld", &ns, &rssKiB) == 2 && ns > 0 && rssKiB > 0) {
        result.ok = true;
        result.ms = static_cast<double>(ns) / 1e6;
        result.rssMiB = static_cast<double>(rssKiB) / 1024.0;
    }
    return result;
}

void startup(benchmark::State& st, char** env) {
    static const std::array<std::string, 3> programs{besideThisProgram("bench_startup_zirk"),
                                                     besideThisProgram("bench_startup_bare"),
                                                     besideThisProgram("bench_startup_label")};
    static const std::array<const char*, 3> names{"zirk", "bare", "label"};
    static int round = 0;
    static std::vector<char**> warmed;
    if (std::find(warmed.begin(), warmed.end(), env) == warmed.end()) {
        warmed.push_back(env);
        // The first start of each reads its libraries and plugins from disk; no later start does.
        for (const std::string& program : programs)
            run(program, env);
    }
    // Each repetition starts with another of the three, so that none is always first after a pause.
    const int first = round++ % 3;
    for (auto _ : st) {
        std::array<Child, 3> got;
        for (int i = 0; i < 3; ++i) {
            const int k = (first + i) % 3;
            got[k] = run(programs[k], env);
            if (!got[k].ok) {
                st.SkipWithError("a start-up program failed");
                return;
            }
        }
        st.SetIterationTime(got[0].ms / 1e3);
        for (int k = 0; k < 3; ++k) {
            st.counters[std::string(names[k]) + "_ms"] = got[k].ms;
            st.counters[std::string(names[k]) + "_peak_rss_MiB"] = got[k].rssMiB;
        }
    }
}

} // namespace

void registerStartupBenchmarks() {
    benchmark::RegisterBenchmark("startup/first_paint", [](benchmark::State& st) { startup(st, environ); })
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(15)
        ->Unit(benchmark::kMillisecond);
    const char* display = std::getenv("ZIRK_BENCH_DISPLAY");
    if (!display || !*display) return;
    static std::vector<std::string> settings;
    for (char** e = environ; *e; ++e) {
        if (std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0 && std::strncmp(*e, "DISPLAY=", 8) != 0)
            settings.emplace_back(*e);
    }
    settings.push_back("QT_QPA_PLATFORM=xcb");
    settings.push_back(std::string("DISPLAY=") + display);
    static std::vector<char*> env;
    for (std::string& setting : settings)
        env.push_back(setting.data());
    env.push_back(nullptr);
    benchmark::RegisterBenchmark("startup/xvfb_first_paint",
                                 [](benchmark::State& st) { startup(st, env.data()); })
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(15)
        ->Unit(benchmark::kMillisecond);
}

} // namespace zirk::bench
