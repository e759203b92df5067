#include "copper/CopperWait.h"
#include "common/HexToInteger.h"

CopperWait::CopperWait(quint64 type) : CopperObject(type) {}

void CopperWait::setVerticalPositionHexValue(const QString &vertical, const QString &horizontal) {
    m_verticalPosition = convertHexToInteger(vertical);
    m_horizontalPosition = convertHexToInteger(horizontal);
}

void CopperWait::setVerticalMaskHexValue(const QString &vertical, const QString &horizontal) {
    m_verticalMask = convertHexToInteger(vertical);
    m_horizontalMask = convertHexToInteger(horizontal);
}

std::unique_ptr<CopperObject> CopperWait::copy() const {
    return std::unique_ptr<CopperObject>(new CopperWait(*this));
}

QString CopperWait::outputWithVerticalIncrement(qint64 verticalIncrement,
                                                qint64 horizontalIncrement) const {
    QString text;
    text.reserve(11);
    text += QLatin1Char('$');
    appendHexText(text, wrappingSum(m_verticalPosition, verticalIncrement));
    appendHexText(text, wrappingSum(m_horizontalPosition, horizontalIncrement));
    text += QLatin1String(",$");
    appendHexText(text, m_verticalMask);
    appendHexText(text, m_horizontalMask);
    return text;
}

QString CopperWait::commandDescription() const {
    const QString vertical =
        m_verticalPosition == 0 ? QStringLiteral("--") : hexText(m_verticalPosition);
    const QString horizontal =
        m_horizontalPosition == 0 ? QStringLiteral("--") : hexText(m_horizontalPosition);
    return QStringLiteral("[WAIT] $") + vertical + horizontal + QStringLiteral(",$") +
           hexText(m_verticalMask) + hexText(m_horizontalMask);
}
