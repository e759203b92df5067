#include "picturepalette.h"

#include <picture/picture.h>

#include <iff/iff.h>
#include <ilbm/colormap.h>
#include <ilbm/ilbm.h>

#include <cstdlib>

namespace quillfen_asm {

namespace {

// The CMAP of an ILBM palette file: a BMHD and a CMAP without a BODY, as paint programs save a
// palette alone. The picture library reads pictures, which this is not. Nothing when the file
// holds no ILBM form; no colours when its forms have no colour map.
std::optional<std::vector<amiga::Rgb8>> paletteFileColours(const std::string &path) {
    IFF_Chunk *tree = ILBM_read(path.c_str());
    if (tree == nullptr) {
        return std::nullopt;
    }
    unsigned int formsLength = 0;
    IFF_Form **forms = IFF_searchForms(tree, ILBM_ID_ILBM, &formsLength);
    std::optional<std::vector<amiga::Rgb8>> colours;
    if (formsLength > 0)
        colours.emplace();
    for (unsigned int i = 0; i < formsLength && colours->empty(); ++i) {
        const auto *colorMap =
            reinterpret_cast<const ILBM_ColorMap *>(IFF_getChunkFromForm(forms[i], ILBM_ID_CMAP));
        if (colorMap == nullptr)
            continue;
        for (unsigned int r = 0; r < colorMap->colorRegisterLength; ++r) {
            const ILBM_ColorRegister &c = colorMap->colorRegister[r];
            colours->push_back({c.red, c.green, c.blue});
        }
    }
    std::free(forms);
    ILBM_free(tree);
    return colours;
}

} // namespace

std::vector<amiga::Rgb8> pictureColourMap(const std::string &path, std::string &error) {
    std::string why;
    const std::optional<picture::Picture> read = picture::readPictureFile(path, &why);
    if (!read) {
        if (std::optional<std::vector<amiga::Rgb8>> palette = paletteFileColours(path)) {
            if (palette->empty())
                error = "the pictures in '" + path + "' have no colour map (CMAP)";
            return *palette;
        }
        error = why.find(path) != std::string::npos ? why : "'" + path + "': " + why;
        return {};
    }
    if (read->palette.empty()) {
        error = "the picture in '" + path + "' has no colour map";
        return {};
    }
    return read->palette;
}

} // namespace quillfen_asm
