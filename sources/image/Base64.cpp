#include "image/Base64.h"

#include <array>

#include "image/SizeMath.h"

namespace ImageLib {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr int8_t kInvalid = -1;
constexpr int8_t kSkip = -2;

// Indexed by the unsigned byte, so every one of the 256 values has an entry.
constexpr std::array<int8_t, 256> kReverse = [] {
    std::array<int8_t, 256> table{};
    table.fill(kInvalid);
    for (int8_t value = 0; value < 64; ++value) table[static_cast<uint8_t>(kAlphabet[value])] = value;
    for (char space : {' ', '\t', '\n', '\v', '\f', '\r'}) table[static_cast<uint8_t>(space)] = kSkip;
    return table;
}();

// Decodes `text`, handing each byte with its index to `put`; returns the count, or -1.
template <typename Put>
int32_t DecodeInto(std::string_view text, Put put) {
    uint32_t bits = 0;
    int32_t bitCount = 0;
    int32_t written = 0;
    for (char c : text) {
        if (c == '\0' || c == '=') break;
        int8_t value = kReverse[static_cast<uint8_t>(c)];
        if (value == kSkip) continue;
        if (value == kInvalid) return -1;
        bits = (bits << 6) | static_cast<uint32_t>(value);
        bitCount += 6;
        if (bitCount >= 8) {
            bitCount -= 8;
            put(written++, static_cast<uint8_t>(bits >> bitCount));
        }
    }
    return written;
}

}  // namespace

int32_t Base64EncodedSize(int32_t count) {
    if (count < 0) return 0;
    int64_t size = (static_cast<int64_t>(count) + 2) / 3 * 4;
    return size > kMaxByteCount ? 0 : static_cast<int32_t>(size);
}

int32_t Base64Encode(char* destination, const uint8_t* source, int32_t count) {
    uint32_t bits = 0;
    int32_t bitCount = 0;
    int32_t written = 0;
    for (int32_t i = 0; i < count; ++i) {
        bits = (bits << 8) | source[i];
        bitCount += 8;
        while (bitCount >= 6) {
            bitCount -= 6;
            destination[written++] = kAlphabet[(bits >> bitCount) & 0x3F];
        }
    }
    if (bitCount > 0) destination[written++] = kAlphabet[(bits << (6 - bitCount)) & 0x3F];
    while (written % 4 != 0) destination[written++] = '=';
    return written;
}

int32_t Base64Decode(uint8_t* destination, std::string_view text) {
    return DecodeInto(text, [destination](int32_t index, uint8_t byte) { destination[index] = byte; });
}

int32_t Base64DecodedCount(std::string_view text) {
    return DecodeInto(text, [](int32_t, uint8_t) {});
}

int32_t Base64DecodedSizeBound(std::string_view text) {
    // A text too long for int32 gets the largest bound, which no int32 buffer can hold.
    size_t length = text.substr(0, text.find('\0')).size();
    size_t bound = length / 4 * 3 + length % 4 * 3 / 4;  // length x 3 / 4 without overflow
    return bound > static_cast<size_t>(kMaxByteCount) ? static_cast<int32_t>(kMaxByteCount) : static_cast<int32_t>(bound);
}

}  // namespace ImageLib
