// Opening files through editor-host: what the host receives equals what the
// image library reads from the same file, and files that cannot be read give
// -30501 while the host goes on.
#include <cstdio>
#include <string>

#include "HostWorld.h"
#include "image/TextureFormat.h"
#include "support/TgaBuilder.h"

namespace HostTests {
namespace {

using namespace ImageLib;

// The line editor-host prints for a document that holds `image`.
std::string DocumentLine(const CImage& image) {
    const int mode = image.format == L || image.format == LA ? 1 : image.format == Indexed ? 2 : 3;
    char line[128];
    std::snprintf(line, sizeof line, "mode %d size %dx%d depth 8 planes %d lut %d\n", mode, image.width,
                  image.height, GetBytesPerPixel(image.format), image.paletteCount);
    return line;
}

class Opening : public HostWorld {
protected:
    // Opens `path` through `module` and expects what the image library reads from it.
    void ExpectOpenedAsTheLibraryReads(const std::string& module, const std::string& path) {
        const std::string dump = files.File("dump.tga");
        const TestSupport::ConverterResult run = RunHost({module, "open", path, "--dump", dump});
        ASSERT_EQ(run.exitStatus, 0) << run.output << run.errors;
        std::unique_ptr<CImage> expected = LoadImage(path);
        std::unique_ptr<CImage> received = LoadImage(dump);
        ASSERT_NE(expected, nullptr);
        ASSERT_NE(received, nullptr);
        EXPECT_EQ(run.output, DocumentLine(*expected));
        ExpectSameImage(*received, *expected);
    }
};

struct TgaCase {
    const char* name;
    uint8_t imageType;  // 1 to 3 raw, 9 to 11 RLE
    uint8_t depth;
    uint8_t alphaBits;
};

void PrintTo(const TgaCase& c, std::ostream* out) { *out << c.name; }

TgaFile PatternTga(const TgaCase& c) {
    TgaFile file;
    file.imageType = c.imageType;
    file.pixelDepth = c.depth;
    file.descriptor = c.alphaBits;
    file.width = 19;
    file.height = 7;
    const bool indexed = c.imageType == 1 || c.imageType == 9;
    if (indexed) {
        file.colorMapType = 1;
        file.colorMapLength = 256;
        file.colorMapEntrySize = 24;
        for (int i = 0; i < 256; ++i) {
            file.colorMap.insert(file.colorMap.end(),
                                 {static_cast<uint8_t>(i), static_cast<uint8_t>(i * 7), static_cast<uint8_t>(~i)});
        }
    }
    const size_t pixelSize = c.depth / 8;
    std::vector<uint8_t> stored;
    for (size_t i = 0; i < size_t{19} * 7 * pixelSize; ++i) stored.push_back(static_cast<uint8_t>((i / 5) * 37));
    file.data = c.imageType >= 9 ? PackRle(stored, pixelSize) : stored;
    return file;
}

class OpenedTga : public Opening, public testing::WithParamInterface<TgaCase> {};

TEST_P(OpenedTga, GivesWhatTheImageLibraryReads) {
    const std::string path = files.File("opened.tga");
    TestSupport::WriteBytes(path, PatternTga(GetParam()).Bytes());
    ExpectOpenedAsTheLibraryReads(kTgaModule, path);
}

INSTANTIATE_TEST_SUITE_P(Host, OpenedTga,
                         testing::Values(TgaCase{"Grey", 3, 8, 0}, TgaCase{"GreyRle", 11, 8, 0},
                                         TgaCase{"Rgb", 2, 24, 0}, TgaCase{"RgbRle", 10, 24, 0},
                                         TgaCase{"Rgba", 2, 32, 8}, TgaCase{"RgbaRle", 10, 32, 8},
                                         TgaCase{"Indexed256", 1, 8, 0}, TgaCase{"Indexed256Rle", 9, 8, 0}),
                         [](const testing::TestParamInfo<TgaCase>& info) { return info.param.name; });

// A TGA picture to convert from: grey, grey with alpha, RGB or RGBA by the format's pixels.
std::string SourceFor(int32_t format, const TestSupport::TempFolder& folder) {
    const int32_t layout = GetImageFormatOf(format);
    TgaFile file;
    file.width = 32;
    file.height = 16;
    const bool grey = layout == L || layout == LA;
    const bool alpha = layout == LA || layout == RGBA;
    file.imageType = 2;
    file.pixelDepth = alpha ? 32 : 24;
    file.descriptor = alpha ? 8 : 0;
    for (int i = 0; i < 32 * 16; ++i) {
        const uint8_t value = static_cast<uint8_t>(i * 3);
        const uint8_t b = grey ? value : static_cast<uint8_t>(i * 5);
        const uint8_t g = grey ? value : static_cast<uint8_t>(i * 11);
        file.data.insert(file.data.end(), {b, g, value});
        if (alpha) file.data.push_back(static_cast<uint8_t>(255 - i));
    }
    const std::string path = folder.File("source.tga");
    TestSupport::WriteBytes(path, file.Bytes());
    return path;
}

class OpenedFenk : public Opening, public testing::WithParamInterface<int32_t> {};

TEST_P(OpenedFenk, GivesWhatTheImageLibraryReads) {
    const int32_t format = GetParam();
    const std::string path = files.File("opened.fenk");
    const TestSupport::ConverterResult conversion =
        TestSupport::RunConverter({"-i", SourceFor(format, files), "-o", path, "-f", GetTextureFormatName(format),
                                   "-e", "Fast"});
    ASSERT_EQ(conversion.exitStatus, 0) << conversion.output;
    ExpectOpenedAsTheLibraryReads(kFenkModule, path);
}

INSTANTIATE_TEST_SUITE_P(Host, OpenedFenk, testing::Range(0, kTextureFormatCount),
                         [](const testing::TestParamInfo<int32_t>& info) {
                             return std::string(GetTextureFormatName(info.param));
                         });

struct BrokenCase {
    const char* name;
    bool fenk;
    std::string text;
};

void PrintTo(const BrokenCase& c, std::ostream* out) { *out << c.name; }

class BrokenFiles : public HostWorld, public testing::WithParamInterface<BrokenCase> {};

TEST_P(BrokenFiles, CannotBeReadAndTheHostGoesOn) {
    const BrokenCase& c = GetParam();
    const std::string path = files.File(c.fenk ? "broken.fenk" : "broken.tga");
    TestSupport::WriteText(path, c.text);
    const TestSupport::ConverterResult run = RunHost({c.fenk ? kFenkModule : kTgaModule, "open", path});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.output, "result -30501\n");
}

std::string TruncatedTga() {
    TgaFile file = PatternTga(TgaCase{"Rgb", 2, 24, 0});
    std::vector<uint8_t> bytes = file.Bytes();
    return std::string(bytes.begin(), bytes.begin() + static_cast<long>(bytes.size() / 2));
}

std::string FenkText(const std::string& format, const std::string& levelText) {
    return "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<ImageTextureVoq Width=\"8\" Height=\"8\" MipmapSize=\"1\" "
           "Format=\"" + format + "\" Encoding=\"Base64\">\r\n<PixelBasedImageVoq>" + levelText +
           "</PixelBasedImageVoq>\r\n</ImageTextureVoq>\r\n";
}

INSTANTIATE_TEST_SUITE_P(
    Host, BrokenFiles,
    testing::Values(BrokenCase{"EmptyTga", false, ""}, BrokenCase{"TgaOfUnknownType", false, std::string(18, '\x07')},
                    BrokenCase{"TruncatedTga", false, TruncatedTga()}, BrokenCase{"EmptyFenk", true, ""},
                    BrokenCase{"FenkWithoutTexture", true, "\xEF\xBB\xBF<Other/>"},
                    BrokenCase{"FenkOfUnknownFormat", true, FenkText("Rgb9", "AAAA")},
                    BrokenCase{"FenkWithShortLevel", true, FenkText("L8", "AAAA")},
                    BrokenCase{"TruncatedFenk", true, FenkText("L8", std::string(88, 'A')).substr(0, 120)}),
    [](const testing::TestParamInfo<BrokenCase>& info) { return info.param.name; });

}  // namespace
}  // namespace HostTests
