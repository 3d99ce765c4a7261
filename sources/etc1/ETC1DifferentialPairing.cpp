#include "etc1/ETC1DifferentialPairing.h"

namespace ETC1Encoder {
namespace {

constexpr int32_t kDeltaLow = -4;
constexpr int32_t kDeltaHigh = 3;
constexpr int32_t kMaxCandidates = kMaxCodesPerChannel * kMaxCodesPerChannel * kMaxCodesPerChannel;

bool DeltasFit(int32_t firstKey, int32_t secondKey) {
    for (int32_t channel = 0; channel < 3; ++channel) {
        int32_t delta = KeyCode(secondKey, channel) - KeyCode(firstKey, channel);
        if (delta < kDeltaLow || delta > kDeltaHigh) return false;
    }
    return true;
}

ColourPair MakePair(int32_t total, int32_t firstKey, int32_t secondKey) {
    ColourPair pair{true, total, {}, {}};
    for (int32_t channel = 0; channel < 3; ++channel) {
        pair.first[channel] = KeyCode(firstKey, channel);
        pair.second[channel] = KeyCode(secondKey, channel);
    }
    return pair;
}

// The codes of `box` whose colours can pair with `key` of the other half; false when there are none.
// `otherIsFirst` tells on which side of the delta `key` stands.
bool PartnerBox(const CodeBox& box, int32_t key, bool otherIsFirst, CodeBox& partners) {
    for (int32_t channel = 0; channel < 3; ++channel) {
        int32_t code = KeyCode(key, channel);
        int32_t low = otherIsFirst ? code + kDeltaLow : code - kDeltaHigh;
        int32_t high = otherIsFirst ? code + kDeltaHigh : code - kDeltaLow;
        partners.low[channel] = low > box.low[channel] ? low : box.low[channel];
        partners.high[channel] = high < box.high[channel] ? high : box.high[channel];
        if (partners.low[channel] > partners.high[channel]) return false;
    }
    return true;
}

void KeyCodes(int32_t key, int32_t codes[3]) {
    for (int32_t channel = 0; channel < 3; ++channel) codes[channel] = KeyCode(key, channel);
}

// The best partner of one half's own best colour gives a pair whose total bounds the
// answer from above; returns the exclusive limit on totals that follows.
int32_t LimitFromPartners(const ColourSearchKernel& kernel, HalfTables& first, HalfTables& second,
                          const Candidate& firstBest, const Candidate& secondBest, int32_t cutoff) {
    int32_t limit = cutoff;
    CodeBox partners;
    int32_t seed[3];
    if (PartnerBox(second.box, firstBest.key, true, partners)) {
        KeyCodes(firstBest.key, seed);
        Candidate partner = kernel.findFirstBest(second, partners, limit - firstBest.error, seed);
        if (partner.key >= 0) limit = firstBest.error + partner.error + 1;
    }
    if (PartnerBox(first.box, secondBest.key, false, partners)) {
        KeyCodes(secondBest.key, seed);
        Candidate partner = kernel.findFirstBest(first, partners, limit - secondBest.error, seed);
        if (partner.key >= 0) limit = partner.error + secondBest.error + 1;
    }
    return limit;
}

}  // namespace

ColourPair PairDifferentialColours(const ColourSearchKernel& kernel, HalfTables& first, HalfTables& second,
                                   const int32_t firstSeed[3], const int32_t secondSeed[3], int32_t cutoff) {
    ColourPair none{false, cutoff, {}, {}};
    // No pair gets below the cutoff unless the first colour does so with the second half's least error added.
    Candidate firstBest = kernel.findFirstBest(first, first.box, cutoff - LeastError(second), firstSeed);
    if (firstBest.key < 0) return none;
    Candidate secondBest = kernel.findFirstBest(second, second.box, cutoff - firstBest.error, secondSeed);
    if (secondBest.key < 0) return none;
    // Each half's best is the best any pair can use: when they fit together, no pair beats them.
    if (DeltasFit(firstBest.key, secondBest.key)) {
        return MakePair(firstBest.error + secondBest.error, firstBest.key, secondBest.key);
    }
    // Otherwise only colours that could still make a pair below the limit take part.
    int32_t limit = LimitFromPartners(kernel, first, second, firstBest, secondBest, cutoff);
    Candidate firstList[kMaxCandidates], secondList[kMaxCandidates];
    int32_t firstCount = kernel.collectBelow(first, first.box, limit - secondBest.error, firstList);
    int32_t secondCount = kernel.collectBelow(second, second.box, limit - firstBest.error, secondList);
    ColourPair best = none;
    best.total = limit;
    for (int32_t i = 0; i < firstCount; ++i) {
        if (firstList[i].error + secondBest.error >= best.total) continue;
        for (int32_t j = 0; j < secondCount; ++j) {
            int32_t total = firstList[i].error + secondList[j].error;
            if (total < best.total && DeltasFit(firstList[i].key, secondList[j].key)) {
                best = MakePair(total, firstList[i].key, secondList[j].key);
            }
        }
    }
    return best.found ? best : none;
}

}  // namespace ETC1Encoder
