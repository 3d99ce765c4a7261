// The text helpers of the XML reader: entities, replacement, integers.
#include "image/XmlReader.h"

#include <array>

namespace ImageLib {

void ReplaceAll(std::string& text, std::string_view pattern, std::string_view replacement) {
    if (pattern.empty()) return;
    size_t found = text.find(pattern);
    if (found == std::string::npos) return;
    // Built anew rather than in place, so a text full of matches costs linear time.
    std::string result;
    result.reserve(text.size());
    size_t start = 0;
    for (; found != std::string::npos; found = text.find(pattern, start)) {
        result.append(text, start, found - start);
        result.append(replacement);
        start = found + pattern.size();
    }
    result.append(text, start, std::string::npos);
    text = std::move(result);
}

void DecodeXmlEntities(std::string& text) {
    // The decoded characters of the first four are no '&', so none of them can
    // begin an entity; "&amp;" goes last and its '&' is never searched again.
    // Five passes in this order thus decode exactly as one pass from left to right.
    struct Entity {
        std::string_view name, character;
    };
    static constexpr std::array<Entity, 5> kEntities = {{
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"},
    }};
    if (text.find('&') == std::string::npos) return;
    for (const Entity& entity : kEntities) ReplaceAll(text, entity.name, entity.character);
}

int32_t ParseInt(std::string_view text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    uint32_t base = 10;
    if (text.substr(i, 2) == "0x") {
        base = 16;
        i += 2;
    }
    uint32_t value = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        uint32_t digit = 16;
        if (c >= '0' && c <= '9') digit = static_cast<uint32_t>(c - '0');
        if (base == 16 && c >= 'a' && c <= 'f') digit = static_cast<uint32_t>(c - 'a' + 10);
        if (base == 16 && c >= 'A' && c <= 'F') digit = static_cast<uint32_t>(c - 'A' + 10);
        if (digit >= base) break;
        value = value * base + digit;
    }
    if (negative) value = 0u - value;
    return static_cast<int32_t>(value);
}

}  // namespace ImageLib
