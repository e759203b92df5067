// Colour reduction: a true-colour picture to colour numbers and a colour map of at most N
// colours, chosen for what the machine can show: 12-bit colours ($0RGB) for OCS/ECS, 24-bit
// for AGA. Median cut over the picture's colours (weighted by how many pixels have each),
// the box's mean as its colour, rounded to the target's precision; then every pixel is mapped
// to its nearest colour, plainly or with Floyd-Steinberg error diffusion.
#pragma once

#include "picture/picture.h"

namespace picture {

struct Reduction {
    unsigned colours = 16;  // 2-256
    bool twelveBit = false; // OCS/ECS colours
    bool dither = false;    // Floyd-Steinberg error diffusion
    // Transparent pixels (alpha below 128) always take colour 0, which is then black and kept
    // for them alone.
};

// The picture with colour numbers (depth: the fewest planes holding the colours) and its new
// colour map; pixels with alpha below 128 become colour 0, which is then the transparent
// colour. An indexed picture whose colour map and colour numbers are within the colours asked
// for is given back as it is; any other picture (HAM, EHB, deep, or with too many colours) is
// reduced from the colours it shows, its own transparent pixels (mask plane or transparent
// colours) taking colour 0. When the picture has no more distinct colours than asked for (after
// rounding to 12 bits when asked), they are kept exactly.
Picture reduce(const Picture &picture, const Reduction &reduction);

} // namespace picture
