#include "ui/x11/X11Atoms.h"

namespace ui {
namespace {

// In the order of AtomId.
constexpr std::array<const char*, static_cast<size_t>(AtomId::Count)> kAtomNames{
    "WM_PROTOCOLS",
    "WM_DELETE_WINDOW",
    "UTF8_STRING",
    "_NET_WM_NAME",
    "_NET_WM_WINDOW_TYPE",
    "_NET_WM_WINDOW_TYPE_NORMAL",
    "_NET_WM_WINDOW_TYPE_UTILITY",
    "_NET_WM_WINDOW_TYPE_DIALOG",
    "_NET_WM_STATE",
    "_NET_WM_STATE_ABOVE",
    "_NET_WM_ICON",
    "_NET_WORKAREA",
    "_NET_CURRENT_DESKTOP",
    "_NET_FRAME_EXTENTS",
    "_NET_CLIENT_LIST",
    "_NET_CLIENT_LIST_STACKING",
    "_MOTIF_WM_HINTS",
};

}  // namespace

X11Atoms::X11Atoms(::Display* display) {
    std::array<char*, kAtomNames.size()> names;
    for (size_t i = 0; i < names.size(); ++i) names[i] = const_cast<char*>(kAtomNames[i]);
    XInternAtoms(display, names.data(), static_cast<int>(names.size()), False, atoms_.data());
}

}  // namespace ui
