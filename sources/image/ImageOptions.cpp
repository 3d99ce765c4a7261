#include "image/ImageOptions.h"

#include <array>

namespace ImageLib {
namespace {

constexpr std::array<const char*, kEtcQualityCount> kEtcQualityNames = {
    "Fast", "Medium", "Slow", "FastPerceptual", "MediumPerceptual", "SlowPerceptual",
};

}  // namespace

const char* GetEtcQualityName(int32_t quality) {
    return quality >= 0 && quality < kEtcQualityCount ? kEtcQualityNames[quality] : nullptr;
}

}  // namespace ImageLib
