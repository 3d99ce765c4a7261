// The encoder's own ETC1 block decoder and the half averages: known blocks.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "etc1/ETC1HalfBlock.h"
#include "image/ETC1BlockFormat.h"
#include "platform/ProcessorFeatures.h"
#include "reference/BlockPatterns.h"

using namespace ETC1Encoder;

namespace {

using Pixels = std::array<uint8_t, 48>;

Pixels Decode(uint32_t high, uint32_t low) {
    Pixels pixels;
    pixels.fill(0xAB);
    ImageLib::DecodeETC1Block(high, low, pixels.data());
    return pixels;
}

struct UniformDecodeCase {
    const char* name;
    uint32_t high;
    uint32_t low;
    uint8_t every;  // the value of all 48 bytes
};

void PrintTo(const UniformDecodeCase& c, std::ostream* os) { *os << c.name; }


class UniformDecode : public testing::TestWithParam<UniformDecodeCase> {};

TEST_P(UniformDecode, FillsEveryByte) {
    Pixels pixels = Decode(GetParam().high, GetParam().low);
    for (uint8_t value : pixels) ASSERT_EQ(value, GetParam().every);
}

INSTANTIATE_TEST_SUITE_P(KnownBlocks, UniformDecode,
                         testing::Values(
                             // Differential, colours 0, codewords 0, every index 0 (+2).
                             UniformDecodeCase{"DiffBlackPlusA", 0x00000002u, 0x00000000u, 2},
                             // Every index 3 (-8) clamps to 0.
                             UniformDecodeCase{"DiffBlackMinusB", 0x00000002u, 0xFFFFFFFFu, 0},
                             // Individual, colours 0, every index 1 (+8).
                             UniformDecodeCase{"IndividualBlackPlusB", 0x00000000u, 0x0000FFFFu, 8},
                             // Individual, all 4-bit colours 15 (255) plus 2 clamps to 255.
                             UniformDecodeCase{"IndividualWhiteClamps", 0xFFFFFF00u, 0x00000000u, 255},
                             // Differential 5-bit 31 everywhere with zero differences: 255 + 2 clamps.
                             UniformDecodeCase{"DiffWhite", 0xF8F8F802u, 0x00000000u, 255},
                             // Codeword 7 for both halves (bits 7..5 and 4..2), index 2 (-47) from 17 x 6 = 102.
                             UniformDecodeCase{"Codeword7MinusA", 0x666666FCu, 0xFFFF0000u, 55}),
                         [](const testing::TestParamInfo<UniformDecodeCase>& info) { return info.param.name; });

// Individual mode: sub-block 1 black, sub-block 2 white (R2 = G2 = B2 = 15), index 0 (+2).
TEST(DecodeETC1Block, FlipBitChoosesColumnsOrRows) {
    const uint32_t high = 0x0F0F0F00u;
    Pixels columns = Decode(high, 0);
    Pixels rows = Decode(high | 1u, 0);
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 4; ++x) {
            for (int32_t c = 0; c < 3; ++c) {
                EXPECT_EQ(columns[3 * (4 * y + x) + c], x >= 2 ? 255 : 2) << x << "," << y;
                EXPECT_EQ(rows[3 * (4 * y + x) + c], y >= 2 ? 255 : 2) << x << "," << y;
            }
        }
    }
}

// Pixel (x, y) reads bit 4x + y of each plane whatever the flip bit says.
TEST(DecodeETC1Block, IndexBitsLieColumnByColumn) {
    const uint32_t grey = 0x66666600u;  // individual, all colours 6 (102), codewords 0
    for (uint32_t flip : {0u, 1u}) {
        for (int32_t bit = 0; bit < 16; ++bit) {
            Pixels msbOnly = Decode(grey | flip, 1u << (16 + bit));  // index 2: -2
            Pixels lsbOnly = Decode(grey | flip, 1u << bit);         // index 1: +8
            for (int32_t p = 0; p < 16; ++p) {
                int32_t x = p % 4;
                int32_t y = p / 4;
                bool marked = 4 * x + y == bit;
                EXPECT_EQ(msbOnly[3 * p], marked ? 100 : 104);
                EXPECT_EQ(lsbOnly[3 * p], marked ? 110 : 104);
            }
        }
    }
}

// Differential: R1 = 10 with dR = -4 gives 6 (49), G1 = 0 with dG = 3 gives 3 (24),
// B1 = 31 with dB = 0 gives 31 (255); codewords 0, every index 0 (+2).
TEST(DecodeETC1Block, DifferentialSecondColourAddsTheSignedDifference) {
    const uint32_t high = (10u << 27) | (4u << 24) | (0u << 19) | (3u << 16) | (31u << 11) | (0u << 8) | 2u;
    Pixels pixels = Decode(high, 0);
    const uint8_t left[3] = {84, 2, 255};    // 10 -> 82, 0 -> 0, 31 -> 255; plus 2, clamped
    const uint8_t right[3] = {51, 26, 255};  // 6 -> 49, 3 -> 24
    for (int32_t p = 0; p < 16; ++p) {
        for (int32_t c = 0; c < 3; ++c) EXPECT_EQ(pixels[3 * p + c], p % 4 >= 2 ? right[c] : left[c]);
    }
}

// Sums outside 0..31 never come from the encoder; they are clamped.
TEST(DecodeETC1Block, DifferentialSumsOutsideTheRangeAreClamped) {
    const uint32_t high = (0u << 27) | (7u << 24) | (31u << 19) | (1u << 16) | 2u;  // R 0 - 1, G 31 + 1
    Pixels pixels = Decode(high, 0xFFFF0000u);                                      // index 2: -2
    EXPECT_EQ(pixels[3 * 2 + 0], 0);
    EXPECT_EQ(pixels[3 * 2 + 1], 253);
}

// Any 64 bits, invalid differential sums included.
TEST(DecodeETC1Block, VectorisedDecoderMatchesThePortableOne) {
    if (!Platform::ProcessorHasAvx2()) GTEST_SKIP() << "no AVX2 on this processor";
    Reference::BlockGenerator random(8);
    auto word = [&random] {
        return static_cast<uint32_t>(random.Uniform(0, 0xFFFF)) << 16 |
               static_cast<uint32_t>(random.Uniform(0, 0xFFFF));
    };
    for (int32_t n = 0; n < 1000000; ++n) {
        uint32_t high = word();
        uint32_t low = word();
        Pixels portable;
        Pixels vectorised;
        ImageLib::ETC1Format::DecodeBlockPortable(high, low, portable.data());
        ImageLib::ETC1Format::DecodeBlockAvx2(high, low, vectorised.data());
        ASSERT_EQ(vectorised, portable) << std::hex << high << " " << low;
    }
}

TEST(HalfAverage, OfTheGatheredHalf) {
    Pixels block{};
    for (int32_t p = 0; p < 16; ++p) {
        block[3 * p + 0] = static_cast<uint8_t>(p);                     // R: the pixel number
        block[3 * p + 1] = static_cast<uint8_t>(10 * (p % 4));          // G: 10 x column
        block[3 * p + 2] = static_cast<uint8_t>(p / 4 == 3 ? 255 : 0);  // B: row 3 white
    }
    float average[3];
    HalfAverage(GatherHalf(block.data(), HalfShape::Tall, 2), average);  // pixels 2, 3, 6, 7, 10, 11, 14, 15
    EXPECT_EQ(average[0], 8.5f);
    EXPECT_EQ(average[1], 25.0f);
    EXPECT_EQ(average[2], 63.75f);
    HalfAverage(GatherHalf(block.data(), HalfShape::Wide, 2), average);  // pixels 8 to 15
    EXPECT_EQ(average[0], 11.5f);
    EXPECT_EQ(average[1], 15.0f);
    EXPECT_EQ(average[2], 127.5f);
    HalfAverage(GatherHalf(block.data(), HalfShape::Tall, 0), average);  // pixels 0, 1, 4, 5, 8, 9, 12, 13
    EXPECT_EQ(average[0], 6.5f);
    EXPECT_EQ(average[1], 5.0f);
    HalfAverage(GatherHalf(block.data(), HalfShape::Wide, 0), average);
    EXPECT_EQ(average[0], 3.5f);
    EXPECT_EQ(average[2], 0.0f);
}

}  // namespace
