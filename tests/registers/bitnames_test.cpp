// The bit names of the registers programmers touch most, typed from the Hardware Reference
// Manual (appendix A, the register summary, and appendix C for ECS) and the AGA documentation's
// register list, and the database held against them: a swapped, misspelled or misflagged bit of
// these registers fails here.
//
// Each row of data/bitnames.txt lists bit 15 first. "-" is an unused bit (the database's "unused");
// a "*" after a name marks a bit that exists only on AGA. Where the manuals name a bit differently,
// the row has the one naming the database keeps (its description says which and gives the other):
//   - BPLCON0 bits 11 and 10: HAM and DPF (AGA documentation; HRM: HOMOD, DBLPF).
//   - BPLCON1: the AGA documentation's 35 ns naming (HRM bits 3-0 are PF1H3-PF1H0).
//   - BPLCON3 bit 1: BRDSPRT (AGA; on ECS Denise the bit is EXTBLKZD).
//   - SPRxCTL bits 4, 3 and 0: SHSH1, SHSH0 and SH0 (HRM, ECS chapter; AGA: SH1, SH0, SH2).
//   - DIWHIGH: the AGA documentation's H10, H1, H0 and V10-V8, each for the start (bits 5-0) and
//     the stop (bits 13-8), told apart by a START/STOP prefix (HSTART10 … VSTOP8).
//   - BLTCON1 bits 4-1 carry both modes' names, area mode first: EFE/SUD, IFE/SUL, FCI/AUL,
//     DESC/SING.
#include "registers/RegisterDatabase.h"

#include "QtPrinters.h"
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

struct Expected {
    QString name;
    bool aga;
};

// data/bitnames.txt: a register and its sixteen names a line, bit 15 first; here bit 0 first.
QMap<QString, QList<Expected>> manualTable() {
    QMap<QString, QList<Expected>> table;
    QFile file(QStringLiteral(QUILLFEN_BITNAMES));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << QUILLFEN_BITNAMES;
    for (const QString &line : QString::fromUtf8(file.readAll()).split('\n')) {
        QStringList words = line.split(' ', Qt::SkipEmptyParts);
        if (words.isEmpty() || words[0].startsWith('#'))
            continue;
        const QString reg = words.takeFirst();
        EXPECT_EQ(words.size(), 16) << reg.toStdString();
        for (QString word : words) {
            const bool aga = word.endsWith('*');
            if (aga)
                word.chop(1);
            table[reg].prepend({word == "-" ? QStringLiteral("unused") : word, aga});
        }
    }
    return table;
}

class RegisterBitNames : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        database = new QList<std::shared_ptr<Register>>(RegisterDatabase::read());
    }
    static void TearDownTestSuite() { delete database; }
    static QList<std::shared_ptr<Register>> *database;
};
QList<std::shared_ptr<Register>> *RegisterBitNames::database = nullptr;

} // namespace

TEST_F(RegisterBitNames, TheDatabaseNamesAndFlagsEveryBitAsTheManualsDo) {
    QMap<QString, QList<Expected>> table = manualTable();
    for (const auto &reg : *database) {
        const auto row = table.find(reg->name);
        if (row == table.end())
            continue;
        for (int i = 0; i < 16; ++i) {
            const RegisterBit &bit = *reg->bits[i];
            EXPECT_EQ(bit.functionName, (*row)[i].name) << reg->name.toStdString() << " bit " << i;
            EXPECT_EQ(bit.isAGA, (*row)[i].aga) << reg->name.toStdString() << " bit " << i;
        }
        table.erase(row);
    }
    EXPECT_TRUE(table.isEmpty()) << "missing from the database: "
                                 << QStringList(table.keys()).join(' ').toStdString();
}

TEST_F(RegisterBitNames, EveryBitNameIsOneAssemblerProgrammersCanReadBack) {
    // Names are upper case, as the manuals print them, and name one bit of their register: the
    // code comment names set bits by them.
    static const QRegularExpression form("^[A-Z][A-Z0-9/-]*$");
    for (const auto &reg : *database) {
        QStringList seen;
        for (const auto &bit : reg->bits) {
            if (bit->functionName == "unused")
                continue;
            EXPECT_TRUE(form.match(bit->functionName).hasMatch())
                << reg->name.toStdString() << ": " << bit->functionName.toStdString();
            EXPECT_FALSE(seen.contains(bit->functionName))
                << reg->name.toStdString() << " names two bits " << bit->functionName.toStdString();
            seen << bit->functionName;
        }
    }
}
