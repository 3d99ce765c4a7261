// The result cache's key and hash of one 48-byte RGB block.
#pragma once

#include <cstdint>

namespace ETC1Encoder {

// Mixes the block's twelve little-endian 32-bit words into a 64-bit key, which
// tells blocks apart, and a 64-bit hash, which places them in the cache.
void HashETC1Block(const uint8_t* block, uint64_t& key, uint64_t& hash);

}  // namespace ETC1Encoder
