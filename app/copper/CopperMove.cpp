#include "copper/CopperMove.h"
#include "common/HexToInteger.h"

CopperMove::CopperMove(quint64 type) : CopperObject(type) {}

void CopperMove::setVerticalHexValue(const QString &vertical, const QString &horizontal) {
    m_verticalValue = convertHexToInteger(vertical);
    m_horizontalValue = convertHexToInteger(horizontal);
}

std::unique_ptr<CopperObject> CopperMove::copy() const {
    return std::unique_ptr<CopperObject>(new CopperMove(*this));
}

QString CopperMove::outputWithVerticalIncrement(qint64 verticalIncrement,
                                                qint64 horizontalIncrement) const {
    const qint64 high =
        m_autoVerticalValue ? wrappingSum(m_verticalValue, verticalIncrement) : m_verticalValue;
    const qint64 low = m_autoHorizontalValue ? wrappingSum(m_horizontalValue, horizontalIncrement)
                                             : m_horizontalValue;
    QString text;
    text.reserve(m_registerReference.size() + 6);
    text += m_registerReference;
    text += QLatin1String(",$");
    appendHexText(text, high);
    appendHexText(text, low);
    return text;
}

QString CopperMove::commandDescription() const {
    const QString high = m_autoVerticalValue ? QStringLiteral("--") : hexText(m_verticalValue);
    const QString low = m_autoHorizontalValue ? QStringLiteral("--") : hexText(m_horizontalValue);
    return QStringLiteral("[MOVE] ") + m_registerReference + QStringLiteral(",$") + high + low;
}
