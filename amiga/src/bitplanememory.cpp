#include "amiga/bitplanememory.h"

namespace amiga {

BitplaneMemory bitplaneMemory(std::uint64_t width, std::uint64_t height, std::uint64_t depth) {
    BitplaneMemory m;
    m.width = width;
    m.height = height;
    m.depth = depth;
    m.bytesPerLine = width >> 3;
    m.bytesPerPlane = m.bytesPerLine * height;
    m.bytesAllPlanes = m.bytesPerPlane * depth;
    m.bytesPerLineAllPlanes = m.bytesPerLine * depth;
    m.interleavedModulo = depth == 0 ? 0 : m.bytesPerLineAllPlanes - m.bytesPerLine;
    return m;
}

} // namespace amiga
