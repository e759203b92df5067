#include "colour/PaletteFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <iff/error.h>
#include <iff/iff.h>
#include <ilbm/colormap.h>
#include <ilbm/ilbm.h>
#include <picture/files.h>
#include <picture/picture.h>

namespace {

// The libraries' messages while one file is read: still written to standard
// error, and kept so that the status line can say what went wrong. Per thread,
// like the libraries' message callback may be: a read on another thread keeps
// its messages apart.
thread_local QByteArray *capturedMessages = nullptr;

void captureMessage(const char *formatString, va_list ap) {
    va_list copy;
    va_copy(copy, ap);
    IFF_errorCallbackStderr(formatString, ap);
    char buffer[512];
    const int n = std::vsnprintf(buffer, sizeof buffer, formatString, copy);
    va_end(copy);
    if (capturedMessages && n > 0)
        capturedMessages->append(buffer, std::min<int>(n, sizeof buffer - 1));
}

class MessageCapture {
public:
    explicit MessageCapture(QByteArray *messages) : m_previous(IFF_errorCallback) {
        capturedMessages = messages;
        IFF_errorCallback = captureMessage;
    }
    ~MessageCapture() {
        IFF_errorCallback = m_previous;
        capturedMessages = nullptr;
    }
    MessageCapture(const MessageCapture &) = delete;
    MessageCapture &operator=(const MessageCapture &) = delete;

private:
    void (*m_previous)(const char *, va_list);
};

QString tr(const char *text) {
    return QCoreApplication::translate("PaletteFile", text);
}

} // namespace

QString PaletteFile::reasonOf(const QByteArray &messages) {
    // The libraries mark their messages "ERROR: ", "Error: " or "WARNING: ", in
    // any case (and once "WARING: "): the status line says why in its own words.
    static const QRegularExpression mark(QStringLiteral("^\\s*(error|warning|waring)\\s*:\\s*"),
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression warning(QStringLiteral("^\\s*(warning|waring)\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QStringList lines =
        QString::fromLocal8Bit(messages).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // The first failure says why; warnings only when there is nothing else.
    QString line = lines.isEmpty() ? QString() : lines.first();
    for (const QString &candidate : lines) {
        if (!warning.match(candidate).hasMatch()) {
            line = candidate;
            break;
        }
    }
    line.remove(mark);
    line = line.trimmed();
    while (line.endsWith(QLatin1Char('!')) || line.endsWith(QLatin1Char('.')))
        line.chop(1);
    // Glued after a colon the reason goes on the sentence: "Cannot ..." becomes
    // "cannot ...", while "IFF ..." stays.
    if (line.size() > 1 && line[0].isUpper() && line[1].isLower())
        line[0] = line[0].toLower();
    return line;
}

PaletteFile PaletteFile::read(const QString &path) {
    PaletteFile result;
    const QString name = QFileInfo(path).fileName();
    const std::string file = QFile::encodeName(path).toStdString();
    // The whole file, counted as read and only a regular one: a device or a FIFO neither keeps
    // the window waiting nor fills the memory. A palette comes from a picture file, so the
    // limit is a picture's.
    std::vector<std::uint8_t> bytes;
    std::string why;
    picture::ReadLimit limit;
    limit.regularOnly = true;
    if (!picture::readWholeFile(file, limit, &bytes, &why)) {
        QString reason = QString::fromStdString(why);
        reason.replace(QLatin1Char('\'') + QString::fromStdString(file) + QLatin1Char('\''),
                       QStringLiteral("“%1”").arg(name));
        result.error = tr("Cannot load a palette: %1").arg(reason);
        return result;
    }

    // A PNG's palette (PLTE), through the picture library's reader.
    if (bytes.size() >= 8 && std::memcmp(bytes.data(), "\x89PNG\r\n\x1a\n", 8) == 0) {
        const std::optional<std::vector<amiga::Rgb8>> colours = picture::readColourMap(bytes, &why);
        if (!colours) {
            result.error = tr("No palette in “%1”: %2.").arg(name, QString::fromStdString(why));
            return result;
        }
        QList<Colour> palette;
        palette.reserve(static_cast<qsizetype>(colours->size()));
        for (const amiga::Rgb8 &c : *colours)
            palette.append(Colour::convertFrom24BitWithRed(c.red, c.green, c.blue));
        result.colourMaps.append(palette);
        return result;
    }

    if (bytes.empty()) {
        result.error = tr("Cannot load a palette from “%1”: the file is empty.").arg(name);
        return result;
    }
    QByteArray messages;
    IFF_Chunk *tree = nullptr;
    {
        const MessageCapture capture(&messages);
        FILE *memory = fmemopen(bytes.data(), bytes.size(), "rb");
        if (memory) {
            tree = ILBM_readFd(memory);
            std::fclose(memory);
        }
    }
    if (!tree) {
        const QString why = reasonOf(messages);
        result.error = why.isEmpty()
                           ? tr("Cannot load a palette from “%1”: it is not an IFF file.").arg(name)
                           : tr("Cannot load a palette from “%1”: %2.").arg(name, why);
        return result;
    }

    unsigned int formsLength = 0;
    IFF_Form **forms = IFF_searchForms(tree, ILBM_ID_ILBM, &formsLength);
    for (unsigned int i = 0; i < formsLength; ++i) {
        const auto *colorMap =
            reinterpret_cast<const ILBM_ColorMap *>(IFF_getChunkFromForm(forms[i], ILBM_ID_CMAP));
        // A CMAP too short for one whole colour is no colour map, as the programs say.
        if (!colorMap || colorMap->colorRegisterLength == 0)
            continue;
        QList<Colour> colours;
        colours.reserve(colorMap->colorRegisterLength);
        for (unsigned int r = 0; r < colorMap->colorRegisterLength; ++r) {
            const ILBM_ColorRegister &reg = colorMap->colorRegister[r];
            colours.append(Colour::convertFrom24BitWithRed(reg.red, reg.green, reg.blue));
        }
        result.colourMaps.append(colours);
    }
    std::free(forms);
    ILBM_free(tree);

    if (result.colourMaps.isEmpty()) {
        result.error =
            formsLength == 0
                ? tr("No palette in “%1”: it holds no ILBM picture.").arg(name)
                : tr("No palette in “%1”: its pictures have no colour map (CMAP).").arg(name);
    }
    return result;
}
