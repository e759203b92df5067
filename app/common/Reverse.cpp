#include "common/Reverse.h"

#include <QTextBoundaryFinder>

QString reverse(const QString &text) {
    QString result;
    result.reserve(text.size());
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = text.size();
    finder.toEnd();
    while (end > 0) {
        const qsizetype start = finder.toPreviousBoundary();
        if (start < 0)
            break;
        result.append(QStringView(text).mid(start, end - start));
        end = start;
    }
    return result;
}
