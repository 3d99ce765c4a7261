// The fast Medium and Slow compressors give the reference's words on varied
// blocks, in every instruction-set build of their colour searches. The default run holds
// a sample per method; BWVOQ_LONG_ETC1=1 holds 200,000 blocks per method.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "etc1/ETC1BlockSearch.h"
#include "etc1_reference/BlockSamples.h"
#include "etc1_reference/ReferenceMethods.h"

using namespace ETC1Encoder;

namespace {

using Compressor = void (*)(const uint8_t*, uint32_t&, uint32_t&);

struct Method {
    const char* name;
    ErrorMeasure measure;
    const WindowRules* rules;
    Compressor reference;
    int32_t sampleBlocks;  // how many blocks the default run compares
};

void PrintTo(const Method& c, std::ostream* os) { *os << c.name; }


const Method kMethods[] = {
    {"Medium", ErrorMeasure::Plain, &kMediumRules, Etc1Reference::CompressBlockMedium, 3000},
    {"MediumPerceptual", ErrorMeasure::Perceptual, &kMediumRules, Etc1Reference::CompressBlockMediumPerceptual, 3000},
    {"Slow", ErrorMeasure::Plain, &kSlowRules, Etc1Reference::CompressBlockSlow, 600},
    {"SlowPerceptual", ErrorMeasure::Perceptual, &kSlowRules, Etc1Reference::CompressBlockSlowPerceptual, 600},
};

constexpr InstructionSet kInstructionSets[] = {InstructionSet::Avx512, InstructionSet::Avx2, InstructionSet::AnyProcessor};

bool LongRun() {
    const char* value = std::getenv("BWVOQ_LONG_ETC1");
    return value != nullptr && std::string(value) == "1";
}

std::string Describe(const Method& method, InstructionSet set, const Etc1Reference::RgbBlock& block,
                     uint32_t high, uint32_t low, uint32_t expectedHigh, uint32_t expectedLow) {
    std::ostringstream text;
    text << method.name << " instruction set " << static_cast<int>(set) << std::hex << ": got " << high << " " << low
         << ", expected " << expectedHigh << " " << expectedLow << std::dec << "\nblock";
    for (uint8_t byte : block) text << " " << static_cast<int>(byte);
    return text.str();
}

// Compares blocks [begin, end) in every instruction-set build; keeps the first few differences.
void CompareRange(const Method& method, const std::vector<Etc1Reference::RgbBlock>& blocks, size_t begin,
                  size_t end, std::atomic<int32_t>& mismatches, std::vector<std::string>& reports,
                  std::mutex& reportsLock) {
    for (size_t i = begin; i < end; ++i) {
        uint32_t expectedHigh = 0, expectedLow = 0;
        method.reference(blocks[i].data(), expectedHigh, expectedLow);
        for (InstructionSet set : kInstructionSets) {
            if (!ColourSearchAvailable(set)) continue;
            uint32_t high = 0, low = 0;
            SearchBlock(blocks[i].data(), method.measure, *method.rules, ColourSearchFor(set), high, low);
            if (high == expectedHigh && low == expectedLow) continue;
            if (++mismatches > 5) continue;
            std::lock_guard<std::mutex> hold(reportsLock);
            reports.push_back(Describe(method, set, blocks[i], high, low, expectedHigh, expectedLow));
        }
    }
}

class FastEqualsReference : public testing::TestWithParam<Method> {};

TEST_P(FastEqualsReference, OnVariedBlocks) {
    const Method& method = GetParam();
    std::vector<Etc1Reference::RgbBlock> blocks =
        Etc1Reference::VariedBlocks(LongRun() ? 200000 : method.sampleBlocks, 20240611u);
    size_t threads = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 8);
    std::atomic<int32_t> mismatches{0};
    std::vector<std::string> reports;
    std::mutex reportsLock;
    std::vector<std::thread> workers;
    for (size_t t = 0; t < threads; ++t) {
        workers.emplace_back(CompareRange, std::cref(method), std::cref(blocks), blocks.size() * t / threads,
                             blocks.size() * (t + 1) / threads, std::ref(mismatches), std::ref(reports),
                             std::ref(reportsLock));
    }
    for (std::thread& worker : workers) worker.join();
    for (const std::string& report : reports) ADD_FAILURE() << report;
    EXPECT_EQ(mismatches.load(), 0) << "of " << blocks.size() << " blocks";
}

INSTANTIATE_TEST_SUITE_P(AllMethods, FastEqualsReference, testing::ValuesIn(kMethods),
                         [](const testing::TestParamInfo<Method>& info) { return std::string(info.param.name); });

// Flat halves whose 5-bit centres differ by `step` in one channel, on both sides
// of both methods' gates (-7..6 and -9..8), side by side and one above the other.
Etc1Reference::RgbBlock SplitAtStep(int32_t step, int32_t channel, bool sideBySide) {
    const int32_t first = 12;
    auto colourOf = [](int32_t code) { return (code * 255 + 15) / 31; };
    Etc1Reference::RgbBlock block{};
    for (int32_t pixel = 0; pixel < 16; ++pixel) {
        bool second = (sideBySide ? pixel % 4 : pixel / 4) >= 2;
        for (int32_t c = 0; c < 3; ++c) {
            int32_t code = c == channel && second ? first + step : first;
            block[3 * pixel + c] = static_cast<uint8_t>(colourOf(code) + (c + pixel) % 3);
        }
    }
    return block;
}

TEST_P(FastEqualsReference, AtTheModeGates) {
    const Method& method = GetParam();
    for (int32_t step : {-10, -9, -8, -7, -6, 6, 7, 8, 9}) {
        for (int32_t channel = 0; channel < 3; ++channel) {
            for (bool sideBySide : {true, false}) {
                Etc1Reference::RgbBlock block = SplitAtStep(step, channel, sideBySide);
                uint32_t expectedHigh = 0, expectedLow = 0, high = 0, low = 0;
                method.reference(block.data(), expectedHigh, expectedLow);
                SearchBlock(block.data(), method.measure, *method.rules, FastestColourSearch(), high, low);
                EXPECT_EQ(high, expectedHigh) << "step " << step << " channel " << channel;
                EXPECT_EQ(low, expectedLow) << "step " << step << " channel " << channel;
            }
        }
    }
}

}  // namespace
