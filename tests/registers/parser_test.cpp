#include "registers/RegisterDataParser.h"

#include "LogCapture.h"
#include "QtPrinters.h"
#include <gtest/gtest.h>

namespace {

// Sixteen bit elements; the one at index `special` is replaced by `bitXml`.
QByteArray bitsXml(int special = -1, const QByteArray &bitXml = {}) {
    QByteArray xml;
    for (int i = 0; i < 16; ++i) {
        if (i == special)
            xml += bitXml;
        else
            xml += "<bit position=\"" + QByteArray::number(i) + "\" function=\"F" +
                   QByteArray::number(i) + "\">d" + QByteArray::number(i) + "</bit>\n";
    }
    return xml;
}

QByteArray registerXml(const QByteArray &name, const QByteArray &body = {}) {
    return "<register name=\"" + name + "\"><address>dff" + name.right(3) +
           "</address><summary>S " + name + "</summary>" + body + bitsXml() + "</register>\n";
}

QList<std::shared_ptr<Register>> parse(const QByteArray &xml) {
    RegisterDataParser parser;
    return parser.parse(xml);
}

QStringList names(const QList<std::shared_ptr<Register>> &list) {
    QStringList result;
    for (const auto &reg : list)
        result << reg->name;
    return result;
}

} // namespace

TEST(RegisterReader, ReadsEveryFieldInDocumentOrderUnderAnyRoot) {
    const QByteArray xml = "<?xml version=\"1.0\"?><db><chips><group>" +
                           registerXml("ZZZ100", "<note>n1</note><extra>e1</extra>") + "</group>" +
                           registerXml("AAA002") + "</chips></db>";
    const auto list = parse(xml);
    ASSERT_EQ(names(list), QStringList({"ZZZ100", "AAA002"}));
    const Register &first = *list[0];
    EXPECT_EQ(first.address, "dff100");
    EXPECT_EQ(first.summary, "S ZZZ100");
    EXPECT_EQ(first.note, "n1");
    EXPECT_EQ(first.extraInformation, "e1");
    EXPECT_FALSE(first.isAGA);
    ASSERT_EQ(first.bits.size(), 16);
    EXPECT_EQ(first.bits[15]->position, 15u);
    EXPECT_EQ(first.bits[15]->functionName, "F15");
    EXPECT_EQ(first.bits[15]->functionDescription, "d15");
    EXPECT_FALSE(first.bits[15]->groupName.has_value());
    EXPECT_EQ(first.bits[15]->groupPosition, 0u);
    EXPECT_TRUE(list[1]->note.isEmpty());
}

TEST(RegisterReader, BitAttributesConvertAsIntegerValueAndChipsetIsExact) {
    const QByteArray bits =
        "<bit position=\"12abc\" function=\"A\" group=\"G\" group-position=\" 2x\" "
        "chipset=\"aga\">a</bit>"
        "<bit position=\"abc\" function=\"B\" chipset=\"AGA\">b</bit>"
        "<bit function=\"C\" group=\"\" chipset=\"ecs\">  spaced text  </bit>";
    QByteArray rest;
    for (int i = 3; i < 16; ++i)
        rest += "<bit function=\"x\"/>";
    const auto list =
        parse("<r><register name=\"R\" chipset=\"aga\">" + bits + rest + "</register></r>");
    ASSERT_EQ(list.size(), 1);
    const auto &b = list[0]->bits;
    EXPECT_TRUE(list[0]->isAGA);
    EXPECT_EQ(b[0]->position, 12u);
    EXPECT_EQ(b[0]->groupName, QString("G"));
    EXPECT_EQ(b[0]->groupPosition, 2u);
    EXPECT_TRUE(b[0]->isAGA);
    EXPECT_EQ(b[1]->position, 0u);
    EXPECT_FALSE(b[1]->isAGA);
    EXPECT_FALSE(b[1]->groupName.has_value());
    // An empty group name is still a group; texts keep their white space.
    EXPECT_EQ(b[2]->groupName, QString(""));
    EXPECT_FALSE(b[2]->isAGA);
    EXPECT_EQ(b[2]->functionDescription, "  spaced text  ");
    // An empty element has no text, not the white space before it.
    EXPECT_EQ(b[3]->functionDescription, "");
}

TEST(RegisterReader, ElementsOutsideARegisterAndDroppedRegistersLeaveNoTrace) {
    const QByteArray xml = "<root><bit function=\"stray\"/><address>x</address>"
                           "<register name=\"LOST\"><address>1</address>"
                           "<register name=\"KEPT\"><summary>s</summary>" +
                           bitsXml() +
                           "</register><bit function=\"after\"/><note>n</note></register>" +
                           registerXml("NEXT004") + "</root>";
    LogCapture log;
    RegisterDataParser parser;
    const auto list = parser.parse(xml);
    // The second start drops LOST; the stray bit and note touch nothing.
    EXPECT_EQ(names(list), QStringList({"KEPT", "NEXT004"}));
    EXPECT_TRUE(list[0]->address.isEmpty());
    EXPECT_EQ(list[0]->bits.size(), 16);
    EXPECT_TRUE(list[1]->note.isEmpty());
    EXPECT_EQ(parser.registerInProgress(), nullptr);
    EXPECT_TRUE(log.lines.isEmpty());
}

TEST(RegisterReader, LaterChildWinsAndSplitTextIsJoined) {
    const QByteArray xml = "<r><register name=\"R\"><summary>old</summary><summary>new</summary>"
                           "<note>a &amp; b<![CDATA[ <c> ]]>d</note>" +
                           bitsXml() + "</register></r>";
    const auto list = parse(xml);
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list[0]->summary, "new");
    EXPECT_EQ(list[0]->note, "a & b <c> d");
}

TEST(RegisterReader, BrokenDocumentKeepsTheCompletedRegistersAndLogsOnce) {
    const QByteArray xml = "<r>" + registerXml("ONE002") + registerXml("TWO004") +
                           "<register name=\"HALF\"><address>dff006</address><bit function=\"x\">";
    LogCapture log;
    RegisterDataParser parser;
    const auto list = parser.parse(xml);
    EXPECT_EQ(names(list), QStringList({"ONE002", "TWO004"}));
    EXPECT_EQ(parser.registerInProgress(), nullptr);
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines[0].startsWith("parseErrorOccurred: '")) << log.lines[0].toStdString();
    EXPECT_TRUE(log.lines[0].endsWith("'"));

    // A fault in the middle (a mismatched tag) stops reading there.
    LogCapture log2;
    const auto cut = parse("<r>" + registerXml("ONE002") + "<register name=\"B\"></wrong>" +
                           registerXml("TWO004") + "</r>");
    EXPECT_EQ(names(cut), QStringList({"ONE002"}));
    EXPECT_EQ(log2.lines.size(), 1);
}

TEST(RegisterReader, EmptyOrMissingDataGivesNoRegistersAndALogLine) {
    LogCapture log;
    EXPECT_TRUE(parse({}).isEmpty());
    EXPECT_TRUE(parse("   \n").isEmpty());
    EXPECT_EQ(log.lines.size(), 2);
    EXPECT_TRUE(RegisterDataParser::dataAsset("noSuchAsset").isEmpty());
    EXPECT_FALSE(RegisterDataParser::dataAsset("amigaRegisters").isEmpty());
}

TEST(RegisterReader, EntriesOutsideTheDataModelAreRefusedByName) {
    QByteArray fifteen;
    for (int i = 0; i < 15; ++i)
        fifteen += "<bit function=\"x\"/>";
    const QByteArray xml = "<r><register name=\"SHORT\">" + fifteen + "</register>" +
                           "<register name=\"FARGROUP\">" +
                           bitsXml(3, "<bit function=\"g\" group=\"G\" group-position=\"16\"/>") +
                           "</register>" + "<register name=\"NEGATIVE\">" +
                           bitsXml(3, "<bit function=\"g\" group=\"G\" group-position=\"-1\"/>") +
                           "</register>" + registerXml("GOOD002") + "</r>";
    LogCapture log;
    const auto list = parse(xml);
    EXPECT_EQ(names(list), QStringList({"GOOD002"}));
    ASSERT_EQ(log.lines.size(), 3);
    EXPECT_TRUE(log.lines[0].contains("SHORT"));
    EXPECT_TRUE(log.lines[0].contains("15 bits"));
    EXPECT_TRUE(log.lines[1].contains("FARGROUP"));
    EXPECT_TRUE(log.lines[2].contains("NEGATIVE"));
}

TEST(RegisterModel, CopiesShareNothingWithTheirOriginal) {
    Register original;
    original.name = "R";
    original.note = "n";
    original.isAGA = true;
    auto bit = std::make_shared<RegisterBit>();
    bit->functionName = "F";
    bit->groupName = QString("G");
    bit->groupPosition = 3;
    bit->isAGA = true;
    original.bits.append(bit);

    const std::shared_ptr<Register> copy = original.copyWithZone();
    ASSERT_EQ(copy->bits.size(), 1);
    EXPECT_NE(copy->bits[0], original.bits[0]);
    EXPECT_TRUE(copy->isAGA);
    EXPECT_EQ(copy->bits[0]->groupName, QString("G"));
    EXPECT_EQ(copy->bits[0]->groupPosition, 3u);
    EXPECT_TRUE(copy->bits[0]->isAGA);

    copy->name = "changed";
    copy->bits[0]->functionName = "changed";
    copy->bits.append(std::make_shared<RegisterBit>());
    EXPECT_EQ(original.name, "R");
    EXPECT_EQ(original.bits[0]->functionName, "F");
    EXPECT_EQ(original.bits.size(), 1);

    original.bits[0]->groupName.reset();
    EXPECT_EQ(copy->bits[0]->groupName, QString("G"));

    // Assignment copies deeply too.
    Register assigned;
    assigned = original;
    EXPECT_NE(assigned.bits[0], original.bits[0]);
}

TEST(RegisterReader, TheListHoldsCopiesOfWhatTheParserFilled) {
    RegisterDataParser parser;
    parser.parserDidStartElement(u"register", {});
    for (int i = 0; i < 16; ++i) {
        QXmlStreamAttributes attributes;
        attributes.append("function", QString("F%1").arg(i));
        parser.parserDidStartElement(u"bit", attributes);
        parser.parserFoundCharacters(u"d");
        parser.parserDidEndElement(u"bit");
    }
    const std::shared_ptr<Register> filled = parser.registerInProgress();
    ASSERT_NE(filled, nullptr);
    parser.parserDidEndElement(u"register");
    ASSERT_EQ(parser.registers().size(), 1);
    const std::shared_ptr<Register> listed = parser.registers()[0];
    EXPECT_NE(listed, filled);
    filled->bits[0]->functionName = "changed";
    filled->summary = "changed";
    EXPECT_EQ(listed->bits[0]->functionName, "F0");
    EXPECT_TRUE(listed->summary.isEmpty());
}
