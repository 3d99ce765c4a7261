#include "etc1/ModifierRowChoice.h"

int32_t WidePerceptualModifierRow(const ModifierRows& rows, double& best) {
    // A row is given up once its running sum reaches the threshold of the best
    // so far; sums only grow, so that happens exactly when the complete sum reaches it.
    auto thresholdOf = [](double value) {
        return static_cast<int64_t>(static_cast<double>(static_cast<float>(value)) * 1000.0);
    };
    int64_t threshold = thresholdOf(best);
    int32_t bestRow = -1;
    for (int32_t q = 0; q < 8; ++q) {
        if (static_cast<int64_t>(rows.error[q]) >= threshold) continue;
        float error = static_cast<float>(static_cast<double>(rows.error[q]) / 1000.0);
        if (static_cast<double>(error) < best) {
            best = error;
            threshold = thresholdOf(best);
            bestRow = q;
        }
    }
    return bestRow;
}
