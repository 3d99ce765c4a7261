// The vectorised row kernels give the portable kernel's rows exactly (errors,
// index planes and first least row) on half-blocks of every kind, for both
// shapes, both halves, both measures and bases near, far and at the range ends.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "SearchComparison.h"
#include "etc1/ETC1ModifierRows.h"
#include "platform/ProcessorFeatures.h"
#include "reference/BlockPatterns.h"

using namespace ETC1Encoder;

namespace {

using RowKernel = void (*)(const uint8_t*, HalfShape, int32_t, const uint8_t*, ErrorMeasure, ModifierRows&);

struct KernelCase {
    const char* name;
    RowKernel kernel;
    bool (*supported)();
};

void PrintTo(const KernelCase& c, std::ostream* os) { *os << c.name; }


bool SameRows(const ModifierRows& a, const ModifierRows& b) {
    for (int32_t q = 0; q < 8; ++q) {
        if (a.error[q] != b.error[q]) return false;
    }
    return a.msb == b.msb && a.lsb == b.lsb && a.least == b.least;
}

class ModifierRowKernels : public testing::TestWithParam<KernelCase> {};

TEST_P(ModifierRowKernels, MatchThePortableRows) {
    const KernelCase& kernel = GetParam();
    if (!kernel.supported()) GTEST_SKIP() << kernel.name << " does not run on this processor";
    Reference::BlockGenerator random(2024);
    for (int32_t n = 0; n < 100000; ++n) {
        const Reference::RgbBlock block = random.NextOfAnyPattern();
        for (HalfShape shape : {HalfShape::Tall, HalfShape::Wide}) {
            for (int32_t first : {0, 2}) {
                const std::array<uint8_t, 3> base = SearchComparison::PickBase(random, block.data() + 15 * first);
                for (ErrorMeasure measure : {ErrorMeasure::Plain, ErrorMeasure::Perceptual}) {
                    ModifierRows expected;
                    ModifierRows actual;
                    ComputeModifierRowsPortable(block.data(), shape, first, base.data(), measure, expected);
                    kernel.kernel(block.data(), shape, first, base.data(), measure, actual);
                    ASSERT_TRUE(SameRows(actual, expected))
                        << "block " << n << " first " << first << " base " << int{base[0]} << " " << int{base[1]}
                        << " " << int{base[2]};
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Kernels, ModifierRowKernels,
                         testing::Values(KernelCase{"Avx2", ComputeModifierRowsAvx2, Platform::ProcessorHasAvx2}),
                         [](const testing::TestParamInfo<KernelCase>& info) { return std::string(info.param.name); });

}  // namespace
