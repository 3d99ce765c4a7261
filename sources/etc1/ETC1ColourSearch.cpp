// The colour searches in three builds, AVX-512, AVX2 and any processor, picked
// by the processor at the first use.
#include "etc1/ETC1ColourSearch.h"

#include <cstdint>

#include "etc1/ETC1ColourSearchNearestCodes.h"
#include "etc1/ETC1ModifierSearch.h"
#include "image/ETC1BlockFormat.h"
#include "platform/ProcessorFeatures.h"

#if BWVOQ_X86_KERNELS
#include <immintrin.h>
#endif

namespace ETC1Encoder {

using ImageLib::ETC1ModifierTable;

#if BWVOQ_X86_KERNELS
namespace SearchAvx512 {
namespace {
#define SWEEP_TARGET BWVOQ_AVX512
#define SWEEP_WIDTH 16
#include "etc1/ETC1ColourSearchKernel.inl"
#undef SWEEP_TARGET
#undef SWEEP_WIDTH
}  // namespace
}  // namespace SearchAvx512

namespace SearchAvx2 {
namespace {
#define SWEEP_TARGET BWVOQ_AVX2
#define SWEEP_WIDTH 8
#include "etc1/ETC1ColourSearchKernel.inl"
#undef SWEEP_TARGET
#undef SWEEP_WIDTH
}  // namespace
}  // namespace SearchAvx2
#endif

namespace SearchAnyProcessor {
namespace {
#define SWEEP_TARGET
#define SWEEP_WIDTH 4
#include "etc1/ETC1ColourSearchKernel.inl"
#undef SWEEP_TARGET
#undef SWEEP_WIDTH
}  // namespace
}  // namespace SearchAnyProcessor

void ForgetQuarters(BlockQuarters& quarters) {
    for (QuarterTables& quarter : quarters.quarter) {
        quarter.bits = 0;  // no code width: nothing held
        quarter.builtRed = 0;
        quarter.builtGreen = 0;
        quarter.othersKnown = false;
        quarter.builtSums = 0;
    }
}

bool ColourSearchAvailable(InstructionSet set) {
    switch (set) {
        case InstructionSet::Avx512: return Platform::ProcessorHasAvx512();
        case InstructionSet::Avx2: return Platform::ProcessorHasAvx2();
        case InstructionSet::AnyProcessor: return true;
    }
    return false;
}

const ColourSearchKernel& ColourSearchFor(InstructionSet set) {
#if BWVOQ_X86_KERNELS
    switch (set) {
        case InstructionSet::Avx512: return SearchAvx512::kKernel;
        case InstructionSet::Avx2: return SearchAvx2::kKernel;
        case InstructionSet::AnyProcessor: break;
    }
#else
    (void)set;
#endif
    return SearchAnyProcessor::kKernel;
}

const ColourSearchKernel& FastestColourSearch() {
    static const ColourSearchKernel& picked = ColourSearchAvailable(InstructionSet::Avx512)
                                                  ? ColourSearchFor(InstructionSet::Avx512)
                                                  : ColourSearchAvailable(InstructionSet::Avx2)
                                                        ? ColourSearchFor(InstructionSet::Avx2)
                                                        : ColourSearchFor(InstructionSet::AnyProcessor);
    return picked;
}

}  // namespace ETC1Encoder
