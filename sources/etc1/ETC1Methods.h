// What compresses a block for each EtcQuality, and whether the method goes
// through the result cache, the worker pool and the progress lines.
#pragma once

#include <cstdint>

namespace ETC1Encoder {

// The RGB block every compressor takes: 16 pixels row by row, R, G, B each.
inline constexpr int kETC1BlockBytes = 48;

// Compresses one 48-byte RGB block; `scratch` is 48 writable bytes of the caller's thread.
using ETC1BlockCompressor = void (*)(const uint8_t* block, uint8_t* scratch, uint32_t& high, uint32_t& low);

struct ETC1Method {
    ETC1BlockCompressor compress;  // null when this build has no compressor for the method
    bool cached;                   // result cache, worker pool and progress lines
};

// The entry of an EtcQuality, or null for a value outside 0 to 5.
const ETC1Method* FindETC1Method(int32_t quality);

}  // namespace ETC1Encoder
