// The tables of a block's halves, in every instruction-set build:
// - the least sums worked out for all four halves at once are those that
//   preparing each half gives, for both measures, over the individual codes and
//   over windows of 5-bit codes;
// - the quick bounds on them never exceed them, and meet them where a half's
//   pixels are all alike (one R code then serves every pixel);
// - a half prepared from quarters that other halves of the block left behind
//   gets the tables of one prepared from empty quarters.
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
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
    static BlockQuarters quarters;
    int32_t failures = 0;
    for (InstructionSet set : kInstructionSets) {
        if (!ColourSearchAvailable(set)) continue;
        const ColourSearchKernel& kernel = ColourSearchFor(set);
        for (ErrorMeasure measure : {ErrorMeasure::Plain, ErrorMeasure::Perceptual}) {
            for (const Etc1Reference::RgbBlock& block : blocks) {
                uint32_t lowest[4], bounds[4];
                kernel.halfLowests(scratch, block.data(), measure, box.bits, box.box, lowest);
                kernel.halfLowerBounds(scratch, block.data(), measure, box.bits, box.box, bounds);
                for (int32_t half = 0; half < 4; ++half) {
                    if (bounds[half] > lowest[half] && ++failures <= 5) {
                        ADD_FAILURE() << "bound " << bounds[half] << " above the least sum " << lowest[half];
                    }
                    const HalfShape shape = half < 2 ? HalfShape::Tall : HalfShape::Wide;
                    ForgetQuarters(quarters);
                    kernel.prepare(prepared, quarters, GatherHalf(block.data(), shape, 2 * (half % 2)), 2 * (half % 2),
                                   measure, shape, box.bits, box.box);
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

TEST_P(HalfLowests, BoundsMeetThemOnFlatBlocks) {
    const BoxCase& box = GetParam();
    static HalfTables scratch;
    for (InstructionSet set : kInstructionSets) {
        if (!ColourSearchAvailable(set)) continue;
        const ColourSearchKernel& kernel = ColourSearchFor(set);
        for (int32_t value : {0, 3, 77, 128, 200, 254}) {
            Etc1Reference::RgbBlock block{};
            for (int32_t i = 0; i < 48; ++i) block[i] = static_cast<uint8_t>((value + 41 * (i % 3)) % 256);
            uint32_t lowest[4], bounds[4];
            kernel.halfLowests(scratch, block.data(), ErrorMeasure::Perceptual, box.bits, box.box, lowest);
            kernel.halfLowerBounds(scratch, block.data(), ErrorMeasure::Perceptual, box.bits, box.box, bounds);
            for (int32_t half = 0; half < 4; ++half) EXPECT_EQ(bounds[half], lowest[half]) << "value " << value;
        }
    }
}

// One step of a sequence of preparations over one block's quarters.
struct Step {
    int32_t half;  // tall at column 0, 2, wide at row 0, 2
    ErrorMeasure measure;
    int32_t bits;
    CodeBox box;
};

void ExpectSameTables(const HalfTables& reused, const HalfTables& fresh, const std::string& where) {
    EXPECT_EQ(reused.lowest, fresh.lowest) << where;
    for (int32_t code = fresh.box.low[0]; code <= fresh.box.high[0]; ++code) {
        const int32_t index = code - fresh.box.low[0];
        for (int32_t row = 0; row < kTableRows; ++row) {
            ASSERT_EQ(reused.rowBounds[index][row], fresh.rowBounds[index][row]) << where << " code " << code;
        }
        for (int32_t pixel = 0; pixel < kHalfPixels; ++pixel) {
            const uint32_t* a = reused.pixelRed[pixel] + code * kQuarterEntries;
            const uint32_t* b = fresh.pixelRed[pixel] + code * kQuarterEntries;
            const uint32_t* blueA = reused.pixelBlue[pixel];
            const uint32_t* blueB = fresh.pixelBlue[pixel];
            for (int32_t entry = 0; entry < 32; ++entry) {
                ASSERT_EQ(a[entry], b[entry]) << where << " R code " << code << " pixel " << pixel;
                ASSERT_EQ(blueA[entry], blueB[entry]) << where << " least B, pixel " << pixel;
            }
        }
    }
}

TEST(PreparedHalves, ReusedQuartersGiveTheTablesOfEmptyOnes) {
    constexpr CodeBox kWindow{{12, 13, 10}, {18, 19, 16}};
    constexpr CodeBox kRedShifted{{14, 13, 10}, {20, 19, 16}};
    constexpr CodeBox kGreenShifted{{12, 14, 10}, {18, 20, 16}};
    constexpr CodeBox kIndividual{{0, 0, 0}, {14, 14, 14}};
    const Step steps[] = {
        {0, ErrorMeasure::Perceptual, 5, kWindow},       {1, ErrorMeasure::Perceptual, 5, kWindow},
        {2, ErrorMeasure::Perceptual, 5, kRedShifted},   {3, ErrorMeasure::Perceptual, 5, kGreenShifted},
        {0, ErrorMeasure::Perceptual, 5, kGreenShifted}, {2, ErrorMeasure::Plain, 5, kWindow},
        {1, ErrorMeasure::Plain, 4, kIndividual},        {3, ErrorMeasure::Plain, 5, kRedShifted},
        {1, ErrorMeasure::Plain, 5, kRedShifted},
    };
    const std::vector<Etc1Reference::RgbBlock> blocks = Etc1Reference::VariedBlocks(60, 5u);
    static HalfTables reused, fresh;
    static BlockQuarters shared, empty;
    for (InstructionSet set : kInstructionSets) {
        if (!ColourSearchAvailable(set)) continue;
        const ColourSearchKernel& kernel = ColourSearchFor(set);
        for (size_t b = 0; b < blocks.size(); ++b) {
            ForgetQuarters(shared);
            for (size_t s = 0; s < std::size(steps); ++s) {
                const Step& step = steps[s];
                const HalfShape shape = step.half < 2 ? HalfShape::Tall : HalfShape::Wide;
                const int32_t first = 2 * (step.half % 2);
                const HalfPixels pixels = GatherHalf(blocks[b].data(), shape, first);
                kernel.prepare(reused, shared, pixels, first, step.measure, shape, step.bits, step.box);
                ForgetQuarters(empty);
                kernel.prepare(fresh, empty, pixels, first, step.measure, shape, step.bits, step.box);
                ExpectSameTables(reused, fresh,
                                 "instruction set " + std::to_string(static_cast<int>(set)) + ", block " +
                                     std::to_string(b) + ", step " + std::to_string(s));
                if (HasFatalFailure()) return;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Boxes, HalfLowests, testing::ValuesIn(kBoxes),
                         [](const testing::TestParamInfo<BoxCase>& info) { return std::string(info.param.name); });

}  // namespace
