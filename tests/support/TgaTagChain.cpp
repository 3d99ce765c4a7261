#include "support/TgaTagChain.h"

namespace TestSupport {
namespace {

constexpr size_t kTagHeaderSize = 12;
constexpr size_t kImageIdStart = 18;
constexpr size_t kImageIdSize = 20;

uint32_t ReadU32(const std::vector<uint8_t>& bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

}  // namespace

uint32_t FirstTagOffset(const std::vector<uint8_t>& file) {
    if (file.size() < kImageIdStart + kImageIdSize || file[0] != kImageIdSize) return 0;
    return ReadU32(file, kImageIdStart + 16);
}

std::optional<std::vector<TgaTag>> ParseTags(const std::vector<uint8_t>& bytes, size_t offset) {
    std::vector<TgaTag> tags;
    while (offset + kTagHeaderSize <= bytes.size()) {
        TgaTag tag;
        tag.name.assign(bytes.begin() + offset, bytes.begin() + offset + 8);
        tag.size = ReadU32(bytes, offset + 8);
        if (tag.size < kTagHeaderSize || tag.size > bytes.size() - offset) return std::nullopt;
        tag.payload.assign(bytes.begin() + offset + kTagHeaderSize, bytes.begin() + offset + tag.size);
        tags.push_back(std::move(tag));
        offset += tags.back().size;
    }
    if (offset != bytes.size()) return std::nullopt;
    return tags;
}

const TgaTag* FindTag(const std::vector<TgaTag>& tags, const std::string& name) {
    for (const TgaTag& tag : tags) {
        if (tag.name == name) return &tag;
    }
    return nullptr;
}

}  // namespace TestSupport
