#include "progress/NoiseImage.h"

#include "support/TgaBuilder.h"

namespace ProgressTests {

std::vector<uint8_t> NoiseTga(uint16_t side) {
    TgaFile file;
    file.width = side;
    file.height = side;
    file.data.resize(size_t{side} * side * 3);
    uint32_t state = 12345;
    for (uint8_t& byte : file.data) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<uint8_t>(state >> 24);
    }
    return file.Bytes();
}

NoiseRun::NoiseRun(uint16_t side, const std::string& outputName) : output(folder.File(outputName)) {
    TestSupport::WriteBytes(input, NoiseTga(side));
}

std::vector<std::string> NoiseRun::Arguments(bool window) const {
    std::vector<std::string> words = {"-i", input, "-o", output, "-f", "ETC1", "-e", "Slow"};
    if (window) words.push_back("-n");
    return words;
}

TestSupport::EnvironmentChanges NoiseRun::Environment() const {
    return {{"APPDATA", appData.Path()}, {"BWVOQ_DISPLAY", std::nullopt}};
}

}  // namespace ProgressTests
