#pragma once
#include "registers/Register.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <amiga/blitter.h>
#include <cstdint>
#include <memory>
#include <optional>

// What the Registers tab computes, without its widgets: the registers on a chipset, the one
// shown with its word, bit group, goal and code line; and the blitter section's blit. The
// controller copies its controls in and the results out.
class RegistersTool {
public:
    // The database, in document order, as the chipset has it; the register shown (null until
    // one is chosen) and the word its sixteen bits make.
    QList<std::shared_ptr<Register>> registers;
    std::shared_ptr<Register> shown;
    amiga::Chipset chipset = amiga::Chipset::Aga;
    std::uint16_t word = 0;
    QString group;       // the bit group chosen
    bool clear = false;  // SET/CLR: the set/clear pop-up's second item
    bool copper = false; // copper data instead of move.w

    // Takes registers as the database; none is shown.
    void setRegisters(QList<std::shared_ptr<Register>> list);
    // Shows the register of that name with all bits off; false (nothing changes) when there is
    // none.
    bool show(const QString &name);
    // The registers as another chipset has them; the shown one stays, and its bits stay ticked.
    void setChipset(amiga::Chipset to);
    // The register a typed name means: the name itself (either case), else the first that
    // starts with it; -1 for none.
    int indexOfTyped(const QString &typed) const;
    // The shown register's bit groups, in the order of its bits.
    QStringList groups() const;
    // Sets the bits from a goal text ("$5200", "0x5200", "5200").
    void seekGoal(const QString &text);

    // The word in the tab's order: low byte, high byte, whole word; each decimal, hex, binary.
    QStringList results() const;
    // The chosen group's value: decimal, hex and binary; empty without a group.
    QStringList groupResults() const;
    // Bit 15 is SET/CLR (DMACON, INTENA, INTREQ, ADKCON): the choice of set or clear applies.
    bool setClearAllowed() const;
    // The line that writes the word; empty with no register shown.
    QString code() const;

    // One bit's button: its title, tooltip, what a screen reader hears, italic for AGA only.
    struct BitLabel {
        QString title, toolTip, accessibleName, accessibleDescription;
        bool italic = false;
    };
    BitLabel bitLabel(int bit) const;

    // The blitter section: an area-mode blit from a preset or from its logic function.
    struct Blitter {
        QString function;
        amiga::blitter::Channels channels;
        int aShift = 0, bShift = 0;
        bool descending = false;
        int fill = 0; // none, inclusive, exclusive
        bool fillCarryIn = false;
        int widthWords = 1, heightLines = 1;
        bool copper = false;
        int preset = 0; // 0 "Custom", then the presets in order
        QString presetTip;

        // Fills in the preset at index (1 onwards); false, changing nothing, for another index.
        bool choosePreset(int index);
        // The function was typed: the preset is "Custom" and the channels follow the function.
        void functionEdited();
        // A fill works only descending; the fill carry-in means something only in a fill.
        void applyFillRules();
        bool descendingAllowed() const { return fill == 0; }
        bool fillCarryInAllowed() const { return fill != 0; }
        // "LF $ca", or why the function cannot be read.
        QString minterms() const;
        // The code, empty while the function cannot be read.
        QString code() const;
    } blitter;
};
