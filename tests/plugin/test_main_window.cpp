// The host's main window shows the document from its top-left corner.
#include "PluginWorld.h"
#include "tools/editor-host/MainWindow.h"
#include "ui/MemoryDisplay.h"
#include "ui/WindowSystem.h"

namespace PluginTests {
namespace {

using namespace PluginHost;

struct ShownCase {
    const char* name;
    int16_t mode;
};

void PrintTo(const ShownCase& c, std::ostream* out) { *out << c.name; }

class MainWindowPicture : public testing::TestWithParam<ShownCase> {};

// The colour (0x00RRGGBB) that the document's pixel should show.
uint32_t ShownColour(const EditorHost::Document& document, size_t at) {
    uint32_t colour = 0;
    for (int c = 0; c < 3; ++c) {
        uint8_t value = document.channels[document.mode == plugInModeRGBColor ? c : 0][at];
        if (document.mode == plugInModeIndexedColor) value = document.lut[c][value];
        colour = colour << 8 | value;
    }
    return colour;
}

TEST_P(MainWindowPicture, ShowsEveryPixelOfTheDocument) {
    ui::UseMemoryDisplay();
    const EditorHost::Document document = PatternDocument(GetParam().mode, 7, 5, 0);
    EditorHost::MainWindow window("shown.tga");
    ASSERT_NE(window.Handle(), nullptr);
    window.ShowDocument(document);

    ui::memory::Picture picture;
    ASSERT_TRUE(ui::memory::ReadPicture(window.Handle(), picture));
    ui::RECT frame;
    ui::GetWindowRect(window.Handle(), &frame);
    ui::POINT origin;
    ui::ClientToScreen(window.Handle(), &origin);
    const int left = origin.x - frame.left;
    const int top = origin.y - frame.top;
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) {
            EXPECT_EQ(picture.At(left + x, top + y), ShownColour(document, static_cast<size_t>(y) * 7 + x))
                << "pixel " << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Host, MainWindowPicture,
                         testing::Values(ShownCase{"Rgb", plugInModeRGBColor}, ShownCase{"Grey", plugInModeGrayScale},
                                         ShownCase{"Indexed", plugInModeIndexedColor}),
                         [](const testing::TestParamInfo<ShownCase>& info) { return info.param.name; });

}  // namespace
}  // namespace PluginTests
