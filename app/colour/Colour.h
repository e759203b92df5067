#pragma once
#include <QList>
#include <QMetaType>
#include <QtGlobal>
#include <amiga/colourwords.h>
#include <cstdint>

class QColor;

// One palette colour: red, green and blue between 0 and 1 with alpha, kept in
// double precision. An 8-bit gun value v is stored as the single-precision
// quotient v / 255, so that reading it back (component x 255, truncated) gives v
// again for every v.
class Colour {
public:
    constexpr Colour() = default; // opaque black

    // Components outside 0..1 are clamped, so that every colour has 8-bit guns.
    static Colour colorWithRed(double red, double green, double blue, double alpha = 1.0);

    double redComponent() const { return m_red; }
    double greenComponent() const { return m_green; }
    double blueComponent() const { return m_blue; }
    double alphaComponent() const { return m_alpha; }

    // --- Conversion: colours from Amiga gun values ---
    // AGA: 8 bits per gun.
    static Colour convertFrom24BitWithRed(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    // OCS/ECS: one nibble per gun, widened as nibble x 17 (0xf -> 0xff). Values
    // above 15 count as 15.
    static Colour convertFrom12BitWithRed(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

    // --- AmigaDefaults ---
    // The grey of entries that have no colour of their own (0xaa in each gun).
    static Colour defaultAmigaGrey();
    // count colours: the sixteen of the standard palette, then default greys.
    static QList<Colour> amigaDefaults(qint64 count);

    // The 8-bit value of a component: component x 255, truncated.
    static int eightBitValue(double component);
    // The 4-bit value of an 8-bit gun: its high nibble, as a 12-bit colour register gets it.
    static int twelveBitValue(int eightBit);
    // The component of an 8-bit value: the single-precision quotient value / 255.
    static double componentOf(int eightBit);

    int red8() const { return eightBitValue(m_red); }
    int green8() const { return eightBitValue(m_green); }
    int blue8() const { return eightBitValue(m_blue); }

    // The 8-bit guns, for the machine library's colour code.
    amiga::Rgb8 toRgb8() const;

    // The same colour for Qt's painting and colour dialogs, and back, at 8 bits
    // per gun (all that an Amiga colour register holds).
    QColor toQColor() const;
    static Colour fromQColor(const QColor &colour);

    // Lower-case "#rrggbb".
    QString name() const;

    friend bool operator==(const Colour &, const Colour &) = default;

private:
    double m_red = 0.0;
    double m_green = 0.0;
    double m_blue = 0.0;
    double m_alpha = 1.0;
};

Q_DECLARE_METATYPE(Colour)
