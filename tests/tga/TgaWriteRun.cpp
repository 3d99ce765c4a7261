#include "tga/TgaWriteRun.h"

#include <sys/resource.h>

#include <algorithm>
#include <csignal>

#include <gtest/gtest.h>

#include "platform/Files.h"
#include "support/TestFiles.h"

namespace TgaTest {

void MakeImage(ImageLib::CImage& image, int32_t format, int32_t width, int32_t height, const Bytes& pixels,
               const Bytes& palette) {
    int32_t colours = static_cast<int32_t>(palette.size() / 3);
    if (!image.Create(format, width, height, colours, 0, 0, 0)) return;
    std::copy(pixels.begin(), pixels.end(), image.pixels.get());
    if (colours > 0) std::copy(palette.begin(), palette.end(), image.palette.get());
}

bool WriteTga(ImageLib::CImage& image, const ImageLib::ImageOptions* options, Bytes& file) {
    TestSupport::TempFolder folder;
    std::string path = folder.File("out.tga");
    Platform::FileHandle handle = Platform::CreateOrTruncateFile(path.c_str());
    bool written = ImageLib::CImageTGA::WriteImage(image, handle, options);
    Platform::CloseFile(handle);
    file = written ? TestSupport::ReadBytes(path) : Bytes();
    return written;
}

std::unique_ptr<ImageLib::CImageTGA> ReadTga(const Bytes& file) {
    TestSupport::TempFolder folder;
    std::string path = folder.File("in.tga");
    TestSupport::WriteBytes(path, file);
    auto image = std::make_unique<ImageLib::CImageTGA>();
    if (!image->Load(path.c_str())) return nullptr;
    return image;
}

namespace {

// Writes as WriteTga does while every write past the first `limit` bytes of the
// file fails, and returns the writer's result.
bool WriteTgaWithSizeLimit(ImageLib::CImage& image, const ImageLib::ImageOptions* options, int64_t limit) {
    TestSupport::TempFolder folder;
    std::string path = folder.File("out.tga");
    Platform::FileHandle handle = Platform::CreateOrTruncateFile(path.c_str());
    rlimit original{};
    getrlimit(RLIMIT_FSIZE, &original);
    rlimit capped = original;
    capped.rlim_cur = static_cast<rlim_t>(limit);
    // Past the limit a write fails with EFBIG instead of raising SIGXFSZ.
    auto originalHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &capped);
    bool written = ImageLib::CImageTGA::WriteImage(image, handle, options);
    setrlimit(RLIMIT_FSIZE, &original);
    std::signal(SIGXFSZ, originalHandler);
    Platform::CloseFile(handle);
    return written;
}

}  // namespace

void ExpectFailureAtEveryShortWrite(ImageLib::CImage& image, const ImageLib::ImageOptions& options) {
    Bytes file;
    ASSERT_TRUE(WriteTga(image, &options, file));
    for (int64_t limit = 0; limit < static_cast<int64_t>(file.size()); ++limit) {
        EXPECT_FALSE(WriteTgaWithSizeLimit(image, &options, limit)) << "limit " << limit;
    }
    EXPECT_TRUE(WriteTgaWithSizeLimit(image, &options, static_cast<int64_t>(file.size())));
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes U32(uint32_t value) {
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
            static_cast<uint8_t>(value >> 24)};
}

}  // namespace TgaTest
