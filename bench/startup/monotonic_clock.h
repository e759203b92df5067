#pragma once
// The clock the start-up benchmark and its probes share: CLOCK_MONOTONIC is
// the same for every process of the machine.
#include <cstdint>
#include <ctime>

inline std::int64_t monotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// CPU time the calling thread has used: for a probe's main thread, the work of
// its start-up alone, steadier on a busy machine than the time on the clock.
inline std::int64_t threadCpuNanoseconds() {
    timespec used{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &used);
    return static_cast<std::int64_t>(used.tv_sec) * 1000000000 + used.tv_nsec;
}
