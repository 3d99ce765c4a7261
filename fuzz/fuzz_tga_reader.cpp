// Reads arbitrary bytes as a TGA file and, when the read succeeds, converts
// the pixels to RGBA so every byte of the image (and palette) is touched.
#include <cstdint>
#include <vector>

#include "FuzzInputFile.h"
#include "image/ImageTGA.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzInputFile file(".tga");
    if (!file.Write(data, size)) return 0;
    ImageLib::CImageTGA image;
    if (!image.Load(file.Path())) return 0;
    int32_t rgbaSize = image.GetImageSize(ImageLib::RGBA, nullptr);
    std::vector<uint8_t> rgba(static_cast<size_t>(rgbaSize));
    if (rgbaSize < 1 || !image.GetPixels(rgba.data(), rgbaSize, ImageLib::RGBA)) __builtin_trap();
    return 0;
}
