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

namespace {

// A button title shows an ampersand only when it is doubled.
QString buttonTitle(const QString &text) {
    QString title = text;
    return title.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QString hex(unsigned value, int digits) {
    return QStringLiteral("0x%1").arg(value, digits, 16, QLatin1Char('0'));
}

} // namespace

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
    m_blitter = new BlitterSection(ui.get(), this);
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
    const std::uint16_t word = currentWord();
    for (std::shared_ptr<Register> &reg : registerArray)
        reg = Register::fromLayout(reg->record(), chipset());
    const QString shown = selectedRegister ? selectedRegister->name : QString();
    selectedRegister.reset();
    QComboBox *popUp = ui->registerPopUpButton;
    if (shown.isEmpty())
        return;
    const int group = ui->groupPopUpButton->currentIndex();
    changeRegister(popUp);
    if (group >= 0 && group < ui->groupPopUpButton->count())
        ui->groupPopUpButton->setCurrentIndex(group);
    const RegisterWord::Bits bits = RegisterWord::bitsOf(word);
    for (int i = 0; i < 16; ++i)
        if (QAbstractButton *button = viewWithTag(i + 1))
            button->setChecked(bits[static_cast<std::size_t>(i)]);
    calculateBitValue();
}

void RegistersViewController::showRegisterArray(QList<std::shared_ptr<Register>> registers) {
    registerArray = std::move(registers);
    selectedRegister.reset();

    QComboBox *popUp = ui->registerPopUpButton;
    popUp->clear();
    for (const std::shared_ptr<Register> &reg : registerArray)
        popUp->addItem(reg->name);
    popUp->setEnabled(!registerArray.isEmpty());
    changeRegister(popUp);

    if (registerArray.isEmpty()) {
        // Without a database the bits still add up, under plain bit numbers.
        ui->registerAddressLabel->clear();
        ui->registerSummaryLabel->setText(
            QStringLiteral("No registers: the register database could not be read."));
        ui->groupPopUpButton->clear();
        for (int tag = 1; tag <= 16; ++tag) {
            if (QAbstractButton *button = viewWithTag(tag)) {
                button->setChecked(false);
                button->setText(QStringLiteral("Bit %1").arg(tag - 1));
            }
        }
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
    QStringList groupNames;
    const QString title = sender ? sender->itemText(sender->currentIndex()) : QString();
    for (const std::shared_ptr<Register> &reg : registerArray) {
        if (reg->name == title) {
            selectedRegister = reg;
            break;
        }
    }
    if (!selectedRegister)
        return;

    ui->registerAddressLabel->setText(QStringLiteral("$%1").arg(selectedRegister->address));
    ui->registerSummaryLabel->setText(selectedRegister->summary);
    const QList<std::shared_ptr<RegisterBit>> &bits = selectedRegister->bits;
    for (qsizetype i = 0; i < bits.size() && i < 16; ++i) {
        if (QAbstractButton *button = viewWithTag(static_cast<int>(i) + 1)) {
            button->setChecked(false);
            button->setText(buttonTitle(bits[i]->functionName));
        }
        if (bits[i]->groupName && !groupNames.contains(*bits[i]->groupName))
            groupNames.append(*bits[i]->groupName);
    }
    ui->groupPopUpButton->clear();
    ui->groupPopUpButton->addItems(groupNames);
    showRegisterDetails();
    restoreRegisterName();
    calculateBitValue();
}

void RegistersViewController::changeGroup(QComboBox *) {
    calculateBitValue();
}

std::uint16_t RegistersViewController::currentWord() const {
    RegisterWord::Bits bits{};
    for (int i = 0; i < 16; ++i) {
        // A mixed state counts as off.
        const auto *box = qobject_cast<const QCheckBox *>(viewWithTag(i + 1));
        bits[i] = box && box->checkState() == Qt::Checked;
    }
    return RegisterWord::wordOf(bits);
}

void RegistersViewController::calculateBitValue(QObject *) {
    const std::uint16_t word = currentWord();
    const std::uint8_t low = RegisterWord::lowByte(word);
    const std::uint8_t high = RegisterWord::highByte(word);
    const QString binary = QString::fromStdString(RegisterWord::binary(word));

    ui->lowByteLabel->setText(QString::number(low));
    ui->lowByteBase16Label->setText(hex(low, 2));
    ui->lowByteBinaryLabel->setText(binary.mid(8, 8));
    ui->highByteLabel->setText(QString::number(high));
    ui->highByteBase16Label->setText(hex(high, 2));
    ui->highByteBinaryLabel->setText(binary.mid(0, 8));
    ui->finalWordLabel->setText(QString::number(word));
    ui->finalWordBase16Label->setText(hex(word, 4));
    ui->finalBinaryLabel->setText(binary);

    outputCode();

    QComboBox *groups = ui->groupPopUpButton;
    if (groups->count() == 0 || !selectedRegister)
        return;
    const QString group = groups->itemText(groups->currentIndex());
    std::vector<RegisterWord::GroupMember> members;
    const QList<std::shared_ptr<RegisterBit>> &registerBits = selectedRegister->bits;
    for (qsizetype i = 0; i < registerBits.size() && i < 16; ++i) {
        const RegisterBit &entry = *registerBits[i];
        if (entry.groupName && *entry.groupName == group && entry.groupPosition <= 15)
            members.push_back({static_cast<int>(i), static_cast<int>(entry.groupPosition)});
    }
    const RegisterWord::GroupValue value = RegisterWord::groupValue(word, members);
    ui->groupWordLabel->setText(QString::number(value.value));
    ui->groupWordBase16Label->setText(hex(value.value, 4));
    ui->groupBinaryLabel->setText(QString::fromStdString(value.binary));
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
    const bool setClear =
        selectedRegister && amiga::isSetClearRegister(selectedRegister->name.toStdString());
    ui->setClearPopUpButton->setEnabled(setClear);
    if (!selectedRegister) {
        ui->registerCodeTextView->clear();
        return;
    }
    const amiga::SetClear mode = !setClear ? amiga::SetClear::AsGiven
                                 : ui->setClearPopUpButton->currentIndex() == 1
                                     ? amiga::SetClear::Clear
                                     : amiga::SetClear::Set;
    ui->registerCodeTextView->setPlainText(QString::fromStdString(amiga::registerWriteCode(
        selectedRegister->layout(), currentWord(), mode, ui->registerCopperButton->isChecked())));
}

void RegistersViewController::copyCode() {
    QGuiApplication::clipboard()->setText(ui->registerCodeTextView->toPlainText());
}

void RegistersViewController::goalSeek(QObject *) {
    const RegisterWord::Bits bits =
        RegisterWord::bitsOf(RegisterWord::goalWord(ui->goalSeekTextField->text().toStdString()));
    for (int i = 0; i < 16; ++i) {
        if (QAbstractButton *button = viewWithTag(i + 1))
            button->setChecked(bits[i]);
    }
    calculateBitValue();
}

void RegistersViewController::jumpToTypedRegister() {
    QComboBox *popUp = ui->registerPopUpButton;
    const QString typed = popUp->lineEdit()->text().trimmed();
    int index = -1;
    if (!typed.isEmpty()) {
        index = popUp->findText(typed, Qt::MatchFixedString);
        if (index < 0)
            index = popUp->findText(typed, Qt::MatchStartsWith);
    }
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
    const Register *reg = selectedRegister.get();
    ui->registerNoteLabel->setText(reg ? reg->note.trimmed() : QString());
    ui->registerNoteLabel->setVisible(!ui->registerNoteLabel->text().isEmpty());
    ui->registerExtraLabel->setText(reg ? reg->extraInformation.trimmed() : QString());
    ui->registerExtraLabel->setVisible(!ui->registerExtraLabel->text().isEmpty());
    ui->registerIsAGACheckButton->setChecked(reg && reg->isAGA);

    for (int i = 0; i < 16; ++i) {
        QAbstractButton *button = viewWithTag(i + 1);
        if (!button)
            continue;
        const RegisterBit *bit = reg && i < reg->bits.size() ? reg->bits[i].get() : nullptr;
        QFont font = button->font();
        font.setItalic(bit && bit->isAGA);
        button->setFont(font);
        if (!bit) {
            button->setToolTip(QStringLiteral("Bit %1").arg(i));
            button->setAccessibleName(QStringLiteral("Bit %1").arg(i));
            button->setAccessibleDescription(QString());
            continue;
        }
        // A screen reader hears the bit number with the function, and the
        // tooltip's further facts as plain text.
        button->setAccessibleName(
            QStringLiteral("Bit %1 %2").arg(QString::number(i), bit->functionName));
        QStringList facts;
        QString tip =
            QStringLiteral("<p><b>Bit %1: %2</b>").arg(i).arg(bit->functionName.toHtmlEscaped());
        if (bit->groupName) {
            tip += QStringLiteral(" (%1, bit %2)")
                       .arg(bit->groupName->toHtmlEscaped())
                       .arg(static_cast<qint64>(bit->groupPosition));
            facts << QStringLiteral("Bit %1 of group %2.")
                         .arg(QString::number(bit->groupPosition), *bit->groupName);
        }
        if (bit->isAGA) {
            tip += QStringLiteral(" AGA only");
            facts << QStringLiteral("AGA only.");
        }
        const QString description = bit->functionDescription.trimmed();
        if (!description.isEmpty()) {
            tip += QStringLiteral("<br>%1").arg(description.toHtmlEscaped());
            facts << description;
        }
        button->setToolTip(tip + QStringLiteral("</p>"));
        button->setAccessibleDescription(facts.join(QLatin1Char(' ')));
    }
}
