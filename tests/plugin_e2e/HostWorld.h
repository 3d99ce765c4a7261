// The end-to-end plug-in tests' world: editor-host run as its own process on
// the built modules and the real converter, with a private temporary
// directory, an empty ETC1 cache folder and no display.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "image/Image.h"
#include "support/ConverterRun.h"
#include "support/TestFiles.h"

namespace HostTests {

inline const std::string kTgaModule = BWVOQ_TGA_MODULE;
inline const std::string kFenkModule = BWVOQ_FENK_MODULE;

class HostWorld : public testing::Test {
protected:
    // Runs editor-host with `arguments` (the module first); `display` names the
    // window system's display (BWVOQ_DISPLAY), none when empty.
    TestSupport::ConverterResult RunHost(const std::vector<std::string>& arguments,
                                         const std::string& display = "") const;

    // The "base.tga" that the last save left in the converter's temporary folder.
    std::string LeftBaseFile() const;

    TestSupport::TempFolder runtime;  // $XDG_RUNTIME_DIR
    TestSupport::TempFolder appData;  // $APPDATA
    TestSupport::TempFolder files;
};

// The image that the image library reads from `path`; null when it reads none.
std::unique_ptr<ImageLib::CImage> LoadImage(const std::string& path);

// The image's pixels converted to `format`.
std::vector<uint8_t> PixelsAs(const ImageLib::CImage& image, int32_t format);

// Expects the two images to hold the same format, size, pixels and palette
// (luminance with alpha may come back from a TGA file as RGBA).
void ExpectSameImage(const ImageLib::CImage& actual, const ImageLib::CImage& expected);

}  // namespace HostTests
