// A picture to chip data: the rules the command line and the window share. Every refusal is a
// sentence the user reads as it is; the bytes and text themselves come from the machine
// library's writers.
#include "picture/export.h"
#include "picture/region.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>

namespace picture {

namespace {

Output refused(std::string error) {
    Output output;
    output.error = std::move(error);
    return output;
}

// The fewest planes that hold colour numbers below count (at least one).
unsigned planesFor(unsigned count) {
    unsigned planes = 1;
    while (planes < 8 && (1u << planes) < count) {
        planes++;
    }
    return planes;
}

unsigned largestColour(const Picture &picture) {
    unsigned largest = 0;
    for (std::uint8_t pixel : picture.pixels) {
        largest = std::max<unsigned>(largest, pixel);
    }
    return largest;
}

// The planes a picture's colour numbers take by default: an IFF picture's own planes; for a
// PNG the fewest that hold its colour map and its largest colour number, since a PNG's bit
// depth is a storage choice (8 bits for a picture of 5 colours is common).
unsigned defaultDepth(const Picture &picture) {
    if (!picture.deepPixels.empty() || picture.source != Source::Png) {
        return std::max(picture.depth, 1u);
    }
    const auto colours = std::max<std::size_t>(picture.palette.size(), largestColour(picture) + 1u);
    return planesFor(static_cast<unsigned>(std::min<std::size_t>(colours, 256)));
}

// How many colour numbers a picture's pixel values address, for checking a colour option.
unsigned long long valueCount(const Picture &picture) {
    if (!picture.deepPixels.empty()) {
        return 1ull << std::min(std::max(picture.depth, 1u), 32u);
    }
    return std::max<unsigned long long>({static_cast<unsigned long long>(picture.colourCount()),
                                         picture.palette.size(), largestColour(picture) + 1ull});
}

std::optional<std::string> badColour(const Picture &picture, std::optional<unsigned> colour) {
    if (colour && *colour >= valueCount(picture)) {
        return "Colour " + std::to_string(*colour) + " is not a colour of this picture, whose " +
               "colour numbers go from 0 to " + std::to_string(valueCount(picture) - 1) + ".";
    }
    return std::nullopt;
}

std::string trueColourRefusal(const Picture &picture) {
    return "The picture is a true-colour " + std::string(sourceName(picture.source)) +
           " without colour numbers; reduce its colours first.";
}

// The transparent colours by the converters' rule, when a colour rule decides (not the
// picture's own mask plane): the option's colour, the picture's transparent colours, or colour 0.
std::optional<amiga::Transparency> colourTransparency(const Picture &picture,
                                                      std::optional<unsigned> transparent) {
    if (!transparent && !picture.opacity.empty()) {
        return std::nullopt;
    }
    if (transparent) {
        return amiga::Transparency::colour(*transparent);
    }
    if (picture.transparentColours.empty()) {
        return amiga::Transparency::colour(0);
    }
    amiga::Transparency transparency;
    for (unsigned c : picture.transparentColours) {
        if (c < 256) {
            transparency.transparent.resize(
                std::max<std::size_t>(transparency.transparent.size(), c + 1));
            transparency.transparent[c] = true;
        }
    }
    return transparency;
}

} // namespace

Output rawBitplanePieces(const Picture &picture, const RawOptions &options,
                         ProducePieces *produce) {
    if (picture.width == 0 || picture.height == 0) {
        return refused("The picture has no pixels.");
    }
    const bool deep = !picture.deepPixels.empty();
    if (!deep && picture.pixels.empty()) {
        return refused(trueColourRefusal(picture));
    }
    if (auto problem = badColour(picture, options.transparentColour)) {
        return refused(*problem);
    }
    const unsigned maximum = deep ? 32 : 8;
    const unsigned depth = options.depth.value_or(defaultDepth(picture));
    if (depth < 1 || depth > maximum) {
        return refused("A depth of " + std::to_string(depth) + " planes is not possible here: " +
                       "this picture takes 1 to " + std::to_string(maximum) + " planes.");
    }
    Output output;
    if (!deep) {
        const unsigned largest = largestColour(picture);
        if (depth < 8 && largest >= (1u << depth)) {
            output.warnings.push_back("Colour numbers up to " + std::to_string(largest) +
                                      " need more than " + std::to_string(depth) +
                                      " planes; their higher bits are left out.");
        }
    }
    const unsigned width = picture.width, height = picture.height;
    // Bands of rows of about 256 KiB of pixels: what is held besides the picture.
    const unsigned band = std::clamp(262144u / width, 1u, height);
    if (options.chunky) {
        if (options.mask != amiga::MaskOutput::None) {
            return refused("Chunky bytes have no mask plane; ask for bitplanes to get a mask.");
        }
        if (deep) {
            return refused("A picture of " + std::to_string(picture.depth) +
                           " planes has no colour numbers of a byte for chunky bytes.");
        }
        *produce = [&picture, depth, width, height, band](const WritePiece &write) {
            const unsigned keep = depth >= 8 ? 0xffu : (1u << depth) - 1;
            std::string bytes;
            for (unsigned top = 0; top < height; top += band) {
                const std::size_t begin = std::size_t{top} * width,
                                  end = std::size_t{std::min(top + band, height)} * width;
                bytes.resize(end - begin);
                for (std::size_t i = begin; i < end; i++) {
                    bytes[i - begin] = static_cast<char>(picture.pixels[i] & keep);
                }
                if (!write(bytes)) {
                    return;
                }
            }
        };
        return output;
    }
    amiga::BitplaneLayout layout;
    layout.interleaved = !options.planar;
    layout.depth = depth;
    layout.mask = options.mask;
    layout.invertMask = options.invertMask;
    // Planes and mask in one pass when colours decide what is transparent; else a mask plane
    // from the picture's opacity, made first (an eighth of the pixels).
    std::optional<amiga::Transparency> transparency;
    auto mask = std::make_shared<std::vector<std::uint8_t>>();
    if (options.mask != amiga::MaskOutput::None) {
        if (!deep) {
            transparency = colourTransparency(picture, options.transparentColour);
        }
        if (!transparency) {
            const std::vector<std::uint8_t> opaque = opacityOf(picture, options.transparentColour);
            if (opaque.size() != std::size_t{width} * height) {
                return refused("The picture has no colour numbers to make a mask of.");
            }
            *mask = amiga::maskPlaneFromOpacity(opaque.data(), width, height);
        }
    }
    // The planes of a band of rows: interleaved, a run of the whole; planar, one run of each
    // plane (and of the mask), which go to the file a plane at a time.
    const std::size_t rowBytes = amiga::planeRowBytes(width);
    const unsigned runs = !options.planar                            ? 1
                          : options.mask == amiga::MaskOutput::Only  ? 1
                          : options.mask == amiga::MaskOutput::After ? depth + 1
                                                                     : depth;
    *produce = [&picture, layout, transparency, mask, deep, width, height, band, rowBytes,
                runs](const WritePiece &write) {
        for (unsigned run = 0; run < runs; run++) {
            for (unsigned top = 0; top < height; top += band) {
                const unsigned rows = std::min(band, height - top);
                const std::size_t first = std::size_t{top} * width;
                const std::uint8_t *maskData =
                    mask->empty() ? nullptr : mask->data() + std::size_t{top} * rowBytes;
                const std::vector<std::uint8_t> bytes =
                    deep ? amiga::bitplaneData(picture.deepPixels.data() + first, width, rows,
                                               layout, maskData)
                    : transparency ? amiga::bitplaneDataAndMask(picture.pixels.data() + first,
                                                                width, rows, layout, *transparency)
                                   : amiga::bitplaneData(picture.pixels.data() + first, width, rows,
                                                         layout, maskData);
                const std::size_t length = bytes.size() / runs;
                if (bytes.empty() ||
                    !write({reinterpret_cast<const char *>(bytes.data()) + run * length, length})) {
                    return;
                }
            }
        }
    };
    return output;
}

Output rawMaskPlane(const Picture &picture, std::optional<unsigned> transparentColour) {
    RawOptions mask;
    mask.planar = true;
    mask.depth = 1;
    mask.mask = amiga::MaskOutput::Only;
    mask.transparentColour = transparentColour;
    return rawBitplanes(picture, mask);
}

Output rawBitplanes(const Picture &picture, const RawOptions &options) {
    ProducePieces produce;
    Output output = rawBitplanePieces(picture, options, &produce);
    if (output.ok()) {
        produce([&output](std::string_view piece) {
            output.bytes.insert(output.bytes.end(), piece.begin(), piece.end());
            return true;
        });
    }
    return output;
}

unsigned rawDepth(const Picture &picture, const RawOptions &options) {
    return options.depth.value_or(defaultDepth(picture));
}

std::string rawDescription(const Picture &picture, const RawOptions &options, std::size_t bytes) {
    std::string text = std::to_string(picture.width) + " x " + std::to_string(picture.height) +
                       (picture.width == 1 && picture.height == 1 ? " pixel, " : " pixels, ");
    const std::string size = std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
    if (options.chunky) {
        return text + "chunky (a byte a pixel), " + size;
    }
    const unsigned depth = options.depth.value_or(defaultDepth(picture));
    const bool interleaved = !options.planar;
    const char *inverted = options.invertMask ? " (inverted: set where transparent)" : "";
    switch (options.mask) {
    case amiga::MaskOutput::None:
        text += std::to_string(depth) + (depth == 1 ? " plane, " : " planes, ") +
                (interleaved ? "interleaved" : "planar");
        break;
    case amiga::MaskOutput::After:
        text += std::to_string(depth) + (depth == 1 ? " plane, " : " planes, ") +
                (interleaved ? "interleaved, a mask row after each row's planes"
                             : "planar, the mask plane after the last plane") +
                inverted;
        break;
    case amiga::MaskOutput::Only:
        text += interleaved ? "the mask alone, each row " + std::to_string(depth) +
                                  (depth == 1 ? " time" : " times") + " (once a plane)"
                            : std::string("the mask alone, one plane");
        text += inverted;
        break;
    }
    return text + ", " + size;
}

Output paletteOutput(const Picture &picture, const PaletteOptions &options) {
    const std::size_t held = picture.palette.size();
    if (held == 0) {
        return refused(picture.trueColour.empty()
                           ? "The picture has no colour map."
                           : "The picture is a true-colour picture without a colour map; reduce "
                             "its colours first.");
    }
    const unsigned limit = amiga::paletteFormatLimit(options.format);
    const std::string formatName(amiga::paletteFormatName(options.format));
    Output output;
    unsigned count = 0;
    if (options.colours) {
        count = *options.colours;
        if (count == 0) {
            return refused("A palette of no colours holds nothing to write.");
        }
        if (count > held) {
            return refused("The colour map holds " + std::to_string(held) + " colour" +
                           (held == 1 ? "" : "s") + ", not " + std::to_string(count) + ".");
        }
        if (count > limit) {
            return refused("The " + formatName + " format holds at most " + std::to_string(limit) +
                           " colours, not " + std::to_string(count) + ".");
        }
    } else {
        count = static_cast<unsigned>(std::min<std::size_t>(held, limit));
        if (count < held) {
            output.warnings.push_back("The colour map holds " + std::to_string(held) +
                                      " colours; the " + formatName + " format takes the first " +
                                      std::to_string(count) + ".");
        }
    }
    const std::vector<amiga::Rgb8> colours(picture.palette.begin(),
                                           picture.palette.begin() + count);
    if (options.binary) {
        output.bytes = amiga::paletteBytes(options.format, colours, 0, options.bplcon3);
    } else {
        output.text = amiga::paletteText(options.format, colours, 0, options.bplcon3);
    }
    return output;
}

Output spriteOutput(const Picture &picture, const SpriteExportOptions &options) {
    if (picture.width == 0 || picture.height == 0) {
        return refused("The picture has no pixels.");
    }
    if (picture.pixels.empty()) {
        return refused(picture.deepPixels.empty()
                           ? trueColourRefusal(picture)
                           : "A picture of " + std::to_string(picture.depth) +
                                 " planes cannot become sprites, which show 3 or 15 colours.");
    }
    if (auto problem = badColour(picture, options.transparentColour)) {
        return refused(*problem);
    }
    // Transparent pixels become colour 0: by opacityOf's rule, a pixel at a time, and in a copy
    // only when one of them has another colour, so that a tall picture is not held three times.
    const std::vector<std::uint8_t> &values = picture.pixels;
    const bool plane = !options.transparentColour && picture.opacity.size() == values.size();
    const std::vector<unsigned> transparent =
        options.transparentColour             ? std::vector<unsigned>{*options.transparentColour}
        : !picture.transparentColours.empty() ? picture.transparentColours
                                              : std::vector<unsigned>{0};
    std::vector<std::uint8_t> zeroed;
    std::size_t hidden = 0;
    for (std::size_t i = 0; i < values.size(); i++) {
        const bool clear = plane ? picture.opacity[i] == 0
                                 : std::find(transparent.begin(), transparent.end(), values[i]) !=
                                       transparent.end();
        if (clear && values[i] != 0 && zeroed.empty()) {
            zeroed = values;
        }
        if (clear && !zeroed.empty()) {
            zeroed[i] = 0;
        } else if (!clear && values[i] == 0) {
            hidden++;
        }
    }
    const std::uint8_t *pixels = zeroed.empty() ? values.data() : zeroed.data();
    if (auto problem =
            amiga::spriteProblem(pixels, picture.width, picture.height, options.sprite)) {
        return refused(*problem);
    }
    Output output;
    if (hidden > 0) {
        output.warnings.push_back(std::to_string(hidden) + " opaque pixel" +
                                  (hidden == 1 ? " has" : "s have") +
                                  " colour 0, which a sprite shows as transparent.");
    }
    if (options.sprite.frames) {
        // What a sheet holds past its whole frames is left out, and said.
        const amiga::SpriteFrames f =
            amiga::spriteFrames(picture.width, picture.height, options.sprite);
        if (std::string over = leftOverWarning(
                picture.width, picture.height,
                "frames of " + std::to_string(f.width) + " x " + std::to_string(f.height),
                f.count(), "frame", "frames", "written", f.rightOver, f.bottomOver);
            !over.empty()) {
            output.warnings.push_back(std::move(over));
        }
    }
    const std::vector<amiga::SpriteData> sprites =
        amiga::spriteData(pixels, picture.width, picture.height, options.sprite);
    if (sprites.empty()) {
        return refused("The picture cannot become sprites with these options.");
    }
    if (options.text) {
        output.text = amiga::spriteText(sprites, options.sprite);
    } else {
        output.bytes = amiga::spriteBytes(sprites);
    }
    return output;
}

} // namespace picture
