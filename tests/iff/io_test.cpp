// IDs, big-endian fields, padding bytes, messages and indentation.
#include "testing.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <thread>

using namespace ifftest;

namespace {

// The bytes that fn writes to a stream.
Bytes writtenBy(const std::function<void(FILE *)> &fn) {
    char *buffer = nullptr;
    size_t size = 0;
    FILE *file = open_memstream(&buffer, &size);
    fn(file);
    fclose(file);
    Bytes out(buffer, buffer + size);
    free(buffer);
    return out;
}

} // namespace

TEST(IffFields, BigEndianValuesOfEveryWidthReadAndWritten) {
    const Bytes bytes = {0x12, 0x34, 0xff, 0xfe, 0x80, 0x00, 0x00, 0x01, 0xff,
                         0xff, 0xff, 0xfe, 0xab, 'C',  'A',  'T',  ' '};
    MemoryFile file(bytes);
    IFF_UWord uword = 0;
    IFF_Word word = 0;
    IFF_ULong ulong = 0;
    IFF_Long slong = 0;
    IFF_UByte ubyte = 0;
    IFF_ID catId;
    ASSERT_TRUE(IFF_readUWord(file.get(), &uword, "TEST", "uword") &&
                IFF_readWord(file.get(), &word, "TEST", "word") &&
                IFF_readULong(file.get(), &ulong, "TEST", "ulong") &&
                IFF_readLong(file.get(), &slong, "TEST", "long") &&
                IFF_readUByte(file.get(), &ubyte, "TEST", "ubyte") &&
                IFF_readId(file.get(), catId, "TEST", "id"));
    EXPECT_EQ(uword, 0x1234);
    EXPECT_EQ(word, -2);
    EXPECT_EQ(ulong, 0x80000001u);
    EXPECT_EQ(slong, -2);
    EXPECT_EQ(ubyte, 0xab);
    EXPECT_EQ(writtenBy([](FILE *f) {
                  EXPECT_TRUE(
                      IFF_writeUWord(f, 0x1234, "TEST", "a") && IFF_writeWord(f, -2, "TEST", "b") &&
                      IFF_writeULong(f, 0x80000001u, "TEST", "c") &&
                      IFF_writeLong(f, -2, "TEST", "d") && IFF_writeUByte(f, 0xab, "TEST", "e") &&
                      IFF_writeId(f, "CAT ", "TEST", "f"));
              }),
              bytes);
}

TEST(IffFields, ShortReadsFailWithTheFieldNamed) {
    Messages messages;
    IFF_UWord uword = 0;
    IFF_Long slong = 0;
    IFF_UByte ubyte = 0;
    IFF_ID readId;
    const struct {
        Bytes bytes;
        std::function<int(FILE *)> read;
        const char *message;
    } cases[] = {
        {{0x12},
         [&](FILE *f) { return IFF_readUWord(f, &uword, "BMHD", "nPlanes"); },
         "Error reading 'BMHD'.nPlanes\n"},
        {{1, 2, 3},
         [&](FILE *f) { return IFF_readLong(f, &slong, "FORM", "chunkSize"); },
         "Error reading 'FORM'.chunkSize\n"},
        {{},
         [&](FILE *f) { return IFF_readUByte(f, &ubyte, "CMAP", "red"); },
         "Error reading 'CMAP'.red\n"},
        {{'L', 'I', 'S'},
         [&](FILE *f) { return IFF_readId(f, readId, "LIST", "contentsType"); },
         "Error reading 'LIST'.contentsType\n"},
    };
    for (const auto &c : cases) {
        messages.clear();
        MemoryFile file(c.bytes);
        EXPECT_FALSE(c.read(file.get()));
        EXPECT_EQ(messages.text(), c.message);
    }
}

TEST(IffFields, WritesToAStreamThatRefusesThemFail) {
    Messages messages;
    FILE *file = fopen("/dev/full", "wb");
    ASSERT_NE(file, nullptr);
    setvbuf(file, nullptr, _IONBF, 0);
    EXPECT_FALSE(IFF_writeUWord(file, 1, "BMHD", "w"));
    EXPECT_FALSE(IFF_writeUByte(file, 1, "BMHD", "nPlanes"));
    EXPECT_FALSE(IFF_writePaddingByte(file, 3, "BODY"));
    fclose(file);
    EXPECT_EQ(messages.text(), "Error writing 'BMHD'.w\nError writing 'BMHD'.nPlanes\n"
                               "Cannot write padding byte of 'BODY'\n");
}

TEST(IffFields, PaddingByteFollowsOnlyOddBodies) {
    Messages messages;
    MemoryFile file({0x00, 0x20, 0x55});
    EXPECT_TRUE(IFF_readPaddingByte(file.get(), 8, "ABCD"));
    EXPECT_EQ(file.position(), 0);
    EXPECT_TRUE(IFF_readPaddingByte(file.get(), 7, "ABCD"));
    EXPECT_EQ(file.position(), 1);
    EXPECT_EQ(messages.text(), "");
    EXPECT_TRUE(IFF_readPaddingByte(file.get(), 7, "ABCD"));
    EXPECT_EQ(messages.text(), "WARNING: Padding byte is non-zero!\n");
    messages.clear();
    fgetc(file.get());
    EXPECT_FALSE(IFF_readPaddingByte(file.get(), 1, "ABCD"));
    EXPECT_EQ(messages.text(), "Unexpected end of file, while reading padding byte of 'ABCD'\n");

    EXPECT_EQ(writtenBy([](FILE *f) {
                  EXPECT_TRUE(IFF_writePaddingByte(f, 4, "ABCD"));
                  EXPECT_TRUE(IFF_writePaddingByte(f, 5, "ABCD"));
              }),
              Bytes{0});
}

TEST(IffIds, Check) {
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
        EXPECT_EQ(messages.text(), c.message);
    }
}

TEST(IffOutput, IdsShowEveryByte) {
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

namespace {

std::string caughtOnMain, caughtOnOther;

void catchOnMain(const char *format, va_list ap) {
    char line[256];
    vsnprintf(line, sizeof line, format, ap);
    caughtOnMain += line;
}

void catchOnOther(const char *format, va_list ap) {
    char line[256];
    vsnprintf(line, sizeof line, format, ap);
    caughtOnOther += line;
}

// Reads a broken file many times over, then says who it is.
void readBroken(const Bytes &bytes, const char *who) {
    for (int i = 0; i < 200; i++)
        IFF_free(readBytes(bytes), nullptr, 0);
    IFF_error("%s\n", who);
}

} // namespace

TEST(IffOutput, EachThreadCatchesItsOwnMessages) {
    // Two threads read broken files at the same time, each with a callback of its own: neither
    // sees the other's messages, and one thread's assignment leaves the other's callback alone.
    caughtOnMain.clear();
    caughtOnOther.clear();
    IFF_errorCallback = catchOnMain;
    std::thread other([&] {
        EXPECT_EQ(IFF_errorCallback, IFF_errorCallbackStderr);
        IFF_errorCallback = catchOnOther;
        readBroken(cat({group("FORM", "TEST", {}), Bytes{7}}), "other");
    });
    readBroken(cat({id("FORM"), be32(12), id("TEST")}), "main");
    other.join();
    IFF_error("main again\n");
    IFF_errorCallback = IFF_errorCallbackStderr;
    const std::string last = "ERROR: cannot open main chunk!\nmain\nmain again\n";
    EXPECT_EQ(caughtOnMain.substr(caughtOnMain.size() - last.size()), last);
    EXPECT_EQ(caughtOnMain.find("Trailing"), std::string::npos);
    EXPECT_EQ(caughtOnOther.find("main"), std::string::npos);
    EXPECT_NE(caughtOnOther.find("WARNING: Trailing IFF contents found: 7!\nother\n"),
              std::string::npos);
}
