// Reads arbitrary bytes as a copper list: the first byte chooses text or binary (and, for binary,
// the start offset), the rest is the input. Whatever is read is disassembled and written out as
// a listing, and the listing read back as text must give the same words.
#include <amiga/copperlist.h>
#include <amiga/copperread.h>

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::uint8_t mode = data[0];
    const std::span<const std::uint8_t> input(data + 1, size - 1);
    const amiga::CopperRead read =
        mode & 1
            ? amiga::readCopperBinary(input, mode >> 1)
            : amiga::readCopperText({reinterpret_cast<const char *>(input.data()), input.size()});
    if (!read.ok())
        return 0;
    const amiga::CopperListing listing = amiga::disassemble(
        read.words,
        {mode & 2 ? amiga::CopperFrame::Chipset::Aga : amiga::CopperFrame::Chipset::Ocs, {}});
    const std::string text = amiga::copperListingText(listing);
    // What the program prints reads back to the same words.
    const amiga::CopperRead again = amiga::readCopperText(text);
    if (!again.ok() || again.words != read.words)
        std::abort();
    return 0;
}
