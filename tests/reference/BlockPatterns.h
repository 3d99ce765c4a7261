// Random 4x4 RGB blocks of the kinds that matter to a block encoder: noise,
// flat colour, gradients, two colours, near-black and near-white, and photo-like
// blocks (a colour with small noise). Header only, for the tests and the benchmarks.
#pragma once

#include <array>
#include <cstdint>
#include <random>

namespace Reference {

using RgbBlock = std::array<uint8_t, 48>;

enum class BlockPattern { Noise, Flat, Gradient, TwoColours, NearBlack, NearWhite, PhotoLike, Count };

class BlockGenerator {
public:
    explicit BlockGenerator(uint32_t seed) : random_(seed) {}

    int32_t Uniform(int32_t low, int32_t high) { return std::uniform_int_distribution<int32_t>(low, high)(random_); }

    RgbBlock Next(BlockPattern pattern) {
        RgbBlock block{};
        switch (pattern) {
            case BlockPattern::Noise:
                return Fill([this](int32_t, int32_t, int32_t) { return Uniform(0, 255); });
            case BlockPattern::Flat: {
                std::array<int32_t, 3> colour = RandomColour(0, 255);
                return Fill([&](int32_t, int32_t, int32_t c) { return colour[c]; });
            }
            case BlockPattern::Gradient: {
                std::array<int32_t, 3> start = RandomColour(0, 255);
                std::array<int32_t, 3> stepX = RandomColour(-20, 20);
                std::array<int32_t, 3> stepY = RandomColour(-20, 20);
                return Fill([&](int32_t x, int32_t y, int32_t c) { return start[c] + x * stepX[c] + y * stepY[c]; });
            }
            case BlockPattern::TwoColours: {
                std::array<int32_t, 3> first = RandomColour(0, 255);
                std::array<int32_t, 3> second = RandomColour(0, 255);
                uint32_t mask = static_cast<uint32_t>(Uniform(0, 0xFFFF));
                return Fill([&](int32_t x, int32_t y, int32_t c) {
                    return ((mask >> (4 * y + x)) & 1u) != 0 ? first[c] : second[c];
                });
            }
            case BlockPattern::NearBlack:
                return Fill([this](int32_t, int32_t, int32_t) { return Uniform(0, 12); });
            case BlockPattern::NearWhite:
                return Fill([this](int32_t, int32_t, int32_t) { return Uniform(243, 255); });
            case BlockPattern::PhotoLike: {
                std::array<int32_t, 3> colour = RandomColour(0, 255);
                return Fill([&](int32_t, int32_t, int32_t c) { return colour[c] + Uniform(-6, 6); });
            }
            case BlockPattern::Count:
                break;
        }
        return block;
    }

    RgbBlock NextOfAnyPattern() {
        return Next(static_cast<BlockPattern>(Uniform(0, static_cast<int32_t>(BlockPattern::Count) - 1)));
    }

private:
    std::array<int32_t, 3> RandomColour(int32_t low, int32_t high) {
        return {Uniform(low, high), Uniform(low, high), Uniform(low, high)};
    }

    // Pixel (x, y) channel c from `value`, clamped to 0..255.
    template <typename ValueFunc>
    RgbBlock Fill(ValueFunc value) {
        RgbBlock block{};
        for (int32_t y = 0; y < 4; ++y) {
            for (int32_t x = 0; x < 4; ++x) {
                for (int32_t c = 0; c < 3; ++c) {
                    int32_t v = value(x, y, c);
                    block[3 * (4 * y + x) + c] = static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
                }
            }
        }
        return block;
    }

    std::mt19937 random_;
};

}  // namespace Reference
