// Which vector instructions this processor runs, and how code marks itself as
// compiled for them.
//
// The x86 kernels are built only for x86 processors; defining
// BWVOQ_PORTABLE_ONLY leaves them out everywhere, so that a build checks that
// the portable paths stand on their own. Code guarded by BWVOQ_X86_KERNELS may
// use <immintrin.h> and the target macros below; it runs only after the check
// of its instruction set has said yes.
#pragma once

#if (defined(__x86_64__) || defined(__i386__)) && !defined(BWVOQ_PORTABLE_ONLY)
#define BWVOQ_X86_KERNELS 1
#define BWVOQ_AVX2 __attribute__((target("avx2")))
#define BWVOQ_AVX512 __attribute__((target("avx512f,avx512bw")))
#else
#define BWVOQ_X86_KERNELS 0
#endif

namespace Platform {

// AVX2. Always false where the x86 kernels are not built.
bool ProcessorHasAvx2();

// AVX-512 with its byte and word instructions (F and BW).
bool ProcessorHasAvx512();

}  // namespace Platform
