// The Slow methods: both orientations, each in differential mode over 11x11x11
// windows of 5-bit colours around the halves' averages (when those lie close
// enough) and in individual mode over the 4-bit colours 0 to 14.
#pragma once

#include <cstdint>

// block: 16 pixels row by row, R, G, B each (48 bytes). Both words are always written.
void CompressBlockSlow(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord);
void CompressBlockSlowPerceptual(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord);
