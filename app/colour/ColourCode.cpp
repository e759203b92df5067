#include "colour/ColourCode.h"

#include <algorithm>
#include <cstdio>

namespace ColourCode {

namespace {

// BPLCON3's top hex digit for each bank (the bank in bits 15-13).
constexpr char bankDigits[] = "02468ace";

char bankDigit(qint64 bank) {
    return bankDigits[std::clamp<qint64>(bank, 0, 7)];
}

// Character i of a field's text, '0' when the text is shorter.
char characterOf(const QString &text, qsizetype i) {
    return i < text.size() ? text[i].toLatin1() : '0';
}

struct Nibbles {
    char red, green, blue;
};

// The high (half 0) or low (half 1) hex digit of each gun, as "%.2x" prints them.
Nibbles hexDigits(const Colour &colour, int half) {
    char r[3], g[3], b[3];
    std::snprintf(r, sizeof r, "%.2x", colour.red8());
    std::snprintf(g, sizeof g, "%.2x", colour.green8());
    std::snprintf(b, sizeof b, "%.2x", colour.blue8());
    return {r[half], g[half], b[half]};
}

Nibbles twelveBitDigits(const Colour &colour) {
    const char *digits = "0123456789abcdef";
    return {digits[Colour::twelveBitValue(colour.red8())],
            digits[Colour::twelveBitValue(colour.green8())],
            digits[Colour::twelveBitValue(colour.blue8())]};
}

// A copper WAIT can only compare the low eight bits of the line; the lines from
// 0x100 on are reached by first waiting for the end of line 0xff.
constexpr qint64 firstLineAfterWrap = 0x100;
constexpr qint64 lineLimit = 0x200;

} // namespace

QString colourCode(const Options &options, qint64 bank, qint64 colourRegister,
                   const EditorColour &colour) {
    if (!options.aga) {
        const char r = characterOf(colour.red12, 0);
        const char g = characterOf(colour.green12, 0);
        const char b = characterOf(colour.blue12, 0);
        if (options.copperInstructions)
            return QString::asprintf("dc.w COLOR%.2lld,$0%c%c%c",
                                     static_cast<long long>(colourRegister), r, g, b);
        return QString::asprintf("move.w #$0%c%c%c,COLOR%.2lld(%s)", r, g, b,
                                 static_cast<long long>(colourRegister), "a6");
    }
    const char d = bankDigit(bank);
    const long long reg = colourRegister;
    const char r0 = characterOf(colour.red24, 0), r1 = characterOf(colour.red24, 1);
    const char g0 = characterOf(colour.green24, 0), g1 = characterOf(colour.green24, 1);
    const char b0 = characterOf(colour.blue24, 0), b1 = characterOf(colour.blue24, 1);
    if (options.copperInstructions)
        return QString::asprintf("dc.w BPLCON3,$%c000\ndc.w COLOR%.2lld,$0%c%c%c\n"
                                 "dc.w BPLCON3,$%c200\ndc.w COLOR%.2lld,$0%c%c%c",
                                 d, reg, r0, g0, b0, d, reg, r1, g1, b1);
    const char *base = "a6";
    return QString::asprintf("move.w #$%c000,BPLCON3(%s)\nmove.w #$0%c%c%c,COLOR%.2lld(%s)\n"
                             "move.w #$%c200,BPLCON3(%s)\nmove.w #$0%c%c%c,COLOR%.2lld(%s)",
                             d, base, r0, g0, b0, reg, base, d, base, r1, g1, b1, reg, base);
}

QString paletteCode(const Options &options, qint64 bank, qint64 colourRegister,
                    const QList<Colour> &entries) {
    QString text;
    const qint64 count = entries.size();
    if (!options.aga) {
        // OCS/ECS: 32 colour registers, no banks.
        qint64 i = 0;
        for (; i < count && colourRegister + i < 32; ++i) {
            const Nibbles n = twelveBitDigits(entries[i]);
            text += QString::asprintf("dc.w COLOR%.2lld,$0%c%c%c\n",
                                      static_cast<long long>(colourRegister + i), n.red, n.green,
                                      n.blue);
        }
        if (i < count)
            text += QString::asprintf(
                "; OCS/ECS have no colour register after COLOR31: left out from entry %lld on\n",
                static_cast<long long>(i));
        return text;
    }
    const bool banked = options.copperInstructions;
    // Without BPLCON3 lines the registers cannot leave the bank.
    const qint64 first = banked ? bank * 32 + colourRegister : colourRegister;
    const qint64 last = banked ? 256 : 32; // one past the last register that can be written
    const qint64 written = std::clamp<qint64>(last - first, 0, count);
    for (int half = 0; half < 2; ++half) {
        const char halfDigit = half == 0 ? '0' : '2';
        for (qint64 i = 0; i < written; ++i) {
            const qint64 index = first + i;
            if (banked && (i == 0 || index % 32 == 0))
                text +=
                    QString::asprintf("dc.w BPLCON3,$%c%c00\n", bankDigit(index / 32), halfDigit);
            const Nibbles n = hexDigits(entries[i], half);
            text += QString::asprintf("dc.w COLOR%.2lld,$0%c%c%c\n",
                                      static_cast<long long>(index % 32), n.red, n.green, n.blue);
        }
    }
    if (written < count) {
        if (banked)
            text += QString::asprintf(
                "; AGA has no colour register after bank 7 COLOR31: left out from entry %lld on\n",
                static_cast<long long>(written));
        else
            text += QString::asprintf("; no colour register after COLOR31 without BPLCON3 bank "
                                      "selection: left out from entry %lld on\n",
                                      static_cast<long long>(written));
    }
    return text;
}

QString rainbowCode(const Options &options, qint64 startLine, const QList<Colour> &entries,
                    const QList<qint64> &heights) {
    QString text;
    if (!options.copperInstructions)
        return text;
    qint64 line = startLine;
    bool wrapped = line >= firstLineAfterWrap;
    const qint64 count = entries.size();
    for (qint64 i = 0; i < count; ++i) {
        if (line < 0 || line >= lineLimit) {
            text += QString::asprintf(
                "; no display line $%llx for a copper WAIT: left out from entry %lld on\n",
                static_cast<long long>(line), static_cast<long long>(i));
            break;
        }
        if (line >= firstLineAfterWrap && !wrapped) {
            text += QStringLiteral("dc.w $ffdf,$fffe\n");
            wrapped = true;
        }
        text += QString::asprintf("dc.w $%.2llx01,$fffe\n", static_cast<long long>(line & 0xff));
        if (options.aga) {
            const Nibbles high = hexDigits(entries[i], 0);
            const Nibbles low = hexDigits(entries[i], 1);
            text += QStringLiteral("dc.w BPLCON3,$0000\n");
            text += QString::asprintf("dc.w COLOR00,$0%c%c%c\n", high.red, high.green, high.blue);
            text += QStringLiteral("dc.w BPLCON3,$0200\n");
            text += QString::asprintf("dc.w COLOR00,$0%c%c%c\n", low.red, low.green, low.blue);
        } else {
            const Nibbles n = twelveBitDigits(entries[i]);
            text += QString::asprintf("dc.w COLOR00,$0%c%c%c\n", n.red, n.green, n.blue);
        }
        if (i < heights.size())
            line += heights[i];
    }
    return text;
}

} // namespace ColourCode
