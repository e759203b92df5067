// Reading a 1920 x 1080 palette PNG of 8 bits a pixel into a picture, and reading and showing it,
// beside libpng decoding the same file into a buffer by itself in the same run: the library's
// own work is what lies between the two. And the peak memory of reading a large picture beside
// that of holding the decoded picture alone.
#include "picture/picture.h"
#include "picture_files.h"

#include <benchmark/benchmark.h>

#include <algorithm>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <random>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using picturetest::Bytes;

constexpr unsigned kWidth = 1920;
constexpr unsigned kHeight = 1080;

// A photo-like picture of 256 colours: smooth gradients with a little noise, which the PNG
// filters and zlib compress as they compress real pictures.
const Bytes &pngFile() {
    static const Bytes file = [] {
        std::vector<png_color> palette(256);
        for (unsigned i = 0; i < 256; i++) {
            palette[i] = {static_cast<png_byte>(i), static_cast<png_byte>(255 - i),
                          static_cast<png_byte>(i * 3)};
        }
        std::vector<unsigned> samples;
        samples.reserve(size_t{kWidth} * kHeight);
        std::mt19937 random(1992);
        for (unsigned y = 0; y < kHeight; y++) {
            for (unsigned x = 0; x < kWidth; x++) {
                samples.push_back((x / 8 + y / 6 + random() % 3) % 256);
            }
        }
        return picturetest::pngOf(
            picturetest::pngLayout(kWidth, kHeight, PNG_COLOR_TYPE_PALETTE, 8, samples, palette));
    }();
    return file;
}

struct Source {
    const Bytes *bytes;
    size_t offset;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto *source = static_cast<Source *>(png_get_io_ptr(png));
    if (length > source->bytes->size() - source->offset) {
        png_error(png, "short");
    }
    std::memcpy(out, source->bytes->data() + source->offset, length);
    source->offset += length;
}

// The baseline: libpng's own decoding of the file into rows, nothing else.
void LibpngDecodeOnly(benchmark::State &state) {
    const Bytes &file = pngFile();
    std::vector<std::uint8_t> image(size_t{kWidth} * kHeight);
    std::vector<png_bytep> rows(kHeight);
    for (unsigned y = 0; y < kHeight; y++) {
        rows[y] = image.data() + size_t{y} * kWidth;
    }
    for (auto _ : state) {
        Source source{&file, 0};
        png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        if (setjmp(png_jmpbuf(png))) {
            png_destroy_read_struct(&png, &info, nullptr);
            state.SkipWithError("libpng failed");
            break;
        }
        png_set_read_fn(png, &source, readFromMemory);
        png_read_info(png, info);
        png_read_update_info(png, info);
        png_read_image(png, rows.data());
        png_read_end(png, nullptr);
        png_destroy_read_struct(&png, &info, nullptr);
        benchmark::DoNotOptimize(image.data());
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

// Reads the PNG, and renders it too when asked.
void readAndMaybeRender(benchmark::State &state, bool render) {
    const Bytes &file = pngFile();
    for (auto _ : state) {
        std::string error;
        auto picture = picture::readPicture(file, &error);
        if (!picture) {
            state.SkipWithError(error.c_str());
            break;
        }
        benchmark::DoNotOptimize(picture->pixels.data());
        if (render) {
            std::vector<amiga::Rgb8> shown = picture::render(*picture);
            benchmark::DoNotOptimize(shown.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void ReadPicture(benchmark::State &state) {
    readAndMaybeRender(state, false);
}

void ReadPictureAndRender(benchmark::State &state) {
    readAndMaybeRender(state, true);
}

// Peak memory. A child process does what a picture command does with a file (reads its bytes,
// then the picture, and for a true-colour picture counts its colours to say what it is) and
// exits; its peak resident size is set beside the baseline measured in the same run: a child
// that holds nothing but a buffer as large as the decoded picture. The parent holds no picture
// when it forks, so neither child starts with one.
long childPeakKiB(int *exitStatus, const std::function<void()> &work) {
    const pid_t pid = fork();
    if (pid == 0) {
        work();
        _exit(0);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (exitStatus != nullptr) {
        *exitStatus = status;
    }
    return usage.ru_maxrss;
}

// A 4096 x 4096 PNG, RGBA (64 MiB decoded) or of a palette (16 MiB), written to a file.
std::string largePng(bool rgba) {
    constexpr unsigned side = 4096;
    const std::string path =
        std::string(P_tmpdir) + "/bench-picture-" + std::to_string(getpid()) + (rgba ? "a" : "p");
    std::vector<unsigned> samples(size_t{side} * side * (rgba ? 4 : 1));
    for (size_t i = 0; i < samples.size(); i++) {
        samples[i] = static_cast<unsigned>((i / 4096 + i % 4096 / 16) % 256);
    }
    std::vector<png_color> palette(256);
    for (unsigned i = 0; i < 256; i++) {
        palette[i] = {static_cast<png_byte>(i), 0, static_cast<png_byte>(255 - i)};
    }
    picturetest::savePng(
        path,
        picturetest::pngLayout(side, side, rgba ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_PALETTE,
                               8, std::move(samples), rgba ? std::vector<png_color>{} : palette));
    return path;
}

void PeakMemoryOfAPictureRead(benchmark::State &state) {
    const bool rgba = state.range(0) != 0;
    const std::string path = largePng(rgba);
    const size_t decoded = size_t{4096} * 4096 * (rgba ? 4 : 1);
    long peak = 0, baseline = 0;
    for (auto _ : state) {
        peak = childPeakKiB(nullptr, [&] {
            std::string error;
            const auto read = picture::readPictureFile(path, &error);
            if (read && !read->trueColour.empty()) {
                benchmark::DoNotOptimize(picture::countColours(*read));
            }
        });
        baseline = childPeakKiB(nullptr, [&] {
            std::vector<std::uint8_t> held(decoded, 1);
            benchmark::DoNotOptimize(held.data());
        });
    }
    std::remove(path.c_str());
    state.counters["decoded_MiB"] = static_cast<double>(decoded) / (1 << 20);
    state.counters["peak_MiB"] = static_cast<double>(peak) / 1024;
    state.counters["baseline_MiB"] = static_cast<double>(baseline) / 1024;
    // The goal: at most a tenth over the baseline.
    state.counters["over_baseline_pct"] =
        100.0 * static_cast<double>(peak - baseline) / static_cast<double>(baseline);
}

#ifdef QUILLFEN_IFF_TOOL
// Peak memory of the picture commands of quillfen-iff on the 4096 x 4096 palette PNG (16 MiB
// decoded), on the ILBM the program makes of it, and on the true-colour PNG (64 MiB decoded),
// each run as its own process, beside two baselines in the same run: the program answering
// --help (what it holds whatever it does), and a child holding a buffer as large as the decoded
// palette picture. The goal: the peak at most the program's own plus a tenth more than the
// decoded picture (over_decoded_pct at most 10).
void PeakMemoryOfACommand(benchmark::State &state) {
    struct Command {
        const char *arguments; // %p the palette PNG, %i its ILBM, %t the true-colour PNG
        unsigned decodedMiB;
        bool refused = false; // a picture this large is refused, once read
    };
    const Command commands[] = {{"raw %p %o", 16},
                                {"raw --planar --mask %p %o", 16},
                                {"raw --chunky %p %o", 16},
                                {"ilbm %p %i", 16},
                                {"raw %i %o", 16},
                                {"raw --planar %i %o", 16},
                                {"raw --chunky %i %o", 16},
                                {"raw --reduce 16 %p %o", 16},
                                {"raw --reduce 16 %i %o", 16},
                                {"palette --format rgb8 %p %o", 16},
                                {"sprite %p %o", 16, true},
                                {"raw --reduce 16 %t %o", 64},
                                {"raw --reduce 16 --dither %t %o", 64},
                                {"raw --reduce 16 --dither=ordered %t %o", 64},
                                {"raw --reduce 200 --chipset aga %t %o", 64},
                                {"ilbm --reduce 16 %t %o", 64}};
    const Command &chosen = commands[state.range(0)];
    const std::string png = largePng(false);
    const std::string ilbm = png + ".iff", out = png + ".out";
    const bool trueColour = std::string(chosen.arguments).find("%t") != std::string::npos;
    const std::string rgba = trueColour ? largePng(true) : std::string();
    std::string command = chosen.arguments;
    for (auto [mark, path] : {std::pair{"%p", png}, std::pair{"%i", ilbm}, std::pair{"%t", rgba},
                              std::pair{"%o", out}}) {
        if (const size_t at = command.find(mark); at != std::string::npos) {
            command.replace(at, 2, path);
        }
    }
    if (std::system((std::string(QUILLFEN_IFF_TOOL) + " ilbm " + png + " " + ilbm).c_str()) != 0) {
        state.SkipWithError("the ILBM could not be made");
        return;
    }
    const size_t decoded = size_t{4096} * 4096;
    long peak = 0, baseline = 0, idle = 0;
    int status = 0;
    auto run = [&status](const std::string &arguments) {
        return childPeakKiB(&status, [&] {
            execl("/bin/sh", "sh", "-c",
                  ("exec " + std::string(QUILLFEN_IFF_TOOL) + " " + arguments + " >/dev/null")
                      .c_str(),
                  static_cast<char *>(nullptr));
        });
    };
    for (auto _ : state) {
        peak = run(command);
        if (!WIFEXITED(status) || (WEXITSTATUS(status) != 0) != chosen.refused) {
            state.SkipWithError("the command failed");
        }
        idle = run("raw --help");
        baseline = childPeakKiB(nullptr, [&] {
            std::vector<std::uint8_t> held(decoded, 1);
            benchmark::DoNotOptimize(held.data());
        });
    }
    // From the ILBM, the planes written are those written from the PNG it was made of: a
    // command that stays small by writing the wrong bytes is no measure.
    const std::string fromPng = out + ".png";
    if (const size_t at = command.find(ilbm + " "); at != std::string::npos) {
        std::string again = command;
        again.replace(at, ilbm.size(), png);
        again.replace(again.rfind(out), out.size(), fromPng);
        run(again);
        // Compared a piece at a time: what this process holds is what its children start from.
        std::ifstream a(out, std::ios::binary), b(fromPng, std::ios::binary);
        std::vector<char> pieceA(1 << 16), pieceB(1 << 16);
        bool same = a && b;
        std::streamsize total = 0;
        while (same && a && b) {
            a.read(pieceA.data(), static_cast<std::streamsize>(pieceA.size()));
            b.read(pieceB.data(), static_cast<std::streamsize>(pieceB.size()));
            same = a.gcount() == b.gcount() &&
                   std::equal(pieceA.begin(), pieceA.begin() + a.gcount(), pieceB.begin());
            total += a.gcount();
        }
        if (!same || total == 0) {
            state.SkipWithError("the ILBM's planes differ from the PNG's");
        }
    }
    for (const std::string &path : {png, ilbm, out, fromPng, rgba}) {
        std::remove(path.c_str());
    }
    state.SetLabel(chosen.arguments);
    state.counters["decoded_MiB"] = chosen.decodedMiB;
    state.counters["peak_MiB"] = static_cast<double>(peak) / 1024;
    state.counters["baseline_MiB"] = static_cast<double>(baseline) / 1024;
    state.counters["idle_MiB"] = static_cast<double>(idle) / 1024;
    state.counters["over_decoded_pct"] =
        100.0 * (static_cast<double>(peak - idle) / 1024 / chosen.decodedMiB - 1);
}
BENCHMARK(PeakMemoryOfACommand)->DenseRange(0, 15)->Iterations(1)->Unit(benchmark::kMillisecond);
#endif

} // namespace

BENCHMARK(PeakMemoryOfAPictureRead)
    ->ArgName("rgba")
    ->Arg(1)
    ->Arg(0)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(LibpngDecodeOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadPicture)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadPictureAndRender)->Unit(benchmark::kMillisecond);
