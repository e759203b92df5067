#pragma once
#include <QValidator>

// Admits decimal numbers of at most three digits, any digit of Unicode
// category Nd. The size of the number is not checked here.
class RGBColourNumberFormatter : public QValidator {
    Q_OBJECT
public:
    explicit RGBColourNumberFormatter(QObject *parent = nullptr);

    bool isPartialStringValid(const QString &proposed) const;
    State validate(QString &input, int &pos) const override;
};
