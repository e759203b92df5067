// Prints how closely colour reduction keeps pictures, as PSNR (dB, over the three guns) against
// the picture before reduction, beside pngquant and ImageMagick's -colors run on the same
// picture as references: for OCS/ECS their colours are rounded to 12 bits (each gun to the
// nearest n x 17) afterwards, as a user of those tools would have to. The palette's quality is
// measured without dithering; "12-bit best" is every pixel rounded to 12 bits, which no map of
// 12-bit colours betters without dithering; the last columns are this library's two dithers and
// the time its plain reduction took.
//
//   psnr_table [PICTURE...]
//
// Without pictures: the two made ones (made_pictures.h), ImageMagick's plasma at 640 x 640 as a
// photograph when ImageMagick is there, and the real pictures of tests/ilbm/pictures.
#include "made_pictures.h"
#include "picture/reduce.h"
#include "picture_files.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include <unistd.h>

namespace {

using amiga::Rgb8;
using picture::Picture;

std::vector<Rgb8> shownColours(const Picture &p) {
    if (!p.trueColour.empty()) {
        std::vector<Rgb8> out;
        for (const picture::Rgba8 &c : p.trueColour) {
            out.push_back({c.red, c.green, c.blue});
        }
        return out;
    }
    return picture::render(p);
}

double psnr(const std::vector<Rgb8> &original, const std::vector<Rgb8> &shown) {
    if (original.size() != shown.size() || original.empty()) {
        return NAN;
    }
    double sum = 0;
    for (size_t i = 0; i < original.size(); i++) {
        const double dr = original[i].red - shown[i].red;
        const double dg = original[i].green - shown[i].green;
        const double db = original[i].blue - shown[i].blue;
        sum += dr * dr + dg * dg + db * db;
    }
    const double mse = sum / (3.0 * static_cast<double>(original.size()));
    return mse == 0 ? 99.99 : 10 * std::log10(255.0 * 255.0 / mse);
}

// An indexed picture as shown, its colour map rounded to 12 bits first when asked.
std::vector<Rgb8> shownAs(Picture p, bool twelveBit) {
    if (twelveBit) {
        for (Rgb8 &c : p.palette) {
            auto round = [](std::uint8_t v) {
                return static_cast<std::uint8_t>((v + 8) / 17 * 17);
            };
            c = {round(c.red), round(c.green), round(c.blue)};
        }
    }
    return picture::render(p);
}

bool writePng(const std::string &path, const std::vector<Rgb8> &colours, unsigned width,
              unsigned height) {
    std::vector<unsigned> samples;
    for (const Rgb8 &c : colours) {
        samples.insert(samples.end(), {c.red, c.green, c.blue});
    }
    return picturetest::savePng(
        path, picturetest::pngLayout(width, height, PNG_COLOR_TYPE_RGB, 8, samples));
}

// What a peer tool's command left in `out`, shown, or NaN when it did not run.
double peer(const std::string &command, const std::string &out, const std::vector<Rgb8> &original,
            bool twelveBit) {
    std::filesystem::remove(out);
    if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) {
        return NAN;
    }
    std::string error;
    const std::optional<Picture> read = picture::readPictureFile(out, &error);
    if (!read || read->isTrueColour()) {
        return NAN;
    }
    return psnr(original, shownAs(*read, twelveBit));
}

struct Named {
    std::string name;
    Picture picture;
};

void table(const std::vector<Named> &pictures) {
    const std::string folder =
        std::filesystem::temp_directory_path() / ("quillfen-psnr-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string in = folder + "/in.png", out = folder + "/out.png";
    std::printf("| picture | colours | chipset | Quillfen | pngquant | ImageMagick | Quillfen - "
                "pngquant | 12-bit best | diffused | ordered | ms |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|---|\n");
    for (const Named &n : pictures) {
        const std::vector<Rgb8> original = shownColours(n.picture);
        writePng(in, original, n.picture.width, n.picture.height);
        // What no map of 12-bit colours can better without dithering: every pixel rounded.
        std::vector<Rgb8> rounded = original;
        for (Rgb8 &c : rounded) {
            auto round = [](std::uint8_t v) {
                return static_cast<std::uint8_t>((v + 8) / 17 * 17);
            };
            c = {round(c.red), round(c.green), round(c.blue)};
        }
        const double best = psnr(original, rounded);
        for (unsigned colours : {16u, 32u, 256u}) {
            for (bool twelveBit : {false, true}) {
                const auto start = std::chrono::steady_clock::now();
                const Picture plain =
                    picture::reduce(n.picture, {colours, twelveBit, picture::Dither::None});
                const double ms = std::chrono::duration<double, std::milli>(
                                      std::chrono::steady_clock::now() - start)
                                      .count();
                const double ours = psnr(original, picture::render(plain));
                const double diffused =
                    psnr(original, picture::render(picture::reduce(
                                       n.picture, {colours, twelveBit, picture::Dither::Diffuse})));
                const double ordered =
                    psnr(original, picture::render(picture::reduce(
                                       n.picture, {colours, twelveBit, picture::Dither::Ordered})));
                const double quant = peer("pngquant --nofs --force --output " + out + " " +
                                              std::to_string(colours) + " " + in,
                                          out, original, twelveBit);
                const double magick = peer("convert " + in + " -dither None -colors " +
                                               std::to_string(colours) + " PNG8:" + out,
                                           out, original, twelveBit);
                char ceiling[16] = "";
                if (twelveBit) {
                    std::snprintf(ceiling, sizeof ceiling, "%.2f", best);
                }
                std::printf(
                    "| %s | %u | %s | %.2f | %.2f | %.2f | %+.2f | %s | %.2f | %.2f | %.0f |\n",
                    n.name.c_str(), colours, twelveBit ? "OCS" : "AGA", ours, quant, magick,
                    ours - quant, ceiling, diffused, ordered, ms);
                std::fflush(stdout);
            }
        }
    }
    std::filesystem::remove_all(folder);
}

} // namespace

int main(int argc, char **argv) {
    std::vector<Named> pictures;
    std::vector<std::string> files(argv + 1, argv + argc);
    if (files.empty()) {
        pictures.push_back({"made photo 640x640", madepictures::photoLike(640, 640, 1992)});
        pictures.push_back({"made drawing 640x480", madepictures::drawingLike(640, 480)});
        const std::string plasma =
            (std::filesystem::temp_directory_path() / "quillfen-plasma.png").string();
        if (std::system(("convert -seed 1992 -size 640x640 plasma:fractal -blur 0x1 " + plasma +
                         " >/dev/null 2>&1")
                            .c_str()) == 0) {
            files.push_back(plasma);
        }
        for (const char *name : {"serenity-24bit.iff", "ham6.iff", "serenity.lbm"}) {
            files.push_back(std::string(QUILLFEN_PICTURES) + "/" + name);
        }
    }
    for (const std::string &file : files) {
        std::string error;
        std::optional<Picture> read = picture::readPictureFile(file, &error);
        if (!read) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        pictures.push_back({std::filesystem::path(file).filename().string(), std::move(*read)});
    }
    table(pictures);
    return 0;
}
