#include "registers/RegistersTool.h"
#include "registers/RegisterWord.h"

#include <amiga/registercode.h>

namespace bl = amiga::blitter;

namespace {

QString hex(unsigned value, int digits) {
    return QStringLiteral("0x%1").arg(value, digits, 16, QLatin1Char('0'));
}

// A button title shows an ampersand only when it is doubled.
QString buttonTitle(const QString &text) {
    QString title = text;
    return title.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

void RegistersTool::setRegisters(QList<std::shared_ptr<Register>> list) {
    registers = std::move(list);
    shown.reset();
}

bool RegistersTool::show(const QString &name) {
    for (const std::shared_ptr<Register> &reg : registers) {
        if (reg->name == name) {
            shown = reg;
            word = 0;
            return true;
        }
    }
    return false;
}

void RegistersTool::setChipset(amiga::Chipset to) {
    chipset = to;
    for (std::shared_ptr<Register> &reg : registers)
        reg = Register::fromLayout(reg->record(), chipset);
    if (!shown)
        return;
    const QString name = shown->name;
    const std::uint16_t kept = word;
    shown.reset();
    show(name);
    word = kept;
}

int RegistersTool::indexOfTyped(const QString &typed) const {
    const QString name = typed.trimmed();
    if (name.isEmpty())
        return -1;
    for (qsizetype i = 0; i < registers.size(); ++i)
        if (registers[i]->name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    for (qsizetype i = 0; i < registers.size(); ++i)
        if (registers[i]->name.startsWith(name, Qt::CaseInsensitive))
            return static_cast<int>(i);
    return -1;
}

QStringList RegistersTool::groups() const {
    QStringList names;
    if (!shown)
        return names;
    for (qsizetype i = 0; i < shown->bits.size() && i < 16; ++i)
        if (const auto &group = shown->bits[i]->groupName; group && !names.contains(*group))
            names.append(*group);
    return names;
}

void RegistersTool::seekGoal(const QString &text) {
    word = RegisterWord::goalWord(text.toStdString());
}

QStringList RegistersTool::results() const {
    const std::uint8_t low = RegisterWord::lowByte(word);
    const std::uint8_t high = RegisterWord::highByte(word);
    const QString binary = QString::fromStdString(RegisterWord::binary(word));
    return {QString::number(low),  hex(low, 2),  binary.mid(8, 8),
            QString::number(high), hex(high, 2), binary.mid(0, 8),
            QString::number(word), hex(word, 4), binary};
}

QStringList RegistersTool::groupResults() const {
    if (!shown || group.isEmpty())
        return {};
    std::vector<RegisterWord::GroupMember> members;
    for (qsizetype i = 0; i < shown->bits.size() && i < 16; ++i) {
        const RegisterBit &entry = *shown->bits[i];
        if (entry.groupName && *entry.groupName == group && entry.groupPosition <= 15)
            members.push_back({static_cast<int>(i), static_cast<int>(entry.groupPosition)});
    }
    const RegisterWord::GroupValue value = RegisterWord::groupValue(word, members);
    return {QString::number(value.value), hex(value.value, 4),
            QString::fromStdString(value.binary)};
}

bool RegistersTool::setClearAllowed() const {
    return shown && amiga::isSetClearRegister(shown->name.toStdString());
}

QString RegistersTool::code() const {
    if (!shown)
        return {};
    const amiga::SetClear mode = !setClearAllowed() ? amiga::SetClear::AsGiven
                                 : clear            ? amiga::SetClear::Clear
                                                    : amiga::SetClear::Set;
    return QString::fromStdString(amiga::registerWriteCode(shown->layout(), word, mode, copper));
}

RegistersTool::BitLabel RegistersTool::bitLabel(int i) const {
    BitLabel label;
    const RegisterBit *bit = shown && i < shown->bits.size() ? shown->bits[i].get() : nullptr;
    if (!bit) {
        label.title = QStringLiteral("Bit %1").arg(i);
        label.toolTip = label.accessibleName = label.title;
        return label;
    }
    label.title = buttonTitle(bit->functionName);
    label.italic = bit->isAGA;
    // A screen reader hears the bit number with the function, and the tooltip's further facts
    // as plain text.
    label.accessibleName = QStringLiteral("Bit %1 %2").arg(QString::number(i), bit->functionName);
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
    label.toolTip = tip + QStringLiteral("</p>");
    label.accessibleDescription = facts.join(QLatin1Char(' '));
    return label;
}

// --- The blitter section ---

bool RegistersTool::Blitter::choosePreset(int index) {
    const std::vector<bl::Preset> &presets = bl::presets();
    if (index < 1 || index > static_cast<int>(presets.size()))
        return false;
    const bl::Preset &chosen = presets[static_cast<std::size_t>(index - 1)];
    function = QString::fromLatin1(chosen.function);
    channels = bl::parseChannels(chosen.channels).value_or(bl::Channels{});
    fill = static_cast<int>(chosen.fill);
    preset = index;
    presetTip = QString::fromLatin1(chosen.summary);
    applyFillRules();
    return true;
}

void RegistersTool::Blitter::functionEdited() {
    preset = 0;
    presetTip = QStringLiteral("Fill in a common blit");
    if (const std::optional<std::uint8_t> read = bl::parseFunction(function.toStdString()))
        channels = bl::channelsFor(*read);
}

void RegistersTool::Blitter::applyFillRules() {
    if (fill != 0)
        descending = true;
}

QString RegistersTool::Blitter::minterms() const {
    std::string error;
    const std::optional<std::uint8_t> read =
        bl::parseFunction(function.trimmed().toStdString(), &error);
    if (!read)
        return QString::fromStdString("Cannot read: " + error);
    return QStringLiteral("LF $%1").arg(*read, 2, 16, QLatin1Char('0'));
}

QString RegistersTool::Blitter::code() const {
    const std::string text = function.trimmed().toStdString();
    const std::optional<std::uint8_t> read = bl::parseFunction(text);
    if (!read)
        return {};
    bl::Blit blit;
    blit.minterms = *read;
    blit.function = text;
    blit.channels = channels;
    blit.aShift = aShift;
    blit.bShift = bShift;
    blit.descending = descending;
    blit.fill = static_cast<bl::Fill>(fill);
    blit.fillCarryIn = fillCarryIn;
    blit.widthWords = widthWords;
    blit.heightLines = heightLines;
    return QString::fromStdString(bl::blitterCode(blit, copper));
}
