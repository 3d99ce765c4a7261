// Runs a modifier search and its step-by-step reference on the same half, base
// and bound, and compares all outputs. (The searches' row kernels are held
// against each other in test_modifier_rows.cpp.)
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "etc1/ETC1ModifierSearch.h"
#include "reference/BlockPatterns.h"
#include "reference/ModifierSearchReference.h"


namespace SearchComparison {

using namespace ETC1Encoder;

struct Outcome {
    int64_t result = 0;
    int32_t row = -7;  // sentinels: outputs that are not written keep them
    uint32_t msb = 0xDEADBEEF;
    uint32_t lsb = 0xFEEDFACE;
    bool operator==(const Outcome&) const = default;
};

inline std::string Describe(const Outcome& o) {
    return "result " + std::to_string(o.result) + " row " + std::to_string(o.row) + " msb " + std::to_string(o.msb) +
           " lsb " + std::to_string(o.lsb);
}

template <typename Search, typename Bound>
Outcome Run(Search search, const uint8_t* block, int32_t first, const uint8_t* base, Bound bound) {
    Outcome outcome;
    outcome.result = static_cast<int64_t>(search(block, first, base, outcome.row, outcome.msb, outcome.lsb, bound));
    return outcome;
}

// The reference's outcome, after checking that the search agrees.
template <typename Ref, typename Search, typename Bound>
Outcome CompareMember(const char* member, Ref reference, Search search, const uint8_t* block, int32_t first,
                      const uint8_t* base, Bound bound) {
    Outcome expected = Run(reference, block, first, base, bound);
    auto check = [&](const char* name, const Outcome& actual) {
        EXPECT_EQ(actual, expected) << member << " " << name << " half " << first << " base " << int(base[0]) << ","
                                    << int(base[1]) << "," << int(base[2]) << " bound " << bound << ": "
                                    << Describe(actual) << " expected " << Describe(expected);
    };
    check("search", Run(search, block, first, base, bound));
    return expected;
}

inline Outcome CompareTall(const uint8_t* block, int32_t column, const uint8_t* base, int32_t bound) {
    return CompareMember("Tall", Reference::SearchTall, ModifierSearchTall, block, column, base, bound);
}

inline Outcome CompareWide(const uint8_t* block, int32_t row, const uint8_t* base, int32_t bound) {
    return CompareMember("Wide", Reference::SearchWide, ModifierSearchWide, block, row, base, bound);
}

inline Outcome CompareTallPerceptual(const uint8_t* block, int32_t column, const uint8_t* base, uint32_t bound) {
    return CompareMember("TallPerceptual", Reference::SearchTallPerceptual, ModifierSearchTallPerceptual, block, column,
                         base, bound);
}

inline Outcome CompareWidePerceptual(const uint8_t* block, int32_t row, const uint8_t* base, double bound) {
    return CompareMember("WidePerceptual", Reference::SearchWidePerceptual, ModifierSearchWidePerceptual, block, row,
                         base, bound);
}

// Base colours worth trying for a half: near its average (as the encoders
// choose them), anywhere, and at the ends of the range where candidates clamp.
inline std::array<uint8_t, 3> PickBase(Reference::BlockGenerator& random, const uint8_t* block) {
    std::array<uint8_t, 3> base{};
    int32_t kind = random.Uniform(0, 3);
    for (int32_t c = 0; c < 3; ++c) {
        int32_t value = 0;
        switch (kind) {
            case 0:
                value = block[c] + random.Uniform(-12, 12);
                break;
            case 1:
                value = random.Uniform(0, 255);
                break;
            case 2:
                value = random.Uniform(0, 1) != 0 ? random.Uniform(0, 10) : random.Uniform(245, 255);
                break;
            default:
                value = (random.Uniform(0, 31) * 255) / 31;
                break;
        }
        base[c] = static_cast<uint8_t>(value < 0 ? 0 : (value > 255 ? 255 : value));
    }
    return base;
}

// Plain bounds around the unbounded result R: every error lies below the first
// two; 0 and R leave the outputs untouched; R + 1 takes exactly the best row.
inline std::vector<int32_t> PlainBounds(Reference::BlockGenerator& random, int64_t best) {
    int32_t r = static_cast<int32_t>(best);
    return {3121200, 1560600, 0, r, r + 1, r + random.Uniform(2, 5000), random.Uniform(-5, 200000)};
}

inline std::vector<uint32_t> TallPerceptualBounds(Reference::BlockGenerator& random, int64_t best) {
    uint32_t r = static_cast<uint32_t>(best);
    return {1560600u,
            0u,
            r,
            r + 1u,
            r + static_cast<uint32_t>(random.Uniform(2, 3000)),
            static_cast<uint32_t>(random.Uniform(0, 70000))};
}

// Near the best, single precision decides whether a row is given up.
inline std::vector<double> WidePerceptualBounds(Reference::BlockGenerator& random, int64_t best) {
    double r = static_cast<double>(best);
    return {1560600.0,
            0.0,
            r,
            r + 0.001,
            r + 0.0005,
            r + 1.0,
            r + 0.999,
            r + random.Uniform(0, 1000000) / 1e6,
            random.Uniform(0, 70000000) / 1000.0};
}

}  // namespace SearchComparison
