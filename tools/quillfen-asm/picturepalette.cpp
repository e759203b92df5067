#include "picturepalette.h"

#include <iff/iff.h>
#include <ilbm/colormap.h>
#include <ilbm/ilbm.h>

#include <cstdlib>

namespace quillfen_asm {

std::vector<amiga::Rgb8> pictureColourMap(const std::string &path, std::string &error) {
    IFF_Chunk *tree = ILBM_read(path.c_str());
    if (tree == nullptr) {
        error = "cannot read '" + path + "' as an IFF file";
        return {};
    }
    unsigned int formsLength = 0;
    IFF_Form **forms = IFF_searchForms(tree, ILBM_ID_ILBM, &formsLength);
    std::vector<amiga::Rgb8> colours;
    bool found = false;
    for (unsigned int i = 0; i < formsLength; ++i) {
        const auto *colorMap =
            reinterpret_cast<const ILBM_ColorMap *>(IFF_getChunkFromForm(forms[i], ILBM_ID_CMAP));
        if (colorMap == nullptr)
            continue;
        found = true;
        colours.clear();
        for (unsigned int r = 0; r < colorMap->colorRegisterLength; ++r) {
            const ILBM_ColorRegister &c = colorMap->colorRegister[r];
            colours.push_back({c.red, c.green, c.blue});
        }
    }
    std::free(forms);
    ILBM_free(tree);
    if (formsLength == 0)
        error = "'" + path + "' holds no ILBM picture";
    else if (!found || colours.empty())
        error = "the pictures in '" + path + "' have no colour map (CMAP)";
    return colours;
}

} // namespace quillfen_asm
