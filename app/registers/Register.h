#pragma once
#include "registers/RegisterBit.h"

#include <amiga/registercode.h>

#include <QList>
#include <QString>
#include <memory>

// One custom-chip register of the register database. Its bits are shared
// objects; copying a register (copy construction, assignment or
// copyWithZone) always gives it bits of its own.
class Register {
public:
    Register() = default;
    Register(const Register &other);
    Register &operator=(const Register &other);
    Register(Register &&) noexcept = default;
    Register &operator=(Register &&) noexcept = default;
    ~Register() = default;

    // A new, independent deep copy: it shares no bit with this register.
    std::shared_ptr<Register> copyWithZone() const;

    // What the code line needs of the register: its name, offset and bit names (a register of
    // the database has sixteen bits; missing ones are left unnamed). A note that starts "Read
    // only" marks a read address.
    amiga::RegisterLayout layout() const;

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
};
