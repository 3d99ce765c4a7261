#include "tools/editor-host/HostCommandLine.h"

#include <charconv>
#include <cstring>
#include <string_view>

namespace EditorHost {

using namespace PluginHost;

namespace {

std::optional<int32_t> ModeByName(std::string_view name) {
    if (name == "gray") return plugInModeGrayScale;
    if (name == "indexed") return plugInModeIndexedColor;
    if (name == "rgb") return plugInModeRGBColor;
    return std::nullopt;
}

std::optional<int32_t> Count(std::string_view text) {
    int32_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
    return value;
}

// The save command's options from argv[first] on; false on anything unknown.
bool ParseSaveOptions(int argc, const char* const* argv, int first, HostCommandLine& line) {
    for (int i = first; i < argc; ++i) {
        const std::string_view option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--no-options") {
            line.runOptions = false;
        } else if (option == "--mode" && hasValue) {
            std::optional<int32_t> mode = ModeByName(argv[++i]);
            if (!mode) return false;
            line.request.mode = *mode;
        } else if (option == "--dialog" && hasValue) {
            line.dialogScript = argv[++i];
        } else if (option == "--alpha-channels" && hasValue) {
            std::optional<int32_t> count = Count(argv[++i]);
            if (!count) return false;
            line.request.alphaChannels = *count;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<HostCommandLine> ParseHostCommandLine(int argc, const char* const* argv) {
    if (argc < 3) return std::nullopt;
    HostCommandLine line;
    line.module = argv[1];
    const std::string_view command = argv[2];
    if (command == "about" && (argc == 3 || (argc == 5 && std::strcmp(argv[3], "--dialog") == 0))) {
        line.command = Command::About;
        if (argc == 5) line.dialogScript = argv[4];
        return line;
    }
    if (command == "open" && (argc == 4 || (argc == 6 && std::strcmp(argv[4], "--dump") == 0))) {
        line.command = Command::Open;
        line.file = argv[3];
        if (argc == 6) line.output = argv[5];
        return line;
    }
    if (command == "save" && argc >= 5) {
        line.command = Command::Save;
        line.file = argv[3];
        line.output = argv[4];
        if (ParseSaveOptions(argc, argv, 5, line)) return line;
    }
    return std::nullopt;
}

}  // namespace EditorHost
