// Byte counts of images and textures, computed in 64 bits.
//
// Sizes are int32 throughout the library; a count that does not fit is the
// operation's ordinary failure, so every product and sum goes through here.
#pragma once

#include <cstdint>
#include <limits>

namespace ImageLib {

inline constexpr int64_t kMaxByteCount = std::numeric_limits<int32_t>::max();

// a x b x c as an int32, or 0 when a factor is negative or the product does not fit.
constexpr int32_t CheckedProduct(int64_t a, int64_t b, int64_t c = 1) {
    if (a < 0 || b < 0 || c < 0) return 0;
    if (a == 0 || b == 0 || c == 0) return 0;
    if (a > kMaxByteCount || b > kMaxByteCount / a) return 0;
    int64_t ab = a * b;
    if (c > kMaxByteCount / ab) return 0;
    return static_cast<int32_t>(ab * c);
}

// a + b as an int32, or 0 when either is negative or the sum does not fit.
constexpr int32_t CheckedSum(int64_t a, int64_t b) {
    if (a < 0 || b < 0 || a + b > kMaxByteCount) return 0;
    return static_cast<int32_t>(a + b);
}

}  // namespace ImageLib
