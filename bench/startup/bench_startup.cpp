// Process start to first painted window: Quillfen beside a minimal Qt program,
// each started afresh for every iteration. The time is taken from just before
// the process is started to the moment the probe reports its window painted
// (Quillfen reads its register database in the background after that); how
// long the process then takes to end is shown apart, as "exit_ms", and the CPU
// time the probe's main thread used up to the paint as "cpu_ms": on a shared
// machine the steadier figure.
//
// The probes run on the platform Qt is given (QT_QPA_PLATFORM), offscreen when
// none is: under a real X server (scripts/run-benchmarks uses Xvfb) the
// baseline pays for the display connection as every desktop program does.
#include "monotonic_clock.h"

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>

extern char **environ;

namespace {

std::string probeDirectory;

void runProbe(benchmark::State &state, const char *name) {
    const std::string path = probeDirectory + "/" + name;
    double exitSeconds = 0;
    double cpuSeconds = 0;
    for (auto _ : state) {
        int report[2];
        if (pipe(report) != 0) {
            state.SkipWithError("cannot make a pipe");
            return;
        }
        setenv("QUILLFEN_PROBE_FD", std::to_string(report[1]).c_str(), 1);
        char *argv[] = {const_cast<char *>(path.c_str()), nullptr};
        pid_t pid = 0;
        const std::int64_t started = monotonicNanoseconds();
        const int spawned = posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, environ);
        close(report[1]);
        if (spawned != 0) {
            close(report[0]);
            state.SkipWithError("cannot start the probe");
            return;
        }
        std::int64_t moments[2] = {}; // painted, main thread's CPU time by then
        const bool reported = read(report[0], moments, sizeof moments) == sizeof moments;
        const std::int64_t painted = moments[0];
        close(report[0]);
        int status = 0;
        waitpid(pid, &status, 0);
        const std::int64_t ended = monotonicNanoseconds();
        if (!reported || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the probe did not report its window and exit cleanly");
            return;
        }
        state.SetIterationTime(static_cast<double>(painted - started) * 1e-9);
        exitSeconds += static_cast<double>(ended - painted) * 1e-9;
        cpuSeconds += static_cast<double>(moments[1]) * 1e-9;
    }
    const auto perIteration = static_cast<double>(state.iterations());
    state.counters["cpu_ms"] = benchmark::Counter(cpuSeconds * 1e3 / perIteration);
    state.counters["exit_ms"] = benchmark::Counter(exitSeconds * 1e3 / perIteration);
}

} // namespace

int main(int argc, char **argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (!getenv("XDG_RUNTIME_DIR")) {
        // Qt wants a private runtime folder; give the probes one so they stay quiet.
        std::string runtime = "/tmp/quillfen-bench-" + std::to_string(getuid());
        mkdir(runtime.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 0);
    }
    probeDirectory = std::filesystem::path(argv[0]).parent_path().string();
    if (probeDirectory.empty())
        probeDirectory = ".";
    // The baseline first, then the two references, then the program.
    const std::pair<const char *, const char *> probes[] = {
        {"BM_StartupBaselineEmptyWindow", "probe_startup_baseline"},
        {"BM_StartupReferenceOneLabel", "probe_startup_label"},
        {"BM_StartupReferenceMenusAndTabs", "probe_startup_skeleton"},
        {"BM_StartupQuillfen", "probe_startup_quillfen"},
    };
    for (const auto &[benchmarkName, probe] : probes) {
        benchmark::RegisterBenchmark(benchmarkName, runProbe, probe)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->MinTime(2.0);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
