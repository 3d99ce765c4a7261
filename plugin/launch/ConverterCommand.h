// The converter's command: its argument list and the same words as one line of text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace PluginLaunch {

struct ConverterCommand {
    std::vector<std::string> words;  // the argument list, the converter's path first
    std::string text;                // the line as BuildCommandLine gives it
};

// False when a string is null, a value has no name, or the options part or the
// whole line is longer than its limit.
bool MakeConverterCommand(const char* converter, const char* input, const char* output, int32_t format,
                          int32_t etcQuality, int32_t mipMode, int32_t mipLevels, int32_t colorCorrection,
                          ConverterCommand& command);

}  // namespace PluginLaunch
