#include "image/ColorCorrection.h"

#include <array>

#include "image/ColorCurves.h"

namespace ImageLib {
namespace {

using CurveFunction = void (*)(int32_t bytesPerPixel, const uint8_t* input, uint8_t* output);

// Indexed by ColorCorrection - 1.
constexpr std::array<CurveFunction, kColorCurveCount> kCurveFunctions = {
    ColorCurveTop, ColorCurveBtm, ColorCurveAvg, ColorCurveTopInverse, ColorCurveBtmInverse, ColorCurveAvgInverse,
};

// Single precision throughout, powers by repeated multiplication and the terms
// summed from a1 up: the curves' stored results depend on it.
uint8_t MapChannel(const float (&coefficients)[kColorCurveDegree], uint8_t value) {
    float c = static_cast<float>(value);
    float power = c;
    float v = coefficients[0] * power;
    for (int32_t k = 1; k < kColorCurveDegree; ++k) {
        power = power * c;
        v = v + coefficients[k] * power;
    }
    // Clamp before rounding: several curves reach a little above 255 at 255.
    if (v < 0.0f) v = 0.0f;
    if (v > 255.0f) v = 255.0f;
    return static_cast<uint8_t>(static_cast<double>(v) + 0.5);
}

void MapPixel(const ColorCurveTable& curve, int32_t bytesPerPixel, const uint8_t* input, uint8_t* output) {
    if (bytesPerPixel < 3) return;
    for (int32_t channel = 0; channel < kColorCurveChannels; ++channel) {
        output[channel] = MapChannel(curve[channel], input[channel]);
    }
}

// Every channel value through the curve, so an image costs one lookup per byte.
struct CurveLookup {
    uint8_t channel[kColorCurveChannels][256];
};

CurveLookup TabulateCurve(CurveFunction curve) {
    CurveLookup lookup{};
    for (int32_t value = 0; value < 256; ++value) {
        const uint8_t grey[3] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value),
                                 static_cast<uint8_t>(value)};
        uint8_t mapped[3] = {};
        curve(3, grey, mapped);
        for (int32_t channel = 0; channel < kColorCurveChannels; ++channel) {
            lookup.channel[channel][value] = mapped[channel];
        }
    }
    return lookup;
}

// Maps R, G, B of every pixel in place; a fourth byte (alpha) stays as it is.
void CorrectPixels(uint8_t* pixels, int64_t count, int32_t bytesPerPixel, const CurveLookup& lookup) {
    for (int64_t i = 0; i < count; ++i) {
        uint8_t* pixel = pixels + i * bytesPerPixel;
        for (int32_t channel = 0; channel < kColorCurveChannels; ++channel) {
            pixel[channel] = lookup.channel[channel][pixel[channel]];
        }
    }
}

// Grey images are corrected as their colour expansion, like the same pixels in colour.
int32_t CorrectedFormatOf(int32_t format) {
    switch (format) {
        case L: return RGB;
        case LA: return RGBA;
        default: return None;
    }
}

}  // namespace

void ColorCurveTop(int32_t bytesPerPixel, const uint8_t* input, uint8_t* output) {
    MapPixel(kColorCurves[VOQ_TOP - 1], bytesPerPixel, input, output);
}

void ColorCurveBtm(int32_t bytesPerPixel, const uint8_t* input, uint8_t* output) {
    MapPixel(kColorCurves[VOQ_BTM - 1], bytesPerPixel, input, output);
}

void ColorCurveAvg(int32_t bytesPerPixel, const uint8_t* input, uint8_t* output) {
    MapPixel(kColorCurves[VOQ_AVG - 1], bytesPerPixel, input, output);
}

void ColorCurveTopInverse(int32_t bytesPerPixel, const uint8_t* input, uint8_t* output) {
    MapPixel(kColorCurves[VOQ_INV_TOP - 1], bytesPerPixel, input, output);
}

void ColorCurveBtmInverse(int32_t bytesPerPixel, const uint8_t* input, uint8_t* output) {
    MapPixel(kColorCurves[VOQ_INV_BTM - 1], bytesPerPixel, input, output);
}

void ColorCurveAvgInverse(int32_t bytesPerPixel, const uint8_t* input, uint8_t* output) {
    MapPixel(kColorCurves[VOQ_INV_AVG - 1], bytesPerPixel, input, output);
}

bool ApplyColorCorrection(const CImage* source, CImage* destination, const ImageOptions* options) {
    if (source == nullptr || destination == nullptr || options == nullptr) return false;
    int32_t correction = options->colorCorrection;
    if (correction < VOQ_TOP || correction > VOQ_INV_AVG) {
        destination->CopyFrom(*source, None);
        return true;
    }
    destination->CopyFrom(*source, CorrectedFormatOf(source->format));
    int32_t format = destination->format;
    // Indexed images are converted to RGB before they get here; any other layout stays a plain copy.
    if ((format != RGB && format != RGBA) || !destination->pixels) return true;
    CurveLookup lookup = TabulateCurve(kCurveFunctions[correction - 1]);
    CorrectPixels(destination->pixels.get(), static_cast<int64_t>(destination->width) * destination->height,
                  GetBytesPerPixel(format), lookup);
    return true;
}

}  // namespace ImageLib
