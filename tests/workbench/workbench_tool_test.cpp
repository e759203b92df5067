// The Workbench tool without its widgets: lists read from text and from a file's bytes, the
// message, the rows with their notes, an instruction's fields and the frame. The lines and colours
// are worked out by hand from the words (a WAIT for line $2c takes effect on that line; see
// tests/amiga/copperframe_test.cpp for the beam); the listing's own text is the amiga library's.
#include "workbench/WorkbenchTool.h"

#include "QtPrinters.h"
#include <gtest/gtest.h>

namespace {

// Red to $2b, green from $2c to $12b (past the end of line $ff), blue from $12c; colour 1 white
// from $2c.
const char *const skyAndGround = "\tdc.w\tCOLOR00,$0f00\n"
                                 "\tdc.w\t$2c07,$fffe,COLOR00,$00f0,COLOR01,$0fff\n"
                                 "\tdc.w\t$ffdf,$fffe\n"
                                 "\tdc.w\t$2c07,$fffe,COLOR00,$000f\n"
                                 "\tdc.w\t$ffff,$fffe\n";
const char *const refusedMove = "\tdc.w\t$0020,$0000\n";

WorkbenchTool listed(const QString &text, bool aga = false, bool ntsc = false) {
    WorkbenchTool tool;
    tool.aga = aga;
    tool.ntsc = ntsc;
    EXPECT_TRUE(tool.read(text)) << text;
    tool.disassemble();
    return tool;
}

QStringList rows(const WorkbenchTool &tool) {
    QStringList texts;
    for (const amiga::CopperListEntry &entry : tool.listing().entries)
        texts << WorkbenchTool::rowText(entry);
    return texts;
}

const amiga::Rgb8 red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255}, white{255, 255, 255},
    black{0, 0, 0};

} // namespace

// Each row: its byte offset, its line, its explanation; a row's notes say what the copper
// cannot do, a line each.
TEST(WorkbenchTool, ReadsTextIntoRowsWithTheirMessage) {
    // clang-format off
    const struct {
        const char *text, *message;
        QStringList rows;
    } cases[] = {
        {"\tdc.w\t$0100,$5200,$0180,$0fff\n", "2 instruction(s).",
         {"00000  dc.w BPLCON0,$5200  ; BPU=5 COLOR", "00004  dc.w COLOR00,$0fff  ; colour 0 = $fff"}},
        {"0180 0502\n", "1 instruction(s).", {"00000  dc.w COLOR00,$0502  ; colour 0 = $502"}},
        {refusedMove, "1 instruction(s); the copper cannot perform every one (shown in red).", {}}};
    // clang-format on
    for (const auto &c : cases) {
        const WorkbenchTool tool = listed(c.text);
        EXPECT_EQ(tool.message(), c.message);
        EXPECT_EQ(rows(tool).mid(0, c.rows.size()), c.rows);
    }
    const WorkbenchTool tool = listed(skyAndGround);
    EXPECT_EQ(tool.message(), "8 instruction(s).");
    EXPECT_EQ(WorkbenchTool::rowNotes(listed(refusedMove).listing().entries.at(0)),
              "the copper cannot write registers $000-$03e");
    EXPECT_EQ(WorkbenchTool::rowNotes(tool.listing().entries.at(0)), "");
}

// Five errors at most; symbols that cannot be read: nothing is read. The last list stays.
TEST(WorkbenchTool, TextThatCannotBeReadSaysWhereAndKeepsTheLastList) {
    WorkbenchTool tool = listed("0180 0502\n");
    const struct {
        QString text;
        int messageLines;
        const char *first;
    } cases[] = {
        {"0180 0502\n\tdc.w\tCOLOR00,(1\n", 1, "Line 2, column 15: a '(' that is not closed"},
        {QString("\tdc.w\tCOLOR00,(1\n").repeated(7), 5, "Line 1, column 15: a '('"},
        {"0180 0502\n", 1, "Symbols: 'sky'"},
    };
    for (const auto &c : cases) {
        tool.symbols = c.first[0] == 'S' ? "sky" : "";
        EXPECT_FALSE(tool.read(c.text));
        EXPECT_EQ(tool.message().count('\n') + 1, c.messageLines);
        EXPECT_TRUE(tool.message().startsWith(c.first)) << tool.message();
        EXPECT_EQ(rows(tool), QStringList{"00000  dc.w COLOR00,$0502  ; colour 0 = $502"});
        EXPECT_EQ(tool.frame().colour(0, 0), (amiga::Rgb8{0x55, 0, 0x22}));
    }
}

// A symbol the text does not define: its word is counted as not known and its colour is none
// in the frame; a directive is passed over with a note; the symbols give it a value.
TEST(WorkbenchTool, SymbolsTheTextDoesNotDefine) {
    const QString text = "\tdc.w\tCOLOR00,$0f00\n\tsection\tc,data_c\n"
                         "\tdc.w\t$2c07,$fffe,COLOR00,sky\n";
    WorkbenchTool tool = listed(text);
    EXPECT_TRUE(tool.message().contains("1 with a word not known")) << tool.message();
    EXPECT_TRUE(tool.message().contains("Line 2: section passed over"));
    EXPECT_EQ(tool.frame().colour(0, 0), red);
    EXPECT_FALSE(tool.frame().colourKnown(0x2c, 0));
    tool.symbols = "sky=$00f";
    ASSERT_TRUE(tool.read(text));
    tool.disassemble();
    EXPECT_TRUE(tool.listingText().endsWith("\tdc.w\tCOLOR00,$000f\t; colour 0 = $00f\n"))
        << tool.listingText();
    EXPECT_EQ(tool.frame().colour(0x2c, 0), blue);
}

// Two bytes of something else, then BPLCON3 bank 1, COLOR00 $0f0 and the end; a memory view has
// eight words a line; an odd number of bytes after the offset is refused.
TEST(WorkbenchTool, AFilesBytesAsTextOrAsWordsFromAnOffset) {
    const QByteArray words = QByteArray::fromHex("beef01062000018000f0fffffffe");
    const struct {
        QByteArray bytes;
        bool binary;
        std::size_t offset;
        std::optional<QString> source;
    } cases[] = {
        {"\tdc.w\t$0180,$0502\n", false, 0, "\tdc.w\t$0180,$0502\n"},
        {words, true, 2, "0106 2000 0180 00f0 ffff fffe\n"},
        {QByteArray(18, '\x11'), true, 0, "1111 1111 1111 1111 1111 1111 1111 1111\n1111\n"},
        {words, true, 3, std::nullopt},
    };
    for (const auto &c : cases) {
        WorkbenchTool tool;
        EXPECT_EQ(tool.sourceOfFile(c.bytes, c.binary, c.offset), c.source);
        EXPECT_EQ(tool.message().contains("odd number of bytes"), !c.source);
    }
    // Text has no control characters but tabs, line ends, vertical tabs and form feeds.
    // clang-format off
    const std::pair<QByteArray, bool> heads[] = {{"\tdc.w\t$0180,$0502\r\n\v\f", false},
        {"", false}, {QByteArray("\x01\x80", 2), true}, {"\x1b", true}, {"\b", true},
        {QByteArray(1, '\0'), true}};
    // clang-format on
    for (const auto &[head, binary] : heads)
        EXPECT_EQ(WorkbenchTool::looksBinary(head), binary) << head.toHex().toStdString();
}

// On AGA, BPLCON3's bank 1 makes COLOR00 colour 32; OCS has no banks. An NTSC frame ends after
// line $105: the blue never comes.
TEST(WorkbenchTool, TheChipSetAndTheFrameDecideWhatTheListShows) {
    const QString banked = "0106 2000 0180 00f0 ffff fffe\n";
    // clang-format off
    const struct {
        QString text;
        bool aga, ntsc;
        int colourIndex; // of the second row: -1 for a row that sets no colour
        int lines;
        std::vector<std::tuple<int, int, amiga::Rgb8>> colours; // line, register, colour
    } cases[] = {
        {banked, true, false, 32, 312, {{0, 32, green}, {0, 0, black}}},
        {banked, false, false, 0, 312, {{0, 0, green}}},
        {skyAndGround, false, false, -1, 312, {{0x2b, 0, red}, {0x12c, 0, blue}, {0x2c, 1, white}}},
        {skyAndGround, false, true, -1, 262, {{0x105, 0, green}}}};
    // clang-format on
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const WorkbenchTool tool = listed(c.text, c.aga, c.ntsc);
        EXPECT_EQ(tool.listing().entries.at(1).colourIndex, c.colourIndex);
        const amiga::CopperFrame frame = tool.frame();
        EXPECT_EQ(frame.lineCount(), c.lines);
        for (const auto &[line, index, colour] : c.colours)
            EXPECT_EQ(frame.colour(line, index), colour) << line << " " << index;
    }
}

// The second WAIT for line $2c runs after the wrap, on line $12c; no row, no fields.
TEST(WorkbenchTool, AnInstructionsFields) {
    const WorkbenchTool tool = listed(skyAndGround);
    for (int row : {-1, 8})
        EXPECT_EQ(tool.fieldsText(row), "Select an instruction to see its fields.");
    const QString wait = tool.fieldsText(5);
    EXPECT_TRUE(wait.startsWith("<table><tr><td>words</td><td><tt>$2c07,$fffe</tt></td></tr>"))
        << wait;
    EXPECT_TRUE(wait.contains("line $12c")) << wait;
    EXPECT_TRUE(
        listed(refusedMove)
            .fieldsText(0)
            .endsWith(
                "<p style=\"color:#c01010\">the copper cannot write registers $000-$03e</p>"));
}
