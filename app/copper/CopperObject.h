#pragma once
#include <QString>
#include <QUuid>
#include <QtGlobal>
#include <memory>
#include <string>
#include <vector>

// One instruction of a copper list. The two kinds, MOVE and WAIT, replace
// copy(), outputWithVerticalIncrement() and commandDescription(); the base
// class answers those with a fixed text (and no copy) rather than failing.
class CopperObject {
public:
    // The kinds stored in type(); nothing depends on the value.
    static constexpr quint64 moveType = 0;
    static constexpr quint64 waitType = 1;

    // A new instruction of the given kind with a new random uuid.
    explicit CopperObject(quint64 type);
    virtual ~CopperObject();

    const QUuid &uuid() const { return m_uuid; }
    void setUuid(const QUuid &uuid) { m_uuid = uuid; }
    quint64 type() const { return m_type; }
    void setType(quint64 type) { m_type = type; }

    // A new instruction of the same kind with equal fields and a null uuid:
    // whoever copies gives it an identity. The base class makes none.
    virtual std::unique_ptr<CopperObject> copy() const;
    // The instruction's two data words for one output line, as assembler text: the operands
    // of appendOperands() joined by commas.
    virtual QString outputWithVerticalIncrement(qint64 verticalIncrement,
                                                qint64 horizontalIncrement) const;
    // Appends the instruction's two operands for one output line ("COLOR00", "$2c00"); the
    // base class appends none.
    virtual void appendOperands(std::vector<std::string> &operands, qint64 verticalIncrement,
                                qint64 horizontalIncrement) const;
    // The instruction's row text in the list.
    virtual QString commandDescription() const;

    // A byte as two lower-case hexadecimal digits ("05"); only the low eight bits count.
    static QString byteText(qint64 value);
    // The low byte of a + b: a field's byte plus a line's increment, as one byte of a word.
    static int byteSum(qint64 a, qint64 b) {
        return static_cast<int>((static_cast<quint64>(a) + static_cast<quint64>(b)) & 0xff);
    }

protected:
    // The operands of appendOperands() joined by commas, for outputWithVerticalIncrement().
    QString joinedOperands(qint64 verticalIncrement, qint64 horizontalIncrement) const;
    // For copies: same kind, fields copied, uuid left null.
    CopperObject(const CopperObject &other);
    CopperObject &operator=(const CopperObject &) = delete;

private:
    QUuid m_uuid;
    quint64 m_type = 0;
};

// A copper list as the Copper tool holds it, in row order.
using CopperSequence = std::vector<std::unique_ptr<CopperObject>>;
