// Moving pixels between the host and the plug-in: files opened through the TGA
// configuration, documents copied into images for a save, and the estimate.
#include <memory>

#include "PluginWorld.h"
#include "image/ImageTGA.h"
#include "plugin/HostPixelTransfer.h"
#include "support/TgaBuilder.h"
#include "tools/editor-host/PixelTransfer.h"

namespace PluginTests {
namespace {

using namespace PluginHost;
using EditorHost::Document;
using EditorHost::HostSession;

class Opening : public PluginWorld {
protected:
    // Opens `bytes` as a file through the plug-in; the session's result.
    int16_t Open(const std::vector<uint8_t>& bytes, Document& document) {
        const std::string path = files.File("opened.tga");
        TestSupport::WriteBytes(path, bytes);
        Platform::FileHandle file = Platform::OpenFileForReading(path.c_str());
        HostSession session(CallPlugin, nullptr);
        const int16_t result = session.Open(file, "opened.tga", document);
        Platform::CloseFile(file);
        return result;
    }
};

TgaFile IndexedFile256() {
    TgaFile file;
    file.colorMapType = 1;
    file.imageType = 1;
    file.colorMapLength = 256;
    file.colorMapEntrySize = 24;
    file.width = 16;
    file.height = 16;
    file.pixelDepth = 8;
    file.descriptor = 0x20;  // top-down rows
    for (int i = 0; i < 256; ++i) {
        // Stored blue, green, red.
        file.colorMap.insert(file.colorMap.end(), {static_cast<uint8_t>(i / 2), static_cast<uint8_t>(255 - i),
                                                    static_cast<uint8_t>(i)});
        file.data.push_back(static_cast<uint8_t>(255 - i));
    }
    return file;
}

TEST_F(Opening, An8BitPaletteOpensIndexedWithItsTablesInOrder) {
    Document document;
    ASSERT_EQ(Open(IndexedFile256().Bytes(), document), noErr);
    EXPECT_EQ(document.mode, plugInModeIndexedColor);
    EXPECT_EQ(document.lutCount, 256);
    ASSERT_EQ(document.channels.size(), 1u);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(document.lut[0][i], i);
        EXPECT_EQ(document.lut[1][i], 255 - i);
        EXPECT_EQ(document.lut[2][i], i / 2);
        EXPECT_EQ(document.channels[0][i], 255 - i);
    }
}

struct ModeCase {
    const char* name;
    uint8_t imageType;
    uint8_t depth;
    uint8_t alphaBits;
    int16_t mode;
    size_t planes;
};

void PrintTo(const ModeCase& c, std::ostream* out) { *out << c.name; }

class OpenedModes : public Opening, public testing::WithParamInterface<ModeCase> {};

TEST_P(OpenedModes, GiveTheHostTheImagesModeAndPlanes) {
    const ModeCase& c = GetParam();
    TgaFile file;
    file.imageType = c.imageType;
    file.pixelDepth = c.depth;
    file.descriptor = c.alphaBits;
    file.width = 3;
    file.height = 2;
    for (int i = 0; i < 6 * c.depth / 8; ++i) file.data.push_back(static_cast<uint8_t>(i * 11));
    Document document;
    ASSERT_EQ(Open(file.Bytes(), document), noErr);
    EXPECT_EQ(document.mode, c.mode);
    EXPECT_EQ(document.channels.size(), c.planes);
    EXPECT_EQ(document.width, 3);
    EXPECT_EQ(document.height, 2);

    ImageLib::CImageTGA expected;
    const std::string path = files.File("opened.tga");
    ASSERT_TRUE(expected.Load(path.c_str()));
    std::unique_ptr<ImageLib::CImage> received = EditorHost::DocumentImage(document);
    ASSERT_NE(received, nullptr);
    ASSERT_EQ(received->format, expected.format);
    const int32_t size = ImageLib::GetImageByteSize(expected.format, 3, 2);
    EXPECT_EQ(std::vector<uint8_t>(received->pixels.get(), received->pixels.get() + size),
              std::vector<uint8_t>(expected.pixels.get(), expected.pixels.get() + size));
}

INSTANTIATE_TEST_SUITE_P(Plugin, OpenedModes,
                         testing::Values(ModeCase{"Grey", 3, 8, 0, plugInModeGrayScale, 1},
                                         ModeCase{"Rgb", 2, 24, 0, plugInModeRGBColor, 3},
                                         ModeCase{"RgbWithAlpha", 2, 32, 8, plugInModeRGBColor, 4}),
                         [](const testing::TestParamInfo<ModeCase>& info) { return info.param.name; });

struct BrokenCase {
    const char* name;
    size_t keptBytes;  // of a valid 4 x 4 RGB file
};

void PrintTo(const BrokenCase& c, std::ostream* out) { *out << c.name; }

class BrokenFiles : public Opening, public testing::WithParamInterface<BrokenCase> {};

TEST_P(BrokenFiles, CannotBeRead) {
    TgaFile file;
    file.width = 4;
    file.height = 4;
    file.data.assign(48, 0x5A);
    std::vector<uint8_t> bytes = file.Bytes();
    bytes.resize(GetParam().keptBytes);
    Document document;
    EXPECT_EQ(Open(bytes, document), formatCannotRead);
}

INSTANTIATE_TEST_SUITE_P(Plugin, BrokenFiles,
                         testing::Values(BrokenCase{"Empty", 0}, BrokenCase{"HalfAHeader", 9},
                                         BrokenCase{"HeaderOnly", 18}, BrokenCase{"LastRowMissing", 18 + 36}),
                         [](const testing::TestParamInfo<BrokenCase>& info) { return info.param.name; });

TEST_F(Opening, TheSecondReadStartsAgainFromTheBeginningOfTheFile) {
    TgaFile file;
    file.width = 2;
    file.height = 1;
    file.data = {1, 2, 3, 4, 5, 6};
    const std::string path = files.File("twice.tga");
    TestSupport::WriteBytes(path, file.Bytes());
    Platform::FileHandle handle = Platform::OpenFileForReading(path.c_str());
    HostSession session(CallPlugin, nullptr);
    session.Record().dataFork = handle;
    for (int16_t p = 0; p < kPlaneMapSize; ++p) session.Record().planeMap[p] = p;
    ASSERT_EQ(session.Call(formatSelectorReadStart), noErr);
    ASSERT_EQ(ImageLib::GetBytesPerPixel(ImageLib::RGB), session.Record().planes);
    ASSERT_TRUE(EditorHost::ShapeDocument(session.CurrentDocument(), plugInModeRGBColor, 2, 1, 3));
    Platform::SeekFile(handle, 0, Platform::SeekOrigin::End);  // where a host might leave it
    EXPECT_EQ(session.Call(formatSelectorReadContinue), noErr);
    EXPECT_EQ(session.CurrentDocument().channels[2], (std::vector<uint8_t>{1, 4}));  // blue was stored first
    Platform::CloseFile(handle);
}

TEST_F(Opening, AFileChangedSinceItsHeaderWasReadIsNotTransferred) {
    TgaFile file;
    file.width = 2;
    file.height = 1;
    file.data = {1, 2, 3, 4, 5, 6};
    const std::string path = files.File("changing.tga");
    TestSupport::WriteBytes(path, file.Bytes());
    Platform::FileHandle handle = Platform::OpenFileForReading(path.c_str());
    HostSession session(CallPlugin, nullptr);
    session.Record().dataFork = handle;
    ASSERT_EQ(session.Call(formatSelectorReadStart), noErr);
    file.width = 4;
    file.data.resize(12, 9);
    TestSupport::WriteBytes(path, file.Bytes());  // the same file, rewritten in place
    EXPECT_EQ(session.Call(formatSelectorReadContinue), formatCannotRead);
    Platform::CloseFile(handle);
}

// The document and record that the host's transfer below answers from.
const Document* g_document = nullptr;
const FormatRecord* g_record = nullptr;

int16_t TransferDocument() { return EditorHost::CopyDocumentToModule(*g_document, *g_record); }

// ReadHostImage through a record that describes `document`, answered by the host's transfer.
class HostImages : public PluginWorld {
protected:
    int16_t ReadDocument(const Document& document, ImageLib::CImage& image, int16_t planes = -1) {
        session.CurrentDocument() = document;
        FormatRecord& record = session.Record();
        g_document = &session.CurrentDocument();
        g_record = &record;
        record.advanceState = TransferDocument;
        record.imageMode = document.mode;
        record.imageSize = HostPoint{static_cast<int16_t>(document.height), static_cast<int16_t>(document.width)};
        record.planes = planes >= 0 ? planes : static_cast<int16_t>(document.channels.size());
        record.lutCount = static_cast<int16_t>(document.lutCount);
        for (int i = 0; i < kLookUpTableSize; ++i) {
            record.redLUT[i] = document.lut[0][i];
            record.greenLUT[i] = document.lut[1][i];
            record.blueLUT[i] = document.lut[2][i];
        }
        for (int16_t p = 0; p < kPlaneMapSize; ++p) record.planeMap[p] = p;
        channels.assign(static_cast<size_t>(document.alphaCount), ReadChannelDesc{});
        for (size_t i = 0; i + 1 < channels.size(); ++i) channels[i].next = &channels[i + 1];
        info.alphaChannels = channels.empty() ? nullptr : channels.data();
        record.documentInfo = &info;
        return FormatPlugin::ReadHostImage(&image, &record);
    }

    HostSession session{CallPlugin, nullptr};
    ReadImageDocumentDesc info;
    std::vector<ReadChannelDesc> channels;
};

TEST_F(HostImages, GreyWithTwoAlphaChannelsTakesTheFirstAsAlpha) {
    const Document document = PatternDocument(plugInModeGrayScale, 5, 3, 2);
    ImageLib::CImage image;
    ASSERT_EQ(ReadDocument(document, image), noErr);
    EXPECT_EQ(image.format, ImageLib::LA);
    EXPECT_EQ(session.Record().planeMap[1], 1);
    EXPECT_EQ(session.Record().planes, 2);
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(image.pixels[2 * i], document.channels[0][i]);
        EXPECT_EQ(image.pixels[2 * i + 1], document.channels[1][i]);
    }
    EXPECT_EQ(session.Record().data, nullptr);
}

TEST_F(HostImages, GreyWithoutAlphaIsLuminanceOnly) {
    const Document document = PatternDocument(plugInModeGrayScale, 5, 3, 0);
    ImageLib::CImage image;
    ASSERT_EQ(ReadDocument(document, image), noErr);
    EXPECT_EQ(image.format, ImageLib::L);
    EXPECT_EQ(std::vector<uint8_t>(image.pixels.get(), image.pixels.get() + 15), document.channels[0]);
}

TEST_F(HostImages, RgbWithFivePlanesAndTwoAlphaChannelsMapsPlaneThree) {
    // Channels: R, G, B, then two alpha channels.
    const Document document = PatternDocument(plugInModeRGBColor, 4, 4, 2);
    ImageLib::CImage image;
    ASSERT_EQ(ReadDocument(document, image), noErr);
    EXPECT_EQ(image.format, ImageLib::RGBA);
    EXPECT_EQ(session.Record().planeMap[3], 3);
    EXPECT_EQ(session.Record().planes, 4);
    for (int i = 0; i < 16; ++i) {
        for (int c = 0; c < 4; ++c) EXPECT_EQ(image.pixels[4 * i + c], document.channels[c][i]);
    }
}

TEST_F(HostImages, AlphaChannelsAfterOtherChannelsAreFoundByThePlaneCount) {
    // Six planes with two alpha channels: the first alpha channel is plane 4.
    Document document = PatternDocument(plugInModeRGBColor, 2, 2, 3);
    ImageLib::CImage image;
    document.alphaCount = 2;
    ASSERT_EQ(ReadDocument(document, image), noErr);
    EXPECT_EQ(session.Record().planeMap[3], 4);
    EXPECT_EQ(image.pixels[3], document.channels[4][0]);
}

TEST_F(HostImages, IndexedTakesThePaletteOfTheDocument) {
    const Document document = PatternDocument(plugInModeIndexedColor, 4, 2, 0);
    ImageLib::CImage image;
    ASSERT_EQ(ReadDocument(document, image), noErr);
    EXPECT_EQ(image.format, ImageLib::Indexed);
    EXPECT_EQ(image.paletteCount, 256);
    EXPECT_EQ(image.palette[3 * 200], 200);
    EXPECT_EQ(image.palette[3 * 200 + 1], 55);
    EXPECT_EQ(image.palette[3 * 200 + 2], static_cast<uint8_t>(600));
}

TEST_F(HostImages, WithoutDocumentInfoThereIsNoAlpha) {
    const Document document = PatternDocument(plugInModeRGBColor, 2, 2, 1);
    ImageLib::CImage image;
    session.Record().documentInfo = nullptr;
    FormatRecord& record = session.Record();
    session.CurrentDocument() = document;
    g_document = &session.CurrentDocument();
    g_record = &record;
    record.advanceState = TransferDocument;
    record.imageMode = plugInModeRGBColor;
    record.imageSize = HostPoint{2, 2};
    record.planes = 4;
    for (int16_t p = 0; p < kPlaneMapSize; ++p) record.planeMap[p] = p;
    ASSERT_EQ(FormatPlugin::ReadHostImage(&image, &record), noErr);
    EXPECT_EQ(image.format, ImageLib::RGB);
}

struct RefusedCase {
    const char* name;
    int16_t mode;
    int16_t planes;  // -1: as the document has them
    int32_t lutCount;
};

void PrintTo(const RefusedCase& c, std::ostream* out) { *out << c.name; }

class RefusedDocuments : public HostImages, public testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedDocuments, AreBadParametersAndTransferNothing) {
    const RefusedCase& c = GetParam();
    Document document = PatternDocument(plugInModeRGBColor, 2, 2, 1);
    document.mode = c.mode;
    document.lutCount = c.lutCount;
    ImageLib::CImage image;
    EXPECT_EQ(ReadDocument(document, image, c.planes), formatBadParameters);
    EXPECT_EQ(image.pixels, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Plugin, RefusedDocuments,
                         testing::Values(RefusedCase{"Bitmap", 0, -1, 0}, RefusedCase{"Cmyk", 4, -1, 0},
                                         RefusedCase{"Lab", 9, -1, 0},
                                         RefusedCase{"AlphaCountedAmongTheColours", plugInModeRGBColor, 3, 0},
                                         RefusedCase{"IndexedWithoutPalette", plugInModeIndexedColor, 2, 0}),
                         [](const testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });

TEST(ImageModes, FollowThePixelLayout) {
    EXPECT_EQ(FormatPlugin::ImageModeOfFormat(nullptr), -1);
    const std::pair<int32_t, int16_t> expected[] = {
        {ImageLib::None, -1}, {ImageLib::L, 1}, {ImageLib::LA, 1}, {ImageLib::RGB, 3}, {ImageLib::RGBA, 3},
        {ImageLib::Indexed, 2}, {6, -1}};
    for (auto [format, mode] : expected) {
        ImageLib::CImage image;
        image.format = format;
        EXPECT_EQ(FormatPlugin::ImageModeOfFormat(&image), mode) << "format " << format;
    }
}

struct EstimateCase {
    const char* name;
    int16_t width;
    int16_t height;
    int32_t expected;
};

void PrintTo(const EstimateCase& c, std::ostream* out) { *out << c.name; }

class Estimates : public PluginWorld, public testing::WithParamInterface<EstimateCase> {};

TEST_P(Estimates, CountThreeBytesAPixelAndAHeader) {
    HostSession session(CallPlugin, nullptr);
    session.Record().imageSize = HostPoint{GetParam().height, GetParam().width};
    session.Record().data = &session;
    ASSERT_EQ(session.Call(formatSelectorEstimateStart), noErr);
    EXPECT_EQ(session.Record().minDataBytes, 54);
    EXPECT_EQ(session.Record().maxDataBytes, GetParam().expected);
    EXPECT_EQ(session.Record().data, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Plugin, Estimates,
                         testing::Values(EstimateCase{"HundredByFifty", 100, 50, 15054},
                                         EstimateCase{"Largest", 32767, 32767, INT32_MAX}),
                         [](const testing::TestParamInfo<EstimateCase>& info) { return info.param.name; });

}  // namespace
}  // namespace PluginTests
