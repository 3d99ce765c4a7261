#include "platform/Processors.h"

#include <sched.h>

namespace Platform {

bool GetProcessAffinityMask32(uint32_t& mask) {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) != 0) return false;
    mask = 0;
    for (uint32_t cpu = 0; cpu < 32; ++cpu) {
        if (CPU_ISSET(cpu, &set)) mask |= uint32_t{1} << cpu;
    }
    return true;
}

}  // namespace Platform
