// Opening a connection to the X server that DISPLAY names.
#pragma once

#include <chrono>

#include "ui/x11/XlibHeaders.h"

namespace ui {

// How long a server may take to answer before we take it for absent.
inline constexpr std::chrono::milliseconds kServerAnswerLimit{3000};

// Null when DISPLAY is unset, names no server, the server does not answer
// within `limit`, or its screen does not show our pixels as they are (a 24-bit
// true-colour visual with 32-bit pixels 0x00RRGGBB). A server that never
// answers leaves one thread waiting for it; should it answer after all, that
// thread closes the connection.
::Display* OpenServer(std::chrono::milliseconds limit);

}  // namespace ui
