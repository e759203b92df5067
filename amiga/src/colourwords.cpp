#include "amiga/colourwords.h"

namespace amiga {

// The rules are constexpr and live in the header; these checks keep them honest at build time.
static_assert(nibbleOf(0xb9) == 0xb);
static_assert(nibbleOf(0xf0) == 0xf && nibbleOf(0xff) == 0xf);
static_assert(eightBitOf(0xf) == 0xff);
static_assert(highWord({0x12, 0x34, 0x56}) == 0x0135);
static_assert(lowWord({0x12, 0x34, 0x56}) == 0x0246);
static_assert(fromHalves(0x0135, 0x0246) == Rgb8{0x12, 0x34, 0x56});
static_assert(bplcon3For(7, true) == 0xe200);

} // namespace amiga
