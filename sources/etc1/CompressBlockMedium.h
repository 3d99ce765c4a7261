// The Medium methods: both orientations, each in differential mode over 7x7x7
// windows of 5-bit colours around the halves' averages when those lie close
// enough, else in individual mode over the 4-bit colours 0 to 14.
#pragma once

#include <cstdint>

// block: 16 pixels row by row, R, G, B each (48 bytes). Both words are always written.
void CompressBlockMedium(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord);
void CompressBlockMediumPerceptual(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord);
