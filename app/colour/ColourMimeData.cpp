#include "colour/ColourMimeData.h"

#include <QColor>
#include <QMimeData>

std::optional<Colour> colourFromMimeData(const QMimeData *mime) {
    if (!mime)
        return std::nullopt;
    if (mime->hasColor()) {
        const QColor colour = qvariant_cast<QColor>(mime->colorData());
        if (colour.isValid())
            return Colour::fromQColor(colour);
    }
    if (mime->hasText()) {
        const QString text = mime->text().trimmed();
        // A short name only: a dropped paragraph is not a colour.
        if (!text.isEmpty() && text.size() <= 32) {
            const QColor colour = QColor::fromString(text);
            if (colour.isValid())
                return Colour::fromQColor(colour);
        }
    }
    return std::nullopt;
}
