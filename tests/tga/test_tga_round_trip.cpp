// Every file the writer produces reads back through the TGA reader to the
// pixels it was written from: each image layout, raw and RLE, plain and with tags.
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

// The layout that the file stores: a plain file turns LA into RGBA; with a
// texture format L and Indexed become RGB, LA becomes RGBA.
int32_t StoredFormat(int32_t format, bool texture) {
    if (format == LA) return RGBA;
    if (texture && (format == L || format == Indexed)) return RGB;
    return format;
}

// Image format, tgaCompression, texture format (INVALID: a plain file).
class TgaRoundTrip : public testing::TestWithParam<std::tuple<int32_t, int32_t, int32_t>> {};

TEST_P(TgaRoundTrip, ReadsBackTheSamePixels) {
    auto [format, compression, textureFormat] = GetParam();
    CImage image;
    ASSERT_TRUE(image.Create(format, 37, 13, format == Indexed ? 16 : 0, 0, 0, 0));
    FillWithRuns(image, static_cast<uint32_t>(format * 10 + compression));
    ImageOptions options;
    options.format = textureFormat;
    options.mipMode = GenerateMipMap;
    options.tgaCompression = compression;
    Bytes file;
    ASSERT_TRUE(WriteTga(image, &options, file));

    std::unique_ptr<CImageTGA> read = ReadTga(file);
    ASSERT_NE(read, nullptr);
    int32_t stored = StoredFormat(format, textureFormat != INVALID);
    EXPECT_EQ(read->format, stored);
    EXPECT_EQ(read->width, 37);
    EXPECT_EQ(read->height, 13);
    Bytes expected(static_cast<size_t>(GetImageByteSize(stored, 37, 13)));
    ASSERT_TRUE(image.GetPixels(expected.data(), static_cast<int32_t>(expected.size()), stored));
    EXPECT_EQ(Bytes(read->pixels.get(), read->pixels.get() + read->GetImageSize(None, nullptr)), expected);
    if (stored == Indexed) {
        ASSERT_EQ(read->paletteCount, 16);
        EXPECT_EQ(Bytes(read->palette.get(), read->palette.get() + 48),
                  Bytes(image.palette.get(), image.palette.get() + 48));
    }
}

std::string FormatName(int32_t format) {
    static const char* const kNames[] = {"None", "L", "LA", "RGB", "RGBA", "Indexed"};
    return kNames[format];
}

std::string CaseName(const testing::TestParamInfo<std::tuple<int32_t, int32_t, int32_t>>& info) {
    auto [format, compression, textureFormat] = info.param;
    return FormatName(format) + (compression == 1 ? "Rle" : "Raw") + (textureFormat == INVALID ? "Plain" : "Tagged");
}

// Tagged files are encoded as RGBA8 from the 64 x 16 padded image.
INSTANTIATE_TEST_SUITE_P(TgaWriter, TgaRoundTrip,
                         testing::Combine(testing::Values(L, LA, RGB, RGBA, Indexed), testing::Values(0, 1),
                                          testing::Values(INVALID, RGBA8)),
                         CaseName);

}  // namespace
