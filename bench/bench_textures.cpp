// Encoding and decoding one 2048 x 2048 level in each texture format; the rate
// is source bytes per second (RGBA8 pixels for encoders, texture data for
// decoders).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "image/Image.h"
#include "image/TextureCodecs.h"
#include "image/TextureFormat.h"

using namespace ImageLib;

namespace {

constexpr int32_t kSide = 2048;

std::vector<uint8_t> RandomBytes(size_t count) {
    std::mt19937 random(2048);
    std::vector<uint8_t> bytes(count);
    for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
    return bytes;
}

void BM_Encode(benchmark::State& state) {
    const int32_t format = static_cast<int32_t>(state.range(0));
    const std::vector<uint8_t> source = RandomBytes(static_cast<size_t>(kSide) * kSide * 4);
    std::vector<uint8_t> texture(static_cast<size_t>(GetTextureDataSize(kSide, kSide, 1, format)));
    const LevelEncoder encode = GetLevelEncoder(format);
    for (auto _ : state) {
        encode(source.data(), texture.data(), kSide, kSide);
        benchmark::ClobberMemory();
    }
    state.SetLabel(GetTextureFormatName(format));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(source.size()));
}

void BM_Decode(benchmark::State& state) {
    const int32_t format = static_cast<int32_t>(state.range(0));
    const std::vector<uint8_t> texture = RandomBytes(static_cast<size_t>(GetTextureDataSize(kSide, kSide, 1, format)));
    std::vector<uint8_t> pixels(static_cast<size_t>(GetImageByteSize(GetImageFormatOf(format), kSide, kSide)));
    for (auto _ : state) {
        DecodeTexture(format, texture.data(), pixels.data(), kSide, kSide);
        benchmark::ClobberMemory();
    }
    state.SetLabel(GetTextureFormatName(format));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(texture.size()));
}

}  // namespace

// The ETC1 formats are compressed by the ETC1 encoder, which has its own benchmarks.
BENCHMARK(BM_Encode)->DenseRange(L4, RGBA8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Decode)->DenseRange(L4, ETC1_A4)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
