#include "common/HexToBinary.h"

QString convertHexToBinary(const QString &text) {
    QString result;
    result.reserve(text.size() * 4);
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        int value;
        if (u >= u'0' && u <= u'9')
            value = u - u'0';
        else if (u >= u'a' && u <= u'f')
            value = u - u'a' + 10;
        else if (u >= u'A' && u <= u'F')
            value = u - u'A' + 10;
        else
            continue;
        for (int bit = 3; bit >= 0; --bit)
            result.append((value >> bit) & 1 ? u'1' : u'0');
    }
    return result;
}
