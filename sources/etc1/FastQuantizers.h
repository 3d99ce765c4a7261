// Quantisers of a half-block's average colour into 5-bit or 4-bit levels for the
// Fast methods.
//
// The rounding rule rounds each channel on its own. The hue quantisers take, per
// channel, the level just below the average or the next one up, choosing the
// combination whose channel errors are as equal as possible, so that the colour
// moves along the grey axis instead of changing its hue.
#pragma once

#include <array>
#include <cstdint>

// R, G, B levels: 0..31 or 0..15.
using QuantizedColor = std::array<int32_t, 3>;

QuantizedColor QuantizeRounded555(const float* average);
QuantizedColor QuantizeRounded444(const float* average);

QuantizedColor QuantizeHue555(const float* average);
QuantizedColor QuantizeHue444(const float* average);
QuantizedColor QuantizeHue555Perceptual(const float* average);
QuantizedColor QuantizeHue444Perceptual(const float* average);

// The rounding rule for one channel.
int32_t RoundedLevel5(float average);
int32_t RoundedLevel4(float average);
