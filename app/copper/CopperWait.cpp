#include "copper/CopperWait.h"
#include "common/HexToInteger.h"

#include <amiga/asmtext.h>

CopperWait::CopperWait(quint64 type) : CopperObject(type) {}

void CopperWait::setVerticalPositionHexValue(const QString &vertical, const QString &horizontal) {
    m_verticalPosition = convertHexToInteger(vertical);
    m_horizontalPosition = convertHexToInteger(horizontal);
}

void CopperWait::setVerticalMaskHexValue(const QString &vertical, const QString &horizontal) {
    m_verticalMask = convertHexToInteger(vertical);
    m_horizontalMask = convertHexToInteger(horizontal);
}

amiga::CopperWords CopperWait::words(qint64 verticalIncrement, qint64 horizontalIncrement) const {
    const auto vertical = static_cast<std::uint8_t>(byteSum(m_verticalPosition, verticalIncrement));
    const auto horizontal =
        static_cast<std::uint8_t>(byteSum(m_horizontalPosition, horizontalIncrement));
    const auto verticalMask = static_cast<std::uint8_t>(m_verticalMask & 0x7f);
    const auto horizontalMask = static_cast<std::uint8_t>(m_horizontalMask);
    const bool blitterFinishedDisable = (m_verticalMask & 0x80) != 0;
    const amiga::CopperInstruction wait = amiga::CopperInstruction::wait(
        vertical, horizontal, verticalMask, horizontalMask, blitterFinishedDisable);
    return amiga::encode(m_skip ? wait.asSkip() : wait);
}

std::unique_ptr<CopperObject> CopperWait::copy() const {
    return std::unique_ptr<CopperObject>(new CopperWait(*this));
}

QString CopperWait::outputWithVerticalIncrement(qint64 verticalIncrement,
                                                qint64 horizontalIncrement) const {
    return joinedOperands(verticalIncrement, horizontalIncrement);
}

void CopperWait::appendOperands(std::vector<std::string> &operands, qint64 verticalIncrement,
                                qint64 horizontalIncrement) const {
    const amiga::CopperWords pair = words(verticalIncrement, horizontalIncrement);
    operands.push_back(amiga::word(pair.first));
    operands.push_back(amiga::word(pair.second));
}

QString CopperWait::commandDescription() const {
    const amiga::CopperWords pair = words(0, 0);
    const QString vertical =
        m_verticalPosition == 0 ? QStringLiteral("--") : byteText(m_verticalPosition);
    return (m_skip ? QStringLiteral("[SKIP] $") : QStringLiteral("[WAIT] $")) + vertical +
           byteText(pair.first) + QStringLiteral(",") +
           QString::fromStdString(amiga::word(pair.second));
}
