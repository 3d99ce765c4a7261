// Decodes one ETC1 block, given as the encoder's two words, into a 4x4 RGB block.
#pragma once

#include <cstdint>

// `high` holds bits 63..32 of the block (colours, codewords, diff and flip bits),
// `low` bits 31..0 (index planes). `pixels` receives 48 bytes: 16 pixels row by
// row, R, G, B each. Differential sums outside 0..31, which the encoder never
// produces, are clamped to 0..31.
void DecodeETC1Block(uint32_t high, uint32_t low, uint8_t* pixels);
