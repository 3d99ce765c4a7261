// How the converter replaces its output: nothing beside it after a run that is
// killed or stopped, symbolic links written through, permission bits kept.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <string>
#include <vector>

#include "image/Image.h"
#include "image/ImageFiles.h"
#include "support/ConverterRun.h"
#include "support/TestFiles.h"

using TestSupport::ConverterResult;
using TestSupport::RunConverter;
using TestSupport::TempFolder;

namespace {

// A 1024 x 1024 noise image: the Slow ETC1 method takes seconds over it with
// an empty cache, so a signal sent at its first progress line lands mid-run.
void WriteNoiseTga(const std::string& path) {
    ImageLib::CImage image;
    ASSERT_TRUE(image.Create(ImageLib::RGB, 1024, 1024, 0, 0, 0, 0));
    uint32_t state = 12345;
    for (int32_t i = 0; i < 1024 * 1024 * 3; ++i) {
        state = state * 1664525u + 1013904223u;
        image.pixels[i] = static_cast<uint8_t>(state >> 24);
    }
    ASSERT_TRUE(ImageLib::SaveImage(&image, path.c_str(), nullptr));
}

class CutShortRun : public testing::TestWithParam<int> {
protected:
    TempFolder folder;
    TempFolder cache;  // empty, so every block is compressed
};

TEST_P(CutShortRun, LeavesNoFileBesideTheOutputAndTheOldOutputIntact) {
    WriteNoiseTga(folder.File("in.tga"));
    TestSupport::WriteText(folder.File("out.voq"), "old output");
    TestSupport::RunningProgram run(BWVOQ_CONVERTER, {"-i", "in.tga", "-o", "out.voq", "-f", "ETC1", "-e", "Slow"},
                                    folder.Path(), "", {{"APPDATA", cache.Path()}});
    ASSERT_TRUE(run.WaitForOutput("Compressed ", std::chrono::seconds(60)));
    run.SendSignal(GetParam());
    ConverterResult result = run.Wait();
    EXPECT_EQ(result.signal, GetParam()) << result.output.substr(0, 200);
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"in.tga", "out.voq"}));
    EXPECT_EQ(TestSupport::ReadText(folder.File("out.voq")), "old output");
}

INSTANTIATE_TEST_SUITE_P(Output, CutShortRun, testing::Values(SIGKILL, SIGINT, SIGTERM),
                         [](const testing::TestParamInfo<int>& info) {
                             return std::string(info.param == SIGKILL  ? "SIGKILL"
                                                : info.param == SIGINT ? "SIGINT"
                                                                       : "SIGTERM");
                         });

class OutputReplacement : public testing::Test {
protected:
    void SetUp() override {
        ImageLib::CImage image;
        ASSERT_TRUE(image.Create(ImageLib::RGB, 16, 16, 0, 0, 0, 0));
        for (int32_t i = 0; i < 16 * 16 * 3; ++i) image.pixels[i] = static_cast<uint8_t>(i * 5);
        ASSERT_TRUE(ImageLib::SaveImage(&image, folder.File("in.tga").c_str(), nullptr));
        ASSERT_EQ(Convert("plain.voq").exitStatus, 0);
    }

    ConverterResult Convert(const std::string& output) {
        return RunConverter({"-i", "in.tga", "-o", output, "-f", "RGB565"}, folder.Path());
    }

    TempFolder folder;
};

TEST_F(OutputReplacement, SymbolicLinkStillPointsToItsTargetWhichHoldsTheNewTexture) {
    ASSERT_EQ(mkdir(folder.File("textures").c_str(), 0777), 0);
    TestSupport::WriteText(folder.File("textures/real.voq"), "old output");
    ASSERT_EQ(symlink("textures/real.voq", folder.File("out.voq").c_str()), 0);
    ASSERT_EQ(Convert("out.voq").exitStatus, 0);
    struct stat info {};
    ASSERT_EQ(lstat(folder.File("out.voq").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    std::vector<char> link(64);
    ASSERT_GT(readlink(folder.File("out.voq").c_str(), link.data(), link.size() - 1), 0);
    EXPECT_EQ(std::string(link.data()), "textures/real.voq");
    EXPECT_EQ(TestSupport::ReadBytes(folder.File("textures/real.voq")), TestSupport::ReadBytes(folder.File("plain.voq")));
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"in.tga", "out.voq", "plain.voq", "textures"}));
}

TEST_F(OutputReplacement, PrivateOutputStaysPrivate) {
    TestSupport::WriteText(folder.File("out.voq"), "old output");
    ASSERT_EQ(chmod(folder.File("out.voq").c_str(), 0600), 0);
    ASSERT_EQ(Convert("out.voq").exitStatus, 0);
    struct stat info {};
    ASSERT_EQ(stat(folder.File("out.voq").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(TestSupport::ReadBytes(folder.File("out.voq")), TestSupport::ReadBytes(folder.File("plain.voq")));
}

}  // namespace
