#include "amiga/displaysetup.h"

#include "amiga/asmtext.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace amiga {

namespace {

std::string format(const char *pattern, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char *pattern, ...) {
    char buffer[256];
    va_list ap;
    va_start(ap, pattern);
    std::vsnprintf(buffer, sizeof buffer, pattern, ap);
    va_end(ap);
    return buffer;
}

std::string h(int value) {
    return hex(static_cast<std::uint32_t>(value));
}

// Pixels of the resolution per colour clock; a lores pixel is half a colour clock.
int pixelsPerClock(Resolution r) {
    switch (r) {
    case Resolution::Lores:
        return 2;
    case Resolution::Hires:
        return 4;
    case Resolution::SuperHires:
        return 8;
    }
    return 2;
}

const char *resolutionName(Resolution r) {
    switch (r) {
    case Resolution::Lores:
        return "lores";
    case Resolution::Hires:
        return "hires";
    case Resolution::SuperHires:
        return "superhires";
    }
    return "";
}

// Colour clocks from the first fetch to the first pixel on screen (Hardware Reference Manual:
// 8.5 in lores, 4.5 in hires; a superhires block fetches its first words in 2 clocks).
double fetchDelay(Resolution r) {
    switch (r) {
    case Resolution::Lores:
        return 8.5;
    case Resolution::Hires:
        return 4.5;
    case Resolution::SuperHires:
        return 2.5;
    }
    return 8.5;
}

// Words per plane that one 8-clock fetch block brings at the normal fetch width.
int wordsPerBlock(Resolution r) {
    return pixelsPerClock(r) / 2;
}

int fetchFactor(const DisplayRequest &request) {
    if (request.chipset != Chipset::Aga)
        return 1;
    switch (request.fetchMode & 3) {
    case 0:
        return 1;
    case 3:
        return 4;
    default:
        return 2;
    }
}

int maximumDepth(const DisplayRequest &request) {
    if (request.chipset == Chipset::Aga)
        return 8;
    switch (request.resolution) {
    case Resolution::Lores:
        return 6;
    case Resolution::Hires:
        return 4;
    case Resolution::SuperHires:
        return 2;
    }
    return 6;
}

} // namespace

const char *displayRegisterName(DisplayRegister reg) {
    switch (reg) {
    case DisplayRegister::Diwstrt:
        return "DIWSTRT";
    case DisplayRegister::Diwstop:
        return "DIWSTOP";
    case DisplayRegister::Diwhigh:
        return "DIWHIGH";
    case DisplayRegister::Ddfstrt:
        return "DDFSTRT";
    case DisplayRegister::Ddfstop:
        return "DDFSTOP";
    case DisplayRegister::Bplcon0:
        return "BPLCON0";
    case DisplayRegister::Bpl1mod:
        return "BPL1MOD";
    case DisplayRegister::Bpl2mod:
        return "BPL2MOD";
    case DisplayRegister::Fmode:
        return "FMODE";
    }
    return "";
}

const DisplayValue *DisplaySetup::find(DisplayRegister reg) const {
    for (const DisplayValue &v : values)
        if (v.reg == reg)
            return &v;
    return nullptr;
}

DisplaySetup displaySetup(const DisplayRequest &request) {
    DisplaySetup setup;
    auto warn = [&setup](DisplayRegister reg, std::string text) {
        setup.warnings.push_back({reg, std::move(text)});
    };
    const Resolution res = request.resolution;
    const int ppc = pixelsPerClock(res);
    const int width = std::max(0, request.width);
    const int height = std::max(0, request.height);
    const int depth = std::clamp(request.depth, 0, 8);
    const bool ecs = request.chipset != Chipset::Ocs;

    // --- display window, in lores non-interlaced units ---
    const int windowWidth = (width * 2 + ppc - 1) / ppc;
    const int windowLines = request.interlace ? (height + 1) / 2 : height;
    const int frameLines = request.ntsc ? 262 : 312;
    const int firstVisibleLine = request.ntsc ? 0x15 : 0x1a;
    const int hstart = request.hstart ? *request.hstart : 0x121 - windowWidth / 2;
    const int vstart =
        request.vstart ? *request.vstart : (request.ntsc ? 0x90 : 0xac) - windowLines / 2;
    const int hstop = hstart + windowWidth;
    const int vstop = vstart + windowLines;
    setup.hstart = hstart;
    setup.vstart = vstart;
    setup.hstop = hstop;
    setup.vstop = vstop;

    const std::uint16_t diwstrt =
        static_cast<std::uint16_t>((vstart & 0xff) << 8 | (hstart & 0xff));
    const std::uint16_t diwstop = static_cast<std::uint16_t>((vstop & 0xff) << 8 | (hstop & 0xff));
    std::string widthText = res == Resolution::Lores ? format("%d", width)
                                                     : format("%d %s pixels = %d lores", width,
                                                              resolutionName(res), windowWidth);
    std::string heightText = request.interlace
                                 ? format("%d interlaced lines = %d per field", height, windowLines)
                                 : format("%d", height);
    setup.values.push_back(
        {DisplayRegister::Diwstrt, diwstrt,
         format("VSTART %s << 8 | HSTART %s", h(vstart).c_str(), h(hstart).c_str())});
    setup.values.push_back({DisplayRegister::Diwstop, diwstop,
                            format("VSTOP %s + %s = %s, HSTOP %s + %s = %s; low 8 bits of each",
                                   h(vstart).c_str(), heightText.c_str(), h(vstop).c_str(),
                                   h(hstart).c_str(), widthText.c_str(), h(hstop).c_str())});

    // The bits the hardware supplies: HSTART8 = 0, VSTART8 = 0, HSTOP8 = 1, VSTOP8 = NOT VSTOP7.
    const bool startFits = hstart >= 0 && hstart <= 0xff && vstart >= 0 && vstart <= 0xff;
    const bool stopFits = hstop >= 0x100 && hstop <= 0x1ff && vstop >= 0 && vstop <= 0x1ff &&
                          ((vstop >> 8) & 1) == (((vstop >> 7) & 1) ^ 1);
    if (hstart < 0 || vstart < 0) {
        warn(DisplayRegister::Diwstrt, "the window starts before the top left corner of the "
                                       "frame; no register can hold that");
    } else if (!startFits || !stopFits) {
        if (ecs) {
            const std::uint16_t diwhigh =
                static_cast<std::uint16_t>(((hstop >> 8) & 1) << 13 | ((vstop >> 8) & 7) << 8 |
                                           ((hstart >> 8) & 1) << 5 | ((vstart >> 8) & 7));
            setup.values.push_back(
                {DisplayRegister::Diwhigh, diwhigh,
                 format("the bits above the low eight: HSTOP8 << 13 | VSTOP10-8 << 8 | HSTART8 << "
                        "5 | VSTART10-8 (VSTOP %s and HSTOP %s need them)",
                        h(vstop).c_str(), h(hstop).c_str())});
        } else {
            warn(DisplayRegister::Diwstop,
                 format("OCS cannot place this window: HSTART up to $ff, HSTOP $100-$1ff and VSTOP "
                        "$80-$17f only; ECS and AGA add DIWHIGH (window %s,%s to %s,%s)",
                        h(hstart).c_str(), h(vstart).c_str(), h(hstop).c_str(), h(vstop).c_str()));
        }
    }
    if (vstart < firstVisibleLine || vstop > frameLines)
        warn(DisplayRegister::Diwstrt,
             format("lines %s to %s are outside the visible lines %s to %s of a %s frame",
                    h(vstart).c_str(), h(vstop - 1).c_str(), h(firstVisibleLine).c_str(),
                    h(frameLines - 1).c_str(), request.ntsc ? "NTSC" : "PAL"));
    if (request.interlace && height % 2 != 0)
        warn(DisplayRegister::Diwstop, "an interlaced window should have an even number of "
                                       "lines, so that both fields are the same size");

    // --- data fetch ---
    const int factor = fetchFactor(request);
    const int blockClocks = 8 * factor;
    const int blockWords = wordsPerBlock(res) * factor;
    const int blockPixels = blockWords * 16;
    const int alignment = std::min(8, 8 / wordsPerBlock(res) * factor);
    if (request.chipset != Chipset::Aga && request.fetchMode != 0)
        warn(DisplayRegister::Ddfstrt, "the fetch mode (FMODE) is AGA only: left at 0");
    if (res == Resolution::SuperHires && request.chipset == Chipset::Ocs)
        warn(DisplayRegister::Bplcon0, "OCS has no superhires (SHRES is ECS and AGA)");

    const double exact = hstart / 2.0 - fetchDelay(res);
    int ddfstrt = static_cast<int>(exact) / alignment * alignment;
    if (exact < 0)
        ddfstrt = 0;
    std::string startText = format("HSTART %s / 2 - %.1f = %g, down to a multiple of %d",
                                   h(hstart).c_str(), fetchDelay(res), exact, alignment);
    const int lostPixels = static_cast<int>((exact - ddfstrt) * ppc);
    if (lostPixels > 0)
        warn(DisplayRegister::Ddfstrt,
             format("the fetch starts %d %s left of the window, so each line shows from its "
                    "pixel %d; shift with BPLCON1 or start the window at HSTART %s",
                    lostPixels, lostPixels == 1 ? "pixel" : "pixels", lostPixels,
                    h(static_cast<int>((ddfstrt + fetchDelay(res)) * 2)).c_str()));
    if (request.scroll) {
        ddfstrt -= blockClocks;
        startText += format(", one block (%d clocks) earlier for scrolling", blockClocks);
    }
    int blocks = (width + blockPixels - 1) / blockPixels;
    if (width % blockPixels != 0)
        warn(DisplayRegister::Ddfstop,
             factor > 1 ? format("fetch mode %d fetches %d pixels at a time: a line of %d pixels "
                                 "is fetched as %d",
                                 request.fetchMode & 3, blockPixels, width, blocks * blockPixels)
                        : format("%s fetches %d pixels at a time: a line of %d pixels is fetched "
                                 "as %d",
                                 resolutionName(res), blockPixels, width, blocks * blockPixels));
    if (request.scroll)
        ++blocks;
    const int ddfstop = ddfstrt + blockClocks * std::max(0, blocks - 1);
    setup.values.push_back(
        {DisplayRegister::Ddfstrt, static_cast<std::uint16_t>(std::max(0, ddfstrt)), startText});
    setup.values.push_back(
        {DisplayRegister::Ddfstop, static_cast<std::uint16_t>(std::max(0, ddfstop)),
         format("DDFSTRT %s + %d x (%d blocks - 1): a block of %d clocks fetches %d %s per plane",
                h(ddfstrt).c_str(), blockClocks, blocks, blockClocks, blockWords,
                blockWords == 1 ? "word" : "words")});
    if (ddfstrt < 0x18)
        warn(DisplayRegister::Ddfstrt,
             format("DDFSTRT %s is before the earliest fetch the hardware makes ($18)",
                    h(ddfstrt).c_str()));
    else if (ddfstrt < 0x38) {
        const int lost = std::min(8, (0x38 - ddfstrt + 7) / 8);
        warn(DisplayRegister::Ddfstrt,
             lost == 1
                 ? format("the fetch starts before $38: sprite 7 loses its DMA")
                 : format("the fetch starts before $38: sprites %d-7 lose their DMA", 8 - lost));
    }
    if (ddfstop > 0xd8)
        warn(DisplayRegister::Ddfstop,
             format("DDFSTOP %s is after the latest fetch the hardware makes ($d8)",
                    h(ddfstop).c_str()));

    // --- BPLCON0 ---
    if (depth > maximumDepth(request))
        warn(DisplayRegister::Bplcon0, format("%s %s shows at most %d planes",
                                              request.chipset == Chipset::Aga ? "AGA" : "OCS/ECS",
                                              resolutionName(res), maximumDepth(request)));
    std::uint16_t bplcon0 = 0x0200; // COLOR
    std::string bits;
    if (res == Resolution::Hires) {
        bplcon0 |= 0x8000;
        bits += "HIRES ";
    }
    bplcon0 |= static_cast<std::uint16_t>((depth & 7) << 12);
    bits += format("BPU=%d ", depth);
    if (depth == 8) {
        bplcon0 |= 0x0010;
        bits += "(BPU3) ";
    }
    bits += "COLOR";
    if (res == Resolution::SuperHires) {
        bplcon0 |= 0x0040;
        bits += " SHRES";
    }
    if (request.interlace) {
        bplcon0 |= 0x0004;
        bits += " LACE";
    }
    setup.values.push_back({DisplayRegister::Bplcon0, bplcon0, bits});

    // --- modulos ---
    if (width % 16 != 0)
        warn(DisplayRegister::Bpl1mod,
             format("a line of %d pixels is not a whole number of words: each plane's line is "
                    "taken as %d bytes in memory",
                    width, (width + 15) / 16 * 2));
    const int rowBytes = (width + 15) / 16 * 2;
    const int fetched = blocks * blockWords * 2;
    setup.fetchedBytesPerPlaneLine = fetched;
    const int planesPerRow = request.interleaved ? std::max(depth, 1) : 1;
    const int stride = rowBytes * planesPerRow * (request.interlace ? 2 : 1);
    const int modulo = stride - fetched;
    std::string strideText = format("%d", rowBytes);
    if (request.interleaved)
        strideText = format("(%d x %d planes)", rowBytes, planesPerRow);
    if (request.interlace)
        strideText += " x 2 (the other field's line)";
    const std::string moduloText =
        format("%s - %d fetched = %d", strideText.c_str(), fetched, modulo);
    setup.values.push_back(
        {DisplayRegister::Bpl1mod, static_cast<std::uint16_t>(modulo & 0xffff), moduloText});
    setup.values.push_back(
        {DisplayRegister::Bpl2mod, static_cast<std::uint16_t>(modulo & 0xffff), moduloText});

    if (request.chipset == Chipset::Aga)
        setup.values.push_back({DisplayRegister::Fmode,
                                static_cast<std::uint16_t>(request.fetchMode & 3),
                                format("BPL32 and BPAGEM: %d bytes per fetch", 2 * factor)});
    return setup;
}

std::string displaySetupCode(const DisplaySetup &setup, bool cpu) {
    AsmWriter out;
    for (const DisplayValue &value : setup.values) {
        for (const DisplayWarning &warning : setup.warnings)
            if (warning.reg == value.reg)
                out.comment(warning.text);
        const char *name = displayRegisterName(value.reg);
        if (cpu)
            out.moveWord(value.value, name);
        else
            out.copperMove(name, value.value);
    }
    return out.take();
}

} // namespace amiga
