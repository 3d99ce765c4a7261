#include "etc1/SearchError.h"

namespace {

// The wide perceptual search keeps its best as a double, hands it to each row as a
// float, gives a row up once its sum reaches that float times 1000 (truncated),
// and takes a finished row when its sum / 1000, rounded to float, is below the best.
int32_t WidePerceptualError(const uint32_t rowSums[kTableRows]) {
    double best = 1560600.0;
    for (int32_t row = 0; row < kTableRows; ++row) {
        auto threshold = static_cast<int64_t>(static_cast<double>(static_cast<float>(best)) * 1000.0);
        if (static_cast<int64_t>(rowSums[row]) >= threshold) continue;
        float error = static_cast<float>(rowSums[row] / 1000.0);
        if (error < best) best = error;
    }
    return static_cast<int32_t>(best);
}

}  // namespace

int32_t SearchErrorFromRowSums(ErrorMeasure measure, HalfShape shape, const uint32_t rowSums[kTableRows]) {
    if (measure == ErrorMeasure::Perceptual && shape == HalfShape::Wide) return WidePerceptualError(rowSums);
    uint32_t smallest = rowSums[0];
    for (int32_t row = 1; row < kTableRows; ++row) smallest = rowSums[row] < smallest ? rowSums[row] : smallest;
    return static_cast<int32_t>(measure == ErrorMeasure::Plain ? smallest : smallest / 1000u);
}
