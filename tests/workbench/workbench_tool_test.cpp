// The Workbench tool without its widgets: lists read from text and from a file's bytes, the
// message, the rows with their notes, an instruction's fields and the frame. The lines and colours
// are worked out by hand from the words (a WAIT for line $2c takes effect on that line; see
// tests/amiga/copperframe_test.cpp for the beam); the listing's own text is the amiga library's.
#include "workbench/WorkbenchTool.h"

#include "QtPrinters.h"
#include "golden_text.h"
#include <gtest/gtest.h>

#include <sstream>

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

} // namespace

// Each list (data/lists.txt): its message, its first rows and colours of its frame; a word over
// a symbol the text does not define gives no colour known.
TEST(WorkbenchTool, ReadsListsIntoRowsMessagesAndFrames) {
    const std::map<std::string, std::string> cases =
        golden::read(QUILLFEN_WORKBENCH_DATA "/lists.txt");
    ASSERT_EQ(cases.size(), 12u);
    for (const auto &[name, expected] : cases) {
        SCOPED_TRACE(name);
        const QStringList part = QString::fromStdString(expected).split("--\n");
        ASSERT_EQ(part.size(), 4);
        WorkbenchTool tool = listed("0180 0502\n");
        tool.aga = name.find("aga") != std::string::npos;
        tool.ntsc = name.find("ntsc") != std::string::npos;
        tool.symbols = QString::fromStdString(name).section("symbols=", 1);
        const bool readable = name.find("unreadable") == std::string::npos;
        EXPECT_EQ(tool.read(part[0]), readable);
        if (readable)
            tool.disassemble();
        const QStringList message = tool.message().split('\n');
        const QStringList starts = part[1].split('\n', Qt::SkipEmptyParts);
        EXPECT_EQ(message.size(), starts.size()) << tool.message();
        for (qsizetype i = 0; i < std::min(message.size(), starts.size()); ++i)
            EXPECT_TRUE(message[i].startsWith(starts[i])) << tool.message();
        const QStringList shown = part[2].split('\n', Qt::SkipEmptyParts);
        EXPECT_EQ(rows(tool).mid(0, shown.size()), shown);
        const amiga::CopperFrame frame = tool.frame();
        EXPECT_EQ(frame.lineCount(), tool.ntsc ? 262 : 312);
        std::istringstream in(part[3].toStdString());
        for (int line, index; in >> std::hex >> line >> std::dec >> index;) {
            unsigned rgb = 0;
            in >> std::hex >> rgb;
            EXPECT_EQ(
                frame.colour(line, index),
                (amiga::Rgb8{std::uint8_t(rgb >> 16), std::uint8_t(rgb >> 8), std::uint8_t(rgb)}))
                << line << " " << index;
        }
    }
    EXPECT_EQ(WorkbenchTool::rowNotes(listed(refusedMove).listing().entries.at(0)),
              "the copper cannot write registers $000-$03e");
    EXPECT_EQ(WorkbenchTool::rowNotes(listed(skyAndGround).listing().entries.at(0)), "");
    EXPECT_FALSE(listed("\tdc.w\t$2c07,$fffe,COLOR00,sky\n").frame().colourKnown(0x2c, 0));
}

// Text as it is; words as a memory view, eight a line; an odd number of bytes after the offset
// (three of six after 3) refused with a message. (The words from an offset are the library's,
// tests/amiga/copperlist_test.cpp; the tab's test reads a file from one.)
TEST(WorkbenchTool, AFilesBytesAsTextOrAsWordsFromAnOffset) {
    for (const auto &[bytes, binary, offset, source] :
         {std::tuple<QByteArray, bool, std::size_t, std::optional<QString>>{
              "\tdc.w\t$0180,$0502\n", false, 0, "\tdc.w\t$0180,$0502\n"},
          {QByteArray(18, '\x11'), true, 0, "1111 1111 1111 1111 1111 1111 1111 1111\n1111\n"},
          {QByteArray(6, '\x11'), true, 3, std::nullopt}}) {
        WorkbenchTool tool;
        EXPECT_EQ(tool.sourceOfFile(bytes, binary, offset), source);
        EXPECT_EQ(tool.message().contains("odd number of bytes"), !source);
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
