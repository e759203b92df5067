#pragma once
#include "colour/Colour.h"

#include <QList>
#include <QString>

// The palette of an IFF picture file: the colour map (CMAP) of its ILBM
// pictures; when there are several, the last one that has a colour map. A PNG
// gives its palette (PLTE), or the grey levels of a grey picture.
struct PaletteFile {
    // The colours of each colour map, in file order; empty when the file gave
    // no palette.
    QList<QList<Colour>> colourMaps;
    // Why there is no palette, for the user; empty on success.
    QString error;

    static PaletteFile read(const QString &path);

    // Why a read failed, from the libraries' messages: the first that is not a
    // warning (else the first), without its "ERROR: ", "Error: " or "WARNING: "
    // mark in any case and without closing "!" or ".", to go after a colon.
    static QString reasonOf(const QByteArray &messages);
};
