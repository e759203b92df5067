// Bobs from a sheet: each frame cut as --region cuts it and laid out as raw lays it out, so that
// a frame's bytes are those of the frame converted alone.
#include "picture/bobs.h"

#include <amiga/asmtext.h>

#include <algorithm>
#include <string>

namespace picture {

namespace {

// The most frames cut from one sheet (an index of 64 Ki offsets).
constexpr unsigned kMostFrames = 65535;

Output refused(std::string error) {
    Output output;
    output.error = std::move(error);
    return output;
}

std::string size(unsigned width, unsigned height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

std::string counted(std::size_t n, const std::string &one, const std::string &many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// Whole frames of `frame` pixels, `gap` apart, in `side` pixels.
unsigned fitting(unsigned side, unsigned frame, unsigned gap) {
    return side < frame ? 0 : (side - frame) / (frame + gap) + 1;
}

// Pixels that `n` frames `gap` apart take.
unsigned taken(unsigned n, unsigned frame, unsigned gap) {
    return n == 0 ? 0 : n * frame + (n - 1) * gap;
}

// Whether every pixel of a frame is transparent: its mask, by raw's rules, is clear.
bool empty(const Picture &frame, const RawOptions &options) {
    const Output bits = rawMaskPlane(frame, options.transparentColour);
    return bits.ok() &&
           std::all_of(bits.bytes.begin(), bits.bytes.end(), [](std::uint8_t b) { return b == 0; });
}

// The bytes of a frame with a blank word after each plane row (and mask row): clear, or set in
// an inverted mask, where a set bit is a transparent pixel.
std::vector<std::uint8_t> withWord(const std::vector<std::uint8_t> &bytes, unsigned rowBytes,
                                   unsigned height, unsigned depth, const RawOptions &options) {
    const bool masked = options.mask == amiga::MaskOutput::After;
    const unsigned perRow = depth + (masked ? 1 : 0);
    std::vector<std::uint8_t> out;
    out.reserve(bytes.size() + bytes.size() / rowBytes * 2);
    for (std::size_t row = 0; row * rowBytes < bytes.size(); row++) {
        out.insert(out.end(), bytes.begin() + static_cast<std::ptrdiff_t>(row * rowBytes),
                   bytes.begin() + static_cast<std::ptrdiff_t>((row + 1) * rowBytes));
        const bool maskRow = masked && (options.planar ? row >= std::size_t{depth} * height
                                                       : row % perRow == perRow - 1);
        const std::uint8_t blank = maskRow && options.invertMask ? 0xff : 0x00;
        out.insert(out.end(), 2, blank);
    }
    return out;
}

} // namespace

Output bobs(const Picture &picture, const BobOptions &options, BobFrames *made) {
    *made = BobFrames{};
    const unsigned w = options.width, h = options.height;
    const std::string &one = options.unit;
    const std::string many = one + "s";
    if (w == 0 || h == 0) {
        return refused("A " + one + " has no pixels.");
    }
    const unsigned across = fitting(picture.width, w, options.spacingX);
    const unsigned down = fitting(picture.height, h, options.spacingY);
    const std::string spaced = options.spacingX == 0 && options.spacingY == 0
                                   ? std::string()
                                   : " spaced " + std::to_string(options.spacingX) + "," +
                                         std::to_string(options.spacingY) + " apart";
    if (across == 0 || down == 0) {
        return refused("The picture, " + size(picture.width, picture.height) +
                       " pixels, holds no whole " + one + " of " + size(w, h) + spaced + ".");
    }
    if (options.columns > across || options.rows > down) {
        const unsigned columns = std::max(options.columns, 1u), rows = std::max(options.rows, 1u);
        return refused("A grid of " + size(columns, rows) + " " + many + " of " + size(w, h) +
                       spaced + " needs " +
                       size(taken(columns, w, options.spacingX), taken(rows, h, options.spacingY)) +
                       " pixels; the picture is " + size(picture.width, picture.height) +
                       " pixels.");
    }
    Output output;
    const unsigned columns = options.columns != 0 ? options.columns : across;
    const unsigned rows = options.rows != 0 ? options.rows : down;
    unsigned total = columns * rows;
    if (options.count && *options.count > total) {
        output.warnings.push_back(counted(*options.count, one + " was", many + " were") +
                                  " asked for; the sheet holds " + counted(total, one, many) +
                                  ", all of them written.");
    } else if (options.count) {
        total = *options.count;
    }
    if (total > kMostFrames) {
        return refused("The picture holds " + std::to_string(total) + " " + many + " of " +
                       size(w, h) + "; at most " + std::to_string(kMostFrames) +
                       " are cut at once: choose some with a grid or a count.");
    }
    // What a sheet holds past its whole frames is left out, and said.
    if (std::string over = leftOverWarning(
            picture.width, picture.height, many + " of " + size(w, h) + spaced, total, one, many,
            "used", picture.width - taken(across, w, options.spacingX),
            picture.height - taken(down, h, options.spacingY));
        !over.empty()) {
        output.warnings.push_back(std::move(over));
    }
    // Each frame alone, then all of the same number of planes: a PNG's planes follow its
    // largest colour, which one frame may not show.
    RawOptions raw = options.raw;
    const unsigned rowBytes = (w + 15) / 16 * 2;
    const unsigned rowsOfPlanes = raw.mask == amiga::MaskOutput::After ? 1 : 0;
    std::vector<std::vector<std::uint8_t>> frames;
    for (int pass = 0; pass < 2; pass++) {
        frames.clear();
        *made = BobFrames{};
        unsigned deepest = 0;
        bool uneven = false;
        for (unsigned n = 0; n < total; n++) {
            const Region region{(n % columns) * (w + options.spacingX),
                                (n / columns) * (h + options.spacingY), w, h};
            std::string error;
            const std::optional<Picture> frame = cutRegion(picture, region, &error);
            if (!frame) {
                return refused(error);
            }
            if (options.trimEmpty && empty(*frame, raw)) {
                made->skipped++;
                continue;
            }
            Output bytes = rawBitplanes(*frame, raw);
            if (!bytes.ok()) {
                return bytes;
            }
            for (const std::string &warning : bytes.warnings) {
                if (std::find(output.warnings.begin(), output.warnings.end(), warning) ==
                    output.warnings.end()) {
                    output.warnings.push_back(warning);
                }
            }
            const unsigned depth =
                static_cast<unsigned>(bytes.bytes.size() / (std::size_t{rowBytes} * h)) -
                rowsOfPlanes;
            uneven = uneven || (deepest != 0 && depth != deepest);
            deepest = std::max(deepest, depth);
            made->frames.push_back(region);
            made->sheet.push_back(n);
            made->depth = depth;
            frames.push_back(std::move(bytes.bytes));
        }
        if (!uneven) {
            break;
        }
        raw.depth = deepest;
    }
    if (frames.empty()) {
        return refused(total == 1 ? "The " + one + " is empty: its pixels are all transparent."
                                  : "All " + std::to_string(total) + " " + many +
                                        " are empty: their pixels are all transparent.");
    }
    if (made->skipped > 0) {
        output.warnings.push_back(
            made->skipped == 1 ? "1 empty " + one + " is left out (all its pixels transparent)."
                               : std::to_string(made->skipped) + " empty " + many +
                                     " are left out (all their pixels "
                                     "transparent).");
    }
    made->words = rowBytes / 2 + (options.addWord ? 1 : 0);
    for (const std::vector<std::uint8_t> &frame : frames) {
        made->offsets.push_back(output.bytes.size());
        const std::vector<std::uint8_t> bytes =
            options.addWord ? withWord(frame, rowBytes, h, made->depth, raw) : frame;
        output.bytes.insert(output.bytes.end(), bytes.begin(), bytes.end());
        made->frameBytes = bytes.size();
    }
    return output;
}

std::string bobDescription(const BobOptions &options, const BobFrames &made) {
    const bool masked = options.raw.mask == amiga::MaskOutput::After;
    return counted(made.frames.size(), "frame", "frames") + " of " +
           size(options.width, options.height) + " pixels, " +
           counted(made.depth, "plane", "planes") +
           (masked ? (options.raw.invertMask ? " and an inverted mask" : " and a mask") : "") +
           (options.raw.planar ? ", planar" : ", interleaved") +
           (options.addWord ? ", a blank word after each row" : "") + ", " +
           std::to_string(made.frameBytes) + " bytes each";
}

std::vector<BobSize> bobSizes(const BobOptions &options, const BobFrames &made) {
    return {{"_width", options.width, "pixels"},
            {"_height", options.height, "lines"},
            {"_words", made.words, "words a row (BLTSIZE's width)"},
            {"_rowbytes", made.words * 2, "bytes a row of one plane"},
            {"_bytes", static_cast<std::uint32_t>(made.frameBytes), "bytes a frame"},
            {"_count", static_cast<std::uint32_t>(made.frames.size()), "frames"}};
}

std::string bobIndex(const std::string &name, const BobOptions &options, const BobFrames &made) {
    amiga::AsmWriter lines;
    lines.comment(bobDescription(options, made) + "; offsets in bytes from " + name);
    for (const BobSize &size : bobSizes(options, made)) {
        lines.equate(name + size.suffix, size.value, size.comment);
    }
    std::vector<std::string> table;
    for (std::size_t i = 0; i < made.frames.size(); i++) {
        const Region &r = made.frames[i];
        lines.equate(name + "_frame" + std::to_string(i),
                     static_cast<std::uint32_t>(made.offsets[i]),
                     "sheet frame " + std::to_string(made.sheet[i]) + " at " + std::to_string(r.x) +
                         "," + std::to_string(r.y));
        table.push_back(name + "_frame" + std::to_string(i));
    }
    lines.label(name + "_frames");
    for (std::size_t at = 0; at < table.size(); at += 8) {
        lines.dcl(std::vector<std::string>(
            table.begin() + static_cast<std::ptrdiff_t>(at),
            table.begin() + static_cast<std::ptrdiff_t>(std::min(at + 8, table.size()))));
    }
    return lines.take();
}

} // namespace picture
