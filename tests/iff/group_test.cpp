// FORM, CAT, LIST and PROP: reading, writing, the structural rules, printing and comparing.
#include "testing.h"

#include <gtest/gtest.h>

using namespace ifftest;

namespace {

// Checks a tree and gives the messages of the check.
std::string checkMessages(IFF_Chunk *tree, int expected) {
    Messages messages;
    EXPECT_EQ(IFF_check(tree, testExtension, testExtensionLength), expected);
    return messages.text();
}

} // namespace

TEST(IffGroup, DeclaredSizeIsKeptAndCheckedAgainstTheBody) {
    // An empty FORM reads nothing past its type.
    MemoryFile file(cat({group("FORM", "TEST", {}), id("JUNK")}));
    IFF_Chunk *empty = IFF_readChunk(file.get(), nullptr, testExtension, testExtensionLength);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(file.position(), 12);
    EXPECT_EQ(reinterpret_cast<const IFF_Form *>(empty)->chunkLength, 0u);
    EXPECT_EQ(empty->chunkSize, 4);
    EXPECT_EQ(checkMessages(empty, 1), "");
    IFF_free(empty, testExtension, testExtensionLength);

    const Bytes a = chunk("AAAA", {1, 2, 3});
    const Bytes b = chunk("BBBB", {4, 5});
    // Sub-chunks total 4 + 12 + 10 = 26; declare one less.
    IFF_Chunk *tree = readBytes(group("FORM", "TEST", {a, b}, 25));
    ASSERT_NE(tree, nullptr);
    const IFF_Form *form = reinterpret_cast<const IFF_Form *>(tree);
    EXPECT_EQ(form->chunkLength, 2u);
    EXPECT_EQ(form->chunkSize, 25);
    EXPECT_EQ(checkMessages(tree, 0), "Chunk size mismatch! FORM size: 25, while body has: 26\n");
    IFF_free(tree, nullptr, 0);

    // Declared short of the second chunk's start: reading stops after the first.
    Messages messages;
    tree = readBytes(group("FORM", "TEST", {a, b}, 16));
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(reinterpret_cast<const IFF_Form *>(tree)->chunkLength, 1u);
    EXPECT_EQ(messages.text(), "WARNING: Trailing IFF contents found: 66!\n");
    IFF_free(tree, nullptr, 0);
}

TEST(IffGroup, StructuralRulesRefuseMisplacedChunks) {
    IFF_Form *form = IFF_createForm("TEST");
    IFF_addToForm(form, asChunk(IFF_createProp("TEST")));
    IFF_List *list = IFF_createList("TEST");
    IFF_Prop *prop = IFF_createProp("TEST"); // inside a LIST, where PROPs belong
    IFF_addToProp(prop, asChunk(IFF_createForm("TEST")));
    IFF_addPropToList(list, prop);
    IFF_CAT *catGroup = IFF_createCAT("TEST");
    IFF_addToCAT(catGroup, asChunk(rawChunk("DATA", {1})));
    IFF_Form *extended = IFF_createForm("TEST"); // an extension's own check, reached through it
    IFF_addToForm(extended, asChunk(createHead(0xdead)));
    const struct {
        IFF_Chunk *tree;
        const char *message;
    } cases[] = {
        {asChunk(form), "ERROR: Element with chunk Id: 'PROP' not allowed in FORM chunk!\n"},
        {asChunk(list), "ERROR: Element with chunk Id: 'FORM' not allowed in PROP chunk!\n"},
        {asChunk(catGroup), "ERROR: Element with chunk Id: 'DATA' not allowed in CAT chunk!\n"},
        {asChunk(extended), "'HEAD'.value may not be dead!\n"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(checkMessages(c.tree, 0), c.message);
        IFF_free(c.tree, testExtension, testExtensionLength);
    }
}

TEST(IffGroup, FormTypeRules) {
    const std::string lowercase =
        "No lowercase characters or punctuation marks allowed in a form type ID!\n";
    const auto refused = [](const char *type) {
        return std::string("Form type: '") + type + "' not allowed!\n";
    };
    const struct {
        const char *type;
        std::string message; // none when the type is allowed
    } cases[] = {{"ILBM", ""},
                 {"PBM ", ""},
                 {"8SVX", ""},
                 {"LIS0", ""},
                 {"ilbm", lowercase},
                 {"ILBm", lowercase},
                 {"IL.M", lowercase},
                 {"FOR3", refused("FOR3")},
                 {"LIS9", refused("LIS9")},
                 {"CAT1", refused("CAT1")},
                 {"JJJJ", refused("JJJJ")},
                 {"CAT ", refused("CAT ")},
                 {"PROP", refused("PROP")},
                 {" ABC", "Spaces may not precede an ID!\n"}};
    for (const auto &c : cases) {
        Messages messages;
        EXPECT_EQ(IFF_checkFormType(c.type), c.message.empty()) << c.type;
        EXPECT_EQ(messages.text(), c.message) << c.type;
    }

    // A LIST's contents type is only an ID; a FORM's type is a form type.
    IFF_List *list = IFF_createList("ilbm");
    EXPECT_EQ(checkMessages(asChunk(list), 1), "");
    IFF_free(asChunk(list), nullptr, 0);
    IFF_Form *form = IFF_createForm("ilbm");
    EXPECT_EQ(checkMessages(asChunk(form), 0), lowercase);
    IFF_free(asChunk(form), nullptr, 0);
}

TEST(IffGroup, ContentsTypeOfCatAndList) {
    IFF_CAT *any = IFF_createCAT("JJJJ");
    IFF_addToCAT(any, asChunk(IFF_createForm("ILBM")));
    IFF_addToCAT(any, asChunk(IFF_createForm("ACBM")));
    IFF_addToCAT(any, asChunk(IFF_createList("8SVX")));
    EXPECT_EQ(checkMessages(asChunk(any), 1), "");
    IFF_free(asChunk(any), nullptr, 0);

    struct Case {
        IFF_Chunk *sub;
        const char *message;
    } cases[] = {
        {asChunk(IFF_createForm("ACBM")), "Sub form does not match contentsType of the CAT!\n"},
        {asChunk(IFF_createList("ACBM")), "Sub list does not match contentsType of the CAT!\n"},
        {asChunk(IFF_createCAT("ACBM")), "Sub cat does not match contentsType of the CAT!\n"},
    };
    for (const Case &c : cases) {
        IFF_CAT *ilbm = IFF_createCAT("ILBM");
        IFF_addToCAT(ilbm, asChunk(IFF_createForm("ILBM")));
        IFF_addToCAT(ilbm, c.sub);
        EXPECT_EQ(checkMessages(asChunk(ilbm), 0), c.message);
        IFF_free(asChunk(ilbm), nullptr, 0);
    }

    // The same words when the group checked is a LIST.
    IFF_List *list = IFF_createList("ILBM");
    IFF_addToList(list, asChunk(IFF_createForm("ACBM")));
    EXPECT_EQ(checkMessages(asChunk(list), 0), cases[0].message);
    IFF_free(asChunk(list), nullptr, 0);
}

TEST(IffGroup, ListKeepsPropsApartAndWritesThemFirst) {
    const Bytes prop1 = group("PROP", "TEST", {chunk("HEAD", be16(1))});
    const Bytes form = group("FORM", "TEST", {chunk("BODY", {7, 7})});
    const Bytes prop2 = group("PROP", "TSTB", {chunk("HEAD", be16(2))});
    const Bytes file = group("LIST", "TEST", {prop1, form, prop2});
    IFF_Chunk *tree = readBytes(file, testExtension, testExtensionLength);
    ASSERT_NE(tree, nullptr);
    const IFF_List *list = reinterpret_cast<const IFF_List *>(tree);
    EXPECT_EQ(list->propLength, 2u);
    EXPECT_EQ(list->chunkLength, 1u);
    EXPECT_EQ(list->prop[0]->parent, reinterpret_cast<const IFF_Group *>(list));
    EXPECT_EQ(reinterpret_cast<const Head *>(list->prop[1]->chunk[0])->value, 2);
    EXPECT_EQ(checkMessages(tree, 1), "");

    const Bytes out = written(tree, testExtension, testExtensionLength);
    EXPECT_EQ(out, group("LIST", "TEST", {prop1, prop2, form}));
    EXPECT_EQ(out.size(), file.size());

    // The PROPs printed apart, before the FORMs.
    const std::string dump =
        printed([&] { IFF_print(tree, 0, testExtension, testExtensionLength); });
    EXPECT_NE(dump.find("  contentsType = 'TEST';\n  prop = [\n    'PROP' = {\n"),
              std::string::npos)
        << dump;
    EXPECT_LT(dump.find("formType = 'TSTB'"), dump.find("'FORM' = {"));
    IFF_free(tree, testExtension, testExtensionLength);
}

TEST(IffGroup, CompareIsOrderAndContentSensitive) {
    auto build = [](const char *first, const char *second, IFF_UWord value) {
        IFF_List *list = IFF_createList("TEST");
        IFF_Prop *prop = IFF_createProp("TEST");
        IFF_addToProp(prop, asChunk(createHead(value)));
        IFF_addPropToList(list, prop);
        IFF_Form *form = IFF_createForm("TEST");
        IFF_addToForm(form, asChunk(rawChunk(first, {1, 2})));
        IFF_addToForm(form, asChunk(rawChunk(second, {3, 4})));
        IFF_addToList(list, asChunk(form));
        return asChunk(list);
    };
    IFF_Chunk *a = build("AAAA", "BBBB", 1);
    IFF_Chunk *same = build("AAAA", "BBBB", 1);
    IFF_Chunk *swapped = build("BBBB", "AAAA", 1);
    IFF_Chunk *otherProp = build("AAAA", "BBBB", 2);
    EXPECT_TRUE(IFF_compare(a, same, testExtension, testExtensionLength));
    EXPECT_FALSE(IFF_compare(a, swapped, testExtension, testExtensionLength));
    EXPECT_FALSE(IFF_compare(a, otherProp, testExtension, testExtensionLength));

    // Same contents, different type; and a PROP whose declared size alone differs.
    IFF_Chunk *otherType = build("AAAA", "BBBB", 1);
    IFF_createId(reinterpret_cast<IFF_List *>(otherType)->groupType, "TSTB");
    EXPECT_FALSE(IFF_compare(a, otherType, testExtension, testExtensionLength));
    reinterpret_cast<IFF_List *>(same)->prop[0]->chunkSize += 2;
    EXPECT_FALSE(IFF_compare(a, same, testExtension, testExtensionLength));
    for (IFF_Chunk *tree : {a, same, swapped, otherProp, otherType})
        IFF_free(tree, testExtension, testExtensionLength);
}
