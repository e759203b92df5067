#include "workbench/FrameView.h"
#include "ui_FrameView.h"

#include <picture/files.h>

#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMouseEvent>
#include <QPainter>

FrameView::FrameView(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::FrameView>()) {
    ui->setupUi(this);
    ui->storyLabel->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    ui->frameLabel->installEventFilter(this);
    connect(ui->openChipButton, &QPushButton::clicked, this, &FrameView::openChip);
    connect(ui->clearChipButton, &QPushButton::clicked, this, &FrameView::clearChip);
    connect(ui->zoomSpinBox, &QSpinBox::valueChanged, this, &FrameView::showImage);
    connect(ui->outlineCheckBox, &QCheckBox::toggled, this, &FrameView::showImage);
    connect(ui->spriteDmaCheckBox, &QCheckBox::toggled, this, [this](bool on) {
        m_request.setup.spriteDma = on;
        redraw();
    });
    m_request.setup.copperAddress = 0x1000;
}

FrameView::~FrameView() = default;

void FrameView::setList(const std::vector<std::uint16_t> &words, amiga::Chipset chipset,
                        bool ntsc) {
    m_request.list = words;
    m_request.setup.chipset = chipset;
    m_request.setup.ntsc = ntsc;
    m_hasList = true;
    redraw();
}

bool FrameView::addChipFile(const QString &path, std::uint32_t address) {
    amiga::ChipPlacement piece;
    piece.address = address;
    piece.name = QFileInfo(path).fileName().toStdString();
    std::string message;
    if (!picture::readWholeFile(path.toStdString(), {std::size_t{2} << 20, "chip data", true},
                                &piece.data, &message)) {
        ui->chipLabel->setText(QString::fromStdString(message));
        return false;
    }
    m_request.chip.push_back(std::move(piece));
    redraw();
    return true;
}

void FrameView::clearChip() {
    m_request.chip.clear();
    redraw();
}

void FrameView::openChip() {
    bool ok = false;
    const uint address = ui->chipAddressLineEdit->text().remove(QLatin1Char('$')).toUInt(&ok, 16);
    if (!ok) {
        ui->chipLabel->setText(tr("The address is a hexadecimal number, such as 20000."));
        return;
    }
    const QString path = QFileDialog::getOpenFileName(this, tr("Open Chip Data"));
    if (!path.isEmpty())
        addChipFile(path, address);
}

void FrameView::redraw() {
    if (!m_hasList)
        return;
    m_region = amiga::visibleRegion(m_request.setup.ntsc);
    amiga::FramePicture picture;
    std::string message;
    if (!amiga::drawFrame(m_request, m_region, &picture, &message)) {
        ui->chipLabel->setText(QString::fromStdString(message));
        return;
    }
    QStringList lines;
    for (const amiga::ChipPlacement &piece : m_request.chip)
        lines.append(tr("%1 at $%2 (%3 bytes)")
                         .arg(QString::fromStdString(piece.name))
                         .arg(piece.address, 0, 16)
                         .arg(piece.data.size()));
    for (const std::string &note : picture.notes)
        lines.append(QString::fromStdString(note));
    ui->chipLabel->setText(lines.isEmpty() ? tr("No chip data: open the data the list points at.")
                                           : lines.join(QLatin1Char('\n')));
    m_interlaced = picture.interlaced;
    m_outlines = picture.outlines;
    m_image = QImage(picture.columns, picture.rows, QImage::Format_RGB32);
    for (int y = 0; y < picture.rows; ++y) {
        auto *row = reinterpret_cast<QRgb *>(m_image.scanLine(y));
        for (int x = 0; x < picture.columns; ++x)
            row[x] =
                0xff000000u | picture.pixels[static_cast<std::size_t>(y) * picture.columns + x];
    }
    showImage();
}

void FrameView::showImage() {
    if (m_image.isNull())
        return;
    QImage shown = m_image;
    if (ui->outlineCheckBox->isChecked()) {
        // Each line's window edges in yellow, its fetched picture's in cyan.
        for (int y = 0; y < shown.height() && y < static_cast<int>(m_outlines.size()); ++y) {
            const amiga::LineOutline &o = m_outlines[static_cast<std::size_t>(y)];
            auto mark = [&](int h, QRgb colour) {
                const int x = 2 * (h - m_region.h0);
                if (h >= 0 && x >= 0 && x < shown.width())
                    shown.setPixel(x, y, colour);
            };
            mark(o.fetchFrom, 0xff00ffff);
            mark(o.fetchTo - 1, 0xff00ffff);
            mark(o.windowFrom, 0xffffff00);
            mark(o.windowTo - 1, 0xffffff00);
        }
    }
    const int zoom = ui->zoomSpinBox->value();
    ui->frameLabel->setPixmap(
        QPixmap::fromImage(shown.scaled(shown.width() * zoom, shown.height() * zoom,
                                        Qt::IgnoreAspectRatio, Qt::FastTransformation)));
    ui->frameLabel->resize(ui->frameLabel->pixmap().size());
}

void FrameView::explainAt(int h, int v) {
    std::string text, message;
    amiga::PixelStory story;
    if (!amiga::explainPixel(m_request, h, v, &text, &message, &story)) {
        ui->storyLabel->setText(QString::fromStdString(message));
        return;
    }
    ui->storyLabel->setText(QString::fromStdString(text).trimmed());
    const std::uint32_t start = m_request.setup.copperAddress;
    const bool inList = story.writeClock >= 0 && story.writeAddress >= start &&
                        story.writeAddress < start + 2 * m_request.list.size();
    emit instructionChosen(inList ? static_cast<int>((story.writeAddress - start) / 4) : -1);
}

QString FrameView::storyText() const {
    return ui->storyLabel->text();
}

bool FrameView::eventFilter(QObject *watched, QEvent *event) {
    if (watched == ui->frameLabel && event->type() == QEvent::MouseButtonPress && m_hasList &&
        !m_image.isNull()) {
        const QPoint at = static_cast<QMouseEvent *>(event)->position().toPoint();
        const int zoom = ui->zoomSpinBox->value();
        const int column = at.x() / zoom, row = at.y() / zoom;
        if (column < m_image.width() && row < m_image.height())
            explainAt(m_region.h0 + column / 2, m_region.v0 + (m_interlaced ? row / 2 : row));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
