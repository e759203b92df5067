#pragma once
#include <QString>

// Spells each hexadecimal digit (either case) of text as four binary digits,
// most significant first; every other character is passed over.
QString convertHexToBinary(const QString &text);
