// Process start to first painted window: Quillfen beside a minimal Qt program,
// each started afresh for every iteration, offscreen.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char **environ;

namespace {

std::string probeDirectory;

void runProbe(benchmark::State &state, const char *name) {
    const std::string path = probeDirectory + "/" + name;
    for (auto _ : state) {
        char *argv[] = {const_cast<char *>(path.c_str()), nullptr};
        pid_t pid = 0;
        if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start the probe");
            return;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the probe did not exit cleanly");
            return;
        }
    }
}

void BM_StartupBaselineEmptyWindow(benchmark::State &state) {
    runProbe(state, "probe_startup_baseline");
}
void BM_StartupQuillfen(benchmark::State &state) {
    runProbe(state, "probe_startup_quillfen");
}

} // namespace

BENCHMARK(BM_StartupBaselineEmptyWindow)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);
void BM_StartupReferenceOneLabel(benchmark::State &state) {
    runProbe(state, "probe_startup_label");
}

BENCHMARK(BM_StartupReferenceOneLabel)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_StartupQuillfen)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

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
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
