// The half sweeps in three builds, AVX-512, AVX2 and any processor, picked by
// the processor at the first use.
#include "etc1/HalfSweep.h"

#include <cstdint>

#include "etc1/SearchError.h"
#include "image/ETC1BlockFormat.h"
#include "platform/ProcessorFeatures.h"

#if BWVOQ_X86_KERNELS
#include <immintrin.h>
#endif

using ImageLib::ETC1ModifierTable;

#if BWVOQ_X86_KERNELS
namespace SweepAvx512 {
namespace {
#define SWEEP_TARGET BWVOQ_AVX512
#define SWEEP_WIDTH 16
#include "etc1/HalfSweepKernel.inl"
#undef SWEEP_TARGET
#undef SWEEP_WIDTH
}  // namespace
}  // namespace SweepAvx512

namespace SweepAvx2 {
namespace {
#define SWEEP_TARGET BWVOQ_AVX2
#define SWEEP_WIDTH 8
#include "etc1/HalfSweepKernel.inl"
#undef SWEEP_TARGET
#undef SWEEP_WIDTH
}  // namespace
}  // namespace SweepAvx2
#endif

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
    switch (flavour) {
        case SweepFlavour::Avx512: return Platform::ProcessorHasAvx512();
        case SweepFlavour::Avx2: return Platform::ProcessorHasAvx2();
        case SweepFlavour::AnyProcessor: return true;
    }
    return false;
}

const HalfSweepFunctions& HalfSweepFor(SweepFlavour flavour) {
#if BWVOQ_X86_KERNELS
    switch (flavour) {
        case SweepFlavour::Avx512: return SweepAvx512::kFunctions;
        case SweepFlavour::Avx2: return SweepAvx2::kFunctions;
        case SweepFlavour::AnyProcessor: break;
    }
#else
    (void)flavour;
#endif
    return SweepAnyProcessor::kFunctions;
}

const HalfSweepFunctions& HalfSweep() {
    static const HalfSweepFunctions& picked = HalfSweepAvailable(SweepFlavour::Avx512) ? HalfSweepFor(SweepFlavour::Avx512)
                                              : HalfSweepAvailable(SweepFlavour::Avx2)
                                                  ? HalfSweepFor(SweepFlavour::Avx2)
                                                  : HalfSweepFor(SweepFlavour::AnyProcessor);
    return picked;
}
