// The preview's conversions in process: reused while the choices that name the
// converted file stay, shown pixel for pixel, and options kept after a cancel.
#include <cstdio>
#include <filesystem>
#include <string>

#include "DialogWorld.h"
#include "image/ImageOptions.h"
#include "plugin/DialogTemplates.h"
#include "plugin/TGAFormatPlugin.h"
#include "plugin/launch/ConverterLaunch.h"
#include "tools/editor-host/DialogScript.h"
#include "tools/editor-host/DialogScriptRunner.h"
#include "tools/editor-host/HostHandles.h"
#include "tools/editor-host/HostSession.h"
#include "ui/MemoryDisplay.h"
#include "ui/WindowSystem.h"

namespace DialogTests {
namespace {

using namespace ImageLib;
using namespace FormatPlugin;

// The preview file of the options in the converter's temporary folder.
std::string PreviewFile(const ImageOptions& options) {
    char path[PluginLaunch::kTempPathSize];
    const char* made = PluginLaunch::MakeTempPath(path, PluginLaunch::kOutputVoq, options.format, options.etcQuality,
                                                  options.colorCorrection);
    return made != nullptr ? made : "";
}

std::filesystem::file_time_type WrittenAt(const std::string& path) { return std::filesystem::last_write_time(path); }

using PreviewConversions = DialogWorld;

TEST_F(PreviewConversions, UnchangedChoicesStartNoConverter) {
    auto document = PatternImage(RGB, 64, 64);
    Open(document.get());
    const std::string rgb8 = PreviewFile(dialog->globals.options);
    ASSERT_TRUE(std::filesystem::exists(rgb8));
    const auto first = WrittenAt(rgb8);

    // Colour, alpha, the same radio again, more levels of the same file: redrawn from the file.
    Click(kShowRgbCheck);
    Click(kShowAlphaCheck);
    Click(kFirstFormatRadio + RGB8);
    Click(kPreviewCheck);
    Click(kPreviewCheck);
    ASSERT_NE(dialog->preview.bitmap, nullptr);
    EXPECT_EQ(WrittenAt(rgb8), first);

    // More levels than the file holds: converted again.
    Click(kFirstMipModeRadio + GenerateMipMap);
    EXPECT_NE(WrittenAt(rgb8), first);
    EXPECT_EQ(dialog->preview.bitmapWidth, 64 + 32 + 16 + 8);
}

TEST_F(PreviewConversions, ThePreviewShowsTheConvertedPixels) {
    auto document = PatternImage(RGB, 64, 64);
    Open(document.get());
    ui::memory::Picture picture;
    ASSERT_TRUE(ui::memory::ReadPicture(window, picture));
    ui::RECT frame;
    ui::GetWindowRect(window, &frame);
    // A 64 x 64 picture centred in the preview's 256 x 320 at zoom 1.
    ui::POINT origin{(256 - 64) / 2, (320 - 64) / 2};
    ui::ClientToScreen(dialog->preview.window, &origin);
    for (int y = 0; y < 64; y += 7) {
        for (int x = 0; x < 64; x += 5) {
            const uint8_t* rgb = document->pixels.get() + (y * 64 + x) * 3;
            const uint32_t expected = (rgb[0] << 16) | (rgb[1] << 8) | rgb[2];
            ASSERT_EQ(picture.At(origin.x - frame.left + x, origin.y - frame.top + y) & 0xFFFFFF, expected)
                << x << ", " << y;
        }
    }
}

void CallPlugin(int16_t selector, PluginHost::FormatRecord* record, intptr_t* data, int16_t* result) {
    TGAFormatPlugin plugin;
    plugin.Main(selector, record, data, result);
}

TEST_F(PreviewConversions, CancelKeepsTheOptionsForTheNextSave) {
    EditorHost::Document document;
    ASSERT_TRUE(EditorHost::ShapeDocument(document, PluginHost::plugInModeRGBColor, 32, 32, 3));
    PluginHost::PlatformData parent;
    parent.hwnd = host;
    EditorHost::HostSession session(CallPlugin, &parent);
    const auto save = [&](const std::string& script) {
        std::string error;
        auto actions = EditorHost::ParseDialogScript(script, error);
        EditorHost::DialogScriptRunner runner(*actions, "BW_TGA Save Options", host);
        EXPECT_TRUE(runner.Start());
        const std::string path = runtime.File("saved.tga");
        Platform::FileHandle file = Platform::CreateOrTruncateFile(path.c_str());
        const int16_t result = session.Save(document, file, true);
        Platform::CloseFile(file);
        EXPECT_TRUE(runner.Finish(error)) << error;
        return result;
    };
    const auto options = [&] {
        auto* globals = static_cast<PluginGlobals*>(EditorHost::HostHandleProcs().lockProc(session.DataWord(), false));
        const ImageOptions kept = globals->options;
        EditorHost::HostHandleProcs().unlockProc(session.DataWord());
        return kept;
    };
    EXPECT_EQ(save("click 1112; select 1003 2; click 1021; select 1004 1; ok"), 0);
    EXPECT_EQ(options().mipMode, GenerateMipMap);
    EXPECT_EQ(options().colorCorrection, VOQ_TOP);
    EXPECT_EQ(save("click 1112; select 1003 0; click 1020; select 1004 3; cancel"), PluginHost::userCanceledErr);
    EXPECT_EQ(options().mipMode, GenerateMipMap);
    EXPECT_EQ(options().etcQuality, Slow);
    EXPECT_EQ(options().colorCorrection, VOQ_TOP);
    EditorHost::DisposeAllHandles();
}

}  // namespace
}  // namespace DialogTests
