#include "amiga/displaymodel.h"

#include "amiga/copper.h"
#include "amiga/copperframe.h"
#include "amiga/customregisters.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace amiga {

namespace {

constexpr int kClocks = 227;         // colour clocks a line
constexpr long kFetchClocks = 4;     // a copper instruction: two words
constexpr long kWakeClocks = 2;      // a WAIT whose position came
constexpr int kEarliestFetch = 0x18; // bitplane fetch grid origin
constexpr int kLatestFetch = 0xd8;   // the last unit a line may start
constexpr int kSpriteSlot = 0x15;    // sprite n reads in $15 + 4n, $17 + 4n
constexpr std::uint32_t kAddressMask = 0x1ffffe;
constexpr int kMaxWords = 128; // words of a plane a line can fetch (25 units of 4)
constexpr int kSpriteSpan = kFrameEnd + 72;

// Register offsets the model acts on.
enum : std::uint16_t {
    kCop1lch = 0x080,
    kCop1lcl = 0x082,
    kCop2lch = 0x084,
    kCop2lcl = 0x086,
    kCopjmp1 = 0x088,
    kCopjmp2 = 0x08a,
    kDiwstrt = 0x08e,
    kDiwstop = 0x090,
    kDdfstrt = 0x092,
    kDdfstop = 0x094,
    kDmacon = 0x096,
    kIntena = 0x09a,
    kIntreq = 0x09c,
    kBpl1pth = 0x0e0,
    kBplcon0 = 0x100,
    kBplcon1 = 0x102,
    kBplcon2 = 0x104,
    kBpl1mod = 0x108,
    kBpl2mod = 0x10a,
    kBplcon4 = 0x10c,
    kSpr0pth = 0x120,
    kSpr0pos = 0x140,
    kDiwhigh = 0x1e4,
    kFmode = 0x1fc,
};
enum : std::uint16_t {
    kDmaSet = 0x8000,
    kDmaEnable = 0x0200,
    kBitplaneDma = 0x0100,
    kCopperDma = 0x0080,
    kSpriteDma = 0x0020,
};

int frameLines(const FrameSetup &setup) {
    return (setup.ntsc ? kNtscLines : kPalLines) + (setup.longFrame ? 1 : 0);
}

bool blitterRegister(std::uint16_t offset) {
    return offset >= 0x040 && offset <= 0x074;
}

} // namespace

bool placeInChip(std::span<const ChipPlacement> pieces, std::uint32_t size, ChipMemory *memory,
                 std::string *message) {
    char text[200];
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const ChipPlacement &a = pieces[i];
        const std::uint64_t end = std::uint64_t{a.address} + a.data.size();
        if (end > size) {
            std::snprintf(text, sizeof text,
                          "%s at $%x reaches $%llx, past the end of chip memory ($%x)",
                          a.name.c_str(), a.address, static_cast<unsigned long long>(end), size);
            *message = text;
            return false;
        }
        for (std::size_t j = 0; j < i; ++j) {
            const ChipPlacement &b = pieces[j];
            const std::uint64_t bEnd = std::uint64_t{b.address} + b.data.size();
            if (a.address < bEnd && b.address < end && !a.data.empty() && !b.data.empty()) {
                std::snprintf(text, sizeof text, "%s at $%x-$%llx overlaps %s at $%x-$%llx",
                              a.name.c_str(), a.address, static_cast<unsigned long long>(end - 1),
                              b.name.c_str(), b.address, static_cast<unsigned long long>(bEnd - 1));
                *message = text;
                return false;
            }
        }
    }
    memory->bytes.assign(size, 0);
    for (const ChipPlacement &piece : pieces)
        std::copy(piece.data.begin(), piece.data.end(),
                  memory->bytes.begin() + static_cast<std::ptrdiff_t>(piece.address));
    return true;
}

CopperTrace runCopper(const ChipMemory &memory, const FrameSetup &setup) {
    CopperTrace trace;
    const long frameEnd = static_cast<long>(frameLines(setup)) * kClocks;
    std::uint32_t cop1lc = setup.copperAddress & kAddressMask, cop2lc = 0;
    std::uint32_t pc = cop1lc;
    std::uint16_t dmacon = kDmaEnable | kBitplaneDma | kCopperDma;
    long clock = 0;
    for (;;) {
        if (clock >= frameEnd) {
            trace.end = CopperEnd::FrameEnd;
            trace.endAddress = pc;
            break;
        }
        const std::uint32_t address = pc;
        const CopperWords words{memory.word(pc), memory.word(pc + 2)};
        pc = (pc + 4) & kAddressMask;
        clock += kFetchClocks;
        ++trace.instructions;
        const CopperInstruction instruction = decode(words);
        if (instruction.op == CopperOp::Move) {
            const std::uint16_t offset = instruction.registerOffset;
            if (offset < 0x080) {
                trace.blitterWrites = trace.blitterWrites || blitterRegister(offset);
                trace.end = CopperEnd::IllegalMove;
                trace.endAddress = address;
                break;
            }
            trace.cpuWrites = trace.cpuWrites || offset == kIntena || offset == kIntreq;
            trace.events.push_back({clock, offset, instruction.value, address});
            const std::uint32_t high = static_cast<std::uint32_t>(instruction.value & 0x1f) << 16;
            const std::uint32_t low = instruction.value & 0xfffe;
            switch (offset) {
            case kCop1lch:
                cop1lc = (cop1lc & 0xffff) | high;
                break;
            case kCop1lcl:
                cop1lc = (cop1lc & ~0xffffu) | low;
                break;
            case kCop2lch:
                cop2lc = (cop2lc & 0xffff) | high;
                break;
            case kCop2lcl:
                cop2lc = (cop2lc & ~0xffffu) | low;
                break;
            case kCopjmp1:
                pc = cop1lc;
                break;
            case kCopjmp2:
                pc = cop2lc;
                break;
            case kDmacon:
                dmacon = (instruction.value & kDmaSet) ? dmacon | (instruction.value & 0x7fff)
                                                       : dmacon & ~instruction.value;
                break;
            default:
                break;
            }
            if ((dmacon & (kDmaEnable | kCopperDma)) != (kDmaEnable | kCopperDma)) {
                trace.end = CopperEnd::DmaOff;
                trace.endAddress = address;
                break;
            }
        } else if (instruction.op == CopperOp::Skip) {
            const long line = clock / kClocks;
            if (beamReached(instruction, static_cast<int>(line),
                            static_cast<int>(clock - line * kClocks)))
                pc = (pc + 4) & kAddressMask;
        } else {
            // The compare starts a cycle after the fetch: a position already passed costs
            // that cycle too (measured on an emulator: MOVEs after such a WAIT show 4 lores
            // pixels later than after one that waited).
            const long at = copperWaitReached(instruction, clock + 2, frameEnd, kClocks);
            if (at < 0) {
                trace.end = CopperEnd::Waiting;
                trace.endAddress = address;
                break;
            }
            clock = at + kWakeClocks;
        }
    }
    return trace;
}

namespace {

std::uint32_t packed(Rgb8 c) {
    return static_cast<std::uint32_t>(c.red) << 16 | c.green << 8 | c.blue;
}

// Every register the display reads, as one side of the chips sees them.
struct Registers {
    std::uint16_t bplcon0 = 0x0200, bplcon1 = 0, bplcon2 = 0, bplcon3 = kBplcon3Reset,
                  bplcon4 = 0x0011;
    std::uint16_t diwstrt = 0, diwstop = 0, diwhigh = 0;
    bool diwhighUsed = false;
    std::uint16_t ddfstrt = 0, ddfstop = 0, fmode = 0;
    std::int16_t bpl1mod = 0, bpl2mod = 0;
    std::uint16_t dmacon = kDmaEnable | kBitplaneDma | kCopperDma;
    std::array<std::uint32_t, 8> bplpt{};
    std::array<std::uint32_t, 8> sprpt{};
    std::array<bool, 8> sprptSet{};
    std::array<Rgb8, 256> palette{};
    std::array<std::uint32_t, 256> packedPalette{};
    std::array<int, 256> writer; // the event that last set a colour register; -1 none

    Registers() { writer.fill(-1); }
};

void setPointer(std::uint32_t *pointer, std::uint16_t offset, std::uint16_t value) {
    if (offset & 2)
        *pointer = (*pointer & ~0xffffu) | (value & 0xfffe);
    else
        *pointer = (*pointer & 0xffff) | static_cast<std::uint32_t>(value & 0x1f) << 16;
}

void apply(Registers &r, const CopperEvent &e, int index, Chipset chipset) {
    const std::uint16_t o = e.offset, v = e.value;
    if (isColourRegister(o)) {
        const auto written = CopperFrame::colourWrite(
            chipset == Chipset::Aga ? CopperFrame::Chipset::Aga : CopperFrame::Chipset::Ocs,
            r.bplcon3, o, v, r.palette);
        r.palette[written.index] = written.colour;
        r.packedPalette[written.index] = packed(written.colour);
        r.writer[written.index] = index;
        return;
    }
    if (o >= kBpl1pth && o < kBplcon0) {
        setPointer(&r.bplpt[(o - kBpl1pth) / 4], o, v);
        return;
    }
    if (o >= kSpr0pth && o < kSpr0pos) {
        setPointer(&r.sprpt[(o - kSpr0pth) / 4], o, v);
        r.sprptSet[(o - kSpr0pth) / 4] = true;
        return;
    }
    const bool ecs = chipset != Chipset::Ocs;
    switch (o) {
    case kDiwstrt:
        r.diwstrt = v;
        r.diwhighUsed = false;
        break;
    case kDiwstop:
        r.diwstop = v;
        r.diwhighUsed = false;
        break;
    case kDiwhigh:
        if (ecs) {
            r.diwhigh = v;
            r.diwhighUsed = true;
        }
        break;
    case kDdfstrt:
        r.ddfstrt = v;
        break;
    case kDdfstop:
        r.ddfstop = v;
        break;
    case kDmacon:
        r.dmacon = (v & kDmaSet) ? r.dmacon | (v & 0x7fff) : r.dmacon & ~v;
        break;
    case kBplcon0:
        r.bplcon0 = v;
        break;
    case kBplcon1:
        r.bplcon1 = v;
        break;
    case kBplcon2:
        r.bplcon2 = v;
        break;
    case kBplcon3:
        if (ecs)
            r.bplcon3 = v;
        break;
    case kBplcon4:
        if (chipset == Chipset::Aga)
            r.bplcon4 = v;
        break;
    case kBpl1mod:
        r.bpl1mod = static_cast<std::int16_t>(v & 0xfffe);
        break;
    case kBpl2mod:
        r.bpl2mod = static_cast<std::int16_t>(v & 0xfffe);
        break;
    case kFmode:
        if (chipset == Chipset::Aga)
            r.fmode = v;
        break;
    default:
        break;
    }
}

// The fetch of a line as BPLCON0, FMODE and DDFSTRT/DDFSTOP set it.
struct Fetch {
    int planes = 0;
    int shresPerPixel = 4;                         // 4 lores, 2 hires, 1 superhires
    int length = 8, grid = 8, unit = 8, words = 1; // clocks; words a plane a unit
    int start = 0;                                 // the first unit's clock
    std::uint16_t fmode = 0;
    int delay() const { return 2 * std::min(length, 8) + 1; }
};

Fetch fetchOf(const Registers &r, Chipset chipset) {
    Fetch f;
    const bool aga = chipset == Chipset::Aga;
    int planes = r.bplcon0 >> 12 & 7;
    if (aga && (r.bplcon0 & 0x10))
        planes = 8;
    f.planes = aga ? planes : std::min(planes, 6);
    int pixelsPerClock = 2;
    if (r.bplcon0 & 0x8000)
        pixelsPerClock = 4;
    else if (chipset != Chipset::Ocs && (r.bplcon0 & 0x40))
        pixelsPerClock = 8;
    f.shresPerPixel = 8 / pixelsPerClock;
    f.fmode = aga ? r.fmode : 0;
    const int factor = aga ? (r.fmode & 3) == 3 ? 4 : (r.fmode & 3) ? 2 : 1 : 1;
    f.length = 16 * factor / pixelsPerClock;
    f.grid = std::max(4, f.length);
    f.unit = std::max(8, f.length);
    f.words = f.unit * pixelsPerClock / 16;
    const int ddfstrt = std::max<int>(r.ddfstrt & 0xfc, kEarliestFetch);
    f.start = kEarliestFetch + (ddfstrt - kEarliestFetch + f.grid - 1) / f.grid * f.grid;
    return f;
}

struct Window {
    int hstart, hstop, vstart, vstop;
};

Window windowOf(const Registers &r) {
    Window w;
    w.hstart = r.diwstrt & 0xff;
    w.vstart = r.diwstrt >> 8;
    w.hstop = (r.diwstop & 0xff) | 0x100;
    w.vstop = (r.diwstop >> 8) | ((r.diwstop & 0x8000) ? 0 : 0x100);
    if (r.diwhighUsed) {
        w.hstart |= (r.diwhigh >> 5 & 1) << 8;
        w.vstart |= (r.diwhigh & 7) << 8;
        w.hstop = (r.diwstop & 0xff) | (r.diwhigh >> 13 & 1) << 8;
        w.vstop = (r.diwstop >> 8) | (r.diwhigh >> 8 & 7) << 8;
    }
    return w;
}

// BPLCON1's delay of the odd (playfield 1) and even planes, in superhires pixels. AGA's bits
// above the 16 lores pixels count only as far as the fetch is wide (bit 10/14 from 32 bits,
// bit 11/15 at 64; measured on an emulator: with FMODE 0 they do nothing).
std::array<int, 2> scrollOf(std::uint16_t b, Chipset chipset, std::uint16_t fmode) {
    if (chipset != Chipset::Aga)
        return {(b & 0xf) * 4, (b >> 4 & 0xf) * 4};
    // The quarter pixels: bits 9-8 delay both playfields, and bits 13-12 do nothing (measured on
    // an emulator; the AGA documentation gives bits 13-12 to playfield 2).
    const int high = (fmode & 3) == 3 ? 3 : (fmode & 3) ? 1 : 0;
    return {((b & 0xf) | (b >> 10 & high) << 4) * 4 + (b >> 8 & 3),
            ((b >> 4 & 0xf) | (b >> 14 & high) << 4) * 4 + (b >> 8 & 3)};
}

struct Sprite {
    enum class State { Idle, Waiting, Showing } state = State::Idle;
    std::uint16_t pos = 0, ctl = 0;
    int width = 16;
    std::array<std::uint16_t, 4> a{}, b{};
    bool showsThisLine = false;
    int vstart() const { return pos >> 8 | (ctl >> 2 & 1) << 8; }
    int vstop() const { return ctl >> 8 | (ctl >> 1 & 1) << 8; }
    int hstart() const { return (pos & 0xff) << 1 | (ctl & 1); }
    int bit(int p) const {
        const int word = p >> 4, shift = 15 - (p & 15);
        return (a[word] >> shift & 1) | (b[word] >> shift & 1) << 1;
    }
};

// Byte b spread over 8 bytes (bit 7 first), each byte 0 or 1.
struct Spread {
    std::array<std::uint64_t, 256> table{};
    Spread() {
        for (int b = 0; b < 256; ++b)
            for (int i = 0; i < 8; ++i)
                if (b >> (7 - i) & 1)
                    table[b] |= std::uint64_t{1} << (8 * i);
    }
};
const Spread kSpread;

Rgb8 half(Rgb8 c, Chipset chipset) {
    if (chipset == Chipset::Aga)
        return {static_cast<std::uint8_t>(c.red >> 1), static_cast<std::uint8_t>(c.green >> 1),
                static_cast<std::uint8_t>(c.blue >> 1)};
    return {static_cast<std::uint8_t>(eightBitOf(nibbleOf(c.red) >> 1)),
            static_cast<std::uint8_t>(eightBitOf(nibbleOf(c.green) >> 1)),
            static_cast<std::uint8_t>(eightBitOf(nibbleOf(c.blue) >> 1))};
}

std::uint8_t modify(std::uint8_t gun, int data, bool ham8, bool aga) {
    if (ham8)
        return static_cast<std::uint8_t>(data << 2 | (gun & 3));
    if (aga)
        return static_cast<std::uint8_t>(data << 4 | (gun & 0xf));
    return static_cast<std::uint8_t>(eightBitOf(data));
}

// Whether sprite pair pair shows in front of the playfield front (1 or 2, 0: none shows there):
// BPLCON2's code c of that playfield puts pairs 0 to c - 1 in front of it.
bool spriteInFront(int pair, int front, std::uint16_t bplcon2) {
    const int code = front == 1 ? bplcon2 & 7 : bplcon2 >> 3 & 7;
    return front == 0 || pair < code;
}

// The colour of a playfield pixel of plane bits value, as the registers r show it; hold is the
// colour that hold-and-modify modifies (the pixel to the left).
struct PlayfieldPixel {
    int index = 0; // the colour register, -1 for a HAM modify
    Rgb8 colour;
    PixelSource source = PixelSource::Background;
    int front = 0; // 1 or 2: the playfield whose code the sprites compare with; 0 transparent
    bool halfBrite = false, ham = false;
};

PlayfieldPixel playfieldPixel(int value, int planes, const Registers &r, Chipset chipset,
                              Rgb8 &hold) {
    const bool aga = chipset == Chipset::Aga;
    const std::uint16_t bplcon0 = r.bplcon0;
    int index = 0;
    bool halfBrite = false, ham = false;
    PixelSource source = PixelSource::Background;
    int front = 0; // 1 or 2: the playfield whose code the sprites compare with
    const bool dual = bplcon0 & 0x400;
    Rgb8 colour;
    if (dual) {
        int pf1 = 0, pf2 = 0;
        for (int b = 0; b < 4; ++b) {
            pf1 |= (value >> (2 * b) & 1) << b;
            pf2 |= (value >> (2 * b + 1) & 1) << b;
        }
        const bool pf2First = r.bplcon2 & 0x40;
        // PF2OF (AGA): 0, 2, 4, 8 (as OCS/ECS), 16, 32, 64, 128
        const int code = r.bplcon3 >> 10 & 7;
        const int pf2Offset = !aga ? 8 : code ? 1 << code : 0;
        if (pf2First ? pf2 : pf1) {
            front = pf2First ? 2 : 1;
        } else if (pf2First ? pf1 : pf2) {
            front = pf2First ? 1 : 2;
        }
        if (front == 1) {
            index = pf1;
            source = PixelSource::Playfield1;
        } else if (front == 2) {
            index = (pf2 + pf2Offset) & 0xff;
            source = PixelSource::Playfield2;
        }
        colour = r.palette[aga ? index : index & 31];
    } else if ((bplcon0 & 0x800) && planes >= 5) {
        ham = true;
        const bool ham8 = aga && planes == 8;
        const int control = ham8 ? value & 3 : value >> 4 & 3;
        const int data = ham8 ? value >> 2 : value & 15;
        if (control == 0) {
            index = data;
            hold = r.palette[data];
        } else if (control == 1) {
            hold.blue = modify(hold.blue, data, ham8, aga);
        } else if (control == 2) {
            hold.red = modify(hold.red, data, ham8, aga);
        } else {
            hold.green = modify(hold.green, data, ham8, aga);
        }
        colour = hold;
        source = value ? PixelSource::Playfield1 : PixelSource::Background;
        front = value ? 2 : 0;
        if (control != 0)
            index = -1;
    } else {
        index = aga ? (value ^ (r.bplcon4 >> 8)) & 0xff : value & 63;
        const bool ehb = planes == 6 && (!aga || !(r.bplcon2 & 0x200));
        if (ehb && (index & 32)) {
            halfBrite = true;
            index &= 31;
            colour = half(r.palette[index], chipset);
        } else {
            if (!aga)
                index &= 31;
            colour = r.palette[index];
        }
        if (value) {
            source = PixelSource::Playfield1;
            front = 2; // a single playfield compares with PF2P
        }
    }
    PlayfieldPixel out;
    out.index = index;
    out.colour = colour;
    out.source = source;
    out.front = front;
    out.halfBrite = halfBrite;
    out.ham = ham;
    return out;
}

} // namespace

Frame renderFrame(const ChipMemory &memory, const FrameSetup &setup, const CopperTrace &copper,
                  PixelStory *story) {
    const Chipset chipset = setup.chipset;
    const bool aga = chipset == Chipset::Aga;
    Frame frame;
    frame.lines = frameLines(setup);
    const int shresPerColumn = setup.superhiresColumns ? 1 : 2;
    frame.columns = kFrameEnd * 4 / shresPerColumn;
    frame.pixels.assign(static_cast<std::size_t>(frame.lines) * frame.columns, 0);
    frame.outlines.assign(static_cast<std::size_t>(frame.lines), {});

    Registers fetchSide, showSide;
    if (setup.spriteDma) {
        fetchSide.dmacon |= kSpriteDma;
        showSide.dmacon |= kSpriteDma;
    }
    const std::vector<CopperEvent> &events = copper.events;
    std::size_t fetchCursor = 0, showCursor = 0;
    auto fetchUpTo = [&](long clock) {
        while (fetchCursor < events.size() && events[fetchCursor].clock <= clock) {
            apply(fetchSide, events[fetchCursor], static_cast<int>(fetchCursor), chipset);
            ++fetchCursor;
        }
    };

    std::array<Sprite, 8> sprites{};
    std::array<std::uint32_t, 256> lut{};
    std::array<std::uint8_t, 256> lutFront{};
    bool lutDirty = true;
    std::vector<std::uint8_t> oddBits(kMaxWords * 16), evenBits(kMaxWords * 16);
    std::array<std::array<std::uint16_t, kMaxWords>, 8> planeWords{};
    std::vector<std::uint8_t> spriteColour(kSpriteSpan), spriteNumber(kSpriteSpan);
    std::vector<std::uint8_t> spriteValue(kSpriteSpan);
    bool verticalOpen = false, horizontalOpen = false;
    const int storyColumn =
        story ? (story->column >= 0 ? story->column : story->h * 4 / shresPerColumn) : -1;

    // Nothing shows in the vertical blank: the window opens from the line after it on.
    const int firstLine = setup.ntsc ? kFirstNtscLine : kFirstPalLine;
    for (int line = 0; line < frame.lines; ++line) {
        const long lineClock = static_cast<long>(line) * kClocks;
        fetchUpTo(lineClock);
        const Window window = windowOf(fetchSide);
        if (line == window.vstop)
            verticalOpen = false;
        if (line == window.vstart && line >= firstLine)
            verticalOpen = true;

        // The fetch this line will make, for the sprite slots it takes.
        fetchUpTo(lineClock + kSpriteSlot - 1);
        Fetch fetch = fetchOf(fetchSide, chipset);
        const std::uint16_t dma = fetchSide.dmacon;
        const bool bitplanes =
            verticalOpen && fetch.planes > 0 && (dma & kDmaEnable) && (dma & kBitplaneDma);
        const int firstLost = !bitplanes                ? 8
                              : chipset == Chipset::Ocs ? (fetch.start - kEarliestFetch) / 4
                                                        : (fetch.start - 0x14) / 4;

        // Sprite DMA.
        bool anySprite = false;
        for (int n = 0; n < 8; ++n) {
            fetchUpTo(lineClock + kSpriteSlot + 4 * n);
            Sprite &s = sprites[n];
            s.showsThisLine = false;
            const bool on = (fetchSide.dmacon & kDmaEnable) && (fetchSide.dmacon & kSpriteDma) &&
                            fetchSide.sprptSet[n];
            if (!on)
                continue;
            s.width = !aga                              ? 16
                      : (fetchSide.fmode >> 2 & 3) == 3 ? 64
                      : (fetchSide.fmode & 0xc)         ? 32
                                                        : 16;
            const int words = s.width / 16;
            std::uint32_t &pointer = fetchSide.sprpt[n];
            auto readControl = [&] {
                s.pos = memory.word(pointer);
                s.ctl = memory.word(pointer + 2 * words);
                pointer = (pointer + 4 * words) & kAddressMask;
                s.state = Sprite::State::Waiting;
            };
            if (line == kFirstSpriteLine) {
                readControl();
                continue;
            }
            if (s.state == Sprite::State::Waiting && line == s.vstart())
                s.state = Sprite::State::Showing;
            if (s.state != Sprite::State::Showing)
                continue;
            if (line == s.vstop()) {
                readControl();
                continue;
            }
            if (n >= firstLost)
                continue;
            for (int w = 0; w < words; ++w)
                s.a[w] = memory.word(pointer + 2 * w);
            for (int w = 0; w < words; ++w)
                s.b[w] = memory.word(pointer + 2 * (words + w));
            pointer = (pointer + 4 * words) & kAddressMask;
            s.showsThisLine = true;
            anySprite = true;
        }
        showSide.sprpt = fetchSide.sprpt;
        // Without bitplane DMA on the line the sprites fetched on it do not show (measured on
        // an emulator: DMACON's BPLEN cleared for some lines hides them there).
        if (!((dma & kDmaEnable) && (dma & kBitplaneDma)))
            anySprite = false;

        // Bitplane DMA: the line's words of every plane.
        int fetchedPixels = 0;
        if (bitplanes) {
            int units = 0;
            for (int u = fetch.start;; u += fetch.unit) {
                fetchUpTo(lineClock + u);
                if (units * fetch.words + fetch.words > kMaxWords)
                    break;
                for (int p = 0; p < fetch.planes; ++p) {
                    std::uint32_t &pointer = fetchSide.bplpt[p];
                    for (int w = 0; w < fetch.words; ++w)
                        planeWords[p][units * fetch.words + w] = memory.word(pointer + 2 * w);
                    pointer = (pointer + 2 * fetch.words) & kAddressMask;
                }
                ++units;
                const int stop = std::min<int>(fetchSide.ddfstop & 0xfc, kLatestFetch);
                if (u >= stop)
                    break;
            }
            fetchUpTo(lineClock + std::min(fetch.start + units * fetch.unit, kClocks - 1));
            for (int p = 0; p < fetch.planes; ++p)
                fetchSide.bplpt[p] =
                    (fetchSide.bplpt[p] + ((p & 1) ? fetchSide.bpl2mod : fetchSide.bpl1mod)) &
                    kAddressMask;
            const int words = units * fetch.words;
            fetchedPixels = words * 16;
            std::fill_n(oddBits.begin(), fetchedPixels, 0);
            std::fill_n(evenBits.begin(), fetchedPixels, 0);
            for (int p = 0; p < fetch.planes; ++p) {
                std::uint8_t *to = (p & 1) ? evenBits.data() : oddBits.data();
                for (int w = 0; w < words; ++w) {
                    for (int half = 0; half < 2; ++half) {
                        const int byte = planeWords[p][w] >> (8 - 8 * half) & 0xff;
                        if (byte == 0)
                            continue;
                        const std::uint64_t bits = kSpread.table[byte] << p;
                        std::uint8_t *at = to + w * 16 + half * 8;
                        for (int i = 0; i < 8; ++i)
                            at[i] |= static_cast<std::uint8_t>(bits >> (8 * i));
                    }
                }
            }
        }

        // The sprites of this line on the lores grid: colour register and sprite number.
        if (anySprite) {
            std::fill(spriteValue.begin(), spriteValue.end(), 0);
            for (int k = 3; k >= 0; --k) {
                const Sprite &even = sprites[2 * k], &odd = sprites[2 * k + 1];
                const bool attached = (odd.ctl & 0x80) && odd.showsThisLine;
                const int evenBank = aga ? (showSide.bplcon4 >> 4 & 0xf) << 4 : 16;
                const int oddBank = aga ? (showSide.bplcon4 & 0xf) << 4 : 16;
                if (attached) {
                    const int hs[2] = {even.showsThisLine ? even.hstart() : 0, odd.hstart()};
                    for (int which = 1; which >= 0; --which) {
                        const Sprite &s = which ? odd : even;
                        if (!s.showsThisLine)
                            continue;
                        for (int p = 0; p < s.width; ++p) {
                            const int h = hs[which] + 1 + p;
                            if (h >= kSpriteSpan)
                                break;
                            const int value = s.bit(p) << (2 * which);
                            if (value == 0)
                                continue;
                            // Combine with what the other one of the pair put here.
                            if (spriteNumber[h] == 2 * k && spriteValue[h])
                                spriteValue[h] |= value;
                            else
                                spriteValue[h] = static_cast<std::uint8_t>(value);
                            spriteNumber[h] = static_cast<std::uint8_t>(2 * k);
                            spriteColour[h] = static_cast<std::uint8_t>(evenBank + spriteValue[h]);
                        }
                    }
                    continue;
                }
                for (int which = 1; which >= 0; --which) {
                    const Sprite &s = which ? odd : even;
                    if (!s.showsThisLine)
                        continue;
                    const int bank = which ? oddBank : evenBank;
                    for (int p = 0; p < s.width; ++p) {
                        const int h = s.hstart() + 1 + p;
                        if (h >= kSpriteSpan)
                            break;
                        const int value = s.bit(p);
                        if (value == 0)
                            continue;
                        spriteValue[h] = static_cast<std::uint8_t>(value);
                        spriteNumber[h] = static_cast<std::uint8_t>(2 * k + which);
                        spriteColour[h] = static_cast<std::uint8_t>(bank + 4 * k + value);
                    }
                }
            }
        }

        // The picture: column by column, the registers as the copper left them.
        std::uint32_t *out = frame.pixels.data() + static_cast<std::size_t>(line) * frame.columns;
        const int base = 4 * (2 * fetch.start + fetch.delay());
        const int shift = fetch.shresPerPixel == 4 ? 2 : fetch.shresPerPixel == 2 ? 1 : 0;
        const unsigned fetchedShres = static_cast<unsigned>(fetchedPixels) << shift;
        LineOutline &outline = frame.outlines[static_cast<std::size_t>(line)];
        if (fetchedPixels) {
            outline.fetchFrom = base / 4;
            outline.fetchTo = (base + static_cast<int>(fetchedShres) + 3) / 4;
        }
        Rgb8 hold = showSide.palette[0];
        int lastH = -1;
        bool inside = false;
        const bool storyLine = story && line == story->v;
        int spriteFrom = 0, spriteTo = 0;
        if (anySprite) {
            const Window w = windowOf(showSide);
            spriteFrom = w.hstart;
            spriteTo = w.hstop <= kLastWindowH ? w.hstop : kSpriteSpan;
        }
        // What the registers make of a pixel, worked out again only after a write.
        bool dirty = true;
        lutDirty = true;
        Window w{};
        std::array<int, 2> scroll{};
        bool black = false, hamMode = false;
        auto rederive = [&] {
            dirty = false;
            w = windowOf(showSide);
            scroll = scrollOf(showSide.bplcon1, chipset, fetch.fmode);
            // On the hires grid a quarter-pixel delay does not show (as on an emulator's
            // hires buffer).
            if (!setup.superhiresColumns) {
                scroll[0] &= ~1;
                scroll[1] &= ~1;
            }
            black = chipset != Chipset::Ocs && (showSide.bplcon3 & 0x20);
            hamMode = (showSide.bplcon0 & 0xc00) == 0x800 && bitplanes && fetch.planes >= 5;
            lutDirty = true;
        };
        auto setWriter = [&](int colourRegister) {
            const int wIndex = colourRegister >= 0 ? showSide.writer[colourRegister] : -1;
            if (wIndex >= 0) {
                story->writeClock = events[wIndex].clock;
                story->writeAddress = events[wIndex].address;
                story->writeValue = events[wIndex].value;
                story->writeOffset = events[wIndex].offset;
            }
        };
        long nextEvent = showCursor < events.size() ? events[showCursor].clock : -1;
        const long lineVisibleEnd = lineClock + ((frame.columns * shresPerColumn) / 4 + 8) / 2;
        if (!verticalOpen && !storyLine && (nextEvent < 0 || nextEvent > lineVisibleEnd)) {
            // A line of border with no write in it: COLOR00 throughout, the horizontal window
            // left as the positions it passes leave it.
            rederive();
            std::fill_n(out, frame.columns, black ? 0 : showSide.packedPalette[0]);
            const bool startMet = w.hstart <= kLastWindowH, stopMet = w.hstop <= kLastWindowH;
            if (startMet && (!stopMet || w.hstart >= w.hstop))
                horizontalOpen = true;
            else if (stopMet)
                horizontalOpen = false;
            continue;
        }
        for (int column = 0; column < frame.columns; ++column) {
            const int s = column * shresPerColumn;
            if (nextEvent >= 0 && nextEvent <= lineClock + (s / 4 + 8) / 2) {
                const long visibleFrom = lineClock + (s / 4 + 8) / 2;
                while (showCursor < events.size() && events[showCursor].clock <= visibleFrom) {
                    apply(showSide, events[showCursor], static_cast<int>(showCursor), chipset);
                    ++showCursor;
                }
                nextEvent = showCursor < events.size() ? events[showCursor].clock : -1;
                dirty = true;
            }
            if (dirty)
                rederive();
            const int h = s >> 2;
            if (h != lastH) {
                lastH = h;
                if (h <= kLastWindowH) {
                    if (h == w.hstop)
                        horizontalOpen = false;
                    if (h == w.hstart)
                        horizontalOpen = true;
                }
                inside = verticalOpen && horizontalOpen;
                if (inside) {
                    if (outline.windowFrom < 0)
                        outline.windowFrom = h;
                    outline.windowTo = h + 1;
                }
            }
            const bool wantStory = storyLine && column == storyColumn;
            if (!inside) {
                hold = showSide.palette[0];
                out[column] = black ? 0 : showSide.packedPalette[0];
                if (wantStory) {
                    story->source = PixelSource::Border;
                    story->colourRegister = black ? -1 : 0;
                    story->registerValue = showSide.palette[0];
                    story->shown = black ? Rgb8{} : showSide.palette[0];
                    story->planes = bitplanes ? fetch.planes : 0;
                    setWriter(black ? -1 : 0);
                }
                continue;
            }
            int value = 0;
            if (fetchedPixels) {
                const unsigned at1 = static_cast<unsigned>(s - base - scroll[0]);
                const unsigned at2 = static_cast<unsigned>(s - base - scroll[1]);
                if (at1 < fetchedShres)
                    value |= oddBits[at1 >> shift];
                if (at2 < fetchedShres)
                    value |= evenBits[at2 >> shift];
            }
            const int planes = bitplanes ? fetch.planes : 0;
            if (!wantStory && !hamMode) {
                // The usual pixel: its colour from the table of this mode and palette.
                if (lutDirty) {
                    const int entries = 1 << std::max(planes, 1);
                    Rgb8 unused;
                    for (int v = 0; v < entries; ++v) {
                        const PlayfieldPixel pf =
                            playfieldPixel(v, planes, showSide, chipset, unused);
                        lut[v] = packed(pf.colour);
                        lutFront[v] = static_cast<std::uint8_t>(pf.front);
                    }
                    lutDirty = false;
                }
                std::uint32_t rgb = lut[value];
                if (anySprite && spriteValue[h] && h >= spriteFrom && h < spriteTo) {
                    if (spriteInFront(spriteNumber[h] / 2, lutFront[value], showSide.bplcon2))
                        rgb = showSide.packedPalette[spriteColour[h]];
                }
                out[column] = rgb;
                continue;
            }
            const PlayfieldPixel pf = playfieldPixel(value, planes, showSide, chipset, hold);
            int index = pf.index;
            Rgb8 colour = pf.colour;
            PixelSource source = pf.source;
            const int front = pf.front;
            bool halfBrite = pf.halfBrite;
            const bool ham = pf.ham;
            int sprite = -1;
            // Sprites show from HSTART up to HSTOP on the line, whether or not the window
            // stays open from the line before (measured on an emulator).
            if (anySprite && spriteValue[h] && h >= spriteFrom && h < spriteTo) {
                if (spriteInFront(spriteNumber[h] / 2, front, showSide.bplcon2)) {
                    sprite = spriteNumber[h];
                    index = spriteColour[h];
                    colour = showSide.palette[index];
                    source = PixelSource::Sprite;
                    halfBrite = false;
                }
            }
            const bool plain = !halfBrite && sprite < 0 && !ham;
            out[column] = plain ? showSide.packedPalette[index] : packed(colour);
            if (wantStory) {
                story->source = source;
                story->sprite = sprite;
                story->planeBits = sprite >= 0 ? spriteValue[h] : value;
                story->planes = planes;
                story->ham = ham && sprite < 0;
                story->halfBrite = halfBrite;
                story->colourRegister = story->ham && index < 0 ? -1 : index;
                story->registerValue =
                    story->colourRegister >= 0 ? showSide.palette[story->colourRegister] : Rgb8{};
                story->shown = colour;
                setWriter(story->colourRegister);
            }
        }
    }
    if (story) {
        story->column = storyColumn;
        story->h = storyColumn * shresPerColumn / 4;
    }
    return frame;
}

namespace {

std::string hexColour(Rgb8 c) {
    char text[16];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.red, c.green, c.blue);
    return text;
}

std::string colourName(int index, const FrameSetup &setup) {
    char text[48];
    if (setup.chipset == Chipset::Aga && index >= 32)
        std::snprintf(text, sizeof text, "COLOR%02d of bank %d (colour %d)", index % 32, index / 32,
                      index);
    else
        std::snprintf(text, sizeof text, "COLOR%02d", index);
    return text;
}

} // namespace

std::string pixelStoryText(const PixelStory &story, const FrameSetup &setup) {
    std::string text;
    char line[200];
    std::snprintf(line, sizeof line, "pixel: H $%x, line $%x (column %d)\n", story.h, story.v,
                  story.column);
    text += line;
    switch (story.source) {
    case PixelSource::Border:
        text += "shows: the border, outside the display window\n";
        break;
    case PixelSource::Background:
        std::snprintf(line, sizeof line, "shows: the background (plane bits 0 of %d planes)\n",
                      story.planes);
        text += line;
        break;
    case PixelSource::Playfield1:
    case PixelSource::Playfield2: {
        std::string bits;
        for (int p = std::max(story.planes, 1) - 1; p >= 0; --p)
            bits += (story.planeBits >> p & 1) ? '1' : '0';
        std::snprintf(line, sizeof line, "shows: playfield %d, planes %d-1 %%%s\n",
                      story.source == PixelSource::Playfield2 ? 2 : 1, std::max(story.planes, 1),
                      bits.c_str());
        text += line;
        break;
    }
    case PixelSource::Sprite:
        std::snprintf(line, sizeof line, "shows: sprite %d, colour number %d\n", story.sprite,
                      story.planeBits);
        text += line;
        break;
    }
    if (story.colourRegister < 0 && story.ham) {
        text +=
            "colour: hold-and-modify of the pixel to its left, " + hexColour(story.shown) + "\n";
    } else if (story.colourRegister < 0) {
        text += "colour: black (BRDRBLNK)\n";
    } else {
        text += "colour: " + colourName(story.colourRegister, setup) + " = " +
                hexColour(story.registerValue) +
                (story.halfBrite ? ", at half brightness: " + hexColour(story.shown) : "") + "\n";
    }
    if (story.colourRegister >= 0) {
        if (story.writeClock < 0) {
            text += "set by: nothing in the list (the colour it starts with)\n";
        } else {
            const std::uint32_t listEnd = setup.copperAddress + 2 * setup.listWords;
            std::string which;
            if (story.writeAddress >= setup.copperAddress && story.writeAddress < listEnd) {
                std::snprintf(line, sizeof line, "instruction %u, ",
                              (story.writeAddress - setup.copperAddress) / 4);
                which = line;
            }
            // The MOVE as the listing writes it: the register's name from the include files.
            char offset[8];
            std::snprintf(offset, sizeof offset, "$%04x", story.writeOffset);
            const std::string_view name = registerName(story.writeOffset);
            std::snprintf(line, sizeof line,
                          "set by: copper %sat $%06x: dc.w %s,$%04x, line $%lx at colour "
                          "clock $%lx\n",
                          which.c_str(), story.writeAddress,
                          name.empty() ? offset : std::string(name).c_str(), story.writeValue,
                          story.writeClock / kClocks, story.writeClock % kClocks);
            text += line;
        }
    }
    return text;
}

std::string copperEndText(const CopperTrace &trace, const FrameSetup &setup) {
    (void)setup;
    char text[200];
    switch (trace.end) {
    case CopperEnd::Waiting:
        return {};
    case CopperEnd::FrameEnd:
        std::snprintf(text, sizeof text,
                      "the copper was still running at the frame's end (at $%06x): the list "
                      "loops or never ends, and is cut there",
                      trace.endAddress);
        return text;
    case CopperEnd::IllegalMove:
        std::snprintf(text, sizeof text,
                      "the copper stopped at $%06x: a MOVE below $080 needs COPCON's danger bit",
                      trace.endAddress);
        return text;
    case CopperEnd::DmaOff:
        std::snprintf(text, sizeof text, "the copper stopped at $%06x: DMACON took its DMA away",
                      trace.endAddress);
        return text;
    }
    return {};
}

} // namespace amiga

namespace amiga {

FrameRegion visibleRegion(bool ntsc) {
    FrameRegion region;
    if (ntsc) {
        region.v0 = 0x15;
        region.v1 = kNtscLines;
    }
    return region;
}

namespace {

struct Prepared {
    ChipMemory memory;
    FrameSetup longSetup, shortSetup;
    CopperTrace longTrace, shortTrace;
    bool interlaced = false;
};

bool prepare(const FrameRequest &request, Prepared *out, std::string *message) {
    const std::uint32_t size =
        request.chipSize ? request.chipSize : defaultChipSize(request.setup.chipset);
    std::vector<ChipPlacement> pieces = request.chip;
    ChipPlacement list;
    list.address = request.setup.copperAddress;
    list.name = "the copper list";
    for (std::uint16_t w : request.list) {
        list.data.push_back(static_cast<std::uint8_t>(w >> 8));
        list.data.push_back(static_cast<std::uint8_t>(w));
    }
    const std::uint32_t shortAddress =
        (list.address + static_cast<std::uint32_t>(list.data.size()) + 3) & ~3u;
    pieces.insert(pieces.begin(), list);
    if (request.hasShortList) {
        ChipPlacement second;
        second.address = shortAddress;
        second.name = "the short frame's copper list";
        for (std::uint16_t w : request.shortList) {
            second.data.push_back(static_cast<std::uint8_t>(w >> 8));
            second.data.push_back(static_cast<std::uint8_t>(w));
        }
        pieces.insert(pieces.begin() + 1, second);
    }
    if (!placeInChip(pieces, size, &out->memory, message))
        return false;
    out->longSetup = request.setup;
    out->longSetup.listWords = static_cast<std::uint32_t>(request.list.size());
    out->longTrace = runCopper(out->memory, out->longSetup);
    bool lace = request.hasShortList;
    for (const CopperEvent &e : out->longTrace.events)
        lace = lace || (e.offset == 0x100 && (e.value & 4));
    out->interlaced = lace;
    if (lace) {
        out->longSetup.longFrame = true;
        out->longTrace = runCopper(out->memory, out->longSetup);
        out->shortSetup = request.setup;
        if (request.hasShortList) {
            out->shortSetup.copperAddress = shortAddress;
            out->shortSetup.listWords = static_cast<std::uint32_t>(request.shortList.size());
        }
        out->shortTrace = runCopper(out->memory, out->shortSetup);
    }
    return true;
}

bool regionInside(const FrameRegion &region, bool ntsc, std::string *message) {
    const int lines = ntsc ? kNtscLines : kPalLines;
    if (region.h0 < 0 || region.v0 < 0 || region.h0 >= region.h1 || region.v0 >= region.v1 ||
        region.h1 > kFrameEnd || region.v1 > lines) {
        char text[200];
        std::snprintf(text, sizeof text,
                      "the region $%x,$%x to $%x,$%x is outside the frame: H $0 to $%x and lines "
                      "$0 to $%x, each first below its last",
                      region.h0, region.v0, region.h1, region.v1, kFrameEnd, lines);
        *message = text;
        return false;
    }
    return true;
}

void noteTrace(const CopperTrace &trace, const FrameSetup &setup, const char *frame,
               std::vector<std::string> *notes) {
    const std::string end = copperEndText(trace, setup);
    if (!end.empty())
        notes->push_back(std::string(frame) + end);
    if (trace.blitterWrites)
        notes->push_back(std::string(frame) +
                         "the list writes the blitter's registers: the blitter is not modelled");
    if (trace.cpuWrites)
        notes->push_back(std::string(frame) +
                         "the list writes INTENA or INTREQ: the CPU and its interrupts are not "
                         "modelled");
}

} // namespace

bool drawFrame(const FrameRequest &request, const FrameRegion &region, FramePicture *picture,
               std::string *message) {
    if (!regionInside(region, request.setup.ntsc, message))
        return false;
    Prepared prepared;
    if (!prepare(request, &prepared, message))
        return false;
    const int perH = request.setup.superhiresColumns ? 4 : 2;
    picture->columns = (region.h1 - region.h0) * perH;
    picture->interlaced = prepared.interlaced;
    const int fields = prepared.interlaced ? 2 : 1;
    picture->rows = (region.v1 - region.v0) * fields;
    picture->pixels.assign(static_cast<std::size_t>(picture->columns) * picture->rows, 0);
    picture->notes.clear();
    for (int field = 0; field < fields; ++field) {
        const FrameSetup &setup = field ? prepared.shortSetup : prepared.longSetup;
        const CopperTrace &trace = field ? prepared.shortTrace : prepared.longTrace;
        noteTrace(trace, setup,
                  !prepared.interlaced ? ""
                  : field              ? "short frame: "
                                       : "long frame: ",
                  &picture->notes);
        const Frame frame = renderFrame(prepared.memory, setup, trace);
        if (field == 0)
            picture->outlines.assign(static_cast<std::size_t>(picture->rows), {});
        for (int v = region.v0; v < region.v1; ++v) {
            picture->outlines[static_cast<std::size_t>((v - region.v0) * fields + field)] =
                frame.outlines[static_cast<std::size_t>(v)];
            const std::uint32_t *from = frame.pixels.data() +
                                        static_cast<std::size_t>(v) * frame.columns +
                                        region.h0 * perH;
            std::copy_n(from, picture->columns,
                        picture->pixels.begin() +
                            static_cast<std::ptrdiff_t>(((v - region.v0) * fields + field) *
                                                        picture->columns));
        }
    }
    return true;
}

bool explainPixel(const FrameRequest &request, int h, int v, std::string *text,
                  std::string *message, PixelStory *storyOut) {
    FrameRegion region;
    region.h0 = h;
    region.v0 = v;
    region.h1 = h + 1;
    region.v1 = v + 1;
    if (!regionInside(region, request.setup.ntsc, message))
        return false;
    Prepared prepared;
    if (!prepare(request, &prepared, message))
        return false;
    PixelStory story;
    story.h = h;
    story.v = v;
    story.column = -1;
    renderFrame(prepared.memory, prepared.longSetup, prepared.longTrace, &story);
    *text = pixelStoryText(story, prepared.longSetup);
    if (storyOut)
        *storyOut = story;
    return true;
}

} // namespace amiga
