// FORM, CAT, LIST and PROP: declared sizes, the structural rules and comparing.
#include "testing.h"

#include <gtest/gtest.h>

using namespace ifftest;

TEST(IffGroup, DeclaredSizesAreKeptWhileTheBodysSizeIsWritten) {
    // A group is read until its sub-chunks reach the size it declares; the check reports a
    // declared size that differs from what the sub-chunks occupy, and the write warns and
    // writes what they occupy, so that what it writes reads back whole.
    const Bytes a = chunk("AAAA", {1, 2, 3}); // 12 bytes with the padding byte
    const Bytes b = chunk("BBBB", {4, 5});    // 10 bytes
    // A LIST that says it ends one byte into its PROP, which follows its FORM (22 bytes); the
    // PROP takes 4 + 10 + 28 + 8 = 50. Written with that size and its PROP first, the LIST
    // would end after the PROP and the FORM would be read outside it.
    const Bytes form = group("FORM", "TEST", {chunk("HEAD", be16(3))});
    const Bytes prop =
        group("PROP", "TEST", {chunk("HEAD", be16(4)), chunk("TEXT", Bytes(20, 'x'))});
    const auto both = [](const char *group, int size, int body) { // the check's, the write's
        const std::string mismatch = "Chunk size mismatch! " + std::string(group) +
                                     " size: " + std::to_string(size) +
                                     ", while body has: " + std::to_string(body);
        return mismatch + "\nWARNING: " + mismatch + "; the body's size is written!\n";
    };
    const struct {
        Bytes bytes;
        std::string messages; // of the read, the check and the write
        Bytes written;
    } cases[] = {
        {group("FORM", "TEST", {a, b}, 25), both("FORM", 25, 4 + 12 + 10),
         group("FORM", "TEST", {a, b})},
        // Declared short of the second sub-chunk's start: the read stops after the first.
        {group("FORM", "TEST", {a, b}, 16), "WARNING: Trailing IFF contents found: 66!\n",
         group("FORM", "TEST", {a})},
        {group("FORM", "TEST", {chunk("DATA", Bytes(20, 5))}, 12), both("FORM", 12, 4 + 28),
         group("FORM", "TEST", {chunk("DATA", Bytes(20, 5))})},
        {group("CAT ", "TEST", {}, 0), both("CAT ", 0, 4), group("CAT ", "TEST", {})},
        // An empty group reads nothing past its type.
        {cat({group("FORM", "TEST", {}), id("JUNK")}),
         "WARNING: Trailing IFF contents found: 74!\n", group("FORM", "TEST", {})},
        {group("LIST", "TEST", {form, prop}, 4 + 22 + 1), both("LIST", 27, 4 + 22 + 50),
         group("LIST", "TEST", {prop, form})},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(&c - cases);
        Messages messages;
        const Tree tree = read(c.bytes);
        ASSERT_NE(tree, nullptr) << messages.text();
        EXPECT_EQ(check(tree.get()), c.messages.find("body has") == std::string::npos);
        const Bytes out = write(tree.get());
        EXPECT_EQ(out, c.written) << c.messages;
        EXPECT_EQ(messages.text(), c.messages);
        messages.clear();
        const Tree again = read(out);
        EXPECT_TRUE(again != nullptr && check(again.get()) && write(again.get()) == out)
            << c.messages << messages.text();
    }
}

TEST(IffGroup, CheckRules) {
    const std::string lowercase =
        "No lowercase characters or punctuation marks allowed in a form type ID!\n";
    const auto refused = [](const char *type) {
        return std::string("Form type: '") + type + "' not allowed!\n";
    };
    const auto form = [](const char *type) { return group("FORM", type, {}); };
    const std::string top =
        "Not a valid IFF-85 file: First bytes should start with either: 'FORM', 'CAT ' or 'LIST'\n";
    const struct {
        Bytes bytes;
        std::string message; // none when the tree passes
    } cases[] = {
        {chunk("BMHD", Bytes(20, 0)), top},
        {group("PROP", "ILBM", {}), top},
        {group("FORM", "TEST", {group("PROP", "TEST", {})}),
         "ERROR: Element with chunk Id: 'PROP' not allowed in FORM chunk!\n"},
        {group("LIST", "TEST", {group("PROP", "TEST", {group("FORM", "TEST", {})})}),
         "ERROR: Element with chunk Id: 'FORM' not allowed in PROP chunk!\n"},
        {group("CAT ", "TEST", {chunk("DATA", {1})}),
         "ERROR: Element with chunk Id: 'DATA' not allowed in CAT chunk!\n"},
        {group("FORM", "TEST", {chunk("B\x01MD", {})}), "Illegal character: '\x01' in ID!\n"},
        // The chunk table's own check, reached through the FORM's type.
        {group("FORM", "TEST", {chunk("HEAD", be16(0x8000))}), "'HEAD'.value out of range!\n"},
        // A CAT or LIST holds groups of its contents type, of any type when it is JJJJ.
        {group("CAT ", "JJJJ",
               {group("FORM", "ILBM", {}), group("FORM", "ACBM", {}), group("LIST", "8SVX", {})}),
         ""},
        {group("CAT ", "ILBM", {group("FORM", "ILBM", {}), group("FORM", "ACBM", {})}),
         "Sub form does not match contentsType of the CAT!\n"},
        {group("CAT ", "ILBM", {group("LIST", "ACBM", {})}),
         "Sub list does not match contentsType of the CAT!\n"},
        {group("CAT ", "ILBM", {group("CAT ", "ACBM", {})}),
         "Sub cat does not match contentsType of the CAT!\n"},
        {group("LIST", "ILBM", {group("FORM", "ACBM", {})}),
         "Sub form does not match contentsType of the CAT!\n"},
        // A contents type is only an ID; a FORM's type is a form type.
        {group("LIST", "ilbm", {}), ""},
        {form("PBM "), ""},
        {form("8SVX"), ""},
        {form("LIS0"), ""},
        {form("ILBm"), lowercase},
        {form("IL.M"), lowercase},
        {form("FOR3"), refused("FOR3")},
        {form("LIS9"), refused("LIS9")},
        {form("CAT1"), refused("CAT1")},
        {form("JJJJ"), refused("JJJJ")},
        {form("CAT "), refused("CAT ")},
        {form(" ABC"), "Spaces may not precede an ID!\n"},
    };
    for (const auto &c : cases) {
        const Tree tree = read(c.bytes);
        ASSERT_NE(tree, nullptr) << (&c - cases);
        Messages messages;
        EXPECT_EQ(check(tree.get()), c.message.empty()) << (&c - cases);
        EXPECT_EQ(messages.text(), c.message) << (&c - cases);
    }
}

TEST(IffGroup, CompareLooksAtTypesIdsSizesOrderAndEveryByte) {
    const auto list = [](const char *type, uint16_t value, std::initializer_list<Bytes> chunks) {
        return group(
            "LIST", type,
            {group("PROP", "TEST", {chunk("HEAD", be16(value))}), group("FORM", "TEST", chunks)});
    };
    const Bytes x = chunk("AAAA", {1, 2, 3}), y = chunk("BBBB", {3, 4});
    const Tree a = read(list("TEST", 1, {x, y}));
    const struct {
        Bytes other;
        bool equal;
    } cases[] = {
        {list("TEST", 1, {x, y}), true},
        {list("TEST", 1, {y, x}), false},
        {list("TEST", 2, {x, y}), false}, // the chunk table's compare
        {list("FUZZ", 1, {x, y}), false},
        {list("TEST", 1, {chunk("AAAB", {1, 2, 3}), y}), false},
        {list("TEST", 1, {chunk("AAAA", {1, 2, 4}), y}), false},
        {list("TEST", 1, {chunk("AAAA", {1, 2, 3, 4}), y}), false}, // the FORMs' sizes equal
    };
    for (const auto &c : cases) {
        const Tree other = read(c.other);
        EXPECT_EQ(IFF_compare(a.get(), other.get(), fuzzExtension, fuzzExtensionLength), c.equal)
            << (&c - cases);
    }
    // A PROP whose size alone differs.
    const Tree same = read(list("TEST", 1, {x, y}));
    as<IFF_List>(same)->prop[0]->chunkSize += 2;
    EXPECT_FALSE(IFF_compare(a.get(), same.get(), fuzzExtension, fuzzExtensionLength));
}
