#pragma once
#include "copper/CopperObject.h"

#include <amiga/copper.h>

// WAIT: holds the copper until the beam reaches a position, compared under a
// mask; as a SKIP it instead skips the next instruction once the beam is there.
// Both positions always follow the output line.
//
// The words are always what they say: the first word has bit 0 set (without it
// the copper reads a MOVE), the second has bit 0 clear for a WAIT and set for a
// SKIP, whatever the position and mask fields hold in their bit 0.
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
    bool isSkip() const { return m_skip; }
    void setSkip(bool on) { m_skip = on; }

    // Positions and masks from hexadecimal texts; an empty text reads as 0.
    void setVerticalPositionHexValue(const QString &vertical, const QString &horizontal);
    void setVerticalMaskHexValue(const QString &vertical, const QString &horizontal);

    // The two words for one output line; the vertical mask's bit 7 is the
    // blitter-finished-disable bit.
    amiga::CopperWords words(qint64 verticalIncrement, qint64 horizontalIncrement) const;

    std::unique_ptr<CopperObject> copy() const override;
    // "$vvhh,$mmmm" with both increments added to the position.
    QString outputWithVerticalIncrement(qint64 verticalIncrement,
                                        qint64 horizontalIncrement) const override;
    void appendOperands(std::vector<std::string> &operands, qint64 verticalIncrement,
                        qint64 horizontalIncrement) const override;
    // "[WAIT] $vvhh,$mmmm" (or "[SKIP] ..."), with "--" for a vertical position of
    // zero, that is the output line itself; the rest as it will be printed.
    QString commandDescription() const override;

private:
    CopperWait(const CopperWait &other) = default;

    qint64 m_verticalPosition = 0;
    qint64 m_verticalMask = 0;
    qint64 m_horizontalPosition = 0;
    qint64 m_horizontalMask = 0;
    bool m_skip = false;
};
