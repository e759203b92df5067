#include "display/DisplayTool.h"

#include <QCoreApplication>
#include <QLocale>
#include <algorithm>
#include <amiga/asmtext.h>
#include <amiga/bitplanememory.h>
#include <amiga/colourwords.h>
#include <amiga/paletteformats.h>
#include <cstdint>

namespace {

// Decimal digits in groups of three, separated by the current locale's
// grouping separator (51200 reads 51,200 in an English locale).
QString grouped(std::uint64_t value) {
    const QString digits = QString::number(value);
    const QString separator = QLocale().groupSeparator();
    QString result;
    result.reserve(digits.size() + digits.size() / 3 * separator.size());
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            result += separator;
        result += digits[i];
    }
    return result;
}

QString tr(const char *text) {
    return QCoreApplication::translate("DisplayTool", text);
}

int screenNumber(qint64 value) {
    return static_cast<int>(std::clamp<qint64>(value, 0, 99999));
}

} // namespace

QStringList DisplayTool::Memory::all() const {
    return {bytesPerLine,
            bytesPerLineArithmetic,
            bytesPerPlane,
            bytesPerPlaneArithmetic,
            bytesAllPlanes,
            bytesAllPlanesArithmetic,
            bytesPerLineAllPlanes,
            bytesPerLineAllPlanesArithmetic,
            modulo,
            moduloHex,
            moduloArithmetic};
}

DisplayTool::Memory DisplayTool::memory() const {
    const amiga::BitplaneMemory m =
        amiga::bitplaneMemory(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height),
                              static_cast<std::uint64_t>(depth));
    const auto operands = [](std::uint64_t x, std::uint64_t y) {
        return QStringLiteral("(%1 x %2)").arg(static_cast<qint64>(x)).arg(static_cast<qint64>(y));
    };
    Memory r;
    r.bytesPerLine = grouped(m.bytesPerLine);
    r.bytesPerLineArithmetic = QStringLiteral("(%1 \u00f7 8)").arg(static_cast<qint64>(m.width));
    r.bytesPerPlane = grouped(m.bytesPerPlane);
    r.bytesPerPlaneArithmetic = operands(m.bytesPerLine, m.height);
    if (m.depth == 0)
        return r;
    r.bytesAllPlanes = grouped(m.bytesAllPlanes);
    r.bytesAllPlanesArithmetic = operands(m.bytesPerPlane, m.depth);
    r.bytesPerLineAllPlanes = grouped(m.bytesPerLineAllPlanes);
    r.bytesPerLineAllPlanesArithmetic = operands(m.bytesPerLine, m.depth);
    r.modulo = grouped(m.interleavedModulo);
    r.moduloHex = QStringLiteral("0x%1").arg(m.interleavedModulo, 0, 16);
    r.moduloArithmetic = QStringLiteral("(%1 - %2)")
                             .arg(static_cast<qint64>(m.bytesPerLineAllPlanes))
                             .arg(static_cast<qint64>(m.bytesPerLine));
    r.colourChoice = static_cast<int>(m.depth) - 1;
    return r;
}

void DisplayTool::applyChipsetRules() {
    if (!superhiresAllowed() && resolution == 2)
        resolution = 1;
    if (!fetchModeAllowed())
        fetchMode = 0;
}

amiga::DisplayRequest DisplayTool::request() const {
    amiga::DisplayRequest request;
    request.chipset = static_cast<amiga::Chipset>(chipset);
    request.ntsc = ntsc;
    request.resolution = static_cast<amiga::Resolution>(std::max(0, resolution));
    request.interlace = interlace;
    request.interleaved = interleaved;
    request.scroll = scroll;
    request.fetchMode = std::max(0, fetchMode);
    request.width = screenNumber(width);
    request.height = screenNumber(height);
    request.depth = screenNumber(depth);
    if (centred) {
        request.hstart.reset();
        request.vstart.reset();
    } else {
        request.hstart = hstart;
        request.vstart = vstart;
    }
    return request;
}

std::vector<DisplayTool::Row> DisplayTool::rows() const {
    const amiga::DisplaySetup setup = amiga::displaySetup(request());
    std::vector<Row> rows;
    for (amiga::DisplayRegister reg :
         {amiga::DisplayRegister::Diwstrt, amiga::DisplayRegister::Diwstop,
          amiga::DisplayRegister::Diwhigh, amiga::DisplayRegister::Ddfstrt,
          amiga::DisplayRegister::Ddfstop, amiga::DisplayRegister::Bplcon0,
          amiga::DisplayRegister::Bplcon1, amiga::DisplayRegister::Bpl1mod,
          amiga::DisplayRegister::Bpl2mod, amiga::DisplayRegister::Fmode}) {
        Row row;
        row.reg = reg;
        const amiga::DisplayValue *value = setup.find(reg);
        QStringList warnings;
        for (const amiga::DisplayWarning &warning : setup.warnings)
            if (warning.reg == reg)
                warnings.append(
                    (warning.refusal ? tr("The hardware cannot show this: ") : QString()) +
                    QString::fromStdString(warning.text));
        // A row for a register the screen does not need (DIWHIGH, FMODE) only when a warning
        // about it needs a place.
        row.shown = value != nullptr || !warnings.isEmpty();
        if (value) {
            row.value = QString::fromStdString(amiga::word(value->value));
            row.arithmetic = QString::fromStdString(value->arithmetic);
        }
        row.warning = warnings.join(QLatin1Char('\n'));
        rows.push_back(row);
    }
    return rows;
}

QString DisplayTool::fetchNote() const {
    // The memory results keep their rule (width / 8); when the screen takes more a line, say so
    // beside them, so that they and the modulos never disagree unsaid.
    const amiga::DisplayRequest request = this->request();
    const amiga::DisplaySetup setup = amiga::displaySetup(request);
    const qint64 memoryLine = width / 8;
    const int wordLine = (request.width + 15) / 16 * 2;
    const bool more = request.depth > 0 && memoryLine == request.width / 8 &&
                      (wordLine > memoryLine || setup.fetchedBytesPerPlaneLine > memoryLine);
    if (!more)
        return {};
    return tr("A line of %1 pixels takes %2 bytes in memory (whole words) and the set-up "
              "fetches %3 bytes of each plane a line: %4 more than the bytes per bitplane "
              "line above. The set-up's modulos count them.")
        .arg(request.width)
        .arg(wordLine)
        .arg(setup.fetchedBytesPerPlaneLine)
        .arg(std::max(wordLine, setup.fetchedBytesPerPlaneLine) - memoryLine);
}

QString DisplayTool::code() const {
    return QString::fromStdString(amiga::displaySetupCode(amiga::displaySetup(request()), cpuCode));
}

int DisplayTool::patternColour(int x, int y) const {
    const amiga::DisplayRequest r = request();
    const int colours = 1 << std::clamp(r.depth, 1, 8);
    if (x == 0 || y == 0 || x == r.width - 1 || y == r.height - 1)
        return colours - 1;
    return static_cast<int>(static_cast<qint64>(x) * colours / std::max(1, r.width));
}

bool DisplayTool::screenFrame(amiga::FramePicture *picture, QString *message) const {
    const amiga::DisplayRequest r = request();
    if (r.depth < 1 || r.depth > 8 || r.width < 1 || r.height < 1) {
        *message = tr("The screen needs a width, a height and a depth of 1 to 8 planes.");
        return false;
    }
    const amiga::DisplaySetup setup = amiga::displaySetup(r);
    // The planes as the memory results lay them out: whole words a line, plane after plane or,
    // interleaved, line after line of every plane.
    const int rowBytes = (r.width + 15) / 16 * 2;
    // Counted in 64 bits: the largest screen the fields allow (99999 x 99999 x 8) needs 10 GB.
    const std::uint64_t wanted = static_cast<std::uint64_t>(rowBytes) * r.height * r.depth;
    if (kPlaneAddress + wanted > amiga::defaultChipSize(r.chipset)) {
        *message = tr("The planes do not fit in chip memory.");
        return false;
    }
    const std::uint32_t planeBytes = static_cast<std::uint32_t>(rowBytes) * r.height;
    const ScreenPicture *shown = screenPicture.get();
    if (shown && (shown->width < 0 || shown->height < 0 ||
                  shown->pixels.size() != static_cast<std::size_t>(shown->width) * shown->height)) {
        *message = tr("The picture's pixels do not match its size.");
        return false;
    }
    amiga::ChipPlacement planes{kPlaneAddress, std::vector<std::uint8_t>(planeBytes * r.depth),
                                shown ? "picture" : "test pattern"};
    const auto lineAddress = [&](int plane, int y) {
        return r.interleaved ? (static_cast<std::uint32_t>(y) * r.depth + plane) * rowBytes
                             : plane * planeBytes + static_cast<std::uint32_t>(y) * rowBytes;
    };
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x) {
            const int colour = !shown ? patternColour(x, y)
                               : x < shown->width && y < shown->height
                                   ? shown->pixels[static_cast<std::size_t>(y) * shown->width + x]
                                   : 0;
            for (int p = 0; p < r.depth; ++p)
                if (colour >> p & 1)
                    planes.data[lineAddress(p, y) + x / 8] |=
                        static_cast<std::uint8_t>(0x80 >> x % 8);
        }

    static const std::uint16_t kOffsets[] = {0x08e, 0x090, 0x1e4, 0x092, 0x094,
                                             0x100, 0x102, 0x108, 0x10a, 0x1fc};
    // The pattern's colour for each number (16-31 of each 32 the first 16 with every gun XOR 3),
    // the last number white (the edge); a picture's from its map.
    static const std::uint16_t kColours[] = {0x000, 0xf00, 0x0f0, 0x00f, 0xff0, 0x0ff,
                                             0xf0f, 0x888, 0xf80, 0x08f, 0x8f0, 0xf08,
                                             0x80f, 0x0f8, 0x444, 0xccc};
    const int colours = 1 << r.depth;
    const auto colourOf = [&](int c) {
        if (shown)
            return static_cast<std::size_t>(c) < shown->palette.size() ? shown->palette[c]
                                                                       : amiga::Rgb8{};
        return amiga::fromTwelveBit(c == colours - 1 ? 0xfff
                                    : c % 32 < 16    ? kColours[c % 32]
                                                     : kColours[c % 16] ^ 0x333);
    };
    // The colour MOVEs as the palette code writes them: AGA reaches the colours past 32 in banks
    // of 32 and takes each bank's high nibbles, then (LOCT) its low ones; 6 planes elsewhere
    // show 32-63 at half brightness, so 32 registers are all there is.
    std::vector<amiga::Rgb8> map(static_cast<std::size_t>(colours));
    for (int c = 0; c < colours; ++c)
        map[static_cast<std::size_t>(c)] = colourOf(c);
    const std::vector<std::uint8_t> colourMoves =
        amiga::paletteBytes(r.chipset == amiga::Chipset::Aga ? amiga::PaletteFormat::CopperAga
                                                             : amiga::PaletteFormat::Copper,
                            map);
    const auto list = [&](std::uint32_t firstLine) {
        std::vector<std::uint16_t> words;
        for (const amiga::DisplayValue &value : setup.values) {
            words.push_back(kOffsets[static_cast<int>(value.reg)]);
            words.push_back(value.value);
        }
        for (int p = 0; p < r.depth; ++p) {
            const std::uint32_t address = kPlaneAddress + lineAddress(p, firstLine);
            words.insert(words.end(), {static_cast<std::uint16_t>(0x0e0 + 4 * p),
                                       static_cast<std::uint16_t>(address >> 16),
                                       static_cast<std::uint16_t>(0x0e2 + 4 * p),
                                       static_cast<std::uint16_t>(address & 0xffff)});
        }
        for (std::size_t i = 0; i + 1 < colourMoves.size(); i += 2)
            words.push_back(static_cast<std::uint16_t>(colourMoves[i] << 8 | colourMoves[i + 1]));
        words.insert(words.end(), {0xffff, 0xfffe});
        return words;
    };
    amiga::FrameRequest frame;
    frame.setup.chipset = r.chipset;
    frame.setup.ntsc = r.ntsc;
    frame.setup.superhiresColumns = r.resolution == amiga::Resolution::SuperHires;
    frame.setup.copperAddress = 0x1000;
    frame.list = list(0);
    if (r.interlace) {
        // The short frame shows the odd lines.
        frame.shortList = list(1);
        frame.hasShortList = true;
    }
    frame.chip.push_back(std::move(planes));
    std::string text;
    if (!amiga::drawFrame(frame, amiga::visibleRegion(r.ntsc), picture, &text)) {
        *message = QString::fromStdString(text);
        return false;
    }
    return true;
}
