// Reads arbitrary bytes as a VOQ file and, when the read succeeds, walks every
// decoded level so each byte of the image is touched.
#include <cstdint>
#include <vector>

#include "FuzzInputFile.h"
#include "image/ImageVOQ.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzInputFile file(".voq");
    if (!file.Write(data, size)) return 0;
    ImageLib::CImageVOQ image;
    if (!image.Load(file.Path())) return 0;
    int32_t chainSize = image.GetMipImageSize(-1, ImageLib::RGBA);
    std::vector<uint8_t> rgba(static_cast<size_t>(chainSize));
    if (chainSize < 1 || !image.GetMipImage(rgba.data(), chainSize, ImageLib::RGBA, -1)) __builtin_trap();
    return 0;
}
