// The Fast compressors and their candidate builders give the plain reference's
// words (and leave the reference's decoding in the scratch block) on varied
// blocks: the shared samples, half averages at the quantisers' edges, grey and
// nearly grey halves (where the hue quantisers tie) and blocks with many equal
// pixels. The default run holds 60,000 blocks per compressor; BWVOQ_LONG_ETC1=1
// holds 1,000,000.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "etc1/ETC1FastCandidates.h"
#include "etc1/ETC1FastMethods.h"
#include "etc1_reference/BlockSamples.h"
#include "etc1_reference/ReferenceFastMethods.h"

using namespace ETC1Encoder;

namespace {

using Etc1Reference::RgbBlock;
using Reference::BlockGenerator;

bool LongRun() {
    const char* value = std::getenv("BWVOQ_LONG_ETC1");
    return value != nullptr && std::string(value) == "1";
}

int32_t BlockCount(int32_t normal, int32_t longRun) { return LongRun() ? longRun : normal; }

// Channel sums of a half (eight pixels) that sit on or next to a quantiser's
// edge: 5-bit and 4-bit rounding points, hue levels of step 255/31 and 17, and
// 8 above a 4-bit level, where all-low and all-high trade places.
int32_t EdgeSum(BlockGenerator& generator) {
    const int32_t kind = generator.Uniform(0, 4);
    const int32_t level = generator.Uniform(0, kind % 2 == 0 ? 31 : 15);
    double average = 0.0;
    switch (kind) {
        case 0:
            average = (level + 0.5) * 255.0 / 31.0;
            break;
        case 1:
            average = (level + 0.5) * 17.0;
            break;
        case 2:
            average = level * 255.0 / 31.0;
            break;
        case 3:
            average = level * 17.0;
            break;
        default:
            average = level / 2 * 17.0 + 8.0;
            break;
    }
    int32_t sum = static_cast<int32_t>(average * 8.0 + 0.5) + generator.Uniform(-2, 2);
    return std::clamp(sum, 0, 8 * 255);
}

// Eight pixels of one channel adding up to `sum`, as uneven as `spread` allows.
void SpreadSum(BlockGenerator& generator, int32_t sum, int32_t spread, int32_t values[8]) {
    for (int32_t i = 0; i < 8; ++i) values[i] = sum / 8 + (i < sum % 8 ? 1 : 0);
    for (int32_t n = 0; n < 8; ++n) {
        int32_t from = generator.Uniform(0, 7);
        int32_t to = generator.Uniform(0, 7);
        int32_t amount = generator.Uniform(0, spread);
        amount = std::min({amount, values[from], 255 - values[to]});
        values[from] -= amount;
        values[to] += amount;
    }
}

// Pixel i of the half at `first` (0 or 2), tall or wide.
int32_t HalfPixelOffset(bool tall, int32_t first, int32_t i) {
    int32_t x = tall ? first + i / 4 : i / 2;
    int32_t y = tall ? i % 4 : first + i % 2;
    return 3 * (4 * y + x);
}

RgbBlock QuantiserEdges(BlockGenerator& generator) {
    const bool tall = generator.Uniform(0, 1) == 0;
    const int32_t spread = generator.Uniform(0, 1) == 0 ? 0 : generator.Uniform(1, 40);
    RgbBlock block{};
    const bool grey = generator.Uniform(0, 1) == 0;
    for (int32_t first : {0, 2}) {
        const int32_t greySum = EdgeSum(generator);
        for (int32_t channel = 0; channel < 3; ++channel) {
            int32_t values[8];
            SpreadSum(generator, grey ? greySum : EdgeSum(generator), spread, values);
            for (int32_t i = 0; i < 8; ++i)
                block[HalfPixelOffset(tall, first, i) + channel] = static_cast<uint8_t>(values[i]);
        }
    }
    return block;
}

// Grey pixels, or greys with one channel a step off: the hue combinations tie.
RgbBlock NearlyGrey(BlockGenerator& generator) {
    const int32_t centre = generator.Uniform(0, 255);
    const int32_t range = generator.Uniform(0, 30);
    const int32_t offChannel = generator.Uniform(0, 3);  // 3: all grey
    const int32_t offset = generator.Uniform(-3, 3);
    RgbBlock block{};
    for (int32_t pixel = 0; pixel < 16; ++pixel) {
        int32_t grey = std::clamp(centre + generator.Uniform(-range, range), 0, 255);
        for (int32_t channel = 0; channel < 3; ++channel) {
            int32_t value = channel == offChannel ? grey + offset : grey;
            block[3 * pixel + channel] = static_cast<uint8_t>(std::clamp(value, 0, 255));
        }
    }
    return block;
}

// Two or three colours placed by halves and quarters: equal pixels, equal halves.
RgbBlock Quarters(BlockGenerator& generator) {
    int32_t palette[3][3];
    for (auto& colour : palette) {
        for (int32_t& channel : colour)
            channel = generator.Uniform(0, 1) == 0 ? generator.Uniform(0, 255) : 17 * generator.Uniform(0, 15);
    }
    const int32_t used = generator.Uniform(2, 3);
    int32_t quarterColour[4];
    for (int32_t& colour : quarterColour) colour = generator.Uniform(0, used - 1);
    RgbBlock block{};
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 4; ++x) {
            const int32_t* colour = palette[quarterColour[2 * (y / 2) + x / 2]];
            for (int32_t channel = 0; channel < 3; ++channel)
                block[3 * (4 * y + x) + channel] = static_cast<uint8_t>(colour[channel]);
        }
    }
    return block;
}

std::vector<RgbBlock> FastSamples(int32_t count, uint32_t seed) {
    std::vector<RgbBlock> blocks = Etc1Reference::VariedBlocks(count / 2, seed);
    BlockGenerator generator(seed + 1);
    while (static_cast<int32_t>(blocks.size()) < count) {
        switch (blocks.size() % 3) {
            case 0:
                blocks.push_back(QuantiserEdges(generator));
                break;
            case 1:
                blocks.push_back(NearlyGrey(generator));
                break;
            default:
                blocks.push_back(Quarters(generator));
                break;
        }
    }
    return blocks;
}

struct Outcome {
    uint32_t high = 0;
    uint32_t low = 0;
    RgbBlock scratch{};
    bool operator==(const Outcome&) const = default;
};

using Compressor = void (*)(const uint8_t*, uint8_t*, uint32_t&, uint32_t&);
using Builder = void (*)(const uint8_t*, uint32_t&, uint32_t&);

Outcome Compress(Compressor compressor, const RgbBlock& block) {
    Outcome outcome;
    compressor(block.data(), outcome.scratch.data(), outcome.high, outcome.low);
    return outcome;
}

Outcome Build(Builder builder, const RgbBlock& block) {
    Outcome outcome;
    builder(block.data(), outcome.high, outcome.low);
    return outcome;
}

std::string Describe(const char* name, const RgbBlock& block, const Outcome& actual, const Outcome& expected) {
    std::ostringstream text;
    text << name << std::hex << ": got " << actual.high << " " << actual.low << ", expected " << expected.high << " "
         << expected.low << std::dec << (actual.scratch == expected.scratch ? "" : ", scratch differs") << "\nblock";
    for (uint8_t byte : block) text << " " << static_cast<int>(byte);
    return text.str();
}

// Runs `compare` (true when equal) on every block over a few threads; keeps the first differences.
template <typename Compare>
void ExpectAllEqual(const char* name, const std::vector<RgbBlock>& blocks, Compare compare) {
    const size_t threads = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 8);
    std::atomic<int32_t> mismatches{0};
    std::vector<std::string> reports;
    std::mutex reportsLock;
    auto work = [&](size_t begin, size_t end) {
        for (size_t i = begin; i < end; ++i) {
            Outcome actual, expected;
            if (compare(blocks[i], actual, expected)) continue;
            if (++mismatches > 5) continue;
            std::lock_guard<std::mutex> hold(reportsLock);
            reports.push_back(Describe(name, blocks[i], actual, expected));
        }
    };
    std::vector<std::thread> workers;
    for (size_t t = 0; t < threads; ++t) {
        workers.emplace_back(work, blocks.size() * t / threads, blocks.size() * (t + 1) / threads);
    }
    for (std::thread& worker : workers) worker.join();
    for (const std::string& report : reports) ADD_FAILURE() << report;
    EXPECT_EQ(mismatches.load(), 0) << name << ": of " << blocks.size() << " blocks";
}

struct MethodCase {
    const char* name;
    Compressor fast;
    Compressor reference;
};

void PrintTo(const MethodCase& c, std::ostream* os) { *os << c.name; }


class FastMethodsEqualReference : public testing::TestWithParam<MethodCase> {};

TEST_P(FastMethodsEqualReference, WordsAndScratchOnVariedBlocks) {
    const MethodCase& method = GetParam();
    std::vector<RgbBlock> blocks = FastSamples(BlockCount(60000, 1000000), 20240707u);
    ExpectAllEqual(method.name, blocks, [&](const RgbBlock& block, Outcome& actual, Outcome& expected) {
        actual = Compress(method.fast, block);
        expected = Compress(method.reference, block);
        return actual == expected;
    });
}

INSTANTIATE_TEST_SUITE_P(Methods, FastMethodsEqualReference,
                         testing::Values(MethodCase{"Fast", CompressBlockFast, Etc1Reference::CompressBlockFast},
                                         MethodCase{"FastPerceptual", CompressBlockFastPerceptual,
                                                    Etc1Reference::CompressBlockFastPerceptual}),
                         [](const testing::TestParamInfo<MethodCase>& info) { return std::string(info.param.name); });

struct BuilderCase {
    const char* name;
    Builder fast;
    Builder reference;
};

void PrintTo(const BuilderCase& c, std::ostream* os) { *os << c.name; }


class FastBuildersEqualReference : public testing::TestWithParam<BuilderCase> {};

TEST_P(FastBuildersEqualReference, WordsOnVariedBlocks) {
    const BuilderCase& builder = GetParam();
    std::vector<RgbBlock> blocks = FastSamples(BlockCount(20000, 250000), 20240708u);
    ExpectAllEqual(builder.name, blocks, [&](const RgbBlock& block, Outcome& actual, Outcome& expected) {
        actual = Build(builder.fast, block);
        expected = Build(builder.reference, block);
        return actual == expected;
    });
}

INSTANTIATE_TEST_SUITE_P(Builders, FastBuildersEqualReference,
                         testing::Values(BuilderCase{"Rounded", CompressBlockFastRounded,
                                                     Etc1Reference::CompressBlockFastRounded},
                                         BuilderCase{"Hue", CompressBlockFastHue, Etc1Reference::CompressBlockFastHue},
                                         BuilderCase{"RoundedPerceptual", CompressBlockFastRoundedPerceptual,
                                                     Etc1Reference::CompressBlockFastRoundedPerceptual},
                                         BuilderCase{"HuePerceptual", CompressBlockFastHuePerceptual,
                                                     Etc1Reference::CompressBlockFastHuePerceptual}),
                         [](const testing::TestParamInfo<BuilderCase>& info) { return std::string(info.param.name); });

}  // namespace
