// The Fast methods, their candidate builders, quantisers and error measures:
// known blocks and values.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "etc1/ETC1FastCandidates.h"
#include "etc1/ETC1FastMethods.h"
#include "etc1/ETC1FastQuantizers.h"
#include "image/ETC1BlockFormat.h"
#include "platform/ProcessorFeatures.h"
#include "reference/BlockPatterns.h"

using namespace ETC1Encoder;

namespace {

using Reference::RgbBlock;

struct Words {
    uint32_t high = 0;
    uint32_t low = 0;
    bool operator==(const Words&) const = default;
};

void PrintTo(const Words& w, std::ostream* os) { *os << std::hex << "high 0x" << w.high << " low 0x" << w.low; }

using Compressor = void (*)(const uint8_t*, uint8_t*, uint32_t&, uint32_t&);
using Builder = void (*)(const uint8_t*, uint32_t&, uint32_t&);

Words Compress(Compressor compressor, const RgbBlock& block) {
    uint8_t scratch[48];
    Words words;
    compressor(block.data(), scratch, words.high, words.low);
    return words;
}

Words Build(Builder builder, const RgbBlock& block) {
    Words words;
    builder(block.data(), words.high, words.low);
    return words;
}

// Pixel (x, y) gets left colour for x < 2, right colour otherwise (grey values).
RgbBlock SplitBlock(int32_t left, int32_t right) {
    RgbBlock block{};
    for (int32_t p = 0; p < 16; ++p) {
        for (int32_t c = 0; c < 3; ++c) block[3 * p + c] = static_cast<uint8_t>(p % 4 < 2 ? left : right);
    }
    return block;
}

RgbBlock Decoded(const Words& words) {
    RgbBlock pixels{};
    ImageLib::DecodeETC1Block(words.high, words.low, pixels.data());
    return pixels;
}

struct MethodCase {
    const char* name;
    Compressor compressor;
};

void PrintTo(const MethodCase& c, std::ostream* os) { *os << c.name; }


class BothFastMethods : public testing::TestWithParam<MethodCase> {};

TEST_P(BothFastMethods, CodeBlackAsDiffBitAndIndexThree) {
    EXPECT_EQ(Compress(GetParam().compressor, SplitBlock(0, 0)), (Words{0x00000002u, 0xFFFFFFFFu}));
}

TEST_P(BothFastMethods, CodeWhiteAsLevel31WithIndexZero) {
    EXPECT_EQ(Compress(GetParam().compressor, SplitBlock(255, 255)), (Words{0xF8F8F802u, 0x00000000u}));
}

TEST_P(BothFastMethods, CodeUniformBlocksSideBySideWithoutDifferences) {
    Reference::BlockGenerator random(5);
    for (int32_t n = 0; n < 200; ++n) {
        Words words = Compress(GetParam().compressor, random.Next(Reference::BlockPattern::Flat));
        EXPECT_EQ(words.high & 0x03070703u, 0x00000002u) << std::hex << words.high;  // no flip, diff, dR = dG = dB = 0
    }
}

// 100 on the left and 200 on the right: individual levels 6 and 12, codewords 0
// and 1, index 2 everywhere; decodes to 100 and 199.
TEST_P(BothFastMethods, CodeTheHundredTwoHundredSplit) {
    Words words = Compress(GetParam().compressor, SplitBlock(100, 200));
    EXPECT_EQ(words, (Words{0x6C6C6C04u, 0xFFFF0000u}));
    EXPECT_EQ(Decoded(words), SplitBlock(100, 199));
}

INSTANTIATE_TEST_SUITE_P(Methods, BothFastMethods,
                         testing::Values(MethodCase{"Fast", CompressBlockFast},
                                         MethodCase{"FastPerceptual", CompressBlockFastPerceptual}),
                         [](const testing::TestParamInfo<MethodCase>& info) { return info.param.name; });

// The perceptual hue candidate of the split: levels 5 and 11, codewords 1 and 3,
// index 1 on the left and 0 on the right; it decodes to 102 and 200 and loses.
TEST(FastCandidates, PerceptualHueCandidateOfTheSplitLoses) {
    RgbBlock block = SplitBlock(100, 200);
    Words hue = Build(CompressBlockFastHuePerceptual, block);
    EXPECT_EQ(hue, (Words{0x5B5B5B2Cu, 0x000000FFu}));
    EXPECT_EQ(Decoded(hue), SplitBlock(102, 200));
    EXPECT_DOUBLE_EQ(BlockErrorPerceptual(block.data(), Decoded(hue).data()), 32.0);
    Words rounded = Build(CompressBlockFastRoundedPerceptual, block);
    EXPECT_DOUBLE_EQ(BlockErrorPerceptual(block.data(), Decoded(rounded).data()), 8.0);
    EXPECT_EQ(BlockErrorRGB(block.data(), Decoded(rounded).data()), 24.0);
}

// Side-by-side splits of two 4-bit greys 17i | 17j: the mode follows the 5-bit
// level difference d (differential for -4..3), and individual colours are the
// 4-bit levels of the averages (i and j), not derived from the 5-bit levels.
TEST(FastCandidates, DifferentialModeOnlyForDifferencesFromMinusFourToThree) {
    std::array<int32_t, 64> seen{};  // non-flipped results by d + 32
    for (int32_t i = 0; i < 16; ++i) {
        for (int32_t j = 0; j < 16; ++j) {
            Words words = Build(CompressBlockFastRounded, SplitBlock(17 * i, 17 * j));
            if ((words.high & 1u) != 0) continue;
            const float left[3] = {17.0f * i, 17.0f * i, 17.0f * i};
            const float right[3] = {17.0f * j, 17.0f * j, 17.0f * j};
            int32_t d = QuantizeRounded555(right)[0] - QuantizeRounded555(left)[0];
            ++seen[d + 32];
            EXPECT_EQ((words.high & 2u) != 0, d >= -4 && d <= 3) << i << " " << j;
            if (d < -4 || d > 3) {
                EXPECT_EQ(words.high >> 24, static_cast<uint32_t>(i << 4 | j)) << i << " " << j;
            }
        }
    }
    for (int32_t d : {-5, -4, 3, 4}) EXPECT_GT(seen[d + 32], 0) << d;
}

struct QuantizerCase {
    const char* name;
    QuantizedColor (*quantize)(const float*);
    float average;
    int32_t level;
};

void PrintTo(const QuantizerCase& c, std::ostream* os) { *os << c.name; }


class Quantizers : public testing::TestWithParam<QuantizerCase> {};

TEST_P(Quantizers, GiveTheKnownLevel) {
    const float average[3] = {GetParam().average, GetParam().average, GetParam().average};
    const int32_t level = GetParam().level;
    EXPECT_EQ(GetParam().quantize(average), (QuantizedColor{level, level, level}));
}

INSTANTIATE_TEST_SUITE_P(KnownValues, Quantizers,
                         testing::Values(QuantizerCase{"Rounded555Of100", QuantizeRounded555, 100.0f, 12},
                                         QuantizerCase{"Rounded444Of100", QuantizeRounded444, 100.0f, 6},
                                         QuantizerCase{"Hue555Of100", QuantizeHue555, 100.0f, 12},
                                         // All-low (85) is 3 x 15^2 = 675 > 192 away, so all-high.
                                         QuantizerCase{"Hue444Of100", QuantizeHue444, 100.0f, 6},
                                         QuantizerCase{"Hue444PerceptualOf100", QuantizeHue444Perceptual, 100.0f, 5},
                                         QuantizerCase{"Hue555PerceptualOf100", QuantizeHue555Perceptual, 100.0f, 12},
                                         QuantizerCase{"Hue555Of255", QuantizeHue555, 255.0f, 31},
                                         QuantizerCase{"Hue444Of255", QuantizeHue444, 255.0f, 15},
                                         QuantizerCase{"Hue444PerceptualOf255", QuantizeHue444Perceptual, 255.0f, 15},
                                         QuantizerCase{"Hue555Of0", QuantizeHue555, 0.0f, 0},
                                         QuantizerCase{"Hue444Of0", QuantizeHue444, 0.0f, 0},
                                         // 8.5 / 17 + 0.5 lands exactly on 1.0 before the epsilon; 8.49 stays below.
                                         QuantizerCase{"Rounded444HalfStep", QuantizeRounded444, 8.5f, 1},
                                         QuantizerCase{"Rounded444BelowHalfStep", QuantizeRounded444, 8.49f, 0}),
                         [](const testing::TestParamInfo<QuantizerCase>& info) { return info.param.name; });

// Channels that want different directions: the hue quantiser keeps the channel
// errors equal rather than rounding each channel on its own.
TEST(FastQuantizers, HueKeepsChannelErrorsAlike) {
    // 5-bit levels 12 (99) and 13 (107): 103 rounds up alone, the hue quantiser
    // keeps all three channels on 12, one step below each.
    const float average[3] = {100.0f, 100.0f, 103.0f};
    EXPECT_EQ(QuantizeRounded555(average), (QuantizedColor{12, 12, 13}));
    EXPECT_EQ(QuantizeHue555(average), (QuantizedColor{12, 12, 12}));
}

// Averages of eighths (as half averages are) and arbitrary floats, anywhere in
// the range and at the levels' edges.
TEST(FastQuantizers, VectorisedHueQuantisersMatchThePortableOnes) {
    if (!Platform::ProcessorHasAvx2()) GTEST_SKIP() << "no AVX2 on this processor";
    Reference::BlockGenerator random(17);
    for (const HueQuantizer* q : {&kHue555, &kHue444, &kHue555Perceptual, &kHue444Perceptual}) {
        for (int32_t n = 0; n < 300000; ++n) {
            float average[3];
            for (float& channel : average) {
                channel = n % 4 == 0 ? static_cast<float>(random.Uniform(0, 255000) / 1000.0)
                                     : static_cast<float>(random.Uniform(0, 2040) * 0.125);
            }
            ASSERT_EQ(QuantizeHueAvx2(average, *q), QuantizeHuePortable(average, *q))
                << average[0] << " " << average[1] << " " << average[2];
        }
    }
}

// The quantisers of half sums look everything up by sum: each gives the levels
// the quantiser of the sums' averages gives, one half at a time or the four
// halves of a block together, portable or vectorised, for sums anywhere in the
// range and at its ends.
TEST(FastQuantizers, QuantisersOfSumsMatchThoseOfTheAverages) {
    using OfSums = PackedColour (*)(const int32_t*, const HueQuantizer&);
    using OfHalves = void (*)(const int32_t[kBlockHalves][3], const HueQuantizer&, PackedColour[kBlockHalves]);
    std::vector<OfSums> single = {QuantizeHueOfSumsPortable};
    std::vector<OfHalves> together = {QuantizeHalvesHuePortable};
    if (Platform::ProcessorHasAvx2()) {
        single.push_back(QuantizeHueOfSumsAvx2);
        together.push_back(QuantizeHalvesHueAvx2);
    }
    Reference::BlockGenerator random(18);
    for (const HueQuantizer* q : {&kHue555, &kHue444, &kHue555Perceptual, &kHue444Perceptual}) {
        for (int32_t n = 0; n < 50000; ++n) {
            int32_t sums[kBlockHalves][3];
            PackedColour expected[kBlockHalves];
            for (int32_t half = 0; half < kBlockHalves; ++half) {
                for (int32_t& sum : sums[half]) {
                    sum = n % 8 == 0 ? kLargestHalfSum * random.Uniform(0, 1) : random.Uniform(0, kLargestHalfSum);
                }
                const float average[3] = {AverageOfHalfSum(sums[half][0]), AverageOfHalfSum(sums[half][1]),
                                          AverageOfHalfSum(sums[half][2])};
                const QuantizedColor levels = QuantizeHuePortable(average, *q);
                expected[half] = static_cast<PackedColour>(levels[0] << 16 | levels[1] << 8 | levels[2]);
                for (OfSums kernel : single) {
                    ASSERT_EQ(kernel(sums[half], *q), expected[half])
                        << sums[half][0] << " " << sums[half][1] << " " << sums[half][2];
                }
            }
            for (OfHalves kernel : together) {
                PackedColour levels[kBlockHalves];
                kernel(sums, *q, levels);
                for (int32_t half = 0; half < kBlockHalves; ++half) ASSERT_EQ(levels[half], expected[half]) << half;
            }
        }
    }
}

// The rounding rule's table of every half sum, worked out by the compiler, holds
// what the rule gives for the sum's average when the program runs.
TEST(FastQuantizers, RoundedLevelsOfEverySumMatchTheRule) {
    for (int32_t sum = 0; sum <= kLargestHalfSum; ++sum) {
        const int32_t sums[3] = {sum, 0, kLargestHalfSum - sum};
        const float average[3] = {AverageOfHalfSum(sums[0]), AverageOfHalfSum(sums[1]), AverageOfHalfSum(sums[2])};
        const QuantizedColor five = QuantizeRounded555(average);
        const QuantizedColor four = QuantizeRounded444(average);
        ASSERT_EQ(QuantizeRounded555OfSums(sums), static_cast<PackedColour>(five[0] << 16 | five[1] << 8 | five[2]))
            << sum;
        ASSERT_EQ(QuantizeRounded444OfSums(sums), static_cast<PackedColour>(four[0] << 16 | four[1] << 8 | four[2]))
            << sum;
    }
}

TEST(BlockError, KnownValues) {
    RgbBlock black = SplitBlock(0, 0);
    RgbBlock white = SplitBlock(255, 255);
    EXPECT_EQ(BlockErrorRGB(black.data(), black.data()), 0.0);
    EXPECT_EQ(BlockErrorRGB(black.data(), white.data()), 3121200.0);
    EXPECT_EQ(BlockErrorPerceptual(white.data(), white.data()), 0.0);
    RgbBlock single = black;
    single[3 * 5 + 0] = 10;  // one pixel: dR = -10, dG = 0, dB = 0 from the decoded side
    single[3 * 5 + 2] = 20;
    EXPECT_EQ(BlockErrorRGB(single.data(), black.data()), 500.0);
    EXPECT_EQ(BlockErrorPerceptual(single.data(), black.data()), 100.0 * 0.299 + 400.0 * 0.114);
}

}  // namespace
