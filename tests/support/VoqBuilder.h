// Builds VOQ files byte by byte for the reader's tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

// The 16-byte header: the name (at most 8 bytes, zero-padded), then the
// little-endian width, height, level count and reserved word.
inline std::vector<uint8_t> VoqHeaderBytes(const char* name, uint16_t width, uint16_t height, uint16_t levels,
                                           uint16_t reserved = 0) {
    std::vector<uint8_t> bytes(16, 0);
    std::memcpy(bytes.data(), name, std::min<size_t>(std::strlen(name), 8));
    auto put = [&bytes](size_t at, uint16_t value) {
        bytes[at] = static_cast<uint8_t>(value);
        bytes[at + 1] = static_cast<uint8_t>(value >> 8);
    };
    put(8, width);
    put(10, height);
    put(12, levels);
    put(14, reserved);
    return bytes;
}
