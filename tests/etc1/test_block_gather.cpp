// Gathering a 4x4 RGB block out of an RGBA level, pixel by pixel and with byte
// shuffles: every pixel of the block lands at 3 (4y + x), alpha dropped, for
// blocks at the level's corners and inside it.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "KernelCases.h"
#include "etc1/ETC1LevelBlocks.h"
#include "platform/ProcessorFeatures.h"
#include "reference/BlockPatterns.h"

using namespace ETC1Encoder;

namespace {

using GatherKernel = void (*)(const uint8_t*, int32_t, int32_t, int32_t, uint8_t*);
using GatherCase = KernelCases::KernelCase<GatherKernel>;
using GatherKernels = KernelCases::KernelTest<GatherKernel>;

TEST_P(GatherKernels, TakeEachPixelsColourAndDropItsAlpha) {
    constexpr int32_t kWidth = 16;
    constexpr int32_t kHeight = 8;
    Reference::BlockGenerator random(12);
    std::vector<uint8_t> rgba(kWidth * kHeight * 4);
    for (uint8_t& value : rgba) value = static_cast<uint8_t>(random.Uniform(0, 255));
    for (int32_t row = 0; row < kHeight / 4; ++row) {
        for (int32_t column = 0; column < kWidth / 4; ++column) {
            uint8_t block[48];
            GetParam().kernel(rgba.data(), kWidth, column, row, block);
            for (int32_t y = 0; y < 4; ++y) {
                for (int32_t x = 0; x < 4; ++x) {
                    const uint8_t* pixel = &rgba[static_cast<size_t>(((4 * row + y) * kWidth + 4 * column + x) * 4)];
                    for (int32_t c = 0; c < 3; ++c) {
                        ASSERT_EQ(block[3 * (4 * y + x) + c], pixel[c])
                            << "block " << column << "," << row << " pixel " << x << "," << y << " channel " << c;
                    }
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Kernels, GatherKernels,
                         testing::Values(GatherCase{"Portable", GatherETC1BlockPortable, KernelCases::Everywhere},
                                         GatherCase{"Avx2", GatherETC1BlockAvx2, Platform::ProcessorHasAvx2}),
                         KernelCases::CaseName());

}  // namespace
