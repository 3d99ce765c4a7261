#include "etc1/ETC1Methods.h"

#include "etc1/FastMethods.h"

namespace {

// In EtcQuality order: Fast, Medium, Slow, FastPerceptual, MediumPerceptual,
// SlowPerceptual. The Medium and Slow compressors are not part of this build:
// their entries have none, and the driver stops with "Not implemented." before
// it would compress a block with them.
constexpr ETC1Method kMethods[6] = {
    {CompressBlockFast, false},           {nullptr, true}, {nullptr, true},
    {CompressBlockFastPerceptual, false}, {nullptr, true}, {nullptr, true},
};

}  // namespace

const ETC1Method* FindETC1Method(int32_t quality) {
    if (quality < 0 || quality >= 6) return nullptr;
    return &kMethods[quality];
}
