#include "copper/CopperMove.h"
#include "common/HexToInteger.h"

#include <amiga/asmtext.h>
#include <amiga/customregisters.h>

CopperMove::CopperMove(quint64 type) : CopperObject(type) {}

void CopperMove::setVerticalHexValue(const QString &vertical, const QString &horizontal) {
    m_verticalValue = convertHexToInteger(vertical);
    m_horizontalValue = convertHexToInteger(horizontal);
}

void CopperMove::setRegisterReference(const QString &text) {
    m_registerReference = text;
    m_registerOffset = amiga::registerOffset(text.toStdString());
    if (!m_registerOffset) {
        m_registerText = text;
    } else {
        const std::string_view name = amiga::registerName(*m_registerOffset);
        m_registerText =
            name.empty() ? QString::fromStdString(amiga::hex(*m_registerOffset, 3))
                         : QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    }
    m_registerOperand = m_registerText.toStdString();
}

std::uint16_t CopperMove::dataWord(qint64 line) const {
    const int high = byteSum(m_verticalValue, m_autoVerticalValue ? line : 0);
    const int low = byteSum(m_horizontalValue, m_autoHorizontalValue ? line : 0);
    return static_cast<std::uint16_t>(high << 8 | low);
}

std::unique_ptr<CopperObject> CopperMove::copy() const {
    return std::unique_ptr<CopperObject>(new CopperMove(*this));
}

QString CopperMove::outputWithVerticalIncrement(qint64 verticalIncrement,
                                                qint64 horizontalIncrement) const {
    return joinedOperands(verticalIncrement, horizontalIncrement);
}

void CopperMove::appendOperands(std::vector<std::string> &operands, qint64 verticalIncrement,
                                qint64) const {
    operands.push_back(m_registerOperand);
    operands.push_back(amiga::word(dataWord(verticalIncrement)));
}

QString CopperMove::commandDescription() const {
    const QString high = m_autoVerticalValue ? QStringLiteral("--") : byteText(m_verticalValue);
    const QString low = m_autoHorizontalValue ? QStringLiteral("--") : byteText(m_horizontalValue);
    return QStringLiteral("[MOVE] ") + registerText() + QStringLiteral(",$") + high + low;
}
