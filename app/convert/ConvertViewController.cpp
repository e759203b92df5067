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
#include <QMimeData>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QThread>
#include <QUrl>
#include <QValidator>
#include <algorithm>
#include <numeric>
#include <picture/files.h>

namespace {

QString text(const std::string &s) {
    return QString::fromStdString(s);
}

// A message of the libraries as a sentence for the status line: a capital first, a full stop
// last.
QString sentence(const std::string &message) {
    QString text = QString::fromStdString(message).trimmed();
    if (text.isEmpty())
        return text;
    text[0] = text[0].toUpper();
    if (!text.endsWith(QLatin1Char('.')) && !text.endsWith(QLatin1Char('!')) &&
        !text.endsWith(QLatin1Char('?')))
        text += QLatin1Char('.');
    return text;
}

// A file's name as the window's messages show it: “name”.
std::string quoted(const QString &name) {
    return QStringLiteral("“%1”").arg(name).toStdString();
}

// The hexadecimal value of a field, or nothing when it is empty.
std::optional<unsigned> hexValue(const QString &field) {
    if (field.isEmpty())
        return std::nullopt;
    bool ok = false;
    const unsigned value = field.toUInt(&ok, 16);
    return ok ? std::optional<unsigned>(value) : std::nullopt;
}

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

// The display mode a picture was drawn for and the shape it gives a pixel, as the steps across
// and down of one pixel: a lores pixel is 4 steps of 35 ns wide, a hires one 2 and a superhires
// one 1; a line is as tall as a lores pixel is wide, an interlaced line half that (CAMG: HIRES
// $8000, SUPERHIRES $20, LACE $4). Lores 1 x 1, hires 1 x 2, lores interlaced 2 x 1, hires
// interlaced 1 x 1, superhires 1 x 4. An IFF picture without a CAMG takes the shape nearest to
// its BMHD's pixel aspect (lores when it gives none); a PNG has no mode and square pixels.
struct DisplayShape {
    QString mode; // empty for a PNG
    QSize aspect{1, 1};
};

DisplayShape displayShape(const picture::Picture &picture) {
    if (picture.source == picture::Source::Png)
        return {};
    if (!picture.hasViewportMode && picture.xAspect > 0 && picture.yAspect > 0) {
        // Pixels at least half again as tall as wide are hires-shaped; half again as wide,
        // interlaced lores-shaped (10:11 is a square PAL lores pixel, 5:11 hires, 20:11 lores
        // interlaced, as paint programs write them).
        const double ratio = static_cast<double>(picture.xAspect) / picture.yAspect;
        if (ratio < 2.0 / 3.0)
            return {QStringLiteral("none saved, BMHD aspect %1:%2")
                        .arg(picture.xAspect)
                        .arg(picture.yAspect),
                    {1, 2}};
        if (ratio > 1.5)
            return {QStringLiteral("none saved, BMHD aspect %1:%2")
                        .arg(picture.xAspect)
                        .arg(picture.yAspect),
                    {2, 1}};
    }
    const std::uint32_t mode = picture.viewportMode;
    const bool superhires = (mode & 0x20) != 0;
    const bool hires = !superhires && (mode & 0x8000) != 0;
    const bool interlaced = (mode & 0x4) != 0;
    const int wide = superhires ? 1 : hires ? 2 : 4;
    const int tall = interlaced ? 2 : 4;
    const int common = std::gcd(wide, tall);
    QString name = superhires ? QStringLiteral("superhires")
                   : hires    ? QStringLiteral("hires")
                              : QStringLiteral("lores");
    if (interlaced)
        name += QStringLiteral(" interlaced");
    return {name, {wide / common, tall / common}};
}

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
    for (QComboBox *box : {ui->bitplaneLayoutComboBox, ui->maskComboBox, ui->paletteFormatComboBox,
                           ui->paletteOutputComboBox, ui->spriteWidthComboBox,
                           ui->spriteChipsetComboBox, ui->spriteOutputComboBox})
        connect(box, &QComboBox::currentIndexChanged, this, &ConvertViewController::refresh);
    for (QSpinBox *box : {ui->bitplaneDepthSpinBox, ui->bitplaneTransparentSpinBox,
                          ui->paletteColoursSpinBox, ui->spriteTransparentSpinBox})
        connect(box, &QSpinBox::valueChanged, this, &ConvertViewController::refresh);
    for (QCheckBox *box : {ui->invertMaskCheckBox, ui->chunkyCheckBox, ui->attachedCheckBox,
                           ui->controlWordsCheckBox})
        connect(box, &QCheckBox::toggled, this, &ConvertViewController::refresh);
    for (QLineEdit *field : {ui->spriteXLineEdit, ui->spriteYLineEdit})
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
    if (!m_path.isEmpty())
        dialog->setDirectory(QFileInfo(m_path).absolutePath());
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
    const std::string shown = quoted(name);
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
    const QString name = QFileInfo(path).fileName();
    if (!read) {
        // The picture on show stays; the sentence (made with the file's name, not its whole
        // path) says which file and what is wrong with it.
        setStatus(
            error.empty()
                ? tr("“%1” cannot be opened: It is not a picture this program reads.").arg(name)
                : sentence(error));
        return false;
    }
    m_path = path;
    m_name = name;
    m_pictureNotes.clear();
    for (const std::string &warning : read->warnings)
        m_pictureNotes +=
            (m_pictureNotes.isEmpty() ? QString() : QStringLiteral(" ")) + sentence(warning);
    m_original = std::move(read);
    m_picture = m_original;
    // A picture of another depth has other planes: the picture's own depth is the default again.
    {
        const QSignalBlocker quiet(ui->bitplaneDepthSpinBox);
        ui->bitplaneDepthSpinBox->setValue(ui->bitplaneDepthSpinBox->minimum());
    }
    showPicture(std::move(image));
    return true;
}

// --- Reducing ---

picture::Reduction ConvertViewController::reduction() const {
    picture::Reduction reduction;
    reduction.colours = static_cast<unsigned>(ui->reduceColoursSpinBox->value());
    reduction.twelveBit = ui->reducePrecisionComboBox->currentIndex() == 0;
    // The list's order: None, Ordered, Error diffusion.
    constexpr picture::Dither kDithers[] = {picture::Dither::None, picture::Dither::Ordered,
                                            picture::Dither::Diffuse};
    reduction.dither = kDithers[std::clamp(ui->ditherComboBox->currentIndex(), 0, 2)];
    return reduction;
}

void ConvertViewController::reduceColours() {
    if (!m_original || !m_original->isTrueColour())
        return;
    m_picture = picture::reduce(*m_original, reduction());
    showPicture();
}

void ConvertViewController::useOriginal() {
    if (!m_original)
        return;
    m_picture = m_original;
    showPicture();
}

// --- Showing ---

QImage ConvertViewController::shownImage() const {
    return ui->pictureView->image();
}

void ConvertViewController::showAspect() {
    ui->pictureView->setPixelAspect(m_picture && ui->aspectCheckBox->isChecked()
                                        ? displayShape(*m_picture).aspect
                                        : QSize(1, 1));
}

void ConvertViewController::showPicture(QImage image) {
    const bool shown = m_picture.has_value();
    QLocale locale;
    if (!shown) {
        ui->pictureView->setImage(QImage());
        ui->colourMapStrip->setColours({});
        for (QLabel *label :
             {ui->fileNameValueLabel, ui->sizeValueLabel, ui->depthValueLabel, ui->modeValueLabel,
              ui->coloursValueLabel, ui->transparencyValueLabel, ui->displayValueLabel})
            label->setText(QStringLiteral("–"));
    } else {
        const picture::Picture &picture = *m_picture;
        if (image.isNull())
            image = imageOf(picture);
        ui->pictureView->setImage(image);
        showAspect();

        QList<QColor> map;
        for (const amiga::Rgb8 &c : picture.palette)
            map.append(QColor(c.red, c.green, c.blue));
        ui->colourMapStrip->setColours(map);

        const bool reduced = m_original && m_original->isTrueColour() && !picture.isTrueColour();
        ui->fileNameValueLabel->setText(m_name);
        ui->sizeValueLabel->setText(tr("%1 × %2").arg(picture.width).arg(picture.height));
        const int depth = static_cast<int>(picture.depth);
        ui->depthValueLabel->setText(
            !picture.trueColour.empty() ? tr("true colour")
            : picture.source == picture::Source::Png
                ? (depth == 1 ? tr("1 bit a pixel") : tr("%1 bits a pixel").arg(depth))
                : (depth == 1 ? tr("1 plane") : tr("%1 planes").arg(depth)));
        ui->modeValueLabel->setText(
            tr("%1 %2").arg(text(std::string(picture::sourceName(picture.source))),
                            text(picture::describeMode(picture))) +
            (reduced ? tr(", reduced") : QString()));
        if (picture.isTrueColour()) {
            constexpr unsigned limit = 1u << 16;
            const unsigned count = picture::countColours(picture, limit + 1);
            ui->coloursValueLabel->setText(count > limit
                                               ? tr("more than %1").arg(locale.toString(limit))
                                               : tr("%1 distinct").arg(locale.toString(count)));
        } else {
            ui->coloursValueLabel->setText(tr("%1 in the colour map").arg(picture.palette.size()));
        }
        QString transparency = tr("none");
        if (!picture.opacity.empty())
            transparency = tr("mask plane");
        else if (picture.transparentColours.size() == 1)
            transparency = tr("colour %1").arg(picture.transparentColours.front());
        else if (!picture.transparentColours.empty())
            transparency = tr("%1 colours").arg(picture.transparentColours.size());
        else if (!picture.trueColour.empty() &&
                 std::any_of(picture.trueColour.begin(), picture.trueColour.end(),
                             [](const picture::Rgba8 &c) { return c.alpha < 128; }))
            transparency = tr("alpha channel");
        ui->transparencyValueLabel->setText(transparency);
        const DisplayShape shape = displayShape(picture);
        ui->displayValueLabel->setText(shape.mode.isEmpty() ? tr("none saved, square pixels")
                                                            : tr("%1, pixels %2 × %3")
                                                                  .arg(shape.mode)
                                                                  .arg(shape.aspect.width())
                                                                  .arg(shape.aspect.height()));
    }

    // What applies to this picture.
    const bool trueColour = m_original && m_original->isTrueColour();
    ui->reduceGroupBox->setEnabled(trueColour);
    ui->originalButton->setEnabled(trueColour && m_picture && !m_picture->isTrueColour());
    ui->usePaletteButton->setEnabled(shown && !m_picture->palette.empty());
    ui->exportTabWidget->setEnabled(shown);
    const bool deep = shown && !m_picture->deepPixels.empty();
    ui->bitplaneDepthSpinBox->setMaximum(deep ? 32 : 8);
    refresh();
}

// --- Exporting ---

ConvertViewController::Export ConvertViewController::currentExport() const {
    return static_cast<Export>(std::clamp(ui->exportTabWidget->currentIndex(), 0, 2));
}

picture::RawOptions ConvertViewController::rawOptions() const {
    picture::RawOptions options;
    options.planar = ui->bitplaneLayoutComboBox->currentIndex() == 1;
    options.depth = chosenValue(ui->bitplaneDepthSpinBox);
    const amiga::MaskOutput masks[] = {amiga::MaskOutput::None, amiga::MaskOutput::After,
                                       amiga::MaskOutput::Only};
    options.chunky = ui->chunkyCheckBox->isChecked();
    // Chunky bytes have no mask: the mask controls are off then, and what they show is not asked.
    options.mask = options.chunky ? amiga::MaskOutput::None
                                  : masks[std::clamp(ui->maskComboBox->currentIndex(), 0, 2)];
    options.invertMask =
        options.mask != amiga::MaskOutput::None && ui->invertMaskCheckBox->isChecked();
    options.transparentColour = chosenValue(ui->bitplaneTransparentSpinBox);
    return options;
}

picture::PaletteOptions ConvertViewController::paletteOptions() const {
    picture::PaletteOptions options;
    const amiga::PaletteFormat formats[] = {
        amiga::PaletteFormat::Words,  amiga::PaletteFormat::Rgb8,
        amiga::PaletteFormat::Rgb32,  amiga::PaletteFormat::LoadRgb32,
        amiga::PaletteFormat::Copper, amiga::PaletteFormat::CopperAga};
    options.format = formats[std::clamp(ui->paletteFormatComboBox->currentIndex(), 0, 5)];
    options.binary = ui->paletteOutputComboBox->currentIndex() == 1;
    options.colours = chosenValue(ui->paletteColoursSpinBox);
    return options;
}

picture::SpriteExportOptions ConvertViewController::spriteOptions() const {
    picture::SpriteExportOptions options;
    const unsigned widths[] = {16, 32, 64};
    options.sprite.width = widths[std::clamp(ui->spriteWidthComboBox->currentIndex(), 0, 2)];
    options.sprite.attached = ui->attachedCheckBox->isChecked();
    options.sprite.controlWords = ui->controlWordsCheckBox->isChecked();
    options.sprite.aga = ui->spriteChipsetComboBox->currentIndex() == 1;
    // Control words from a position when both X and Y are given as they should be (else
    // spriteProblem says why not); zero without them.
    const amiga::HorizontalStart x =
        amiga::readHorizontalStart(ui->spriteXLineEdit->text().toStdString(), options.sprite.aga);
    const std::optional<unsigned> y = hexValue(ui->spriteYLineEdit->text());
    if (options.sprite.controlWords && x.problem == amiga::HorizontalStart::Problem::None && y)
        options.sprite.position = amiga::SpritePosition{x.quarters, *y};
    options.text = ui->spriteOutputComboBox->currentIndex() == 0;
    options.transparentColour = chosenValue(ui->spriteTransparentSpinBox);
    return options;
}

QString ConvertViewController::spriteProblem() const {
    // As quillfen-iff sprite refuses them.
    const bool aga = ui->spriteChipsetComboBox->currentIndex() == 1;
    if (ui->spriteWidthComboBox->currentIndex() > 0 && !aga)
        return tr("Sprites of %1 pixels are AGA's (FMODE): choose the AGA chipset.")
            .arg(spriteOptions().sprite.width);
    if (ui->controlWordsCheckBox->isChecked() &&
        ui->spriteXLineEdit->text().isEmpty() != ui->spriteYLineEdit->text().isEmpty())
        return tr("X and Y go together: a sprite's position is HSTART and VSTART; give both, or "
                  "neither for control words of zero.");
    // As quillfen-iff's --x refuses them.
    const QString x = ui->spriteXLineEdit->text();
    if (!ui->controlWordsCheckBox->isChecked() || x.isEmpty())
        return {};
    using Problem = amiga::HorizontalStart::Problem;
    switch (amiga::readHorizontalStart(x.toStdString(), aga).problem) {
    case Problem::None:
        break;
    case Problem::NotLoresPixels:
        return tr("X takes HSTART in lores pixels, a hexadecimal number from 0 to 1ff, not %1.")
            .arg(x);
    case Problem::BadFraction:
        return tr("The fraction of X %1 must be .4, .8 or .c (a quarter, a half or three "
                  "quarters of a lores pixel).")
            .arg(x);
    case Problem::FractionNeedsAga:
        return tr("X %1 places a sprite between lores pixels, which only AGA can do; choose "
                  "the AGA chipset or give a whole pixel.")
            .arg(x);
    }
    return {};
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

    m_output = {};
    if (!m_picture) {
        m_output.error = tr("Open a picture: Open Picture…, File ▸ Open Picture… or a picture "
                            "file dropped here.")
                             .toStdString();
    } else {
        switch (currentExport()) {
        case Export::Bitplanes:
            m_output = picture::rawBitplanes(*m_picture, rawOptions());
            break;
        case Export::Palette:
            m_output = picture::paletteOutput(*m_picture, paletteOptions());
            break;
        case Export::Sprites:
            if (const QString problem = spriteProblem(); problem.isEmpty())
                m_output = picture::spriteOutput(*m_picture, spriteOptions());
            else
                m_output.error = problem.toStdString();
            break;
        }
    }
    const QString shownText = m_output.ok() ? text(m_output.text) : QString();
    if (ui->exportCodeTextView->toPlainText() != shownText)
        ui->exportCodeTextView->setPlainText(shownText);
    const bool binary = m_output.ok() && m_output.text.empty();
    ui->exportCodeTextView->setPlaceholderText(
        binary ? tr("Binary output: Save… writes its bytes to a file for incbin.") : QString());
    ui->saveButton->setEnabled(m_output.ok());
    ui->copyExportButton->setEnabled(m_output.ok() && !m_output.text.empty());
    setStatus(outputStatus());
}

QString ConvertViewController::outputStatus() const {
    if (!m_output.ok())
        return sentence(m_output.error);
    QLocale locale;
    QString status;
    if (!m_output.text.empty()) {
        const int lines =
            static_cast<int>(std::count(m_output.text.begin(), m_output.text.end(), '\n'));
        status = lines == 1 ? tr("1 line of text.") : tr("%1 lines of text.").arg(lines);
    } else {
        status =
            tr("%1 bytes.").arg(locale.toString(static_cast<qulonglong>(m_output.bytes.size())));
    }
    for (const std::string &warning : m_output.warnings)
        status += QLatin1Char(' ') + sentence(warning);
    if (!m_pictureNotes.isEmpty())
        status += QLatin1Char(' ') + m_pictureNotes;
    return status;
}

void ConvertViewController::setStatus(const QString &text) {
    ui->convertStatusLabel->setText(text);
}

QString ConvertViewController::status() const {
    return ui->convertStatusLabel->text();
}

// --- Saving and copying ---

void ConvertViewController::saveOutputAs() {
    if (!m_output.ok()) {
        setStatus(sentence(m_output.error));
        return;
    }
    const bool binary = m_output.text.empty();
    const char *suffixes[] = {"raw", "pal", "spr"};
    const QString suffix =
        binary ? QLatin1String(suffixes[static_cast<int>(currentExport())]) : QStringLiteral("s");
    QString suggested = QFileInfo(m_path).completeBaseName() + QLatin1Char('.') + suffix;
    if (!m_path.isEmpty())
        suggested = QFileInfo(m_path).absoluteDir().filePath(suggested);
    auto *dialog = new QFileDialog(this, tr("Save Export"));
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->selectFile(suggested);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this,
            [this](const QString &path) { saveOutput(path); });
    dialog->open();
}

bool ConvertViewController::saveOutput(const QString &path) {
    if (!m_output.ok()) {
        setStatus(sentence(m_output.error));
        return false;
    }
    const QString name = QFileInfo(path).fileName();
    // Written whole or not at all: a file being replaced stays as it was when writing fails.
    const std::string bytes = m_output.text.empty()
                                  ? std::string(m_output.bytes.begin(), m_output.bytes.end())
                                  : m_output.text;
    std::string error;
    if (!picture::writeWholeFile(QFile::encodeName(path).toStdString(), bytes.data(), bytes.size(),
                                 &error, quoted(name))) {
        setStatus(sentence(error));
        return false;
    }
    setStatus(tr("Saved %1 bytes to “%2”.")
                  .arg(QLocale().toString(static_cast<qlonglong>(bytes.size())), name));
    return true;
}

void ConvertViewController::copyOutput() {
    QGuiApplication::clipboard()->setText(ui->exportCodeTextView->toPlainText());
}

// --- The palette for the Colour tool ---

void ConvertViewController::usePaletteInColourTab() {
    if (!m_picture || m_picture->palette.empty() || !m_paletteSink)
        return;
    QList<Colour> colours;
    colours.reserve(static_cast<qsizetype>(m_picture->palette.size()));
    for (const amiga::Rgb8 &c : m_picture->palette)
        colours.append(Colour::convertFrom24BitWithRed(c.red, c.green, c.blue));
    m_paletteSink(colours, m_name);
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
