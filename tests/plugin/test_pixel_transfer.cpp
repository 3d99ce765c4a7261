// Moving pixels between the host and the plug-in: files read twice through the
// TGA configuration, documents copied into images for a save, and the estimate.
// The files of every kind are opened end to end in tests/plugin_e2e.
#include "PluginWorld.h"
#include "plugin/HostPixelTransfer.h"
#include "support/TgaBuilder.h"
#include "tools/editor-host/PixelTransfer.h"

namespace PluginTests {
namespace {

using namespace PluginHost;
using EditorHost::Document;
using EditorHost::HostSession;

// A two-pixel RGB file opened as the host's data fork, ReadStart done.
class Opening : public PluginWorld {
protected:
    void SetUp() override {
        PluginWorld::SetUp();
        file.width = 2;
        file.height = 1;
        file.data = {1, 2, 3, 4, 5, 6};  // blue, green, red of each pixel
        TestSupport::WriteBytes(path, file.Bytes());
        handle = Platform::OpenFileForReading(path.c_str());
        session.Record().dataFork = handle;
        for (int16_t p = 0; p < kPlaneMapSize; ++p) session.Record().planeMap[p] = p;
        ASSERT_EQ(session.Call(formatSelectorReadStart), noErr);
    }
    void TearDown() override {
        Platform::CloseFile(handle);
        PluginWorld::TearDown();
    }

    TgaFile file;
    const std::string path = files.File("opened.tga");
    Platform::FileHandle handle;
    HostSession session{CallPlugin, nullptr};
};

TEST_F(Opening, TheSecondReadStartsAgainFromTheBeginningOfTheFile) {
    ASSERT_EQ(session.Record().planes, 3);
    ASSERT_TRUE(EditorHost::ShapeDocument(session.CurrentDocument(), plugInModeRGBColor, 2, 1, 3));
    Platform::SeekFile(handle, 0, Platform::SeekOrigin::End);  // where a host might leave it
    EXPECT_EQ(session.Call(formatSelectorReadContinue), noErr);
    EXPECT_EQ(session.CurrentDocument().channels[2], (std::vector<uint8_t>{1, 4}));
}

TEST_F(Opening, AFileChangedSinceItsHeaderWasReadIsNotTransferred) {
    file.width = 4;
    file.data.resize(12, 9);
    TestSupport::WriteBytes(path, file.Bytes());  // the same file, rewritten in place
    EXPECT_EQ(session.Call(formatSelectorReadContinue), formatCannotRead);
}

// The document and record that the host's transfer below answers from.
const Document* g_document = nullptr;
const FormatRecord* g_record = nullptr;

int16_t TransferDocument() { return EditorHost::CopyDocumentToModule(*g_document, *g_record); }

// ReadHostImage through a record that describes `document`, answered by the host's transfer.
class HostImages : public PluginWorld {
protected:
    // The record describes `document` as the host does, with `planes` when that is given.
    void Describe(const Document& document, int16_t planes = -1) {
        session.CurrentDocument() = document;
        session.DescribeDocument();
        FormatRecord& record = session.Record();
        if (planes >= 0) record.planes = planes;
        g_document = &session.CurrentDocument();
        g_record = &record;
        record.advanceState = TransferDocument;
    }

    int16_t ReadDocument(const Document& document, ImageLib::CImage& image, int16_t planes = -1) {
        Describe(document, planes);
        return FormatPlugin::ReadHostImage(&image, &session.Record());
    }

    HostSession session{CallPlugin, nullptr};
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
    ImageLib::CImage image;
    Describe(PatternDocument(plugInModeRGBColor, 2, 2, 1));
    session.Record().documentInfo = nullptr;
    ASSERT_EQ(FormatPlugin::ReadHostImage(&image, &session.Record()), noErr);
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
