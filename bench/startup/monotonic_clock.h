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
