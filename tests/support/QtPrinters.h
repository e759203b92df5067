#pragma once
// Readable GoogleTest output for Qt values, and Qt texts streamed into a failure's message.
#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os) {
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QStringList &list, std::ostream *os) {
    *os << '[';
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (i)
            *os << ", ";
        PrintTo(list[i], os);
    }
    *os << ']';
}

inline std::ostream &operator<<(std::ostream &os, const QString &text) {
    return os << text.toStdString();
}

inline std::ostream &operator<<(std::ostream &os, const QStringList &texts) {
    return os << texts.join(", ").toStdString();
}
