#include "common/TextFields.h"

#include <QLineEdit>
#include <algorithm>
#include <cstdlib>

QString asciiDigits(QStringView text) {
    QString ascii;
    ascii.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() == QChar::Number_DecimalDigit && c.digitValue() >= 0)
            ascii += QChar(u'0' + c.digitValue());
        else
            ascii += c;
    }
    return ascii;
}

qint64 integerValue(QStringView text) {
    const QByteArray utf8 = asciiDigits(text).toUtf8();
    return static_cast<qint64>(std::strtoll(utf8.constData(), nullptr, 10));
}

void keepOnly(QLineEdit *field, QStringView allowed, qsizetype maximumLength,
              bool dropLeadingZeros) {
    const QString text = field->text();
    const QString digits = asciiDigits(text);
    const int cursor = field->cursorPosition();
    QString cleaned;
    int newCursor = 0;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (allowed.contains(digits[i])) {
            cleaned += digits[i];
            if (i < cursor)
                ++newCursor;
        }
    }
    if (dropLeadingZeros) {
        qsizetype zeros = 0;
        while (zeros + 1 < cleaned.size() && cleaned[zeros] == u'0')
            ++zeros;
        cleaned.remove(0, zeros);
        newCursor -= static_cast<int>(std::min<qsizetype>(zeros, newCursor));
    }
    if (maximumLength >= 0 && cleaned.size() > maximumLength)
        cleaned.truncate(maximumLength);
    if (cleaned != text) {
        field->setText(cleaned);
        field->setCursorPosition(std::min<int>(newCursor, cleaned.size()));
    }
}
