#pragma once
#include <QString>
#include <QtGlobal>

// Reads hexadecimal text exactly as strtol(text, nullptr, 16) does: leading
// white space, an optional sign, an optional 0x/0X prefix, then the longest run
// of hex digits; 0 when there is none; saturates at the signed 64-bit limits.
// A leading "$" is not a prefix: it ends the parse and gives 0.
qint64 convertHexToInteger(const QString &text);
