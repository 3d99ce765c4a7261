// Building the converter's command from the conversion options.
#include "plugin/launch/ConverterCommand.h"

#include "image/TextureFormat.h"
#include "plugin/launch/ConverterLaunch.h"
#include "plugin/launch/TextBuffers.h"

namespace PluginLaunch {
namespace {

// Adds an option and its value to both forms of the command.
void AddOption(ConverterCommand& command, const char* option, const std::string& value) {
    command.words.insert(command.words.end(), {option, value});
    command.text += std::string(" ") + option + " " + value;
}

// "-i" and "-o": their paths are quoted in the text.
void AddPathOption(ConverterCommand& command, const char* option, const char* path) {
    command.words.insert(command.words.end(), {option, path});
    command.text += std::string(" ") + option + " \"" + path + "\"";
}

}  // namespace

bool MakeConverterCommand(const char* converter, const char* input, const char* output, int32_t format,
                          int32_t etcQuality, int32_t mipMode, int32_t mipLevels, int32_t colorCorrection,
                          ConverterCommand& command) {
    const char* formatName = ImageLib::GetTextureFormatName(format);
    const bool etc1 = ImageLib::IsETC1Format(format);
    const char* qualityName = etc1 ? GetEtcQualityName(etcQuality) : nullptr;
    const char* correctionName = colorCorrection != ImageLib::NONE ? ImageLib::GetColorCorrectionName(colorCorrection)
                                                                   : nullptr;
    if (converter == nullptr || input == nullptr || output == nullptr || formatName == nullptr ||
        (etc1 && qualityName == nullptr) || (colorCorrection != ImageLib::NONE && correctionName == nullptr)) {
        return false;
    }

    command = ConverterCommand{{converter}, converter};
    AddOption(command, "-c", "rle");
    AddOption(command, "-f", formatName);
    if (qualityName != nullptr) AddOption(command, "-e", qualityName);
    if (correctionName != nullptr) AddOption(command, "-t", correctionName);
    command.words.emplace_back("-n");
    command.text += " -n ";
    if (command.text.size() > static_cast<size_t>(kMaxOptionsLength)) return false;

    if (mipMode == ImageLib::GenerateMipMap) AddOption(command, "-m", mipLevels > 0 ? std::to_string(mipLevels) : "MAX");
    AddPathOption(command, "-i", input);
    AddPathOption(command, "-o", output);
    return command.text.size() < static_cast<size_t>(kCommandLineSize);
}

char* BuildCommandLine(char* commandLine, const char* converter, const char* input, const char* output,
                       int32_t format, int32_t etcQuality, int32_t mipMode, int32_t mipLevels,
                       int32_t colorCorrection) {
    ConverterCommand command;
    bool made = MakeConverterCommand(converter, input, output, format, etcQuality, mipMode, mipLevels,
                                     colorCorrection, command);
    return made && CopyToBuffer(command.text, commandLine, kCommandLineSize) ? commandLine : nullptr;
}

}  // namespace PluginLaunch
