// Packing of the two 32-bit words of an ETC1 block from the choices of a compressor.
#pragma once

#include <cstdint>

#include "etc1/HalfBlock.h"

namespace Etc1Words {

// Differential mode: first colour in 5 bits per channel, second as a 3-bit delta.
inline uint32_t DifferentialHighWord(const int32_t first[3], const int32_t second[3], int32_t codeword1,
                                     int32_t codeword2, HalfShape shape) {
    uint32_t word = 0;
    for (int channel = 0; channel < 3; ++channel) {
        uint32_t delta = static_cast<uint32_t>(second[channel] - first[channel]) & 7u;
        word |= (static_cast<uint32_t>(first[channel]) << 3 | delta) << (24 - 8 * channel);
    }
    return word | static_cast<uint32_t>(codeword1) << 5 | static_cast<uint32_t>(codeword2) << 2 | 2u |
           (shape == HalfShape::Wide ? 1u : 0u);
}

// Individual mode: both colours in 4 bits per channel, interleaved channel by channel.
inline uint32_t IndividualHighWord(const int32_t first[3], const int32_t second[3], int32_t codeword1,
                                   int32_t codeword2, HalfShape shape) {
    uint32_t word = 0;
    for (int channel = 0; channel < 3; ++channel) {
        word |= (static_cast<uint32_t>(first[channel]) << 4 | static_cast<uint32_t>(second[channel]))
                << (24 - 8 * channel);
    }
    return word | static_cast<uint32_t>(codeword1) << 5 | static_cast<uint32_t>(codeword2) << 2 |
           (shape == HalfShape::Wide ? 1u : 0u);
}

// The index planes of the two halves, moved to their block positions: MSB plane high, LSB plane low.
inline uint32_t LowWord(uint32_t msb1, uint32_t lsb1, uint32_t msb2, uint32_t lsb2, HalfShape shape) {
    int shift = shape == HalfShape::Tall ? 8 : 2;
    uint32_t msb = (msb1 | msb2 << shift) & 0xFFFFu;
    uint32_t lsb = (lsb1 | lsb2 << shift) & 0xFFFFu;
    return msb << 16 | lsb;
}

}  // namespace Etc1Words
