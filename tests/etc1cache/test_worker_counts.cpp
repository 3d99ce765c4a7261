// The output of a level does not depend on the number of workers, nor on what
// the result cache already holds, for each of the four cached methods.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "etc1/ETC1Cache.h"
#include "etc1/ETC1Encoder.h"
#include "etc1/ETC1WorkerPool.h"
#include "image/ImageOptions.h"
#include "support/ScopedEnvironment.h"
#include "support/TestFiles.h"
#include "support/TestPattern.h"

using namespace ETC1Encoder;

namespace {

#if defined(__SANITIZE_THREAD__)
constexpr int32_t kSide = 32;  // ThreadSanitizer slows everything down many times
#else
constexpr int32_t kSide = 64;
#endif

struct MethodCase {
    const char* name;
    int32_t method;
};

void PrintTo(const MethodCase& c, std::ostream* out) { *out << c.name; }

class WorkerCounts : public testing::TestWithParam<MethodCase> {
protected:
    void SetUp() override {
        environment_.Set("APPDATA", appData_.Path());  // no cache file to load
        rgba_ = TestSupport::PhotoLikeRgba(kSide, kSide, 7);
    }
    void TearDown() override { g_etc1PoolTestSettings = ETC1PoolTestSettings{}; }

    // The level as ETC1_A4 with `workers` workers; the cache is emptied first unless it is to stay warm.
    std::vector<uint8_t> Encode(int32_t workers, bool warm, int32_t height = kSide) {
        if (!warm) {
            EmptyETC1Cache();
            g_etc1CacheMethod = -1;
        }
        g_etc1PoolTestSettings.workerCount = workers;
        std::vector<uint8_t> texture(static_cast<size_t>(kSide) * static_cast<size_t>(height), 0);
        testing::internal::CaptureStdout();
        EncodeETC1Image(rgba_.data(), texture.data(), kSide, height, ImageLib::ETC1_A4, GetParam().method);
        testing::internal::GetCapturedStdout();
        return texture;
    }

    TestSupport::TempFolder appData_;
    TestSupport::ScopedEnvironment environment_;
    std::vector<uint8_t> rgba_;
};

TEST_P(WorkerCounts, GiveTheSameLevelWithAnEmptyOrAWarmCache) {
    const std::vector<uint8_t> alone = Encode(0, false);
    for (int32_t workers : {0, 1, 2, 5, 9, 32}) {
        EXPECT_EQ(Encode(workers, false), alone) << workers << " workers, empty cache";
        EXPECT_EQ(Encode(workers, true), alone) << workers << " workers, warm cache";
        // Half warm: the top half of the level is in the cache, the bottom half is not.
        Encode(workers, false, kSide / 2);
        EXPECT_EQ(Encode(workers, true), alone) << workers << " workers, half-warm cache";
    }
}

INSTANTIATE_TEST_SUITE_P(CachedMethods, WorkerCounts,
                         testing::Values(MethodCase{"Medium", ImageLib::Medium}, MethodCase{"Slow", ImageLib::Slow},
                                         MethodCase{"MediumPerceptual", ImageLib::MediumPerceptual},
                                         MethodCase{"SlowPerceptual", ImageLib::SlowPerceptual}),
                         [](const testing::TestParamInfo<MethodCase>& info) { return info.param.name; });

}  // namespace
