// A "-n" conversion's files for runs through the binary: a noise image, the
// slowest kind for the Slow method, and an empty ETC1 cache folder of its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/ConverterRun.h"
#include "support/TestFiles.h"

namespace ProgressTests {

// A side x side true-colour TGA of pseudo-random pixels.
std::vector<uint8_t> NoiseTga(uint16_t side);

struct NoiseRun {
    TestSupport::TempFolder folder;
    TestSupport::TempFolder appData;
    std::string input = folder.File("noise.tga");
    std::string output;

    explicit NoiseRun(uint16_t side, const std::string& outputName = "noise.voq");
    // A Slow ETC1 conversion of the input into the output, with or without "-n".
    std::vector<std::string> Arguments(bool window) const;
    // The run's own cache folder, and the X display rather than the memory one.
    TestSupport::EnvironmentChanges Environment() const;
    // The conversion line that titles the window.
    std::string ConversionLine() const { return input + " -> " + output + " \n"; }
    // The window manager's title: the line without its line break.
    std::string ShownTitle() const { return input + " -> " + output + " "; }
};

}  // namespace ProgressTests
