#include "amiga/customregisters.h"

#include <array>
#include <cctype>

namespace amiga {

namespace {

constexpr int kRegisterCount = kLastRegisterOffset / 2 + 1;

// One name per word offset, empty where the chips have no register. Names and offsets follow the
// register summary in address order of the Hardware Reference Manual, with the ECS and AGA
// additions.
constexpr std::array<std::string_view, kRegisterCount> kNames = {
    // $000
    "BLTDDAT", "DMACONR", "VPOSR", "VHPOSR", "DSKDATR", "JOY0DAT", "JOY1DAT", "CLXDAT",
    // $010
    "ADKCONR", "POT0DAT", "POT1DAT", "POTGOR", "SERDATR", "DSKBYTR", "INTENAR", "INTREQR",
    // $020
    "DSKPTH", "DSKPTL", "DSKLEN", "DSKDAT", "REFPTR", "VPOSW", "VHPOSW", "COPCON",
    // $030
    "SERDAT", "SERPER", "POTGO", "JOYTEST", "STREQU", "STRVBL", "STRHOR", "STRLONG",
    // $040
    "BLTCON0", "BLTCON1", "BLTAFWM", "BLTALWM", "BLTCPTH", "BLTCPTL", "BLTBPTH", "BLTBPTL",
    // $050
    "BLTAPTH", "BLTAPTL", "BLTDPTH", "BLTDPTL", "BLTSIZE", "BLTCON0L", "BLTSIZV", "BLTSIZH",
    // $060
    "BLTCMOD", "BLTBMOD", "BLTAMOD", "BLTDMOD", "", "", "", "",
    // $070
    "BLTCDAT", "BLTBDAT", "BLTADAT", "", "SPRHDAT", "BPLHDAT", "DENISEID", "DSKSYNC",
    // $080
    "COP1LCH", "COP1LCL", "COP2LCH", "COP2LCL", "COPJMP1", "COPJMP2", "COPINS", "DIWSTRT",
    // $090
    "DIWSTOP", "DDFSTRT", "DDFSTOP", "DMACON", "CLXCON", "INTENA", "INTREQ", "ADKCON",
    // $0a0
    "AUD0LCH", "AUD0LCL", "AUD0LEN", "AUD0PER", "AUD0VOL", "AUD0DAT", "", "",
    // $0b0
    "AUD1LCH", "AUD1LCL", "AUD1LEN", "AUD1PER", "AUD1VOL", "AUD1DAT", "", "",
    // $0c0
    "AUD2LCH", "AUD2LCL", "AUD2LEN", "AUD2PER", "AUD2VOL", "AUD2DAT", "", "",
    // $0d0
    "AUD3LCH", "AUD3LCL", "AUD3LEN", "AUD3PER", "AUD3VOL", "AUD3DAT", "", "",
    // $0e0
    "BPL1PTH", "BPL1PTL", "BPL2PTH", "BPL2PTL", "BPL3PTH", "BPL3PTL", "BPL4PTH", "BPL4PTL",
    // $0f0
    "BPL5PTH", "BPL5PTL", "BPL6PTH", "BPL6PTL", "BPL7PTH", "BPL7PTL", "BPL8PTH", "BPL8PTL",
    // $100
    "BPLCON0", "BPLCON1", "BPLCON2", "BPLCON3", "BPL1MOD", "BPL2MOD", "BPLCON4", "CLXCON2",
    // $110
    "BPL1DAT", "BPL2DAT", "BPL3DAT", "BPL4DAT", "BPL5DAT", "BPL6DAT", "BPL7DAT", "BPL8DAT",
    // $120
    "SPR0PTH", "SPR0PTL", "SPR1PTH", "SPR1PTL", "SPR2PTH", "SPR2PTL", "SPR3PTH", "SPR3PTL",
    // $130
    "SPR4PTH", "SPR4PTL", "SPR5PTH", "SPR5PTL", "SPR6PTH", "SPR6PTL", "SPR7PTH", "SPR7PTL",
    // $140
    "SPR0POS", "SPR0CTL", "SPR0DATA", "SPR0DATB", "SPR1POS", "SPR1CTL", "SPR1DATA", "SPR1DATB",
    // $150
    "SPR2POS", "SPR2CTL", "SPR2DATA", "SPR2DATB", "SPR3POS", "SPR3CTL", "SPR3DATA", "SPR3DATB",
    // $160
    "SPR4POS", "SPR4CTL", "SPR4DATA", "SPR4DATB", "SPR5POS", "SPR5CTL", "SPR5DATA", "SPR5DATB",
    // $170
    "SPR6POS", "SPR6CTL", "SPR6DATA", "SPR6DATB", "SPR7POS", "SPR7CTL", "SPR7DATA", "SPR7DATB",
    // $180
    "COLOR00", "COLOR01", "COLOR02", "COLOR03", "COLOR04", "COLOR05", "COLOR06", "COLOR07",
    // $190
    "COLOR08", "COLOR09", "COLOR10", "COLOR11", "COLOR12", "COLOR13", "COLOR14", "COLOR15",
    // $1a0
    "COLOR16", "COLOR17", "COLOR18", "COLOR19", "COLOR20", "COLOR21", "COLOR22", "COLOR23",
    // $1b0
    "COLOR24", "COLOR25", "COLOR26", "COLOR27", "COLOR28", "COLOR29", "COLOR30", "COLOR31",
    // $1c0
    "HTOTAL", "HSSTOP", "HBSTRT", "HBSTOP", "VTOTAL", "VSSTOP", "VBSTRT", "VBSTOP",
    // $1d0
    "SPRHSTRT", "SPRHSTOP", "BPLHSTRT", "BPLHSTOP", "HHPOSW", "HHPOSR", "BEAMCON0", "HSSTRT",
    // $1e0
    "VSSTRT", "HCENTER", "DIWHIGH", "BPLHMOD", "SPRHPTH", "SPRHPTL", "BPLHPTH", "BPLHPTL",
    // $1f0
    "", "", "", "", "", "", "FMODE", "NOOP"};
// Every row above holds eight names: a row too short would shift every later name.
static_assert(kNames[kBplcon3 / 2] == "BPLCON3" && kNames[kColour00 / 2] == "COLOR00" &&
              kNames[kNoop / 2] == "NOOP");

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// A register offset from "$180", "180", "0x180" or the address forms "$dff180", "dff180".
std::optional<std::uint16_t> numericOffset(std::string_view text) {
    if (!text.empty() && text.front() == '$')
        text.remove_prefix(1);
    else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.remove_prefix(2);
    if (text.empty() || text.size() > 8)
        return std::nullopt;
    std::uint32_t value = 0;
    for (const char c : text) {
        const int digit = std::isdigit(static_cast<unsigned char>(c))
                              ? c - '0'
                              : (std::isxdigit(static_cast<unsigned char>(c))
                                     ? std::tolower(static_cast<unsigned char>(c)) - 'a' + 10
                                     : -1);
        if (digit < 0)
            return std::nullopt;
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    if (value >= kCustomBase && value <= kCustomBase + kLastRegisterOffset)
        value -= kCustomBase;
    if (value > kLastRegisterOffset || value % 2 != 0)
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

} // namespace

std::string_view registerName(std::uint16_t offset) {
    if (offset > kLastRegisterOffset || offset % 2 != 0)
        return {};
    return kNames[offset / 2];
}

std::optional<std::uint16_t> registerOffset(std::string_view text) {
    text = trimmed(text);
    if (text.empty())
        return std::nullopt;
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (!kNames[i].empty() && sameIgnoringCase(kNames[i], text))
            return static_cast<std::uint16_t>(i * 2);
    }
    return numericOffset(text);
}

} // namespace amiga
