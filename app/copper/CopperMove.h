#pragma once
#include "copper/CopperObject.h"

// MOVE: writes a data word, high byte and low byte, to a register. Either byte
// can follow the output line by adding that line's increment.
class CopperMove : public CopperObject {
public:
    explicit CopperMove(quint64 type = moveType);

    const QString &registerReference() const { return m_registerReference; }
    void setRegisterReference(const QString &text) { m_registerReference = text; }
    qint64 verticalValue() const { return m_verticalValue; }
    void setVerticalValue(qint64 value) { m_verticalValue = value; }
    bool autoVerticalValue() const { return m_autoVerticalValue; }
    void setAutoVerticalValue(bool on) { m_autoVerticalValue = on; }
    qint64 horizontalValue() const { return m_horizontalValue; }
    void setHorizontalValue(qint64 value) { m_horizontalValue = value; }
    bool autoHorizontalValue() const { return m_autoHorizontalValue; }
    void setAutoHorizontalValue(bool on) { m_autoHorizontalValue = on; }

    // Both bytes from hexadecimal texts; an empty text reads as 0.
    void setVerticalHexValue(const QString &vertical, const QString &horizontal);

    std::unique_ptr<CopperObject> copy() const override;
    // "REGISTER,$hhll".
    QString outputWithVerticalIncrement(qint64 verticalIncrement,
                                        qint64 horizontalIncrement) const override;
    // "[MOVE] REGISTER,$hhll", with "--" for a byte that follows the line.
    QString commandDescription() const override;

private:
    CopperMove(const CopperMove &other) = default;

    QString m_registerReference;
    qint64 m_verticalValue = 0;
    bool m_autoVerticalValue = false;
    qint64 m_horizontalValue = 0;
    bool m_autoHorizontalValue = false;
};
