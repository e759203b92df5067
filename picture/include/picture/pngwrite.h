// A true-colour picture as a PNG file's bytes (8 bits a gun, no alpha), through libpng.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace picture {

// pixels: 0xRRGGBB, row after row, width x height of them. An empty result when libpng fails
// or the sizes do not match.
std::vector<std::uint8_t> rgbPng(int width, int height, std::span<const std::uint32_t> pixels);

} // namespace picture
