#include "amiga/gradient.h"

#include "amiga/asmtext.h"
#include "amiga/colourcode.h"
#include "amiga/copperframe.h"

#include <algorithm>
#include <cmath>

namespace amiga {

namespace {

// The sRGB transfer function and its inverse, on values from 0 to 1.
double linearOf(double encoded) {
    return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

double encodedOf(double linear) {
    return linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
}

std::uint8_t round8(double gun) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(gun, 0.0, 255.0)));
}

double mix(double from, double to, double t) {
    return from + (to - from) * t;
}

// The keys in line order, one a line (the last given of a line counts).
std::vector<GradientKey> orderedKeys(std::vector<GradientKey> keys) {
    std::stable_sort(keys.begin(), keys.end(),
                     [](const GradientKey &a, const GradientKey &b) { return a.line < b.line; });
    std::vector<GradientKey> out;
    for (const GradientKey &key : keys) {
        if (!out.empty() && out.back().line == key.line)
            out.back() = key;
        else
            out.push_back(key);
    }
    return out;
}

// The 12-bit levels a gun can show are n x 17; a dithered gun picks the level below or above its
// 8-bit value so that the levels shown average out to it.
constexpr double kLevel = 17.0;

int levelAtOrBelow(double value, double threshold) {
    return std::clamp(static_cast<int>(std::floor(value / kLevel + threshold)), 0, 15);
}

// A 4-line Bayer pattern: the thresholds of consecutive lines are 1/8, 5/8, 3/8 and 7/8 of a
// level, so that any two lines apart from each other by two take opposite halves.
constexpr double kBayer[4] = {0.125, 0.625, 0.375, 0.875};

// The colour register the request names, within the chipset's registers.
int registerOf(const GradientRequest &request) {
    return std::clamp(request.colourRegister, 0,
                      (request.aga ? kAgaColourRegisters : kOcsColourRegisters) - 1);
}

} // namespace

Oklab toOklab(Rgb8 colour) {
    const double r = linearOf(colour.red / 255.0);
    const double g = linearOf(colour.green / 255.0);
    const double b = linearOf(colour.blue / 255.0);
    // M1: linear sRGB to cone responses.
    const double l = std::cbrt(0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b);
    const double m = std::cbrt(0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b);
    const double s = std::cbrt(0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b);
    // M2: the cube roots to lightness and the two opponent axes.
    return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
            1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
            0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

RgbExact fromOklab(const Oklab &lab) {
    const double l1 = lab.L + 0.3963377774 * lab.a + 0.2158037573 * lab.b;
    const double m1 = lab.L - 0.1055613458 * lab.a - 0.0638541728 * lab.b;
    const double s1 = lab.L - 0.0894841775 * lab.a - 1.2914855480 * lab.b;
    const double l = l1 * l1 * l1;
    const double m = m1 * m1 * m1;
    const double s = s1 * s1 * s1;
    const double r = 4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s;
    const double g = -1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s;
    const double b = -0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s;
    auto gun = [](double linear) { return 255.0 * encodedOf(std::clamp(linear, 0.0, 1.0)); };
    return {gun(r), gun(g), gun(b)};
}

std::vector<GradientLine> gradientLines(const GradientRequest &request) {
    const std::vector<GradientKey> keys = orderedKeys(request.keys);
    if (keys.empty() || request.lines <= 0)
        return {};
    std::vector<Oklab> labs;
    if (request.blend == GradientBlend::Oklab)
        for (const GradientKey &key : keys)
            labs.push_back(toOklab(key.colour));

    std::vector<GradientLine> lines(static_cast<std::size_t>(request.lines));
    std::size_t next = 0; // the first key below the line
    double carried[3] = {0, 0, 0};
    for (int i = 0; i < request.lines; ++i) {
        while (next < keys.size() && keys[next].line <= i)
            ++next;
        Rgb8 colour;
        if (next == 0 || next == keys.size()) {
            colour = keys[next == 0 ? 0 : keys.size() - 1].colour;
        } else {
            const GradientKey &from = keys[next - 1];
            const GradientKey &to = keys[next];
            const double t = static_cast<double>(i - from.line) / (to.line - from.line);
            if (request.blend == GradientBlend::Oklab) {
                const Oklab &a = labs[next - 1];
                const Oklab &b = labs[next];
                const RgbExact c =
                    fromOklab({mix(a.L, b.L, t), mix(a.a, b.a, t), mix(a.b, b.b, t)});
                colour = {round8(c.red), round8(c.green), round8(c.blue)};
            } else {
                colour = {round8(mix(from.colour.red, to.colour.red, t)),
                          round8(mix(from.colour.green, to.colour.green, t)),
                          round8(mix(from.colour.blue, to.colour.blue, t))};
            }
        }

        GradientLine &line = lines[static_cast<std::size_t>(i)];
        line.colour = colour;
        if (request.aga) {
            line.shown = colour;
            line.high = highWord(colour);
            line.low = lowWord(colour);
            continue;
        }
        if (request.dither == GradientDither::None) {
            line.high = highWord(colour);
        } else {
            const int guns[3] = {colour.red, colour.green, colour.blue};
            int level[3];
            for (int g = 0; g < 3; ++g) {
                if (request.dither == GradientDither::Ordered) {
                    level[g] = levelAtOrBelow(guns[g], kBayer[i % 4]);
                } else {
                    // Error diffusion from line to line: what this line shows too much or too
                    // little goes to the next one.
                    const double wanted = guns[g] + carried[g];
                    level[g] = levelAtOrBelow(wanted, 0.5);
                    carried[g] = wanted - level[g] * kLevel;
                }
            }
            line.high = static_cast<std::uint16_t>(level[0] << 8 | level[1] << 4 | level[2]);
        }
        line.shown = fromTwelveBit(line.high);
    }
    return lines;
}

std::string gradientCopperCode(const GradientRequest &request) {
    return gradientCopperList(request).text;
}

GradientCopperList gradientCopperList(const GradientRequest &request) {
    GradientCopperList result;
    const std::vector<GradientLine> lines = gradientLines(request);
    if (lines.empty())
        return result;
    const int colourRegister = registerOf(request);
    AsmWriter out;
    CopperLineWaits waits(out, request.horizontal, 0xfffe, request.frameLines);
    const long first = std::max(request.firstLine, 0);
    const GradientLine *previous = nullptr;
    std::size_t i = 0;
    for (; i < lines.size(); ++i) {
        const GradientLine &line = lines[i];
        if (previous && line.high == previous->high && line.low == previous->low)
            continue;
        if (!waits.waitFor(first + static_cast<long>(i)))
            break;
        writeCopperColour(out, request.aga, colourRegister, line.shown, request.bplcon3);
        previous = &line;
    }
    if (request.aga && previous)
        restoreBplcon3(out, request.bplcon3);
    if (i < lines.size()) {
        result.firstLeftOut = first + static_cast<long>(i);
        result.lastLeftOut = first + static_cast<long>(lines.size()) - 1;
        out.comment("lines " + hex(static_cast<std::uint32_t>(result.firstLeftOut)) + " to " +
                    hex(static_cast<std::uint32_t>(result.lastLeftOut)) + " are past " +
                    frameEndText(request.frameLines) + ": left out");
    }
    result.instructions = out.instructionCount();
    out.comment(std::to_string(result.instructions) +
                (result.instructions == 1 ? " instruction, " : " instructions, ") +
                std::to_string(result.bytes()) + " bytes");
    result.text = out.take();
    return result;
}

std::string gradientTableCode(const GradientRequest &request) {
    const std::vector<GradientLine> lines = gradientLines(request);
    if (lines.empty())
        return {};
    const int colourRegister = registerOf(request);
    const long first = std::max(request.firstLine, 0);
    const std::string where =
        (request.aga ? "bank " + std::to_string(colourRegister / kRegistersPerBank) + " " : "") +
        colourRegisterName(colourRegister) + ", lines " + hex(static_cast<std::uint32_t>(first)) +
        " to " + hex(static_cast<std::uint32_t>(first + lines.size() - 1)) + ": ";
    AsmWriter out;
    out.comment(where + (request.aga ? "the high half (LOCT clear) and the low half (LOCT set) "
                                       "of each line"
                                     : "the 12-bit word of each line"));
    for (const GradientLine &line : lines) {
        if (request.aga)
            out.dcw({word(line.high), word(line.low)});
        else
            out.dcw({word(line.high)});
    }
    return out.take();
}

} // namespace amiga
