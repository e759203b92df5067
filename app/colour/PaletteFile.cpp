#include "colour/PaletteFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QWidget>

#include <algorithm>
#include <picture/picture.h>

namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("PaletteFile", text);
}

} // namespace

namespace {

// The file's bytes; empty for a file that cannot be read.
std::vector<std::uint8_t> bytesOf(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

} // namespace

std::vector<picture::PictureSummary> PaletteFile::pictures(const QString &path) {
    if (!QFileInfo(path).isFile())
        return {};
    return picture::listPictures(bytesOf(path));
}

QString PaletteFile::describe(unsigned index, const picture::PictureSummary &summary) {
    return tr("%1: %2 × %3, %4, %5")
        .arg(index + 1)
        .arg(summary.width)
        .arg(summary.height)
        .arg(summary.depth == 1 ? tr("1 plane") : tr("%1 planes").arg(summary.depth))
        .arg(summary.colours == 1 ? tr("1 colour") : tr("%1 colours").arg(summary.colours));
}

void PaletteFile::askWhichPicture(QWidget *parent, const QString &path,
                                  const std::vector<picture::PictureSummary> &pictures,
                                  const QString &purpose, std::function<void(unsigned)> chosen) {
    QStringList items;
    for (std::size_t i = 0; i < pictures.size(); ++i)
        items << describe(static_cast<unsigned>(i), pictures[i]);
    auto *dialog = new QInputDialog(parent);
    dialog->setObjectName(QStringLiteral("choosePictureDialog"));
    dialog->setWindowTitle(tr("Choose a Picture"));
    dialog->setLabelText(tr("“%1” holds %2 pictures. %3")
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
    if (!QFileInfo(path).isFile()) {
        result.error = tr("Cannot load a palette from “%1”: not a file.").arg(name);
        return result;
    }
    const std::vector<std::uint8_t> bytes = bytesOf(path);
    std::string why;
    const std::optional<std::vector<amiga::Rgb8>> colours =
        picture::readColourMap(bytes, &why, index);
    if (!colours) {
        // A file of pictures without a colour map has no palette; anything else cannot be read.
        const QString reason = QString::fromStdString(why);
        result.error = picture::listPictures(bytes).empty()
                           ? tr("Cannot load a palette from “%1”: %2.").arg(name, reason)
                           : tr("No palette in “%1”: %2.").arg(name, reason);
        return result;
    }
    result.ok = true;
    result.colours.reserve(static_cast<qsizetype>(colours->size()));
    for (const amiga::Rgb8 &c : *colours)
        result.colours.append(Colour::convertFrom24BitWithRed(c.red, c.green, c.blue));
    return result;
}
