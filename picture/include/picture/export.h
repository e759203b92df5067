// A picture to chip data, with the options the command line and the window offer: the one
// place that decides how a picture's pixels, mask and colour map become bitplanes, masks,
// palettes and sprites, so that `quillfen-iff` and the Picture tab write the same bytes.
#pragma once

#include "picture/files.h"
#include "picture/picture.h"

#include <amiga/bitplanes.h>
#include <amiga/paletteformats.h>
#include <amiga/sprites.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace picture {

// What was made, or why nothing was: a sentence for the user.
struct Output {
    std::vector<std::uint8_t> bytes;
    std::string text;  // for the text forms
    std::string error; // non-empty when nothing was made
    std::vector<std::string> warnings;
    bool ok() const { return error.empty(); }
};

struct RawOptions {
    bool planar = false;           // else interleaved
    std::optional<unsigned> depth; // planes to write; default: the picture's depth
    amiga::MaskOutput mask = amiga::MaskOutput::None;
    bool invertMask = false;
    bool chunky = false; // one byte per pixel instead of planes
    std::optional<unsigned> transparentColour;
};
// Bitplanes (or chunky bytes) of a picture with pixel values. Refuses a true-colour PNG (it
// needs reducing first), a depth outside 1-8 (1-32 for a deep ILBM), a mask for chunky bytes.
Output rawBitplanes(const Picture &picture, const RawOptions &options);
// The same for a picture too large to hold twice: checked as above (the refusal or the
// warnings, no bytes), and when not refused *produce set to make the bytes a band of rows at a
// time, in order, for writeWholeFile (files.h). The picture must outlive *produce.
Output rawBitplanePieces(const Picture &picture, const RawOptions &options, ProducePieces *produce);
// The mask alone, as raw writes it with --mask-only --planar: one plane of rows of whole words,
// a bit set where a pixel is opaque (transparentColour as in RawOptions).
Output rawMaskPlane(const Picture &picture, std::optional<unsigned> transparentColour);

// The planes rawBitplanes writes of a picture: the option's depth, else the picture's own.
unsigned rawDepth(const Picture &picture, const RawOptions &options);

// What rawBitplanes makes of a picture, for a comment above its data: "20 x 3 pixels, 3 planes,
// interleaved, a mask row after each row's planes, 24 bytes". Only for options it does not refuse.
std::string rawDescription(const Picture &picture, const RawOptions &options, std::size_t bytes);

struct PaletteOptions {
    amiga::PaletteFormat format = amiga::PaletteFormat::Words;
    bool binary = false;
    std::optional<unsigned> colours;              // default: as many as the colour map holds
    std::uint16_t bplcon3 = amiga::kBplcon3Reset; // copper-aga: the display's BPLCON3
};
// The colour map in a format: text, or bytes with binary. More colours than the map holds are
// refused; more than the format holds, too.
Output paletteOutput(const Picture &picture, const PaletteOptions &options);

struct SpriteExportOptions {
    amiga::SpriteOptions sprite;
    bool text = false;
    std::optional<unsigned> transparentColour;
};
// Sprites from a picture of colour numbers; transparent pixels (opacityOf) become colour 0. A
// sheet of frames that is not a whole number of them: a warning says what is left out.
Output spriteOutput(const Picture &picture, const SpriteExportOptions &options);

} // namespace picture
