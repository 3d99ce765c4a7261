#include "HostWorld.h"

#include <filesystem>

#include "image/ImageFiles.h"

namespace HostTests {

TestSupport::ConverterResult HostWorld::RunHost(const std::vector<std::string>& arguments,
                                               const std::string& display) const {
    return TestSupport::RunProgram(BWVOQ_EDITOR_HOST, arguments, "", "",
                                   {{"XDG_RUNTIME_DIR", runtime.Path()},
                                    {"APPDATA", appData.Path()},
                                    {"BW_ETCWORKS", std::nullopt},
                                    {"DISPLAY", std::nullopt},
                                    {"BWVOQ_DISPLAY", display.empty() ? std::nullopt : std::optional(display)}});
}

std::string HostWorld::LeftBaseFile() const {
    // One folder per host process: the one that holds a base.tga.
    for (const auto& entry : std::filesystem::directory_iterator(runtime.Path() + "/BW-VOQ-Orvik")) {
        const std::string base = entry.path().string() + "/base.tga";
        if (TestSupport::FileExists(base)) return base;
    }
    return "";
}

std::unique_ptr<ImageLib::CImage> LoadImage(const std::string& path) {
    return std::unique_ptr<ImageLib::CImage>(ImageLib::CreateImageFromFile(path.c_str()));
}

std::vector<uint8_t> PixelsAs(const ImageLib::CImage& image, int32_t format) {
    std::vector<uint8_t> pixels(static_cast<size_t>(ImageLib::GetImageByteSize(format, image.width, image.height)));
    EXPECT_TRUE(image.GetPixels(pixels.data(), static_cast<int32_t>(pixels.size()), format));
    return pixels;
}

void ExpectSameImage(const ImageLib::CImage& actual, const ImageLib::CImage& expected) {
    // A TGA file holds luminance with alpha as RGBA.
    const bool storedAsRgba = expected.format == ImageLib::LA && actual.format == ImageLib::RGBA;
    if (!storedAsRgba) {
        ASSERT_EQ(actual.format, expected.format);
    }
    ASSERT_EQ(actual.width, expected.width);
    ASSERT_EQ(actual.height, expected.height);
    EXPECT_EQ(PixelsAs(actual, actual.format), PixelsAs(expected, actual.format));
    ASSERT_EQ(actual.paletteCount, expected.paletteCount);
    if (expected.paletteCount > 0) {
        const int32_t paletteSize = 3 * expected.paletteCount;
        EXPECT_EQ(std::vector<uint8_t>(actual.palette.get(), actual.palette.get() + paletteSize),
                  std::vector<uint8_t>(expected.palette.get(), expected.palette.get() + paletteSize));
    }
}

}  // namespace HostTests
