// The Fast methods: two candidate blocks, each decoded into `scratch` (48 bytes
// owned by the caller, one per thread) and measured against the source block;
// the first candidate wins unless the second is strictly better.
#pragma once

#include <cstdint>

// Rounded against hue-quantised base colours, plain error.
void CompressBlockFast(const uint8_t* block, uint8_t* scratch, uint32_t& high, uint32_t& low);
// The same with the perceptual quantisers, searches and error.
void CompressBlockFastPerceptual(const uint8_t* block, uint8_t* scratch, uint32_t& high, uint32_t& low);
