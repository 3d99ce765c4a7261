#include "ui/DisplayChoice.h"

#include <cstring>
#include <mutex>

#include "platform/Paths.h"
#include "ui/MemoryConnection.h"
#include "ui/MemoryDisplay.h"
#include "ui/ThreadQueues.h"
#include "ui/x11/X11Connection.h"

namespace ui {
namespace {

std::mutex g_choiceLock;
DisplayKind g_choice = DisplayKind::Undecided;

// Decides on the first thread that needs a display; an X11 connection opened to
// find out is kept by that thread.
std::unique_ptr<DisplayConnection> Decide() {
    const char* wanted = Platform::GetEnvironmentValue("BWVOQ_DISPLAY");
    if (wanted && std::strcmp(wanted, "memory") == 0) {
        g_choice = DisplayKind::Memory;
        return nullptr;
    }
    std::unique_ptr<DisplayConnection> connection = OpenX11Connection();
    g_choice = connection ? DisplayKind::X11 : DisplayKind::None;
    return connection;
}

}  // namespace

bool UseMemoryDisplay() {
    std::lock_guard<std::mutex> guard(g_choiceLock);
    if (g_choice == DisplayKind::Undecided) g_choice = DisplayKind::Memory;
    return g_choice == DisplayKind::Memory;
}

DisplayKind ChosenDisplay() {
    std::lock_guard<std::mutex> guard(g_choiceLock);
    return g_choice;
}

DisplayConnection* ConnectionOf(ThreadQueue& queue) {
    if (queue.connectionTried) return queue.connection.get();
    queue.connectionTried = true;
    DisplayKind kind;
    {
        std::lock_guard<std::mutex> guard(g_choiceLock);
        if (g_choice == DisplayKind::Undecided) queue.connection = Decide();
        kind = g_choice;
    }
    if (queue.connection) return queue.connection.get();
    if (kind == DisplayKind::Memory) queue.connection = std::make_unique<MemoryConnection>();
    if (kind == DisplayKind::X11) queue.connection = OpenX11Connection();
    return queue.connection.get();
}

}  // namespace ui
