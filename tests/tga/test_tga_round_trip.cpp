// Every file the writer produces reads back through the TGA reader to the
// pixels it was written from: each image layout, raw and RLE.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <tuple>

#include "tga/TgaWriteRun.h"

using namespace ImageLib;
using namespace TgaTest;

namespace {

// Random pixels with runs of equal ones, so RLE files mix both packet kinds.
void FillWithRuns(CImage& image, uint32_t seed) {
    std::mt19937 random(seed);
    int32_t bytesPerPixel = GetBytesPerPixel(image.format);
    int32_t pixelCount = image.width * image.height;
    for (int32_t i = 0; i < pixelCount; ++i) {
        uint8_t* pixel = &image.pixels[i * bytesPerPixel];
        bool repeat = i > 0 && random() % 2 == 0;
        for (int32_t k = 0; k < bytesPerPixel; ++k) {
            pixel[k] = repeat ? pixel[k - bytesPerPixel] : static_cast<uint8_t>(random() % 16);
        }
    }
    for (int32_t i = 0; i < image.paletteCount * 3; ++i) image.palette[i] = static_cast<uint8_t>(random());
}

// The image that a plain file stores: LA becomes RGBA, the rest stays.
Bytes ExpectedPlainPixels(const CImage& image) {
    int32_t format = image.format == LA ? RGBA : image.format;
    Bytes pixels(static_cast<size_t>(GetImageByteSize(format, image.width, image.height)));
    EXPECT_TRUE(image.GetPixels(pixels.data(), static_cast<int32_t>(pixels.size()), format));
    return pixels;
}

class PlainRoundTrip : public testing::TestWithParam<std::tuple<int32_t, int32_t>> {};

TEST_P(PlainRoundTrip, ReadsBackTheSamePixels) {
    auto [format, compression] = GetParam();
    CImage image;
    ASSERT_TRUE(image.Create(format, 37, 13, format == Indexed ? 16 : 0, 0, 0, 0));
    FillWithRuns(image, static_cast<uint32_t>(format * 10 + compression));
    ImageOptions options;
    options.format = INVALID;
    options.tgaCompression = compression;
    Bytes file;
    ASSERT_TRUE(WriteTga(image, &options, file));

    std::unique_ptr<CImageTGA> read = ReadTga(file);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->format, format == LA ? RGBA : format);
    EXPECT_EQ(read->width, 37);
    EXPECT_EQ(read->height, 13);
    Bytes pixels(read->pixels.get(), read->pixels.get() + read->GetImageSize(None, nullptr));
    EXPECT_EQ(pixels, ExpectedPlainPixels(image));
    if (format == Indexed) {
        ASSERT_EQ(read->paletteCount, 16);
        EXPECT_EQ(Bytes(read->palette.get(), read->palette.get() + 48),
                  Bytes(image.palette.get(), image.palette.get() + 48));
    }
}

std::string FormatName(int32_t format) {
    static const char* const kNames[] = {"None", "L", "LA", "RGB", "RGBA", "Indexed"};
    return kNames[format];
}

std::string PlainCaseName(const testing::TestParamInfo<std::tuple<int32_t, int32_t>>& info) {
    return FormatName(std::get<0>(info.param)) + (std::get<1>(info.param) == 1 ? "Rle" : "Raw");
}

INSTANTIATE_TEST_SUITE_P(TgaWriter, PlainRoundTrip,
                         testing::Combine(testing::Values(L, LA, RGB, RGBA, Indexed), testing::Values(0, 1)),
                         PlainCaseName);

}  // namespace
