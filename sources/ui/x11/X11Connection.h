// The X11 display: one connection to the server named by DISPLAY per thread.
#pragma once

#include <memory>

#include "ui/Display.h"

namespace ui {

// Null when DISPLAY is unset or names no server that answers.
std::unique_ptr<DisplayConnection> OpenX11Connection();

}  // namespace ui
