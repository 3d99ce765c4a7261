// Advice to the kernel on how a process uses its memory.
#pragma once

#include <cstddef>

namespace Platform {

// Asks for huge pages where the range holds whole ones, so that touching a
// large table costs a few faults rather than one per small page. Only memory
// not yet touched changes; a kernel without them ignores the advice.
void AdviseHugePages(void* start, size_t bytes);

}  // namespace Platform
