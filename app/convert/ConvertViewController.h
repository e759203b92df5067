#pragma once
#include "colour/Colour.h"
#include "common/CodeOutputTool.h"
#include "convert/ConvertTool.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <picture/export.h>
#include <picture/picture.h>
#include <picture/reduce.h>

namespace Ui {
class ConvertViewController;
}
class QPlainTextEdit;
class QThread;

// The Convert tool: a picture (ILBM, ACBM, PBM or PNG) read by the picture library and shown as
// the Amiga shows it, its colours reduced when it is true colour, and its bitplanes, palette or
// sprites written with the same options and the same bytes as quillfen-iff's raw, palette and
// sprite commands.
class ConvertViewController : public QWidget, public CodeOutputTool {
    Q_OBJECT
public:
    using Export = ConvertTool::Export;

    explicit ConvertViewController(QWidget *parent = nullptr);
    ~ConvertViewController() override;

    Ui::ConvertViewController *controls() const { return ui.get(); }
    QPlainTextEdit *codeOutputView() const override;

    // Where "Use Palette in Colour Tab" hands the colour map, with the name of the picture it
    // came from. Without a sink the button does nothing.
    void setPaletteSink(std::function<void(const QList<Colour> &, const QString &)> sink);
    // Where the picture the exports work on goes each time it changes (read, reduced, back to
    // the one read); null when there is none.
    void setPictureSink(std::function<void(const picture::Picture *)> sink);

    // Reads a picture file on a worker thread and shows it when it is read, pictureRead telling
    // whether it was: picture index (0 the first) when given; else its one picture, or, for a
    // file of several, the one the user picks from a list that this opens (pictureRead gives
    // false meanwhile). The window goes on while it reads, the status line saying what is read.
    // A file that cannot be read (or is no regular file) leaves the picture on show as it was;
    // the status line says why.
    void startReading(const QString &path, std::optional<unsigned> index = std::nullopt);
    bool isReading() const { return m_reader != nullptr; }
    // The same, waiting for the reading to end: whether the picture is shown.
    bool openPictureFile(const QString &path, std::optional<unsigned> index = std::nullopt);
    bool hasPicture() const { return m_tool.picture.has_value(); }
    // The picture the exports work on (the reduced one after Reduce), and the one read.
    const std::optional<picture::Picture> &workingPicture() const { return m_tool.picture; }
    const std::optional<picture::Picture> &originalPicture() const { return m_tool.original; }
    QString pictureName() const { return m_tool.name; }
    // The picture as shown, one image pixel a picture pixel.
    QImage shownImage() const;
    // What the controls hold, as the last computation read them.
    const ConvertTool &tool() const { return m_tool; }

    // The export the controls ask for, as it stands.
    const picture::Output &output() const { return m_tool.output(); }
    // Writes the output (bytes, or text) to a file. Nothing is written when there is no output
    // or the export was refused; the status line says why.
    bool saveOutput(const QString &path);
    // The status line's text.
    QString status() const;

signals:
    void pictureRead(bool opened);

public slots:
    // Asks for a picture file and opens it: the button, and File > Open Picture.
    void openPicture();
    // Reduces the picture read to the colours the reduction row asks for.
    void reduceColours();
    // Goes back to the picture as read.
    void useOriginal();
    // Asks for a file name and saves the output.
    void saveOutputAs();
    void copyOutput();
    // Hands the colour map to the palette sink.
    void usePaletteInColourTab();
    // Remakes the output from the picture and the controls.
    void refresh();

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void configureController();
    // Shows a picture (the working one): the view, the facts, the colour map, the controls that
    // apply to it. The image, when given, is the picture already rendered (on a worker thread).
    void showPicture(QImage image = QImage());
    // Gives the view the picture's pixel aspect, or square pixels when the check box is off.
    void showAspect();
    void setStatus(const QString &text);
    // Shows a picture read from path, or says why there is none: whether it is shown.
    bool showRead(const QString &path, std::optional<picture::Picture> read, QImage image,
                  const std::string &error);
    // Copies the export and reduction controls into the tool.
    void readControls();
    // Turns on the sheet options the chosen cut takes.
    void enableSheetControls();
    // Shows the sheet's cut: the frames over the picture and the chosen one by itself.
    void showSheet();

    std::unique_ptr<Ui::ConvertViewController> ui;
    ConvertTool m_tool;
    std::function<void(const QList<Colour> &, const QString &)> m_paletteSink;
    std::function<void(const picture::Picture *)> m_pictureSink;
    // The reading under way, and the name of its file.
    QThread *m_reader = nullptr;
    QString m_readingName;
};
