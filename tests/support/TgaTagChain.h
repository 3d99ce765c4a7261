// Test support: the developer tags of a TGA file written with a texture format.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace TestSupport {

struct TgaTag {
    std::string name;
    uint32_t size = 0;  // as stored: 12 + payload
    std::vector<uint8_t> payload;
};

// The offset that the 20-byte image ID stores (the first tag's); 0 without an image ID.
uint32_t FirstTagOffset(const std::vector<uint8_t>& file);

// The tags from `offset` on, each cut by its stored size; nothing when the chain
// does not end exactly at the end of the bytes.
std::optional<std::vector<TgaTag>> ParseTags(const std::vector<uint8_t>& bytes, size_t offset);

// The first tag of that name, or null.
const TgaTag* FindTag(const std::vector<TgaTag>& tags, const std::string& name);

}  // namespace TestSupport
