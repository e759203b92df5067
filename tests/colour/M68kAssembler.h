#pragma once
// Assembles generated source with a real 68000 assembler (binutils, MRI syntax)
// and gives back the assembled words, so that tests check what a user's
// assembler makes of the text, not the text alone.
#include <QByteArray>
#include <QFile>
#include <QList>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
#include <optional>

namespace m68k {

inline QString assemblerPath() {
    return QStandardPaths::findExecutable(QStringLiteral("m68k-linux-gnu-as"));
}
inline QString objcopyPath() {
    return QStandardPaths::findExecutable(QStringLiteral("m68k-linux-gnu-objcopy"));
}
inline bool available() {
    return !assemblerPath().isEmpty() && !objcopyPath().isEmpty();
}

// The custom-chip offsets of the registers the Colour tool writes.
inline QString registerDefinitions() {
    QString text = QStringLiteral("BPLCON3\tequ\t$106\n");
    for (int i = 0; i < 32; ++i)
        text += QString::asprintf("COLOR%.2d\tequ\t$%x\n", i, 0x180 + 2 * i);
    return text;
}

struct Result {
    std::optional<QList<std::uint16_t>> words; // none when assembling failed
    QString messages;                          // the assembler's output
};

// Each line of source is indented by a tab, as it would stand in a program.
inline Result assemble(const QString &source) {
    Result result;
    QTemporaryDir dir;
    if (!dir.isValid()) {
        result.messages = QStringLiteral("no temporary folder");
        return result;
    }
    QString text = registerDefinitions();
    for (const QString &line : source.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        text += QLatin1Char('\t') + line + QLatin1Char('\n');
    const QString sourcePath = dir.filePath(QStringLiteral("code.s"));
    const QString objectPath = dir.filePath(QStringLiteral("code.o"));
    const QString binaryPath = dir.filePath(QStringLiteral("code.bin"));
    {
        QFile file(sourcePath);
        if (!file.open(QIODevice::WriteOnly))
            return result;
        file.write(text.toLatin1());
    }
    QProcess as;
    as.setProcessChannelMode(QProcess::MergedChannels);
    // --fatal-warnings: a value that does not fit its word is a failure, not a note.
    as.start(assemblerPath(), {QStringLiteral("--mri"), QStringLiteral("--fatal-warnings"),
                               QStringLiteral("-o"), objectPath, sourcePath});
    as.waitForFinished(30000);
    result.messages = QString::fromLocal8Bit(as.readAll());
    if (as.exitStatus() != QProcess::NormalExit || as.exitCode() != 0)
        return result;
    QProcess objcopy;
    objcopy.setProcessChannelMode(QProcess::MergedChannels);
    objcopy.start(objcopyPath(),
                  {QStringLiteral("-O"), QStringLiteral("binary"), QStringLiteral("-j"),
                   QStringLiteral(".text"), objectPath, binaryPath});
    objcopy.waitForFinished(30000);
    result.messages += QString::fromLocal8Bit(objcopy.readAll());
    if (objcopy.exitStatus() != QProcess::NormalExit || objcopy.exitCode() != 0)
        return result;
    QFile binary(binaryPath);
    if (!binary.open(QIODevice::ReadOnly))
        return result;
    const QByteArray bytes = binary.readAll();
    QList<std::uint16_t> words;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        words.append(static_cast<std::uint16_t>((static_cast<std::uint8_t>(bytes[i]) << 8) |
                                                static_cast<std::uint8_t>(bytes[i + 1])));
    result.words = words;
    return result;
}

} // namespace m68k
