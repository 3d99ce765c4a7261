#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "etc1/ETC1Cache.h"
#include "etc1/ETC1Hash.h"

using namespace ETC1Encoder;

namespace {

using Block = std::array<uint8_t, 48>;

Block Filled(uint8_t value) {
    Block block;
    block.fill(value);
    return block;
}

Block Counting() {
    Block block;
    for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<uint8_t>(i);
    return block;
}

struct HashCase {
    const char* name;
    Block block;
    uint64_t key;
    uint64_t hash;
    uint32_t index;
};

void PrintTo(const HashCase& c, std::ostream* os) { *os << c.name; }


class HashKnownAnswers : public testing::TestWithParam<HashCase> {};

TEST_P(HashKnownAnswers, GiveKeyHashAndIndex) {
    const HashCase& c = GetParam();
    uint64_t key = 1;
    uint64_t hash = 1;
    HashETC1Block(c.block.data(), key, hash);
    EXPECT_EQ(key, c.key);
    EXPECT_EQ(hash, c.hash);
    EXPECT_EQ(ETC1CacheIndex(hash), c.index);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, HashKnownAnswers,
    testing::Values(HashCase{"Black", Filled(0), 0, 0, 0},
                    HashCase{"Counting", Counting(), 0xD4A74287598723A1u, 0xBB185109C74E77BDu, 7135548},
                    HashCase{"White", Filled(0xFF), 0x1588B7B905E19020u, 0xA48B2261427FFE4Au, 3178207}),
    [](const testing::TestParamInfo<HashCase>& info) { return info.param.name; });

}  // namespace
