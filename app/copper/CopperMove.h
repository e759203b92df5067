#pragma once
#include "copper/CopperObject.h"

#include <cstdint>
#include <optional>

// MOVE: writes a data word, high byte and low byte, to a register. Either byte
// can follow the output line by adding that line's increment.
class CopperMove : public CopperObject {
public:
    explicit CopperMove(quint64 type = moveType);

    // The register as typed: a name of the register table or an offset or address.
    const QString &registerReference() const { return m_registerReference; }
    void setRegisterReference(const QString &text);
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

    // The register offset the reference names, none when it names no register.
    std::optional<std::uint16_t> registerOffset() const { return m_registerOffset; }
    // The register as printed: its name in upper case, "$180" style when it has none, or the
    // reference as typed when it names no register.
    const QString &registerText() const { return m_registerText; }
    // The data word for one output line: each byte is the low byte of its field plus, when it
    // follows the line, the line's low byte (line is the vertical increment; a MOVE has no
    // horizontal one).
    std::uint16_t dataWord(qint64 line) const;

    std::unique_ptr<CopperObject> copy() const override;
    // "REGISTER,$hhll".
    QString outputWithVerticalIncrement(qint64 verticalIncrement,
                                        qint64 horizontalIncrement) const override;
    void appendOperands(std::vector<std::string> &operands, qint64 verticalIncrement,
                        qint64 horizontalIncrement) const override;
    // "[MOVE] REGISTER,$hhll", with "--" for a byte that follows the line.
    QString commandDescription() const override;

private:
    CopperMove(const CopperMove &other) = default;

    QString m_registerReference;
    // Worked out from the reference when it is set: every output line prints them.
    std::optional<std::uint16_t> m_registerOffset;
    QString m_registerText;
    std::string m_registerOperand;
    qint64 m_verticalValue = 0;
    bool m_autoVerticalValue = false;
    qint64 m_horizontalValue = 0;
    bool m_autoHorizontalValue = false;
};
