#include "colour/PaletteFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QWidget>

#include <algorithm>

#include <picture/files.h>
#include <picture/picture.h>

namespace {

QString paletteText(const char *text) {
    return QCoreApplication::translate("PaletteFile", text);
}

} // namespace

namespace {

// The file's bytes, read as a picture is (a regular file, within a picture's limit); empty for a
// file that cannot be read.
std::vector<std::uint8_t> bytesOf(const QString &path) {
    std::vector<std::uint8_t> bytes;
    picture::ReadLimit limit;
    limit.regularOnly = true;
    std::string unread;
    if (!picture::readWholeFile(QFile::encodeName(path).toStdString(), limit, &bytes, &unread))
        return {};
    return bytes;
}

} // namespace

std::vector<picture::PictureSummary> PaletteFile::pictures(const QString &path) {
    if (!QFileInfo(path).isFile())
        return {};
    return picture::listPictures(bytesOf(path));
}

QString PaletteFile::describe(unsigned index, const picture::PictureSummary &summary) {
    return paletteText("%1: %2 × %3, %4, %5")
        .arg(index + 1)
        .arg(summary.width)
        .arg(summary.height)
        .arg(summary.depth == 1 ? paletteText("1 plane")
                                : paletteText("%1 planes").arg(summary.depth))
        .arg(summary.colours == 1 ? paletteText("1 colour")
                                  : paletteText("%1 colours").arg(summary.colours));
}

void PaletteFile::askWhichPicture(QWidget *parent, const QString &path,
                                  const std::vector<picture::PictureSummary> &pictures,
                                  const QString &purpose, std::function<void(unsigned)> chosen) {
    QStringList items;
    for (std::size_t i = 0; i < pictures.size(); ++i)
        items << describe(static_cast<unsigned>(i), pictures[i]);
    auto *dialog = new QInputDialog(parent);
    dialog->setObjectName(QStringLiteral("choosePictureDialog"));
    dialog->setWindowTitle(paletteText("Choose a Picture"));
    dialog->setLabelText(paletteText("“%1” holds %2 pictures. %3")
                             .arg(QFileInfo(path).fileName())
                             .arg(pictures.size())
                             .arg(purpose));
    dialog->setComboBoxItems(items);
    dialog->setComboBoxEditable(false);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QInputDialog::textValueSelected, dialog,
                     [items, chosen = std::move(chosen)](const QString &text) {
                         chosen(static_cast<unsigned>(std::max<qsizetype>(items.indexOf(text), 0)));
                     });
    dialog->open();
}

PaletteFile PaletteFile::read(const QString &path, unsigned index) {
    PaletteFile result;
    const QString name = QFileInfo(path).fileName();
    const std::string file = QFile::encodeName(path).toStdString();
    // The whole file, counted as read and only a regular one: a device or a FIFO neither keeps
    // the window waiting nor fills the memory. A palette comes from a picture file, so the
    // limit is a picture's.
    std::vector<std::uint8_t> bytes;
    std::string why;
    picture::ReadLimit limit;
    limit.regularOnly = true;
    limit.name = QStringLiteral("“%1”").arg(name).toStdString();
    if (!picture::readWholeFile(file, limit, &bytes, &why)) {
        result.error = paletteText("Cannot load a palette: %1").arg(QString::fromStdString(why));
        return result;
    }
    const std::optional<std::vector<amiga::Rgb8>> colours =
        picture::readColourMap(bytes, &why, index);
    if (!colours) {
        // A file of pictures without a colour map has no palette; anything else cannot be read.
        const QString reason = QString::fromStdString(why);
        result.error = picture::listPictures(bytes).empty()
                           ? paletteText("Cannot load a palette from “%1”: %2.").arg(name, reason)
                           : paletteText("No palette in “%1”: %2.").arg(name, reason);
        return result;
    }
    result.ok = true;
    result.colours.reserve(static_cast<qsizetype>(colours->size()));
    for (const amiga::Rgb8 &c : *colours)
        result.colours.append(Colour::convertFrom24BitWithRed(c.red, c.green, c.blue));
    return result;
}
