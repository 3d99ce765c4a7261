// Test helpers: what the X server and its window manager show, read with the
// tools of x11-utils and xdotool run as programs.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace ProgressTests {

using XWindow = unsigned long;

struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int Right() const { return x + width; }
    int Bottom() const { return y + height; }
};

// True when DISPLAY names a server that answers.
bool XServerAnswers();

// The top-level client windows whose title is exactly `title`.
std::vector<XWindow> WindowsTitled(const std::string& title);

// The work area of the first desktop as the window manager publishes it.
ScreenRect WorkArea();

// A window's place on the screen with the window manager's frame around it.
ScreenRect FramedPlace(XWindow window);

// The window manager's client list, bottom-most first.
std::vector<XWindow> StackingOrder();

// The atoms of the window's _NET_WM_STATE, as names.
std::string WindowState(XWindow window);

// Raises and activates `window`, as a person's click would.
void Activate(XWindow window);

// Sends the key (an xdotool key name such as "Return") to `window`.
void PressKey(XWindow window, const std::string& key);

// Clicks the left button at (x, y) of the window's client area.
void ClickAt(XWindow window, int x, int y);

// Checks `condition` every 20 ms until it holds (true) or `seconds` have passed (false).
bool WaitUntil(const std::function<bool()>& condition, double seconds);

}  // namespace ProgressTests
