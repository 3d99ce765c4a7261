// The worker pool with a stand-in compressor whose words are a function of the
// block: every handed-out block must come back written, in its own place, and
// stored whole in the result cache, whatever the number of workers.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "etc1/ETC1Cache.h"
#include "etc1/ETC1WorkerPool.h"

using namespace ETC1Encoder;

namespace {

constexpr uint32_t kUnwritten = 0xDEADBEEFu;

using Block = std::array<uint8_t, kETC1BlockBytes>;

Block BlockNumbered(uint32_t n) {
    Block block{};
    std::memcpy(block.data(), &n, sizeof n);
    return block;
}

uint32_t HighWordOf(uint32_t n) { return n * 2654435761u + 1; }
uint32_t LowWordOf(uint32_t n) { return ~n; }

// Takes a little while, so that several workers are busy at once.
void StandInCompressor(const uint8_t* block, uint8_t*, uint32_t& high, uint32_t& low) {
    uint32_t n = 0;
    std::memcpy(&n, block, sizeof n);
    volatile uint32_t spin = 0;
    for (int i = 0; i < 2000; ++i) spin = spin + 1;
    high = HighWordOf(n);
    low = LowWordOf(n);
}

class WorkerPool : public testing::Test {
protected:
    void SetUp() override { EmptyETC1Cache(); }
    void TearDown() override { g_etc1PoolTestSettings = ETC1PoolTestSettings{}; }

    // Deals with `count` blocks as the driver does: hands each out when there
    // are workers, else compresses it in place; block n is keyed n.
    static std::vector<uint32_t> CompressAll(ETC1WorkerPool& pool, uint32_t count, uint64_t hashModulus) {
        std::vector<uint32_t> colour(2 * size_t{count}, kUnwritten);
        for (uint32_t n = 0; n < count; ++n) {
            Block block = BlockNumbered(n);
            uint64_t hash = n % hashModulus;
            if (pool.HasWorkers()) {
                pool.HandOut(block.data(), &colour[2 * size_t{n}], n, hash);
            } else {
                StandInCompressor(block.data(), nullptr, colour[2 * size_t{n} + 1], colour[2 * size_t{n}]);
            }
        }
        pool.ShutDown();
        return colour;
    }
};

TEST(ETC1WorkerCount, OneMoreThanTheProcessorsFromThreeOnAtMost32) {
    const std::array<std::array<int32_t, 2>, 9> table{{{0, 0}, {1, 1}, {2, 2}, {3, 4}, {4, 5}, {8, 9}, {16, 17},
                                                       {31, 32}, {32, 32}}};
    for (const auto& [processors, workers] : table) {
        EXPECT_EQ(ETC1WorkerCountForProcessors(processors), workers) << processors << " processors";
    }
}

struct PoolCase {
    int32_t workerCount;
    uint32_t refusedThreads;
    bool hasWorkers;
};

std::string PoolCaseName(const PoolCase& c) {
    char refused[16];
    std::snprintf(refused, sizeof refused, "%X", c.refusedThreads);
    return "Workers" + std::to_string(c.workerCount) + "Refused" + refused;
}

void PrintTo(const PoolCase& c, std::ostream* os) {
    *os << PoolCaseName(c) << (c.hasWorkers ? " with workers" : " without workers");
}


class WorkerPoolCounts : public WorkerPool, public testing::WithParamInterface<PoolCase> {};

TEST_P(WorkerPoolCounts, WritesEveryBlockInItsPlace) {
    g_etc1PoolTestSettings.workerCount = GetParam().workerCount;
    g_etc1PoolTestSettings.refusedThreads = GetParam().refusedThreads;
    ETC1WorkerPool pool;
    pool.Start(2, StandInCompressor);
    EXPECT_EQ(pool.HasWorkers(), GetParam().hasWorkers);

    constexpr uint32_t kBlocks = 3000;
    std::vector<uint32_t> colour = CompressAll(pool, kBlocks, kETC1CacheEntryCount);
    EXPECT_FALSE(pool.HasWorkers());
    for (uint32_t n = 0; n < kBlocks; ++n) {
        ASSERT_EQ(colour[2 * size_t{n}], LowWordOf(n)) << "block " << n;
        ASSERT_EQ(colour[2 * size_t{n} + 1], HighWordOf(n)) << "block " << n;
    }
}

// Slots whose thread does not start never receive a block; with fewer than two
// threads the driver works alone.
INSTANTIATE_TEST_SUITE_P(Counts, WorkerPoolCounts,
                         testing::Values(PoolCase{0, 0, false}, PoolCase{1, 0, false}, PoolCase{2, 0, true},
                                         PoolCase{5, 0, true}, PoolCase{9, 0, true}, PoolCase{32, 0, true},
                                         PoolCase{40, 0, true}, PoolCase{2, 0b10, false},
                                         PoolCase{5, 0b10110, true}, PoolCase{9, 0x1FE, false},
                                         PoolCase{32, 0x7FFFFFFE, true}, PoolCase{32, 0xFFFFFFFF, false}),
                         [](const testing::TestParamInfo<PoolCase>& info) { return PoolCaseName(info.param); });

TEST_F(WorkerPool, TheFastMethodsNeverGetWorkers) {
    g_etc1PoolTestSettings.workerCount = 9;
    for (int32_t method : {0, 3}) {
        ETC1WorkerPool pool;
        pool.Start(method, StandInCompressor);
        EXPECT_FALSE(pool.HasWorkers()) << "method " << method;
    }
    for (int32_t method : {1, 2, 4, 5}) {
        ETC1WorkerPool pool;
        pool.Start(method, StandInCompressor);
        EXPECT_TRUE(pool.HasWorkers()) << "method " << method;
    }
}

// Blocks crowd onto 13 entries while the driver keeps looking blocks up: every
// hit must give the words of the very block whose key it matched.
TEST_F(WorkerPool, EntriesAreSeenWholeWhileWorkersStoreIntoThem) {
    g_etc1PoolTestSettings.workerCount = 9;
    ETC1WorkerPool pool;
    pool.Start(5, StandInCompressor);
    ASSERT_TRUE(pool.HasWorkers());

    constexpr uint32_t kBlocks = 20000;
    constexpr uint64_t kEntries = 13;
    std::vector<uint32_t> colour(2 * size_t{kBlocks}, kUnwritten);
    int hits = 0;
    for (uint32_t n = 0; n < kBlocks; ++n) {
        Block block = BlockNumbered(n);
        pool.HandOut(block.data(), &colour[2 * size_t{n}], n, n % kEntries);
        for (uint32_t back = 1; back <= 8 && back <= n; ++back) {
            uint32_t earlier = n - back;
            uint32_t high = 0;
            uint32_t low = 0;
            if (!LookUpETC1Block(earlier, earlier % kEntries, high, low)) continue;
            ++hits;
            ASSERT_EQ(high, HighWordOf(earlier));
            ASSERT_EQ(low, LowWordOf(earlier));
        }
    }
    pool.ShutDown();
    EXPECT_GT(hits, 0);
    // Each entry holds one whole store: the key of one of its blocks with that block's words.
    std::vector<int> keysFound(kEntries, 0);
    for (uint32_t n = 0; n < kBlocks; ++n) {
        uint32_t high = 0;
        uint32_t low = 0;
        if (!LookUpETC1Block(n, n % kEntries, high, low)) continue;
        ++keysFound[n % kEntries];
        EXPECT_EQ(high, HighWordOf(n));
        EXPECT_EQ(low, LowWordOf(n));
    }
    EXPECT_EQ(keysFound, std::vector<int>(kEntries, 1));
    for (uint32_t n = 0; n < kBlocks; ++n) ASSERT_EQ(colour[2 * size_t{n}], LowWordOf(n));
}

}  // namespace
