#include "etc1/ModifierRowChoice.h"

namespace {

// The search's threshold for a best error: single precision, in thousandths, truncated.
int64_t ThresholdOf(double best) { return static_cast<int64_t>(static_cast<double>(static_cast<float>(best)) * 1000.0); }

float ThousandsOf(uint32_t error) { return static_cast<float>(static_cast<double>(error) / 1000.0); }

// True when every row before the first least one lies far enough above it that
// neither rounding to single precision nor truncating the threshold can keep
// the least row from being taken over whichever of them was best before it:
// a gap of 2 plus 2^-22 of the larger error exceeds both rounding errors.
bool LeastStandsClear(const ModifierRows& rows) {
    for (int32_t q = 0; q < rows.least; ++q) {
        const int64_t above = rows.error[q];
        if ((above - rows.error[rows.least] - 2) * (int64_t{1} << 22) < above) return false;
    }
    return true;
}

// The row-by-row procedure: a row is given up once its running sum reaches the
// threshold of the best so far; sums only grow, so that happens exactly when
// the complete sum reaches it.
int32_t RowByRow(const ModifierRows& rows, double& best) {
    int64_t threshold = ThresholdOf(best);
    int32_t bestRow = -1;
    for (int32_t q = 0; q < 8; ++q) {
        if (static_cast<int64_t>(rows.error[q]) >= threshold) continue;
        const float error = ThousandsOf(rows.error[q]);
        if (static_cast<double>(error) < best) {
            best = error;
            threshold = ThresholdOf(best);
            bestRow = q;
        }
    }
    return bestRow;
}

}  // namespace

int32_t WidePerceptualModifierRow(const ModifierRows& rows, double& best) {
    // Usually the least row beats the bound and every row before it by a clear
    // margin; it is then the procedure's answer (no later row can beat it).
    const uint32_t least = rows.error[rows.least];
    const float leastThousands = ThousandsOf(least);
    if (static_cast<int64_t>(least) < ThresholdOf(best) && static_cast<double>(leastThousands) < best &&
        LeastStandsClear(rows)) {
        best = leastThousands;
        return rows.least;
    }
    return RowByRow(rows, best);
}
