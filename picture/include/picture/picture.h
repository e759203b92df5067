// Pictures read from files: ILBM, ACBM and PBM through the project's IFF and ILBM libraries,
// PNG through libpng. A picture is its colour numbers (or, for a true-colour picture, its
// colours), its colour map, what of it is transparent, and how the Amiga shows it.
#pragma once

#include "picture/files.h"

#include <amiga/colourwords.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace picture {

enum class Source { Ilbm, Acbm, Pbm, Png };

// How the display turns pixel values into colours.
enum class DisplayMode {
    Indexed,        // a colour number into the colour map
    ExtraHalfbrite, // 6 planes: colours 32-63 are 0-31 at half brightness
    Ham6,           // hold and modify, 6 planes: 2 control bits, 4 data bits
    Ham8,           // hold and modify, 8 planes: 2 control bits, 6 data bits (AGA)
    TrueColour,     // 24 (or 32) planes: red in bits 0-7, green 8-15, blue 16-23
};

struct Rgba8 {
    std::uint8_t red = 0, green = 0, blue = 0, alpha = 255;
    friend bool operator==(const Rgba8 &, const Rgba8 &) = default;
};

// A colour register set from a line of the picture down, until another change of it: what a
// copper list does for SHAM and PCHG pictures (linecolours.h).
struct ColourChange {
    unsigned line = 0;           // the picture's line, 0 the first
    unsigned colourRegister = 0; // 0-255
    amiga::Rgb8 colour;
    friend bool operator==(const ColourChange &, const ColourChange &) = default;
};

struct Picture {
    Source source = Source::Png;
    unsigned width = 0;
    unsigned height = 0;
    // Bits of a pixel value: an ILBM's planes, a PNG's bit depth for a palette or grey picture.
    unsigned depth = 0;
    DisplayMode mode = DisplayMode::Indexed;
    // The Amiga display mode of an ILBM's CAMG (0 when there is none or for a PNG).
    std::uint32_t viewportMode = 0;
    // Whether the picture stores a display mode (an ILBM's CAMG) at all.
    bool hasViewportMode = false;
    // The pixel's width to height as an ILBM's BMHD gives it (10:11 for a lores PAL pixel);
    // 0 when the picture does not say.
    unsigned xAspect = 0;
    unsigned yAspect = 0;

    // Pixel values, width x height, row after row: colour numbers for a depth up to 8 (also the
    // raw values of HAM and EHB pictures).
    std::vector<std::uint8_t> pixels;
    // Pixel values for a depth over 8 (24- and 32-plane ILBMs), plane 0 the lowest bit.
    std::vector<std::uint32_t> deepPixels;
    // The colours of a true-colour PNG (RGB, RGBA, grey with alpha, 16 bits a channel taken to
    // 8), width x height; such a picture has no pixel values until it is reduced (reduce.h).
    std::vector<Rgba8> trueColour;

    // The colour map as stored (CMAP, PLTE, or grey levels for a grey PNG); it may hold more or
    // fewer colours than the depth can address.
    std::vector<amiga::Rgb8> palette;
    // The colour registers changed down the picture (an ILBM's SHAM or PCHG), in line order;
    // the palette is what the registers hold before the first line.
    std::vector<ColourChange> colourChanges;
    // Whether the colour map stores 12-bit colours (every gun's low nibble equal to its high
    // nibble or zero), as OCS paint programs wrote them.
    bool twelveBitPalette = false;

    // What is transparent. The picture's own mask plane (ILBM masking 1), one byte per pixel,
    // non-zero where opaque; empty when it has none.
    std::vector<std::uint8_t> opacity;
    // Colours whose pixels are transparent: the ILBM's transparent colour (masking 2), a PNG's
    // tRNS entries with alpha below 128. Empty when the picture names none.
    std::vector<unsigned> transparentColours;

    // What reading noticed but did not stop at ("the first of 3 pictures is used").
    std::vector<std::string> warnings;

    bool isTrueColour() const { return !trueColour.empty() || !deepPixels.empty(); }
    // The number of colours the pixel values can address: 1 << depth, at most 256.
    unsigned colourCount() const;
};

// "ILBM", "ACBM", "PBM", "PNG".
std::string_view sourceName(Source source);
// "indexed", "EHB", "HAM6", "HAM8", "24-bit"/"32-bit".
std::string describeMode(const Picture &picture);

// Which picture of a file is meant: the first (index 0), unless the user names another. A PNG
// holds one; an IFF file may hold several ILBM, ACBM and PBM pictures (in a CAT or LIST), in
// file order.
//
// A picture from the bytes of a file: PNG by its signature, else IFF (the ILBM, ACBM or PBM
// picture of that index). Nothing, with *error set to what is wrong, for anything that is not
// such a picture or has no picture of that index; never a partial picture. The error does not
// know the file's name: it is the part of a sentence after it, lower case without a full stop
// ("the PNG picture is 20000 x 10 pixels, larger than the 16384 x 16384 that are read").
// Messages of the IFF and ILBM libraries go into the error or the warnings, never to the
// standard error.
std::optional<Picture> readPicture(const std::vector<std::uint8_t> &bytes, std::string *error,
                                   unsigned index = 0);
// The same, the bytes handed over: an IFF file's are released once read into chunks, before
// the picture is made, so that a large file is not held beside its picture. With the path of
// the file they were read from, a packed ILBM body is read from there again a piece at a time
// rather than held while it is unpacked.
std::optional<Picture> readPicture(std::vector<std::uint8_t> &&bytes, std::string *error,
                                   unsigned index = 0, const std::string &path = {});
// The same from a file ("-" is the standard input); the error is a whole sentence that names
// the file ("'a.png': the file is empty.").
std::optional<Picture> readPictureFile(const std::string &path, std::string *error,
                                       unsigned index = 0);

// The colour map of a picture file, for what starts from a palette: the colour map readPicture
// gives for that index; or, for an IFF file that holds no picture with pixels (a palette saved
// alone, as paint programs save one: a BMHD and a CMAP without a BODY), the CMAP of its ILBM,
// ACBM or PBM form of that index (for index 0 the first that has one). Nothing, with *error set
// as readPicture sets it, when there is no such colour map.
std::optional<std::vector<amiga::Rgb8>> readColourMap(const std::vector<std::uint8_t> &bytes,
                                                      std::string *error, unsigned index = 0);
// The same from a file ("-" is the standard input), the error naming the file.
std::optional<std::vector<amiga::Rgb8>> readColourMapFile(const std::string &path,
                                                          std::string *error, unsigned index = 0);

// What a user choosing among the pictures of a file needs to tell them apart.
struct PictureSummary {
    Source source = Source::Ilbm;
    unsigned width = 0; // 0 when the picture has no bitmap header
    unsigned height = 0;
    unsigned depth = 0;   // planes (bits a pixel for a PNG)
    unsigned colours = 0; // entries of its colour map
};
// The pictures of a file in the order the index counts them: one for a PNG, each ILBM, ACBM or
// PBM picture of an IFF file; empty for anything else.
std::vector<PictureSummary> listPictures(const std::vector<std::uint8_t> &bytes);

// The picture as the Amiga shows it, width x height colours: the colour map for indexed
// pictures (colours past the map are black), half-bright colours, HAM decoded from colour 0 at
// the start of every row, true colour as stored, each line with the colour changes made up to
// it. A true-colour PNG as its colours.
std::vector<amiga::Rgb8> render(const Picture &picture);

// The distinct colours of a true-colour picture, counted up to limit (stops counting there);
// pixels with alpha below 128 are not counted. For a picture of pixel values, the distinct
// colours render shows.
unsigned countColours(const Picture &picture, unsigned limit = 1u << 24);

// Which pixels are transparent, by the rule the converters use: transparentColour when given;
// else the picture's own mask plane or transparent colours; else colour 0. One byte per pixel,
// non-zero where opaque. Empty for a picture without pixel values.
std::vector<std::uint8_t> opacityOf(const Picture &picture,
                                    std::optional<unsigned> transparentColour = std::nullopt);

// The screen an ILBM is written for. Square: no resolution asked for, pixels as wide as tall.
enum class Resolution { Square, Lores, Hires, SuperHires };
struct ScreenMode {
    Resolution resolution = Resolution::Square;
    bool lace = false; // interlaced, with a resolution
};

// A packed ILBM file (FORM ILBM with BMHD, CMAP, CAMG and a ByteRun1 BODY) of a picture with
// colour numbers: as many planes as the colour map or the largest colour number needs (at least
// one), the colour map padded with black to 1 << planes colours, the picture's mask as masking 2
// (a transparent colour) when it has exactly one transparent colour. A picture with its own mask
// plane keeps it (masking 1); EHB, HAM6 and HAM8 pictures keep 6, 6 and 8 planes, their CAMG bit
// and 32, 16 and 64 colours. Without a screen mode the pixels stay square (aspect 1:1, no
// resolution bits in CAMG) unless the picture has a display mode of its own, which it keeps; a
// screen mode sets its CAMG bits and its PAL pixel shape (ilbmwrite.cpp). The page is the
// picture's size. Empty, with *error set, for a picture without colour numbers.
std::vector<std::uint8_t> ilbmBytes(const Picture &picture, std::string *error,
                                    const ScreenMode &screen = {});
// The same file made while it is written, for writeWholeFile (files.h): the BODY is packed
// twice, once for its size and once as it is written, so that neither the planes nor the BODY
// are held whole. False, with *error set, where ilbmBytes gives nothing; the picture must
// outlive *produce.
bool ilbmPieces(const Picture &picture, std::string *error, const ScreenMode &screen,
                ProducePieces *produce);

} // namespace picture
