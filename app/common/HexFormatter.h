#pragma once
#include <QValidator>

// Admits only lower-case hexadecimal text of at most maximumLength characters
// (UTF-16 code units). Upper-case digits A to F typed or pasted into the field
// become lower case; any other refused edit leaves the field as it was.
class HexFormatter : public QValidator {
    Q_OBJECT
public:
    explicit HexFormatter(qint64 maximumLength = 2, QObject *parent = nullptr);

    qint64 maximumLength() const { return m_maximumLength; }
    void setMaximumLength(qint64 maximumLength) { m_maximumLength = maximumLength; }

    // The edit check on the whole text an edit would produce, as it stands.
    bool isPartialStringValid(const QString &proposed) const;
    // Lowers A to F in input, then checks it.
    State validate(QString &input, int &pos) const override;

private:
    qint64 m_maximumLength = 2;
};
