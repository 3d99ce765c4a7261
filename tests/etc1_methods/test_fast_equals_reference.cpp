// The fast Medium and Slow compressors give the reference's words on varied
// blocks, in every instruction-set build of their sweeps. The long run holds
// 200,000 blocks per method (BWVOQ_LONG_ETC1=1); the default run a sample.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "etc1/BlockSearch.h"
#include "etc1/ETC1ModifierTable.h"
#include "etc1_reference/BlockSamples.h"
#include "etc1_reference/ReferenceMethods.h"

namespace {

using Compressor = void (*)(const uint8_t*, uint32_t&, uint32_t&);

struct Method {
    const char* name;
    ErrorMeasure measure;
    const WindowRules* rules;
    Compressor reference;
    int32_t sampleBlocks;  // how many blocks the default run compares
};

const Method kMethods[] = {
    {"Medium", ErrorMeasure::Plain, &kMediumRules, Etc1Reference::CompressBlockMedium, 3000},
    {"MediumPerceptual", ErrorMeasure::Perceptual, &kMediumRules, Etc1Reference::CompressBlockMediumPerceptual, 3000},
    {"Slow", ErrorMeasure::Plain, &kSlowRules, Etc1Reference::CompressBlockSlow, 400},
    {"SlowPerceptual", ErrorMeasure::Perceptual, &kSlowRules, Etc1Reference::CompressBlockSlowPerceptual, 400},
};

constexpr SweepFlavour kFlavours[] = {SweepFlavour::Avx512, SweepFlavour::Avx2, SweepFlavour::AnyProcessor};

int32_t BlockCount(const Method& method) {
    const char* longRun = std::getenv("BWVOQ_LONG_ETC1");
    return longRun != nullptr && std::string(longRun) == "1" ? 200000 : method.sampleBlocks;
}

class FastEqualsReference : public testing::TestWithParam<Method> {
protected:
    static void SetUpTestSuite() { InitETC1ModifierTable(); }
};

TEST_P(FastEqualsReference, OnVariedBlocks) {
    const Method& method = GetParam();
    int32_t mismatches = 0;
    for (const Etc1Reference::RgbBlock& block : Etc1Reference::VariedBlocks(BlockCount(method), 20240611u)) {
        uint32_t expectedHigh = 0, expectedLow = 0;
        method.reference(block.data(), expectedHigh, expectedLow);
        for (SweepFlavour flavour : kFlavours) {
            if (!HalfSweepAvailable(flavour)) continue;
            uint32_t high = 0, low = 0;
            SearchBlock(block.data(), method.measure, *method.rules, HalfSweepFor(flavour), high, low);
            if (high == expectedHigh && low == expectedLow) continue;
            if (++mismatches > 5) continue;
            std::string bytes;
            for (uint8_t byte : block) bytes += std::to_string(byte) + ",";
            ADD_FAILURE() << method.name << " flavour " << static_cast<int>(flavour) << std::hex << ": got " << high
                          << " " << low << ", expected " << expectedHigh << " " << expectedLow << std::dec
                          << "\nblock " << bytes;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

INSTANTIATE_TEST_SUITE_P(AllMethods, FastEqualsReference, testing::ValuesIn(kMethods),
                         [](const testing::TestParamInfo<Method>& info) { return std::string(info.param.name); });

}  // namespace
