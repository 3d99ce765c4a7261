// TEMPORARY: stands in until the X11 backend lands; it never finds a server,
// so only the memory display (or none) is available.
#include "ui/x11/X11Connection.h"

namespace ui {

std::unique_ptr<DisplayConnection> OpenX11Connection() { return nullptr; }

}  // namespace ui
