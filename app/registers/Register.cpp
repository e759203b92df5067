#include "registers/Register.h"

Register::Register(const Register &other)
    : name(other.name), address(other.address), summary(other.summary), note(other.note),
      extraInformation(other.extraInformation), isAGA(other.isAGA) {
    bits.reserve(other.bits.size());
    for (const std::shared_ptr<RegisterBit> &bit : other.bits)
        bits.append(std::make_shared<RegisterBit>(*bit));
}

Register &Register::operator=(const Register &other) {
    if (this != &other) {
        Register copy(other);
        *this = std::move(copy);
    }
    return *this;
}

std::shared_ptr<Register> Register::copyWithZone() const {
    return std::make_shared<Register>(*this);
}

amiga::RegisterLayout Register::layout() const {
    amiga::RegisterLayout result;
    result.name = name.toStdString();
    result.address = address.toUInt(nullptr, 16);
    result.aga = isAGA;
    result.readOnly = note.startsWith(QLatin1String("Read only"));
    for (qsizetype i = 0; i < bits.size() && i < 16; ++i) {
        const RegisterBit &bit = *bits[i];
        amiga::RegisterBitName &named = result.bits[static_cast<std::size_t>(i)];
        named.name = bit.functionName.toStdString();
        named.group = bit.groupName ? bit.groupName->toStdString() : std::string();
        named.groupPosition = static_cast<int>(bit.groupPosition);
        named.aga = bit.isAGA;
    }
    return result;
}
