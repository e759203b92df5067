#pragma once
#include <QString>
#include <QUuid>
#include <QtGlobal>
#include <memory>

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
    // The instruction's two data words for one output line, as assembler text.
    virtual QString outputWithVerticalIncrement(qint64 verticalIncrement,
                                                qint64 horizontalIncrement) const;
    // The instruction's row text in the list.
    virtual QString commandDescription() const;

    // A number as lower-case hexadecimal with at least two digits, never cut
    // (5 -> "05", 300 -> "12c"); negative numbers print as their 64-bit pattern.
    static QString hexText(qint64 value);
    // The same digits appended to text.
    static void appendHexText(QString &text, qint64 value);
    // a + b in 64-bit two's complement, wrapping instead of overflowing.
    static qint64 wrappingSum(qint64 a, qint64 b) {
        return static_cast<qint64>(static_cast<quint64>(a) + static_cast<quint64>(b));
    }

protected:
    // For copies: same kind, fields copied, uuid left null.
    CopperObject(const CopperObject &other);
    CopperObject &operator=(const CopperObject &) = delete;

private:
    QUuid m_uuid;
    quint64 m_type = 0;
};
