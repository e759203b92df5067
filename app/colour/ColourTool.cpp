#include "colour/ColourTool.h"
#include "common/HexToInteger.h"
#include "common/TextFields.h"

#include <amiga/copperframe.h>

#include <QCoreApplication>
#include <algorithm>
#include <vector>

namespace {

std::vector<amiga::Rgb8> gunsOf(const QList<Colour> &colours) {
    std::vector<amiga::Rgb8> guns;
    guns.reserve(static_cast<std::size_t>(colours.size()));
    for (const Colour &colour : colours)
        guns.push_back(colour.toRgb8());
    return guns;
}

QString tr(const char *text) {
    return QCoreApplication::translate("ColourViewController", text);
}

} // namespace

QStringList ColourTool::gunTexts(int value) {
    return {QString::asprintf("%d", value),
            QString::asprintf("%.1x", Colour::twelveBitValue(value)),
            QString::asprintf("%.2x", value)};
}

int ColourTool::typedGun(const QString &text) {
    return static_cast<int>(std::clamp<qint64>(integerValue(text), 0, 255));
}

Colour ColourTool::colourOf(int red, int green, int blue) {
    return Colour::colorWithRed(Colour::componentOf(red), Colour::componentOf(green),
                                Colour::componentOf(blue), 1.0);
}

void ColourTool::setColour(const Colour &colour) {
    red = Colour::eightBitValue(colour.redComponent());
    green = Colour::eightBitValue(colour.greenComponent());
    blue = Colour::eightBitValue(colour.blueComponent());
}

void ColourTool::setPaletteIndex(qint64 index) {
    bank = static_cast<int>(index / 32);
    colourRegister = static_cast<int>(index - 32 * (index / 32));
}

QList<Colour> ColourTool::resized(const QList<Colour> &present, qint64 count, bool keep) {
    if (!keep)
        return Colour::amigaDefaults(count);
    QList<Colour> entries;
    entries.reserve(std::max<qint64>(count, 0));
    for (qint64 i = 0; i < count; ++i)
        entries.append(i < present.size() ? present[i] : Colour::defaultAmigaGrey());
    return entries;
}

QString ColourTool::sizeStep(qint64 count) {
    return count == 1 ? tr("Palette of 1 Colour") : tr("Palette of %1 Colours").arg(count);
}

QString ColourTool::loadedStatus(qsizetype count, const QString &source) {
    return count == 1 ? tr("Loaded 1 colour from “%1”.").arg(source)
                      : tr("Loaded %1 colours from “%2”.").arg(count).arg(source);
}

QString ColourTool::restoredStatus(qsizetype count) {
    return count == 1 ? tr("The palette has 1 colour.")
                      : tr("The palette has %1 colours.").arg(count);
}

amiga::ColourCodeOptions ColourTool::codeOptions() const {
    return {aga, copper,
            bplcon3.isEmpty() ? amiga::kBplcon3Reset
                              : static_cast<std::uint16_t>(convertHexToInteger(bplcon3)),
            ntsc ? amiga::CopperFrame::kNtscLines : amiga::CopperFrame::kLines};
}

std::string ColourTool::code(Output which, const ColourPalette &palette) const {
    switch (which) {
    case Output::Colour:
        return amiga::colourCode(codeOptions(), bank, colourRegister,
                                 {static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green),
                                  static_cast<std::uint8_t>(blue)});
    case Output::Palette:
        return amiga::paletteCode(codeOptions(), bank, colourRegister, gunsOf(palette.entries));
    case Output::Rainbow: {
        std::vector<int> heights;
        heights.reserve(static_cast<std::size_t>(palette.entries.size()));
        for (qsizetype i = 0; i < palette.entries.size(); ++i)
            heights.push_back(i < palette.rainbowHeights.size()
                                  ? static_cast<int>(palette.rainbowHeights[i])
                                  : 0);
        return amiga::rainbowCode(codeOptions(),
                                  static_cast<int>(convertHexToInteger(rainbowStart)),
                                  gunsOf(palette.entries), heights);
    }
    }
    return {};
}
