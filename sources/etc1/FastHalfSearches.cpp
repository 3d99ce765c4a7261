#include "etc1/FastHalfSearches.h"

#include "etc1/HalfBlockAverage.h"
#include "etc1/ModifierSearch.h"

namespace {

// 3 x 16 x 255^2 and 3 x 8 x 255^2: above any half's error, so every search writes its outputs.
constexpr int32_t kPlainBound = 3121200;
constexpr int32_t kPerceptualBound = 1560600;

HalfSearchResult RunSearch(const uint8_t* block, bool flipped, int32_t first, const QuantizedColor& base,
                           FastMeasure measure) {
    const uint8_t colour[3] = {static_cast<uint8_t>(base[0]), static_cast<uint8_t>(base[1]),
                               static_cast<uint8_t>(base[2])};
    HalfSearchResult half;
    if (measure == FastMeasure::Plain) {
        half.error = flipped ? ModifierSearchWide(block, first, colour, half.codeword, half.msb, half.lsb, kPlainBound)
                             : ModifierSearchTall(block, first, colour, half.codeword, half.msb, half.lsb, kPlainBound);
    } else if (flipped) {
        half.error = ModifierSearchWidePerceptual(block, first, colour, half.codeword, half.msb, half.lsb,
                                                  static_cast<double>(kPerceptualBound));
    } else {
        half.error = static_cast<int32_t>(ModifierSearchTallPerceptual(
            block, first, colour, half.codeword, half.msb, half.lsb, static_cast<uint32_t>(kPerceptualBound)));
    }
    return half;
}

}  // namespace

FastHalfSearches::FastHalfSearches(const uint8_t* block, FastMeasure measure) : block_(block), measure_(measure) {
    HalfBlockAverageTall(block, 0, averages_[0][0]);
    HalfBlockAverageTall(block, 2, averages_[0][1]);
    HalfBlockAverageWide(block, 0, averages_[1][0]);
    HalfBlockAverageWide(block, 2, averages_[1][1]);
}

HalfSearchResult FastHalfSearches::Search(bool flipped, int32_t half, const QuantizedColor& base) {
    Remembered* slots = remembered_[flipped][half];
    for (int32_t i = 0; i < 2; ++i) {
        const QuantizedColor& known = slots[i].base;
        bool same = known[0] == base[0] && known[1] == base[1] && known[2] == base[2];
        if (slots[i].used && same) return slots[i].result;
    }
    HalfSearchResult result = RunSearch(block_, flipped, 2 * half, base, measure_);
    Remembered& free = slots[0].used ? slots[1] : slots[0];
    free = {true, base, result};
    return result;
}
