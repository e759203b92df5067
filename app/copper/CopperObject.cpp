#include "copper/CopperObject.h"

#include <amiga/asmtext.h>

namespace {
const QString &requiresSubclass() {
    static const QString text = QStringLiteral("Requires Subclass Implementation");
    return text;
}
} // namespace

CopperObject::CopperObject(quint64 type) : m_uuid(QUuid::createUuid()), m_type(type) {}

CopperObject::CopperObject(const CopperObject &other) : m_uuid(), m_type(other.m_type) {}

CopperObject::~CopperObject() = default;

std::unique_ptr<CopperObject> CopperObject::copy() const {
    return nullptr;
}

QString CopperObject::outputWithVerticalIncrement(qint64, qint64) const {
    return requiresSubclass();
}

void CopperObject::appendOperands(std::vector<std::string> &, qint64, qint64) const {}

QString CopperObject::commandDescription() const {
    return requiresSubclass();
}

QString CopperObject::byteText(qint64 value) {
    return QString::fromLatin1(amiga::hex(static_cast<std::uint32_t>(value & 0xff), 2).substr(1));
}

QString CopperObject::joinedOperands(qint64 verticalIncrement, qint64 horizontalIncrement) const {
    std::vector<std::string> operands;
    appendOperands(operands, verticalIncrement, horizontalIncrement);
    QString text;
    for (const std::string &operand : operands) {
        if (!text.isEmpty())
            text += QLatin1Char(',');
        text += QString::fromStdString(operand);
    }
    return text;
}
