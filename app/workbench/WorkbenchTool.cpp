#include "workbench/WorkbenchTool.h"

#include <amiga/copperread.h>
#include <amiga/registercode.h>

#include <QCoreApplication>
#include <QStringList>
#include <algorithm>

namespace {

QString tr(const char *text, int n = -1) {
    return QCoreApplication::translate("WorkbenchTool", text, nullptr, n);
}

QString problemText(amiga::CopperProblem problem) {
    const std::string_view text = amiga::describe(problem);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Why a list could not be read: its first five errors, each with its line (and column) when it
// has one.
QString readErrors(const amiga::CopperRead &read) {
    QStringList lines;
    for (const amiga::CopperReadError &error : read.errors) {
        const QString message = QString::fromStdString(error.message);
        lines.append(
            error.column > 0
                ? tr("Line %1, column %2: %3").arg(error.line).arg(error.column).arg(message)
            : error.line > 0 ? tr("Line %1: %2").arg(error.line).arg(message)
                             : message);
        if (lines.size() == 5)
            break;
    }
    return lines.join(QLatin1Char('\n'));
}

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

} // namespace

bool WorkbenchTool::read(const QString &text) {
    std::vector<amiga::CopperSymbol> defined;
    std::string symbolError;
    if (!amiga::readCopperSymbols(symbols.toStdString(), &defined, &symbolError)) {
        m_message = tr("Symbols: %1").arg(QString::fromStdString(symbolError));
        return false;
    }
    amiga::CopperRead read = amiga::readCopperText(text.toStdString(), defined);
    if (!read.ok()) {
        m_message = readErrors(read);
        return false;
    }
    m_words = std::move(read.words);
    m_unknown = std::move(read.unknown);
    m_notes = std::move(read.notes);
    return true;
}

void WorkbenchTool::disassemble() {
    // The bits are named as the chosen chipset has them; OCS/ECS names ECS's additions too.
    if (!m_explain || m_explainAga != aga) {
        m_explain = amiga::explainThroughDatabase(amiga::registerDatabase(),
                                                  aga ? amiga::Chipset::Aga : amiga::Chipset::Ecs);
        m_explainAga = aga;
    }
    m_listing = amiga::disassemble(m_words, {chipset(), m_explain, frameLines(), m_unknown});
    const int count = static_cast<int>(m_listing.entries.size());
    m_message =
        m_listing.cannotPerform
            ? tr("%n instruction(s); the copper cannot perform every one (shown in red).", count)
            : tr("%n instruction(s).", count);
    if (m_listing.unknownInstructions > 0)
        m_message += QLatin1Char(' ') + tr("%n with a word not known (hatched in the preview).",
                                           static_cast<int>(m_listing.unknownInstructions));
    for (const amiga::CopperReadError &note : m_notes)
        m_message += QLatin1Char('\n') +
                     tr("Line %1: %2").arg(note.line).arg(QString::fromStdString(note.message));
}

std::optional<QString> WorkbenchTool::sourceOfFile(const QByteArray &bytes, bool binary,
                                                   std::size_t offset) {
    if (!binary)
        return QString::fromUtf8(bytes);
    const amiga::CopperRead read =
        amiga::readCopperBinary({reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                                 static_cast<std::size_t>(bytes.size())},
                                offset);
    if (!read.ok()) {
        m_message = readErrors(read);
        return std::nullopt;
    }
    return memoryView(read.words);
}

bool WorkbenchTool::looksBinary(const QByteArray &head) {
    return std::any_of(head.begin(), head.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 && (byte < '\t' || byte > '\r');
    });
}

QString WorkbenchTool::listingText() const {
    return QString::fromStdString(amiga::copperListingText(m_listing));
}

QString WorkbenchTool::rowText(const amiga::CopperListEntry &entry) {
    QString text = QString::fromStdString(amiga::copperInstructionText(entry)).trimmed();
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    text = QStringLiteral("%1  %2").arg(entry.word * 2, 5, 16, QLatin1Char('0')).arg(text);
    if (!entry.explanation.empty())
        text += QStringLiteral("  ; ") + QString::fromStdString(entry.explanation);
    return text;
}

QString WorkbenchTool::rowNotes(const amiga::CopperListEntry &entry) {
    QStringList lines;
    for (const amiga::CopperProblem problem : entry.problems)
        lines.append(problemText(problem));
    for (const std::string &note : entry.notes)
        lines.append(QString::fromStdString(note));
    return lines.join(QLatin1Char('\n'));
}

QString WorkbenchTool::fieldsText(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= m_listing.entries.size())
        return tr("Select an instruction to see its fields.");
    const amiga::CopperListEntry &entry = m_listing.entries[static_cast<std::size_t>(row)];
    QString html = QStringLiteral("<table>");
    html += QStringLiteral("<tr><td>%1</td><td><tt>%2</tt></td></tr>")
                .arg(tr("words"), QStringLiteral("$%1,$%2")
                                      .arg(entry.words.first, 4, 16, QLatin1Char('0'))
                                      .arg(entry.words.second, 4, 16, QLatin1Char('0')));
    for (const amiga::CopperField &field : entry.fields)
        html += QStringLiteral("<tr><td>%1&nbsp;</td><td><tt>%2</tt></td></tr>")
                    .arg(QString::fromStdString(field.name).toHtmlEscaped(),
                         QString::fromStdString(field.value).toHtmlEscaped());
    html += QStringLiteral("</table>");
    for (const amiga::CopperProblem problem : entry.problems)
        html += QStringLiteral("<p style=\"color:#c01010\">%1</p>")
                    .arg(problemText(problem).toHtmlEscaped());
    for (const std::string &note : entry.notes)
        html += QStringLiteral("<p style=\"color:#c01010\">%1</p>")
                    .arg(QString::fromStdString(note).toHtmlEscaped());
    return html;
}

amiga::CopperFrame WorkbenchTool::frame() const {
    amiga::CopperFrame frame(chipset(), amiga::CopperFrame::kPictureStart, frameLines());
    std::vector<std::size_t> unknownWords;
    for (const amiga::CopperUnknownWord &unknown : m_unknown)
        unknownWords.push_back(unknown.word);
    frame.run(m_words, unknownWords);
    return frame;
}
