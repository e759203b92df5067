#include "registers/RegistersViewController.h"
#include "ui_RegistersViewController.h"

#include "registers/BlitterSection.h"
#include "registers/RegisterDatabase.h"
#include "registers/RegisterWord.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QClipboard>
#include <QCompleter>
#include <QEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QtDebug>
#include <algorithm>
#include <array>
#include <cstdint>

RegistersViewController::RegistersViewController(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::RegistersViewController>()) {
    ui->setupUi(this);
    configureController();
}

RegistersViewController::~RegistersViewController() = default;

void RegistersViewController::configureController() {
    // Bit i's box, which has the tag i + 1. (Not a QButtonGroup: Qt makes the buttons of a group
    // one Tab stop, and each bit must be reachable from the keyboard.)
    m_bitButtons = {ui->bit00, ui->bit01, ui->bit02, ui->bit03, ui->bit04, ui->bit05,
                    ui->bit06, ui->bit07, ui->bit08, ui->bit09, ui->bit10, ui->bit11,
                    ui->bit12, ui->bit13, ui->bit14, ui->bit15};
    for (QLabel *label : {ui->registerSummaryLabel, ui->registerNoteLabel, ui->registerExtraLabel})
        label->setTextFormat(Qt::PlainText);
    // The AGA box reports the register; the user cannot change it.
    ui->registerIsAGACheckButton->installEventFilter(this);

    // Typing a register's name into the pop-up jumps to it; a list of the
    // names that start with what has been typed comes up on the way.
    QComboBox *popUp = ui->registerPopUpButton;
    auto *completer = new QCompleter(popUp->model(), this);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchStartsWith);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    popUp->setCompleter(completer);

    parseRegisterData();

    // activated is sent only for the user's choice, never for a selection made by code.
    connect(popUp, &QComboBox::activated, this,
            [this] { changeRegister(ui->registerPopUpButton); });
    connect(popUp->lineEdit(), &QLineEdit::returnPressed, this,
            &RegistersViewController::jumpToTypedRegister);
    connect(popUp->lineEdit(), &QLineEdit::editingFinished, this,
            &RegistersViewController::restoreRegisterName);
    connect(ui->groupPopUpButton, &QComboBox::activated, this,
            [this] { changeGroup(ui->groupPopUpButton); });
    connect(ui->chipsetPopUpButton, &QComboBox::activated, this,
            &RegistersViewController::changeChipset);
    connect(ui->goalSeekTextField, &QLineEdit::textEdited, this,
            [this] { controlTextDidChange(ui->goalSeekTextField); });
    for (QCheckBox *box : m_bitButtons)
        connect(box, &QAbstractButton::clicked, this, [this] { calculateBitValue(); });
    connect(ui->goalSeekButton, &QPushButton::clicked, this, [this] { goalSeek(); });
    connect(ui->goalSeekTextField, &QLineEdit::returnPressed, this, [this] { goalSeek(); });

    showAsCode(ui->registerCodeTextView);
    ui->registerCodeTextView->setLineWrapMode(QPlainTextEdit::NoWrap);
    connect(ui->setClearPopUpButton, &QComboBox::currentIndexChanged, this,
            &RegistersViewController::outputCode);
    connect(ui->registerCopperButton, &QAbstractButton::toggled, this,
            &RegistersViewController::outputCode);
    connect(ui->copyRegisterCodeButton, &QPushButton::clicked, this,
            &RegistersViewController::copyCode);
    outputCode();
    m_blitter = new BlitterSection(ui.get(), &m_tool.blitter, this);
}

void RegistersViewController::parseRegisterData() {
    QList<std::shared_ptr<Register>> registers = RegisterDatabase::take();
    if (chipset() != amiga::Chipset::Aga)
        for (std::shared_ptr<Register> &reg : registers)
            reg = Register::fromLayout(reg->record(), chipset());
    showRegisterArray(std::move(registers));
}

void RegistersViewController::parseRegisterData(const QByteArray &data) {
    std::string error;
    const std::vector<amiga::RegisterLayout> records = amiga::readRegisterDatabase(
        std::string_view(data.constData(), static_cast<std::size_t>(data.size())), &error);
    if (error.empty() && records.empty())
        error = "the document holds no registers";
    if (!error.empty())
        qWarning().noquote()
            << QStringLiteral("parseErrorOccurred: '%1'").arg(QString::fromStdString(error));
    showRegisterArray(RegisterDatabase::registersOf(records, chipset()));
}

amiga::Chipset RegistersViewController::chipset() const {
    switch (ui->chipsetPopUpButton->currentIndex()) {
    case 0:
        return amiga::Chipset::Ocs;
    case 1:
        return amiga::Chipset::Ecs;
    default:
        return amiga::Chipset::Aga;
    }
}

void RegistersViewController::changeChipset() {
    m_tool.word = currentWord();
    const bool shown = m_tool.shown != nullptr;
    m_tool.setChipset(chipset());
    if (!shown)
        return;
    const int group = ui->groupPopUpButton->currentIndex();
    const std::uint16_t word = m_tool.word;
    changeRegister(ui->registerPopUpButton);
    if (group >= 0 && group < ui->groupPopUpButton->count())
        ui->groupPopUpButton->setCurrentIndex(group);
    m_tool.word = word;
    showWord();
    calculateBitValue();
}

void RegistersViewController::showRegisterArray(QList<std::shared_ptr<Register>> registers) {
    m_tool.setRegisters(std::move(registers));
    m_tool.chipset = chipset();

    QComboBox *popUp = ui->registerPopUpButton;
    popUp->clear();
    for (const std::shared_ptr<Register> &reg : m_tool.registers)
        popUp->addItem(reg->name);
    popUp->setEnabled(!m_tool.registers.isEmpty());
    changeRegister(popUp);

    if (m_tool.registers.isEmpty()) {
        // Without a database the bits still add up, under plain bit numbers.
        ui->registerAddressLabel->clear();
        ui->registerSummaryLabel->setText(
            QStringLiteral("No registers: the register database could not be read."));
        ui->groupPopUpButton->clear();
        m_tool.word = 0;
        showWord();
        showRegisterDetails();
        calculateBitValue();
    }
}

bool RegistersViewController::eventFilter(QObject *watched, QEvent *event) {
    if (watched == ui->registerIsAGACheckButton) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QPlainTextEdit *RegistersViewController::codeOutputView() const {
    return ui->registerCodeTextView;
}

QAbstractButton *RegistersViewController::viewWithTag(int tag) const {
    return tag >= 1 && tag <= 16 ? m_bitButtons[static_cast<std::size_t>(tag - 1)] : nullptr;
}

void RegistersViewController::changeRegister(QComboBox *sender) {
    if (!m_tool.show(sender ? sender->itemText(sender->currentIndex()) : QString()))
        return;
    const Register &shown = *m_tool.shown;
    ui->registerAddressLabel->setText(QStringLiteral("$%1").arg(shown.address));
    ui->registerSummaryLabel->setText(shown.summary);
    showWord();
    ui->groupPopUpButton->clear();
    ui->groupPopUpButton->addItems(m_tool.groups());
    showRegisterDetails();
    restoreRegisterName();
    calculateBitValue();
}

void RegistersViewController::changeGroup(QComboBox *) {
    calculateBitValue();
}

void RegistersViewController::showWord() {
    const RegisterWord::Bits bits = RegisterWord::bitsOf(m_tool.word);
    for (int i = 0; i < 16; ++i)
        m_bitButtons[static_cast<std::size_t>(i)]->setChecked(bits[static_cast<std::size_t>(i)]);
}

std::uint16_t RegistersViewController::currentWord() const {
    RegisterWord::Bits bits{};
    for (int i = 0; i < 16; ++i) {
        // A mixed state counts as off.
        bits[i] = m_bitButtons[static_cast<std::size_t>(i)]->checkState() == Qt::Checked;
    }
    return RegisterWord::wordOf(bits);
}

void RegistersViewController::calculateBitValue(QObject *) {
    m_tool.word = currentWord();
    QComboBox *groups = ui->groupPopUpButton;
    m_tool.group = groups->count() ? groups->itemText(groups->currentIndex()) : QString();
    QLabel *const word[] = {ui->lowByteLabel,   ui->lowByteBase16Label,   ui->lowByteBinaryLabel,
                            ui->highByteLabel,  ui->highByteBase16Label,  ui->highByteBinaryLabel,
                            ui->finalWordLabel, ui->finalWordBase16Label, ui->finalBinaryLabel};
    const QStringList results = m_tool.results();
    for (int i = 0; i < 9; ++i)
        word[i]->setText(results[i]);
    outputCode();
    // Without a group the group's labels keep what they showed.
    const QStringList group = m_tool.groupResults();
    if (group.isEmpty())
        return;
    ui->groupWordLabel->setText(group[0]);
    ui->groupWordBase16Label->setText(group[1]);
    ui->groupBinaryLabel->setText(group[2]);
}

void RegistersViewController::controlTextDidChange(QLineEdit *field) {
    if (field != ui->goalSeekTextField)
        return;
    const QString typed = field->text();
    const QString clean = QString::fromStdString(RegisterWord::cleanGoal(typed.toStdString()));
    if (clean == typed)
        return;
    // The cursor stays after the characters kept from what stood before it.
    const qsizetype cursor =
        RegisterWord::cleanGoal(typed.left(field->cursorPosition()).toStdString()).size();
    field->setText(clean);
    field->setCursorPosition(static_cast<int>(std::min(cursor, clean.size())));
}

void RegistersViewController::outputCode() {
    m_tool.word = currentWord();
    m_tool.clear = ui->setClearPopUpButton->currentIndex() == 1;
    m_tool.copper = ui->registerCopperButton->isChecked();
    ui->setClearPopUpButton->setEnabled(m_tool.setClearAllowed());
    if (!m_tool.shown)
        ui->registerCodeTextView->clear();
    else
        ui->registerCodeTextView->setPlainText(m_tool.code());
}

void RegistersViewController::copyCode() {
    QGuiApplication::clipboard()->setText(ui->registerCodeTextView->toPlainText());
}

void RegistersViewController::goalSeek(QObject *) {
    m_tool.seekGoal(ui->goalSeekTextField->text());
    showWord();
    calculateBitValue();
}

void RegistersViewController::jumpToTypedRegister() {
    QComboBox *popUp = ui->registerPopUpButton;
    const int index = m_tool.indexOfTyped(popUp->lineEdit()->text());
    if (index >= 0) {
        popUp->setCurrentIndex(index);
        changeRegister(popUp);
    } else {
        restoreRegisterName();
    }
}

void RegistersViewController::restoreRegisterName() {
    QComboBox *popUp = ui->registerPopUpButton;
    const QString name = popUp->itemText(popUp->currentIndex());
    if (popUp->lineEdit() && popUp->lineEdit()->text() != name)
        popUp->lineEdit()->setText(name);
}

void RegistersViewController::showRegisterDetails() {
    const Register *reg = m_tool.shown.get();
    ui->registerNoteLabel->setText(reg ? reg->note.trimmed() : QString());
    ui->registerNoteLabel->setVisible(!ui->registerNoteLabel->text().isEmpty());
    ui->registerExtraLabel->setText(reg ? reg->extraInformation.trimmed() : QString());
    ui->registerExtraLabel->setVisible(!ui->registerExtraLabel->text().isEmpty());
    ui->registerIsAGACheckButton->setChecked(reg && reg->isAGA);
    for (int i = 0; i < 16; ++i) {
        QAbstractButton *button = m_bitButtons[static_cast<std::size_t>(i)];
        const RegistersTool::BitLabel label = m_tool.bitLabel(i);
        button->setText(label.title);
        QFont font = button->font();
        font.setItalic(label.italic);
        button->setFont(font);
        button->setToolTip(label.toolTip);
        button->setAccessibleName(label.accessibleName);
        button->setAccessibleDescription(label.accessibleDescription);
    }
}
