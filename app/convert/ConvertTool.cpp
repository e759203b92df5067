#include "convert/ConvertTool.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QObject>
#include <algorithm>
#include <numeric>
#include <picture/files.h>

namespace {

QString text(const std::string &s) {
    return QString::fromStdString(s);
}

// The hexadecimal value of a field, or nothing when it is empty.
std::optional<unsigned> hexValue(const QString &field) {
    if (field.isEmpty())
        return std::nullopt;
    bool ok = false;
    const unsigned value = field.toUInt(&ok, 16);
    return ok ? std::optional<unsigned>(value) : std::nullopt;
}

// The display mode a picture was drawn for and the shape it gives a pixel, as the steps across
// and down of one pixel: a lores pixel is 4 steps of 35 ns wide, a hires one 2 and a superhires
// one 1; a line is as tall as a lores pixel is wide, an interlaced line half that (CAMG: HIRES
// $8000, SUPERHIRES $20, LACE $4). Lores 1 x 1, hires 1 x 2, lores interlaced 2 x 1, hires
// interlaced 1 x 1, superhires 1 x 4. An IFF picture without a CAMG takes the shape nearest to
// its BMHD's pixel aspect (lores when it gives none); a PNG has no mode and square pixels.
struct DisplayShape {
    QString mode; // empty for a PNG
    QSize aspect{1, 1};
};

DisplayShape displayShape(const picture::Picture &picture) {
    if (picture.source == picture::Source::Png)
        return {};
    if (!picture.hasViewportMode && picture.xAspect > 0 && picture.yAspect > 0) {
        // Pixels at least half again as tall as wide are hires-shaped; half again as wide,
        // interlaced lores-shaped (10:11 is a square PAL lores pixel, 5:11 hires, 20:11 lores
        // interlaced, as paint programs write them).
        const double ratio = static_cast<double>(picture.xAspect) / picture.yAspect;
        if (ratio < 2.0 / 3.0)
            return {QStringLiteral("none saved, BMHD aspect %1:%2")
                        .arg(picture.xAspect)
                        .arg(picture.yAspect),
                    {1, 2}};
        if (ratio > 1.5)
            return {QStringLiteral("none saved, BMHD aspect %1:%2")
                        .arg(picture.xAspect)
                        .arg(picture.yAspect),
                    {2, 1}};
    }
    const std::uint32_t mode = picture.viewportMode;
    const bool superhires = (mode & 0x20) != 0;
    const bool hires = !superhires && (mode & 0x8000) != 0;
    const bool interlaced = (mode & 0x4) != 0;
    const int wide = superhires ? 1 : hires ? 2 : 4;
    const int tall = interlaced ? 2 : 4;
    const int common = std::gcd(wide, tall);
    QString name = superhires ? QStringLiteral("superhires")
                   : hires    ? QStringLiteral("hires")
                              : QStringLiteral("lores");
    if (interlaced)
        name += QStringLiteral(" interlaced");
    return {name, {wide / common, tall / common}};
}

} // namespace

QString ConvertTool::sentence(const std::string &message) {
    QString text = QString::fromStdString(message).trimmed();
    if (text.isEmpty())
        return text;
    text[0] = text[0].toUpper();
    if (!text.endsWith(QLatin1Char('.')) && !text.endsWith(QLatin1Char('!')) &&
        !text.endsWith(QLatin1Char('?')))
        text += QLatin1Char('.');
    return text;
}

std::string ConvertTool::quoted(const QString &name) {
    return QStringLiteral("“%1”").arg(name).toStdString();
}

void ConvertTool::use(const QString &file, picture::Picture read) {
    path = file;
    name = QFileInfo(file).fileName();
    pictureNotes.clear();
    for (const std::string &warning : read.warnings)
        pictureNotes +=
            (pictureNotes.isEmpty() ? QString() : QStringLiteral(" ")) + sentence(warning);
    original = std::move(read);
    picture = original;
    // A picture of another depth has other planes: the picture's own depth is the default again.
    bitplanes.depth.reset();
}

bool ConvertTool::reduce() {
    if (!reduceAllowed())
        return false;
    picture = picture::reduce(*original, reduction);
    return true;
}

bool ConvertTool::useOriginal() {
    if (!original)
        return false;
    picture = original;
    return true;
}

QStringList ConvertTool::facts() const {
    if (!picture)
        return QStringList(7, QStringLiteral("–"));
    const picture::Picture &p = *picture;
    QStringList facts{name, QObject::tr("%1 × %2").arg(p.width).arg(p.height)};
    const int depth = static_cast<int>(p.depth);
    facts << (!p.trueColour.empty() ? QObject::tr("true colour")
              : p.source == picture::Source::Png
                  ? (depth == 1 ? QObject::tr("1 bit a pixel")
                                : QObject::tr("%1 bits a pixel").arg(depth))
              : depth == 1 ? QObject::tr("1 plane")
                           : QObject::tr("%1 planes").arg(depth));
    const bool reduced = original && original->isTrueColour() && !p.isTrueColour();
    facts << QObject::tr("%1 %2").arg(text(std::string(picture::sourceName(p.source))),
                                      text(picture::describeMode(p))) +
                 (reduced ? QObject::tr(", reduced") : QString());
    const QLocale locale;
    if (p.isTrueColour()) {
        constexpr unsigned limit = 1u << 16;
        const unsigned count = picture::countColours(p, limit + 1);
        facts << (count > limit ? QObject::tr("more than %1").arg(locale.toString(limit))
                                : QObject::tr("%1 distinct").arg(locale.toString(count)));
    } else {
        facts << QObject::tr("%1 in the colour map").arg(p.palette.size());
    }
    QString transparency = QObject::tr("none");
    if (!p.opacity.empty())
        transparency = QObject::tr("mask plane");
    else if (p.transparentColours.size() == 1)
        transparency = QObject::tr("colour %1").arg(p.transparentColours.front());
    else if (!p.transparentColours.empty())
        transparency = QObject::tr("%1 colours").arg(p.transparentColours.size());
    else if (!p.trueColour.empty() &&
             std::any_of(p.trueColour.begin(), p.trueColour.end(),
                         [](const picture::Rgba8 &c) { return c.alpha < 128; }))
        transparency = QObject::tr("alpha channel");
    facts << transparency;
    const DisplayShape shape = displayShape(p);
    facts << (shape.mode.isEmpty() ? QObject::tr("none saved, square pixels")
                                   : QObject::tr("%1, pixels %2 × %3")
                                         .arg(shape.mode)
                                         .arg(shape.aspect.width())
                                         .arg(shape.aspect.height()));
    return facts;
}

QSize ConvertTool::pixelAspect() const {
    return picture ? displayShape(*picture).aspect : QSize(1, 1);
}

picture::RawOptions ConvertTool::rawOptions() const {
    picture::RawOptions options;
    options.planar = bitplanes.planar;
    options.depth = bitplanes.depth;
    const amiga::MaskOutput masks[] = {amiga::MaskOutput::None, amiga::MaskOutput::After,
                                       amiga::MaskOutput::Only};
    options.chunky = bitplanes.chunky;
    // Chunky bytes have no mask: the mask controls are off then, and what they show is not asked.
    options.mask =
        options.chunky ? amiga::MaskOutput::None : masks[std::clamp(bitplanes.mask, 0, 2)];
    options.invertMask = options.mask != amiga::MaskOutput::None && bitplanes.invertMask;
    options.transparentColour = bitplanes.transparent;
    return options;
}

picture::PaletteOptions ConvertTool::paletteOptions() const {
    picture::PaletteOptions options;
    const amiga::PaletteFormat formats[] = {
        amiga::PaletteFormat::Words,  amiga::PaletteFormat::Rgb8,
        amiga::PaletteFormat::Rgb32,  amiga::PaletteFormat::LoadRgb32,
        amiga::PaletteFormat::Copper, amiga::PaletteFormat::CopperAga};
    options.format = formats[std::clamp(palette.format, 0, 5)];
    options.binary = palette.binary;
    options.colours = palette.colours;
    return options;
}

picture::SpriteExportOptions ConvertTool::spriteOptions() const {
    picture::SpriteExportOptions options;
    const unsigned widths[] = {16, 32, 64};
    options.sprite.width = widths[std::clamp(sprites.width, 0, 2)];
    options.sprite.attached = sprites.attached;
    options.sprite.controlWords = sprites.controlWords;
    options.sprite.aga = sprites.aga;
    // Control words from a position when both X and Y are given as they should be (else
    // spriteProblem says why not); zero without them.
    const amiga::HorizontalStart x =
        amiga::readHorizontalStart(sprites.x.toStdString(), options.sprite.aga);
    const std::optional<unsigned> y = hexValue(sprites.y);
    if (options.sprite.controlWords && x.problem == amiga::HorizontalStart::Problem::None && y)
        options.sprite.position = amiga::SpritePosition{x.quarters, *y};
    options.text = sprites.text;
    options.transparentColour = sprites.transparent;
    return options;
}

QString ConvertTool::spriteProblem() const {
    // As quillfen-iff sprite refuses them.
    if (sprites.width > 0 && !sprites.aga)
        return QObject::tr("Sprites of %1 pixels are AGA's (FMODE): choose the AGA chipset.")
            .arg(spriteOptions().sprite.width);
    if (sprites.controlWords && sprites.x.isEmpty() != sprites.y.isEmpty())
        return QObject::tr("X and Y go together: a sprite's position is HSTART and VSTART; give "
                           "both, or neither for control words of zero.");
    // As quillfen-iff's --x refuses them.
    const QString &x = sprites.x;
    if (!sprites.controlWords || x.isEmpty())
        return {};
    using Problem = amiga::HorizontalStart::Problem;
    switch (amiga::readHorizontalStart(x.toStdString(), sprites.aga).problem) {
    case Problem::None:
        break;
    case Problem::NotLoresPixels:
        return QObject::tr(
                   "X takes HSTART in lores pixels, a hexadecimal number from 0 to 1ff, not %1.")
            .arg(x);
    case Problem::BadFraction:
        return QObject::tr("The fraction of X %1 must be .4, .8 or .c (a quarter, a half or "
                           "three quarters of a lores pixel).")
            .arg(x);
    case Problem::FractionNeedsAga:
        return QObject::tr("X %1 places a sprite between lores pixels, which only AGA can do; "
                           "choose the AGA chipset or give a whole pixel.")
            .arg(x);
    }
    return {};
}

void ConvertTool::refresh() {
    m_output = {};
    if (!picture) {
        m_output.error = QObject::tr("Open a picture: Open Picture…, File ▸ Open Picture… or a "
                                     "picture file dropped here.")
                             .toStdString();
        return;
    }
    switch (which) {
    case Export::Bitplanes:
        m_output = picture::rawBitplanes(*picture, rawOptions());
        break;
    case Export::Palette:
        m_output = picture::paletteOutput(*picture, paletteOptions());
        break;
    case Export::Sprites:
        if (const QString problem = spriteProblem(); problem.isEmpty())
            m_output = picture::spriteOutput(*picture, spriteOptions());
        else
            m_output.error = problem.toStdString();
        break;
    }
}

QString ConvertTool::status() const {
    if (!m_output.ok())
        return sentence(m_output.error);
    QString status;
    if (!m_output.text.empty()) {
        const int lines =
            static_cast<int>(std::count(m_output.text.begin(), m_output.text.end(), '\n'));
        status = lines == 1 ? QObject::tr("1 line of text.")
                            : QObject::tr("%1 lines of text.").arg(lines);
    } else {
        status = QObject::tr("%1 bytes.")
                     .arg(QLocale().toString(static_cast<qulonglong>(m_output.bytes.size())));
    }
    for (const std::string &warning : m_output.warnings)
        status += QLatin1Char(' ') + sentence(warning);
    if (!pictureNotes.isEmpty())
        status += QLatin1Char(' ') + pictureNotes;
    return status;
}

QString ConvertTool::suggestedSaveName() const {
    const char *suffixes[] = {"raw", "pal", "spr"};
    const QString suffix = m_output.text.empty() ? QLatin1String(suffixes[static_cast<int>(which)])
                                                 : QStringLiteral("s");
    const QString suggested = QFileInfo(path).completeBaseName() + QLatin1Char('.') + suffix;
    return path.isEmpty() ? suggested : QFileInfo(path).absoluteDir().filePath(suggested);
}

bool ConvertTool::save(const QString &target, QString *status) const {
    if (!m_output.ok()) {
        *status = sentence(m_output.error);
        return false;
    }
    const QString shown = QFileInfo(target).fileName();
    // Written whole or not at all: a file being replaced stays as it was when writing fails.
    const std::string bytes = m_output.text.empty()
                                  ? std::string(m_output.bytes.begin(), m_output.bytes.end())
                                  : m_output.text;
    std::string error;
    if (!picture::writeWholeFile(QFile::encodeName(target).toStdString(), bytes.data(),
                                 bytes.size(), &error, quoted(shown))) {
        *status = sentence(error);
        return false;
    }
    *status = QObject::tr("Saved %1 bytes to “%2”.")
                  .arg(QLocale().toString(static_cast<qlonglong>(bytes.size())), shown);
    return true;
}

QList<Colour> ConvertTool::paletteColours() const {
    QList<Colour> colours;
    if (!picture)
        return colours;
    colours.reserve(static_cast<qsizetype>(picture->palette.size()));
    for (const amiga::Rgb8 &c : picture->palette)
        colours.append(Colour::convertFrom24BitWithRed(c.red, c.green, c.blue));
    return colours;
}
