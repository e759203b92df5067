// quillfen-iff's commands on any bytes: every command of the table, with each of its options, runs
// on the bytes as an input file (an IFF file or a PNG), writing into a folder of its own. None may
// crash; a conversion that says it is done must have written a file that reads, passes the check
// and holds as many pictures as the input (one for a PNG or a picture reduced); raw, sprite, bobs,
// font and palette tables must have written their output or nothing, tiles both its outputs or
// neither.
#include "command.h"

#include <ilbm/ilbm.h>
#include <ilbm/ilbmimage.h>

#include <iff/error.h>

#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

void quiet(const char *, va_list) {}

std::string folder;

[[noreturn]] void fail(const std::string &what) {
    fprintf(stderr, "%s\n", what.c_str());
    abort();
}

std::string path(const char *name) {
    return folder + "/" + name;
}

int run(std::vector<std::string> arguments) {
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>("quillfen-iff"));
    for (std::string &argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    return quillfen_iff::run(static_cast<int>(argv.size()) - 1, argv.data());
}

bool exists(const std::string &name) {
    return access(name.c_str(), F_OK) == 0;
}

// The number of pictures of a file, or -1 when it does not read or fails the check.
int validPictures(const std::string &name) {
    IFF_Chunk *tree = ILBM_read(name.c_str());
    if (tree == nullptr) {
        return -1;
    }
    int pictures = -1;
    if (ILBM_check(tree)) {
        unsigned int length = 0;
        ILBM_Image **images = ILBM_extractImages(tree, &length);
        ILBM_freeImages(images, length);
        pictures = static_cast<int>(length);
    }
    ILBM_free(tree);
    return pictures;
}

int pictures(const std::string &name) {
    IFF_Chunk *tree = ILBM_read(name.c_str());
    if (tree == nullptr) {
        return 0;
    }
    unsigned int length = 0;
    ILBM_Image **images = ILBM_extractImages(tree, &length);
    ILBM_freeImages(images, length);
    ILBM_free(tree);
    return static_cast<int>(length);
}

void removeFolder() {
    for (const char *name : {"in.iff", "out.iff", "out.raw", "out.bin", "out.map"}) {
        unlink(path(name).c_str());
    }
    rmdir(folder.c_str());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    IFF_errorCallback = quiet;
    if (freopen("/dev/null", "w", stdout) == nullptr) {
        abort();
    }
    // The commands sync every file they write: in memory (tmpfs) that costs nothing.
    char inMemory[] = "/dev/shm/fuzz_tool-XXXXXX";
    char onDisk[] = "/tmp/fuzz_tool-XXXXXX";
    char *name = mkdtemp(inMemory);
    if (name == nullptr && (name = mkdtemp(onDisk)) == nullptr) {
        abort();
    }
    folder = name;
    atexit(removeFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string in = path("in.iff");
    const std::string out = path("out.iff");
    const std::string raw = path("out.raw");
    FILE *file = fopen(in.c_str(), "wb");
    if (file == nullptr || fwrite(data, 1, size, file) != size || fclose(file) != 0) {
        abort();
    }
    const bool png = size >= 8 && memcmp(data, "\x89PNG\r\n\x1a\n", 8) == 0;
    const int inputPictures = pictures(in);

    run({"print", in});
    const int valid = run({"check", in});
    if (run({"compare", in, in}) == 0 && valid == 2) {
        fail("a file that cannot be read compares equal");
    }
    for (const char *option : {"--aga", "--ocs", "--help"}) {
        run({"palette", option, in});
    }
    run({"palette", in});

    for (const std::vector<std::string> &command :
         std::vector<std::vector<std::string>>{{"unpack"},
                                               {"pack"},
                                               {"acbm"},
                                               {"ilbm"},
                                               {"ilbm", "--pack"},
                                               {"ilbm", "--reduce", "4", "--dither"},
                                               {"ilbm", "--region", "1,1,3,2"}}) {
        unlink(out.c_str());
        std::vector<std::string> arguments = command;
        arguments.push_back(in);
        arguments.push_back(out);
        const int status = run(arguments);
        /* A PNG, or any picture reduced, becomes an ILBM of one picture. */
        const bool one = command[0] == "ilbm" && (png || command.size() > 2);
        if (status == 0) {
            if (validPictures(out) != (one ? 1 : inputPictures)) {
                fail(command[0] + " wrote a file that is not valid or lost pictures");
            }
            if (run({"compare", out, out}) != 0) {
                fail(command[0] + " wrote a file that does not compare equal to itself");
            }
        } else if (exists(out)) {
            fail(command[0] + " failed but wrote its output");
        }
    }
    const std::string bin = path("out.bin");
    const std::vector<std::vector<std::string>> writers = {
        {"raw", "--planar"},
        {"raw", "--"},
        {"raw", "--mask"},
        {"raw", "--mask-only=inverted", "--planar"},
        {"raw", "--depth", "3", "--mask=inverted"},
        {"raw", "--transparent", "1", "--mask"},
        {"raw", "--chunky"},
        {"raw", "--reduce", "8", "--chipset", "aga", "--mask"},
        {"palette", "--format", "words"},
        {"palette", "--format", "rgb8", "--binary"},
        {"palette", "--format", "rgb32", "--colors", "2"},
        {"palette", "--format", "loadrgb32", "--binary"},
        {"palette", "--format", "copper"},
        {"palette", "--format", "copper-aga", "--reduce", "16", "--binary"},
        {"sprite"},
        {"sprite", "--x", "c0", "--y", "6d", "--text"},
        {"sprite", "--attached", "--control", "--transparent", "2"},
        {"sprite", "--width", "64", "--chipset", "aga", "--x", "40.8", "--y", "2c", "--text"},
        {"sprite", "--reduce", "4"},
        {"sprite", "--frames", "--x", "80", "--y", "40", "--text"},
        {"sprite", "--attached", "--frame-height", "3"},
        {"raw", "--region", "1,1,3,2", "--mask"},
        {"raw", "--text", "--chunky"},
        {"raw", "--format", "c", "--c-attribute", "__chip"},
        {"sprite", "--format", "c", "--name", "ship"},
        {"palette", "--format", "rgb32", "--binary=c"},
        {"palette", "--format", "words", "--region", "1,0,1,1"},
        {"sprite", "--region", "0,1,16,2"},
        {"bobs", "--size", "4x2", "--mask", "--add-word", "--index", path("out.i")},
        {"bobs", "--size", "3x1", "--spacing", "1,0", "--trim-empty", "--text"},
        {"bobs", "--size", "16x2", "--grid", "1x1", "--planar", "--format", "c"},
        {"font", "--cell", "3x2", "--first", "A", "--proportional", "--text"},
        {"font", "--cell", "5x1", "--first", "250", "--proportional", "--widths", path("out.w")},
        {"font", "--cell", "4x2", "--proportional", "--format", "c", "--region", "0,0,8,2"},
        {"bobs", "--size", "2x2", "--format", "c", "--index", path("out.h")},
    };
    for (const std::vector<std::string> &command : writers) {
        unlink(bin.c_str());
        std::vector<std::string> arguments = command;
        arguments.push_back(in);
        arguments.push_back(bin);
        const int status = run(arguments);
        if (status < 0 || status > 2) {
            fail(command[0] + " gave an exit status outside 0-2");
        }
        if ((status == 0) != exists(bin)) {
            fail(command[0] + " wrote its output and failed, or did not and succeeded");
        }
    }
    /* tiles writes two files: both or neither. */
    const std::string map = path("out.map");
    const std::vector<std::vector<std::string>> tileWriters = {
        {"tiles", "--size", "8x8"},
        {"tiles", "--size", "8x8", "--dedupe", "--flips", "--text"},
        {"tiles", "--size", "16x16", "--dedupe", "--planar"},
        {"tiles", "--size", "8x8", "--format", "c", "--region", "0,0,8,8"},
    };
    for (const std::vector<std::string> &command : tileWriters) {
        unlink(bin.c_str());
        unlink(map.c_str());
        std::vector<std::string> arguments = command;
        arguments.insert(arguments.end(), {in, bin, map});
        const int status = run(arguments);
        if (status < 0 || status > 2) {
            fail("tiles gave an exit status outside 0-2");
        }
        if ((status == 0) != exists(bin) || (status == 0) != exists(map)) {
            fail("tiles wrote its outputs and failed, or did not write both and succeeded");
        }
    }
    return 0;
}
