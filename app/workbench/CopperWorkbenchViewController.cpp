#include "workbench/CopperWorkbenchViewController.h"
#include "ui_CopperWorkbenchViewController.h"

#include "common/Reading.h"
#include "workbench/CopperListingModel.h"
#include "workbench/FrameView.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QShortcut>
#include <QThread>

#include <picture/files.h>

#include <memory>
#include <string>

CopperWorkbenchViewController::CopperWorkbenchViewController(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::CopperWorkbenchViewController>()) {
    ui->setupUi(this);
    configureController();
}

CopperWorkbenchViewController::~CopperWorkbenchViewController() {
    // A reading under way ends first (it takes seconds at most); its result goes nowhere.
    if (m_reader) {
        disconnect(m_reader, nullptr, this, nullptr);
        m_reader->wait();
        delete m_reader;
    }
}

void CopperWorkbenchViewController::configureController() {
    m_listing = new CopperListingModel(m_tool, this);
    ui->listingListView->setModel(m_listing);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    ui->listingListView->setFont(fixed);
    // A colour swatch as high as a line of text, so that a row is one line.
    const int swatch = QFontMetrics(fixed).height() - 2;
    ui->listingListView->setIconSize(QSize(swatch * 2, swatch));
    showAsCode(ui->copperSourceTextEdit);
    ui->copperSourceTextEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    ui->copperSourceTextEdit->setTabChangesFocus(true);
    connect(ui->listingListView->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &CopperWorkbenchViewController::selectInstruction);

    connect(ui->readListButton, &QPushButton::clicked, this, [this] { readList(); });
    connect(ui->openListButton, &QPushButton::clicked, this,
            &CopperWorkbenchViewController::openList);
    connect(ui->copyListingButton, &QPushButton::clicked, this,
            &CopperWorkbenchViewController::copyListing);
    connect(ui->binaryFileCheckBox, &QCheckBox::toggled, ui->binaryOffsetSpinBox,
            &QWidget::setEnabled);
    // A change of chip set reads the same list again: the colours and problems depend on it.
    connect(ui->chipsetComboBox, &QComboBox::currentIndexChanged, this, [this] {
        if (m_tool.hasList())
            readList();
    });
    connect(ui->ntscButton, &QCheckBox::toggled, this, [this] {
        if (m_tool.hasList())
            readList();
    });
    connect(ui->symbolsLineEdit, &QLineEdit::returnPressed, this, [this] { readList(); });
    connect(ui->previewRegisterSpinBox, &QSpinBox::valueChanged, this,
            &CopperWorkbenchViewController::updatePreview);
    // Ctrl+Return in the pasted text reads it.
    auto *read = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return), ui->copperSourceTextEdit);
    read->setContext(Qt::WidgetShortcut);
    connect(read, &QShortcut::activated, this, [this] { readList(); });
    selectInstruction();
    updatePreview();
    // The whole frame under the listing; a click on a pixel selects the instruction that set
    // its colour.
    m_frameView = new FrameView(this);
    ui->mainLayout->addWidget(m_frameView);
    connect(m_frameView, &FrameView::instructionChosen, this, [this](int instruction) {
        const std::vector<amiga::CopperListEntry> &entries = m_tool.listing().entries;
        for (int row = 0; row < static_cast<int>(entries.size()); ++row) {
            if (entries[static_cast<std::size_t>(row)].word ==
                2 * static_cast<std::size_t>(instruction)) {
                ui->listingListView->setCurrentIndex(m_listing->index(row));
                return;
            }
        }
    });
}

bool CopperWorkbenchViewController::readList() {
    m_tool.aga = ui->chipsetComboBox->currentIndex() == 1;
    m_tool.ntsc = ui->ntscButton->isChecked();
    m_tool.symbols = ui->symbolsLineEdit->text();
    if (!m_tool.read(ui->copperSourceTextEdit->toPlainText())) {
        ui->readMessageLabel->setText(m_tool.message());
        return false;
    }
    m_listing->change([this] { m_tool.disassemble(); });
    ui->readMessageLabel->setText(m_tool.message());
    ui->previewRegisterSpinBox->setMaximum(m_tool.lastColourRegister());
    selectInstruction();
    updatePreview();
    m_frameView->setList(m_tool.words(), m_tool.aga ? amiga::Chipset::Aga : amiga::Chipset::Ocs,
                         m_tool.ntsc);
    return true;
}

void CopperWorkbenchViewController::openList() {
    const QString path = QFileDialog::getOpenFileName(this, tr("Open a Copper List"));
    if (!path.isEmpty())
        startReading(path);
}

void CopperWorkbenchViewController::startReading(const QString &path) {
    const QString name = QFileInfo(path).fileName();
    if (m_reader) {
        ui->readMessageLabel->setText(
            tr("Still reading “%1”; “%2” is not opened.").arg(m_readingName, name));
        emit fileRead(false);
        return;
    }
    const std::string file = QFile::encodeName(path).toStdString();
    struct Read {
        std::vector<std::uint8_t> bytes;
        std::string error;
        bool ok = false;
    };
    auto read = std::make_shared<Read>();
    // Only a regular file, counted as read: a device or a FIFO neither blocks the tab nor fills
    // the memory. The messages name the file as the other tabs do.
    picture::ReadLimit limit{picture::kCopperListLimit, "copper list", true,
                             QStringLiteral("“%1”").arg(name).toStdString()};
    m_reader = QThread::create([file, limit, read] {
        read->ok = picture::readWholeFile(file, limit, &read->bytes, &read->error);
    });
    m_readingName = name;
    ui->readMessageLabel->setText(tr("Reading “%1”…").arg(name));
    setCursor(Qt::BusyCursor);
    ui->openListButton->setEnabled(false);
    connect(m_reader, &QThread::finished, this, [this, read] {
        m_reader->deleteLater();
        m_reader = nullptr;
        unsetCursor();
        ui->openListButton->setEnabled(true);
        if (!read->ok) {
            ui->readMessageLabel->setText(QString::fromStdString(read->error));
            emit fileRead(false);
            return;
        }
        emit fileRead(showFile(QByteArray(reinterpret_cast<const char *>(read->bytes.data()),
                                          static_cast<qsizetype>(read->bytes.size()))));
    });
    m_reader->start();
}

bool CopperWorkbenchViewController::openFileByContent(const QString &path) {
    QFile file(path);
    // Only a regular file is looked into (a FIFO would keep the window waiting); the reading
    // refuses anything else in words.
    if (QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly)) {
        const bool binary = WorkbenchTool::looksBinary(file.read(64 * 1024));
        ui->binaryFileCheckBox->setChecked(binary);
        if (binary)
            ui->binaryOffsetSpinBox->setValue(0);
    }
    return openFile(path);
}

bool CopperWorkbenchViewController::openFile(const QString &path) {
    return readAndWait(this, &CopperWorkbenchViewController::fileRead, m_reader,
                       [&] { startReading(path); });
}

bool CopperWorkbenchViewController::showFile(const QByteArray &bytes) {
    const std::optional<QString> source =
        m_tool.sourceOfFile(bytes, ui->binaryFileCheckBox->isChecked(),
                            static_cast<std::size_t>(ui->binaryOffsetSpinBox->value()));
    if (!source) {
        ui->readMessageLabel->setText(m_tool.message());
        return false;
    }
    ui->copperSourceTextEdit->setPlainText(*source);
    return readList();
}

QString CopperWorkbenchViewController::readMessage() const {
    return ui->readMessageLabel->text();
}

void CopperWorkbenchViewController::copyListing() {
    QApplication::clipboard()->setText(listingText());
}

void CopperWorkbenchViewController::selectInstruction() {
    ui->fieldsLabel->setText(m_tool.fieldsText(ui->listingListView->currentIndex().row()));
}

void CopperWorkbenchViewController::updatePreview() {
    if (!m_tool.hasList()) {
        ui->framePreview->clearFrame();
        return;
    }
    ui->framePreview->showFrame(m_tool.frame(), ui->previewRegisterSpinBox->value());
}
