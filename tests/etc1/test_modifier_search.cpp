// The modifier searches: known answers for ties, clamps, bounds and units, and
// agreement of every implementation with the step-by-step reference.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>

#include "SearchComparison.h"
#include "etc1/ETC1ModifierSearch.h"
#include "reference/BlockPatterns.h"

using namespace ETC1Encoder;

using Reference::RgbBlock;
using SearchComparison::Outcome;

namespace {

RgbBlock UniformBlock(int32_t r, int32_t g, int32_t b) {
    RgbBlock block{};
    for (int32_t i = 0; i < 16; ++i) {
        block[3 * i + 0] = static_cast<uint8_t>(r);
        block[3 * i + 1] = static_cast<uint8_t>(g);
        block[3 * i + 2] = static_cast<uint8_t>(b);
    }
    return block;
}

struct UniformCase {
    const char* name;
    int32_t pixel;  // every channel of every pixel
    int32_t base;   // every channel of the base colour
    int32_t error;  // plain error of a half
    uint32_t msb;   // tall-half planes; a wide half has the same bit in its 8 places
    uint32_t lsb;
};

void PrintTo(const UniformCase& c, std::ostream* os) { *os << c.name; }


class UniformHalf : public testing::TestWithParam<UniformCase> {};

// Row 0 wins every case; the slot follows from the clamps and the tie rule.
TEST_P(UniformHalf, GivesRowZeroWithTheExpectedIndex) {
    const UniformCase& c = GetParam();
    RgbBlock block = UniformBlock(c.pixel, c.pixel, c.pixel);
    const uint8_t base[3] = {uint8_t(c.base), uint8_t(c.base), uint8_t(c.base)};
    const uint32_t wideMsb = c.msb != 0 ? 0x3333u : 0u;
    const uint32_t wideLsb = c.lsb != 0 ? 0x3333u : 0u;
    for (int32_t first : {0, 2}) {
        EXPECT_EQ(SearchComparison::CompareTall(block.data(), first, base, 3121200),
                  (Outcome{c.error, 0, c.msb, c.lsb}));
        EXPECT_EQ(SearchComparison::CompareWide(block.data(), first, base, 3121200),
                  (Outcome{c.error, 0, wideMsb, wideLsb}));
        const int64_t perceptual = c.error / 3;  // grey: 3 d^2 plain is 1000 d^2 internal per pixel
        EXPECT_EQ(SearchComparison::CompareTallPerceptual(block.data(), first, base, 1560600u),
                  (Outcome{perceptual, 0, c.msb, c.lsb}));
        EXPECT_EQ(SearchComparison::CompareWidePerceptual(block.data(), first, base, 1560600.0),
                  (Outcome{perceptual, 0, wideMsb, wideLsb}));
    }
}

INSTANTIATE_TEST_SUITE_P(KnownAnswers, UniformHalf,
                         testing::Values(
                             // -8 and -2 both clamp to 0: equal errors go to slot 0, index 3.
                             UniformCase{"BlackOnBlack", 0, 0, 0, 0xFF, 0xFF},
                             // Exactly -a: slot 1, index 2.
                             UniformCase{"BaseMinusTwo", 98, 100, 0, 0xFF, 0x00},
                             // Halfway between -a and +a: the lower slot, index 2 (error 3 x 2^2 per pixel).
                             UniformCase{"TieGoesToLowerSlot", 100, 100, 96, 0xFF, 0x00},
                             // 250 + 8 clamps to 255: slot 3, index 1.
                             UniformCase{"ClampAbove", 255, 250, 0, 0x00, 0xFF},
                             // 3 - 8 clamps to 0: slot 0, index 3.
                             UniformCase{"ClampBelow", 0, 3, 0, 0xFF, 0xFF}),
                         [](const testing::TestParamInfo<UniformCase>& info) { return info.param.name; });

TEST(ModifierSearch, BoundZeroKeepsEveryOutput) {
    RgbBlock block = UniformBlock(0, 0, 0);
    const uint8_t base[3] = {0, 0, 0};
    const Outcome untouched{0, Outcome{}.row, Outcome{}.msb, Outcome{}.lsb};
    EXPECT_EQ(SearchComparison::CompareTall(block.data(), 0, base, 0), untouched);
    EXPECT_EQ(SearchComparison::CompareWide(block.data(), 2, base, 0), untouched);
    EXPECT_EQ(SearchComparison::CompareTallPerceptual(block.data(), 2, base, 0u), untouched);
    EXPECT_EQ(SearchComparison::CompareWidePerceptual(block.data(), 0, base, 0.0), untouched);
}

// Black pixels against a white base: the worst error there is still lies below the bounds.
TEST(ModifierSearch, TheLargeBoundsAlwaysWriteTheOutputs) {
    RgbBlock block = UniformBlock(0, 0, 0);
    const uint8_t base[3] = {255, 255, 255};
    // Row 7 slot 0 gives 72: 8 pixels x 3 x 72^2, index 3.
    EXPECT_EQ(SearchComparison::CompareTall(block.data(), 0, base, 3121200), (Outcome{124416, 7, 0xFF, 0xFF}));
    EXPECT_EQ(SearchComparison::CompareWide(block.data(), 0, base, 1560600), (Outcome{124416, 7, 0x3333, 0x3333}));
    EXPECT_EQ(SearchComparison::CompareTallPerceptual(block.data(), 0, base, 1560600u),
              (Outcome{41472, 7, 0xFF, 0xFF}));
    EXPECT_EQ(SearchComparison::CompareWidePerceptual(block.data(), 0, base, 1560600.0),
              (Outcome{41472, 7, 0x3333, 0x3333}));
}

// Three pixels one step of green away from base + 2 and five exactly on it:
// row 0, slot 2 (index 0) for all, internal sum 3 x 587 = 1761, truncated to 1.
TEST(ModifierSearch, PerceptualErrorsAreTruncatedThousandths) {
    RgbBlock block = UniformBlock(102, 102, 102);
    for (int32_t pixel : {0, 1, 2}) block[3 * (4 * pixel) + 1] = 103;  // column 0, rows 0..2
    const uint8_t base[3] = {100, 100, 100};
    EXPECT_EQ(SearchComparison::CompareTallPerceptual(block.data(), 0, base, 1560600u), (Outcome{1, 0, 0, 0}));
    RgbBlock wide = UniformBlock(102, 102, 102);
    for (int32_t x : {0, 1, 2}) wide[3 * x + 1] = 103;  // row 0, columns 0..2
    EXPECT_EQ(SearchComparison::CompareWidePerceptual(wide.data(), 0, base, 1560600.0), (Outcome{1, 0, 0, 0}));
}

// Five pixels one grey step from base + 2 and three on it: row 0 sums to exactly
// 5000 (5.0). With the bound 5.001 the threshold is trunc(float(5.001) x 1000) =
// 5000, so the row is given up although 5.0 < 5.001; with 5.002 it is taken.
TEST(ModifierSearch, WidePerceptualGivesUpRowsAtTheSinglePrecisionThreshold) {
    RgbBlock block = UniformBlock(102, 102, 102);
    for (int32_t x = 0; x < 4; ++x) {
        for (int32_t y : {0, 1}) {
            if (2 * x + y < 5) {
                for (int32_t c = 0; c < 3; ++c) block[3 * (4 * y + x) + c] = 103;
            }
        }
    }
    const uint8_t base[3] = {100, 100, 100};
    const Outcome untouched{5, Outcome{}.row, Outcome{}.msb, Outcome{}.lsb};
    EXPECT_EQ(SearchComparison::CompareWidePerceptual(block.data(), 0, base, 5.001), untouched);
    EXPECT_EQ(SearchComparison::CompareWidePerceptual(block.data(), 0, base, 5.002), (Outcome{5, 0, 0, 0}));
    EXPECT_EQ(SearchComparison::CompareWidePerceptual(block.data(), 0, base, 1560600.0), (Outcome{5, 0, 0, 0}));
}

// Halves of extreme colours against extreme bases reach best sums S above
// 65,536,000, where floats are 1/128 apart: when S / 1000 lies within 1/256 below
// an integer, the wide member returns that integer (123,455,999 gives 123,456),
// one more than the tall member's truncated thousandths.
TEST(ModifierSearch, WidePerceptualRoundsLargeSumsThroughSinglePrecision) {
    Reference::BlockGenerator random(7);
    auto extreme = [&random] {
        return static_cast<uint8_t>(random.Uniform(0, 1) * 255 + random.Uniform(-3, 3) * random.Uniform(0, 1));
    };
    int32_t found = 0;
    for (int32_t attempt = 0; attempt < 400000 && found < 5; ++attempt) {
        RgbBlock block{};
        for (uint8_t& value : block) value = extreme();
        const uint8_t base[3] = {extreme(), extreme(), extreme()};
        int32_t pixels[8][3];
        Reference::CopyHalf(false, block.data(), 0, pixels);
        const int32_t wideBase[3] = {base[0], base[1], base[2]};
        uint32_t best = UINT32_MAX;
        for (int32_t q = 0; q < 8; ++q) {
            uint32_t m = 0;
            uint32_t l = 0;
            best = std::min(best, Reference::RowTallPerceptual(pixels, wideBase, q, m, l, UINT32_MAX));
        }
        if (static_cast<uint32_t>(static_cast<float>(best / 1000.0)) != best / 1000u + 1u) continue;
        ++found;
        Outcome wide = SearchComparison::CompareWidePerceptual(block.data(), 0, base, 1560600.0);
        EXPECT_EQ(wide.result, best / 1000u + 1u) << "internal sum " << best;
    }
    EXPECT_EQ(found, 5);
}

TEST(ModifierSearch, AgreesWithTheReferenceForEveryBound) {
    Reference::BlockGenerator random(2024);
    for (int32_t n = 0; n < 4000; ++n) {
        RgbBlock block = random.NextOfAnyPattern();
        for (int32_t first : {0, 2}) {
            std::array<uint8_t, 3> base = SearchComparison::PickBase(random, block.data() + 3 * 5 * first);
            Outcome tall = SearchComparison::CompareTall(block.data(), first, base.data(), 3121200);
            for (int32_t bound : SearchComparison::PlainBounds(random, tall.result)) {
                SearchComparison::CompareTall(block.data(), first, base.data(), bound);
            }
            Outcome wide = SearchComparison::CompareWide(block.data(), first, base.data(), 3121200);
            for (int32_t bound : SearchComparison::PlainBounds(random, wide.result)) {
                SearchComparison::CompareWide(block.data(), first, base.data(), bound);
            }
            Outcome tallP = SearchComparison::CompareTallPerceptual(block.data(), first, base.data(), 1560600u);
            for (uint32_t bound : SearchComparison::TallPerceptualBounds(random, tallP.result)) {
                SearchComparison::CompareTallPerceptual(block.data(), first, base.data(), bound);
            }
            Outcome wideP = SearchComparison::CompareWidePerceptual(block.data(), first, base.data(), 1560600.0);
            for (double bound : SearchComparison::WidePerceptualBounds(random, wideP.result)) {
                SearchComparison::CompareWidePerceptual(block.data(), first, base.data(), bound);
            }
        }
        if (HasFailure()) return;
    }
}

}  // namespace
