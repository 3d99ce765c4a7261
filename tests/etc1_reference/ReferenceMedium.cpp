// The Medium methods, step by step.
#include "etc1_reference/ReferenceHalves.h"
#include "etc1_reference/ReferenceMethods.h"

namespace Etc1Reference {
namespace {

int32_t ClampCode(int32_t code) { return code < 0 ? 0 : code > 31 ? 31 : code; }

int32_t TableIndex(int32_t i, int32_t j, int32_t k) { return ((i + 3) * 7 + (j + 3)) * 7 + (k + 3); }

void FillCandidateTable(bool perceptual, Halves halves, const uint8_t* block, int32_t first, const int32_t q[3],
                        int32_t bound, int32_t table[343]) {
    for (int32_t i = -3; i <= 3; ++i) {
        for (int32_t j = -3; j <= 3; ++j) {
            for (int32_t k = -3; k <= 3; ++k) {
                int32_t colour[3] = {Expand5Bits(ClampCode(q[0] + i)), Expand5Bits(ClampCode(q[1] + j)),
                                     Expand5Bits(ClampCode(q[2] + k))};
                int32_t row = 0;
                uint32_t msb = 0, lsb = 0;
                table[TableIndex(i, j, k)] = SearchHalf(perceptual, halves, block, first, colour, row, msb, lsb, bound);
            }
        }
    }
}

bool DeltasFit(const int32_t c1[3], const int32_t c2[3]) {
    for (int32_t channel = 0; channel < 3; ++channel) {
        int32_t delta = c2[channel] - c1[channel];
        if (delta < -4 || delta > 3) return false;
    }
    return true;
}

BlockCandidate Differential(bool perceptual, Halves halves, const uint8_t* block, const int32_t q1[3],
                               const int32_t q2[3]) {
    int32_t bound = perceptual ? 1560600 : 3121200;
    int32_t table1[343], table2[343];
    FillCandidateTable(perceptual, halves, block, 0, q1, bound, table1);
    FillCandidateTable(perceptual, halves, block, 2, q2, bound, table2);
    int32_t best = 3121200;
    int32_t chosen1[3] = {0, 0, 0}, chosen2[3] = {0, 0, 0};
    for (int32_t i1 = -3; i1 <= 3; ++i1) {
        for (int32_t j1 = -3; j1 <= 3; ++j1) {
            for (int32_t k1 = -3; k1 <= 3; ++k1) {
                int32_t error1 = table1[TableIndex(i1, j1, k1)];
                if (perceptual && error1 >= best) continue;
                int32_t c1[3] = {ClampCode(q1[0] + i1), ClampCode(q1[1] + j1), ClampCode(q1[2] + k1)};
                for (int32_t i2 = -3; i2 <= 3; ++i2) {
                    for (int32_t j2 = -3; j2 <= 3; ++j2) {
                        for (int32_t k2 = -3; k2 <= 3; ++k2) {
                            int32_t c2[3] = {ClampCode(q2[0] + i2), ClampCode(q2[1] + j2), ClampCode(q2[2] + k2)};
                            int32_t error = error1 + table2[TableIndex(i2, j2, k2)];
                            bool take = perceptual ? (error < best && DeltasFit(c1, c2))
                                                   : (DeltasFit(c1, c2) && error < best);
                            if (!take) continue;
                            best = error;
                            for (int32_t channel = 0; channel < 3; ++channel) {
                                chosen1[channel] = c1[channel];
                                chosen2[channel] = c2[channel];
                            }
                        }
                    }
                }
            }
        }
    }
    return FinalWords(perceptual, halves, block, true, chosen1, chosen2, best);
}

BlockCandidate Orientation(bool perceptual, Halves halves, const uint8_t* block) {
    int32_t q1[3], q2[3];
    bool differential = CentresWithinGate(block, halves, -7, 6, q1, q2);
    return differential ? Differential(perceptual, halves, block, q1, q2) : Individual(perceptual, halves, block, false);
}

void Compress(bool perceptual, const uint8_t* block, uint32_t& highWord, uint32_t& lowWord) {
    BlockCandidate sideBySide = Orientation(perceptual, Halves::Tall, block);
    BlockCandidate stacked = Orientation(perceptual, Halves::Wide, block);
    const BlockCandidate& chosen = stacked.error < sideBySide.error ? stacked : sideBySide;
    highWord = chosen.high;
    lowWord = chosen.low;
}

}  // namespace

void CompressBlockMedium(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord) {
    Compress(false, block, highWord, lowWord);
}

void CompressBlockMediumPerceptual(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord) {
    Compress(true, block, highWord, lowWord);
}

}  // namespace Etc1Reference
