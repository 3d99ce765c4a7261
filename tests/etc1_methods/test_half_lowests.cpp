// The least sums worked out for a block's four halves at once are those that
// preparing each half's tables gives, in every instruction-set build, for both
// measures, over the individual codes and over windows of 5-bit codes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "etc1/ETC1ColourSearch.h"
#include "etc1_reference/BlockSamples.h"

using namespace ETC1Encoder;

namespace {

struct BoxCase {
    const char* name;
    int32_t bits;
    CodeBox box;
};

void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.name; }

const BoxCase kBoxes[] = {
    {"IndividualCodes", 4, {{0, 0, 0}, {14, 14, 14}}},
    {"MiddleWindow", 5, {{12, 13, 10}, {18, 19, 16}}},
    {"WindowsAtTheEnds", 5, {{0, 21, 0}, {10, 31, 6}}},
    {"UnevenWindow", 5, {{5, 9, 20}, {15, 19, 31}}},
};

constexpr InstructionSet kInstructionSets[] = {InstructionSet::Avx512, InstructionSet::Avx2, InstructionSet::AnyProcessor};

class HalfLowests : public testing::TestWithParam<BoxCase> {};

TEST_P(HalfLowests, MatchPreparedTables) {
    const BoxCase& box = GetParam();
    const std::vector<Etc1Reference::RgbBlock> blocks = Etc1Reference::VariedBlocks(400, 77u);
    static HalfTables scratch, prepared;
    int32_t failures = 0;
    for (InstructionSet set : kInstructionSets) {
        if (!ColourSearchAvailable(set)) continue;
        const ColourSearchKernel& kernel = ColourSearchFor(set);
        for (ErrorMeasure measure : {ErrorMeasure::Plain, ErrorMeasure::Perceptual}) {
            for (const Etc1Reference::RgbBlock& block : blocks) {
                uint32_t lowest[4];
                kernel.halfLowests(scratch, block.data(), measure, box.bits, box.box, lowest);
                for (int32_t half = 0; half < 4; ++half) {
                    const HalfShape shape = half < 2 ? HalfShape::Tall : HalfShape::Wide;
                    kernel.prepare(prepared, GatherHalf(block.data(), shape, 2 * (half % 2)), measure, shape, box.bits,
                                   box.box);
                    if (lowest[half] == prepared.lowest) continue;
                    if (++failures <= 5) {
                        ADD_FAILURE() << "instruction set " << static_cast<int>(set) << ", measure "
                                      << static_cast<int>(measure) << ", half " << half << ": " << lowest[half]
                                      << " against " << prepared.lowest;
                    }
                }
            }
        }
    }
    EXPECT_EQ(failures, 0);
}

INSTANTIATE_TEST_SUITE_P(Boxes, HalfLowests, testing::ValuesIn(kBoxes),
                         [](const testing::TestParamInfo<BoxCase>& info) { return std::string(info.param.name); });

}  // namespace
