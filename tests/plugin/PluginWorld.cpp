#include "PluginWorld.h"

#include "plugin/TGAFormatPlugin.h"
#include "tools/editor-host/HostHandles.h"

namespace PluginTests {

void CallPlugin(int16_t selector, PluginHost::FormatRecord* record, intptr_t* data, int16_t* result) {
    FormatPlugin::TGAFormatPlugin plugin;
    plugin.Main(selector, record, data, result);
}

void PluginWorld::SetUp() {
    environment.Set("XDG_RUNTIME_DIR", runtime.Path());
    environment.Set("APPDATA", appData.Path());
    environment.Set("BW_ETCWORKS", std::nullopt);
}

void PluginWorld::TearDown() {
    EditorHost::DisposeAllHandles();
}

FormatPlugin::PluginGlobals PluginWorld::GlobalsOf(EditorHost::HostSession& session) {
    PluginHost::HandleProcs& procs = EditorHost::HostHandleProcs();
    const auto* globals = static_cast<const FormatPlugin::PluginGlobals*>(procs.lockProc(session.DataWord(), false));
    EXPECT_NE(globals, nullptr);
    FormatPlugin::PluginGlobals copy = globals != nullptr ? *globals : FormatPlugin::PluginGlobals{};
    procs.unlockProc(session.DataWord());
    return copy;
}

void PluginWorld::SetOptions(EditorHost::HostSession& session, const ImageLib::ImageOptions& options) {
    PluginHost::HandleProcs& procs = EditorHost::HostHandleProcs();
    auto* globals = static_cast<FormatPlugin::PluginGlobals*>(procs.lockProc(session.DataWord(), false));
    ASSERT_NE(globals, nullptr);
    globals->options = options;
    procs.unlockProc(session.DataWord());
}

EditorHost::Document PatternDocument(int16_t mode, int32_t width, int32_t height, int32_t alphaCount) {
    EditorHost::Document document;
    const int32_t planes = EditorHost::ColourChannelsOfMode(mode) + alphaCount;
    EXPECT_TRUE(EditorHost::ShapeDocument(document, mode, width, height, planes));
    for (size_t c = 0; c < document.channels.size(); ++c) {
        std::vector<uint8_t>& channel = document.channels[c];
        for (size_t i = 0; i < channel.size(); ++i) {
            const size_t x = i % width;
            const size_t y = i / width;
            channel[i] = static_cast<uint8_t>(x * (7 + 13 * c) + y * (3 + 5 * c) + 41 * c);
        }
    }
    if (mode == PluginHost::plugInModeIndexedColor) {
        document.lutCount = 256;
        for (int32_t i = 0; i < 256; ++i) {
            document.lut[0][i] = static_cast<uint8_t>(i);
            document.lut[1][i] = static_cast<uint8_t>(255 - i);
            document.lut[2][i] = static_cast<uint8_t>(i * 3);
        }
    }
    document.title = "pattern.tga";
    return document;
}

}  // namespace PluginTests
