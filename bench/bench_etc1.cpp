// ETC1 encoding speed and quality, single-threaded: megapixels per second and
// RGB PSNR of all six methods on the photographic bench images, side by side
// with the independent encoder etc1tool (run as a separate program on the PNG
// copies, when it is installed), plus the modifier searches on their own. All
// speeds are wall-clock rates, since etc1tool's time is that of its runs. The
// Medium and Slow methods also run their plain reference on a sample of each
// image's blocks, for its speed per megapixel and the words it must match.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "etc1/ETC1FastMethods.h"
#include "etc1/ETC1LevelBlocks.h"
#include "etc1/ETC1Methods.h"
#include "etc1/ETC1ModifierSearch.h"
#include "etc1_reference/ReferenceMethods.h"
#include "image/ETC1BlockFormat.h"
#include "image/Image.h"
#include "image/ImageFiles.h"
#include "platform/ProcessorFeatures.h"
#include "reference/BlockPatterns.h"
#include "reference/ModifierSearchReference.h"

using namespace ETC1Encoder;

namespace {

const char* const kPhotographs[] = {"astronaut", "chelsea",    "coffee", "hubble",
                                    "ihc",       "motorcycle", "retina", "rocket"};

struct BenchImage {
    std::string name;
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgba;
};

// BWVOQ_BENCH_IMAGES in the environment overrides the folder found at build time.
std::string ImagePath(const std::string& name, const char* extension) {
    const char* folder = std::getenv("BWVOQ_BENCH_IMAGES");
    return std::string(folder != nullptr ? folder : BWVOQ_BENCH_IMAGES_DIR) + "/" + name + extension;
}

const std::vector<BenchImage>& Photographs() {
    static const std::vector<BenchImage> images = [] {
        std::vector<BenchImage> loaded;
        for (const char* name : kPhotographs) {
            std::unique_ptr<ImageLib::CImage> image(ImageLib::CreateImageFromFile(ImagePath(name, ".tga").c_str()));
            if (!image) continue;
            BenchImage bench{name, image->width, image->height, {}};
            bench.rgba.resize(static_cast<size_t>(image->width) * image->height * 4);
            int32_t size = static_cast<int32_t>(bench.rgba.size());
            if (image->GetPixels(bench.rgba.data(), size, ImageLib::RGBA)) loaded.push_back(std::move(bench));
        }
        return loaded;
    }();
    return images;
}

// Squared RGB differences and sample count, pooled over images.
struct SquaredError {
    double sum = 0.0;
    double samples = 0.0;
    void Add(const uint8_t* source, const uint8_t* decoded) {
        for (int32_t i = 0; i < 48; ++i) {
            double d = static_cast<double>(source[i]) - decoded[i];
            sum += d * d;
        }
        samples += 48.0;
    }
    double Psnr() const { return 10.0 * std::log10(255.0 * 255.0 / (sum / samples)); }
};

using Compressor = void (*)(const uint8_t*, uint8_t*, uint32_t&, uint32_t&);

// Every block of the image through the compressor, as the driver does it; the
// words go to `words` (two per block, block rows top to bottom).
void CompressImage(const BenchImage& image, Compressor compress, std::vector<uint32_t>& words) {
    uint8_t block[48];
    uint8_t scratch[48];
    const int32_t columns = image.width / 4;
    const int32_t rows = image.height / 4;
    words.resize(2 * static_cast<size_t>(columns) * rows);
    uint32_t* out = words.data();
    for (int32_t row = 0; row < rows; ++row) {
        for (int32_t column = 0; column < columns; ++column) {
            GatherETC1Block(image.rgba.data(), image.width, column, row, block);
            compress(block, scratch, out[1], out[0]);
            out += 2;
        }
    }
}

// Adds the error of the decoded words (high, low per block) against the image.
void MeasureImage(const BenchImage& image, const uint32_t* highLowPairs, SquaredError& error) {
    uint8_t block[48];
    uint8_t decoded[48];
    const int32_t columns = image.width / 4;
    const int32_t rows = image.height / 4;
    for (int32_t row = 0; row < rows; ++row) {
        for (int32_t column = 0; column < columns; ++column) {
            GatherETC1Block(image.rgba.data(), image.width, column, row, block);
            ImageLib::DecodeETC1Block(highLowPairs[0], highLowPairs[1], decoded);
            error.Add(block, decoded);
            highLowPairs += 2;
        }
    }
}

double PixelsOf(const std::vector<BenchImage>& images) {
    double pixels = 0.0;
    for (const BenchImage& image : images) pixels += static_cast<double>(image.width) * image.height;
    return pixels;
}

// RGB PSNR of the images' words as CompressImage leaves them (low, high per block).
double PsnrOfWords(const std::vector<BenchImage>& images, const std::vector<std::vector<uint32_t>>& words) {
    SquaredError error;
    for (size_t i = 0; i < images.size(); ++i) {
        std::vector<uint32_t> highLow(words[i].size());
        for (size_t n = 0; n < words[i].size(); n += 2) {
            highLow[n] = words[i][n + 1];
            highLow[n + 1] = words[i][n];
        }
        MeasureImage(images[i], highLow.data(), error);
    }
    return error.Psnr();
}

void FastMethod(benchmark::State& state, Compressor compress) {
    const std::vector<BenchImage>& images = Photographs();
    if (images.empty()) {
        state.SkipWithError("no bench images");
        return;
    }
    std::vector<std::vector<uint32_t>> words(images.size());
    for (auto _ : state) {
        for (size_t i = 0; i < images.size(); ++i) CompressImage(images[i], compress, words[i]);
        benchmark::DoNotOptimize(words.data());
    }
    double pixels = PixelsOf(images) * static_cast<double>(state.iterations());
    state.counters["Mpx/s"] = benchmark::Counter(pixels / 1e6, benchmark::Counter::kIsRate);
    state.counters["PSNR"] = PsnrOfWords(images, words);
}

using ReferenceCompressor = void (*)(const uint8_t*, uint32_t&, uint32_t&);

// The reference's sample: this many blocks of each image, spread evenly over it.
constexpr int32_t kReferenceBlocksPerImage = 48;

struct SampleResult {
    double seconds = 0.0;
    double pixels = 0.0;
    int32_t mismatches = 0;
};

double WallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The reference on the sample, timed, its words held against the fast compressor's.
SampleResult RunReferenceSample(const std::vector<BenchImage>& images, Compressor compress,
                                ReferenceCompressor reference) {
    SampleResult result;
    uint8_t block[48];
    uint8_t scratch[48];
    for (const BenchImage& image : images) {
        const int32_t columns = image.width / 4;
        const int32_t blocks = columns * (image.height / 4);
        for (int32_t i = 0; i < kReferenceBlocksPerImage; ++i) {
            int32_t n = static_cast<int32_t>(static_cast<int64_t>(i) * blocks / kReferenceBlocksPerImage);
            GatherETC1Block(image.rgba.data(), image.width, n % columns, n / columns, block);
            uint32_t high = 0, low = 0, expectedHigh = 0, expectedLow = 0;
            double start = WallSeconds();
            reference(block, expectedHigh, expectedLow);
            result.seconds += WallSeconds() - start;
            compress(block, scratch, high, low);
            result.mismatches += high != expectedHigh || low != expectedLow;
        }
        result.pixels += 16.0 * kReferenceBlocksPerImage;
    }
    return result;
}

// A Medium or Slow method on every block of the photographs, then its reference on the sample.
void SearchMethod(benchmark::State& state, int32_t quality, ReferenceCompressor reference) {
    const std::vector<BenchImage>& images = Photographs();
    if (images.empty()) {
        state.SkipWithError("no bench images");
        return;
    }
    Compressor compress = FindETC1Method(quality)->compress;
    std::vector<std::vector<uint32_t>> words(images.size());
    double fastSeconds = 0.0;
    for (auto _ : state) {
        double start = WallSeconds();
        for (size_t i = 0; i < images.size(); ++i) CompressImage(images[i], compress, words[i]);
        fastSeconds += WallSeconds() - start;
        benchmark::DoNotOptimize(words.data());
    }
    double pixels = PixelsOf(images) * static_cast<double>(state.iterations());
    SampleResult sample = RunReferenceSample(images, compress, reference);
    state.counters["Mpx/s"] = benchmark::Counter(pixels / 1e6, benchmark::Counter::kIsRate);
    state.counters["PSNR"] = PsnrOfWords(images, words);
    state.counters["reference Mpx/s"] = sample.pixels / 1e6 / sample.seconds;
    state.counters["speedup"] = (sample.seconds / sample.pixels) / (fastSeconds / pixels);
    state.counters["mismatches"] = sample.mismatches;
}

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

uint32_t BigEndian32(const uint8_t* bytes) {
    return (uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) | (uint32_t(bytes[2]) << 8) | bytes[3];
}

// etc1tool encodes each PNG copy into raw blocks (big-endian, block rows top to
// bottom); the time is the wall time of the program runs.
void Etc1tool(benchmark::State& state) {
    const std::vector<BenchImage>& images = Photographs();
    if (images.empty()) {
        state.SkipWithError("no bench images");
        return;
    }
    if (std::system("command -v etc1tool > /dev/null 2>&1") != 0) {
        state.SkipWithError("etc1tool is not installed (scripts/bench installs it)");
        return;
    }
    const std::string output =
        std::string(std::getenv("TMPDIR") != nullptr ? std::getenv("TMPDIR") : "/tmp") + "/bench_etc1_etc1tool.raw";
    SquaredError error;
    for (auto _ : state) {
        error = SquaredError{};
        double seconds = 0.0;
        for (const BenchImage& image : images) {
            std::string command =
                "etc1tool '" + ImagePath(image.name, ".png") + "' --encodeNoHeader -o '" + output + "'";
            auto start = std::chrono::steady_clock::now();
            int status = std::system(command.c_str());
            seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            if (status != 0) {
                state.SkipWithError("etc1tool failed");
                return;
            }
            std::vector<uint8_t> raw = ReadFile(output);
            std::vector<uint32_t> highLow(raw.size() / 4);
            for (size_t n = 0; n < highLow.size(); ++n) highLow[n] = BigEndian32(&raw[4 * n]);
            if (raw.size() != static_cast<size_t>(image.width) * image.height / 2) {
                state.SkipWithError("etc1tool wrote an unexpected size");
                return;
            }
            MeasureImage(image, highLow.data(), error);
        }
        state.SetIterationTime(seconds);
    }
    std::remove(output.c_str());
    double pixels = PixelsOf(images) * static_cast<double>(state.iterations());
    state.counters["Mpx/s"] = benchmark::Counter(pixels / 1e6, benchmark::Counter::kIsRate);
    state.counters["PSNR"] = error.Psnr();
}

template <typename Search>
void SearchBench(benchmark::State& state, Search search) {
    Reference::BlockGenerator random(11);
    std::vector<Reference::RgbBlock> blocks(1024);
    for (Reference::RgbBlock& block : blocks) block = random.Next(Reference::BlockPattern::PhotoLike);
    size_t i = 0;
    for (auto _ : state) {
        const Reference::RgbBlock& block = blocks[i++ & 1023];
        int32_t row = 0;
        uint32_t msb = 0;
        uint32_t lsb = 0;
        benchmark::DoNotOptimize(search(block.data(), block.data(), row, msb, lsb));
    }
    state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK_CAPTURE(FastMethod, Fast, CompressBlockFast)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FastMethod, FastPerceptual, CompressBlockFastPerceptual)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SearchMethod, Medium, ImageLib::Medium, Etc1Reference::CompressBlockMedium)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SearchMethod, MediumPerceptual, ImageLib::MediumPerceptual,
                  Etc1Reference::CompressBlockMediumPerceptual)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SearchMethod, Slow, ImageLib::Slow, Etc1Reference::CompressBlockSlow)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SearchMethod, SlowPerceptual, ImageLib::SlowPerceptual, Etc1Reference::CompressBlockSlowPerceptual)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Etc1tool)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(SearchBench, TallPlain,
                  [](const uint8_t* b, const uint8_t* base, int32_t& r, uint32_t& m, uint32_t& l) {
                      return ModifierSearchTall(b, 0, base, r, m, l, 3121200);
                  });
BENCHMARK_CAPTURE(SearchBench, TallPlainReference,
                  [](const uint8_t* b, const uint8_t* base, int32_t& r, uint32_t& m, uint32_t& l) {
                      return Reference::SearchTall(b, 0, base, r, m, l, 3121200);
                  });
BENCHMARK_CAPTURE(SearchBench, WidePerceptual,
                  [](const uint8_t* b, const uint8_t* base, int32_t& r, uint32_t& m, uint32_t& l) {
                      return ModifierSearchWidePerceptual(b, 2, base, r, m, l, 1560600.0);
                  });
BENCHMARK_CAPTURE(SearchBench, WidePerceptualReference,
                  [](const uint8_t* b, const uint8_t* base, int32_t& r, uint32_t& m, uint32_t& l) {
                      return Reference::SearchWidePerceptual(b, 2, base, r, m, l, 1560600.0);
                  });

BENCHMARK_MAIN();
