// Base64 with the standard alphabet and "=" padding, written as one unbroken
// text. The FENK files carry the texture data of every mip level in it.
#pragma once

#include <cstdint>
#include <string_view>

namespace ImageLib {

// Characters that Base64Encode writes for `count` bytes: 4 per started group of 3;
// 0 when that would not fit in int32 or `count` is negative.
int32_t Base64EncodedSize(int32_t count);

// Writes Base64EncodedSize(count) characters (no terminator) and returns their number.
int32_t Base64Encode(char* destination, const uint8_t* source, int32_t count);

// The text of the functions below ends at its end, its first NUL byte or (for
// decoding) its first "=".

// Decodes `text`, skipping ASCII white space, and returns the number of bytes
// written; -1 when it holds any other character outside the alphabet.
// `destination` must hold Base64DecodedSizeBound(text) bytes.
int32_t Base64Decode(uint8_t* destination, std::string_view text);

// What Base64Decode returns for `text`, found without writing anything.
int32_t Base64DecodedCount(std::string_view text);

// Length of `text` x 3 / 4: at least the bytes that Base64Decode writes for it.
int32_t Base64DecodedSizeBound(std::string_view text);

}  // namespace ImageLib
