#pragma once
#include <QString>
#include <QStringView>
#include <QtGlobal>

class QLineEdit;

// The number at the start of a text, read as strtoll(text, nullptr, 10) reads it: leading white
// space, an optional sign and decimal digits up to the first other character; 0 when there is
// none; saturated at the 64-bit limits. Decimal digits of any script count as their value.
qint64 integerValue(QStringView text);

// The text with every decimal digit of another script ("٢", "２") written as its ASCII digit.
QString asciiDigits(QStringView text);

// Keeps only the characters of allowed in the field (digits of any script first becoming ASCII
// digits), without leading zeros when dropLeadingZeros is set, and then at most maximumLength of
// them (no limit when negative): what the user meant is cleaned before it is cut. Writes the
// text back when it changed, keeping the cursor where the user left it among the kept
// characters.
void keepOnly(QLineEdit *field, QStringView allowed, qsizetype maximumLength = -1,
              bool dropLeadingZeros = false);
