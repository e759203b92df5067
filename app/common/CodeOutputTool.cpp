#include "common/CodeOutputTool.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPlainTextEdit>

QString CodeOutputTool::codeOutputText() const {
    const QPlainTextEdit *view = codeOutputView();
    return view ? view->toPlainText() : QString();
}

void showAsCode(QPlainTextEdit *view) {
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    view->setFont(fixed);
    view->setTabStopDistance(8 * QFontMetricsF(fixed).horizontalAdvance(QLatin1Char(' ')));
}
