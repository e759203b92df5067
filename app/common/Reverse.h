#pragma once
#include <QString>

// Reverses text by user-perceived characters: a base character with its
// combining marks, or a surrogate pair, moves as one unit.
QString reverse(const QString &text);
