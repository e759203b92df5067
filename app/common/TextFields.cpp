#include "common/TextFields.h"

#include <QLineEdit>
#include <algorithm>
#include <cstdlib>

qint64 integerValue(QStringView text) {
    const QByteArray utf8 = text.toUtf8();
    return static_cast<qint64>(std::strtoll(utf8.constData(), nullptr, 10));
}

void keepOnly(QLineEdit *field, QStringView allowed, qsizetype maximumLength) {
    const QString text = field->text();
    const int cursor = field->cursorPosition();
    QString cleaned;
    int newCursor = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (allowed.contains(text[i])) {
            cleaned += text[i];
            if (i < cursor)
                ++newCursor;
        }
    }
    if (maximumLength >= 0 && cleaned.size() > maximumLength)
        cleaned.truncate(maximumLength);
    if (cleaned != text) {
        field->setText(cleaned);
        field->setCursorPosition(std::min<int>(newCursor, cleaned.size()));
    }
}
