#pragma once
#include <QString>
#include <QStringView>
#include <QtGlobal>

class QLineEdit;

// The number at the start of a text, read as strtoll(text, nullptr, 10) reads it: leading white
// space, an optional sign and decimal digits up to the first other character; 0 when there is
// none; saturated at the 64-bit limits.
qint64 integerValue(QStringView text);

// Keeps only the characters of allowed in the field, at most maximumLength of them (no limit when
// negative), writing the text back when it changed and keeping the cursor where the user left it
// among the kept characters.
void keepOnly(QLineEdit *field, QStringView allowed, qsizetype maximumLength = -1);
