// Tests' view of the X server: the windows as the window manager shows them,
// the hints they carry and their pixels, read with a connection of its own.
// Window ids are X window ids (the display's native windows).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/Types.h"

namespace ui::x11probe {

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> values;  // 0x00RRGGBB, row by row, top row first
};

struct SizeLimits {
    bool hasMinimum = false;
    bool hasMaximum = false;
    SIZE minimum;
    SIZE maximum;
};

class X11Probe {
public:
    X11Probe();  // connects to the server that DISPLAY names
    ~X11Probe();
    X11Probe(const X11Probe&) = delete;
    X11Probe& operator=(const X11Probe&) = delete;

    bool Connected() const;

    // The managed window with this title (_NET_WM_NAME), 0 when there is none.
    uint64_t FindManaged(const std::string& title);
    // Managed windows, bottom of the stack first.
    std::vector<uint64_t> Stacking();
    // The window system's pop-ups on the screen (shown, not managed: drop-down lists).
    std::vector<uint64_t> PopUps();

    std::string Title(uint64_t window);        // _NET_WM_NAME
    std::string LegacyTitle(uint64_t window);  // WM_NAME
    std::vector<std::string> WindowTypes(uint64_t window);
    std::vector<std::string> States(uint64_t window);
    uint64_t TransientFor(uint64_t window);
    SizeLimits Limits(uint64_t window);
    std::vector<unsigned long> Icon(uint64_t window);  // _NET_WM_ICON as stored

    // Screen rectangles: the window manager's frame around the window, and the window itself.
    RECT Frame(uint64_t window);
    RECT Client(uint64_t window);
    RECT WorkArea();
    // The work areas the window manager publishes (four items per desktop), and
    // publishing others in its place (none: the property goes).
    std::vector<unsigned long> PublishedWorkAreas();
    void PublishWorkAreas(const std::vector<unsigned long>& areas);

    // A panel along the bottom of the screen, as a desktop's task bar: the window
    // manager leaves it out of the work area. It goes with the probe.
    bool ReservePanel(int height);

    // Asks the window manager to close the window, as its close button does.
    void RequestClose(uint64_t window);
    // What the server shows of the window, from its top-left. False when it cannot be read.
    bool Capture(uint64_t window, Pixels& pixels);

private:
    struct Connection;
    std::unique_ptr<Connection> connection_;
};

bool WritePng(const Pixels& pixels, const std::string& path);
bool ReadPng(const std::string& path, Pixels& pixels);

}  // namespace ui::x11probe
