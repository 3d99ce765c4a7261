// Known answers of the Medium and Slow methods, for the fast compressors and the references alike.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "etc1/CompressBlockMedium.h"
#include "etc1/CompressBlockSlow.h"
#include "etc1/ETC1ModifierTable.h"
#include "etc1_reference/ReferenceMethods.h"

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

class KnownBlocks : public testing::TestWithParam<KnownBlock> {
protected:
    static void SetUpTestSuite() { InitETC1ModifierTable(); }
};

TEST_P(KnownBlocks, GiveTheirWords) {
    const KnownBlock& known = GetParam();
    Block block = MakeBlock(known.pattern);
    uint32_t high = 0xDEADBEEF, low = 0xDEADBEEF;
    known.compressor(block.data(), high, low);
    EXPECT_EQ(high, known.high) << known.method;
    EXPECT_EQ(low, known.low) << known.method;
}

INSTANTIATE_TEST_SUITE_P(MediumAndSlow, KnownBlocks, testing::ValuesIn(kKnownBlocks));

}  // namespace
