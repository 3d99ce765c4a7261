// Support of the X server tests: skipping without a server, running this
// thread's messages until something has happened, and xdotool.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "ui/WindowSystem.h"
#include "ui/x11/probe/X11Probe.h"

namespace X11Test {

using namespace std::chrono_literals;

// Long enough for a loaded machine; a passing test never waits it out.
constexpr std::chrono::milliseconds kPatience = 10s;

// A test that needs the X server: it skips when DISPLAY is unset (scripts/test
// always sets it); `probe` reads the server back.
class XServerTest : public testing::Test {
protected:
    void SetUp() override;
    ui::x11probe::X11Probe probe;
};

template <typename Param>
class XServerParamTest : public XServerTest, public testing::WithParamInterface<Param> {};

// Registers a window class of the test program; false when that fails.
bool RegisterTestClass(const char* name, ui::WNDPROC procedure, ui::HINSTANCE instance = nullptr,
                       ui::HICON icon = nullptr);

// Runs this thread's messages until `done` holds or `limit` has passed; a
// ticker posts to `window` (a window of this thread) so that the wait ends.
bool PumpUntil(ui::HWND window, const std::function<bool()>& done, std::chrono::milliseconds limit = kPatience);

// Waits without running messages (for a window of another thread).
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = kPatience);

// The test program's module: its dialog templates and icons are registered under it.
ui::HINSTANCE TestModule();

// A modal dialog run by RunModal whose person gave up: the dialog procedure
// answers kGiveUp with EndDialog(dialog, kGaveUp).
constexpr ui::UINT kGiveUp = ui::WM_USER + 1;
constexpr ui::INT_PTR kGaveUp = -5;

// Runs the dialog of `dialogTemplate` modally on this thread while `person`
// acts on another thread, with a probe of its own, once the procedure has
// published the dialog in `dialog` and the window manager shows it titled
// `title`. When the person is done and the dialog still stands after a while,
// it gets kGiveUp. The dialog's result.
ui::INT_PTR RunModal(const ui::DialogTemplate& dialogTemplate, ui::DLGPROC procedure,
                     const std::atomic<ui::HWND>& dialog, const std::string& title,
                     const std::function<void(ui::x11probe::X11Probe& probe, uint64_t shown)>& person);

// Runs xdotool with these arguments; true when it succeeded.
bool Xdotool(const std::vector<std::string>& arguments);

// A window class of this test program whose procedure records what it gets.
ui::HWND CreateTopLevel(const std::string& title, ui::DWORD style, ui::DWORD exStyle, const ui::RECT& rect,
                        ui::HWND owner = nullptr);

// How many WM_CLOSE messages a window made by CreateTopLevel has had (it keeps the window).
int CloseRequestsOf(ui::HWND window);

// The managed X window titled `title`, once the window manager has taken it; 0 if it never does.
uint64_t WaitForManaged(ui::x11probe::X11Probe& probe, ui::HWND pumpWindow, const std::string& title);

std::string Describe(const ui::RECT& rect);

}  // namespace X11Test
