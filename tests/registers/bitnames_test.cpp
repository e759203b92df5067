// The bit names of the registers programmers touch most, typed from the Hardware Reference
// Manual (appendix A, the register summary, and appendix C for ECS) and the AGA documentation's
// register list, and the database held against them: a swapped, misspelled or misflagged bit of
// these registers fails here.
//
// Each row lists bit 15 first. "-" is an unused bit (the database's "unused"); a "*" after a name
// marks a bit that exists only on AGA. Where the manuals name a bit differently, the row has the
// one naming the database keeps (its description says which and gives the other):
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
#include <QMap>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

struct Row {
    const char *registerName;
    const char *bits; // bit 15 first
};

// clang-format off
const Row kManualTable[] = {
    {"BPLCON0",  "HIRES BPU2 BPU1 BPU0 HAM DPF COLOR GAUD UHRES SHRES BYPASS* BPU3* LPEN LACE ERSY ECSENA"},
    {"BPLCON1",  "PF2H7* PF2H6* PF2H1* PF2H0* PF1H7* PF1H6* PF1H1* PF1H0* "
                 "PF2H5 PF2H4 PF2H3 PF2H2 PF1H5 PF1H4 PF1H3 PF1H2"},
    {"BPLCON2",  "- ZDBPSEL2 ZDBPSEL1 ZDBPSEL0 ZDBPEN ZDCTEN KILLEHB* RDRAM* SOGEN* "
                 "PF2PRI PF2P2 PF2P1 PF2P0 PF1P2 PF1P1 PF1P0"},
    {"BPLCON3",  "BANK2* BANK1* BANK0* PF2OF2* PF2OF1* PF2OF0* LOCT* - "
                 "SPRES1 SPRES0 BRDRBLNK BRDNTRAN - ZDCLKEN BRDSPRT EXTBLKEN"},
    {"BPLCON4",  "BPLAM7* BPLAM6* BPLAM5* BPLAM4* BPLAM3* BPLAM2* BPLAM1* BPLAM0* "
                 "ESPRM7* ESPRM6* ESPRM5* ESPRM4* OSPRM7* OSPRM6* OSPRM5* OSPRM4*"},
    {"DMACON",   "SET/CLR BBUSY BZERO - - BLTPRI DMAEN BPLEN "
                 "COPEN BLTEN SPREN DSKEN AUD3EN AUD2EN AUD1EN AUD0EN"},
    {"DMACONR",  "- BBUSY BZERO - - BLTPRI DMAEN BPLEN COPEN BLTEN SPREN DSKEN AUD3EN AUD2EN AUD1EN AUD0EN"},
    {"INTENA",   "SET/CLR INTEN EXTER DSKSYN RBF AUD3 AUD2 AUD1 AUD0 BLIT VERTB COPER PORTS SOFT DSKBLK TBE"},
    {"INTENAR",  "- INTEN EXTER DSKSYN RBF AUD3 AUD2 AUD1 AUD0 BLIT VERTB COPER PORTS SOFT DSKBLK TBE"},
    {"INTREQ",   "SET/CLR INTEN EXTER DSKSYN RBF AUD3 AUD2 AUD1 AUD0 BLIT VERTB COPER PORTS SOFT DSKBLK TBE"},
    {"INTREQR",  "- INTEN EXTER DSKSYN RBF AUD3 AUD2 AUD1 AUD0 BLIT VERTB COPER PORTS SOFT DSKBLK TBE"},
    {"ADKCON",   "SET/CLR PRECOMP1 PRECOMP0 MFMPREC UARTBRK WORDSYNC MSBSYNC FAST "
                 "USE3PN USE2P3 USE1P2 USE0P1 USE3VN USE2V3 USE1V2 USE0V1"},
    {"ADKCONR",  "- PRECOMP1 PRECOMP0 MFMPREC UARTBRK WORDSYNC MSBSYNC FAST "
                 "USE3PN USE2P3 USE1P2 USE0P1 USE3VN USE2V3 USE1V2 USE0V1"},
    {"BLTCON0",  "ASH3 ASH2 ASH1 ASH0 USEA USEB USEC USED LF7 LF6 LF5 LF4 LF3 LF2 LF1 LF0"},
    {"BLTCON1",  "BSH3 BSH2 BSH1 BSH0 - - - - DOFF SIGN OVF EFE/SUD IFE/SUL FCI/AUL DESC/SING LINE"},
    {"BEAMCON0", "- HARDDIS LPENDIS VARVBEN LOLDIS CSCBEN VARVSYEN VARHSYEN "
                 "VARBEAMEN DUAL PAL VARCSYEN BLANKEN CSYTRUE VSYTRUE HSYTRUE"},
    {"FMODE",    "SSCAN2* BSCAN2* - - - - - - - - - - SPAGEM* SPR32* BPAGEM* BPL32*"},
    {"DIWHIGH",  "- - HSTOP10 HSTOP1* HSTOP0* VSTOP10 VSTOP9 VSTOP8 "
                 "- - HSTART10 HSTART1* HSTART0* VSTART10 VSTART9 VSTART8"},
    {"DIWSTRT",  "V7 V6 V5 V4 V3 V2 V1 V0 H7 H6 H5 H4 H3 H2 H1 H0"},
    {"DIWSTOP",  "V7 V6 V5 V4 V3 V2 V1 V0 H7 H6 H5 H4 H3 H2 H1 H0"},
    {"CLXCON",   "ENSP7 ENSP5 ENSP3 ENSP1 ENBP6 ENBP5 ENBP4 ENBP3 "
                 "ENBP2 ENBP1 MVBP6 MVBP5 MVBP4 MVBP3 MVBP2 MVBP1"},
    {"CLXCON2",  "- - - - - - - - ENBP8* ENBP7* - - - - MVBP8* MVBP7*"},
    {"COPCON",   "- - - - - - - - - - - - - - CDANG -"},
    {"VPOSR",    "LOF I6 I5 I4 I3 I2 I1 I0 LOL - - - - V10 V9 V8"},
};
// clang-format on

// The eight sprites' position and control words are alike.
const char *const kSpritePos = "SV7 SV6 SV5 SV4 SV3 SV2 SV1 SV0 SH8 SH7 SH6 SH5 SH4 SH3 SH2 SH1";
const char *const kSpriteCtl =
    "EV7 EV6 EV5 EV4 EV3 EV2 EV1 EV0 ATT SV9 EV9 SHSH1 SHSH0* SV8 EV8 SH0";

struct Expected {
    QString name;
    bool aga;
};

// A row as sixteen names, bit 0 first.
QList<Expected> bitsOf(const char *row) {
    QList<Expected> bits;
    for (QString word : QString::fromLatin1(row).split(' ', Qt::SkipEmptyParts)) {
        const bool aga = word.endsWith('*');
        if (aga)
            word.chop(1);
        bits.prepend({word == "-" ? QStringLiteral("unused") : word, aga});
    }
    return bits;
}

QMap<QString, QList<Expected>> manualTable() {
    QMap<QString, QList<Expected>> table;
    for (const Row &row : kManualTable)
        table.insert(row.registerName, bitsOf(row.bits));
    for (int i = 0; i < 8; ++i) {
        table.insert(QStringLiteral("SPR%1POS").arg(i), bitsOf(kSpritePos));
        table.insert(QStringLiteral("SPR%1CTL").arg(i), bitsOf(kSpriteCtl));
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
