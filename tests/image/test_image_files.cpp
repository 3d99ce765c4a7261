#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "image/ImageFiles.h"
#include "support/TestFiles.h"

using namespace ImageLib;
using TestSupport::TempFolder;

namespace {

struct FileTypeCase {
    const char* path;
    FileType type;
};

void PrintTo(const FileTypeCase& c, std::ostream* out) { *out << '"' << c.path << '"'; }

class FileTypeTable : public testing::TestWithParam<FileTypeCase> {};

TEST_P(FileTypeTable, ChoosesTheKindByTheExtensionAlone) {
    EXPECT_EQ(GetFileType(GetParam().path), GetParam().type) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(
    ImageFiles, FileTypeTable,
    testing::Values(FileTypeCase{"a.tga", TGA}, FileTypeCase{"a.TGA", TGA}, FileTypeCase{"a.TgA", TGA},
                    FileTypeCase{"a.voq", VOQ}, FileTypeCase{"A.VOQ", VOQ}, FileTypeCase{"a.fenk", FENK},
                    FileTypeCase{"a.FeNk", FENK}, FileTypeCase{".tga", TGA}, FileTypeCase{".fenk", FENK},
                    FileTypeCase{"dir.voq/x.y.z.tga", TGA}, FileTypeCase{"/tmp/x.fenk", FENK},
                    FileTypeCase{"a.tg", Unknown}, FileTypeCase{"a.tgax", Unknown}, FileTypeCase{"a.fenks", Unknown},
                    FileTypeCase{"a.", Unknown}, FileTypeCase{"tga", Unknown}, FileTypeCase{"afenk", Unknown},
                    FileTypeCase{"a_fenk", Unknown}, FileTypeCase{"a.png", Unknown}, FileTypeCase{"", Unknown},
                    // With a dot four from the end, the four-letter form is not tried.
                    FileTypeCase{"a.b.fenk", FENK}, FileTypeCase{"x.fen", Unknown}));

TEST(GetFileType, NullPathIsUnknown) { EXPECT_EQ(GetFileType(nullptr), Unknown); }

TEST(CreateImageFromFile, RefusesUnknownKindsAndMissingFiles) {
    TempFolder folder;
    TestSupport::WriteText(folder.File("a.png"), "not an image");
    EXPECT_EQ(CreateImageFromFile(folder.File("a.png").c_str()), nullptr);
    EXPECT_EQ(CreateImageFromFile(folder.File("missing.tga").c_str()), nullptr);
    EXPECT_EQ(CreateImageFromFile(nullptr), nullptr);
}

TEST(CreateImageFromFile, VoqPathHoldingTgaDataDoesNotLoad) {
    TempFolder folder;
    std::vector<uint8_t> tga(18 + 4 * 4 * 3, 0);
    tga[2] = 2, tga[12] = 4, tga[14] = 4, tga[16] = 24;
    TestSupport::WriteBytes(folder.File("a.voq"), tga);
    EXPECT_EQ(CreateImageFromFile(folder.File("a.voq").c_str()), nullptr);
}

class SaveImageFailure : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(image.Create(RGB, 8, 8, 0, 0, 0, 0)); }

    // Saves and checks that the folder holds exactly what it held before.
    void ExpectNothingChanged(const std::string& name, const ImageOptions* options) {
        TestSupport::WriteText(folder.File("existing.voq"), "keep me");
        std::vector<std::string> before = folder.Entries();
        EXPECT_FALSE(SaveImage(&image, folder.File(name).c_str(), options));
        EXPECT_EQ(folder.Entries(), before);
        EXPECT_EQ(TestSupport::ReadText(folder.File("existing.voq")), "keep me");
    }

    TempFolder folder;
    CImage image;
};

TEST_F(SaveImageFailure, UnknownExtensionCreatesNoFile) { ExpectNothingChanged("out.png", nullptr); }

TEST_F(SaveImageFailure, FailedWriterLeavesTheExistingFileUnchanged) {
    // Without options the texture writers fail.
    ExpectNothingChanged("existing.voq", nullptr);
    ExpectNothingChanged("new.fenk", nullptr);
}

// Ends the process in the middle of a save, as the ETC1 encoder does when it cannot run.
int32_t EndTheRun(const uint8_t*, uint8_t*, int32_t, int32_t, int32_t, int32_t) { std::exit(3); }

TEST_F(SaveImageFailure, RunEndingInsideTheWriterLeavesTheExistingFileUnchanged) {
    TestSupport::WriteText(folder.File("existing.voq"), "keep me");
    ImageOptions options;
    options.format = ETC1;
    options.etcEncoder = EndTheRun;
    EXPECT_EXIT(SaveImage(&image, folder.File("existing.voq").c_str(), &options), testing::ExitedWithCode(3), "");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"existing.voq"});
    EXPECT_EQ(TestSupport::ReadText(folder.File("existing.voq")), "keep me");
}

TEST_F(SaveImageFailure, MissingImageOrPathOrFolderFails) {
    ImageOptions options;
    options.format = RGB8;
    EXPECT_FALSE(SaveImage(nullptr, folder.File("a.voq").c_str(), &options));
    EXPECT_FALSE(SaveImage(&image, nullptr, &options));
    EXPECT_FALSE(SaveImage(&image, folder.File("missing/a.voq").c_str(), &options));
    EXPECT_TRUE(folder.Entries().empty());
}

}  // namespace
