#pragma once
#include "registers/RegisterBit.h"

#include <amiga/registercode.h>

#include <QList>
#include <QString>
#include <memory>

// One custom-chip register of the register database, as the Registers tab shows it on one
// chipset: made from the machine library's record (fromLayout). Its bits are shared objects;
// copying a register (copy construction, assignment or copyWithZone) always gives it bits of
// its own.
class Register {
public:
    Register() = default;
    Register(const Register &other);
    Register &operator=(const Register &other);
    Register(Register &&) noexcept = default;
    Register &operator=(Register &&) noexcept = default;
    ~Register() = default;

    // The register of the database record as the chipset has it (amiga::layoutOn).
    static std::shared_ptr<Register> fromLayout(const amiga::RegisterLayout &record,
                                                amiga::Chipset chipset);

    // A new, independent deep copy: it shares no bit with this register.
    std::shared_ptr<Register> copyWithZone() const;

    // The database record it was made from, every chipset's readings in it.
    const amiga::RegisterLayout &record() const { return m_record; }
    // The chipset it is shown for.
    amiga::Chipset chipset() const { return m_chipset; }
    // What the code line needs of the register: the record as the chipset has it.
    amiga::RegisterLayout layout() const { return amiga::layoutOn(m_record, m_chipset); }

    QString name;
    // Hexadecimal digits without a prefix (dff096).
    QString address;
    QString summary;
    QString note;
    QString extraInformation;
    // The register exists only on the AGA chipset.
    bool isAGA = false;
    // Bit 0 first; a register of the database has exactly 16.
    QList<std::shared_ptr<RegisterBit>> bits;

private:
    amiga::RegisterLayout m_record;
    amiga::Chipset m_chipset = amiga::Chipset::Aga;
};
