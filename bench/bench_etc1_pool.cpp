// The cached ETC1 methods on the worker pool, and what the result cache costs
// around them, on the photographic 1024 x 1024 sample: a level with one worker
// (compressed in place) and with the machine's worker count, and a converter
// run whose blocks are all in the cache file, beside the cache load, the
// hashing of the level and a cache save on their own.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "etc1/ETC1Cache.h"
#include "etc1/ETC1CacheFile.h"
#include "etc1/ETC1Encoder.h"
#include "etc1/ETC1Hash.h"
#include "etc1/ETC1LevelBlocks.h"
#include "etc1/ETC1Messages.h"
#include "etc1/ETC1WorkerPool.h"
#include "image/Image.h"
#include "image/ImageFiles.h"
#include "image/ImageOptions.h"
#include "platform/Processors.h"

using namespace ETC1Encoder;

namespace {

struct Level {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgba;
};

const Level& Retina() {
    static const Level level = [] {
        const char* folder = std::getenv("BWVOQ_BENCH_IMAGES");
        std::string path = std::string(folder != nullptr ? folder : BWVOQ_BENCH_IMAGES_DIR) + "/retina.tga";
        std::unique_ptr<ImageLib::CImage> image(ImageLib::CreateImageFromFile(path.c_str()));
        Level loaded;
        if (!image) return loaded;
        loaded.width = image->width;
        loaded.height = image->height;
        loaded.rgba.resize(static_cast<size_t>(image->width) * static_cast<size_t>(image->height) * 4);
        if (!image->GetPixels(loaded.rgba.data(), static_cast<int32_t>(loaded.rgba.size()), ImageLib::RGBA)) {
            loaded.rgba.clear();
        }
        return loaded;
    }();
    return level;
}

// The cache files of these runs live in a folder of their own, removed at the end.
class CacheFolder {
public:
    CacheFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "bench-etc1-cache-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
        setenv("APPDATA", path_.c_str(), 1);
    }
    ~CacheFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }

private:
    std::string path_;
};

void UseBenchCacheFolder() { static CacheFolder folder; }

void SilentSink(MessageLevel, const char*, ...) {}

void EncodeLevel(const Level& level, int32_t method) {
    std::vector<uint8_t> texture(static_cast<size_t>(level.width) * static_cast<size_t>(level.height) / 2);
    g_reportMessage = SilentSink;
    EncodeETC1Image(level.rgba.data(), texture.data(), level.width, level.height, ImageLib::ETC1, method);
    g_reportMessage = nullptr;
    benchmark::DoNotOptimize(texture.data());
}

// As the converter starts a run: nothing in the table, no file loaded yet.
void StartRun() {
    EmptyETC1Cache();
    g_etc1CacheMethod = -1;
}

// The method's cache file holds every block of the level.
void PrepareWarmCache(const Level& level, int32_t method) {
    UseBenchCacheFolder();
    g_etc1PoolTestSettings.workerCount = -1;
    StartRun();
    EncodeLevel(level, method);
    SaveETC1Cache(method);
}

int32_t MachineWorkerCount() {
    uint32_t mask = 0;
    return Platform::GetProcessAffinityMask32(mask) ? ETC1WorkerCountForProcessors(std::popcount(mask)) : 1;
}

void SetPixelRate(benchmark::State& state, const Level& level) {
    double pixels = static_cast<double>(level.width) * level.height * static_cast<double>(state.iterations());
    state.counters["Mpx/s"] = benchmark::Counter(pixels / 1e6, benchmark::Counter::kIsRate);
}

bool HaveRetina(benchmark::State& state) {
    if (!Retina().rgba.empty()) return true;
    state.SkipWithError("retina.tga is missing");
    return false;
}

// A level with an empty cache and no file to load; range(0) workers.
void PooledLevel(benchmark::State& state, int32_t method) {
    if (!HaveRetina(state)) return;
    g_etc1PoolTestSettings.workerCount = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        EmptyETC1Cache();
        ETC1CacheMemory::FillAll();
        g_etc1CacheMethod = method;
        state.ResumeTiming();
        EncodeLevel(Retina(), method);
    }
    g_etc1PoolTestSettings.workerCount = -1;
    SetPixelRate(state, Retina());
}

// A converter run over the level whose blocks are all in the method's cache
// file: the table emptied, the file loaded, every block hashed and found, the
// cache saved (which finds the file unchanged).
void WarmCacheRun(benchmark::State& state, int32_t method) {
    if (!HaveRetina(state)) return;
    PrepareWarmCache(Retina(), method);
    for (auto _ : state) {
        StartRun();
        EncodeLevel(Retina(), method);
        SaveETC1Cache(method);
    }
    SetPixelRate(state, Retina());
}

void CacheLoad(benchmark::State& state) {
    if (!HaveRetina(state)) return;
    PrepareWarmCache(Retina(), ImageLib::Medium);
    for (auto _ : state) {
        EmptyETC1Cache();
        LoadETC1Cache(ImageLib::Medium);
    }
}

// A save that has to write: one entry changes before each.
void CacheSave(benchmark::State& state) {
    if (!HaveRetina(state)) return;
    PrepareWarmCache(Retina(), ImageLib::Medium);
    uint32_t round = 0;
    for (auto _ : state) {
        StoreETC1Block(1, 1, ++round, 0);
        SaveETC1Cache(ImageLib::Medium);
    }
}

// Gathering and hashing every block of the level.
void HashLevel(benchmark::State& state) {
    if (!HaveRetina(state)) return;
    const Level& level = Retina();
    uint8_t block[48];
    for (auto _ : state) {
        uint64_t mix = 0;
        for (int32_t row = 0; row < level.height / 4; ++row) {
            for (int32_t column = 0; column < level.width / 4; ++column) {
                GatherETC1Block(level.rgba.data(), level.width, column, row, block);
                uint64_t key = 0;
                uint64_t hash = 0;
                HashETC1Block(block, key, hash);
                mix += key ^ hash;
            }
        }
        benchmark::DoNotOptimize(mix);
    }
    SetPixelRate(state, level);
}

BENCHMARK_CAPTURE(PooledLevel, Medium, ImageLib::Medium)
    ->Arg(1)
    ->Arg(MachineWorkerCount())
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PooledLevel, Slow, ImageLib::Slow)
    ->Arg(1)
    ->Arg(MachineWorkerCount())
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WarmCacheRun, Medium, ImageLib::Medium)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WarmCacheRun, Slow, ImageLib::Slow)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(CacheLoad)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(CacheSave)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(HashLevel)->Unit(benchmark::kMillisecond);

}  // namespace
