#include "etc1_reference/BlockSamples.h"

namespace Etc1Reference {
namespace {

using Reference::BlockGenerator;
using Reference::BlockPattern;

void SetPixel(RgbBlock& block, int32_t x, int32_t y, const int32_t colour[3]) {
    for (int32_t channel = 0; channel < 3; ++channel) {
        int32_t value = colour[channel];
        block[3 * (4 * y + x) + channel] = static_cast<uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
    }
}

void RandomColour(BlockGenerator& generator, int32_t colour[3]) {
    for (int32_t channel = 0; channel < 3; ++channel) colour[channel] = generator.Uniform(0, 255);
}

RgbBlock ThreeColours(BlockGenerator& generator) {
    int32_t palette[3][3];
    for (auto& colour : palette) RandomColour(generator, colour);
    RgbBlock block{};
    for (int32_t pixel = 0; pixel < 16; ++pixel) SetPixel(block, pixel % 4, pixel / 4, palette[generator.Uniform(0, 2)]);
    return block;
}

RgbBlock SplitHalves(BlockGenerator& generator) {
    int32_t first[3], second[3];
    RandomColour(generator, first);
    for (int32_t channel = 0; channel < 3; ++channel) {
        int32_t steps = generator.Uniform(-10, 9);
        second[channel] = first[channel] + steps * 255 / 31 + generator.Uniform(-4, 4);
    }
    bool sideBySide = generator.Uniform(0, 1) == 0;
    RgbBlock block{};
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 4; ++x) SetPixel(block, x, y, (sideBySide ? x : y) < 2 ? first : second);
    }
    return block;
}

// Pixel (x, y) equals pixel (y, x): the tall and the wide halves hold the same pixels.
RgbBlock MirroredAcrossDiagonal(BlockGenerator& generator) {
    RgbBlock block = generator.Next(generator.Uniform(0, 1) == 0 ? BlockPattern::Noise : BlockPattern::TwoColours);
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < y; ++x) {
            for (int32_t channel = 0; channel < 3; ++channel) {
                block[3 * (4 * y + x) + channel] = block[3 * (4 * x + y) + channel];
            }
        }
    }
    return block;
}

// One channel pinned at 0 or 255, where the modifiers clamp.
RgbBlock PinnedChannel(BlockGenerator& generator) {
    RgbBlock block = generator.Next(BlockPattern::Noise);
    int32_t channel = generator.Uniform(0, 2);
    auto value = static_cast<uint8_t>(generator.Uniform(0, 1) == 0 ? 0 : 255);
    for (int32_t pixel = 0; pixel < 16; ++pixel) block[3 * pixel + channel] = value;
    return block;
}

constexpr int32_t kSharedPatterns = static_cast<int32_t>(BlockPattern::Count);
constexpr int32_t kKinds = kSharedPatterns + 4;

RgbBlock NextBlock(BlockGenerator& generator, int32_t kind) {
    if (kind < kSharedPatterns) return generator.Next(static_cast<BlockPattern>(kind));
    switch (kind - kSharedPatterns) {
        case 0: return ThreeColours(generator);
        case 1: return SplitHalves(generator);
        case 2: return MirroredAcrossDiagonal(generator);
        default: return PinnedChannel(generator);
    }
}

}  // namespace

std::vector<RgbBlock> VariedBlocks(int32_t count, uint32_t seed) {
    BlockGenerator generator(seed);
    std::vector<RgbBlock> blocks;
    blocks.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) blocks.push_back(NextBlock(generator, i % kKinds));
    return blocks;
}

}  // namespace Etc1Reference
