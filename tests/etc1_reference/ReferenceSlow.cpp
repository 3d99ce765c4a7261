// The Slow methods, step by step.
#include "etc1_reference/ReferenceHalves.h"
#include "etc1_reference/ReferenceMethods.h"

namespace Etc1Reference {
namespace {

struct Window {
    int32_t start[3];  // centre - 5
    int32_t errors[1331];
};

int32_t WindowIndex(const Window& window, const int32_t code[3]) {
    return ((code[0] - window.start[0]) * 11 + (code[1] - window.start[1])) * 11 + (code[2] - window.start[2]);
}

bool InWindow(const Window& window, const int32_t code[3]) {
    for (int32_t channel = 0; channel < 3; ++channel) {
        if (code[channel] < 0 || code[channel] > 31) return false;
        if (code[channel] < window.start[channel] || code[channel] > window.start[channel] + 10) return false;
    }
    return true;
}

// Calls visit(code) for every window candidate in window order, values outside 0..31 left out.
template <typename Visit>
void ForEachInWindow(const Window& window, Visit visit) {
    for (int32_t r = window.start[0]; r <= window.start[0] + 10; ++r) {
        for (int32_t g = window.start[1]; g <= window.start[1] + 10; ++g) {
            for (int32_t b = window.start[2]; b <= window.start[2] + 10; ++b) {
                int32_t code[3] = {r, g, b};
                if (InWindow(window, code)) visit(code);
            }
        }
    }
}

void FillWindow(bool perceptual, Halves halves, const uint8_t* block, int32_t first, const int32_t centre[3],
                int32_t bound, Window& window) {
    for (int32_t channel = 0; channel < 3; ++channel) window.start[channel] = centre[channel] - 5;
    ForEachInWindow(window, [&](const int32_t code[3]) {
        int32_t colour[3] = {Expand5Bits(code[0]), Expand5Bits(code[1]), Expand5Bits(code[2])};
        int32_t row = 0;
        uint32_t msb = 0, lsb = 0;
        window.errors[WindowIndex(window, code)] =
            SearchHalf(perceptual, halves, block, first, colour, row, msb, lsb, bound);
    });
}

BlockCandidate Differential(bool perceptual, Halves halves, const uint8_t* block, const int32_t q1[3],
                       const int32_t q2[3]) {
    int32_t bound = perceptual ? 1560600 : 3121200;
    Window window1, window2;
    FillWindow(perceptual, halves, block, 0, q1, bound, window1);
    FillWindow(perceptual, halves, block, 2, q2, bound, window2);
    int32_t best = 3121200;
    int32_t chosen1[3] = {q1[0], q1[1], q1[2]}, chosen2[3] = {q2[0], q2[1], q2[2]};
    ForEachInWindow(window1, [&](const int32_t c1[3]) {
        int32_t error1 = window1.errors[WindowIndex(window1, c1)];
        if (!(error1 < best)) return;
        ForEachInWindow(window2, [&](const int32_t c2[3]) {
            int32_t sum = error1 + window2.errors[WindowIndex(window2, c2)];
            if (!(sum < best)) return;
            for (int32_t channel = 0; channel < 3; ++channel) {
                int32_t delta = c2[channel] - c1[channel];
                if (delta < -4 || delta > 3) return;
            }
            best = sum;
            for (int32_t channel = 0; channel < 3; ++channel) {
                chosen1[channel] = c1[channel];
                chosen2[channel] = c2[channel];
            }
        });
    });
    return FinalWords(perceptual, halves, block, true, chosen1, chosen2, best);
}

BlockCandidate Orientation(bool perceptual, Halves halves, const uint8_t* block) {
    int32_t q1[3], q2[3];
    bool gate = CentresWithinGate(block, halves, -9, 8, q1, q2);
    BlockCandidate individual = Individual(perceptual, halves, block, true);
    if (!gate) return individual;
    BlockCandidate differential = Differential(perceptual, halves, block, q1, q2);
    return differential.error <= individual.error ? differential : individual;
}

void Compress(bool perceptual, const uint8_t* block, uint32_t& highWord, uint32_t& lowWord) {
    BlockCandidate tall = Orientation(perceptual, Halves::Tall, block);
    BlockCandidate wide = Orientation(perceptual, Halves::Wide, block);
    const BlockCandidate& chosen = wide.error < tall.error ? wide : tall;
    highWord = chosen.high;
    lowWord = chosen.low;
}

}  // namespace

void CompressBlockSlow(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord) {
    Compress(false, block, highWord, lowWord);
}

void CompressBlockSlowPerceptual(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord) {
    Compress(true, block, highWord, lowWord);
}

}  // namespace Etc1Reference
