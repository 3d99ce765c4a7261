// The host's handle procedures, backed by real allocations. Every handle is
// remembered until it is disposed, so a handle the host never gave out is
// refused, and what a module leaves behind can be counted and freed.
#pragma once

#include <cstdint>

#include "plugin/host/FormatHost.h"

namespace EditorHost {

PluginHost::HandleProcs& HostHandleProcs();

// A new handle holding a copy of `size` bytes; 0 when it cannot be had.
PluginHost::Handle NewHandleWithBytes(const void* bytes, int32_t size);

// How many handles exist, and how many of them are locked.
int32_t LiveHandleCount();
int32_t LockedHandleCount();

// Frees every handle that still exists.
void DisposeAllHandles();

}  // namespace EditorHost
