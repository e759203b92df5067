// The path of one of the real pictures that the ILBM tests keep, for the Convert tool's tests.
#pragma once

#include <QString>

inline QString picturePath(const char *name) {
    return QStringLiteral(QUILLFEN_TEST_PICTURES "/") + QLatin1String(name);
}
