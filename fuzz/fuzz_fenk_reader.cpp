// Reads any bytes as a whole FENK file. Sizes are capped after the header, as
// the allocations of a huge but valid texture are no finding.
#include "FuzzFile.h"
#include "image/ImageFENK.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr int64_t kMaxPixels = int64_t{1} << 16;
    Platform::FileHandle file = OpenFuzzInputAsFile(data, size);
    ImageLib::CImageFENK image;
    if (image.ReadHeader(file) && static_cast<int64_t>(image.width) * image.height <= kMaxPixels) {
        image.ReadBody(file);
    }
    Platform::CloseFile(file);
    return 0;
}
