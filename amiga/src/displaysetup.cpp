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

// How the fetch of one screen runs, in colour clocks (see the header for the rules).
struct FetchTiming {
    int length; // one fetch of every plane: 16 pixels x the fetch mode's factor / pixels a clock
    int grid;   // DDFSTRT steps, counted from $18
    int unit;   // DDFSTOP steps: one unit fetches unit x pixels a clock pixels of each plane
    // Lores pixels from DDFSTRT x 2 to the picture's first pixel.
    int delay() const { return 2 * std::min(length, 8) + 1; }
};

constexpr int kEarliestFetch = 0x18;
constexpr int kLatestFetch = 0xd8;
constexpr int kLastWindowStop = 0x1c7;

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
    case DisplayRegister::Bplcon1:
        return "BPLCON1";
    case DisplayRegister::Bpl1mod:
        return "BPL1MOD";
    case DisplayRegister::Bpl2mod:
        return "BPL2MOD";
    case DisplayRegister::Fmode:
        return "FMODE";
    }
    return "";
}

bool DisplaySetup::showable() const {
    return std::none_of(warnings.begin(), warnings.end(),
                        [](const DisplayWarning &w) { return w.refusal; });
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
    // Centred in the standard window, moved left or up as far as the line and the frame need.
    const int hstart = request.hstart ? *request.hstart
                                      : std::min(0x121 - windowWidth / 2,
                                                 std::max(0x41, kLastWindowStop - windowWidth));
    const int vstart = request.vstart ? *request.vstart
                                      : std::min((request.ntsc ? 0x90 : 0xac) - windowLines / 2,
                                                 frameLines - windowLines);
    const int hstop = hstart + windowWidth;
    const int vstop = vstart + windowLines;
    setup.hstart = hstart;
    setup.vstart = vstart;
    setup.hstop = hstop;
    setup.vstop = vstop;

    auto refuse = [&setup](DisplayRegister reg, std::string text) {
        setup.warnings.push_back({reg, std::move(text), true});
    };
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
        refuse(DisplayRegister::Diwstrt, "the window starts before the top left corner of the "
                                         "frame; no register can hold that");
    } else if (hstop > kLastWindowStop) {
        // Also every HSTOP past $1ff, which DIWHIGH would wrap to the line's start.
        refuse(DisplayRegister::Diwstop,
               format("HSTOP %s is past the end of the line: the window must close by HSTOP %s, "
                      "or it stays open (%s)",
                      h(hstop).c_str(), h(kLastWindowStop).c_str(),
                      kLastWindowStop - windowWidth >= 0x41
                          ? format("HSTART up to %s for this width",
                                   h(kLastWindowStop - windowWidth).c_str())
                                .c_str()
                          : "no window this wide fits in a line"));
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
            refuse(DisplayRegister::Diwstop,
                   format("OCS cannot place this window: HSTART up to $ff, HSTOP $100-$1ff and "
                          "VSTOP $80-$17f only; ECS and AGA add DIWHIGH (window %s,%s to %s,%s)",
                          h(hstart).c_str(), h(vstart).c_str(), h(hstop).c_str(),
                          h(vstop).c_str()));
        }
    }
    if (vstop > frameLines + (request.interlace ? 1 : 0))
        refuse(DisplayRegister::Diwstop,
               format("the window ends at line %s, past the last line %s of a %s frame",
                      h(vstop - 1).c_str(), h(frameLines - 1).c_str(),
                      request.ntsc ? "NTSC" : "PAL"));
    else if (vstart < firstVisibleLine)
        warn(DisplayRegister::Diwstrt,
             format("lines %s to %s are outside the visible lines %s to %s of a %s frame",
                    h(vstart).c_str(), h(vstop - 1).c_str(), h(firstVisibleLine).c_str(),
                    h(frameLines - 1).c_str(), request.ntsc ? "NTSC" : "PAL"));
    if (request.interlace && height % 2 != 0)
        warn(DisplayRegister::Diwstop, "an interlaced window should have an even number of "
                                       "lines, so that both fields are the same size");

    // --- data fetch ---
    const int factor = fetchFactor(request);
    if (request.chipset != Chipset::Aga && request.fetchMode != 0)
        warn(DisplayRegister::Ddfstrt, "the fetch mode (FMODE) is AGA only: left at 0");
    if (res == Resolution::SuperHires && request.chipset == Chipset::Ocs)
        refuse(DisplayRegister::Bplcon0, "OCS has no superhires (SHRES is ECS and AGA)");
    FetchTiming fetch;
    fetch.length = 16 * factor / ppc;
    fetch.grid = std::max(4, fetch.length);
    fetch.unit = std::max(8, fetch.length);
    const int unitPixels = fetch.unit * ppc;
    const int unitWords = unitPixels / 16;

    // The last grid point whose picture starts at or left of HSTART; BPLCON1 delays it the rest.
    const int reach = (hstart - fetch.delay()) / 2 - kEarliestFetch;
    int ddfstrt = kEarliestFetch + (reach < 0 ? -fetch.grid : reach / fetch.grid * fetch.grid);
    int delay = hstart - (2 * ddfstrt + fetch.delay());
    std::string startText =
        format("(HSTART %s - %d) / 2 = %s, down to $18 + a multiple of %d", h(hstart).c_str(),
               fetch.delay(), h((hstart - fetch.delay()) / 2).c_str(), fetch.grid);
    if (reach < 0) {
        refuse(DisplayRegister::Ddfstrt,
               format("the window starts before the earliest fetch ($18) can show a picture: "
                      "HSTART %s at the least",
                      h(2 * kEarliestFetch + fetch.delay()).c_str()));
        delay = 0;
    }
    if (request.scroll) {
        ddfstrt -= fetch.unit;
        startText += format(", one unit (%d clocks) earlier for scrolling", fetch.unit);
        if (ddfstrt < kEarliestFetch)
            refuse(DisplayRegister::Ddfstrt,
                   format("scrolling needs the fetch to start at %s, before the earliest fetch "
                          "($18)",
                          h(ddfstrt).c_str()));
        if (delay > 0)
            warn(DisplayRegister::Ddfstrt,
                 format("the window starts %d lores %s after the fetch's picture: add %d to the "
                        "BPLCON1 delay of the scrolling",
                        delay, delay == 1 ? "pixel" : "pixels", delay));
    }
    const int pixelsNeeded = delay * ppc / 2 + width;
    int units = (pixelsNeeded + unitPixels - 1) / unitPixels;
    if (pixelsNeeded % unitPixels != 0 || delay > 0)
        warn(DisplayRegister::Ddfstop,
             format("the fetch brings %d pixels of each plane at a time: a line of %d pixels%s "
                    "is fetched as %d",
                    unitPixels, width,
                    delay > 0 ? format(" after a delay of %d", delay * ppc / 2).c_str() : "",
                    units * unitPixels));
    if (request.scroll)
        ++units;
    const int ddfstop = ddfstrt + fetch.unit * std::max(0, units - 1);
    setup.values.push_back(
        {DisplayRegister::Ddfstrt, static_cast<std::uint16_t>(std::max(0, ddfstrt)), startText});
    setup.values.push_back(
        {DisplayRegister::Ddfstop, static_cast<std::uint16_t>(std::max(0, ddfstop)),
         format("DDFSTRT %s + %d x (%d units - 1): a unit of %d clocks fetches %d %s per plane",
                h(ddfstrt).c_str(), fetch.unit, units, fetch.unit, unitWords,
                unitWords == 1 ? "word" : "words")});
    if (ddfstop > kLatestFetch)
        refuse(DisplayRegister::Ddfstop,
               format("DDFSTOP %s is after the latest fetch the hardware makes ($d8): the "
                      "line is too wide for its start",
                      h(ddfstop).c_str()));
    // Sprite n fetches in the slots $15 + 4n and $17 + 4n (Hardware Reference Manual, DMA
    // time slot allocation); a fetch that starts at or before one of them takes it. So the
    // emulator shows it with ECS and AGA; with OCS it loses one sprite more, as if the slots
    // were $18 + 4n and $1a + 4n, whatever the depth.
    const int fetchStart = std::max(ddfstrt, kEarliestFetch);
    const int firstLost =
        request.chipset == Chipset::Ocs ? (fetchStart - 0x18) / 4 : (fetchStart - 0x17 + 3) / 4;
    if (firstLost <= 7)
        warn(DisplayRegister::Ddfstrt,
             firstLost == 7 ? format("the fetch starts at %s, in the DMA slots of sprite 7: "
                                     "sprite 7 is lost",
                                     h(ddfstrt).c_str())
                            : format("the fetch starts at %s, in the DMA slots of sprites %d-7: "
                                     "they are lost",
                                     h(ddfstrt).c_str(), firstLost));

    // --- BPLCON0 ---
    if (depth > maximumDepth(request))
        refuse(DisplayRegister::Bplcon0, format("%s %s shows at most %d planes",
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
    if (delay > 0 && !request.scroll) {
        // PF1H in bits 3-0, PF2H in bits 7-4; AGA adds their bits 5-4 in 11-10 and 15-14.
        const int low = delay & 15, high = request.chipset == Chipset::Aga ? delay >> 4 & 3 : 0;
        setup.values.push_back(
            {DisplayRegister::Bplcon1,
             static_cast<std::uint16_t>(high << 14 | high << 10 | low << 4 | low),
             format("both playfields %d lores %s later: the picture from HSTART %s to %s", delay,
                    delay == 1 ? "pixel" : "pixels", h(2 * ddfstrt + fetch.delay()).c_str(),
                    h(hstart).c_str())});
    }

    // --- modulos ---
    if (width % 16 != 0)
        warn(DisplayRegister::Bpl1mod,
             format("a line of %d pixels is not a whole number of words: each plane's line is "
                    "taken as %d bytes in memory",
                    width, (width + 15) / 16 * 2));
    const int rowBytes = (width + 15) / 16 * 2;
    const int fetched = units * unitWords * 2;
    setup.fetchedBytesPerPlaneLine = fetched;
    const int planesPerRow = request.interleaved ? std::max(depth, 1) : 1;
    const int stride = rowBytes * planesPerRow * (request.interlace ? 2 : 1);
    const int modulo = stride - fetched;
    std::string strideText = format("%d", rowBytes);
    if (request.interleaved)
        strideText = format("(%d x %d planes)", rowBytes, planesPerRow);
    if (request.interlace)
        strideText += " x 2 (the other field's line)";
    // A wider fetch reads 4 or 8 bytes at once from an address that is a multiple of that (AGA
    // documentation); the emulator does not check it, the chip does.
    const int fetchBytes = 2 * factor;
    if (factor > 1 && stride % fetchBytes != 0)
        warn(DisplayRegister::Bpl1mod,
             format("fetch mode %d reads %d bytes at a time from addresses that are a multiple "
                    "of %d: the planes must start on one, and their lines, %d bytes apart, do "
                    "not; make each plane's line a multiple of %d bytes (%d pixels)",
                    request.fetchMode & 3, fetchBytes, fetchBytes, stride, fetchBytes,
                    fetchBytes * 8));
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
