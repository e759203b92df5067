#include "copper/CopperObject.h"

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
    QString text;
    appendHexText(text, value);
    return text;
}

void CopperObject::appendHexText(QString &text, qint64 value) {
    // Written by hand: it runs several times per instruction on every output line.
    static constexpr char digits[] = "0123456789abcdef";
    char digitsOut[16];
    int start = 16;
    auto bits = static_cast<quint64>(value);
    do {
        digitsOut[--start] = digits[bits & 0xf];
        bits >>= 4;
    } while (bits != 0);
    if (start == 15)
        digitsOut[--start] = '0';
    text.append(QLatin1StringView(digitsOut + start, 16 - start));
}
