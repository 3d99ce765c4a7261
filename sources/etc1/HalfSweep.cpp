// The half sweeps in three builds, AVX-512, AVX2 and any x86-64, picked by the
// processor at the first use.
#include "etc1/HalfSweep.h"

#include <immintrin.h>

#include <cstdint>

#include "etc1/SearchError.h"
#include "etc1/ETC1ModifierTable.h"

namespace SweepAvx512 {
namespace {
#define SWEEP_TARGET __attribute__((target("avx512f,avx512bw")))
#define SWEEP_WIDTH 16
#include "etc1/HalfSweepKernel.inl"
#undef SWEEP_TARGET
#undef SWEEP_WIDTH
}  // namespace
}  // namespace SweepAvx512

namespace SweepAvx2 {
namespace {
#define SWEEP_TARGET __attribute__((target("avx2")))
#define SWEEP_WIDTH 8
#include "etc1/HalfSweepKernel.inl"
#undef SWEEP_TARGET
#undef SWEEP_WIDTH
}  // namespace
}  // namespace SweepAvx2

namespace SweepAnyProcessor {
namespace {
#define SWEEP_TARGET
#define SWEEP_WIDTH 4
#include "etc1/HalfSweepKernel.inl"
#undef SWEEP_TARGET
#undef SWEEP_WIDTH
}  // namespace
}  // namespace SweepAnyProcessor

bool HalfSweepAvailable(SweepFlavour flavour) {
    __builtin_cpu_init();
    switch (flavour) {
        case SweepFlavour::Avx512: return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
        case SweepFlavour::Avx2: return __builtin_cpu_supports("avx2");
        case SweepFlavour::AnyProcessor: return true;
    }
    return false;
}

const HalfSweepFunctions& HalfSweepFor(SweepFlavour flavour) {
    switch (flavour) {
        case SweepFlavour::Avx512: return SweepAvx512::kFunctions;
        case SweepFlavour::Avx2: return SweepAvx2::kFunctions;
        case SweepFlavour::AnyProcessor: break;
    }
    return SweepAnyProcessor::kFunctions;
}

const HalfSweepFunctions& HalfSweep() {
    static const HalfSweepFunctions& picked = HalfSweepAvailable(SweepFlavour::Avx512) ? HalfSweepFor(SweepFlavour::Avx512)
                                              : HalfSweepAvailable(SweepFlavour::Avx2)
                                                  ? HalfSweepFor(SweepFlavour::Avx2)
                                                  : HalfSweepFor(SweepFlavour::AnyProcessor);
    return picked;
}
