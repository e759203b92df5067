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
