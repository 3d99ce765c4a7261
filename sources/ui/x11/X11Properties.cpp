#include "ui/x11/X11Properties.h"

namespace ui {
namespace {

// A bound far above any property we read (an icon of 256 x 256 is 65,538 items).
constexpr long kMaxItems = 1 << 22;

struct PropertyData {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned char* bytes = nullptr;
    ~PropertyData() {
        if (bytes) XFree(bytes);
    }
};

bool Read(::Display* display, Window window, Atom property, Atom type, PropertyData& data) {
    unsigned long remaining = 0;
    return XGetWindowProperty(display, window, property, 0, kMaxItems, False, type, &data.type, &data.format,
                              &data.count, &remaining, &data.bytes) == Success &&
           data.type == type && data.bytes;
}

}  // namespace

std::vector<unsigned long> ReadLongs(::Display* display, Window window, Atom property, Atom type) {
    PropertyData data;
    if (!Read(display, window, property, type, data) || data.format != 32) return {};
    // Xlib hands 32-bit items over as signed longs: the upper half is not theirs.
    const auto* items = reinterpret_cast<const long*>(data.bytes);
    std::vector<unsigned long> values(data.count);
    for (size_t i = 0; i < values.size(); ++i) values[i] = static_cast<unsigned long>(items[i]) & 0xFFFFFFFFu;
    return values;
}

std::string ReadText(::Display* display, Window window, Atom property, Atom type) {
    PropertyData data;
    if (!Read(display, window, property, type, data) || data.format != 8) return {};
    return std::string(reinterpret_cast<const char*>(data.bytes), data.count);
}

void WriteLongs(::Display* display, Window window, Atom property, Atom type, std::span<const unsigned long> items) {
    XChangeProperty(display, window, property, type, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(items.data()), static_cast<int>(items.size()));
}

void WriteText(::Display* display, Window window, Atom property, Atom type, const std::string& text) {
    XChangeProperty(display, window, property, type, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
}

}  // namespace ui
