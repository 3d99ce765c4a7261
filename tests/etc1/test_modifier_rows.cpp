// The vectorised row kernels give the portable kernel's rows exactly (errors,
// index planes and first least row) on half-blocks of every kind, for both
// shapes, both halves, both measures and bases near, far and at the range ends.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "KernelCases.h"
#include "SearchComparison.h"
#include "etc1/ETC1ModifierRows.h"
#include "platform/ProcessorFeatures.h"
#include "reference/BlockPatterns.h"

using namespace ETC1Encoder;

namespace {

using RowKernel = void (*)(const uint8_t*, HalfShape, int32_t, const uint8_t*, ErrorMeasure, ModifierRows&);
using KernelCases::CaseName;
using KernelCase = KernelCases::KernelCase<RowKernel>;

bool SameRows(const ModifierRows& a, const ModifierRows& b) {
    for (int32_t q = 0; q < 8; ++q) {
        if (a.error[q] != b.error[q]) return false;
    }
    return a.msb == b.msb && a.lsb == b.lsb && a.least == b.least;
}

using ModifierRowKernels = KernelCases::KernelTest<RowKernel>;

TEST_P(ModifierRowKernels, MatchThePortableRows) {
    const KernelCase& kernel = GetParam();
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
                         CaseName());

// The kernels for searches that want one row's planes at most: each row's error
// and the first least row for two bases read together, and the planes of any
// row, as the portable rows have them.
using ErrorsKernel = void (*)(const uint8_t*, HalfShape, int32_t, const uint8_t (*)[3], int32_t, ErrorMeasure,
                              RowErrors*);
using PlanesKernel = void (*)(const uint8_t*, HalfShape, int32_t, const uint8_t*, ErrorMeasure, int32_t, uint32_t&,
                              uint32_t&);

struct SplitKernels {
    ErrorsKernel errors;
    PlanesKernel planes;
};

using SplitRowKernels = KernelCases::KernelTest<SplitKernels>;

TEST_P(SplitRowKernels, MatchThePortableRows) {
    const SplitKernels& kernel = GetParam().kernel;
    Reference::BlockGenerator random(2025);
    for (int32_t n = 0; n < 50000; ++n) {
        const Reference::RgbBlock block = random.NextOfAnyPattern();
        for (HalfShape shape : {HalfShape::Tall, HalfShape::Wide}) {
            for (int32_t first : {0, 2}) {
                const uint8_t* half = block.data() + 15 * first;
                const std::array<uint8_t, 3> picked[2] = {SearchComparison::PickBase(random, half),
                                                          SearchComparison::PickBase(random, half)};
                const uint8_t bases[2][3] = {{picked[0][0], picked[0][1], picked[0][2]},
                                             {picked[1][0], picked[1][1], picked[1][2]}};
                for (ErrorMeasure measure : {ErrorMeasure::Plain, ErrorMeasure::Perceptual}) {
                    RowErrors actual[2];
                    kernel.errors(block.data(), shape, first, bases, 2, measure, actual);
                    for (int32_t b = 0; b < 2; ++b) {
                        ModifierRows expected;
                        ComputeModifierRowsPortable(block.data(), shape, first, bases[b], measure, expected);
                        const std::string where = "block " + std::to_string(n) + " first " + std::to_string(first) +
                                                  " base " + std::to_string(b);
                        ASSERT_EQ(actual[b].least, expected.least) << where;
                        for (int32_t q = 0; q < kTableRows; ++q) {
                            ASSERT_EQ(actual[b].error[q], expected.error[q]) << where << " row " << q;
                            uint32_t msb = 0;
                            uint32_t lsb = 0;
                            kernel.planes(block.data(), shape, first, bases[b], measure, q, msb, lsb);
                            ASSERT_EQ(msb, expected.Msb(q)) << where << " row " << q;
                            ASSERT_EQ(lsb, expected.Lsb(q)) << where << " row " << q;
                        }
                    }
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Kernels, SplitRowKernels,
                         testing::Values(KernelCases::KernelCase<SplitKernels>{"Portable",
                                                                               {ComputeRowErrorsPortable,
                                                                                ComputeRowPlanesPortable},
                                                                               KernelCases::Everywhere},
                                         KernelCases::KernelCase<SplitKernels>{
                                             "Avx2", {ComputeRowErrorsAvx2, ComputeRowPlanesAvx2},
                                             Platform::ProcessorHasAvx2}),
                         CaseName());

}  // namespace
