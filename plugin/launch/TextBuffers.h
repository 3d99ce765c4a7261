// Copying texts into the fixed-size character buffers of the launch interface.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace PluginLaunch {

// Copies `text` and a terminator into `buffer` of `size` characters; false,
// leaving the buffer as it was, when it does not fit.
inline bool CopyToBuffer(std::string_view text, char* buffer, int32_t size) {
    if (buffer == nullptr || text.size() >= static_cast<size_t>(size)) return false;
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    return true;
}

}  // namespace PluginLaunch
