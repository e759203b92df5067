// A sheet cut into bobs, sprite frames, glyphs or tiles, in the three forms, with their second
// files: the one place that writes them, for the program and the window alike.
#include "picture/sheet.h"

#include <amiga/asmtext.h>
#include <amiga/carray.h>
#include <amiga/sprites.h>

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace picture {

namespace {

// The bytes as dc lines after a comment and a label.
std::string asmData(const std::string &what, const std::string &name,
                    const std::vector<std::uint8_t> &bytes) {
    amiga::AsmWriter lines;
    lines.comment(what);
    lines.label(name);
    lines.data(bytes.data(), bytes.size());
    return lines.take();
}

// The frames of a bobs cut as dc lines, each after a comment saying where it was on the sheet.
std::string bobsText(const std::string &name, const BobOptions &options, const BobFrames &made,
                     const std::vector<std::uint8_t> &bytes) {
    amiga::AsmWriter lines;
    lines.comment(bobDescription(options, made));
    lines.label(name);
    for (std::size_t i = 0; i < made.frames.size(); i++) {
        const std::size_t end = i + 1 < made.offsets.size() ? made.offsets[i + 1] : bytes.size();
        lines.comment("frame " + std::to_string(i) + ": sheet frame " +
                      std::to_string(made.sheet[i]) + " at " + std::to_string(made.frames[i].x) +
                      "," + std::to_string(made.frames[i].y));
        lines.data(bytes.data() + made.offsets[i], end - made.offsets[i]);
    }
    return lines.take();
}

// bobIndex for a program in C, as a header: the data declared, the sizes and each frame's offset
// as defines (no array, so that the header can be included by any number of files).
std::string bobIndexC(const std::string &name, const BobOptions &options, const BobFrames &made,
                      const std::string &attribute) {
    const auto upper = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
        return text;
    };
    amiga::CArrayWriter c;
    c.comment(bobDescription(options, made) + "; offsets in bytes from " + name);
    c.guard(upper(name + "_INDEX_H"));
    c.declaration(name, attribute);
    for (const BobSize &size : bobSizes(options, made)) {
        c.define(upper(name + size.suffix), size.value, size.comment);
    }
    for (std::size_t i = 0; i < made.frames.size(); i++) {
        const Region &r = made.frames[i];
        c.define(upper(name + "_frame" + std::to_string(i)),
                 static_cast<std::uint32_t>(made.offsets[i]),
                 "sheet frame " + std::to_string(made.sheet[i]) + " at " + std::to_string(r.x) +
                     "," + std::to_string(r.y));
    }
    c.endGuard();
    return c.take();
}

void cutBobs(const Picture &picture, const SheetOptions &options, Sheet *sheet) {
    BobFrames made;
    sheet->data = bobs(picture, options.bobs, &made);
    if (!sheet->data.ok()) {
        return;
    }
    const std::vector<std::uint8_t> &bytes = sheet->data.bytes;
    const std::string what = bobDescription(options.bobs, made);
    if (options.form == SheetForm::C) {
        sheet->data.text = cArrayText(what, options.name, bytes, options.attribute);
    } else if (options.form == SheetForm::Text) {
        sheet->data.text = bobsText(options.name, options.bobs, made, bytes);
    }
    if (options.index) {
        sheet->hasCompanion = true;
        sheet->companion.text = options.form == SheetForm::C
                                    ? bobIndexC(options.name, options.bobs, made, options.attribute)
                                    : bobIndex(options.name, options.bobs, made);
    }
    sheet->frames = made.frames;
    for (std::size_t i = 0; i < made.frames.size(); i++) {
        sheet->labels.push_back(std::to_string(i));
    }
}

void cutSpriteFrames(const Picture &picture, const SheetOptions &options, Sheet *sheet) {
    SpriteExportOptions sprites = options.sprites;
    sprites.sprite.frames = true;
    sprites.text = options.form == SheetForm::Text;
    sheet->data = spriteOutput(picture, sprites);
    if (!sheet->data.ok()) {
        return;
    }
    const amiga::SpriteOptions &sprite = sprites.sprite;
    if (options.form == SheetForm::C) {
        sheet->data.text = cArrayText(spriteDescription(sprite, sheet->data.bytes.size()),
                                      options.name, sheet->data.bytes, options.attribute);
    }
    const amiga::SpriteFrames f = amiga::spriteFrames(picture.width, picture.height, sprite);
    for (unsigned row = 0; row < f.rows; row++) {
        for (unsigned column = 0; column < f.columns; column++) {
            sheet->frames.push_back({column * f.width, row * f.height, f.width, f.height});
            sheet->labels.push_back(std::to_string(sheet->labels.size()));
        }
    }
}

void cutFont(const Picture &picture, const SheetOptions &options, Sheet *sheet) {
    FontGlyphs made;
    sheet->data = font(picture, options.font, &made);
    if (!sheet->data.ok()) {
        return;
    }
    const BobFrames &cells = made.cells;
    const std::vector<std::uint8_t> &bytes = sheet->data.bytes;
    const std::vector<std::uint8_t> widths(made.widths.begin(), made.widths.end());
    const std::string what =
        std::to_string(cells.frames.size()) + " glyphs of " + std::to_string(options.font.width) +
        " x " + std::to_string(options.font.height) + " pixels from " +
        characterName(options.font.first) + ", " + std::to_string(cells.depth) +
        (cells.depth == 1 ? " plane, " : " planes, ") + std::to_string(cells.frameBytes) +
        " bytes each";
    if (options.form == SheetForm::Text) {
        amiga::AsmWriter lines;
        lines.comment(what);
        lines.label(options.name);
        for (std::size_t i = 0; i < cells.frames.size(); i++) {
            lines.comment(characterName(options.font.first + static_cast<unsigned>(i)));
            lines.data(bytes.data() + cells.offsets[i], cells.frameBytes);
        }
        if (!widths.empty()) {
            lines.comment("widths");
            lines.label(options.name + "_widths");
            for (std::size_t at = 0; at < widths.size(); at += 16) {
                std::vector<std::string> row;
                for (std::size_t i = at; i < std::min(at + 16, widths.size()); i++) {
                    row.push_back(std::to_string(widths[i]));
                }
                lines.instruction("dc.b", row);
            }
        }
        sheet->data.text = lines.take();
    } else if (options.form == SheetForm::C) {
        amiga::CArrayWriter c;
        c.comment(what);
        c.array(options.name, bytes.data(), bytes.size(), options.attribute);
        if (!widths.empty()) {
            c.comment("widths in pixels, one a glyph");
            c.byteArray(options.name + "_widths", widths.data(), widths.size());
        }
        sheet->data.text = c.take();
    } else if (options.widths) {
        sheet->hasCompanion = true;
        sheet->companion.bytes = widths;
    }
    sheet->frames = cells.frames;
    for (std::size_t i = 0; i < cells.frames.size(); i++) {
        sheet->labels.push_back(characterName(options.font.first + static_cast<unsigned>(i)));
    }
}

void cutTileMap(const Picture &picture, const SheetOptions &options, Sheet *sheet) {
    const TileSet set = cutTiles(picture, options.tiles);
    sheet->data.warnings = set.warnings;
    if (!set.ok()) {
        sheet->data.error = set.error;
        return;
    }
    sheet->hasCompanion = true;
    sheet->data.bytes = set.tiles;
    sheet->companion.bytes = set.map;
    // level.tiles and level.map: the names level and level_map.
    const std::string mapName =
        options.companionName == options.name ? options.name + "_map" : options.companionName;
    if (options.form == SheetForm::Text) {
        sheet->data.text = asmData(tilesDescription(set, options.tiles), options.name, set.tiles);
        sheet->companion.text = asmData(mapDescription(set, options.tiles), mapName, set.map);
    } else if (options.form == SheetForm::C) {
        sheet->data.text = cArrayText(tilesDescription(set, options.tiles), options.name, set.tiles,
                                      options.attribute);
        sheet->companion.text =
            cArrayText(mapDescription(set, options.tiles), mapName, set.map, options.attribute);
    }
    const unsigned size = options.tiles.size;
    for (unsigned i = 0; i < set.columns * set.rows; i++) {
        sheet->frames.push_back({i % set.columns * size, i / set.columns * size, size, size});
        const unsigned word = static_cast<unsigned>(set.map[2 * i]) << 8 | set.map[2 * i + 1];
        std::string label = std::to_string(options.tiles.flips ? word & kLargestFlippedTile : word);
        if (options.tiles.flips && (word & (kTileFlipX | kTileFlipY)) != 0) {
            label += std::string(" ") + ((word & kTileFlipX) != 0 ? "X" : "") +
                     ((word & kTileFlipY) != 0 ? "Y" : "");
        }
        sheet->labels.push_back(label);
    }
}

} // namespace

Sheet cutSheet(const Picture &picture, const SheetOptions &options) {
    Sheet sheet;
    switch (options.cut) {
    case SheetCut::Bobs:
        cutBobs(picture, options, &sheet);
        break;
    case SheetCut::SpriteFrames:
        cutSpriteFrames(picture, options, &sheet);
        break;
    case SheetCut::Font:
        cutFont(picture, options, &sheet);
        break;
    case SheetCut::Tiles:
        cutTileMap(picture, options, &sheet);
        break;
    }
    if (!sheet.data.ok()) {
        sheet.data.bytes.clear();
        sheet.data.text.clear();
        sheet.companion = {};
        sheet.hasCompanion = false;
        sheet.frames.clear();
        sheet.labels.clear();
    }
    return sheet;
}

std::string cArrayText(const std::string &what, const std::string &name,
                       const std::vector<std::uint8_t> &bytes, const std::string &attribute) {
    amiga::CArrayWriter c;
    c.comment(what);
    c.array(name, bytes.data(), bytes.size(), attribute);
    return c.take();
}

std::string spriteDescription(const amiga::SpriteOptions &sprite, std::size_t bytes) {
    return "hardware sprites " + std::to_string(sprite.width) + " pixels wide" +
           (sprite.attached ? ", attached pairs" : "") +
           (sprite.controlWords ? ", with control words" : "") + ", " + std::to_string(bytes) +
           " bytes";
}

} // namespace picture
