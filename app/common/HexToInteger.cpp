#include "common/HexToInteger.h"

#include <cstdlib>

qint64 convertHexToInteger(const QString &text) {
    const QByteArray utf8 = text.toUtf8();
    // strtoll: long long is the signed 64-bit type on every platform we build for,
    // so saturation happens at exactly those limits.
    static_assert(sizeof(long long) == sizeof(qint64));
    return static_cast<qint64>(std::strtoll(utf8.constData(), nullptr, 16));
}
