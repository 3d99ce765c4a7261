// The converter's command line: options, their value parsers and the usage block.
#pragma once

#include <cstdint>

#include "image/ImageOptions.h"

// One bit per option; an option takes effect at its first occurrence only.
enum OptionSeen : uint8_t {
    SeenInput = 0x01,
    SeenOutput = 0x02,
    SeenFormat = 0x04,
    SeenEtcQuality = 0x08,
    SeenCompression = 0x10,
    SeenMipmap = 0x20,
    SeenColorMapping = 0x40,
    SeenProgress = 0x80,
};

struct CommandLine {
    ImageLib::ImageOptions options;
    const char* inputPath = nullptr;
    const char* outputPath = nullptr;
    uint8_t seen = 0;
};

// Reads every word after the defaults are set. A "-f" value that is no format
// ends the process with exit code 1; an "-i" that does not open, or "-i" or "-o"
// without a value, with exit code 2.
CommandLine ScanCommandLine(int argc, char** argv);

// The value parsers; unrecognised values print their lines and give the fallback.
int32_t ParseFormatOption(const char* value);  // ends the process on failure
int32_t ParseEtcQualityOption(const char* value);
int32_t ParseMipmapOption(const char* value, int32_t& levels);
int32_t ParseTgaCompressionOption(const char* value);
int32_t ParseColorMappingOption(const char* value);

void PrintUsage();
// The "-f" lines printed for a missing or unknown format; ends with exit code 1.
[[noreturn]] void ExitWithFormatHelp();
