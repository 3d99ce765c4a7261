#include "tools/editor-host/PropertyListReader.h"

#include "plugin/host/FormatHost.h"

namespace EditorHost {
namespace {

constexpr uint32_t kMostProperties = 64;
constexpr uint32_t kLongestProperty = 1024;

uint32_t U32At(const uint8_t* bytes) {
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

}  // namespace

std::optional<PropertyMap> ReadPropertyList(const uint8_t* list) {
    using namespace PluginHost;
    if (list == nullptr) return std::nullopt;
    const uint32_t kind = list[0] | list[1] << 8;
    const uint32_t version = U32At(list + 2);
    const uint32_t count = U32At(list + 6);
    if (kind != 1 || version != 0 || count > kMostProperties) return std::nullopt;

    PropertyMap properties;
    const uint8_t* at = list + kPropertyListHeaderSize;
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t vendor = U32At(at);
        const uint32_t key = U32At(at + 4);
        const uint32_t length = U32At(at + 12);
        if (vendor != kVendorCode || length > kLongestProperty || length % 4 != 0) return std::nullopt;
        at += kPropertyHeaderSize;
        if (!properties.emplace(key, std::vector<uint8_t>(at, at + length)).second) return std::nullopt;
        at += length;
    }
    return properties;
}

uint32_t PropertyU32(const std::vector<uint8_t>& data, size_t offset) {
    return offset + 4 <= data.size() ? U32At(data.data() + offset) : 0;
}

uint16_t PropertyU16(const std::vector<uint8_t>& data, size_t offset) {
    return offset + 2 <= data.size() ? static_cast<uint16_t>(data[offset] | data[offset + 1] << 8) : 0;
}

std::string PropertyLengthLedText(const std::vector<uint8_t>& data) {
    if (data.empty() || data[0] + 1u > data.size()) return "";
    return std::string(data.begin() + 1, data.begin() + 1 + data[0]);
}

std::string PropertyEndedText(const std::vector<uint8_t>& data) {
    std::string text;
    for (uint8_t byte : data) {
        if (byte == 0) return text;
        text += static_cast<char>(byte);
    }
    return "";  // not ended inside the property
}

}  // namespace EditorHost
