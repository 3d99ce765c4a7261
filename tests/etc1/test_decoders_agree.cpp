// The encoder's block decoder and the image library's ETC1 block decoder give
// the same pixels for every block the encoder produces.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "etc1/ETC1BlockDecoder.h"
#include "etc1/FastMethods.h"
#include "image/Etc1Block.h"
#include "reference/BlockPatterns.h"

namespace {

// The block as texture data stores it: the 64-bit value little-endian.
ImageLib::ETC1Block AsStored(uint32_t high, uint32_t low) {
    ImageLib::ETC1Block block;
    uint64_t value = (static_cast<uint64_t>(high) << 32) | low;
    for (int32_t i = 0; i < 8; ++i) block.bytes[i] = static_cast<uint8_t>(value >> (8 * i));
    return block;
}

void ExpectSamePixels(uint32_t high, uint32_t low) {
    std::array<uint8_t, 48> ours{};
    std::array<uint8_t, 48> library{};
    DecodeETC1Block(high, low, ours.data());
    AsStored(high, low).Decode(library.data(), 4, 4, 0, 0, nullptr);
    ASSERT_EQ(ours, library) << std::hex << "high 0x" << high << " low 0x" << low;
}

TEST(DecodersAgree, OnEveryBlockTheFastMethodsProduce) {
    Reference::BlockGenerator random(41);
    uint8_t scratch[48];
    for (int32_t n = 0; n < 200000; ++n) {
        Reference::RgbBlock block = random.NextOfAnyPattern();
        uint32_t high = 0;
        uint32_t low = 0;
        if (n % 2 == 0) {
            CompressBlockFast(block.data(), scratch, high, low);
        } else {
            CompressBlockFastPerceptual(block.data(), scratch, high, low);
        }
        ExpectSamePixels(high, low);
    }
}

// Any colour fields, codewords, flip and index planes with valid differential
// sums: the blocks the slower methods can produce as well.
TEST(DecodersAgree, OnRandomValidBlocks) {
    Reference::BlockGenerator random(42);
    for (int32_t n = 0; n < 200000; ++n) {
        uint32_t high =
            static_cast<uint32_t>(random.Uniform(0, 0xFFFF)) << 16 | static_cast<uint32_t>(random.Uniform(0, 0xFFFF));
        uint32_t low =
            static_cast<uint32_t>(random.Uniform(0, 0xFFFF)) << 16 | static_cast<uint32_t>(random.Uniform(0, 0xFFFF));
        if ((high & 2u) != 0) {
            for (int32_t shift : {24, 16, 8}) {
                int32_t first = static_cast<int32_t>((high >> (shift + 3)) & 31u);
                int32_t delta = random.Uniform(std::max(-4, -first), std::min(3, 31 - first));
                high = (high & ~(7u << shift)) | ((static_cast<uint32_t>(delta) & 7u) << shift);
            }
        }
        ExpectSamePixels(high, low);
    }
}

}  // namespace
