#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <string>

#include "image/ColorCorrection.h"
#include "image/ColorCurves.h"

using namespace ImageLib;

namespace {

using CurveFunction = void (*)(int32_t, const uint8_t*, uint8_t*);

constexpr std::array<CurveFunction, 6> kCurves = {
    ColorCurveTop, ColorCurveBtm, ColorCurveAvg, ColorCurveTopInverse, ColorCurveBtmInverse, ColorCurveAvgInverse,
};

constexpr std::array<uint8_t, 7> kSampleInputs = {1, 32, 64, 128, 192, 254, 255};

// Outputs for kSampleInputs, by curve (ColorCorrection - 1) and channel R, G, B.
constexpr uint8_t kSampleOutputs[6][3][7] = {
    {{1, 29, 58, 124, 189, 255, 255}, {1, 25, 52, 114, 181, 255, 255}, {1, 27, 53, 110, 172, 253, 255}},
    {{1, 24, 53, 120, 190, 254, 255}, {1, 20, 46, 109, 179, 254, 255}, {1, 23, 49, 108, 174, 253, 255}},
    {{1, 27, 56, 122, 190, 255, 255}, {1, 23, 49, 112, 180, 254, 255}, {1, 25, 51, 109, 173, 253, 255}},
    {{1, 36, 70, 132, 195, 254, 255}, {1, 41, 77, 142, 203, 254, 255}, {1, 38, 77, 147, 211, 255, 255}},
    {{1, 41, 75, 135, 194, 254, 255}, {2, 47, 83, 146, 203, 254, 254}, {2, 43, 81, 148, 208, 254, 254}},
    {{1, 38, 73, 134, 194, 254, 255}, {2, 44, 80, 144, 203, 254, 255}, {1, 41, 79, 147, 210, 254, 255}},
};

// All 256 values of one channel through one curve.
std::array<uint8_t, 256> ChannelTable(int32_t curve, int32_t channel) {
    std::array<uint8_t, 256> table{};
    for (int32_t value = 0; value < 256; ++value) {
        const uint8_t in[3] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value), static_cast<uint8_t>(value)};
        uint8_t out[3] = {};
        kCurves[curve](3, in, out);
        table[value] = out[channel];
    }
    return table;
}

// The same polynomial in double precision, with the same clamp and rounding.
uint8_t DoubleReference(int32_t curve, int32_t channel, int32_t value) {
    double v = 0.0;
    for (int32_t k = 0; k < kColorCurveDegree; ++k) {
        v += static_cast<double>(kColorCurves[curve][channel][k]) * std::pow(static_cast<double>(value), k + 1);
    }
    v = std::fmin(std::fmax(v, 0.0), 255.0);
    return static_cast<uint8_t>(v + 0.5);
}

TEST(ColorCurves, SampleOutputsOfEveryCurveAndChannel) {
    for (int32_t curve = 0; curve < 6; ++curve) {
        for (int32_t channel = 0; channel < 3; ++channel) {
            std::array<uint8_t, 256> table = ChannelTable(curve, channel);
            for (size_t i = 0; i < kSampleInputs.size(); ++i) {
                EXPECT_EQ(table[kSampleInputs[i]], kSampleOutputs[curve][channel][i])
                    << "curve " << curve + 1 << " channel " << channel << " input " << int(kSampleInputs[i]);
            }
        }
    }
}

TEST(ColorCurves, SinglePrecisionAgreesWithDoubleForEveryInput) {
    for (int32_t curve = 0; curve < 6; ++curve) {
        for (int32_t channel = 0; channel < 3; ++channel) {
            std::array<uint8_t, 256> table = ChannelTable(curve, channel);
            for (int32_t value = 0; value < 256; ++value) {
                ASSERT_EQ(table[value], DoubleReference(curve, channel, value))
                    << "curve " << curve + 1 << " channel " << channel << " input " << value;
            }
        }
    }
}

TEST(ColorCurves, MapZeroToZeroAndNeverDecrease) {
    for (int32_t curve = 0; curve < 6; ++curve) {
        for (int32_t channel = 0; channel < 3; ++channel) {
            std::array<uint8_t, 256> table = ChannelTable(curve, channel);
            EXPECT_EQ(table[0], 0);
            for (int32_t value = 1; value < 256; ++value) ASSERT_LE(table[value - 1], table[value]);
        }
    }
}

// Largest |inner(outer(v)) - v| over all values of one channel.
int32_t RoundTripError(int32_t outer, int32_t inner, int32_t channel) {
    std::array<uint8_t, 256> first = ChannelTable(outer, channel);
    std::array<uint8_t, 256> second = ChannelTable(inner, channel);
    int32_t worst = 0;
    for (int32_t value = 0; value < 256; ++value) worst = std::max(worst, std::abs(second[first[value]] - value));
    return worst;
}

TEST(ColorCurves, ForwardAndInverseUndoEachOther) {
    for (int32_t forward = 0; forward < 3; ++forward) {
        int32_t inverse = forward + 3;
        for (int32_t channel = 0; channel < 3; ++channel) {
            EXPECT_LE(RoundTripError(forward, inverse, channel), 1) << forward << " " << channel;
            bool btmBlue = forward == VOQ_BTM - 1 && channel == 2;
            EXPECT_LE(RoundTripError(inverse, forward, channel), btmBlue ? 2 : 1) << forward << " " << channel;
        }
    }
}

TEST(ColorCurves, WriteNothingForFewerThanThreeChannels) {
    const uint8_t in[3] = {128, 128, 128};
    uint8_t out[3] = {7, 7, 7};
    for (CurveFunction curve : kCurves) {
        curve(2, in, out);
        EXPECT_EQ(out[0], 7);
        EXPECT_EQ(out[2], 7);
    }
}

// One pixel per sample input, all channels equal.
void MakeGreyRamp(int32_t format, CImage& image) {
    ASSERT_TRUE(image.Create(format, 7, 1, 0, 0, 0, 0));
    int32_t step = GetBytesPerPixel(format);
    for (int32_t x = 0; x < 7; ++x) {
        for (int32_t b = 0; b < step; ++b) image.pixels[x * step + b] = kSampleInputs[x];
        if (format == LA || format == RGBA) image.pixels[x * step + step - 1] = static_cast<uint8_t>(x * 10);
    }
}

struct ApplyCase {
    int32_t sourceFormat;
    int32_t correctedFormat;
};

// Image formats by number, as the image model numbers them.
std::string ImageFormatName(int32_t format) {
    constexpr const char* kNames[] = {"L", "LA", "RGB", "RGBA"};
    return format >= 0 && format < 4 ? kNames[format] : "format" + std::to_string(format);
}

std::string ApplyCaseName(const ApplyCase& c) {
    return ImageFormatName(c.sourceFormat) + "To" + ImageFormatName(c.correctedFormat);
}

void PrintTo(const ApplyCase& c, std::ostream* os) { *os << ApplyCaseName(c); }


class ApplyColorCorrectionTable : public testing::TestWithParam<ApplyCase> {};

TEST_P(ApplyColorCorrectionTable, MapsColourAndKeepsAlpha) {
    const ApplyCase& c = GetParam();
    CImage source;
    MakeGreyRamp(c.sourceFormat, source);
    for (int32_t correction = VOQ_TOP; correction <= VOQ_INV_AVG; ++correction) {
        ImageOptions options;
        options.colorCorrection = correction;
        CImage destination;
        ASSERT_TRUE(ApplyColorCorrection(&source, &destination, &options));
        ASSERT_EQ(destination.format, c.correctedFormat);
        int32_t step = GetBytesPerPixel(c.correctedFormat);
        for (int32_t x = 0; x < 7; ++x) {
            for (int32_t channel = 0; channel < 3; ++channel) {
                EXPECT_EQ(destination.pixels[x * step + channel], kSampleOutputs[correction - 1][channel][x]);
            }
            if (step == 4) {
                EXPECT_EQ(destination.pixels[x * step + 3], x * 10);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(ColorCorrection, ApplyColorCorrectionTable,
                         testing::Values(ApplyCase{RGB, RGB}, ApplyCase{RGBA, RGBA}, ApplyCase{L, RGB},
                                         ApplyCase{LA, RGBA}),
                         [](const testing::TestParamInfo<ApplyCase>& info) { return ApplyCaseName(info.param); });

TEST(ApplyColorCorrection, NoneOrUnknownGivesAPlainCopy) {
    CImage source;
    MakeGreyRamp(L, source);
    for (int32_t correction : {0, 7, -1}) {
        ImageOptions options;
        options.colorCorrection = correction;
        CImage destination;
        ASSERT_TRUE(ApplyColorCorrection(&source, &destination, &options));
        EXPECT_EQ(destination.format, L);
        EXPECT_EQ(std::memcmp(destination.pixels.get(), source.pixels.get(), 7), 0);
    }
}

TEST(ApplyColorCorrection, IndexedStaysAPlainCopy) {
    CImage source;
    ASSERT_TRUE(source.Create(Indexed, 2, 1, 2, 0, 0, 0));
    source.pixels[1] = 1;
    source.palette[3] = 128;
    ImageOptions options;
    options.colorCorrection = VOQ_TOP;
    CImage destination;
    ASSERT_TRUE(ApplyColorCorrection(&source, &destination, &options));
    EXPECT_EQ(destination.format, Indexed);
    EXPECT_EQ(destination.pixels[1], 1);
    EXPECT_EQ(destination.palette[3], 128);
}

TEST(ApplyColorCorrection, MissingArgumentsFail) {
    CImage image;
    MakeGreyRamp(RGB, image);
    ImageOptions options;
    EXPECT_FALSE(ApplyColorCorrection(nullptr, &image, &options));
    EXPECT_FALSE(ApplyColorCorrection(&image, nullptr, &options));
    EXPECT_FALSE(ApplyColorCorrection(&image, &image, nullptr));
}

}  // namespace
