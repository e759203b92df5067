#include "workbench/CopperWorkbenchViewController.h"
#include "ui_CopperWorkbenchViewController.h"

#include "common/Reading.h"
#include "workbench/CopperListingModel.h"
#include "workbench/FrameView.h"

#include <amiga/copperlist.h>
#include <amiga/copperread.h>

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QShortcut>
#include <QThread>

#include <picture/files.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

// Words as a memory view shows them, eight a line: what the text reader reads back.
QString memoryView(const std::vector<std::uint16_t> &words) {
    QString text;
    text.reserve(static_cast<qsizetype>(words.size()) * 5 + 16);
    for (std::size_t i = 0; i < words.size(); ++i) {
        text += QStringLiteral("%1").arg(words[i], 4, 16, QLatin1Char('0'));
        text += (i % 8 == 7 || i + 1 == words.size()) ? QLatin1Char('\n') : QLatin1Char(' ');
    }
    return text;
}

QString readErrors(const amiga::CopperRead &read) {
    QStringList lines;
    for (const amiga::CopperReadError &error : read.errors) {
        const QString message = QString::fromStdString(error.message);
        lines.append(error.line > 0 ? QCoreApplication::translate("CopperWorkbench", "Line %1: %2")
                                          .arg(error.line)
                                          .arg(message)
                                    : message);
        if (lines.size() == 5)
            break;
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

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
    m_listing = new CopperListingModel(this);
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
        if (!m_words.empty())
            readList();
    });
    connect(ui->ntscButton, &QCheckBox::toggled, this, [this] {
        if (!m_words.empty())
            readList();
    });
    connect(ui->previewRegisterSpinBox, &QSpinBox::valueChanged, this,
            &CopperWorkbenchViewController::updatePreview);
    // Ctrl+Return in the pasted text reads it.
    auto *read = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return), ui->copperSourceTextEdit);
    read->setContext(Qt::WidgetShortcut);
    connect(read, &QShortcut::activated, this, [this] { readList(); });
    ui->fieldsLabel->setText(tr("Select an instruction to see its fields."));
    updatePreview();
    // The whole frame under the listing; a click on a pixel selects the instruction that set
    // its colour.
    m_frameView = new FrameView(this);
    ui->mainLayout->addWidget(m_frameView);
    connect(m_frameView, &FrameView::instructionChosen, this, [this](int instruction) {
        for (int row = 0; row < m_listing->rowCount(); ++row) {
            if (m_listing->entryAt(row)->word == 2 * static_cast<std::size_t>(instruction)) {
                ui->listingListView->setCurrentIndex(m_listing->index(row));
                return;
            }
        }
    });
}

amiga::CopperFrame::Chipset CopperWorkbenchViewController::chipset() const {
    return ui->chipsetComboBox->currentIndex() == 1 ? amiga::CopperFrame::Chipset::Aga
                                                    : amiga::CopperFrame::Chipset::Ocs;
}

int CopperWorkbenchViewController::frameLines() const {
    return ui->ntscButton->isChecked() ? amiga::CopperFrame::kNtscLines
                                       : amiga::CopperFrame::kLines;
}

bool CopperWorkbenchViewController::readList() {
    const amiga::CopperRead read =
        amiga::readCopperText(ui->copperSourceTextEdit->toPlainText().toStdString());
    if (!read.ok()) {
        // The listing of the last list that was read stays, so nothing is lost.
        ui->readMessageLabel->setText(readErrors(read));
        return false;
    }
    m_words = read.words;
    // The bits are named as the chosen chipset has them; OCS/ECS names ECS's additions too.
    const amiga::Chipset bitsChipset =
        chipset() == amiga::CopperFrame::Chipset::Aga ? amiga::Chipset::Aga : amiga::Chipset::Ecs;
    if (!m_explain || m_explainChipset != bitsChipset) {
        m_explain = amiga::explainThroughDatabase(amiga::registerDatabase(), bitsChipset);
        m_explainChipset = bitsChipset;
    }
    amiga::CopperListing listing =
        amiga::disassemble(m_words, {chipset(), m_explain, frameLines()});
    const std::size_t count = listing.entries.size();
    m_listing->setListing(std::move(listing));
    ui->readMessageLabel->setText(
        m_listing->listing().cannotPerform
            ? tr("%n instruction(s); the copper cannot perform every one (shown in red).", nullptr,
                 static_cast<int>(count))
            : tr("%n instruction(s).", nullptr, static_cast<int>(count)));
    ui->previewRegisterSpinBox->setMaximum(chipset() == amiga::CopperFrame::Chipset::Aga ? 255
                                                                                         : 31);
    selectInstruction();
    updatePreview();
    m_frameView->setList(m_words,
                         chipset() == amiga::CopperFrame::Chipset::Aga ? amiga::Chipset::Aga
                                                                       : amiga::Chipset::Ocs,
                         ui->ntscButton->isChecked());
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
        // Text holds no control characters but tabs and line ends; copper words always do: a
        // MOVE's first word is a register offset below $200, so its high byte is $00 or $01.
        const QByteArray head = file.read(64 * 1024);
        const bool binary = std::any_of(head.begin(), head.end(), [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return byte < 0x20 && (byte < '\t' || byte > '\r');
        });
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
    if (!ui->binaryFileCheckBox->isChecked()) {
        ui->copperSourceTextEdit->setPlainText(QString::fromUtf8(bytes));
        return readList();
    }
    const amiga::CopperRead read =
        amiga::readCopperBinary({reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                                 static_cast<std::size_t>(bytes.size())},
                                static_cast<std::size_t>(ui->binaryOffsetSpinBox->value()));
    if (!read.ok()) {
        ui->readMessageLabel->setText(readErrors(read));
        return false;
    }
    // The words go into the text as a memory view, which reads back to the same words.
    ui->copperSourceTextEdit->setPlainText(memoryView(read.words));
    return readList();
}

QString CopperWorkbenchViewController::listingText() const {
    return QString::fromStdString(amiga::copperListingText(m_listing->listing()));
}

QString CopperWorkbenchViewController::readMessage() const {
    return ui->readMessageLabel->text();
}

void CopperWorkbenchViewController::copyListing() {
    QApplication::clipboard()->setText(listingText());
}

void CopperWorkbenchViewController::selectInstruction() {
    const amiga::CopperListEntry *entry =
        m_listing->entryAt(ui->listingListView->currentIndex().row());
    if (!entry) {
        ui->fieldsLabel->setText(tr("Select an instruction to see its fields."));
        return;
    }
    QString html = QStringLiteral("<table>");
    html += QStringLiteral("<tr><td>%1</td><td><tt>%2</tt></td></tr>")
                .arg(tr("words"), QStringLiteral("$%1,$%2")
                                      .arg(entry->words.first, 4, 16, QLatin1Char('0'))
                                      .arg(entry->words.second, 4, 16, QLatin1Char('0')));
    for (const amiga::CopperField &field : entry->fields)
        html += QStringLiteral("<tr><td>%1&nbsp;</td><td><tt>%2</tt></td></tr>")
                    .arg(QString::fromStdString(field.name).toHtmlEscaped(),
                         QString::fromStdString(field.value).toHtmlEscaped());
    html += QStringLiteral("</table>");
    for (const amiga::CopperProblem problem : entry->problems)
        html += QStringLiteral("<p style=\"color:#c01010\">%1</p>")
                    .arg(QString::fromUtf8(amiga::describe(problem).data(),
                                           static_cast<qsizetype>(amiga::describe(problem).size()))
                             .toHtmlEscaped());
    for (const std::string &note : entry->notes)
        html += QStringLiteral("<p style=\"color:#c01010\">%1</p>")
                    .arg(QString::fromStdString(note).toHtmlEscaped());
    ui->fieldsLabel->setText(html);
}

void CopperWorkbenchViewController::updatePreview() {
    if (m_words.empty()) {
        ui->framePreview->clearFrame();
        return;
    }
    amiga::CopperFrame frame(chipset(), amiga::CopperFrame::kPictureStart, frameLines());
    frame.run(m_words);
    ui->framePreview->showFrame(frame, ui->previewRegisterSpinBox->value());
}
