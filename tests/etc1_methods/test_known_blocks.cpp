// Known answers of the Medium and Slow methods, for the fast compressors and the references alike.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "etc1/ETC1BlockSearch.h"
#include "etc1_reference/ReferenceMethods.h"
#include "support/CaseNames.h"

using namespace ETC1Encoder;

namespace {

using Compressor = void (*)(const uint8_t*, uint32_t&, uint32_t&);
using Block = std::array<uint8_t, 48>;

enum class Pattern { Black, White, BlackLeftWhiteRight, BlackTopWhiteBottom };

Block MakeBlock(Pattern pattern) {
    Block block{};
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            bool white = pattern == Pattern::White || (pattern == Pattern::BlackLeftWhiteRight && x >= 2) ||
                         (pattern == Pattern::BlackTopWhiteBottom && y >= 2);
            for (int channel = 0; channel < 3; ++channel) block[3 * (4 * y + x) + channel] = white ? 255 : 0;
        }
    }
    return block;
}

struct KnownBlock {
    const char* method;
    Compressor compressor;
    Pattern pattern;
    uint32_t high;
    uint32_t low;
};

const char* PatternName(Pattern pattern) {
    constexpr const char* kNames[] = {"Black", "White", "BlackLeftWhiteRight", "BlackTopWhiteBottom"};
    return kNames[static_cast<int>(pattern)];
}

void PrintTo(const KnownBlock& c, std::ostream* os) { *os << c.method << " on " << PatternName(c.pattern); }


const KnownBlock kKnownBlocks[] = {
    {"Slow", CompressBlockSlow, Pattern::Black, 0x00000002, 0xFFFFFFFF},
    {"Slow", CompressBlockSlow, Pattern::White, 0xD0D0D06E, 0x0000FFFF},
    {"Slow", CompressBlockSlow, Pattern::BlackLeftWhiteRight, 0x0505051C, 0x00FFFFFF},
    {"SlowPerceptual", CompressBlockSlowPerceptual, Pattern::Black, 0x00000002, 0xFFFFFFFF},
    {"SlowPerceptual", CompressBlockSlowPerceptual, Pattern::White, 0xD0D0D06E, 0x0000FFFF},
    {"SlowPerceptual", CompressBlockSlowPerceptual, Pattern::BlackLeftWhiteRight, 0x0505051C, 0x00FFFFFF},
    {"Medium", CompressBlockMedium, Pattern::Black, 0x00000002, 0xFFFFFFFF},
    {"Medium", CompressBlockMedium, Pattern::White, 0xE0E0E04A, 0x0000FFFF},
    {"Medium", CompressBlockMedium, Pattern::BlackLeftWhiteRight, 0x0505051C, 0x00FFFFFF},
    {"Medium", CompressBlockMedium, Pattern::BlackTopWhiteBottom, 0x686868FE, 0x3333FFFF},
    {"MediumPerceptual", CompressBlockMediumPerceptual, Pattern::Black, 0x00000002, 0xFFFFFFFF},
    {"MediumPerceptual", CompressBlockMediumPerceptual, Pattern::White, 0xE0E0E04A, 0x0000FFFF},
    {"MediumPerceptual", CompressBlockMediumPerceptual, Pattern::BlackLeftWhiteRight, 0x0505051C, 0x00FFFFFF},
    {"MediumPerceptual", CompressBlockMediumPerceptual, Pattern::BlackTopWhiteBottom, 0x686868FE, 0x3333FFFF},
    {"Reference Slow", Etc1Reference::CompressBlockSlow, Pattern::White, 0xD0D0D06E, 0x0000FFFF},
    {"Reference Slow", Etc1Reference::CompressBlockSlow, Pattern::BlackLeftWhiteRight, 0x0505051C, 0x00FFFFFF},
    {"Reference SlowPerceptual", Etc1Reference::CompressBlockSlowPerceptual, Pattern::Black, 0x00000002, 0xFFFFFFFF},
    {"Reference Medium", Etc1Reference::CompressBlockMedium, Pattern::White, 0xE0E0E04A, 0x0000FFFF},
    {"Reference Medium", Etc1Reference::CompressBlockMedium, Pattern::BlackTopWhiteBottom, 0x686868FE, 0x3333FFFF},
    {"Reference MediumPerceptual", Etc1Reference::CompressBlockMediumPerceptual, Pattern::BlackLeftWhiteRight,
     0x0505051C, 0x00FFFFFF},
    {"Reference MediumPerceptual", Etc1Reference::CompressBlockMediumPerceptual, Pattern::BlackTopWhiteBottom,
     0x686868FE, 0x3333FFFF},
};

class KnownBlocks : public testing::TestWithParam<KnownBlock> {};

TEST_P(KnownBlocks, GiveTheirWords) {
    const KnownBlock& known = GetParam();
    Block block = MakeBlock(known.pattern);
    uint32_t high = 0xDEADBEEF, low = 0xDEADBEEF;
    known.compressor(block.data(), high, low);
    EXPECT_EQ(high, known.high) << known.method;
    EXPECT_EQ(low, known.low) << known.method;
}

INSTANTIATE_TEST_SUITE_P(MediumAndSlow, KnownBlocks, testing::ValuesIn(kKnownBlocks),
                         [](const testing::TestParamInfo<KnownBlock>& info) {
                             return CaseName(std::string(info.param.method) + " " + PatternName(info.param.pattern));
                         });

// Columns 0-1 hold red code `first`, columns 2-3 red code `first + step` (both
// 5-bit codes expanded), green and blue `grey` everywhere: the side-by-side
// halves are flat and quantise to exactly those codes, and they win over the
// stacked halves, whose shared modifier cannot follow red without moving green
// and blue. So the diff bit shows the side-by-side orientation's mode.
Block TwoRedColumns(int first, int step, uint8_t grey) {
    auto expand5 = [](int code) { return static_cast<uint8_t>((code << 3) | (code >> 2)); };
    Block block{};
    for (int pixel = 0; pixel < 16; ++pixel) {
        block[3 * pixel] = expand5(pixel % 4 < 2 ? first : first + step);
        block[3 * pixel + 1] = grey;
        block[3 * pixel + 2] = grey;
    }
    return block;
}

struct GateCase {
    const char* name;
    Compressor compressor;
    Compressor reference;
    int first;
    int step;
    uint8_t grey;
    uint32_t diffBit;
};

void PrintTo(const GateCase& c, std::ostream* os) { *os << c.name; }


// Medium searches one mode per orientation: -7 to +6 is differential, beyond is
// individual. Slow adds a differential candidate for -9 to +8 (not symmetric:
// 9 then 0 passes, 0 then 9 does not) and keeps it when it is not worse.
const GateCase kGateCases[] = {
    {"MediumUp6", CompressBlockMedium, Etc1Reference::CompressBlockMedium, 12, 6, 132, 1},
    {"MediumUp7", CompressBlockMedium, Etc1Reference::CompressBlockMedium, 12, 7, 132, 0},
    {"MediumDown7", CompressBlockMedium, Etc1Reference::CompressBlockMedium, 20, -7, 132, 1},
    {"MediumDown8", CompressBlockMedium, Etc1Reference::CompressBlockMedium, 20, -8, 132, 0},
    {"MediumUp6FromZero", CompressBlockMedium, Etc1Reference::CompressBlockMedium, 0, 6, 0, 1},
    {"MediumDown7From31", CompressBlockMedium, Etc1Reference::CompressBlockMedium, 31, -7, 255, 1},
    {"MediumPerceptualUp6", CompressBlockMediumPerceptual, Etc1Reference::CompressBlockMediumPerceptual, 12, 6, 0, 1},
    {"MediumPerceptualUp7", CompressBlockMediumPerceptual, Etc1Reference::CompressBlockMediumPerceptual, 12, 7, 0, 0},
    {"MediumPerceptualDown7", CompressBlockMediumPerceptual, Etc1Reference::CompressBlockMediumPerceptual, 20, -7, 255,
     1},
    {"MediumPerceptualDown8", CompressBlockMediumPerceptual, Etc1Reference::CompressBlockMediumPerceptual, 20, -8, 255,
     0},
    {"SlowUp8", CompressBlockSlow, Etc1Reference::CompressBlockSlow, 0, 8, 255, 1},
    {"SlowUp9", CompressBlockSlow, Etc1Reference::CompressBlockSlow, 0, 9, 255, 0},
    {"SlowDown9", CompressBlockSlow, Etc1Reference::CompressBlockSlow, 9, -9, 255, 1},
    {"SlowDown10", CompressBlockSlow, Etc1Reference::CompressBlockSlow, 20, -10, 255, 0},
    {"SlowPerceptualUp8", CompressBlockSlowPerceptual, Etc1Reference::CompressBlockSlowPerceptual, 0, 8, 255, 1},
    {"SlowPerceptualDown9", CompressBlockSlowPerceptual, Etc1Reference::CompressBlockSlowPerceptual, 9, -9, 255, 1},
    {"SlowPerceptualDown10", CompressBlockSlowPerceptual, Etc1Reference::CompressBlockSlowPerceptual, 20, -10, 255,
     0},
};

class ModeGates : public testing::TestWithParam<GateCase> {};

TEST_P(ModeGates, DecideTheSideBySideMode) {
    const GateCase& gate = GetParam();
    Block block = TwoRedColumns(gate.first, gate.step, gate.grey);
    uint32_t high = 0, low = 0, referenceHigh = 0, referenceLow = 0;
    gate.compressor(block.data(), high, low);
    gate.reference(block.data(), referenceHigh, referenceLow);
    EXPECT_EQ(high & 1, 0u) << "flip bit";
    EXPECT_EQ((high >> 1) & 1, gate.diffBit) << "diff bit";
    EXPECT_EQ(high, referenceHigh);
    EXPECT_EQ(low, referenceLow);
}

INSTANTIATE_TEST_SUITE_P(MediumAndSlow, ModeGates, testing::ValuesIn(kGateCases),
                         [](const testing::TestParamInfo<GateCase>& info) { return std::string(info.param.name); });

// Slow with centres 9 and 0 (or 0 and 8) apart: only the facing ends of the two
// windows pair up, so the red codes land on 4 and 0 (0 and 3), and green and
// blue at centre 31 stay inside its window 26-31.
TEST(SlowWindows, PairAtTheirFacingEnds) {
    struct Case {
        int first;
        int step;
        uint32_t high;
        uint32_t low;
    };
    for (const Case& known : {Case{9, -9, 0x24E3E362, 0x000000FF}, Case{0, 8, 0x03FCFC0E, 0x0000FF00}}) {
        Block block = TwoRedColumns(known.first, known.step, 255);
        for (Compressor compressor : {CompressBlockSlow, CompressBlockSlowPerceptual}) {
            uint32_t high = 0, low = 0;
            compressor(block.data(), high, low);
            EXPECT_EQ(high, known.high) << known.first << " " << known.step;
            EXPECT_EQ(low, known.low) << known.first << " " << known.step;
        }
    }
}

}  // namespace
