// Test helpers for runs under the X server: waiting, and what a person does
// with the keyboard and the mouse (xdotool).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace ProgressTests {

// True when DISPLAY names a server (scripts/test starts one with a window manager).
bool HaveXServer();

// The first X window whose WM_NAME matches the regular expression, 0 when none does.
uint64_t FindWindowNamed(const std::string& pattern);

// Raises and activates the X window, as a person's click on it would.
bool Activate(uint64_t window);

// Activates the X window and presses and releases the key (an xdotool key
// name such as "Return") on it.
bool PressKey(uint64_t window, const std::string& key);

// Checks `condition` every 20 ms until it holds (true) or `seconds` have passed (false).
bool WaitUntil(const std::function<bool()>& condition, double seconds);

}  // namespace ProgressTests
