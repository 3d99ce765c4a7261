// The Fast compressors decide between their candidates without measuring both
// decodings in double precision; they must choose exactly as the plain
// procedure does: decode each candidate, measure it, keep the first unless the
// second is strictly better.
#include <gtest/gtest.h>

#include <cstdint>

#include "etc1/ETC1FastCandidates.h"
#include "etc1/ETC1FastMethods.h"
#include "image/ETC1BlockFormat.h"
#include "platform/ProcessorFeatures.h"
#include "reference/BlockPatterns.h"

using namespace ETC1Encoder;

namespace {

using Builder = void (*)(const uint8_t*, uint32_t&, uint32_t&);
using Measure = double (*)(const uint8_t*, const uint8_t*);

struct Choice {
    uint32_t high = 0;
    uint32_t low = 0;
    uint8_t scratch[48] = {};
};

Choice ChooseByMeasuring(const uint8_t* block, Builder first, Builder second, Measure measure) {
    Choice a;
    Choice b;
    first(block, a.high, a.low);
    ImageLib::DecodeETC1Block(a.high, a.low, a.scratch);
    second(block, b.high, b.low);
    ImageLib::DecodeETC1Block(b.high, b.low, b.scratch);
    bool secondWins = measure(block, a.scratch) > measure(block, b.scratch);
    Choice chosen = secondWins ? b : a;
    std::copy(b.scratch, b.scratch + 48, chosen.scratch);  // the scratch ends with the second decoding
    return chosen;
}

void ExpectSameChoice(const Reference::RgbBlock& block) {
    Choice plain = ChooseByMeasuring(block.data(), CompressBlockFastRounded, CompressBlockFastHue, BlockErrorRGB);
    Choice fast;
    CompressBlockFast(block.data(), fast.scratch, fast.high, fast.low);
    EXPECT_EQ(fast.high, plain.high);
    EXPECT_EQ(fast.low, plain.low);
    EXPECT_TRUE(std::equal(fast.scratch, fast.scratch + 48, plain.scratch));

    Choice perceptual = ChooseByMeasuring(block.data(), CompressBlockFastRoundedPerceptual,
                                          CompressBlockFastHuePerceptual, BlockErrorPerceptual);
    Choice fastPerceptual;
    CompressBlockFastPerceptual(block.data(), fastPerceptual.scratch, fastPerceptual.high, fastPerceptual.low);
    EXPECT_EQ(fastPerceptual.high, perceptual.high);
    EXPECT_EQ(fastPerceptual.low, perceptual.low);
    EXPECT_TRUE(std::equal(fastPerceptual.scratch, fastPerceptual.scratch + 48, perceptual.scratch));
}

TEST(FastShortcuts, ChooseAsMeasuringBothDecodingsDoes) {
    Reference::BlockGenerator random(31);
    for (int32_t n = 0; n < 60000; ++n) {
        ExpectSameChoice(random.NextOfAnyPattern());
        if (HasFailure()) return;
    }
}

TEST(FastShortcuts, PlainCandidateErrorIsTheErrorOfItsDecoding) {
    Reference::BlockGenerator random(32);
    for (int32_t n = 0; n < 20000; ++n) {
        Reference::RgbBlock block = random.NextOfAnyPattern();
        for (FastColours colours : {FastColours::Rounded, FastColours::Hue}) {
            FastCandidate candidate = BuildFastCandidate(block.data(), FastMeasure::Plain, colours);
            uint8_t decoded[48];
            ImageLib::DecodeETC1Block(candidate.high, FastLowWord(block.data(), FastMeasure::Plain, candidate),
                                      decoded);
            ASSERT_EQ(BlockErrorRGB(block.data(), decoded), static_cast<double>(candidate.error));
        }
    }
}

}  // namespace
