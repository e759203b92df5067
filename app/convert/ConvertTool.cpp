#include "convert/ConvertTool.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QObject>
#include <algorithm>
#include <amiga/asmtext.h>
#include <numeric>
#include <picture/files.h>
#include <picture/region.h>

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

std::optional<unsigned> ConvertTool::firstCharacter(const QString &text) {
    // As the program reads its arguments: as bytes, so one character of ASCII.
    return picture::parseFirstCharacter(text.toUtf8().toStdString());
}

picture::SheetOptions ConvertTool::sheetOptions(const QString &target) const {
    picture::SheetOptions options;
    const picture::SheetCut cuts[] = {picture::SheetCut::Bobs, picture::SheetCut::SpriteFrames,
                                      picture::SheetCut::Font, picture::SheetCut::Tiles};
    options.cut = cuts[std::clamp(sheet.cut, 0, 3)];
    const picture::SheetForm forms[] = {picture::SheetForm::Binary, picture::SheetForm::Text,
                                        picture::SheetForm::C};
    options.form = forms[std::clamp(sheet.form, 0, 2)];
    // Named as quillfen-iff names them: after the files' names without their extensions.
    options.name = amiga::symbolName(QFileInfo(target).completeBaseName().toStdString());
    const QString second = companionPath(target);
    options.companionName =
        second.isEmpty() ? options.name
                         : amiga::symbolName(QFileInfo(second).completeBaseName().toStdString());
    picture::RawOptions raw;
    raw.planar = sheet.planar;
    raw.mask = sheet.mask == 0 ? amiga::MaskOutput::None : amiga::MaskOutput::After;
    raw.invertMask = sheet.mask == 2;
    raw.transparentColour = sheet.transparent;
    picture::BobOptions &bobs = options.bobs;
    bobs.width = sheet.width;
    bobs.height = sheet.height;
    bobs.columns = sheet.columns;
    bobs.rows = sheet.rows;
    bobs.spacingX = sheet.spacingX;
    bobs.spacingY = sheet.spacingY;
    bobs.count = sheet.count;
    bobs.addWord = sheet.addWord;
    bobs.trimEmpty = sheet.trimEmpty;
    bobs.raw = raw;
    options.index = sheet.index && options.cut == picture::SheetCut::Bobs;
    options.sprites = spriteOptions();
    options.sprites.sprite.frames = true;
    options.sprites.sprite.frameHeight = sheet.height;
    options.sprites.transparentColour = sheet.transparent;
    options.font.width = sheet.width;
    options.font.height = sheet.height;
    options.font.proportional = sheet.proportional;
    options.font.raw.transparentColour = sheet.transparent;
    options.font.first = firstCharacter(sheet.first).value_or(32);
    options.widths = options.font.proportional && options.form == picture::SheetForm::Binary;
    options.tiles.size = sheet.width;
    options.tiles.dedupe = sheet.dedupe;
    options.tiles.flips = sheet.dedupe && sheet.flips;
    options.tiles.planar = sheet.planar;
    return options;
}

QString ConvertTool::sheetProblem() const {
    // As quillfen-iff refuses them.
    switch (sheet.cut) {
    case 1:
        if (sheet.height > 1024)
            return QObject::tr("A sprite frame is at most 1024 lines tall.");
        return spriteProblem();
    case 2:
        if (!firstCharacter(sheet.first))
            return QObject::tr("The first character is one character, or its decimal code from 0 "
                               "to 255.");
        return {};
    case 3:
        if (sheet.width != sheet.height || (sheet.width != 8 && sheet.width != 16))
            return QObject::tr("Tiles are 8 × 8 or 16 × 16 pixels.");
        return {};
    default:
        return {};
    }
}

std::optional<picture::Picture> ConvertTool::chosenFrame() const {
    if (!picture || sheet.frame < 0 ||
        static_cast<std::size_t>(sheet.frame) >= m_sheet.frames.size())
        return std::nullopt;
    std::string error;
    return picture::cutRegion(*picture, m_sheet.frames[static_cast<std::size_t>(sheet.frame)],
                              &error);
}

QString ConvertTool::companionPath(const QString &target) const {
    const QFileInfo file(target);
    const QString stem = file.completeBaseName();
    const bool binary = sheet.form == 0;
    QString name;
    switch (sheet.cut) {
    case 0:
        if (sheet.index)
            name = stem + (sheet.form == 2 ? QStringLiteral(".h") : QStringLiteral(".i"));
        break;
    case 2:
        if (sheet.proportional && binary)
            name = stem + QStringLiteral(".widths");
        break;
    case 3:
        name = binary || file.suffix().isEmpty()
                   ? stem + (binary ? QStringLiteral(".map") : QStringLiteral("_map"))
                   : stem + QStringLiteral("_map.") + file.suffix();
        break;
    default:
        break;
    }
    return name.isEmpty() ? QString() : file.dir().filePath(name);
}

void ConvertTool::refresh() {
    m_output = {};
    m_sheet = {};
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
    case Export::Sheet:
        if (const QString problem = sheetProblem(); !problem.isEmpty()) {
            m_output.error = problem.toStdString();
            break;
        }
        m_sheet = picture::cutSheet(*picture, sheetOptions(suggestedSaveName()));
        m_output = m_sheet.data;
        // The second file's text follows the data's text: one source, as pasted. (Binary data
        // is counted in bytes; its index is saved beside it.)
        if (!m_output.text.empty() && !m_sheet.companion.text.empty())
            m_output.text += "\n" + m_sheet.companion.text;
        break;
    }
}

QString ConvertTool::status() const {
    if (!m_output.ok())
        return sentence(m_output.error);
    QString status;
    if (which == Export::Sheet) {
        const int cuts = static_cast<int>(m_sheet.frames.size());
        const bool one = cuts == 1;
        const QString counted[] = {
            one ? QObject::tr("1 frame") : QObject::tr("%1 frames").arg(cuts),
            one ? QObject::tr("1 frame") : QObject::tr("%1 frames").arg(cuts),
            one ? QObject::tr("1 glyph") : QObject::tr("%1 glyphs").arg(cuts),
            one ? QObject::tr("A map of 1 tile") : QObject::tr("A map of %1 tiles").arg(cuts)};
        status = counted[std::clamp(sheet.cut, 0, 3)] + QStringLiteral(": ");
    }
    if (!m_output.text.empty()) {
        const int lines =
            static_cast<int>(std::count(m_output.text.begin(), m_output.text.end(), '\n'));
        status += lines == 1 ? QObject::tr("1 line of text.")
                             : QObject::tr("%1 lines of text.").arg(lines);
    } else {
        status += QObject::tr("%1 bytes.")
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
    const char *sheetSuffixes[] = {"bob", "spr", "font", "tiles"};
    QString suffix;
    if (which == Export::Sheet)
        suffix = QLatin1String(sheet.form == 1   ? "s"
                               : sheet.form == 2 ? "c"
                                                 : sheetSuffixes[std::clamp(sheet.cut, 0, 3)]);
    else
        suffix = m_output.text.empty() ? QLatin1String(suffixes[static_cast<int>(which)])
                                       : QStringLiteral("s");
    const QString suggested = QFileInfo(path).completeBaseName() + QLatin1Char('.') + suffix;
    return path.isEmpty() ? suggested : QFileInfo(path).absoluteDir().filePath(suggested);
}

bool ConvertTool::save(const QString &target, QString *status) const {
    if (!m_output.ok()) {
        *status = sentence(m_output.error);
        return false;
    }
    if (which == Export::Sheet)
        return saveSheet(target, status);
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

bool ConvertTool::saveSheet(const QString &target, QString *status) const {
    // Cut again with the names of the files written, as quillfen-iff names them.
    const picture::Sheet cut = picture::cutSheet(*picture, sheetOptions(target));
    if (!cut.data.ok()) {
        *status = sentence(cut.data.error);
        return false;
    }
    const auto contents = [](const picture::Output &output) {
        return output.text.empty() ? std::string(output.bytes.begin(), output.bytes.end())
                                   : output.text;
    };
    const QString second = cut.hasCompanion ? companionPath(target) : QString();
    const std::string data = contents(cut.data), companion = contents(cut.companion);
    const QString shown = QFileInfo(target).fileName(), secondShown = QFileInfo(second).fileName();
    std::string error;
    if (second.isEmpty()) {
        if (!picture::writeWholeFile(QFile::encodeName(target).toStdString(), data.data(),
                                     data.size(), &error, quoted(shown))) {
            *status = sentence(error);
            return false;
        }
        *status = QObject::tr("Saved %1 bytes to “%2”.")
                      .arg(QLocale().toString(static_cast<qlonglong>(data.size())), shown);
        return true;
    }
    // The two go together: both are written, or neither.
    if (!picture::writeWholeFilePair(QFile::encodeName(target).toStdString(), data,
                                     QFile::encodeName(second).toStdString(), companion, &error,
                                     quoted(shown), quoted(secondShown))) {
        *status = sentence(error);
        return false;
    }
    *status = QObject::tr("Saved %1 bytes to “%2” and %3 bytes to “%4”.")
                  .arg(QLocale().toString(static_cast<qlonglong>(data.size())), shown,
                       QLocale().toString(static_cast<qlonglong>(companion.size())), secondShown);
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
