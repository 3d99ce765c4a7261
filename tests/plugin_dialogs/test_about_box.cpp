// The About box on the memory display, closed by input from another thread as a person would.
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "DialogWorld.h"
#include "plugin/AboutBox.h"
#include "plugin/DialogTemplates.h"
#include "plugin/PluginModule.h"
#include "ui/MemoryDisplay.h"
#include "ui/WindowSystem.h"

namespace DialogTests {
namespace {

using namespace std::chrono_literals;

// The About box once it is shown; null when it never appears.
ui::HWND WaitForBox() {
    for (int i = 0; i < 500; ++i) {
        ui::HWND box = ui::memory::FindWindowByCaption("About");
        if (box != nullptr && ui::IsWindowVisible(box)) return box;
        std::this_thread::sleep_for(10ms);
    }
    return nullptr;
}

struct InputCase {
    const char* name;
    std::function<void(ui::HWND box)> input;
    bool closes;
};

class AboutBoxInput : public DialogWorld, public testing::WithParamInterface<InputCase> {};

TEST_P(AboutBoxInput, ClosesOnAClickEscOrEnterOnly) {
    bool stillOpenAfterInput = false;
    std::thread person([&] {
        ui::HWND box = WaitForBox();
        ASSERT_NE(box, nullptr);
        GetParam().input(box);
        // Time for the box's thread to handle the input before looking.
        std::this_thread::sleep_for(300ms);
        stillOpenAfterInput = ui::IsWindow(box) && ui::IsWindowVisible(box);
        if (stillOpenAfterInput) ui::memory::PressKey(ui::VK_ESCAPE);
    });
    FormatPlugin::ShowAboutBox(host);
    person.join();
    EXPECT_EQ(stillOpenAfterInput, !GetParam().closes);
}

INSTANTIATE_TEST_SUITE_P(
    About, AboutBoxInput,
    testing::Values(
        InputCase{"ClickOnTheText", [](ui::HWND box) { ui::memory::ClickWindow(ui::GetDlgItem(box, -1)); }, true},
        InputCase{"ClickOnTheBox",
                  [](ui::HWND box) {
                      ui::RECT rect;
                      ui::GetWindowRect(box, &rect);
                      ui::memory::Click(rect.left + 10, rect.bottom - 10);
                  },
                  true},
        InputCase{"ClickOnOk", [](ui::HWND box) { ui::memory::ClickWindow(ui::GetDlgItem(box, ui::IDOK)); }, true},
        InputCase{"Escape", [](ui::HWND) { ui::memory::PressKey(ui::VK_ESCAPE); }, true},
        InputCase{"Enter", [](ui::HWND) { ui::memory::PressKey(ui::VK_RETURN); }, true},
        InputCase{"Letter", [](ui::HWND) { ui::memory::PressKey('A'); }, false},
        InputCase{"Digit", [](ui::HWND) { ui::memory::PressKey('7'); }, false}),
    [](const testing::TestParamInfo<InputCase>& info) { return std::string(info.param.name); });

using AboutBox = DialogWorld;

TEST_F(AboutBox, SitsOverItsParentAsPlaced) {
    ui::SetWindowPos(host, nullptr, 100, 50, 800, 600, ui::SWP_NOZORDER);
    ui::RECT shown{};
    std::thread person([&] {
        ui::HWND box = WaitForBox();
        ASSERT_NE(box, nullptr);
        ui::GetWindowRect(box, &shown);
        ui::memory::PressKey(ui::VK_ESCAPE);
    });
    FormatPlugin::ShowAboutBox(host);
    person.join();

    ui::RECT client;
    ui::GetClientRect(host, &client);
    ui::POINT origin{0, 0};
    ui::ClientToScreen(host, &origin);
    const int width = shown.right - shown.left;
    const int height = shown.bottom - shown.top;
    EXPECT_EQ(shown.left, origin.x + (client.right - width) / 2 - ui::GetSystemMetrics(ui::SM_CXSIZE));
    EXPECT_EQ(shown.top, origin.y + (client.bottom - height) / 3);
}

}  // namespace
}  // namespace DialogTests
