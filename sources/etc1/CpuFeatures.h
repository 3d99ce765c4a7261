// Processor features that pick the vectorised paths of the encoder at run time.
#pragma once

// True when the processor runs AVX2 code.
inline bool CpuHasAvx2() {
    static const bool available = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return available;
}
