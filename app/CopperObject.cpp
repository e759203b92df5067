#include "CopperObject.h"

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

QString CopperObject::commandDescription() const {
    return requiresSubclass();
}

QString CopperObject::hexText(qint64 value) {
    return QString::asprintf("%.2llx", static_cast<unsigned long long>(value));
}
