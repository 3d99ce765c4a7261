// The nearest code clamped into a range of codes is as near as any code of
// that range, for every pixel value, modifier entry and range, with 5-bit and
// 4-bit codes: the colour searches' least errors over a box rest on it.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "etc1/ETC1ColourSearchNearestCodes.h"

using namespace ETC1Encoder;

namespace {

struct CodeWidth {
    const char* name;
    bool fiveBits;
    int32_t codes;
};

void PrintTo(const CodeWidth& c, std::ostream* os) { *os << c.name; }

int32_t Distance(bool fiveBits, int32_t value, int32_t code, int32_t entry) {
    const int32_t difference = value - CandidateValue(fiveBits, code, entry);
    return difference < 0 ? -difference : difference;
}

class NearestCodes : public testing::TestWithParam<CodeWidth> {};

TEST_P(NearestCodes, ClampedIntoAnyRangeIsAsNearAsTheRangesBest) {
    const CodeWidth& width = GetParam();
    int32_t failures = 0;
    for (int32_t value = 0; value < 256; ++value) {
        for (int32_t entry = 0; entry < kModifierEntries; ++entry) {
            const int32_t nearest = kNearestCodes.code[width.fiveBits ? 1 : 0][value][entry];
            ASSERT_LT(nearest, width.codes);
            for (int32_t low = 0; low < width.codes; ++low) {
                int32_t best = 256;
                for (int32_t high = low; high < width.codes; ++high) {
                    const int32_t distance = Distance(width.fiveBits, value, high, entry);
                    best = distance < best ? distance : best;
                    const int32_t clamped = nearest < low ? low : nearest > high ? high : nearest;
                    if (Distance(width.fiveBits, value, clamped, entry) == best) continue;
                    if (++failures <= 5) {
                        ADD_FAILURE() << "value " << value << " entry " << entry << " codes " << low << ".." << high
                                      << ": code " << clamped << " is not the nearest";
                    }
                }
            }
        }
    }
    EXPECT_EQ(failures, 0);
}

// Known answers: value 124 with modifier -8 (entry 0) is met exactly by the
// 5-bit code 16 (colour 132), and nearest by the 4-bit code 8 (136, giving 128).
// Modifier +183 (entry 31) clamps at 255, -8 at 0.
TEST(NearestCodeTable, KnownEntries) {
    EXPECT_EQ(kNearestCodes.code[1][124][0], 16);
    EXPECT_EQ(kNearestCodes.code[0][124][0], 8);
    EXPECT_EQ(CandidateValue(true, 31, kModifierEntries - 1), 255);
    EXPECT_EQ(CandidateValue(true, 0, 0), 0);
}

const CodeWidth kWidths[] = {{"FiveBits", true, 32}, {"FourBits", false, 16}};

INSTANTIATE_TEST_SUITE_P(Widths, NearestCodes, testing::ValuesIn(kWidths),
                         [](const testing::TestParamInfo<CodeWidth>& info) { return std::string(info.param.name); });

}  // namespace
