#include "display/DisplayTool.h"

#include <QCoreApplication>
#include <QLocale>
#include <algorithm>
#include <amiga/asmtext.h>
#include <amiga/bitplanememory.h>
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
        Row row{reg};
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
