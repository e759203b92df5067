// Reads arbitrary bytes as a copper list: the first byte chooses text or binary (and, for binary,
// the start offset; for text, bit 2 gives the symbol "screen" a value from outside), the rest is
// the input. Whatever is read is disassembled and written out as a listing, and the listing read
// back as text must give the same words, and the same words not known with the same expressions.
#include <amiga/copperlist.h>
#include <amiga/copperread.h>

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static const amiga::CopperSymbol symbols[] = {{"screen", 0x12345}};
    if (size == 0)
        return 0;
    const std::uint8_t mode = data[0];
    const std::span<const std::uint8_t> input(data + 1, size - 1);
    const amiga::CopperRead read =
        mode & 1
            ? amiga::readCopperBinary(input, mode >> 1)
            : amiga::readCopperText({reinterpret_cast<const char *>(input.data()), input.size()},
                                    mode & 4 ? symbols : std::span<const amiga::CopperSymbol>());
    if (!read.ok())
        return 0;
    const amiga::CopperListing listing = amiga::disassemble(
        read.words, {mode & 2 ? amiga::CopperFrame::Chipset::Aga : amiga::CopperFrame::Chipset::Ocs,
                     {},
                     amiga::CopperFrame::kLines,
                     read.unknown});
    const std::string text = amiga::copperListingText(listing);
    // What the program prints reads back to the same words, the same ones not known.
    const amiga::CopperRead again = amiga::readCopperText(text);
    if (!again.ok() || again.words != read.words || again.unknown.size() != read.unknown.size())
        std::abort();
    for (std::size_t i = 0; i < read.unknown.size(); ++i) {
        if (again.unknown[i].word != read.unknown[i].word ||
            again.unknown[i].expression != read.unknown[i].expression)
            std::abort();
    }
    return 0;
}
