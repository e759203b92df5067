#include "command.h"

#include <ilbm/ilbm.h>

#include <picture/files.h>

#include <cstdarg>
#include <string>

namespace quillfen_iff {

namespace {

using quillfen_cli::Option;
using quillfen_cli::Takes;

const Option kReduceOption = {"--reduce",
                              "reduce the colours to N (2-256) first (cuts refined by k-means),\n"
                              "chosen among the chipset's colours: 12-bit on ocs, 24-bit on aga",
                              Takes::Value, "N"};
const Option kDitherOption = {"--dither",
                              "with --reduce, diffuse the error (Floyd-Steinberg); =ordered\n"
                              "dithers by a fixed 8 x 8 pattern, which stays still between the\n"
                              "frames of an animation",
                              Takes::Optional, "ordered"};
const Option kPictureOption = {"--picture",
                               "use picture N of FILE (1 is the first, the default) when it\n"
                               "holds several",
                               Takes::Value, "N"};
const Option kRegionOption = {"--region",
                              "convert only the rectangle X,Y,W,H of the picture: its left and\n"
                              "top pixel and its width and height, in decimal pixels",
                              Takes::Value, "X,Y,W,H"};
const Option kCFormatOption = {"--format",
                               "the bytes as a C array to compile in (const unsigned short,\n"
                               "8 words a line; unsigned char for an odd number of bytes)",
                               Takes::Value, "c"};
const Option kNameOption = {"--name",
                            "the name of the data (default: OUT's name without its extension,\n"
                            "every character but letters, digits and _ made _; data for -)",
                            Takes::Value, "NAME"};
const Option kCAttributeOption = {
    "--c-attribute", "with C output, TEXT before the type (such as __chip)", Takes::Value, "TEXT"};
const Option kChipsetOption = {
    "--chipset", "ocs (the default) or aga: the colours --reduce chooses", Takes::Value, "NAME"};

// The commands, sorted by name, as the overview lists them.
const Command kCommands[] = {
    {"acbm",
     "FILE OUT",
     "Writes FILE to OUT with every ILBM picture converted to ACBM (contiguous planes).",
     "Writes FILE to OUT with every ILBM picture converted to ACBM: the interleaved BODY\n"
     "becomes an ABIT of whole planes one after another (packed bodies are unpacked first).\n",
     {},
     runAcbm,
     {2, 2}},
    {"bobs",
     "--size WxH [--count N] [--grid COLSxROWS] [--spacing X,Y] [--add-word]\n"
     "       [--mask[=inverted]] [--interleaved | --planar] [--trim-empty] [--transparent N]\n"
     "       [--index OUT.i] [--text | --format c [--c-attribute TEXT]] [--name NAME]\n"
     "       [--picture N] [--region X,Y,W,H] [--reduce N [--dither[=ordered]]\n"
     "       [--chipset ocs|aga]] FILE OUT",
     "Cuts a sheet into frames and writes each frame's bitplanes (and mask) as bobs.",
     "Cuts the first picture of FILE (picture N with --picture N) into frames of W x H pixels,\n"
     "read left to right, then down, and writes them to OUT one after another: each frame's\n"
     "bitplanes (and mask) exactly as raw writes that frame alone (raw --region), interleaved\n"
     "unless --planar. Pixels past the whole frames are left out, with a warning; a sheet\n"
     "without a whole frame writes nothing (exit status 1). --index writes an include for the\n"
     "data: equates NAME_width, NAME_height, NAME_words (words a row), NAME_rowbytes,\n"
     "NAME_bytes (a frame) and NAME_count, NAME_frameN the byte offset of frame N from the\n"
     "data's start, and the table NAME_frames of those offsets (dc.l); with --format c, a C\n"
     "header that declares the data and gives the same as defines (NAME_WIDTH, ...,\n"
     "NAME_FRAMEn).\n",
     {{"--size", "frames of W x H pixels (decimal, 1-16384)", Takes::Value, "WxH"},
      {"--count", "the first N frames of the sheet", Takes::Value, "N"},
      {"--grid", "at most COLS frames across and ROWS down (from the top left)", Takes::Value,
       "COLSxROWS"},
      {"--spacing", "X pixels between frames across, Y down (default 0,0)", Takes::Value, "X,Y"},
      {"--add-word", "a blank word after each row of every plane and of the mask, for a shifted\n"
                     "blit (in an inverted mask the word is set: it stays transparent)"},
      {"--mask",
       "also write each frame's mask, as raw --mask does; =inverted sets the\n"
       "bits of the transparent pixels instead",
       Takes::Optional, "inverted"},
      {"--interleaved", "each row's plane rows one after another (the default)"},
      {"--planar", "each frame's plane 0 whole, then plane 1, and so on, then its mask"},
      {"--trim-empty", "leave out frames whose pixels are all transparent, and say how many"},
      {"--transparent", "colour N is the transparent colour of the mask", Takes::Value, "N"},
      {"--index", "also write an include of the frames' sizes and offsets to OUT.i", Takes::Value,
       "OUT.i"},
      {"--text", "the bytes as assembler data: a comment, a label, each frame's dc.w lines\n"
                 "after a comment naming it"},
      kCFormatOption,
      kNameOption,
      kCAttributeOption,
      kPictureOption,
      kRegionOption,
      kReduceOption,
      kDitherOption,
      kChipsetOption},
     runBobs,
     {2, 2}},
    {"check",
     "FILE",
     "Checks FILE against the rules of IFF-85: exit status 0 when it obeys them, 1 when not.",
     "Checks FILE against the rules of IFF-85 and of the picture chunks it holds. The first\n"
     "broken rule is reported; the exit status is 0 when FILE obeys every rule, 1 when not.\n",
     {},
     runCheck,
     {1, 1}},
    {"compare",
     "FILE FILE",
     "Compares the chunk trees of two files: exit status 0 when they are equal, 1 when not.",
     "Compares the chunk trees of two files and prints \"equal\" or \"different\": the same "
     "chunks\n"
     "with the same sizes and contents in the same order. The exit status is 0 when they are\n"
     "equal, 1 when not.\n",
     {},
     runCompare,
     {2, 2}},
    {"copper",
     "[--chipset ocs|aga] [--top LINE] [--picture N] FILE [OUT]",
     "Writes the palette changes of a SHAM or PCHG picture as a copper list.",
     "Writes the colour changes of the first picture of FILE (picture N with --picture N), an\n"
     "ILBM with a SHAM or PCHG chunk, as copper list data to OUT (the standard output when\n"
     "there is none): for each line with changes a WAIT at the end of the line before it, then\n"
     "a MOVE to each colour register it changes (AGA: through BPLCON3, high halves then low\n"
     "halves). Lines past $ff wait for the end of line $ff first. An interlaced picture's two\n"
     "lines share a line of the display. The colours before the first line are the picture's\n"
     "colour map (quillfen-iff palette). 16 MOVEs fit between the WAIT and the left edge of the\n"
     "display window: a line that needs more is named in a warning and a closing comment, as\n"
     "its last colours change where it shows. Exit status 1 for a picture without changes.\n",
     {{"--chipset",
       "ocs (12-bit colours, COLOR00-COLOR31) or aga (24-bit colours, 256\n"
       "registers); default: aga when a change needs it, else ocs",
       Takes::Value, "NAME"},
      {"--top", "the display line of the picture's first line, hexadecimal (default 2c)",
       Takes::Value, "LINE"},
      kPictureOption},
     runCopper,
     {1, 2}},
    {"font",
     "--cell WxH [--first CHAR] [--proportional [--widths OUT.w]]\n"
     "       [--transparent N] [--text | --format c [--c-attribute TEXT]] [--name NAME]\n"
     "       [--picture N] [--region X,Y,W,H] FILE OUT",
     "Cuts a grid of cells into a font's glyphs, one plane each as raw writes it.",
     "Cuts the first picture of FILE (picture N with --picture N) into cells of W x H pixels,\n"
     "read left to right, then down: the glyphs of the characters from --first on. Each\n"
     "glyph is the bitplanes raw writes of its cell alone (raw --region; a 2-colour picture\n"
     "is one plane), all one after another in OUT. --proportional finds each glyph's width,\n"
     "from its leftmost to its rightmost pixel that is not transparent (colour 0 unless\n"
     "--transparent), and moves each glyph left so that its leftmost such pixel is in the\n"
     "cell's first column; a glyph without such a pixel, such as space, is half the cell\n"
     "wide. The widths, a byte each, go to the file\n"
     "--widths names, or with --text (--format c) after the glyphs as NAME_widths (dc.b;\n"
     "an array of unsigned char). Cells past character 255 and pixels past the whole cells\n"
     "are left out, with a warning; a picture without a whole cell writes nothing (exit\n"
     "status 1).\n",
     {{"--cell", "cells of W x H pixels (decimal, 1-16384)", Takes::Value, "WxH"},
      {"--first",
       "the character of the first cell: one character, or its decimal\n"
       "code (0-255; digits are always a code: 48 for '0'); default 32, space",
       Takes::Value, "CHAR"},
      {"--proportional", "find each glyph's width and write a table of them"},
      {"--widths", "with --proportional, write the widths (a byte a glyph) to OUT.w", Takes::Value,
       "OUT.w"},
      {"--transparent", "colour N is the background, not colour 0", Takes::Value, "N"},
      {"--text", "the glyphs as assembler data, each after a comment naming its character\n"
                 "('A' $41), then with --proportional the widths as NAME_widths (dc.b)"},
      kCFormatOption,
      kNameOption,
      kCAttributeOption,
      kPictureOption,
      kRegionOption},
     runFont,
     {2, 2}},
    {"ilbm",
     "[--pack] [--mode lores|hires|superhires[,lace]] [--reduce N [--dither[=ordered]] [--chipset "
     "ocs|aga]]\n"
     "       [--region X,Y,W,H] FILE OUT",
     "Writes FILE to OUT with every ACBM picture converted to ILBM, or a PNG as an ILBM.",
     "Writes FILE to OUT with every ACBM picture converted to ILBM: the ABIT of whole planes\n"
     "becomes an interleaved BODY. A PNG of colour numbers (or one reduced with --reduce)\n"
     "becomes a packed ILBM with BMHD, CMAP and CAMG: as many planes as its colours need, its\n"
     "transparent colour as the ILBM's. Its pixels stay square (aspect 1:1, no screen mode in\n"
     "CAMG) unless --mode names the screen it is for. With --region, the chosen picture's\n"
     "rectangle alone becomes a packed ILBM, keeping its colour map and screen mode.\n",
     {{"--pack", "also pack the new BODY with ByteRun1"},
      {"--mode",
       "with a PNG or --reduce, the screen the ILBM is for: lores, hires or\n"
       "superhires, with ,lace when interlaced (CAMG bits and that mode's PAL aspect)",
       Takes::Value, "MODE"},
      {"--picture", "with --reduce, --region or a PNG, use picture N of FILE (1 is the first)",
       Takes::Value, "N"},
      kRegionOption,
      kReduceOption,
      kDitherOption,
      kChipsetOption},
     runIlbm,
     {2, 2}},
    {"pack",
     "FILE OUT",
     "Writes FILE to OUT with every uncompressed picture BODY packed with ByteRun1.",
     "Writes FILE to OUT with every uncompressed picture BODY packed with ByteRun1, each plane\n"
     "row by itself.\n",
     {},
     runPack,
     {2, 2}},
    {"palette",
     "[--aga | --ocs] [--picture N] FILE | --format FORMAT [--binary[=c]]\n"
     "       [--colors N] [--picture N] [--bplcon3 HEX] [--region X,Y,W,H]\n"
     "       [--name NAME] [--c-attribute TEXT] FILE [OUT]",
     "Prints a picture's colour map as copper data, or writes it as a palette table.",
     "Without --format, prints the colour map of the first picture of FILE (picture N with\n"
     "--picture N) as copper list data from COLOR00 on, the same text as the Colour tab's\n"
     "palette code; without --aga or --ocs both forms are printed. With --format, writes the\n"
     "colour map as a table in that format to OUT (the standard output when there is none), as\n"
     "dc.w/dc.l lines or, with --binary, as big-endian bytes for incbin, or with --binary=c\n"
     "those bytes as a C array. FILE is an ILBM, ACBM or PBM picture or a PNG. A region leaves\n"
     "the colour map whole (it is checked against the picture all the same).\n",
     {{"--aga", "only the AGA form: BPLCON3 and COLORxx moves, every high half, then every\n"
                "low half, bank by bank, then BPLCON3 back to its base value"},
      {"--ocs", "only the OCS/ECS form: COLORxx moves of 12-bit colours (high nibbles)"},
      {"--format",
       "the table: words ($0RGB words, for LoadRGB4), rgb8 ($00RRGGBB longs),\n"
       "rgb32 (three longs a colour, for LoadRGB32), loadrgb32 (a whole LoadRGB32\n"
       "table: count and first colour, the colours, a 0 long), copper (COLORxx\n"
       "moves, 32 colours at most), copper-aga (BPLCON3 and COLORxx moves of\n"
       "24-bit colours, bank by bank)",
       Takes::Value, "FORMAT"},
      {"--binary",
       "bytes for incbin instead of data lines; =c the same bytes as a C\n"
       "array (const unsigned short, 8 words a line)",
       Takes::Optional, "c"},
      {"--colors", "the first N colours (default: all the colour map holds)", Takes::Value, "N"},
      {"--bplcon3",
       "the BPLCON3 value the display keeps, in hexadecimal (default 0c00, the reset\n"
       "value); the AGA forms set the bank and LOCT bits in it and end with it",
       Takes::Value, "HEX"},
      {"--name",
       "with --binary=c, the array's name (default: OUT's name without its\n"
       "extension, every character but letters, digits and _ made _; data for -)",
       Takes::Value, "NAME"},
      kCAttributeOption,
      kPictureOption,
      kRegionOption,
      kReduceOption,
      kDitherOption,
      kChipsetOption},
     runPalette,
     {1, 2}},
    {"print",
     "FILE",
     "Prints the chunk tree of FILE.",
     "Prints the chunk tree of FILE on the standard output, two blanks per nesting level.\n",
     {},
     runPrint,
     {1, 1}},
    {"raw",
     "[--planar] [--depth N] [--mask[=inverted] | --mask-only[=inverted]]\n"
     "       [--chunky] [--transparent N] [--picture N] [--region X,Y,W,H]\n"
     "       [--reduce N [--dither[=ordered]] [--chipset ocs|aga]]\n"
     "       [--text | --format c [--c-attribute TEXT]] [--name NAME] FILE OUT",
     "Writes the bitplanes (and mask) of a picture to OUT as raw bytes for incbin.",
     "Writes the bitplanes of the first picture of FILE (picture N with --picture N; an ILBM,\n"
     "ACBM or PBM picture or a PNG) to OUT as raw bytes, ready for incbin: each picture row's\n"
     "plane rows one after another (interleaved), rows of whole 16-pixel words. A picture's\n"
     "own mask plane is left out unless a mask is asked for. The mask has a bit set where a\n"
     "pixel is opaque: pixels of the --transparent colour are transparent; else the picture's\n"
     "own mask or transparent colour says; else colour 0 is transparent. With --region, the\n"
     "rectangle alone, as a picture of its own (rows of whole words from its left edge). With\n"
     "--text, the same bytes as assembler data: a comment saying what they are, a label, dc.w\n"
     "lines; with --format c, as a C array after such a comment.\n",
     {{"--planar", "write plane 0 whole, then plane 1, and so on"},
      {"--depth",
       "write N planes (default: the picture's planes; for a PNG the fewest\n"
       "that hold its colours)",
       Takes::Value, "N"},
      {"--mask",
       "also write the mask: a mask row after each row's plane rows, or with\n"
       "--planar the mask plane after the last plane; =inverted sets the bits\n"
       "of the transparent pixels instead",
       Takes::Optional, "inverted"},
      {"--mask-only",
       "write the mask alone, for a cookie-cut blit: each mask row once per\n"
       "plane, or with --planar one plane",
       Takes::Optional, "inverted"},
      {"--chunky", "one byte per pixel, its colour number, instead of planes"},
      {"--transparent", "colour N is the transparent colour of the mask", Takes::Value, "N"},
      {"--text", "the bytes as assembler data to paste or include: a comment, a label,\n"
                 "dc.w lines of 8 words (dc.b lines of 8 bytes for an odd number of bytes)"},
      kCFormatOption,
      kNameOption,
      kCAttributeOption,
      kPictureOption,
      kRegionOption,
      kReduceOption,
      kDitherOption,
      kChipsetOption},
     runRaw,
     {2, 2}},
    {"sprite",
     "[--width 16|32|64] [--attached] [--control] [--x X --y Y]\n"
     "       [--frames] [--frame-height H]\n"
     "       [--chipset ocs|aga] [--text] [--transparent N] [--picture N]\n"
     "       [--region X,Y,W,H] [--reduce N [--dither[=ordered]]]\n"
     "       [--format c [--c-attribute TEXT] [--name NAME]] FILE OUT",
     "Writes a picture as hardware sprite data to OUT, as bytes for incbin or as data lines.",
     "Writes the first picture of FILE (picture N with --picture N) as hardware sprites to\n"
     "OUT: for each line the DATA and DATB words (longs at 32 and 64 pixels), sprite after\n"
     "sprite for a picture wider than one. Colours 1-3 show (1-15 with --attached);\n"
     "transparent pixels become colour 0. With control words, each sprite begins with SPRxPOS\n"
     "and SPRxCTL and ends with zeros. With --frames the picture is a sheet of animation\n"
     "frames for one sprite (or one attached pair): frames one sprite wide and H lines tall\n"
     "(default: the picture's height), read left to right, then down, written one after\n"
     "another (with control words, the same for every frame); pixels past the whole frames are\n"
     "left out, with a warning. With --format c, the bytes as a C array.\n",
     {{"--width", "sprites of 16, 32 or 64 pixels (32 and 64 need --chipset aga)", Takes::Value,
       "N"},
      {"--attached", "attached pairs of sprites for 15 colours"},
      {"--control", "control words, zero unless --x and --y place the sprite"},
      {"--x",
       "HSTART in lores pixels, hexadecimal ($ or 0x optional); on AGA a fraction\n"
       "of .4, .8 or .c adds quarter pixels (c0.8 is 192.5); implies --control",
       Takes::Value, "X"},
      {"--y", "VSTART in lines, hexadecimal; implies --control", Takes::Value, "Y"},
      {"--frames", "cut the picture into frames of one sprite (or attached pair)"},
      {"--frame-height", "frames of H lines (1-1024, decimal); implies --frames", Takes::Value,
       "H"},
      {"--chipset",
       "ocs (OCS/ECS, the default) or aga: AGA's control bits, wide sprites,\n"
       "and 24-bit colours for --reduce",
       Takes::Value, "NAME"},
      {"--text", "dc.w/dc.l lines instead of bytes"},
      {"--transparent",
       "colour N is transparent (default: the picture's own mask or\n"
       "transparent colour, else colour 0)",
       Takes::Value, "N"},
      kCFormatOption,
      kNameOption,
      kCAttributeOption,
      kPictureOption,
      kRegionOption,
      kReduceOption,
      kDitherOption},
     runSprite,
     {2, 2}},
    {"tiles",
     "--size 8x8|16x16 [--dedupe [--flips]] [--planar | --interleaved]\n"
     "       [--text | --format c [--c-attribute TEXT]] [--picture N] [--region X,Y,W,H]\n"
     "       FILE TILES MAP",
     "Cuts a picture into tiles: the tiles' bitplanes to TILES, a map of tile numbers to MAP.",
     "Cuts the first picture of FILE (picture N with --picture N) into tiles of 8 x 8 or\n"
     "16 x 16 pixels, left to right, then down. TILES gets the tiles' planes, one tile after\n"
     "another, each as raw writes a picture of that tile (rows of whole words: an 8-pixel\n"
     "tile's row is a word with the tile in the high byte and a clear low byte, ready for the\n"
     "blitter, which moves words), every tile with the picture's planes. MAP gets a\n"
     "big-endian word for each tile of the picture, by rows: the number of its tile in TILES\n"
     "(0 the first). With --dedupe each distinct tile is written once, first seen first; with\n"
     "--flips a tile that is another mirrored is that tile, bit 15 of its word set for a\n"
     "mirror left to right (X) and bit 14 top to bottom (Y), the number in bits 0-13. Pixels\n"
     "past the whole tiles are left out, with a warning. Exit status 1, nothing written, for\n"
     "a picture smaller than a tile, a map of more than 65535 tiles, or more than 16384\n"
     "distinct tiles with --flips. With --text or --format c the data are named after the\n"
     "stems of TILES and MAP (MAP's with _map when they are the same).\n",
     {{"--size", "tiles of 8x8 or 16x16 pixels", Takes::Value, "WxH"},
      {"--dedupe", "write each distinct tile once; the map repeats its number"},
      {"--flips", "with --dedupe, a tile mirrored in X, Y or both is the same tile"},
      {"--planar", "each tile's planes whole, one after another"},
      {"--interleaved", "each tile row's plane rows one after another (the default)"},
      {"--text", "both as assembler data (a comment, a label, dc.w lines) instead of bytes"},
      kCFormatOption,
      kCAttributeOption,
      kPictureOption,
      kRegionOption},
     runTiles,
     {3, 3}},
    {"unpack",
     "FILE OUT",
     "Writes FILE to OUT with every picture BODY unpacked from ByteRun1.",
     "Writes FILE to OUT with the ByteRun1 compression of every picture's BODY undone.\n",
     {},
     runUnpack,
     {2, 2}},
};

void toIffError(const char *text) {
    IFF_error("%s", text);
}

std::vector<const Command *> listed() {
    std::vector<const Command *> list;
    for (const Command &command : kCommands) {
        list.push_back(&command);
    }
    return list;
}

const quillfen_cli::Program kProgram = {
    "quillfen-iff",
    "Reads IFF-85 files (FORM, CAT, LIST and PROP groups) and the ILBM, ACBM and PBM pictures in "
    "them.\n"
    "A FILE of - is the standard input, an OUT of - the standard output.\n",
    "0 done (valid, equal), 1 invalid or different (or no usable picture), 2 bad usage or a file "
    "that cannot be opened, read or written.\n",
    listed(),
    toIffError,
};

} // namespace

int run(int argc, char **argv) {
    return quillfen_cli::run(kProgram, argc, argv);
}

void report(const Arguments &arguments, const char *format, ...) {
    va_list ap;
    va_start(ap, format);
    va_list copy;
    va_copy(copy, ap);
    const int length = vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(length > 0 ? static_cast<size_t>(length) + 1 : 1, '\0');
    vsnprintf(text.data(), text.size(), format, ap);
    va_end(ap);
    IFF_error("quillfen-iff %s: %s", arguments.command().name, text.c_str());
}

const IFF_Extension *extension() {
    return ::extension;
}

unsigned int extensionLength() {
    return ILBM_NUM_OF_FORM_TYPES;
}

void TreeRelease::operator()(IFF_Chunk *chunk) const {
    IFF_free(chunk, extension(), extensionLength());
}

Tree readFile(const Arguments &arguments, const char *path, int *status) {
    std::vector<unsigned char> bytes;
    if (!readBytes(arguments, path, &bytes)) {
        *status = kTrouble;
        return nullptr;
    }
    return treeOf(arguments, path, bytes, status);
}

Tree treeOf(const Arguments &arguments, const char *path, std::vector<unsigned char> &bytes,
            int *status) {
    // An empty file, or a file of another kind, is named as such rather than read as chunks.
    *status = kNegative;
    if (bytes.empty()) {
        report(arguments, "%s: the file is empty.\n", picture::fileName(path).c_str());
        return nullptr;
    }
    if (const std::string kind = picture::otherKindOf(bytes); !kind.empty()) {
        report(arguments, "%s is %s, not an IFF file.\n", picture::fileName(path).c_str(),
               kind.c_str());
        return nullptr;
    }
    FILE *memory = fmemopen(bytes.data(), bytes.size(), "rb");
    Tree tree(memory != nullptr ? IFF_readFd(memory, extension(), extensionLength()) : nullptr);
    if (memory != nullptr) {
        fclose(memory);
    }
    *status = kSuccess;
    if (tree == nullptr) {
        report(arguments, "%s: not a readable IFF-85 file\n", path);
        *status = kNegative;
    }
    return tree;
}

bool readBytes(const Arguments &arguments, const char *path, std::vector<unsigned char> *bytes) {
    std::string error;
    if (!picture::readWholeFile(path, picture::ReadLimit{}, bytes, &error)) {
        report(arguments, "%s\n", error.c_str());
        return false;
    }
    return true;
}

int writeFile(const Arguments &arguments, const char *path, const unsigned char *data,
              size_t size) {
    std::string error;
    if (!picture::writeWholeFile(path, data, size, &error)) {
        report(arguments, "%s\n", error.c_str());
        return kTrouble;
    }
    return kSuccess;
}

} // namespace quillfen_iff
