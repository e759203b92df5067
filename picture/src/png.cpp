// PNG pictures through libpng's full interface. Palette pictures keep their PLTE as stored and
// their tRNS; grey pictures of up to 8 bits become colour numbers over a map of grey levels;
// every other kind (RGB, RGB with alpha, grey with alpha, 16 bits a channel) becomes colours.
#include "internal.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace picture::detail {

namespace {

// What the decoder fills in. Plain data only: the decoding function longjmps over its own
// frame, so everything that must outlive an error lives here, in the caller's frame.
struct PngState {
    const std::uint8_t *data = nullptr;
    std::FILE *file = nullptr; // read from instead of data when set
    size_t size = 0;
    size_t offset = 0;

    char message[256] = {};
    std::vector<std::string> *warnings = nullptr;

    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colourType = 0, interlace = 0;
    bool indexed = false; // one byte a pixel of colour numbers, else RGBA
    bool alphaSeen = false;
    png_structp png = nullptr; // between the header and the rows
    png_infop info = nullptr;
    png_bytep *rows = nullptr; // malloc'd, into the picture's own pixels
    png_bytep row = nullptr;   // malloc'd, one row, when read a row at a time
    size_t rowBytes = 0;
    bool pixelsRead = false; // every pixel is in place; what follows is only the trailer

    png_color palette[256] = {};
    int paletteSize = 0;
    png_byte transparency[256] = {};
    int transparencySize = 0;
    bool transparentGrey = false;
    png_uint_16 greyKey = 0;
};

void onError(png_structp png, png_const_charp text) {
    auto *state = static_cast<PngState *>(png_get_error_ptr(png));
    std::snprintf(state->message, sizeof state->message, "%s", text);
    png_longjmp(png, 1);
}

void onWarning(png_structp png, png_const_charp text) {
    auto *state = static_cast<PngState *>(png_get_error_ptr(png));
    try {
        state->warnings->push_back(std::string("libpng: ") + text);
    } catch (...) {
        // A warning that cannot be kept is dropped rather than thrown through libpng.
    }
}

void onRead(png_structp png, png_bytep out, png_size_t length) {
    auto *state = static_cast<PngState *>(png_get_io_ptr(png));
    if (length > state->size - state->offset ||
        (state->file != nullptr && std::fread(out, 1, length, state->file) != length)) {
        png_error(png, "the file ends inside the PNG data");
    }
    if (state->file == nullptr) {
        std::memcpy(out, state->data + state->offset, length);
    }
    state->offset += length;
}

// The filtered bytes of the picture's rows; no zlib stream can give more than 1032 bytes for
// each byte of it, so a file much shorter than this over 1032 cannot hold its picture.
std::uint64_t filteredSize(const PngState &state) {
    const int channels = state.colourType == PNG_COLOR_TYPE_RGB          ? 3
                         : state.colourType == PNG_COLOR_TYPE_RGB_ALPHA  ? 4
                         : state.colourType == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
                                                                         : 1;
    const std::uint64_t bits = std::uint64_t{state.width} * channels * state.bitDepth;
    return ((bits + 7) / 8 + 1) * state.height;
}

void release(PngState *state) {
    if (state->png != nullptr) {
        png_destroy_read_struct(&state->png, state->info != nullptr ? &state->info : nullptr,
                                nullptr);
    }
    state->png = nullptr;
    state->info = nullptr;
}

// Reads the header and sets up the transformations, leaving the reader in the state for the
// rows. No C++ object that needs destroying lives in this frame: libpng's errors longjmp back to
// the setjmp here.
bool decodeHeader(PngState *state) {
    state->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, state, onError, onWarning);
    if (state->png == nullptr) {
        std::snprintf(state->message, sizeof state->message, "out of memory");
        return false;
    }
    state->info = png_create_info_struct(state->png);
    if (state->info == nullptr) {
        release(state);
        std::snprintf(state->message, sizeof state->message, "out of memory");
        return false;
    }
    png_structp png = state->png;
    png_infop info = state->info;
    if (setjmp(png_jmpbuf(png))) {
        release(state);
        return false;
    }
    png_set_read_fn(png, state, onRead);
    png_read_info(png, info);
    png_get_IHDR(png, info, &state->width, &state->height, &state->bitDepth, &state->colourType,
                 &state->interlace, nullptr, nullptr);
    if (state->width > kMaxSide || state->height > kMaxSide ||
        std::uint64_t{state->width} * state->height > kMaxPixels) {
        std::snprintf(state->message, sizeof state->message,
                      "the PNG picture is %u x %u pixels, larger than the %u x %u that are read",
                      static_cast<unsigned>(state->width), static_cast<unsigned>(state->height),
                      kMaxSide, kMaxSide);
        release(state);
        return false;
    }
    if (filteredSize(*state) / 1032 > state->size) {
        std::snprintf(state->message, sizeof state->message,
                      "the PNG file of %zu bytes is too short to hold its %u x %u picture",
                      state->size, static_cast<unsigned>(state->width),
                      static_cast<unsigned>(state->height));
        release(state);
        return false;
    }

    png_bytep alpha = nullptr;
    png_color_16p key = nullptr;
    int keys = 0;
    const bool hasTransparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (hasTransparency) {
        png_get_tRNS(png, info, &alpha, &keys, &key);
    }
    if (state->colourType == PNG_COLOR_TYPE_PALETTE) {
        png_colorp palette = nullptr;
        if (png_get_PLTE(png, info, &palette, &state->paletteSize) == 0) {
            state->paletteSize = 0;
        }
        state->paletteSize = state->paletteSize > 256 ? 256 : state->paletteSize;
        std::memcpy(state->palette, palette, sizeof(png_color) * state->paletteSize);
        if (hasTransparency && alpha != nullptr) {
            state->transparencySize = keys > 256 ? 256 : keys;
            std::memcpy(state->transparency, alpha, state->transparencySize);
        }
        state->indexed = true;
        png_set_packing(png);
    } else if (state->colourType == PNG_COLOR_TYPE_GRAY && state->bitDepth <= 8) {
        if (hasTransparency && key != nullptr) {
            state->transparentGrey = true;
            state->greyKey = key->gray;
        }
        state->indexed = true;
        png_set_packing(png);
    } else {
        state->alphaSeen = hasTransparency || (state->colourType & PNG_COLOR_MASK_ALPHA) != 0;
        if (hasTransparency) {
            png_set_tRNS_to_alpha(png);
        }
        png_set_strip_16(png);
        if ((state->colourType & PNG_COLOR_MASK_COLOR) == 0) {
            png_set_gray_to_rgb(png);
        }
        if (!state->alphaSeen) {
            png_set_filler(png, 0xff, PNG_FILLER_AFTER);
        }
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    state->rowBytes = png_get_rowbytes(png, info);
    const size_t wanted = state->indexed ? state->width : size_t{state->width} * 4;
    if (state->rowBytes != wanted) {
        std::snprintf(state->message, sizeof state->message,
                      "the PNG's rows cannot be laid out (%zu bytes, not %zu)", state->rowBytes,
                      wanted);
        release(state);
        return false;
    }
    return true;
}

// Reads every row into image, rowBytes apart, and the trailer; releases the reader.
bool decodeRows(PngState *state, unsigned char *image) {
    png_structp png = state->png;
    state->rows = static_cast<png_bytep *>(std::malloc(sizeof(png_bytep) * state->height));
    if (state->rows == nullptr) {
        std::snprintf(state->message, sizeof state->message, "out of memory");
        release(state);
        return false;
    }
    for (png_uint_32 y = 0; y < state->height; y++) {
        state->rows[y] = image + y * state->rowBytes;
    }
    if (setjmp(png_jmpbuf(png))) {
        release(state);
        // An error in the chunks after the last row loses nothing of the picture.
        return state->pixelsRead;
    }
    png_read_image(png, state->rows);
    state->pixelsRead = true;
    png_read_end(png, nullptr);
    release(state);
    return true;
}

// Reads the rows one at a time into state->row, handing each to `row`, and the trailer;
// releases the reader.
bool decodeEachRow(PngState *state, const ColourRow *row) {
    png_structp png = state->png;
    state->row = static_cast<png_bytep>(std::malloc(state->rowBytes));
    if (state->row == nullptr) {
        std::snprintf(state->message, sizeof state->message, "out of memory");
        release(state);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        release(state);
        return state->pixelsRead;
    }
    for (png_uint_32 y = 0; y < state->height; y++) {
        png_read_row(png, state->row, nullptr);
        (*row)(reinterpret_cast<const Rgba8 *>(state->row), state->width);
    }
    state->pixelsRead = true;
    png_read_end(png, nullptr);
    release(state);
    return true;
}

// The picture a decoded header describes, without its pixels.
Picture describe(const PngState &state, std::vector<std::string> warnings) {
    Picture picture;
    if (state.pixelsRead && state.message[0] != '\0') {
        warnings.push_back(std::string("the PNG's end cannot be read (") + state.message +
                           "); its pixels are whole");
    }
    picture.source = Source::Png;
    picture.width = state.width;
    picture.height = state.height;
    picture.warnings = std::move(warnings);
    if (state.indexed) {
        picture.depth = static_cast<unsigned>(state.bitDepth);
        if (state.colourType == PNG_COLOR_TYPE_PALETTE) {
            for (int i = 0; i < state.paletteSize; i++) {
                picture.palette.push_back(
                    {state.palette[i].red, state.palette[i].green, state.palette[i].blue});
            }
            unsigned partly = 0;
            for (int i = 0; i < state.transparencySize; i++) {
                if (state.transparency[i] < 128) {
                    picture.transparentColours.push_back(static_cast<unsigned>(i));
                } else if (state.transparency[i] < 255) {
                    partly++;
                }
            }
            if (partly > 0) {
                picture.warnings.push_back(
                    std::to_string(partly) + " palette colour" + (partly == 1 ? " is" : "s are") +
                    " partly transparent (alpha 128 or more) and taken as opaque");
            }
        } else {
            picture.palette = greyLevels(1u << state.bitDepth);
            if (state.transparentGrey && state.greyKey < (1u << state.bitDepth)) {
                picture.transparentColours.push_back(state.greyKey);
            }
        }
        picture.twelveBitPalette = storesTwelveBit(picture.palette);
    } else {
        picture.mode = DisplayMode::TrueColour;
        picture.depth = state.alphaSeen ? 32 : 24;
    }
    return picture;
}

// The sentence for a failed read: the size checks say what is wrong themselves; libpng's
// messages need saying whose.
std::string failure(const PngState &state) {
    const std::string message = state.message;
    return message.rfind("the PNG", 0) == 0 ? message : "the PNG cannot be read: " + message;
}

struct ReleaseAll {
    PngState &state;
    ~ReleaseAll() {
        release(&state);
        std::free(state.rows);
        std::free(state.row);
    }
};

} // namespace

bool readPngRows(const std::vector<std::uint8_t> &bytes, std::FILE *file, Picture *header,
                 std::string *error, bool *whole, const ColourRow &row) {
    std::vector<std::string> warnings;
    PngState state;
    state.data = bytes.data();
    state.size = bytes.size();
    state.warnings = &warnings;
    if (file != nullptr) {
        state.file = file;
        if (std::fseek(file, 0, SEEK_END) != 0 || std::ftell(file) < 0) {
            *error = "the PNG cannot be read again from its file";
            return false;
        }
        state.size = static_cast<size_t>(std::ftell(file));
        std::rewind(file);
    }
    ReleaseAll releaseAll{state};
    *whole = false;
    if (!decodeHeader(&state)) {
        *error = failure(state);
        return false;
    }
    if (state.indexed || state.interlace != PNG_INTERLACE_NONE) {
        *whole = true;
        return false;
    }
    *header = describe(state, {});
    if (!decodeEachRow(&state, &row)) {
        *error = failure(state);
        return false;
    }
    header->warnings = describe(state, std::move(warnings)).warnings;
    return true;
}

bool isPng(const std::vector<std::uint8_t> &bytes) {
    return bytes.size() >= 8 && png_sig_cmp(bytes.data(), 0, 8) == 0;
}

std::optional<Picture> readPng(const std::vector<std::uint8_t> &bytes, std::string *error) {
    std::vector<std::string> warnings;
    PngState state;
    state.data = bytes.data();
    state.size = bytes.size();
    state.warnings = &warnings;
    ReleaseAll releaseAll{state};
    // The rows go straight into the picture's own pixels (a true-colour pixel is 4 bytes, as
    // an RGBA row's), so that reading takes little more memory than the picture it gives.
    std::vector<std::uint8_t> pixels;
    std::vector<Rgba8> trueColour;
    bool read = decodeHeader(&state);
    if (read) {
        const size_t count = size_t{state.width} * state.height;
        unsigned char *image = nullptr;
        if (state.indexed) {
            pixels.resize(count);
            image = pixels.data();
        } else {
            static_assert(sizeof(Rgba8) == 4);
            trueColour.resize(count);
            image = reinterpret_cast<unsigned char *>(trueColour.data());
        }
        read = decodeRows(&state, image);
    }
    if (!read) {
        *error = failure(state);
        return std::nullopt;
    }
    Picture picture = describe(state, std::move(warnings));
    picture.pixels = std::move(pixels);
    picture.trueColour = std::move(trueColour);
    return picture;
}

} // namespace picture::detail
