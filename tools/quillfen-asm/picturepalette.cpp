#include "picturepalette.h"

#include <picture/picture.h>

namespace quillfen_asm {

std::vector<amiga::Rgb8> pictureColourMap(const std::string &path, std::string &error) {
    std::string why;
    const std::optional<picture::Picture> read = picture::readPictureFile(path, &why);
    if (!read) {
        error = "'" + path + "': " + why;
        return {};
    }
    if (read->palette.empty()) {
        error = "the picture in '" + path + "' has no colour map";
        return {};
    }
    return read->palette;
}

} // namespace quillfen_asm
