#include "registers/Register.h"

Register::Register(const Register &other)
    : name(other.name), address(other.address), summary(other.summary), note(other.note),
      extraInformation(other.extraInformation), isAGA(other.isAGA), m_record(other.m_record),
      m_chipset(other.m_chipset) {
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

std::shared_ptr<Register> Register::fromLayout(const amiga::RegisterLayout &record,
                                               amiga::Chipset chipset) {
    auto reg = std::make_shared<Register>();
    reg->m_record = record;
    reg->m_chipset = chipset;
    const amiga::RegisterLayout shown = amiga::layoutOn(record, chipset);
    reg->name = QString::fromStdString(shown.name);
    reg->address = QString::number(shown.address, 16);
    reg->summary = QString::fromStdString(shown.summary);
    reg->note = QString::fromStdString(shown.note);
    reg->extraInformation = QString::fromStdString(shown.extra);
    reg->isAGA = record.agaOnly();
    reg->bits.reserve(16);
    for (std::size_t i = 0; i < shown.bits.size(); ++i) {
        const amiga::RegisterBitName &named = shown.bits[i];
        auto bit = std::make_shared<RegisterBit>();
        bit->position = i;
        bit->functionName = QString::fromStdString(named.name);
        bit->functionDescription = QString::fromStdString(named.description);
        bit->isAGA = named.agaOnly();
        if (!named.group.empty())
            bit->groupName = QString::fromStdString(named.group);
        bit->groupPosition = static_cast<std::uint64_t>(named.groupPosition);
        reg->bits.append(std::move(bit));
    }
    return reg;
}
