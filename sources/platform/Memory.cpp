#include "platform/Memory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace Platform {

void AdviseHugePages(void* start, size_t bytes) {
    // madvise takes whole pages: the range shrinks to those it covers.
    const auto page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto begin = (reinterpret_cast<uintptr_t>(start) + page - 1) / page * page;
    const auto end = (reinterpret_cast<uintptr_t>(start) + bytes) / page * page;
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

}  // namespace Platform
