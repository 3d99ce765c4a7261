// The channel sums of a block's four halves, pixel by pixel and vectorised: known
// blocks, and the vectorised sums equal to the portable ones on blocks of every kind.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "KernelCases.h"
#include "etc1/ETC1HalfSums.h"
#include "platform/ProcessorFeatures.h"
#include "reference/BlockPatterns.h"

using namespace ETC1Encoder;

namespace {

using SumKernel = void (*)(const uint8_t*, int32_t[kBlockHalves][3]);
using SumKernelCase = KernelCases::KernelCase<SumKernel>;
using HalfSumKernels = KernelCases::KernelTest<SumKernel>;
using Sums = std::array<std::array<int32_t, 3>, kBlockHalves>;

Sums SumsOf(SumKernel kernel, const Reference::RgbBlock& block) {
    int32_t raw[kBlockHalves][3];
    kernel(block.data(), raw);
    Sums sums{};
    for (int32_t half = 0; half < kBlockHalves; ++half) {
        for (int32_t c = 0; c < 3; ++c) sums[half][c] = raw[half][c];
    }
    return sums;
}

// Left columns (R, G, B) = (10, 20, 30), right ones (200, 150, 100): the tall
// halves hold one colour each, the wide ones four pixels of each.
TEST_P(HalfSumKernels, SumTheSplitBlock) {
    Reference::RgbBlock block{};
    for (int32_t p = 0; p < 16; ++p) {
        const bool left = p % 4 < 2;
        block[3 * p] = left ? 10 : 200;
        block[3 * p + 1] = left ? 20 : 150;
        block[3 * p + 2] = left ? 30 : 100;
    }
    const Sums expected = {{{80, 160, 240}, {1600, 1200, 800}, {840, 680, 520}, {840, 680, 520}}};
    EXPECT_EQ(SumsOf(GetParam().kernel, block), expected);
}

// Rows of 1, 2, 3 and 4 in every channel: the wide halves differ, the tall ones agree.
TEST_P(HalfSumKernels, SumRowsApart) {
    Reference::RgbBlock block{};
    for (int32_t p = 0; p < 16; ++p) {
        for (int32_t c = 0; c < 3; ++c) block[3 * p + c] = static_cast<uint8_t>(p / 4 + 1);
    }
    const Sums expected = {{{20, 20, 20}, {20, 20, 20}, {12, 12, 12}, {28, 28, 28}}};
    EXPECT_EQ(SumsOf(GetParam().kernel, block), expected);
}

TEST_P(HalfSumKernels, SumWhiteToTheLargestSums) {
    Reference::RgbBlock block{};
    block.fill(255);
    Sums expected{};
    for (auto& half : expected) half.fill(2040);
    EXPECT_EQ(SumsOf(GetParam().kernel, block), expected);
}

TEST_P(HalfSumKernels, MatchThePortableSums) {
    Reference::BlockGenerator random(77);
    for (int32_t n = 0; n < 100000; ++n) {
        const Reference::RgbBlock block = random.NextOfAnyPattern();
        ASSERT_EQ(SumsOf(GetParam().kernel, block), SumsOf(SumBlockHalvesPortable, block)) << "block " << n;
    }
}

INSTANTIATE_TEST_SUITE_P(Kernels, HalfSumKernels,
                         testing::Values(SumKernelCase{"Portable", SumBlockHalvesPortable, KernelCases::Everywhere},
                                         SumKernelCase{"Avx2", SumBlockHalvesAvx2, Platform::ProcessorHasAvx2}),
                         KernelCases::CaseName());

}  // namespace
