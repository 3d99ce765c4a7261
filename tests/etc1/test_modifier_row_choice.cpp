// The wide perceptual row choice equals the row-by-row procedure on rows whose
// errors nearly tie at every size, where single-precision rounding and the
// truncated threshold decide, with bounds around the least error.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "etc1/ETC1ModifierSearch.h"
#include "reference/BlockPatterns.h"

using namespace ETC1Encoder;

namespace {

// Row after row, each given up once its sum reaches the single-precision
// threshold of the best so far.
int32_t ReferenceWidePerceptualRow(const uint32_t error[8], double& best) {
    int32_t bestRow = -1;
    for (int32_t q = 0; q < 8; ++q) {
        const auto threshold = static_cast<int64_t>(static_cast<double>(static_cast<float>(best)) * 1000.0);
        if (static_cast<int64_t>(error[q]) >= threshold) continue;
        const float thousands = static_cast<float>(static_cast<double>(error[q]) / 1000.0);
        if (static_cast<double>(thousands) < best) {
            best = thousands;
            bestRow = q;
        }
    }
    return bestRow;
}

// Errors a few units, or a few single-precision steps, apart around a random size.
ModifierRows NearTies(Reference::BlockGenerator& random) {
    const int32_t size = random.Uniform(0, 4) == 0 ? random.Uniform(0, 20000) : random.Uniform(0, 520200000);
    const int32_t step = std::max(1, size >> 24);
    ModifierRows rows{};
    for (uint32_t& error : rows.error) {
        const int32_t apart = random.Uniform(0, 1) == 0 ? random.Uniform(0, 4) : step * random.Uniform(0, 300);
        error = static_cast<uint32_t>(size + apart);
    }
    rows.least = static_cast<int32_t>(std::min_element(rows.error, rows.error + 8) - rows.error);
    return rows;
}

TEST(WidePerceptualModifierRow, EqualsTheRowByRowProcedure) {
    Reference::BlockGenerator random(31);
    for (int32_t n = 0; n < 2000000; ++n) {
        const ModifierRows rows = NearTies(random);
        const double least = rows.error[rows.least] / 1000.0;
        const double bounds[] = {1560600.0, least, least + 0.001 * random.Uniform(-3, 3),
                                 static_cast<double>(static_cast<float>(least)) * (1.0 + 1e-7 * random.Uniform(-4, 4))};
        for (double bound : bounds) {
            double best = bound;
            double expectedBest = bound;
            const int32_t row = WidePerceptualModifierRow(rows, best);
            ASSERT_EQ(row, ReferenceWidePerceptualRow(rows.error, expectedBest)) << "case " << n << " bound " << bound;
            ASSERT_EQ(best, expectedBest) << "case " << n << " bound " << bound;
        }
    }
}

}  // namespace
