// RLE packets of TGA pixel data: the packet decisions row by row, the channel
// order inside packets, the row order, and GetRleSize against the bytes written.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <random>
#include <vector>

#include "image/Image.h"
#include "image/TgaRleEncoder.h"
#include "tga/TgaWriteRun.h"

using namespace ImageLib;
using TgaTest::Bytes;
using TgaTest::Concat;

namespace {

Bytes Repeat(uint8_t value, int count) { return Bytes(static_cast<size_t>(count), value); }

Bytes Ascending(int count) {
    Bytes row;
    for (int i = 0; i < count; ++i) row.push_back(static_cast<uint8_t>(i));
    return row;
}

Bytes EncodeRow(const Bytes& row, int32_t bytesPerPixel) {
    int32_t width = static_cast<int32_t>(row.size()) / bytesPerPixel;
    Bytes out(row.size() * 2 + 16, 0xEE);
    uint8_t* end = EncodeRleRow(row.data(), out.data(), width, bytesPerPixel);
    out.resize(static_cast<size_t>(end - out.data()));
    return out;
}

struct RowCase {
    const char* name;
    Bytes row;
    int32_t bytesPerPixel;
    Bytes encoded;
};

void PrintTo(const RowCase& c, std::ostream* out) { *out << c.name; }

class RleRowTable : public testing::TestWithParam<RowCase> {};

TEST_P(RleRowTable, EncodesThePacketsExactly) {
    const RowCase& c = GetParam();
    EXPECT_EQ(EncodeRow(c.row, c.bytesPerPixel), c.encoded);

    // GetRleSize makes the same decisions over a one-row image.
    CImage image;
    int32_t format = c.bytesPerPixel == 1 ? L : c.bytesPerPixel == 2 ? LA : c.bytesPerPixel == 3 ? RGB : RGBA;
    ASSERT_TRUE(image.Create(format, static_cast<int32_t>(c.row.size()) / c.bytesPerPixel, 1, 0, 0, 0, 0));
    std::copy(c.row.begin(), c.row.end(), image.pixels.get());
    EXPECT_EQ(GetRleSize(image), static_cast<int32_t>(c.encoded.size()));
}

constexpr uint8_t A = 0xA0, B = 0xB0, E = 0xE0, F = 0xF0, P = 0x55;

INSTANTIATE_TEST_SUITE_P(
    TgaRle, RleRowTable,
    testing::Values(
        RowCase{"ABEEF", {A, B, E, E, F}, 1, {0x01, A, B, 0x81, E, 0x00, F}},
        RowCase{"equal129", Repeat(P, 129), 1, {0xFF, P, 0x00, P}},
        RowCase{"equal200", Repeat(P, 200), 1, {0xFF, P, 0xC7, P}},
        RowCase{"ABA", {A, B, A}, 1, {0x02, A, B, A}},
        RowCase{"onePixel", {A}, 1, {0x00, A}},
        RowCase{"twoEqual", {A, A}, 1, {0x81, A}},
        RowCase{"rawThenLastAlone", {A, B, B, E}, 1, {0x00, A, 0x81, B, 0x00, E}},
        RowCase{"equal128", Repeat(P, 128), 1, {0xFF, P}},
        RowCase{"equal130", Repeat(P, 130), 1, {0xFF, P, 0x81, P}},
        // 130 different pixels: a raw packet of 128, then one of 2.
        RowCase{"distinct130", Ascending(130), 1,
                Concat({{0x7F}, Ascending(128), {0x01, 128, 129}})},
        // Channel order: LA swapped, RGB reversed, RGBA as B, G, R, A.
        RowCase{"laRun", {1, 2, 1, 2}, 2, {0x81, 2, 1}},
        RowCase{"rgbRaw", {1, 2, 3, 4, 5, 6}, 3, {0x01, 3, 2, 1, 6, 5, 4}},
        RowCase{"rgbaMixed", {1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 5}, 4, {0x81, 3, 2, 1, 4, 0x00, 3, 2, 1, 5}},
        // Pixels equal in some bytes only are different pixels.
        RowCase{"rgbPartlyEqual", {1, 2, 3, 1, 2, 4}, 3, {0x01, 3, 2, 1, 4, 2, 1}}),
    [](const testing::TestParamInfo<RowCase>& info) { return info.param.name; });

TEST(EncodeRle, EncodesEachRowByItselfInTheChosenOrder) {
    // Two rows of 2: a packet never spans them, even when the pixels would allow it.
    const Bytes pixels = {A, A, A, B};
    Bytes bottomUp(16), topDown(16);
    EXPECT_TRUE(EncodeRle(pixels.data(), bottomUp.data(), 2, 2, 1, true));
    EXPECT_TRUE(EncodeRle(pixels.data(), topDown.data(), 2, 2, 1, false));
    EXPECT_EQ(Bytes(bottomUp.begin(), bottomUp.begin() + 7), (Bytes{0x01, A, B, 0x81, A, 0, 0}));
    EXPECT_EQ(Bytes(topDown.begin(), topDown.begin() + 5), (Bytes{0x81, A, 0x01, A, B}));
}

TEST(GetRleSize, ZeroWithoutRowsOrPixels) {
    CImage empty;
    EXPECT_EQ(GetRleSize(empty), 0);
    CImage noPixels;
    ASSERT_TRUE(noPixels.SetInfo(RGB, 4, 4, 0, 0, 0, 0));
    EXPECT_EQ(GetRleSize(noPixels), 0);
}

// Random images with long and short runs: the size predicted is the size written.
TEST(GetRleSize, EqualsTheBytesEncodedForEveryLayout) {
    std::mt19937 random(7);
    for (int32_t format : {L, LA, RGB, RGBA, Indexed}) {
        CImage image;
        ASSERT_TRUE(image.Create(format, 301, 7, format == Indexed ? 4 : 0, 0, 0, 0));
        int32_t size = image.GetImageSize(None, nullptr);
        for (int32_t i = 0; i < size; ++i) image.pixels[i] = static_cast<uint8_t>(random() % 3 == 0 ? random() : 9);
        int32_t bytesPerPixel = GetBytesPerPixel(format);
        int32_t expected = GetRleSize(image);
        Bytes out(static_cast<size_t>(size) * 2, 0xEE);
        uint8_t* end = out.data();
        for (int32_t y = image.height - 1; y >= 0; --y) {
            end = EncodeRleRow(image.pixels.get() + y * 301 * bytesPerPixel, end, 301, bytesPerPixel);
        }
        EXPECT_EQ(end - out.data(), expected) << "format " << format;
        EXPECT_TRUE(EncodeRle(image.pixels.get(), out.data(), 301, 7, bytesPerPixel, true));
        EXPECT_EQ(out[static_cast<size_t>(expected)], 0xEE) << "EncodeRle wrote past GetRleSize";
    }
}

}  // namespace
