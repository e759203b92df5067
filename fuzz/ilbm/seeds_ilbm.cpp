// Writes a small corpus of picture files into the folder given: the kept inputs (real pictures
// and what the fuzz targets once failed on), packed and unpacked ILBMs, an ACBM, a chunky PBM, a
// masked picture, LISTs whose PROPs hold the shared chunks (a BODY among them), a colour range
// written short, with every chunk type of the picture forms among them.
#include "iff_bytes.h"
#include "kept_inputs.h"

#include <stdio.h>

#include <string>

using namespace iffbytes;

namespace {

void save(const std::string &folder, const std::string &name, const Bytes &bytes) {
    iffbytes::save(folder + "/" + name, bytes);
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    std::string folder = argv[1];
    copyKeptInputs(folder);
    Bytes cmap = chunk("CMAP", {0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 0, 255});
    Bytes body(2 * 2 * 4);
    for (size_t i = 0; i < body.size(); i++) {
        body[i] = static_cast<unsigned char>(i < 6 ? 0x55 : i * 37);
    }

    save(folder, "plain.iff", group("FORM", "ILBM", {bmhd(16, 4, 2), cmap, chunk("BODY", body)}));
    save(folder, "packed.iff",
         group("FORM", "ILBM",
               {bmhd(16, 4, 2, 0, 1), cmap, chunk("CAMG", be32(0x8004)),
                chunk("BODY", {0xFD, 0x55, 0x01, 0x12, 0x34, 0xF9, 0x00, 0x03, 1, 2, 3, 4})}));
    save(folder, "acbm.iff", group("FORM", "ACBM", {bmhd(16, 4, 2), cmap, chunk("ABIT", body)}));
    save(folder, "pbm.iff",
         group("FORM", "PBM ", {bmhd(3, 2, 8), cmap, chunk("BODY", {1, 2, 3, 0, 3, 3, 3, 0})}));
    save(folder, "masked.iff",
         group("FORM", "ILBM", {bmhd(16, 2, 2, 1), chunk("BODY", Bytes(12, 0x0F))}));
    save(folder, "everything.iff",
         group("LIST", "ILBM",
               {group("PROP", "ILBM",
                      {bmhd(16, 4, 2), cmap, chunk("CMYK", {1, 2, 3, 4}),
                       chunk("CNAM", {0, 0, 0, 1, 'b', 0, 'w', 0}), chunk("DPI ", {0, 72, 0, 72}),
                       chunk("GRAB", {0, 1, 0, 2}), chunk("DEST", {2, 0, 0, 3, 0, 0, 0, 3}),
                       chunk("SPRT", {0, 1})}),
                group("FORM", "ILBM",
                      {chunk("CRNG", {0, 0, 0x0A, 0xAA, 0, 1, 0, 3}),
                       chunk("CCRT", {0, 1, 0, 3, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0}),
                       chunk("DRNG", {0, 3, 0, 10, 0, 8, 1, 1, 0, 9, 9, 9, 1, 2, 1, 0, 2, 5}),
                       chunk("BODY", body)})}));
    save(folder, "painted.iff", paintedPicture());
    save(folder, "shared.iff",
         group("CAT ", "ILBM",
               {group("LIST", "ILBM",
                      {group("PROP", "ILBM", {bmhd(16, 4, 2), cmap, chunk("BODY", body)}),
                       group("FORM", "ILBM", {chunk("CRNG", {0, 0, 0x0A, 0xAA, 0, 1, 0, 3})}),
                       group("FORM", "ILBM", {})}),
                group("FORM", "ILBM", {bmhd(16, 4, 2), chunk("BODY", body)})}));
    return 0;
}
