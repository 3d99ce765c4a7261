#include "converter/ProgressText.h"

#include <cstdio>
#include <cstring>

std::string FormatMessage(const char* format, va_list args) {
    va_list measuring;
    va_copy(measuring, args);
    const int length = std::vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length), '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, args);
    return text;
}

void CutToMessageText(MessageText& text, const std::string& message) {
    std::snprintf(text, sizeof text, "%s", message.c_str());
}

void FormatConversionLine(CaptionText& text, const char* inputPath, const char* outputPath) {
    std::snprintf(text, sizeof text, "%s -> %s \n", inputPath, outputPath);
}

void CutAtBackspace(char* text) {
    char* backspace = std::strchr(text, '\b');
    if (backspace != nullptr) *backspace = '\0';
}

std::optional<int32_t> ProgressPosition(const char* text) {
    int done = 0;
    int total = 0;
    float percentage = 0.0f;
    if (std::sscanf(text, "Compressed %d of %d blocks, %f%% finished.", &done, &total, &percentage) != 3) {
        return std::nullopt;
    }
    // The bar clamps any position to its range; only a value no integer can
    // hold (or no number at all) is refused.
    if (!(percentage > -1.0e9f && percentage < 1.0e9f)) return std::nullopt;
    return static_cast<int32_t>(percentage + 0.5);
}
