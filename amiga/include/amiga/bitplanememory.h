// The memory of a bitplane display: bytes per line of one bitplane, per bitplane and for all of
// them, and the modulo that skips the other planes' lines when the planes are interleaved (each
// picture line holds the line of plane 0, then of plane 1, …).
#pragma once

#include <cstdint>

namespace amiga {

struct BitplaneMemory {
    std::uint64_t width = 0, height = 0, depth = 0;
    std::uint64_t bytesPerLine = 0;          // width / 8, the remainder dropped
    std::uint64_t bytesPerPlane = 0;         // bytesPerLine x height
    std::uint64_t bytesAllPlanes = 0;        // bytesPerPlane x depth
    std::uint64_t bytesPerLineAllPlanes = 0; // bytesPerLine x depth
    // bytesPerLineAllPlanes - bytesPerLine: what BPLxMOD holds for interleaved planes. Without
    // planes (depth 0) there is no modulo, and this is 0.
    std::uint64_t interleavedModulo = 0;
};

// Products wrap at 64 bits as unsigned arithmetic does; the fields the user types hold at most
// 19 digits, so only absurd sizes get there.
BitplaneMemory bitplaneMemory(std::uint64_t width, std::uint64_t height, std::uint64_t depth);

} // namespace amiga
