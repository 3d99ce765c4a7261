#include "platform/ProcessorFeatures.h"

namespace Platform {

#if BWVOQ_X86_KERNELS

bool ProcessorHasAvx2() {
    static const bool available = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return available;
}

bool ProcessorHasAvx512() {
    static const bool available = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx512f") != 0 && __builtin_cpu_supports("avx512bw") != 0;
    }();
    return available;
}

#else

bool ProcessorHasAvx2() { return false; }
bool ProcessorHasAvx512() { return false; }

#endif

}  // namespace Platform
