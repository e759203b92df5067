#pragma once
#include "colour/Colour.h"

#include <QList>
#include <QString>

#include <picture/picture.h>

#include <functional>
#include <vector>

class QWidget;

// The palette of a picture file, read by the picture library as the programs
// read it (picture::readColourMap): the colour map of one picture, the first
// unless another is named; a PNG's palette (PLTE) or grey levels; a palette
// saved alone.
struct PaletteFile {
    // The colours of the picture's colour map; empty when the file gave none.
    QList<Colour> colours;
    // Whether a palette was read (it may have no colours).
    bool ok = false;
    // Why there is no palette, for the user; empty on success.
    QString error;

    // The palette of picture index (0 the first) of the file.
    static PaletteFile read(const QString &path, unsigned index = 0);
    // The pictures the file holds, to choose among when there are several.
    static std::vector<picture::PictureSummary> pictures(const QString &path);
    // A picture of a list for the user: "2: 320 x 256, 5 planes, 32 colours".
    static QString describe(unsigned index, const picture::PictureSummary &summary);
    // Asks which of the file's pictures is meant, in a window-modal list over parent (object
    // name "choosePictureDialog"); chosen(index) runs once the user has picked one.
    static void askWhichPicture(QWidget *parent, const QString &path,
                                const std::vector<picture::PictureSummary> &pictures,
                                const QString &purpose, std::function<void(unsigned)> chosen);
};
