#include "amiga/sprites.h"

#include "amiga/asmtext.h"

namespace amiga {

namespace {

constexpr unsigned kSpriteChannels = 8;

// Sprites wider than 16 pixels are AGA's alone, and follow AGA's rules throughout.
bool agaRules(const SpriteOptions &options) {
    return options.aga || options.width != 16;
}

// Words of control data (and of the end marker): POS and CTL each fill a fetch of the sprite's
// width.
std::size_t controlWordCount(unsigned width) {
    return width / 16 * 2;
}

unsigned columnsOf(unsigned pictureWidth, unsigned spriteWidth) {
    return (pictureWidth + spriteWidth - 1) / spriteWidth;
}

std::string lines(unsigned n) {
    return std::to_string(n) + (n == 1 ? " line" : " lines");
}

} // namespace

SpriteControl spriteControl(unsigned hstartQuarters, unsigned vstart, unsigned vstop, bool attach,
                            bool aga) {
    const unsigned lores = hstartQuarters / 4;
    const unsigned fine = hstartQuarters % 4; // 35 ns steps past the lores pixel
    SpriteControl c;
    c.pos = static_cast<std::uint16_t>((vstart & 0xff) << 8 | (lores >> 1 & 0xff));
    unsigned ctl = (vstop & 0xff) << 8 | (attach ? 0x80 : 0) | (vstart >> 8 & 1) << 2 |
                   (vstop >> 8 & 1) << 1 | (lores & 1);
    if (aga)
        ctl |=
            (vstart >> 9 & 1) << 6 | (vstop >> 9 & 1) << 5 | (fine >> 1 & 1) << 4 | (fine & 1) << 3;
    c.ctl = static_cast<std::uint16_t>(ctl);
    return c;
}

HorizontalStart readHorizontalStart(std::string_view text, bool aga) {
    using Problem = HorizontalStart::Problem;
    HorizontalStart start;
    const std::size_t point = text.find('.');
    std::string_view whole = text.substr(0, point);
    if (!whole.empty() && whole.front() == '$')
        whole.remove_prefix(1);
    else if (whole.size() > 2 && whole[0] == '0' && (whole[1] == 'x' || whole[1] == 'X'))
        whole.remove_prefix(2);
    unsigned lores = 0;
    for (const char c : whole) {
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0 || (lores = lores * 16 + static_cast<unsigned>(digit)) > 0x1ff) {
            start.problem = Problem::NotLoresPixels;
            return start;
        }
    }
    if (whole.empty()) {
        start.problem = Problem::NotLoresPixels;
        return start;
    }
    unsigned quarters = 0;
    if (point != std::string_view::npos) {
        const std::string_view fraction = text.substr(point + 1);
        if (fraction == "4")
            quarters = 1;
        else if (fraction == "8")
            quarters = 2;
        else if (fraction == "c" || fraction == "C")
            quarters = 3;
        else
            start.problem = Problem::BadFraction;
        if (start.problem == Problem::None && !aga)
            start.problem = Problem::FractionNeedsAga;
        if (start.problem != Problem::None)
            return start;
    }
    start.quarters = lores * 4 + quarters;
    return start;
}

SpriteFrames spriteFrames(unsigned width, unsigned height, const SpriteOptions &options) {
    SpriteFrames f;
    f.width = options.width;
    f.height = options.frameHeight == 0 ? height : options.frameHeight;
    if (f.width == 0 || f.height == 0)
        return f;
    f.columns = width / f.width;
    f.rows = height / f.height;
    f.rightOver = width - f.columns * f.width;
    f.bottomOver = height - f.rows * f.height;
    return f;
}

unsigned spritesSideBySide(unsigned width, const SpriteOptions &options) {
    const unsigned perColumn = options.attached ? 2 : 1;
    if (options.frames)
        return perColumn;
    return options.width == 0 ? 0 : columnsOf(width, options.width) * perColumn;
}

std::optional<std::string> spriteProblem(const std::uint8_t *pixels, unsigned width,
                                         unsigned height, const SpriteOptions &options) {
    const unsigned sw = options.width;
    if (sw != 16 && sw != 32 && sw != 64)
        return "a sprite is 16, 32 or 64 pixels wide, not " + std::to_string(sw);
    if (width == 0 || height == 0)
        return std::string("the picture has no pixels");

    // A sheet's colours count in its whole frames alone: the pixels past them are left out.
    unsigned usedWidth = width, usedHeight = height, lineCount = height, columns = 0;
    if (options.frames) {
        const SpriteFrames f = spriteFrames(width, height, options);
        if (f.count() == 0)
            return "the picture, " + std::to_string(width) + " x " + std::to_string(height) +
                   " pixels, holds no whole frame of " + std::to_string(f.width) + " x " +
                   std::to_string(f.height);
        usedWidth = f.columns * f.width;
        usedHeight = f.rows * f.height;
        lineCount = f.height;
        columns = 1; // every frame at the same position
    } else {
        columns = columnsOf(width, sw);
    }

    const unsigned most = options.attached ? 15 : 3;
    for (unsigned y = 0; y < usedHeight; ++y) {
        for (unsigned x = 0; x < usedWidth; ++x) {
            const unsigned c = pixels[static_cast<std::size_t>(y) * width + x];
            if (c <= most)
                continue;
            const std::string at = "colour " + std::to_string(c) + " at (" + std::to_string(x) +
                                   "," + std::to_string(y) + ") is more than ";
            if (options.attached)
                return at + "attached sprites show (0-15)";
            return at + "a sprite shows (0-3); attached sprites show 0-15";
        }
    }

    const unsigned sprites = spritesSideBySide(width, options);
    if (sprites > kSpriteChannels)
        return "the picture needs " + std::to_string(sprites) + " sprites side by side (" +
               std::to_string(columns) + " of " + std::to_string(sw) + " pixels" +
               (options.attached ? ", attached in pairs" : "") + "); the machine has 8";

    if (options.position) {
        const bool aga = agaRules(options);
        const unsigned lastLine = aga ? 1023 : 511;
        const std::string chips = aga ? "AGA" : "OCS/ECS";
        const unsigned vstart = options.position->vstart;
        const unsigned vstop = vstart + lineCount;
        if (vstart > lastLine)
            return "VSTART " + std::to_string(vstart) + " is past line " +
                   std::to_string(lastLine) + ", the last that " + chips + " sprites can start on";
        if (vstop > lastLine)
            return "VSTOP " + std::to_string(vstop) + " (VSTART " + std::to_string(vstart) +
                   " and " + lines(lineCount) + ") is past line " + std::to_string(lastLine) +
                   ", the last that " + chips + " sprites can stop on";
        const unsigned quarters = options.position->hstartQuarters;
        if (!aga && quarters % 4 != 0)
            return "HSTART is " + std::to_string(quarters % 4) +
                   (quarters % 4 == 1 ? " quarter" : " quarters") +
                   " of a lores pixel past lores pixel " + std::to_string(quarters / 4) +
                   "; only AGA places sprites finer than a lores pixel";
        const unsigned rightmost = quarters / 4 + (columns - 1) * sw;
        if (rightmost > 511)
            return std::string(columns > 1 ? "the rightmost sprite's " : "") +
                   "HSTART, lores pixel " + std::to_string(rightmost) +
                   ", is past 511, the last a sprite can start on";
    }
    return std::nullopt;
}

namespace {

// One sprite of a picture: lineCount lines from line top of the sprite-wide column from pixel
// left (colour 0 past the picture's width), colour bits 0-1 (part 0) or 2-3 (part 1), placed
// `right` lores pixels right of the position.
SpriteData oneSprite(const std::uint8_t *pixels, unsigned width, unsigned left, unsigned top,
                     unsigned lineCount, unsigned part, unsigned right,
                     const SpriteOptions &options) {
    const unsigned sw = options.width;
    const std::size_t control = options.controlWords ? controlWordCount(sw) : 0;
    const unsigned wordsPerHalf = sw / 16; // DATA's words of a line, then as many of DATB
    SpriteData sprite;
    sprite.attachedOdd = part == 1;
    sprite.words.reserve(2 * control + static_cast<std::size_t>(lineCount) * 2 * wordsPerHalf);
    if (options.controlWords) {
        SpriteControl c;
        if (options.position)
            c = spriteControl(options.position->hstartQuarters + right * 4,
                              options.position->vstart, options.position->vstart + lineCount,
                              sprite.attachedOdd, agaRules(options));
        else if (sprite.attachedOdd)
            c.ctl = 0x80; // the attach bit: the pair shows 15 colours wherever it goes
        sprite.words.push_back(c.pos);
        sprite.words.insert(sprite.words.end(), control / 2 - 1, 0);
        sprite.words.push_back(c.ctl);
        sprite.words.insert(sprite.words.end(), control / 2 - 1, 0);
    }
    const unsigned low = part * 2; // the colour bits of DATA and DATB: 0-1, or 2-3
    for (unsigned y = top; y < top + lineCount; ++y) {
        const std::uint8_t *row = pixels + static_cast<std::size_t>(y) * width;
        for (unsigned bit = low; bit <= low + 1; ++bit) {
            for (unsigned w = 0; w < wordsPerHalf; ++w) {
                std::uint16_t value = 0;
                for (unsigned i = 0; i < 16; ++i) {
                    const unsigned x = left + w * 16 + i;
                    if (x < width && (row[x] >> bit & 1))
                        value |= static_cast<std::uint16_t>(0x8000 >> i);
                }
                sprite.words.push_back(value);
            }
        }
    }
    sprite.words.insert(sprite.words.end(), control, 0); // the end marker
    return sprite;
}

} // namespace

std::vector<SpriteData> spriteData(const std::uint8_t *pixels, unsigned width, unsigned height,
                                   const SpriteOptions &options) {
    if (spriteProblem(pixels, width, height, options))
        return {};
    const unsigned sw = options.width;
    const unsigned perColumn = options.attached ? 2 : 1;
    std::vector<SpriteData> sprites;
    if (options.frames) {
        const SpriteFrames f = spriteFrames(width, height, options);
        for (unsigned row = 0; row < f.rows; ++row)
            for (unsigned column = 0; column < f.columns; ++column)
                for (unsigned part = 0; part < perColumn; ++part) {
                    sprites.push_back(oneSprite(pixels, width, column * sw, row * f.height,
                                                f.height, part, 0, options));
                    sprites.back().index = part;
                    sprites.back().frame = row * f.columns + column;
                }
        return sprites;
    }
    const unsigned columns = columnsOf(width, sw);
    for (unsigned column = 0; column < columns; ++column) {
        for (unsigned part = 0; part < perColumn; ++part) {
            sprites.push_back(
                oneSprite(pixels, width, column * sw, 0, height, part, column * sw, options));
            sprites.back().index = column * perColumn + part;
        }
    }
    return sprites;
}

std::vector<std::uint8_t> spriteBytes(const std::vector<SpriteData> &sprites) {
    std::vector<std::uint8_t> out;
    for (const SpriteData &sprite : sprites)
        for (std::uint16_t w : sprite.words) {
            out.push_back(static_cast<std::uint8_t>(w >> 8));
            out.push_back(static_cast<std::uint8_t>(w));
        }
    return out;
}

std::string spriteText(const std::vector<SpriteData> &sprites, const SpriteOptions &options) {
    const unsigned sw = options.width;
    if (sprites.empty() || (sw != 16 && sw != 32 && sw != 64))
        return {};
    AsmWriter out;
    if (sw == 32)
        out.comment("AGA sprites 32 pixels wide: FMODE SPR32 set, the data on a 4-byte boundary");
    else if (sw == 64)
        out.comment("AGA sprites 64 pixels wide: FMODE SPR32 and SPAGEM set, the data on an "
                    "8-byte boundary");

    const std::size_t control = options.controlWords ? controlWordCount(sw) : 0;
    const std::size_t perLine = sw / 8;
    const auto wordLine = [&](const std::uint16_t *words, std::size_t n) {
        std::vector<std::string> operands;
        if (sw == 16) {
            for (std::size_t i = 0; i < n; ++i)
                operands.push_back(word(words[i]));
            out.dcw(operands);
            return;
        }
        for (std::size_t i = 0; i + 1 < n; i += 2)
            operands.push_back(hex(static_cast<std::uint32_t>(words[i]) << 16 | words[i + 1], 8));
        out.dcl(operands);
    };

    const auto lineCountOf = [&](const SpriteData &sprite) {
        const std::size_t imageWords =
            sprite.words.size() >= 2 * control ? sprite.words.size() - 2 * control : 0;
        return static_cast<unsigned>(imageWords / perLine);
    };
    const unsigned perFrame = options.attached ? 2 : 1;
    const std::size_t frameCount = sprites.size() / perFrame;
    if (options.frames)
        out.comment(std::to_string(frameCount) + (frameCount == 1 ? " frame of " : " frames of ") +
                    std::to_string(sw) + " x " + std::to_string(lineCountOf(sprites[0])) +
                    " pixels, " + std::to_string(sprites[0].words.size() * 2 * perFrame) +
                    " bytes each");

    for (std::size_t s = 0; s < sprites.size(); ++s) {
        const SpriteData &sprite = sprites[s];
        const unsigned lineCount = lineCountOf(sprite);
        const std::size_t imageWords = static_cast<std::size_t>(lineCount) * perLine;
        if (s > 0)
            out.blank();
        std::string name = (options.frames ? "frame " + std::to_string(sprite.frame) + " of " +
                                                 std::to_string(frameCount)
                                           : "sprite " + std::to_string(sprite.index) + " of " +
                                                 std::to_string(sprites.size())) +
                           ", " + std::to_string(sw) + " pixels wide, " + lines(lineCount);
        if (options.attached && options.frames)
            name += sprite.attachedOdd ? ": colour bits 2-3, the pair's odd sprite (attached)"
                                       : ": colour bits 0-1, the pair's even sprite";
        else if (options.attached)
            name += sprite.attachedOdd ? ": colour bits 2-3, attached to sprite " +
                                             std::to_string(sprite.index - 1)
                                       : ": colour bits 0-1 of the pair with sprite " +
                                             std::to_string(sprite.index + 1);
        out.comment(name);
        const std::uint16_t *words = sprite.words.data();
        if (control > 0) {
            // POS and CTL on one line, as words whatever the width.
            std::vector<std::string> operands;
            for (std::size_t i = 0; i < control; ++i)
                operands.push_back(word(words[i]));
            out.dcw(operands);
        }
        for (std::size_t line = 0; line < lineCount; ++line)
            wordLine(words + control + line * perLine, perLine);
        if (control > 0) {
            std::vector<std::string> operands;
            for (std::size_t i = 0; i < control; ++i)
                operands.push_back(word(words[control + imageWords + i]));
            out.dcw(operands);
        }
    }
    return out.take();
}

} // namespace amiga
