#include "etc1/ETC1Methods.h"

#include "etc1/ETC1BlockSearch.h"
#include "etc1/ETC1FastMethods.h"

namespace ETC1Encoder {
namespace {

// The Medium and Slow compressors need no scratch block.
template <void (*Compress)(const uint8_t*, uint32_t&, uint32_t&)>
void WithoutScratch(const uint8_t* block, uint8_t*, uint32_t& high, uint32_t& low) {
    Compress(block, high, low);
}

// In EtcQuality order: Fast, Medium, Slow, FastPerceptual, MediumPerceptual, SlowPerceptual.
constexpr ETC1Method kMethods[6] = {
    {CompressBlockFast, false},
    {WithoutScratch<CompressBlockMedium>, true},
    {WithoutScratch<CompressBlockSlow>, true},
    {CompressBlockFastPerceptual, false},
    {WithoutScratch<CompressBlockMediumPerceptual>, true},
    {WithoutScratch<CompressBlockSlowPerceptual>, true},
};

}  // namespace

const ETC1Method* FindETC1Method(int32_t quality) {
    if (quality < 0 || quality >= 6) return nullptr;
    return &kMethods[quality];
}

}  // namespace ETC1Encoder
