// The processors this process may run on.
#pragma once

#include <cstdint>

namespace Platform {

// The process's affinity mask limited to processors 0 to 31: bit i is set when
// the process may run on processor i. False when the mask cannot be read.
bool GetProcessAffinityMask32(uint32_t& mask);

}  // namespace Platform
