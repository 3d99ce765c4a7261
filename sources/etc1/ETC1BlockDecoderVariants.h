// The two implementations behind DecodeETC1Block; both give the same bytes.
#pragma once

#include <cstdint>

void DecodeETC1BlockPortable(uint32_t high, uint32_t low, uint8_t* pixels);

// Needs AVX2.
void DecodeETC1BlockAvx2(uint32_t high, uint32_t low, uint8_t* pixels);
