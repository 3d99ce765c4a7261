// The whole conversion road on small files: the first three bytes choose the
// input kind, the texture format with its mip levels and colour mapping, and
// the TGA compression; the rest is the input file. It is loaded by its kind
// and saved as TGA, FENK and VOQ into a folder of its own; every output that
// is written must load again with the same size, and a failed save must leave
// nothing behind. ETC1 runs only with the Fast method, so every input stays quick.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "FuzzInputFile.h"
#include "etc1/ETC1Encoder.h"
#include "image/ImageFiles.h"

namespace {

constexpr int64_t kMaxPixels = int64_t{1} << 14;
constexpr size_t kChoiceBytes = 3;
constexpr const char* kInputKinds[] = {".tga", ".fenk", ".voq"};
constexpr const char* kOutputNames[] = {"out.tga", "out.fenk", "out.voq"};

// A folder of this process's own for the outputs.
const std::filesystem::path& OutputFolder() {
    static const std::filesystem::path folder = [] {
        std::random_device random;
        std::error_code error;
        std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm", error) ? "/dev/shm" : std::filesystem::temp_directory_path();
        std::filesystem::path made = base / ("bwvoq-road-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directory(made);
        return made;
    }();
    return folder;
}

struct FolderRemoval {
    ~FolderRemoval() {
        std::error_code ignored;
        std::filesystem::remove_all(OutputFolder(), ignored);
    }
};

ImageLib::ImageOptions OptionsFrom(const uint8_t* choice) {
    ImageLib::ImageOptions options;
    options.format = choice[1] % (ImageLib::kTextureFormatCount + 1);  // the last: no texture format
    if (options.format == ImageLib::kTextureFormatCount) options.format = ImageLib::INVALID;
    options.mipMode = (choice[2] & 1) ? ImageLib::GenerateMipMap : ImageLib::NoMipMap;
    options.mipLevels = (choice[2] >> 1) & 7;
    options.colorCorrection = (choice[2] >> 4) % ImageLib::kColorCorrectionCount;
    options.tgaCompression = choice[0] >> 7;
    options.etcQuality = ImageLib::Fast;
    options.etcEncoder = ETC1Encoder::EncodeETC1Image;
    options.path = "in";
    options.source = "in";
    return options;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FolderRemoval removal;
    if (size < kChoiceBytes) return 0;
    static FuzzInputFile inputs[] = {FuzzInputFile(kInputKinds[0]), FuzzInputFile(kInputKinds[1]),
                                     FuzzInputFile(kInputKinds[2])};
    FuzzInputFile& input = inputs[data[0] % 3];
    if (!input.Write(data + kChoiceBytes, size - kChoiceBytes)) return 0;
    std::unique_ptr<ImageLib::CImage> image(ImageLib::CreateImageFromFile(input.Path()));
    // Huge but valid images only cost time.
    if (!image || static_cast<int64_t>(image->width) * image->height > kMaxPixels) return 0;

    ImageLib::ImageOptions options = OptionsFrom(data);
    for (const char* name : kOutputNames) {
        std::string output = (OutputFolder() / name).string();
        std::error_code ignored;
        std::filesystem::remove(output, ignored);
        if (!ImageLib::SaveImage(image.get(), output.c_str(), &options)) {
            if (!std::filesystem::is_empty(OutputFolder())) __builtin_trap();
            continue;
        }
        std::unique_ptr<ImageLib::CImage> back(ImageLib::CreateImageFromFile(output.c_str()));
        if (!back || back->width < 1 || back->height < 1) __builtin_trap();
        std::filesystem::remove(output, ignored);
    }
    return 0;
}
