#pragma once
#include "colour/Colour.h"

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>
#include <picture/export.h>
#include <picture/picture.h>
#include <picture/reduce.h>
#include <picture/sheet.h>

// What the Convert tab computes, without its widgets: the picture read and the one the exports
// work on, the facts shown about it, the export options as the controls hold them, the output
// (bytes or text, or why there is none), the status line and the rules of saving. The controller
// copies its controls in and the results out.
class ConvertTool {
public:
    // Which export the tabs of the export section choose, in their order.
    enum class Export { Bitplanes, Palette, Sprites, Sheet };

    // The picture read, and the one the exports work on (the reduced one after a reduction).
    std::optional<picture::Picture> original;
    std::optional<picture::Picture> picture;
    QString name, path;
    // Sentences about the picture that stay while the output changes (what reading noticed).
    QString pictureNotes;

    // The controls, item by item as their pop-ups list them; nothing for "the picture's".
    Export which = Export::Bitplanes;
    struct Bitplanes {
        bool planar = false;
        std::optional<unsigned> depth;
        int mask = 0; // none, after the planes, only the mask
        bool invertMask = false;
        bool chunky = false;
        std::optional<unsigned> transparent;
    } bitplanes;
    struct Palette {
        int format = 0; // words, RGB8, RGB32, LoadRGB32, copper, copper AGA
        bool binary = false;
        std::optional<unsigned> colours;
    } palette;
    struct Sprites {
        int width = 0; // 16, 32, 64 pixels
        bool attached = false, controlWords = false, aga = false;
        QString x, y; // HSTART and VSTART as typed
        bool text = true;
        std::optional<unsigned> transparent;
    } sprites;
    // A sheet cut into frames: what quillfen-iff's bobs, sprite --frames, font and tiles do.
    // Sprite frames take their width, pairs, chipset and position from the sprite options.
    struct Sheet {
        int cut = 0;                      // bobs, sprite frames, font, tiles
        int form = 0;                     // binary, assembler text, C array
        unsigned width = 16, height = 16; // a frame's or cell's; a tile's is width x width
        unsigned columns = 0, rows = 0;   // at most, 0 all
        unsigned spacingX = 0, spacingY = 0;
        std::optional<unsigned> count;
        bool planar = false;
        int mask = 0; // none, a mask, an inverted mask
        bool addWord = false, trimEmpty = false, index = false;
        QString first = QStringLiteral("32"); // a character or its decimal code
        bool proportional = false;
        bool dedupe = false, flips = false;
        std::optional<unsigned> transparent;
        int frame = 0; // the frame shown by itself
    } sheet;
    picture::Reduction reduction;

    // Takes a picture read from path: the exports work on it as read.
    void use(const QString &path, picture::Picture read);
    // Reduces the picture read when it is true colour; false when there is none to reduce.
    bool reduce();
    // Goes back to the picture as read.
    bool useOriginal();

    // What applies to the picture: reducing and going back (true colour read), the palette for
    // the Colour tab, the exports, the deepest bitplane depth.
    bool reduceAllowed() const { return original && original->isTrueColour(); }
    bool originalAllowed() const { return reduceAllowed() && picture && !picture->isTrueColour(); }
    bool paletteAllowed() const { return picture && !picture->palette.empty(); }
    int deepestDepth() const { return picture && !picture->deepPixels.empty() ? 32 : 8; }

    // The facts about the picture in the tab's order: name, size, depth, mode, colours,
    // transparency, display; each "–" without a picture.
    QStringList facts() const;
    // The shape of the picture's pixels on its display (1 x 1 for none).
    QSize pixelAspect() const;

    picture::RawOptions rawOptions() const;
    picture::PaletteOptions paletteOptions() const;
    picture::SpriteExportOptions spriteOptions() const;
    // Why the sprite options cannot go together, in quillfen-iff's words, or nothing.
    QString spriteProblem() const;
    // The sheet's options, the data named after the file it is saved to.
    picture::SheetOptions sheetOptions(const QString &target) const;
    // A font's first character as typed, as quillfen-iff's --first takes it: a character, or
    // its decimal code (0-255; digits are always a code). Nothing for anything else.
    static std::optional<unsigned> firstCharacter(const QString &text);
    // Why the sheet options cannot be cut, in quillfen-iff's words, or nothing.
    QString sheetProblem() const;
    // The sheet as cut for the output (named after the suggested file).
    const picture::Sheet &sheetCut() const { return m_sheet; }
    // The frame chosen to be shown by itself, as a picture of its own; nothing without one.
    std::optional<picture::Picture> chosenFrame() const;
    // Where the file that goes with the sheet's data saved to target is written, when there is
    // one: bobs' index (.i, or .h for C), a font's width table (.widths), the tile map (.map,
    // or NAME_map beside text and C).
    QString companionPath(const QString &target) const;

    // Remakes the output from the picture and the options.
    void refresh();
    const picture::Output &output() const { return m_output; }
    // The status line for the output.
    QString status() const;
    // The name a save suggests beside the picture: its base name and .raw, .pal, .spr or .s.
    QString suggestedSaveName() const;
    // Writes the output whole to path, or leaves the file as it was; status says which.
    bool save(const QString &path, QString *status) const;
    // The colour map as the Colour tab's colours.
    QList<Colour> paletteColours() const;

    // A message of the libraries as a sentence: a capital first, a full stop last.
    static QString sentence(const std::string &message);
    // A file's name as messages show it: “name”.
    static std::string quoted(const QString &name);

private:
    // Saves the sheet's data to target and its second file beside it, both or neither.
    bool saveSheet(const QString &target, QString *status) const;

    picture::Output m_output;
    picture::Sheet m_sheet;
};
