// The atoms a connection uses, interned in one round trip when it opens.
#pragma once

#include <array>
#include <cstddef>

#include "ui/x11/XlibHeaders.h"

namespace ui {

enum class AtomId : size_t {
    WmProtocols,
    WmDeleteWindow,
    Utf8String,
    NetWmName,
    NetWmWindowType,
    NetWmWindowTypeNormal,
    NetWmWindowTypeUtility,
    NetWmWindowTypeDialog,
    NetWmState,
    NetWmStateAbove,
    NetWmIcon,
    NetWorkArea,
    NetCurrentDesktop,
    NetFrameExtents,
    NetClientList,
    NetClientListStacking,
    MotifWmHints,
    Count
};

class X11Atoms {
public:
    explicit X11Atoms(::Display* display);
    Atom operator[](AtomId id) const { return atoms_[static_cast<size_t>(id)]; }

private:
    std::array<Atom, static_cast<size_t>(AtomId::Count)> atoms_{};
};

}  // namespace ui
