// Pictures made in memory for the tests of what is done with one (true colour, or colour numbers
// over a map) and for measuring colour reduction in tests and benchmarks, the same every run: a
// photograph-like one (value noise of six octaves in each gun, the guns partly following each
// other, and a little grain) and a drawing-like one (flat shapes with soft edges over a gradient,
// shaded spheres).
#pragma once

#include "picture/picture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

namespace madepictures {

inline picture::Picture trueColourPicture(unsigned width, unsigned height,
                                          std::vector<picture::Rgba8> pixels) {
    picture::Picture p;
    p.width = width;
    p.height = height;
    p.depth = 24;
    p.mode = picture::DisplayMode::TrueColour;
    p.trueColour = std::move(pixels);
    return p;
}

// A picture of colour numbers over a map, for the tests of what is done with one.
inline picture::Picture indexedPicture(unsigned width, std::vector<std::uint8_t> pixels,
                                       std::vector<amiga::Rgb8> palette,
                                       picture::DisplayMode mode = picture::DisplayMode::Indexed) {
    picture::Picture p;
    p.mode = mode;
    p.depth = 8;
    p.width = width;
    p.height = static_cast<unsigned>(pixels.size()) / width;
    p.pixels = std::move(pixels);
    p.palette = std::move(palette);
    return p;
}

inline std::uint8_t gun(double v) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

// Smooth noise in 0-1: random values on grids of 4, 8, ... cells across, blended smoothly.
class ValueNoise {
public:
    explicit ValueNoise(std::mt19937 &random) {
        for (auto &octave : grids_) {
            for (double &v : octave)
                v = static_cast<double>(random()) / 4294967296.0;
        }
    }
    double at(double x, double y) const { // x, y in 0-1
        double sum = 0, weight = 0, amplitude = 1;
        for (int o = 0; o < kOctaves; o++) {
            const int cells = 4 << o;
            const double fx = x * cells, fy = y * cells;
            const int ix = std::min(static_cast<int>(fx), cells - 1);
            const int iy = std::min(static_cast<int>(fy), cells - 1);
            const double tx = smooth(fx - ix), ty = smooth(fy - iy);
            auto v = [&](int gx, int gy) { return grids_[o][(gy % 129) * 129 + gx % 129]; };
            const double top = v(ix, iy) * (1 - tx) + v(ix + 1, iy) * tx;
            const double bottom = v(ix, iy + 1) * (1 - tx) + v(ix + 1, iy + 1) * tx;
            sum += amplitude * (top * (1 - ty) + bottom * ty);
            weight += amplitude;
            amplitude *= 0.55;
        }
        return sum / weight;
    }

private:
    static constexpr int kOctaves = 6;
    static double smooth(double t) { return t * t * (3 - 2 * t); }
    std::array<std::array<double, 129 * 129>, kOctaves> grids_{};
};

inline picture::Picture photoLike(unsigned width, unsigned height, unsigned seed) {
    std::mt19937 random(seed);
    const ValueNoise light(random), hue(random), other(random);
    // Grain: -4 to 4, evenly (the engine's numbers are the same everywhere; the library's
    // distributions are not).
    auto grain = [&random] { return static_cast<double>(random() % 801) / 100.0 - 4; };
    std::vector<picture::Rgba8> pixels;
    pixels.reserve(size_t{width} * height);
    for (unsigned y = 0; y < height; y++) {
        for (unsigned x = 0; x < width; x++) {
            const double u = (x + 0.5) / width, v = (y + 0.5) / height;
            // Lightness with a stretched contrast, a warm-cool shift and a third, weaker axis.
            const double l = std::clamp((light.at(u, v) - 0.5) * 2.6 + 0.5, 0.0, 1.0) * 235 + 10;
            const double h = (hue.at(u, v) - 0.5) * 220;
            const double o = (other.at(u, v) - 0.5) * 120;
            pixels.push_back({gun(l + h * 0.6 + o * 0.3 + grain()), gun(l + o * 0.5 + grain()),
                              gun(l - h * 0.7 + o * 0.2 + grain()), 255});
        }
    }
    return trueColourPicture(width, height, std::move(pixels));
}

inline picture::Picture drawingLike(unsigned width, unsigned height) {
    std::vector<picture::Rgba8> pixels;
    pixels.reserve(size_t{width} * height);
    struct Sphere {
        double x, y, r;
        std::array<double, 3> colour;
    };
    const Sphere spheres[] = {{0.3, 0.35, 0.2, {220, 40, 30}},
                              {0.68, 0.6, 0.25, {40, 90, 200}},
                              {0.35, 0.75, 0.12, {240, 200, 40}}};
    for (unsigned y = 0; y < height; y++) {
        for (unsigned x = 0; x < width; x++) {
            const double u = (x + 0.5) / width, v = (y + 0.5) / height;
            // A sky-like gradient, then flat stripes, then the spheres, each edge a pixel soft.
            std::array<double, 3> c = {90 + 120 * v, 140 + 80 * v, 230 - 30 * v};
            if (v > 0.85) {
                c = (static_cast<int>(u * 12) % 2) ? std::array<double, 3>{60, 120, 50}
                                                   : std::array<double, 3>{80, 150, 60};
            }
            for (const Sphere &s : spheres) {
                const double dx = u - s.x, dy = v - s.y;
                const double d = std::sqrt(dx * dx + dy * dy);
                const double cover = std::clamp((s.r - d) * width, 0.0, 1.0);
                if (cover > 0) {
                    // Lit from the upper left: a diffuse term and a highlight.
                    const double nz = std::sqrt(std::max(0.0, 1 - (d / s.r) * (d / s.r)));
                    const double lit =
                        std::max(0.0, (-dx / s.r * 0.5 - dy / s.r * 0.5 + nz * 0.7)) * 0.85 + 0.15;
                    const double shine = std::pow(std::max(0.0, lit - 0.75) * 4, 3) * 180;
                    for (int g = 0; g < 3; g++)
                        c[g] = c[g] * (1 - cover) + (s.colour[g] * lit + shine) * cover;
                }
            }
            pixels.push_back({gun(c[0]), gun(c[1]), gun(c[2]), 255});
        }
    }
    return trueColourPicture(width, height, std::move(pixels));
}

} // namespace madepictures
