// Colour reduction: a true-colour picture to colour numbers and a colour map of at most N
// colours, chosen for what the machine can show: 12-bit colours ($0RGB) for OCS/ECS, 24-bit
// for AGA. Cuts of the picture's colours by least squared error (each weighted by how many
// pixels have it), refined by Lloyd's iteration (k-means) and jumps of single colours, and for
// OCS/ECS refined again among 12-bit colours; then every pixel is mapped to its nearest colour,
// plainly, with Floyd-Steinberg error diffusion, or with an ordered dither that stays still between
// the frames of an animation.
#pragma once

#include "picture/picture.h"

namespace picture {

enum class Dither {
    None,    // every pixel its nearest colour
    Diffuse, // Floyd-Steinberg error diffusion, in serpentine order
    Ordered, // a Bayer 8 x 8 pattern: a pixel's colour depends on its own colour and place alone
};

struct Reduction {
    unsigned colours = 16;  // 2-256
    bool twelveBit = false; // OCS/ECS colours
    Dither dither = Dither::None;
    // Transparent pixels (alpha below 128) always take colour 0, which is then black and kept
    // for them alone.
};

// The picture with colour numbers (depth: the fewest planes holding the colours) and its new
// colour map; pixels with alpha below 128 become colour 0, which is then the transparent
// colour. An indexed picture whose colour map and colour numbers are within the colours asked
// for (and for OCS/ECS whose colours are 12-bit ones) is given back as it is; any other picture
// (HAM, EHB, deep, or with too many colours) is reduced from the colours it shows, its own
// transparent pixels (mask plane or transparent colours) taking colour 0. When the picture has no
// more distinct colours than asked for (after rounding to 12 bits when asked), they are kept
// exactly.
Picture reduce(const Picture &picture, const Reduction &reduction);

// The picture of a file's bytes (readPicture) reduced as reduce reduces it, in less memory: a
// true-colour PNG that is not interlaced is never held whole, but decoded twice a row at a time,
// its colours counted the first time and each row mapped the second (from the file at path when
// it can be read again, its bytes released first); any other picture of colour numbers is
// mapped in place of them. Nothing, with *error set as readPicture sets it, or when the file
// changes between the two reads.
std::optional<Picture> readReducedPicture(std::vector<std::uint8_t> &&bytes,
                                          const Reduction &reduction, std::string *error,
                                          unsigned index = 0, const std::string &path = {});

} // namespace picture
