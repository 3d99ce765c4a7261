// A million half-blocks of every kind through every search implementation: each
// member sees a million halves of its shape, once with a bound above every error
// and once with a bound taken in turn from the whole range, the exact best and
// the values just above it.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "SearchComparison.h"
#include "reference/BlockPatterns.h"

namespace {

constexpr int32_t kBlocks = 500000;  // two tall and two wide halves each

template <typename Bound>
Bound Cycle(const std::vector<Bound>& bounds, int32_t n) {
    return bounds[static_cast<size_t>(n) % bounds.size()];
}

// Even blocks use a bound above every error; odd blocks take their bound in turn
// from the list built around the reference's best.
template <typename Bound, typename ReferenceSearch, typename Compare, typename Bounds>
void CompareMember(ReferenceSearch reference, Compare compare, Bounds bounds, Bound large,
                   Reference::BlockGenerator& random, const uint8_t* pixels, int32_t first, const uint8_t* base,
                   int32_t n) {
    if (n % 2 == 0) {
        compare(pixels, first, base, large);
        return;
    }
    SearchComparison::Outcome best;
    best.result = reference(pixels, first, base, best.row, best.msb, best.lsb, large);
    compare(pixels, first, base, Cycle(bounds(random, best.result), n / 2));
}

TEST(ModifierSearchMillion, EveryImplementationAgreesWithTheReference) {
    using namespace SearchComparison;
    Reference::BlockGenerator random(99);
    for (int32_t n = 0; n < kBlocks; ++n) {
        Reference::RgbBlock block = random.NextOfAnyPattern();
        const uint8_t* pixels = block.data();
        for (int32_t first : {0, 2}) {
            std::array<uint8_t, 3> base = PickBase(random, pixels + 3 * 5 * first);
            const uint8_t* b = base.data();
            CompareMember(Reference::SearchTall, CompareTall, PlainBounds, 3121200, random, pixels, first, b, n);
            CompareMember(Reference::SearchWide, CompareWide, PlainBounds, 3121200, random, pixels, first, b, n);
            CompareMember(Reference::SearchTallPerceptual, CompareTallPerceptual, TallPerceptualBounds, 1560600u,
                          random, pixels, first, b, n);
            CompareMember(Reference::SearchWidePerceptual, CompareWidePerceptual, WidePerceptualBounds, 1560600.0,
                          random, pixels, first, b, n);
        }
        if (HasFailure()) return;
    }
}

}  // namespace
