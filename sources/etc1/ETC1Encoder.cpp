#include "etc1/ETC1Encoder.h"

#include <type_traits>

#include "etc1/ETC1BlockDriver.h"
#include "etc1/ETC1Cache.h"
#include "etc1/ETC1CacheFile.h"
#include "etc1/ETC1Methods.h"
#include "image/ImageOptions.h"

int32_t g_etc1LastMethod = 0;

namespace ETC1Encoder {

static_assert(std::is_same_v<decltype(&EncodeETC1Image), ImageLib::EtcEncoderFunc>);

int32_t EncodeETC1Image(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height, int32_t format,
                        int32_t quality) {
    g_etc1LastMethod = quality;
    const ETC1Method* method = FindETC1Method(quality);
    if (method != nullptr && method->cached && quality != g_etc1CacheMethod) {
        LoadETC1Cache(quality);
        g_etc1CacheMethod = quality;  // tried once per run, whether or not a file was read
    }
    if (method != nullptr && method->cached) ExpectETC1Lookups(int64_t{(width + 3) / 4} * int64_t{(height + 3) / 4});
    const int32_t channels = format == ImageLib::ETC1_A4 ? 4 : 3;
    CompressETC1Blocks(source, channels, destination, width, height, quality);
    return 0;
}

}  // namespace ETC1Encoder
