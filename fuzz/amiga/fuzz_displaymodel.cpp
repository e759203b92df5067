// Draws a frame from arbitrary bytes: the first byte chooses the chipset, NTSC, sprite DMA,
// superhires columns and whether a short frame's list follows; the next two the list's length
// in words; then the list, and the rest is chip data at $10000 (the list's pointers reach it,
// or anything else in chip memory). Whatever the words, the frame is drawn whole, and a pixel
// explained.
#include <amiga/displaymodel.h>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 3)
        return 0;
    const std::uint8_t mode = data[0];
    amiga::FrameRequest request;
    request.setup.chipset = mode & 1   ? amiga::Chipset::Aga
                            : mode & 2 ? amiga::Chipset::Ecs
                                       : amiga::Chipset::Ocs;
    request.setup.ntsc = mode & 4;
    request.setup.spriteDma = mode & 8;
    request.setup.superhiresColumns = mode & 16;
    request.setup.copperAddress = 0x1000;
    request.chipSize = 0x20000;
    const std::size_t words = std::min<std::size_t>((data[1] << 8 | data[2]), (size - 3) / 2);
    for (std::size_t i = 0; i < words; ++i)
        request.list.push_back(static_cast<std::uint16_t>(data[3 + 2 * i] << 8 | data[4 + 2 * i]));
    if (mode & 32) {
        request.shortList = request.list;
        request.hasShortList = true;
    }
    const std::size_t rest = 3 + 2 * words;
    request.chip.push_back({0x10000, std::vector<std::uint8_t>(data + rest, data + size), "data"});
    amiga::FramePicture picture;
    std::string message;
    const amiga::FrameRegion region = amiga::visibleRegion(request.setup.ntsc);
    if (!amiga::drawFrame(request, region, &picture, &message))
        return 0; // too much chip data for $10000-$1ffff, or a list over it
    const int rows = (region.v1 - region.v0) * (picture.interlaced ? 2 : 1);
    if (picture.rows != rows ||
        picture.pixels.size() != static_cast<std::size_t>(picture.columns) * picture.rows)
        std::abort();
    std::string text;
    if (!amiga::explainPixel(request, 0x81 + mode, 0x2c + mode / 2, &text, &message) ||
        text.empty())
        std::abort();
    return 0;
}
