#include "PaletteFile.h"

#include <QCoreApplication>

PaletteFile PaletteFile::read(const QString &path) {
    PaletteFile result;
    result.error = QCoreApplication::translate("PaletteFile",
                                               "Cannot read “%1”: this build has no ILBM reader")
                       .arg(path);
    return result;
}
