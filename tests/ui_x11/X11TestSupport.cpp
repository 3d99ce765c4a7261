#include "ui_x11/X11TestSupport.h"

#include <atomic>
#include <cstdio>
#include <map>
#include <thread>

#include "platform/Paths.h"
#include "support/ConverterRun.h"

namespace X11Test {
namespace {

constexpr ui::UINT kTick = ui::WM_USER + 0x3F0;
constexpr char kClassName[] = "X11TestWindow";

std::map<ui::HWND, int> g_closeRequests;  // only the test's main thread makes these windows

ui::LRESULT RecordingProcedure(ui::HWND window, ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) {
    if (message == ui::WM_CLOSE) {
        ++g_closeRequests[window];  // the window stays
        return 0;
    }
    return ui::DefWindowProc(window, message, wParam, lParam);
}

}  // namespace

void XServerTest::SetUp() {
    const char* display = Platform::GetEnvironmentValue("DISPLAY");
    if (!display || !*display) {
        GTEST_SKIP() << "DISPLAY is not set: this test needs an X server with a window manager (scripts/test starts one)";
    }
    ASSERT_TRUE(probe.Connected()) << "no X server answers at " << display;
}

bool RegisterTestClass(const char* name, ui::WNDPROC procedure, ui::HINSTANCE instance, ui::HICON icon) {
    ui::WNDCLASSEX windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hbrBackground = ui::GetSysColorBrush(ui::COLOR_WINDOW);
    windowClass.lpszClassName = name;
    return ui::RegisterClassEx(&windowClass) != 0;
}

bool PumpUntil(ui::HWND window, const std::function<bool()>& done, std::chrono::milliseconds limit) {
    std::atomic<bool> stop{false};
    std::thread ticker([&] {
        while (!stop) {
            ui::PostMessage(window, kTick, 0, 0);
            std::this_thread::sleep_for(20ms);
        }
    });
    const auto deadline = std::chrono::steady_clock::now() + limit;
    bool reached = done();
    ui::MSG message;
    while (!reached && std::chrono::steady_clock::now() < deadline && ui::GetMessage(&message, nullptr, 0, 0) > 0) {
        ui::TranslateMessage(&message);
        ui::DispatchMessage(&message);
        reached = done();
    }
    stop = true;
    ticker.join();
    return reached;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

ui::HINSTANCE TestModule() {
    static const char module = 0;
    return reinterpret_cast<ui::HINSTANCE>(const_cast<char*>(&module));
}

ui::INT_PTR RunModal(const ui::DialogTemplate& dialogTemplate, ui::DLGPROC procedure,
                     const std::atomic<ui::HWND>& dialog, const std::string& title,
                     const std::function<void(ui::x11probe::X11Probe& probe, uint64_t shown)>& person) {
    constexpr int kTemplateId = 4000;
    if (!ui::RegisterDialogTemplate(TestModule(), kTemplateId, &dialogTemplate)) return -1;
    std::thread player([&] {
        ui::x11probe::X11Probe probe;
        uint64_t shown = 0;
        if (probe.Connected() && WaitUntil([&] { return dialog.load() && (shown = probe.FindManaged(title)) != 0; })) {
            person(probe, shown);
            WaitUntil([&] { return !ui::IsWindow(dialog.load()); });
        }
        if (ui::HWND left = dialog.load(); ui::IsWindow(left)) ui::PostMessage(left, kGiveUp, 0, 0);
    });
    const ui::INT_PTR result = ui::DialogBoxParam(TestModule(), kTemplateId, nullptr, procedure, 0);
    player.join();
    ui::UnregisterDialogTemplates(TestModule());
    return result;
}

bool Xdotool(const std::vector<std::string>& arguments) {
    const TestSupport::ConverterResult run = TestSupport::RunProgram("/usr/bin/xdotool", arguments);
    if (run.exitStatus != 0) std::fprintf(stderr, "xdotool failed: %s\n", run.errors.c_str());
    return run.exitStatus == 0;
}

ui::HWND CreateTopLevel(const std::string& title, ui::DWORD style, ui::DWORD exStyle, const ui::RECT& rect,
                        ui::HWND owner) {
    static const bool registered = RegisterTestClass(kClassName, RecordingProcedure);
    if (!registered) return nullptr;
    return ui::CreateWindowEx(exStyle, kClassName, title.c_str(), style, rect.left, rect.top, rect.right - rect.left,
                              rect.bottom - rect.top, owner, nullptr, nullptr, nullptr);
}

int CloseRequestsOf(ui::HWND window) {
    const auto found = g_closeRequests.find(window);
    return found == g_closeRequests.end() ? 0 : found->second;
}

uint64_t WaitForManaged(ui::x11probe::X11Probe& probe, ui::HWND pumpWindow, const std::string& title) {
    uint64_t found = 0;
    PumpUntil(pumpWindow, [&] { return (found = probe.FindManaged(title)) != 0; });
    return found;
}

std::string Describe(const ui::RECT& rect) {
    char text[80];
    std::snprintf(text, sizeof text, "(%d, %d) - (%d, %d)", rect.left, rect.top, rect.right, rect.bottom);
    return text;
}

}  // namespace X11Test
