// The Fast methods, step by step.
#include "etc1_reference/ReferenceFastMethods.h"
#include "etc1_reference/ReferenceHalves.h"

namespace Etc1Reference {
namespace {

// Tall halves: columns first..first+1, all rows. Wide halves: rows first..first+1.
void HalfAverage(const uint8_t* block, Halves halves, int32_t first, float average[3]) {
    int32_t sum[3] = {0, 0, 0};
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 4; ++x) {
            int32_t position = halves == Halves::Tall ? x : y;
            if (position != first && position != first + 1) continue;
            for (int32_t channel = 0; channel < 3; ++channel) sum[channel] += block[3 * (4 * y + x) + channel];
        }
    }
    for (int32_t channel = 0; channel < 3; ++channel) average[channel] = static_cast<float>(sum[channel] * 0.125);
}

// The rounding rule.
void Rounded5(const float average[3], int32_t level[3]) {
    for (int32_t channel = 0; channel < 3; ++channel) {
        double t = static_cast<double>(average[channel]) * 31.0 / 255.0;
        if (t >= 0.0) {
            t = t + 0.5;
        } else {
            t = t - 0.5;
        }
        level[channel] = static_cast<int32_t>(t);
    }
}

void Rounded4(const float average[3], int32_t level[3]) {
    const float epsilon = 0.0001f;
    for (int32_t channel = 0; channel < 3; ++channel) {
        double t = static_cast<double>(average[channel]) / 17.0 + 0.5 + static_cast<double>(epsilon);
        level[channel] = static_cast<int32_t>(t);
    }
}

// The hue quantisers, all in single precision.
struct HueRule {
    bool fiveBit;
    bool perceptual;
    bool greyTest;
};

int32_t ExpandLevel(bool fiveBit, int32_t level) { return fiveBit ? (level << 3) | (level >> 2) : 17 * level; }

void Hue(const HueRule& rule, const float average[3], int32_t level[3]) {
    const float step = rule.fiveBit ? 255.0f / 31.0f : 17.0f;
    const int32_t top = rule.fiveBit ? 31 : 15;
    const float weightRG = rule.perceptual ? 0.175513f : 1.0f;
    const float weightRB = rule.perceptual ? 0.034086f : 1.0f;
    const float weightGB = rule.perceptual ? 0.066918f : 1.0f;
    int32_t low[3], high[3];
    float d[3], k[3];
    for (int32_t channel = 0; channel < 3; ++channel) {
        float quotient = average[channel] / step;
        low[channel] = static_cast<int32_t>(quotient);
        high[channel] = low[channel] + 1;
        if (high[channel] > top) high[channel] = top;
        if (high[channel] < 0) high[channel] = 0;
        d[channel] = static_cast<float>(ExpandLevel(rule.fiveBit, low[channel])) - average[channel];
        k[channel] =
            static_cast<float>(ExpandLevel(rule.fiveBit, high[channel]) - ExpandLevel(rule.fiveBit, low[channel]));
    }
    // Combination n takes R, G, B high as listed: LLL, HLL, LHL, LLH, HHL, HLH, LHH, HHH.
    const bool takes[8][3] = {{false, false, false}, {true, false, false}, {false, true, false}, {false, false, true},
                              {true, true, false},   {true, false, true},  {false, true, true},  {true, true, true}};
    int32_t winner = 0;
    float winnerError = 0.0f;
    for (int32_t n = 0; n < 8; ++n) {
        float e[3];
        for (int32_t channel = 0; channel < 3; ++channel) {
            e[channel] = d[channel];
            if (takes[n][channel]) e[channel] = d[channel] + k[channel];
        }
        float rg = e[0] - e[1];
        float rb = e[0] - e[2];
        float gb = e[1] - e[2];
        float termRG = weightRG * (rg * rg);
        float termRB = weightRB * (rb * rb);
        float termGB = weightGB * (gb * gb);
        float error = (termRG + termRB) + termGB;
        if (n == 0 || error < winnerError) {
            winner = n;
            winnerError = error;
        }
    }
    if (rule.greyTest && (winner == 0 || winner == 7)) {
        float dg2 = d[1] * d[1];
        float dr2 = d[0] * d[0];
        float db2 = d[2] * d[2];
        float distance = (dg2 + dr2) + db2;
        if (distance > 192.0f) {
            winner = 7;
        } else {
            winner = 0;
        }
    }
    for (int32_t channel = 0; channel < 3; ++channel)
        level[channel] = takes[winner][channel] ? high[channel] : low[channel];
}

enum class Colours { Rounded, Hue, HuePerceptual };

void Quantize5(Colours colours, const float average[3], int32_t level[3]) {
    if (colours == Colours::Rounded) Rounded5(average, level);
    if (colours == Colours::Hue) Hue({true, false, false}, average, level);
    if (colours == Colours::HuePerceptual) Hue({true, true, false}, average, level);
}

void Quantize4(Colours colours, const float average[3], int32_t level[3]) {
    if (colours == Colours::Rounded) Rounded4(average, level);
    if (colours == Colours::Hue) Hue({false, false, true}, average, level);
    if (colours == Colours::HuePerceptual) Hue({false, true, false}, average, level);
}

struct Coded {
    int32_t error;
    uint32_t high;
    uint32_t low;
};

Coded CodeOrientation(const uint8_t* block, bool perceptual, Colours colours, Halves halves) {
    float average1[3], average2[3];
    HalfAverage(block, halves, 0, average1);
    HalfAverage(block, halves, 2, average2);
    int32_t c1[3], c2[3];
    Quantize5(colours, average1, c1);
    Quantize5(colours, average2, c2);
    bool differential = true;
    for (int32_t channel = 0; channel < 3; ++channel) {
        int32_t d = c2[channel] - c1[channel];
        if (d < -4 || d > 3) differential = false;
    }
    if (!differential) {
        Quantize4(colours, average1, c1);
        Quantize4(colours, average2, c2);
    }
    int32_t base1[3], base2[3];
    for (int32_t channel = 0; channel < 3; ++channel) {
        base1[channel] = differential ? Expand5Bits(c1[channel]) : Expand4Bits(c1[channel]);
        base2[channel] = differential ? Expand5Bits(c2[channel]) : Expand4Bits(c2[channel]);
    }
    const int32_t bound = perceptual ? 1560600 : 3121200;
    int32_t t1 = 0, t2 = 0;
    uint32_t m1 = 0, l1 = 0, m2 = 0, l2 = 0;
    int32_t error1 = SearchHalf(perceptual, halves, block, 0, base1, t1, m1, l1, bound);
    int32_t error2 = SearchHalf(perceptual, halves, block, 2, base2, t2, m2, l2, bound);
    uint32_t high = differential ? DifferentialHigh(c1, c2, t1, t2, halves) : IndividualHigh(c1, c2, t1, t2, halves);
    return {error1 + error2, high, LowFromPlanes(m1, l1, m2, l2, halves)};
}

void Build(const uint8_t* block, bool perceptual, Colours colours, uint32_t& highWord, uint32_t& lowWord) {
    Coded sideBySide = CodeOrientation(block, perceptual, colours, Halves::Tall);
    Coded stacked = CodeOrientation(block, perceptual, colours, Halves::Wide);
    if (stacked.error < sideBySide.error) {
        highWord = stacked.high;
        lowWord = stacked.low;
    } else {
        highWord = sideBySide.high;
        lowWord = sideBySide.low;
    }
}

// The block decoder, field by field.
int32_t Clamp255(int32_t value) { return value < 0 ? 0 : value > 255 ? 255 : value; }

void Decode(uint32_t high, uint32_t low, uint8_t* pixels) {
    const int32_t modifiers[8][2] = {{2, 8}, {5, 17}, {9, 29}, {13, 42}, {18, 60}, {24, 80}, {33, 106}, {47, 183}};
    int32_t base[2][3];
    for (int32_t channel = 0; channel < 3; ++channel) {
        int32_t shift = 24 - 8 * channel;
        if ((high & 2u) != 0) {
            int32_t first = static_cast<int32_t>((high >> (shift + 3)) & 31u);
            int32_t delta = static_cast<int32_t>((high >> shift) & 7u);
            if (delta >= 4) delta -= 8;
            base[0][channel] = Expand5Bits(first);
            base[1][channel] = Expand5Bits(first + delta);
        } else {
            base[0][channel] = Expand4Bits(static_cast<int32_t>((high >> (shift + 4)) & 15u));
            base[1][channel] = Expand4Bits(static_cast<int32_t>((high >> shift) & 15u));
        }
    }
    const int32_t codeword[2] = {static_cast<int32_t>((high >> 5) & 7u), static_cast<int32_t>((high >> 2) & 7u)};
    const bool flipped = (high & 1u) != 0;
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 4; ++x) {
            int32_t sub = flipped ? (y >= 2 ? 1 : 0) : (x >= 2 ? 1 : 0);
            int32_t bit = 4 * x + y;
            int32_t index = static_cast<int32_t>(((low >> (16 + bit)) & 1u) * 2 + ((low >> bit) & 1u));
            const int32_t* pair = modifiers[codeword[sub]];
            // Index 0: +a, 1: +b, 2: -a, 3: -b.
            int32_t modifier = index == 0 ? pair[0] : index == 1 ? pair[1] : index == 2 ? -pair[0] : -pair[1];
            for (int32_t channel = 0; channel < 3; ++channel) {
                pixels[3 * (4 * y + x) + channel] = static_cast<uint8_t>(Clamp255(base[sub][channel] + modifier));
            }
        }
    }
}

// Squared channel differences, each times its weight (1 is exact), in the x, y order of the measures.
double WeightedError(const uint8_t* source, const uint8_t* decoded, const double weight[3]) {
    double sum = 0.0;
    for (int32_t x = 0; x < 4; ++x) {
        for (int32_t y = 0; y < 4; ++y) {
            for (int32_t channel = 0; channel < 3; ++channel) {
                int32_t i = 3 * (4 * y + x) + channel;
                double d = static_cast<double>(source[i]) - static_cast<double>(decoded[i]);
                sum += (d * d) * weight[channel];
            }
        }
    }
    return sum;
}

double ErrorRGB(const uint8_t* source, const uint8_t* decoded) {
    const double weight[3] = {1.0, 1.0, 1.0};
    return WeightedError(source, decoded, weight);
}

double ErrorPerceptual(const uint8_t* source, const uint8_t* decoded) {
    const double weight[3] = {0.299, 0.587, 0.114};
    return WeightedError(source, decoded, weight);
}

using Builder = void (*)(const uint8_t*, uint32_t&, uint32_t&);
using Measure = double (*)(const uint8_t*, const uint8_t*);

void Choose(const uint8_t* block, uint8_t* scratch, Builder first, Builder second, Measure measure, uint32_t& highWord,
            uint32_t& lowWord) {
    uint32_t highA = 0, lowA = 0, highB = 0, lowB = 0;
    first(block, highA, lowA);
    Decode(highA, lowA, scratch);
    double errorA = measure(block, scratch);
    second(block, highB, lowB);
    Decode(highB, lowB, scratch);
    double errorB = measure(block, scratch);
    if (errorA > errorB) {
        highWord = highB;
        lowWord = lowB;
    } else {
        highWord = highA;
        lowWord = lowA;
    }
}

}  // namespace

void CompressBlockFastRounded(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord) {
    Build(block, false, Colours::Rounded, highWord, lowWord);
}

void CompressBlockFastHue(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord) {
    Build(block, false, Colours::Hue, highWord, lowWord);
}

void CompressBlockFastRoundedPerceptual(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord) {
    Build(block, true, Colours::Rounded, highWord, lowWord);
}

void CompressBlockFastHuePerceptual(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord) {
    Build(block, true, Colours::HuePerceptual, highWord, lowWord);
}

void CompressBlockFast(const uint8_t* block, uint8_t* scratch, uint32_t& highWord, uint32_t& lowWord) {
    Choose(block, scratch, CompressBlockFastRounded, CompressBlockFastHue, ErrorRGB, highWord, lowWord);
}

void CompressBlockFastPerceptual(const uint8_t* block, uint8_t* scratch, uint32_t& highWord, uint32_t& lowWord) {
    Choose(block, scratch, CompressBlockFastRoundedPerceptual, CompressBlockFastHuePerceptual, ErrorPerceptual,
           highWord, lowWord);
}

}  // namespace Etc1Reference
