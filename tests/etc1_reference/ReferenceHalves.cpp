#include "etc1_reference/ReferenceHalves.h"

#include "reference/ModifierSearchReference.h"

namespace Etc1Reference {

int32_t SearchHalf(bool perceptual, Halves halves, const uint8_t* block, int32_t first, const int32_t colour[3],
                   int32_t& row, uint32_t& msb, uint32_t& lsb, int32_t bound) {
    const uint8_t bytes[3] = {static_cast<uint8_t>(colour[0]), static_cast<uint8_t>(colour[1]),
                              static_cast<uint8_t>(colour[2])};
    if (!perceptual && halves == Halves::Tall) return Reference::SearchTall(block, first, bytes, row, msb, lsb, bound);
    if (!perceptual) return Reference::SearchWide(block, first, bytes, row, msb, lsb, bound);
    if (halves == Halves::Tall) {
        return static_cast<int32_t>(
            Reference::SearchTallPerceptual(block, first, bytes, row, msb, lsb, static_cast<uint32_t>(bound)));
    }
    return Reference::SearchWidePerceptual(block, first, bytes, row, msb, lsb, static_cast<double>(bound));
}

namespace {

// Each channel summed over the half's eight pixels, times 0.125 in double precision, kept as a float.
void HalfAverages(const uint8_t* block, Halves halves, float first[3], float second[3]) {
    for (int32_t channel = 0; channel < 3; ++channel) {
        int32_t sums[2] = {0, 0};
        for (int32_t y = 0; y < 4; ++y) {
            for (int32_t x = 0; x < 4; ++x) {
                int32_t half = halves == Halves::Tall ? x / 2 : y / 2;
                sums[half] += block[3 * (4 * y + x) + channel];
            }
        }
        first[channel] = static_cast<float>(sums[0] * 0.125);
        second[channel] = static_cast<float>(sums[1] * 0.125);
    }
}

int32_t RoundTo5Bits(float average) {
    double scaled = static_cast<double>(average) * 31.0 / 255.0;
    return static_cast<int32_t>(scaled >= 0.0 ? scaled + 0.5 : scaled - 0.5);
}

}  // namespace

bool CentresWithinGate(const uint8_t* block, Halves halves, int32_t gateLow, int32_t gateHigh, int32_t q1[3],
                       int32_t q2[3]) {
    float a1[3], a2[3];
    HalfAverages(block, halves, a1, a2);
    bool within = true;
    for (int32_t channel = 0; channel < 3; ++channel) {
        q1[channel] = RoundTo5Bits(a1[channel]);
        q2[channel] = RoundTo5Bits(a2[channel]);
        int32_t difference = q2[channel] - q1[channel];
        if (difference < gateLow || difference > gateHigh) within = false;
    }
    return within;
}

int32_t Expand5Bits(int32_t code) { return (code << 3) | (code >> 2); }
int32_t Expand4Bits(int32_t code) { return (code << 4) | code; }

uint32_t DifferentialHigh(const int32_t c1[3], const int32_t c2[3], int32_t t1, int32_t t2, Halves halves) {
    uint32_t word = 0;
    word |= static_cast<uint32_t>(c1[0]) << 27;
    word |= (static_cast<uint32_t>(c2[0] - c1[0]) & 7u) << 24;
    word |= static_cast<uint32_t>(c1[1]) << 19;
    word |= (static_cast<uint32_t>(c2[1] - c1[1]) & 7u) << 16;
    word |= static_cast<uint32_t>(c1[2]) << 11;
    word |= (static_cast<uint32_t>(c2[2] - c1[2]) & 7u) << 8;
    word |= static_cast<uint32_t>(t1) << 5;
    word |= static_cast<uint32_t>(t2) << 2;
    word |= 1u << 1;
    word |= halves == Halves::Wide ? 1u : 0u;
    return word;
}

uint32_t IndividualHigh(const int32_t c1[3], const int32_t c2[3], int32_t t1, int32_t t2, Halves halves) {
    uint32_t word = 0;
    word |= static_cast<uint32_t>(c1[0]) << 28;
    word |= static_cast<uint32_t>(c2[0]) << 24;
    word |= static_cast<uint32_t>(c1[1]) << 20;
    word |= static_cast<uint32_t>(c2[1]) << 16;
    word |= static_cast<uint32_t>(c1[2]) << 12;
    word |= static_cast<uint32_t>(c2[2]) << 8;
    word |= static_cast<uint32_t>(t1) << 5;
    word |= static_cast<uint32_t>(t2) << 2;
    word |= halves == Halves::Wide ? 1u : 0u;
    return word;
}

uint32_t LowFromPlanes(uint32_t m1, uint32_t l1, uint32_t m2, uint32_t l2, Halves halves) {
    if (halves == Halves::Tall) return (m1 & 0xFF) << 16 | m2 << 24 | (l2 & 0xFF) << 8 | (l1 & 0xFF);
    return (m1 | (m2 << 2)) << 16 | ((l1 | (l2 << 2)) & 0xFFFF);
}

BlockCandidate FinalWords(bool perceptual, Halves halves, const uint8_t* block, bool differential,
                          const int32_t c1[3], const int32_t c2[3], int32_t error) {
    int32_t colour1[3], colour2[3];
    for (int32_t channel = 0; channel < 3; ++channel) {
        colour1[channel] = differential ? Expand5Bits(c1[channel]) : Expand4Bits(c1[channel]);
        colour2[channel] = differential ? Expand5Bits(c2[channel]) : Expand4Bits(c2[channel]);
    }
    int32_t bound = perceptual ? 1560600 : 3121200;
    int32_t t1 = 0, t2 = 0;
    uint32_t m1 = 0, l1 = 0, m2 = 0, l2 = 0;
    SearchHalf(perceptual, halves, block, 0, colour1, t1, m1, l1, bound);
    SearchHalf(perceptual, halves, block, 2, colour2, t2, m2, l2, bound);
    uint32_t high = differential ? DifferentialHigh(c1, c2, t1, t2, halves) : IndividualHigh(c1, c2, t1, t2, halves);
    return {error, high, LowFromPlanes(m1, l1, m2, l2, halves)};
}

namespace {

int32_t BestIndividualCode(bool perceptual, Halves halves, const uint8_t* block, int32_t first, bool runningBound,
                           int32_t code[3]) {
    int32_t best = 1560600;
    code[0] = code[1] = code[2] = 0;
    for (int32_t r = 0; r <= 14; ++r) {
        for (int32_t g = 0; g <= 14; ++g) {
            for (int32_t b = 0; b <= 14; ++b) {
                int32_t colour[3] = {Expand4Bits(r), Expand4Bits(g), Expand4Bits(b)};
                int32_t row = 0;
                uint32_t msb = 0, lsb = 0;
                int32_t bound = runningBound || perceptual ? best : 3121200;
                int32_t error = SearchHalf(perceptual, halves, block, first, colour, row, msb, lsb, bound);
                if (error < best) {
                    best = error;
                    code[0] = r;
                    code[1] = g;
                    code[2] = b;
                }
            }
        }
    }
    return best;
}

}  // namespace

BlockCandidate Individual(bool perceptual, Halves halves, const uint8_t* block, bool runningBound) {
    int32_t code1[3], code2[3];
    int32_t error1 = BestIndividualCode(perceptual, halves, block, 0, runningBound, code1);
    int32_t error2 = BestIndividualCode(perceptual, halves, block, 2, runningBound, code2);
    return FinalWords(perceptual, halves, block, false, code1, code2, error1 + error2);
}

}  // namespace Etc1Reference
