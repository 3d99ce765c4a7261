// The conversion error codes and their texts.
#include <array>

#include "plugin/launch/ConverterLaunch.h"
#include "plugin/launch/TextBuffers.h"

namespace PluginLaunch {
namespace {

// By ConvertError value.
constexpr std::array<const char*, 7> kErrorTexts = {
    "",
    "System error.",
    "BW-VOQ-Orvik: Path not found.",
    "BW-VOQ-Orvik: Command not found.",
    "BW-VOQ-Orvik: Command failed.",
    "Failed to save temp file.",
    "Failed to load temp file.",
};

}  // namespace

int32_t g_lastConvertError = 0;
char g_errorText[kErrorTextSize] = {};

const char* GetErrorMessage() {
    bool known = g_lastConvertError >= 0 && g_lastConvertError < static_cast<int32_t>(kErrorTexts.size());
    CopyToBuffer(known ? kErrorTexts[static_cast<size_t>(g_lastConvertError)] : "", g_errorText, kErrorTextSize);
    return g_errorText;
}

}  // namespace PluginLaunch
