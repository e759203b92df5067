#include "common/RGBColourNumberFormatter.h"

RGBColourNumberFormatter::RGBColourNumberFormatter(QObject *parent) : QValidator(parent) {}

bool RGBColourNumberFormatter::isPartialStringValid(const QString &proposed) const {
    if (proposed.size() >= 4)
        return false;
    // Walk by code point so that digits outside the BMP (category Nd too) count.
    for (const char32_t c : proposed.toUcs4()) {
        if (QChar::category(c) != QChar::Number_DecimalDigit)
            return false;
    }
    return true;
}

QValidator::State RGBColourNumberFormatter::validate(QString &input, int &) const {
    return isPartialStringValid(input) ? Acceptable : Invalid;
}
