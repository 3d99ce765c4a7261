#include "LaunchWorld.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "plugin/launch/ConverterLaunch.h"
#include "support/TestPattern.h"

namespace LaunchTests {

void LaunchWorld::SetUp() {
    environment.Set("XDG_RUNTIME_DIR", runtime.Path());
    environment.Set("TMPDIR", std::nullopt);
    environment.Set("APPDATA", appData.Path());
    environment.Set("BW_ETCWORKS", std::nullopt);
    environment.Set("PATH", "/usr/bin:/bin");
    PluginLaunch::SetPluginModule(nullptr);
    PluginLaunch::g_converterBusy = false;
    PluginLaunch::g_lastConvertError = 0;
}

void LaunchWorld::TearDown() { PluginLaunch::SetPluginModule(nullptr); }

std::string LaunchWorld::ConverterFolder() const {
    return runtime.Path() + "/BW-VOQ-Orvik/" + std::to_string(::getpid());
}

std::string LaunchWorld::ConverterFile(const std::string& name) const { return ConverterFolder() + "/" + name; }

std::string WriteStandInConverter(const std::string& folder, const std::string& log, const std::string& behaviour) {
    std::string path = folder + "/BW-VOQ-Orvik";
    WriteExecutable(path, "#!/bin/sh\n"
                          "printf '[%s]' \"$@\" >> '" + log + "'; echo >> '" + log + "'\n"
                          "out=; previous=\n"
                          "for word in \"$@\"; do [ \"$previous\" = -o ] && out=\"$word\"; previous=\"$word\"; done\n" +
                              behaviour + "\n");
    return path;
}

int CountRuns(const std::string& log) {
    std::string text = TestSupport::ReadText(log);
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

std::unique_ptr<ImageLib::CImage> PhotoImage(int32_t width, int32_t height, int32_t format) {
    auto image = std::make_unique<ImageLib::CImage>();
    std::vector<uint8_t> rgba = TestSupport::PhotoLikeRgba(width, height);
    EXPECT_TRUE(image->Create(format, width, height, 0, 0, 0, 0));
    EXPECT_TRUE(ImageLib::ConvertPixels(ImageLib::RGBA, format, rgba.data(), image->pixels.get(), nullptr, width,
                                        height));
    return image;
}

void WriteExecutable(const std::string& path, const std::string& text) {
    TestSupport::WriteText(path, text);
    ::chmod(path.c_str(), 0755);
}

}  // namespace LaunchTests
