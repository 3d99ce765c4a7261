// Colour correction: six per-channel curves applied to an image before encoding.
#pragma once

#include <cstdint>

#include "image/Image.h"
#include "image/ImageOptions.h"

namespace ImageLib {

// Makes `destination` a copy of `source` mapped through the curve that
// options->colorCorrection names (a plain copy for NONE or an unknown value).
// False only when one of the three is missing.
bool ApplyColorCorrection(const CImage* source, CImage* destination, const ImageOptions* options);

// Each maps R, G, B of one pixel into `output` (3 bytes); with fewer than 3
// bytes per pixel it writes nothing.
void ColorCurveTop(int32_t bytesPerPixel, const uint8_t* input, uint8_t* output);
void ColorCurveBtm(int32_t bytesPerPixel, const uint8_t* input, uint8_t* output);
void ColorCurveAvg(int32_t bytesPerPixel, const uint8_t* input, uint8_t* output);
void ColorCurveTopInverse(int32_t bytesPerPixel, const uint8_t* input, uint8_t* output);
void ColorCurveBtmInverse(int32_t bytesPerPixel, const uint8_t* input, uint8_t* output);
void ColorCurveAvgInverse(int32_t bytesPerPixel, const uint8_t* input, uint8_t* output);

}  // namespace ImageLib
