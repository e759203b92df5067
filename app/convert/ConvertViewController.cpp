#include "convert/ConvertViewController.h"
#include "colour/PaletteFile.h"
#include "ui_ConvertViewController.h"

#include "common/HexFormatter.h"
#include "common/Reading.h"

#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QMessageBox>
#include <QMimeData>
#include <QPixmap>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QThread>
#include <QUrl>
#include <QValidator>
#include <algorithm>
#include <numeric>
#include <picture/files.h>

namespace {

// HSTART as the X field holds it: lores pixels in hexadecimal, with a fraction of .4, .8 or .c
// on AGA as quillfen-iff's --x takes it. Upper-case digits become lower case; a point waiting
// for its fraction is half way there.
class HorizontalPositionValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override {
        input = input.toLower();
        static const QRegularExpression whole(QStringLiteral("^[0-9a-f]{0,3}(\\.[48c])?$"));
        static const QRegularExpression partial(QStringLiteral("^[0-9a-f]{0,3}\\.$"));
        if (whole.match(input).hasMatch())
            return Acceptable;
        return partial.match(input).hasMatch() ? Intermediate : Invalid;
    }
};

// The first character of a font as --first takes it: what ConvertTool::firstCharacter takes,
// and on the way to it the empty field.
class FirstCharacterValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override {
        if (input.isEmpty())
            return Intermediate;
        return ConvertTool::firstCharacter(input) ? Acceptable : Invalid;
    }
};

// A spin box whose lowest value reads "the picture's" (or "All"): nothing then.
std::optional<unsigned> chosenValue(const QSpinBox *box) {
    if (box->value() == box->minimum())
        return std::nullopt;
    return static_cast<unsigned>(box->value());
}

} // namespace

ConvertViewController::ConvertViewController(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::ConvertViewController>()) {
    ui->setupUi(this);
    configureController();
}

ConvertViewController::~ConvertViewController() {
    // A reading under way ends first (it takes seconds at most); its result goes nowhere.
    if (m_reader) {
        disconnect(m_reader, nullptr, this, nullptr);
        m_reader->wait();
        delete m_reader;
    }
    // The controls outlive this part of the object: nothing they send while the tab is torn
    // down may reach it.
    for (QObject *child : findChildren<QObject *>())
        disconnect(child, nullptr, this, nullptr);
}

void ConvertViewController::setPictureSink(std::function<void(const picture::Picture *)> sink) {
    m_pictureSink = std::move(sink);
}

QPlainTextEdit *ConvertViewController::codeOutputView() const {
    return ui->exportCodeTextView;
}

void ConvertViewController::setPaletteSink(
    std::function<void(const QList<Colour> &, const QString &)> sink) {
    m_paletteSink = std::move(sink);
}

void ConvertViewController::configureController() {
    setAcceptDrops(true);
    showAsCode(ui->exportCodeTextView);
    ui->exportCodeTextView->setLineWrapMode(QPlainTextEdit::NoWrap);
    ui->spriteXLineEdit->setValidator(new HorizontalPositionValidator(this));
    // The palette formats are long names: the narrowest window still shows them whole.
    // (Setting the policy measures the items' texts afresh.)
    ui->paletteFormatComboBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    ui->paletteFormatComboBox->setMinimumWidth(ui->paletteFormatComboBox->sizeHint().width());
    ui->spriteYLineEdit->setValidator(new HexFormatter(3, this));
    for (QComboBox *box :
         {ui->sheetOutputComboBox, ui->sheetLayoutComboBox, ui->sheetMaskComboBox}) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        box->setMinimumWidth(box->sizeHint().width());
    }
    // The sheet's numbers keep room for their largest values.
    for (QSpinBox *box : ui->sheetPage->findChildren<QSpinBox *>())
        box->setMinimumWidth(box->sizeHint().width());
    ui->sheetFirstLineEdit->setValidator(new FirstCharacterValidator(this));
    // The preview keeps one size whatever it shows, so that the page does not grow with it.
    ui->sheetFramePreview->setFixedSize(112, 96);

    connect(ui->openPictureButton, &QPushButton::clicked, this,
            &ConvertViewController::openPicture);
    connect(ui->zoomComboBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        const int zooms[] = {PictureView::Fit, PictureView::One, PictureView::Two,
                             PictureView::Four};
        ui->pictureView->setZoom(zooms[std::clamp(index, 0, 3)]);
    });
    connect(ui->aspectCheckBox, &QCheckBox::toggled, this, &ConvertViewController::showAspect);
    connect(ui->usePaletteButton, &QPushButton::clicked, this,
            &ConvertViewController::usePaletteInColourTab);
    connect(ui->reduceButton, &QPushButton::clicked, this, &ConvertViewController::reduceColours);
    connect(ui->originalButton, &QPushButton::clicked, this, &ConvertViewController::useOriginal);
    connect(ui->saveButton, &QPushButton::clicked, this, &ConvertViewController::saveOutputAs);
    connect(ui->copyExportButton, &QPushButton::clicked, this, &ConvertViewController::copyOutput);

    // Every export option remakes the output at once.
    connect(ui->exportTabWidget, &QTabWidget::currentChanged, this,
            &ConvertViewController::refresh);
    for (QComboBox *box :
         {ui->bitplaneLayoutComboBox, ui->maskComboBox, ui->paletteFormatComboBox,
          ui->paletteOutputComboBox, ui->spriteWidthComboBox, ui->spriteChipsetComboBox,
          ui->spriteOutputComboBox, ui->sheetCutComboBox, ui->sheetOutputComboBox,
          ui->sheetLayoutComboBox, ui->sheetMaskComboBox})
        connect(box, &QComboBox::currentIndexChanged, this, &ConvertViewController::refresh);
    for (QSpinBox *box :
         {ui->bitplaneDepthSpinBox, ui->bitplaneTransparentSpinBox, ui->paletteColoursSpinBox,
          ui->spriteTransparentSpinBox, ui->sheetWidthSpinBox, ui->sheetHeightSpinBox,
          ui->sheetColumnsSpinBox, ui->sheetRowsSpinBox, ui->sheetSpacingXSpinBox,
          ui->sheetSpacingYSpinBox, ui->sheetCountSpinBox, ui->sheetTransparentSpinBox,
          ui->sheetFrameSpinBox})
        connect(box, &QSpinBox::valueChanged, this, &ConvertViewController::refresh);
    for (QCheckBox *box :
         {ui->invertMaskCheckBox, ui->chunkyCheckBox, ui->attachedCheckBox,
          ui->controlWordsCheckBox, ui->addWordCheckBox, ui->trimEmptyCheckBox, ui->indexCheckBox,
          ui->proportionalCheckBox, ui->dedupeCheckBox, ui->flipsCheckBox})
        connect(box, &QCheckBox::toggled, this, &ConvertViewController::refresh);
    for (QLineEdit *field : {ui->spriteXLineEdit, ui->spriteYLineEdit, ui->sheetFirstLineEdit})
        connect(field, &QLineEdit::textEdited, this, &ConvertViewController::refresh);

    showPicture();
}

// --- Opening ---

void ConvertViewController::openPicture() {
    auto *dialog = new QFileDialog(this, tr("Open Picture"));
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // Amiga pictures often have no suffix at all, so every file stays one choice away.
    dialog->setNameFilters(
        {tr("Pictures (*.iff *.ilbm *.lbm *.acbm *.pbm *.png *.IFF *.ILBM *.LBM *.PNG)"),
         tr("IFF pictures (*.iff *.ilbm *.lbm *.acbm *.pbm *.IFF *.ILBM *.LBM)"),
         tr("PNG pictures (*.png *.PNG)"), tr("All files (*)")});
    if (!m_tool.path.isEmpty())
        dialog->setDirectory(QFileInfo(m_tool.path).absolutePath());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this,
            [this](const QString &path) { startReading(path); });
    dialog->open();
}

namespace {

// The picture as the Amiga shows it, a pixel of the image a pixel of the picture.
QImage imageOf(const picture::Picture &picture) {
    const std::vector<amiga::Rgb8> colours = picture::render(picture);
    QImage image(static_cast<int>(picture.width), static_cast<int>(picture.height),
                 QImage::Format_RGB32);
    for (unsigned y = 0; y < picture.height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(static_cast<int>(y)));
        for (unsigned x = 0; x < picture.width; ++x) {
            const amiga::Rgb8 &c = colours[static_cast<std::size_t>(y) * picture.width + x];
            line[x] = qRgb(c.red, c.green, c.blue);
        }
    }
    return image;
}

// What a worker thread read: the picture and its image, the sentence that says why there is
// none, or the pictures of a file of several to choose from.
struct PictureRead {
    std::optional<picture::Picture> picture;
    QImage image;
    std::string error;
    std::vector<picture::PictureSummary> choices;
};

// The file is named in messages as shown (“name”).
PictureRead readPictureOfFile(const std::string &file, const std::string &shown,
                              std::optional<unsigned> index) {
    PictureRead read;
    std::vector<std::uint8_t> bytes;
    // Only a regular file: a device or a FIFO could keep the reading waiting for ever.
    picture::ReadLimit limit;
    limit.regularOnly = true;
    limit.name = shown;
    if (!picture::readWholeFile(file, limit, &bytes, &read.error))
        return read;
    if (!index) {
        std::vector<picture::PictureSummary> pictures = picture::listPictures(bytes);
        if (pictures.size() > 1) {
            read.choices = std::move(pictures);
            return read;
        }
    }
    std::string problem;
    read.picture = picture::readPicture(bytes, &problem, index.value_or(0));
    if (!read.picture)
        read.error = shown + ": " + problem + ".";
    else
        read.image = imageOf(*read.picture);
    return read;
}

} // namespace

void ConvertViewController::startReading(const QString &path, std::optional<unsigned> index) {
    if (path.isEmpty())
        return;
    const QString name = QFileInfo(path).fileName();
    if (m_reader) {
        setStatus(tr("Still reading “%1”; “%2” is not opened.").arg(m_readingName, name));
        emit pictureRead(false);
        return;
    }
    const std::string file = QFile::encodeName(path).toStdString();
    auto read = std::make_shared<PictureRead>();
    const std::string shown = ConvertTool::quoted(name);
    m_reader = QThread::create(
        [file, shown, read, index] { *read = readPictureOfFile(file, shown, index); });
    m_readingName = name;
    // A large picture takes a while: the window goes on, and says what it is doing.
    setStatus(tr("Reading “%1”…").arg(name));
    setCursor(Qt::BusyCursor);
    ui->openPictureButton->setEnabled(false);
    connect(m_reader, &QThread::finished, this, [this, path, read] {
        m_reader->deleteLater();
        m_reader = nullptr;
        unsetCursor();
        ui->openPictureButton->setEnabled(true);
        if (!read->choices.empty()) {
            setStatus(QString());
            PaletteFile::askWhichPicture(
                this, path, read->choices, tr("Open:"),
                [this, path](unsigned chosen) { startReading(path, chosen); });
            emit pictureRead(false);
            return;
        }
        emit pictureRead(
            showRead(path, std::move(read->picture), std::move(read->image), read->error));
    });
    m_reader->start();
}

bool ConvertViewController::openPictureFile(const QString &path, std::optional<unsigned> index) {
    if (path.isEmpty())
        return false;
    return readAndWait(this, &ConvertViewController::pictureRead, m_reader,
                       [&] { startReading(path, index); });
}

bool ConvertViewController::showRead(const QString &path, std::optional<picture::Picture> read,
                                     QImage image, const std::string &error) {
    if (!read) {
        // The picture on show stays; the sentence (made with the file's name, not its whole
        // path) says which file and what is wrong with it.
        setStatus(error.empty() ? tr("“%1” cannot be opened: It is not a picture this program "
                                     "reads.")
                                      .arg(QFileInfo(path).fileName())
                                : ConvertTool::sentence(error));
        return false;
    }
    m_tool.use(path, std::move(*read));
    {
        const QSignalBlocker quiet(ui->bitplaneDepthSpinBox);
        ui->bitplaneDepthSpinBox->setValue(ui->bitplaneDepthSpinBox->minimum());
    }
    showPicture(std::move(image));
    return true;
}

// --- Reducing ---

void ConvertViewController::reduceColours() {
    readControls();
    if (m_tool.reduce())
        showPicture();
}

void ConvertViewController::useOriginal() {
    if (m_tool.useOriginal())
        showPicture();
}

// --- Showing ---

QImage ConvertViewController::shownImage() const {
    return ui->pictureView->image();
}

void ConvertViewController::showAspect() {
    ui->pictureView->setPixelAspect(ui->aspectCheckBox->isChecked() ? m_tool.pixelAspect()
                                                                    : QSize(1, 1));
}

void ConvertViewController::showPicture(QImage image) {
    if (m_pictureSink)
        m_pictureSink(m_tool.picture ? &*m_tool.picture : nullptr);
    if (!m_tool.picture) {
        ui->pictureView->setImage(QImage());
        ui->colourMapStrip->setColours({});
    } else {
        ui->pictureView->setImage(image.isNull() ? imageOf(*m_tool.picture) : image);
        showAspect();
        QList<QColor> map;
        for (const amiga::Rgb8 &c : m_tool.picture->palette)
            map.append(QColor(c.red, c.green, c.blue));
        ui->colourMapStrip->setColours(map);
    }
    QLabel *const facts[] = {ui->fileNameValueLabel, ui->sizeValueLabel,
                             ui->depthValueLabel,    ui->modeValueLabel,
                             ui->coloursValueLabel,  ui->transparencyValueLabel,
                             ui->displayValueLabel};
    const QStringList texts = m_tool.facts();
    for (int i = 0; i < 7; ++i)
        facts[i]->setText(texts[i]);

    // What applies to this picture.
    ui->reduceGroupBox->setEnabled(m_tool.reduceAllowed());
    ui->originalButton->setEnabled(m_tool.originalAllowed());
    ui->usePaletteButton->setEnabled(m_tool.paletteAllowed());
    ui->exportTabWidget->setEnabled(m_tool.picture.has_value());
    ui->bitplaneDepthSpinBox->setMaximum(m_tool.deepestDepth());
    refresh();
}

// --- Exporting ---

void ConvertViewController::readControls() {
    m_tool.which = static_cast<Export>(std::clamp(ui->exportTabWidget->currentIndex(), 0, 3));
    ConvertTool::Bitplanes &planes = m_tool.bitplanes;
    planes.planar = ui->bitplaneLayoutComboBox->currentIndex() == 1;
    planes.depth = chosenValue(ui->bitplaneDepthSpinBox);
    planes.mask = ui->maskComboBox->currentIndex();
    planes.invertMask = ui->invertMaskCheckBox->isChecked();
    planes.chunky = ui->chunkyCheckBox->isChecked();
    planes.transparent = chosenValue(ui->bitplaneTransparentSpinBox);
    ConvertTool::Palette &palette = m_tool.palette;
    palette.format = ui->paletteFormatComboBox->currentIndex();
    palette.binary = ui->paletteOutputComboBox->currentIndex() == 1;
    palette.colours = chosenValue(ui->paletteColoursSpinBox);
    ConvertTool::Sprites &sprites = m_tool.sprites;
    sprites.width = ui->spriteWidthComboBox->currentIndex();
    sprites.attached = ui->attachedCheckBox->isChecked();
    sprites.controlWords = ui->controlWordsCheckBox->isChecked();
    sprites.aga = ui->spriteChipsetComboBox->currentIndex() == 1;
    sprites.x = ui->spriteXLineEdit->text();
    sprites.y = ui->spriteYLineEdit->text();
    sprites.text = ui->spriteOutputComboBox->currentIndex() == 0;
    sprites.transparent = chosenValue(ui->spriteTransparentSpinBox);
    ConvertTool::Sheet &sheet = m_tool.sheet;
    sheet.cut = ui->sheetCutComboBox->currentIndex();
    sheet.form = ui->sheetOutputComboBox->currentIndex();
    sheet.width = static_cast<unsigned>(ui->sheetWidthSpinBox->value());
    sheet.height = static_cast<unsigned>(ui->sheetHeightSpinBox->value());
    sheet.columns = static_cast<unsigned>(ui->sheetColumnsSpinBox->value());
    sheet.rows = static_cast<unsigned>(ui->sheetRowsSpinBox->value());
    sheet.spacingX = static_cast<unsigned>(ui->sheetSpacingXSpinBox->value());
    sheet.spacingY = static_cast<unsigned>(ui->sheetSpacingYSpinBox->value());
    sheet.count = chosenValue(ui->sheetCountSpinBox);
    sheet.planar = ui->sheetLayoutComboBox->currentIndex() == 1;
    sheet.mask = ui->sheetMaskComboBox->currentIndex();
    sheet.addWord = ui->addWordCheckBox->isChecked();
    sheet.trimEmpty = ui->trimEmptyCheckBox->isChecked();
    sheet.index = ui->indexCheckBox->isChecked();
    sheet.first = ui->sheetFirstLineEdit->text();
    sheet.proportional = ui->proportionalCheckBox->isChecked();
    sheet.dedupe = ui->dedupeCheckBox->isChecked();
    sheet.flips = ui->flipsCheckBox->isChecked();
    sheet.transparent = chosenValue(ui->sheetTransparentSpinBox);
    sheet.frame = ui->sheetFrameSpinBox->value();
    m_tool.reduction.colours = static_cast<unsigned>(ui->reduceColoursSpinBox->value());
    m_tool.reduction.twelveBit = ui->reducePrecisionComboBox->currentIndex() == 0;
    // The list's order: None, Ordered, Error diffusion.
    constexpr picture::Dither kDithers[] = {picture::Dither::None, picture::Dither::Ordered,
                                            picture::Dither::Diffuse};
    m_tool.reduction.dither = kDithers[std::clamp(ui->ditherComboBox->currentIndex(), 0, 2)];
}

void ConvertViewController::refresh() {
    // Options that the others rule out take no input.
    const bool chunky = ui->chunkyCheckBox->isChecked();
    ui->bitplaneLayoutComboBox->setEnabled(!chunky);
    ui->maskComboBox->setEnabled(!chunky);
    ui->invertMaskCheckBox->setEnabled(!chunky && ui->maskComboBox->currentIndex() != 0);
    const bool positioned = ui->controlWordsCheckBox->isChecked();
    ui->spriteXLineEdit->setEnabled(positioned);
    ui->spriteYLineEdit->setEnabled(positioned);
    enableSheetControls();

    readControls();
    m_tool.refresh();
    showSheet();
    const picture::Output &output = m_tool.output();
    const QString shownText = output.ok() ? QString::fromStdString(output.text) : QString();
    if (ui->exportCodeTextView->toPlainText() != shownText)
        ui->exportCodeTextView->setPlainText(shownText);
    const bool binary = output.ok() && output.text.empty();
    ui->exportCodeTextView->setPlaceholderText(
        binary ? tr("Binary output: Save… writes its bytes to a file for incbin.") : QString());
    ui->saveButton->setEnabled(output.ok());
    ui->copyExportButton->setEnabled(output.ok() && !output.text.empty());
    setStatus(m_tool.status());
}

void ConvertViewController::enableSheetControls() {
    // Each cut takes the options its command takes.
    const int cut = ui->sheetCutComboBox->currentIndex();
    const bool bobs = cut == 0, sprites = cut == 1, font = cut == 2, tiles = cut == 3;
    ui->sheetWidthSpinBox->setEnabled(!sprites); // a sprite's width is the Sprites page's
    const QList<QWidget *> bobOptions = {
        ui->sheetColumnsSpinBox,  ui->sheetRowsSpinBox,  ui->sheetSpacingXSpinBox,
        ui->sheetSpacingYSpinBox, ui->sheetCountSpinBox, ui->sheetMaskComboBox,
        ui->addWordCheckBox,      ui->trimEmptyCheckBox, ui->indexCheckBox};
    for (QWidget *control : bobOptions)
        control->setEnabled(bobs);
    ui->sheetLayoutComboBox->setEnabled(bobs || tiles);
    ui->sheetTransparentSpinBox->setEnabled(!tiles);
    ui->sheetFirstLineEdit->setEnabled(font);
    ui->proportionalCheckBox->setEnabled(font);
    ui->dedupeCheckBox->setEnabled(tiles);
    ui->flipsCheckBox->setEnabled(tiles && ui->dedupeCheckBox->isChecked());
}

void ConvertViewController::showSheet() {
    // (The tool cuts the sheet only while its page is shown.)
    const picture::Sheet &cut = m_tool.sheetCut();
    // The frames to choose from: as many as the cut made (a value set here sends no action).
    {
        const QSignalBlocker blocker(ui->sheetFrameSpinBox);
        ui->sheetFrameSpinBox->setMaximum(std::max(0, static_cast<int>(cut.frames.size()) - 1));
    }
    m_tool.sheet.frame = ui->sheetFrameSpinBox->value();
    QList<QRect> frames;
    QStringList labels;
    for (std::size_t i = 0; i < cut.frames.size(); ++i) {
        const picture::Region &r = cut.frames[i];
        frames.append(QRect(static_cast<int>(r.x), static_cast<int>(r.y), static_cast<int>(r.width),
                            static_cast<int>(r.height)));
        labels.append(QString::fromStdString(cut.labels[i]));
    }
    ui->pictureView->setCuts(frames, labels, m_tool.sheet.frame);

    const std::optional<picture::Picture> frame = m_tool.chosenFrame();
    if (!frame) {
        ui->sheetFramePreview->setPixmap(QPixmap());
        ui->sheetFramePreview->setText(tr("–"));
        return;
    }
    // Whole screen pixels a frame pixel (at most 8), in the display's shape, as large as fits
    // in the preview's box; a frame larger than the box is made smaller to fit it.
    const QSize aspect = ui->aspectCheckBox->isChecked() ? m_tool.pixelAspect() : QSize(1, 1);
    const QSize shape(static_cast<int>(frame->width) * aspect.width(),
                      static_cast<int>(frame->height) * aspect.height());
    const QSize box = ui->sheetFramePreview->contentsRect().size();
    const int factor =
        std::clamp(std::min(box.width() / shape.width(), box.height() / shape.height()), 1, 8);
    QImage image = imageOf(*frame).scaled(shape * factor);
    if (image.width() > box.width() || image.height() > box.height())
        image = image.scaled(box, Qt::KeepAspectRatio);
    ui->sheetFramePreview->setPixmap(QPixmap::fromImage(image));
}

void ConvertViewController::setStatus(const QString &text) {
    ui->convertStatusLabel->setText(text);
}

QString ConvertViewController::status() const {
    return ui->convertStatusLabel->text();
}

// --- Saving and copying ---

void ConvertViewController::saveOutputAs() {
    if (!m_tool.output().ok()) {
        setStatus(m_tool.status());
        return;
    }
    auto *dialog = new QFileDialog(this, tr("Save Export"));
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->selectFile(m_tool.suggestedSaveName());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString &path) {
        // The dialog asked about the file chosen; the one saved beside it is asked about here.
        const QString second =
            m_tool.which == Export::Sheet ? m_tool.companionPath(path) : QString();
        if (!second.isEmpty() && QFileInfo::exists(second) &&
            QMessageBox::question(this, tr("Save Export"),
                                  tr("“%1” is saved beside it and already exists. Replace it?")
                                      .arg(QFileInfo(second).fileName())) != QMessageBox::Yes) {
            setStatus(tr("Nothing is saved."));
            return;
        }
        saveOutput(path);
    });
    dialog->open();
}

bool ConvertViewController::saveOutput(const QString &path) {
    QString said;
    const bool saved = m_tool.save(path, &said);
    setStatus(said);
    return saved;
}

void ConvertViewController::copyOutput() {
    QGuiApplication::clipboard()->setText(ui->exportCodeTextView->toPlainText());
}

// --- The palette for the Colour tool ---

void ConvertViewController::usePaletteInColourTab() {
    if (!m_tool.paletteAllowed() || !m_paletteSink)
        return;
    m_paletteSink(m_tool.paletteColours(), m_tool.name);
}
// --- Dropping ---

void ConvertViewController::dragEnterEvent(QDragEnterEvent *event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.first().isLocalFile())
        event->acceptProposedAction();
}

void ConvertViewController::dropEvent(QDropEvent *event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    startReading(urls.first().toLocalFile());
}
