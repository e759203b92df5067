#include "common/Wrapping.h"

#include <QPlainTextEdit>
#include <QTextOption>

void disableWordWrap(QPlainTextEdit *textView) {
    if (!textView)
        return;
    textView->setLineWrapMode(QPlainTextEdit::NoWrap);
    textView->setWordWrapMode(QTextOption::NoWrap);
    textView->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    textView->setReadOnly(true);
}
