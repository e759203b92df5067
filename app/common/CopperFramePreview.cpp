#include "common/CopperFramePreview.h"

#include <amiga/copperread.h>
#include <amiga/customregisters.h>

#include <QFontDatabase>
#include <QPainter>

namespace {

constexpr int kLines = amiga::CopperFrame::kLines;
// A line number every so many lines.
constexpr int kLabelEvery = 0x20;

QColor toQColor(amiga::Rgb8 colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

} // namespace

CopperFramePreview::CopperFramePreview(QWidget *parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
}

void CopperFramePreview::showFrame(const amiga::CopperFrame &frame, int picked) {
    m_picked = picked >= 0 && picked < frame.colourCount() ? picked : -1;
    m_lineCount = frame.lineCount();
    m_background.resize(m_lineCount);
    m_pickedColours.resize(m_picked >= 0 ? m_lineCount : 0);
    for (int line = 0; line < m_lineCount; ++line) {
        // A colour the list does not give (an undefined symbol) is no colour: drawn hatched.
        m_background[line] =
            frame.colourKnown(line, 0) ? toQColor(frame.colour(line, 0)) : QColor();
        if (m_picked >= 0)
            m_pickedColours[line] = frame.colourKnown(line, m_picked)
                                        ? toQColor(frame.colour(line, m_picked))
                                        : QColor();
    }
    update();
}

bool CopperFramePreview::showCopperText(const std::string &text,
                                        amiga::CopperFrame::Chipset chipset, int picked,
                                        int frameLines) {
    const amiga::CopperRead read = amiga::readCopperText(text);
    if (!read.ok() || read.words.empty()) {
        clearFrame();
        return false;
    }
    for (std::size_t i = 0; picked < 0 && i + 1 < read.words.size(); i += 2) {
        const amiga::CopperInstruction instruction =
            amiga::decode({read.words[i], read.words[i + 1]});
        if (instruction.op == amiga::CopperOp::Move &&
            amiga::isColourRegister(instruction.registerOffset) &&
            instruction.registerOffset != amiga::kColour00)
            picked = (instruction.registerOffset - amiga::kColour00) / 2;
    }
    amiga::CopperFrame frame(chipset, amiga::CopperFrame::kPictureStart, frameLines);
    frame.run(read.words);
    showFrame(frame, picked);
    return true;
}

void CopperFramePreview::clearFrame() {
    m_background.clear();
    m_pickedColours.clear();
    m_picked = -1;
    update();
}

QVector<CopperFramePreview::Band> CopperFramePreview::bands(int column) const {
    const QVector<QColor> &colours = column == 0 ? m_background : m_pickedColours;
    QVector<Band> out;
    for (int line = 0; line < colours.size(); ++line) {
        if (!out.isEmpty() && out.back().colour == colours[line])
            out.back().lastLine = line;
        else
            out.append({line, line, colours[line]});
    }
    return out;
}

QSize CopperFramePreview::sizeHint() const {
    return {fontMetrics().horizontalAdvance(QStringLiteral("$000 ")) + 120, kLines};
}

QSize CopperFramePreview::minimumSizeHint() const {
    return {fontMetrics().horizontalAdvance(QStringLiteral("$000 ")) + 40, kLines / 2};
}

void CopperFramePreview::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const int labelWidth = fontMetrics().horizontalAdvance(QStringLiteral("$000 "));
    const QRect area = rect().adjusted(labelWidth, 0, 0, 0);
    painter.fillRect(rect(), palette().window());
    if (m_background.isEmpty()) {
        painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, tr("No frame"));
        return;
    }
    const int columns = m_pickedColours.isEmpty() ? 1 : 2;
    const int columnWidth = area.width() / columns;
    // Line n covers the rows from n * height / lines to (n + 1) * height / lines.
    auto top = [&](int line) { return area.top() + line * area.height() / m_lineCount; };
    for (int column = 0; column < columns; ++column) {
        const int left = area.left() + column * columnWidth;
        const int width = column == columns - 1 ? area.right() + 1 - left : columnWidth;
        for (const Band &band : bands(column))
            painter.fillRect(QRect(left, top(band.firstLine), width,
                                   top(band.lastLine + 1) - top(band.firstLine)),
                             band.colour.isValid() ? QBrush(band.colour)
                                                   : QBrush(Qt::gray, Qt::BDiagPattern));
    }
    painter.setPen(palette().color(QPalette::WindowText));
    for (int line = 0; line < m_lineCount; line += kLabelEvery) {
        const int y = top(line);
        painter.drawLine(labelWidth - 4, y, labelWidth - 1, y);
        painter.drawText(QRect(0, y, labelWidth - 4, fontMetrics().height()),
                         Qt::AlignLeft | Qt::AlignTop,
                         QStringLiteral("$%1").arg(line, 3, 16, QLatin1Char('0')));
    }
}
