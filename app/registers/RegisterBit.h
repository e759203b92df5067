#pragma once
#include <QString>
#include <cstdint>
#include <optional>

// One bit of a custom-chip register word, as the register database describes it.
class RegisterBit {
public:
    // The bit number the database gives. Kept for reference: the calculator
    // places a bit by its place in the register's list, not by this number.
    std::uint64_t position = 0;
    // Short name of the bit's function; the title of the bit's check button.
    QString functionName;
    QString functionDescription;
    // The bit exists only on the AGA chipset.
    bool isAGA = false;
    // The multi-bit field the bit belongs to, if any.
    std::optional<QString> groupName;
    // The bit's place within its group, 0 for the least significant.
    std::uint64_t groupPosition = 0;
};
