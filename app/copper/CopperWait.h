#pragma once
#include "copper/CopperObject.h"

// WAIT: holds the copper until the beam reaches a position, compared under a
// mask. Both positions always follow the output line.
class CopperWait : public CopperObject {
public:
    explicit CopperWait(quint64 type = waitType);

    qint64 verticalPosition() const { return m_verticalPosition; }
    void setVerticalPosition(qint64 value) { m_verticalPosition = value; }
    qint64 verticalMask() const { return m_verticalMask; }
    void setVerticalMask(qint64 value) { m_verticalMask = value; }
    qint64 horizontalPosition() const { return m_horizontalPosition; }
    void setHorizontalPosition(qint64 value) { m_horizontalPosition = value; }
    qint64 horizontalMask() const { return m_horizontalMask; }
    void setHorizontalMask(qint64 value) { m_horizontalMask = value; }

    // Positions and masks from hexadecimal texts; an empty text reads as 0.
    void setVerticalPositionHexValue(const QString &vertical, const QString &horizontal);
    void setVerticalMaskHexValue(const QString &vertical, const QString &horizontal);

    std::unique_ptr<CopperObject> copy() const override;
    // "$vvhh,$mmmm" with both increments added to the position.
    QString outputWithVerticalIncrement(qint64 verticalIncrement,
                                        qint64 horizontalIncrement) const override;
    // "[WAIT] $vvhh,$mmmm", with "--" for a position of zero.
    QString commandDescription() const override;

private:
    CopperWait(const CopperWait &other) = default;

    qint64 m_verticalPosition = 0;
    qint64 m_verticalMask = 0;
    qint64 m_horizontalPosition = 0;
    qint64 m_horizontalMask = 0;
};
