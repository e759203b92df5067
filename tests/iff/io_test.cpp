// IDs, big-endian fields, padding bytes, the messages that name them, and their callbacks.
#include "testing.h"

#include <gtest/gtest.h>

#include <thread>

using namespace ifftest;

TEST(IffFields, BigEndianValuesOfEveryWidthReadAndWritten) {
    const Bytes bytes = {0x12, 0x34, 0xff, 0xfe, 0x80, 0x00, 0x00,
                         0x01, 0xff, 0xff, 0xff, 0xfe, 0xab};
    MemoryFile file(bytes);
    IFF_UWord uword = 0;
    IFF_Word word = 0;
    IFF_ULong ulong = 0;
    IFF_Long slong = 0;
    IFF_UByte ubyte = 0;
    ASSERT_TRUE(IFF_readUWord(file.get(), &uword, "TEST", "uword") &&
                IFF_readWord(file.get(), &word, "TEST", "word") &&
                IFF_readULong(file.get(), &ulong, "TEST", "ulong") &&
                IFF_readLong(file.get(), &slong, "TEST", "long") &&
                IFF_readUByte(file.get(), &ubyte, "TEST", "ubyte"));
    EXPECT_EQ(uword, 0x1234);
    EXPECT_EQ(word, -2);
    EXPECT_EQ(ulong, 0x80000001u);
    EXPECT_EQ(slong, -2);
    EXPECT_EQ(ubyte, 0xab);
    EXPECT_EQ(streamed([](FILE *f) {
                  EXPECT_TRUE(
                      IFF_writeUWord(f, 0x1234, "TEST", "a") && IFF_writeWord(f, -2, "TEST", "b") &&
                      IFF_writeULong(f, 0x80000001u, "TEST", "c") &&
                      IFF_writeLong(f, -2, "TEST", "d") && IFF_writeUByte(f, 0xab, "TEST", "e"));
              }),
              bytes);
}

// Where the padding byte is read and written: group_test (odd chunks in a FORM).
TEST(IffFields, FailedReadsAndWritesNameTheField) {
    Messages messages;
    IFF_UWord uword = 0;
    IFF_UByte ubyte = 0;
    IFF_ID readId;
    MemoryFile cut({'L', 'I', 'S'});
    EXPECT_FALSE(IFF_readId(cut.get(), readId, "LIST", "contentsType"));
    MemoryFile half({0x12}); // half a word, then nothing
    EXPECT_FALSE(IFF_readUWord(half.get(), &uword, "BMHD", "nPlanes"));
    EXPECT_FALSE(IFF_readUByte(half.get(), &ubyte, "CMAP", "red"));
    MemoryFile padding({0x20}); // a padding byte that is not zero only warns
    EXPECT_TRUE(IFF_readPaddingByte(padding.get(), 7, "ABCD"));
    EXPECT_FALSE(IFF_readPaddingByte(padding.get(), 1, "ABCD"));
    FILE *full = fopen("/dev/full", "wb");
    ASSERT_NE(full, nullptr);
    setvbuf(full, nullptr, _IONBF, 0);
    EXPECT_FALSE(IFF_writeUWord(full, 1, "BMHD", "w"));
    EXPECT_FALSE(IFF_writeUByte(full, 1, "BMHD", "nPlanes"));
    EXPECT_FALSE(IFF_writePaddingByte(full, 3, "BODY"));
    fclose(full);
    EXPECT_EQ(messages.text(),
              "Error reading 'LIST'.contentsType\nError reading 'BMHD'.nPlanes\n"
              "Error reading 'CMAP'.red\nWARNING: Padding byte is non-zero!\n"
              "Unexpected end of file, while reading padding byte of 'ABCD'\n"
              "Error writing 'BMHD'.w\n"
              "Error writing 'BMHD'.nPlanes\nCannot write padding byte of 'BODY'\n");
}

TEST(IffIds, CheckedAndShownByteByByte) {
    const struct {
        const char chunkId[5];
        std::string message; // none when the ID is sound
    } cases[] = {{"CAT ", ""},
                 {"AB D", ""},
                 {" ABC", "Spaces may not precede an ID!\n"},
                 {"AB\tD", "Illegal character: '\t' in ID!\n"},
                 {"A\x80"
                  "CD",
                  "Illegal character: '\x80' in ID!\n"},
                 {"AB~\x7f", "Illegal character: '\x7f' in ID!\n"}};
    for (const auto &c : cases) {
        Messages messages;
        EXPECT_EQ(IFF_checkId(c.chunkId), c.message.empty()) << c.chunkId;
        EXPECT_EQ(messages.text(), c.message) << c.chunkId;
    }
    // Bytes that a terminal would swallow or garble are shown as \x and two hexadecimal digits,
    // so that an ID of zero bytes does not print as ''.
    const char zeroed[4] = {'A', '\0', '\0', 'B'};
    const char odd[4] = {'\t', '\xff', '\\', '~'};
    EXPECT_EQ(printed([&] { IFF_printId(zeroed); }), "A\\x00\\x00B");
    EXPECT_EQ(printed([&] { IFF_printId(odd); }), "\\x09\\xff\\\\~");
    Messages messages;
    IFF_errorId(zeroed);
    IFF_readError(odd, "chunkSize");
    EXPECT_EQ(messages.text(), "A\\x00\\x00BError reading '\\x09\\xff\\\\~'.chunkSize\n");
}

TEST(IffOutput, EachThreadCatchesItsOwnMessages) {
    // Two threads read broken files at the same time, each catching its messages: neither sees
    // the other's, and a callback assigned on one thread leaves the other's alone.
    const auto readBroken = [](const Bytes &bytes, const char *who) {
        for (int i = 0; i < 200; i++)
            IFF_free(readBytes(bytes), nullptr, 0);
        IFF_error("%s\n", who);
    };
    Messages onMain;
    std::string onOther;
    std::thread other([&] {
        EXPECT_EQ(IFF_errorCallback, IFF_errorCallbackStderr);
        Messages messages;
        readBroken(cat({group("FORM", "TEST", {}), Bytes{7}}), "other");
        onOther = messages.text();
    });
    readBroken(cat({id("FORM"), be32(12), id("TEST")}), "main");
    other.join();
    IFF_error("main again\n");
    const std::string last = "ERROR: cannot open main chunk!\nmain\nmain again\n";
    EXPECT_EQ(onMain.text().substr(onMain.text().size() - last.size()), last);
    EXPECT_EQ(onMain.text().find("Trailing"), std::string::npos);
    EXPECT_EQ(onOther.find("main"), std::string::npos);
    EXPECT_NE(onOther.find("WARNING: Trailing IFF contents found: 7!\nother\n"), std::string::npos);
}
