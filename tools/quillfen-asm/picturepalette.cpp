#include "picturepalette.h"

#include <picture/picture.h>

namespace quillfen_asm {

std::vector<amiga::Rgb8> pictureColourMap(const std::string &path, std::string &error,
                                          unsigned index) {
    std::string why;
    std::optional<std::vector<amiga::Rgb8>> colours = picture::readColourMapFile(path, &why, index);
    if (!colours) {
        error = why;
        return {};
    }
    return std::move(*colours);
}

} // namespace quillfen_asm
