#include <gtest/gtest.h>

#include <cstdint>

#include "etc1/ETC1Cache.h"

using namespace ETC1Encoder;

namespace {

class ResultCache : public testing::Test {
protected:
    void SetUp() override { EmptyETC1Cache(); }
};

struct Found {
    bool hit;
    uint32_t high;
    uint32_t low;
};

Found LookUp(uint64_t key, uint64_t hash) {
    Found found{false, 0, 0};
    found.hit = LookUpETC1Block(key, hash, found.high, found.low);
    return found;
}

TEST_F(ResultCache, AnEmptyTableMissesEveryKeyEvenTheBlackBlocks) {
    EXPECT_FALSE(LookUp(0, 0).hit);  // the black block: key 0, hash 0
    EXPECT_FALSE(LookUp(0x1234, 99).hit);
}

TEST_F(ResultCache, AStoreIsFoundWithItsWords) {
    StoreETC1Block(0xD4A74287598723A1u, 0xBB185109C74E77BDu, 0x11223344u, 0x55667788u);
    Found found = LookUp(0xD4A74287598723A1u, 0xBB185109C74E77BDu);
    ASSERT_TRUE(found.hit);
    EXPECT_EQ(found.high, 0x11223344u);
    EXPECT_EQ(found.low, 0x55667788u);
    // The whole key must match, its upper half as well as its lower half.
    EXPECT_FALSE(LookUp(0x00000000598723A1u, 0xBB185109C74E77BDu).hit);
    EXPECT_FALSE(LookUp(0xD4A7428700000000u, 0xBB185109C74E77BDu).hit);
}

TEST_F(ResultCache, TheLaterOfTwoBlocksOnOneEntryReplacesTheEarlier) {
    const uint64_t hash = 12345;
    const uint64_t sameIndex = hash + kETC1CacheEntryCount;
    ASSERT_EQ(ETC1CacheIndex(hash), ETC1CacheIndex(sameIndex));
    StoreETC1Block(1, hash, 10, 11);
    StoreETC1Block(2, sameIndex, 20, 21);
    EXPECT_FALSE(LookUp(1, hash).hit);
    Found found = LookUp(2, hash);  // a lookup goes by the index alone, then the key
    ASSERT_TRUE(found.hit);
    EXPECT_EQ(found.high, 20u);
    EXPECT_EQ(found.low, 21u);
    EXPECT_FALSE(LookUp(1, hash + 1).hit);
}

TEST_F(ResultCache, EmptyingForgetsEveryStore) {
    StoreETC1Block(0, 0, 7, 8);
    StoreETC1Block(5, kETC1CacheEntryCount - 1, 7, 8);
    ASSERT_TRUE(LookUp(0, 0).hit);
    EmptyETC1Cache();
    EXPECT_FALSE(LookUp(0, 0).hit);
    EXPECT_FALSE(LookUp(5, kETC1CacheEntryCount - 1).hit);
}

TEST_F(ResultCache, AStoreRightAfterEmptyingSurvivesTheEmptying) {
    StoreETC1Block(3, 3, 1, 2);
    EmptyETC1Cache();
    StoreETC1Block(4, 4, 5, 6);
    EXPECT_TRUE(LookUp(4, 4).hit);
    EXPECT_FALSE(LookUp(3, 3).hit);
}

}  // namespace
