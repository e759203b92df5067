// Generated code assembled by GNU as for m68k in its Motorola (MRI) syntax,
// which reads operands the way the Amiga's own assemblers do.
#include "CopperToolDriver.h"

#include "QtPrinters.h"
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace {

const QString assemblerName = QStringLiteral("m68k-linux-gnu-as");
const QString objcopyName = QStringLiteral("m68k-linux-gnu-objcopy");

struct Assembly {
    bool ok = false;
    std::vector<quint16> words;
    QString messages;
};

// Each generated line is indented by a tab, after the register equates.
Assembly assemble(const QString &code) {
    Assembly result;
    QTemporaryDir dir;
    if (!dir.isValid()) {
        result.messages = "no temporary folder";
        return result;
    }
    QString source = "COLOR00\tequ\t$180\nCOLOR01\tequ\t$182\n";
    for (const QString &line : code.split('\n', Qt::SkipEmptyParts))
        source += '\t' + line + '\n';
    QFile file(dir.filePath("copper.s"));
    if (!file.open(QIODevice::WriteOnly) || file.write(source.toUtf8()) < 0)
        return result;
    file.close();

    QProcess as;
    as.start(QStandardPaths::findExecutable(assemblerName),
             {"--mri", "-o", dir.filePath("copper.o"), dir.filePath("copper.s")});
    as.waitForFinished(30000);
    result.messages = QString::fromUtf8(as.readAllStandardError());
    if (as.exitStatus() != QProcess::NormalExit || as.exitCode() != 0)
        return result;
    QProcess objcopy;
    objcopy.start(
        QStandardPaths::findExecutable(objcopyName),
        {"-O", "binary", "-j", ".text", dir.filePath("copper.o"), dir.filePath("copper.bin")});
    objcopy.waitForFinished(30000);
    QFile binary(dir.filePath("copper.bin"));
    if (objcopy.exitCode() != 0 || !binary.open(QIODevice::ReadOnly))
        return result;
    const QByteArray bytes = binary.readAll();
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        result.words.push_back(static_cast<quint16>((static_cast<quint8>(bytes[i]) << 8) |
                                                    static_cast<quint8>(bytes[i + 1])));
    result.ok = true;
    return result;
}

class CopperAssembly : public CopperToolDriver {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(assemblerName).isEmpty() ||
            QStandardPaths::findExecutable(objcopyName).isEmpty())
            GTEST_SKIP() << "m68k-linux-gnu-as is not installed (Debian package "
                            "binutils-m68k-linux-gnu): generated code not assembled";
        CopperToolDriver::SetUp();
    }
    Assembly generateAndAssemble() { return assemble(generate()); }
};

using Words = std::vector<quint16>;

TEST_F(CopperAssembly, ColourPerLineExample) {
    setLines("3", "2c", "07", "ff", "fe");
    click(ui->moveAutoVerticalValueButton);
    addMove("COLOR00", "", "00");
    const Assembly a = generateAndAssemble();
    ASSERT_TRUE(a.ok) << a.messages.toStdString();
    EXPECT_TRUE(a.messages.isEmpty()) << a.messages.toStdString();
    EXPECT_EQ(a.words, (Words{0x2c07, 0xfffe, 0x0180, 0x2c00, 0x2d07, 0xfffe, 0x0180, 0x2d00,
                              0x2e07, 0xfffe, 0x0180, 0x2e00}));
}

TEST_F(CopperAssembly, MoveAndWaitExample) {
    setLines("1", "2c", "07", "ff", "fe");
    addMove("COLOR00", "0f", "00");
    addWait("00", "e1", "ff", "fe");
    addMove("$182", "0", "f");
    const Assembly a = generateAndAssemble();
    ASSERT_TRUE(a.ok) << a.messages.toStdString();
    EXPECT_TRUE(a.messages.isEmpty()) << a.messages.toStdString();
    EXPECT_EQ(a.words, (Words{0x2c07, 0xfffe, 0x0180, 0x0f00, 0x2ce1, 0xfffe, 0x0182, 0x000f}));
}

TEST_F(CopperAssembly, OneDigitAndEmptyMasksKeepTheirByte) {
    setLines("1", "2c", "07", "ff", "e");
    Assembly a = generateAndAssemble();
    ASSERT_TRUE(a.ok) << a.messages.toStdString();
    EXPECT_EQ(a.words, (Words{0x2c07, 0xff0e}));
    // Pasted as typed, the same two masks would run together into one wrong word.
    EXPECT_EQ(assemble("dc.w $2c07,$ffe").words, (Words{0x2c07, 0x0ffe}));

    // Two empty masks are a mask of zero, like every other empty field, not a
    // bare "$" whose reading is up to the assembler.
    setLines("1", "2c", "07", "", "");
    a = generateAndAssemble();
    ASSERT_TRUE(a.ok) << a.messages.toStdString();
    EXPECT_TRUE(a.messages.isEmpty()) << a.messages.toStdString();
    EXPECT_EQ(a.words, (Words{0x2c07, 0x0000}));
}

TEST_F(CopperAssembly, WordsAreNotSplitByABlank) {
    // With a blank after a comma the assembler ends the operands there: the
    // rest of the line becomes a comment, every instruction after the WAIT is
    // lost and the trailing comma adds a zero word, with only a warning.
    const Assembly blank = assemble("dc.w $2c07,$fffe, COLOR00,$2c00");
    ASSERT_TRUE(blank.ok) << blank.messages.toStdString();
    EXPECT_EQ(blank.words, (Words{0x2c07, 0xfffe, 0x0000}));

    // The generated lines therefore hold one blank only, after "dc.w".
    setLines("2", "2c", "07", "ff", "fe");
    addMove("COLOR00", "0f", "00");
    addWait("00", "e1", "ff", "fe");
    addMove("COLOR01", "00", "f0");
    click(ui->outputCodeButton);
    const QString code = ui->sequenceOutputTextView->toPlainText();
    for (const QString &line : code.split('\n', Qt::SkipEmptyParts)) {
        EXPECT_TRUE(line.startsWith("dc.w $")) << line.toStdString();
        EXPECT_EQ(line.count(' '), 1) << line.toStdString();
    }
    const Assembly a = assemble(code);
    ASSERT_TRUE(a.ok) << a.messages.toStdString();
    EXPECT_TRUE(a.messages.isEmpty()) << a.messages.toStdString();
    EXPECT_EQ(a.words, (Words{0x2c07, 0xfffe, 0x0180, 0x0f00, 0x2ce1, 0xfffe, 0x0182, 0x00f0,
                              0x2d07, 0xfffe, 0x0180, 0x0f00, 0x2de1, 0xfffe, 0x0182, 0x00f0}));
}

TEST_F(CopperAssembly, LinePastFfIsTruncatedToItsLowByteWithAWarning) {
    // Line 256 prints as the five-digit $10007. The assembler keeps the low
    // sixteen bits, $0007, which is the vertical position the copper compares
    // (bits 0-7), and warns: the list needs a wait for the end of line $ff there.
    setLines("2", "ff", "07", "ff", "fe");
    click(ui->moveAutoVerticalValueButton);
    addMove("COLOR00", "", "00");
    const Assembly a = generateAndAssemble();
    ASSERT_TRUE(a.ok) << a.messages.toStdString();
    EXPECT_EQ(a.words, (Words{0xff07, 0xfffe, 0x0180, 0xff00, 0x0007, 0xfffe, 0x0180, 0x0000}));
    EXPECT_TRUE(a.messages.contains("truncated")) << a.messages.toStdString();
}

} // namespace
