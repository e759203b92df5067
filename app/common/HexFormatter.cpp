#include "common/HexFormatter.h"

namespace {
// The characters admitted, built once for the process.
const QString &hexCharacters() {
    static const QString characters = QStringLiteral("0123456789abcdef");
    return characters;
}
} // namespace

HexFormatter::HexFormatter(qint64 maximumLength, QObject *parent)
    : QValidator(parent), m_maximumLength(maximumLength) {}

bool HexFormatter::isPartialStringValid(const QString &proposed) const {
    if (proposed.size() > m_maximumLength)
        return false;
    const QString &allowed = hexCharacters();
    for (const QChar c : proposed) {
        if (!allowed.contains(c))
            return false;
    }
    return true;
}

QValidator::State HexFormatter::validate(QString &input, int &) const {
    // Only the six letters change, so the text's length and the cursor stay as they are.
    QString lowered = input;
    for (QChar &c : lowered) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('F'))
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    if (!isPartialStringValid(lowered))
        return Invalid;
    input = lowered;
    return Acceptable;
}
