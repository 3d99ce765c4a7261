#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "converter/CommandLine.h"

namespace {

struct MipmapCase {
    const char* value;
    int32_t mode;
    int32_t levels;
    bool message;
};

void PrintTo(const MipmapCase& c, std::ostream* out) { *out << '"' << c.value << '"'; }

class MipmapOption : public testing::TestWithParam<MipmapCase> {};

TEST_P(MipmapOption, GivesModeAndLevelCount) {
    const MipmapCase& c = GetParam();
    int32_t levels = 12345;
    testing::internal::CaptureStdout();
    int32_t mode = ParseMipmapOption(c.value, levels);
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(mode, c.mode);
    EXPECT_EQ(levels, c.levels);
    EXPECT_EQ(!printed.empty(), c.message) << printed;
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, MipmapOption,
    testing::Values(MipmapCase{"max", 1, 0, false}, MipmapCase{"Max", 1, 0, false}, MipmapCase{"0", 0, 0, false},
                    MipmapCase{"3", 1, 3, false}, MipmapCase{"3abc", 1, 3, false}, MipmapCase{"  7", 1, 7, false},
                    MipmapCase{"+4", 1, 4, false}, MipmapCase{"-2", 1, -2, false},
                    MipmapCase{"2147483647", 1, 2147483647, false}, MipmapCase{"2147483648", 0, 0, true},
                    MipmapCase{"-2147483649", 0, 0, true}, MipmapCase{"0x10", 0, 0, true},
                    MipmapCase{"00", 0, 0, true}, MipmapCase{"abc", 0, 0, true}, MipmapCase{"", 0, 0, true}));

TEST(CommandLineScan, SetsTheRecordUpBeforeTheScan) {
    char program[] = "BW-VOQ-Orvik";
    char* argv[] = {program};
    CommandLine line = ScanCommandLine(1, argv);
    EXPECT_EQ(line.options.etcQuality, ImageLib::SlowPerceptual);
    EXPECT_EQ(line.options.mipMode, ImageLib::NoMipMap);
    EXPECT_EQ(line.options.tgaCompression, 0);
    EXPECT_EQ(line.options.colorCorrection, ImageLib::NONE);
    EXPECT_EQ(line.options.showProgress, 0);
    EXPECT_EQ(line.options.path, nullptr);
    EXPECT_EQ(line.options.source, nullptr);
    EXPECT_EQ(line.seen, 0);
}

TEST(CommandLineScan, StoresEveryOptionAndItsSeenBit) {
    std::string words[] = {"x", "-o", "out.tga", "-F", "etc1_auto", "-e", "Medium", "-m", "5", "-c",
                           "rle", "-t", "VOQ_BTM", "-n", "-N", "-e", "Fast"};
    char* argv[std::size(words)];
    for (size_t i = 0; i < std::size(words); ++i) argv[i] = words[i].data();
    CommandLine line = ScanCommandLine(static_cast<int>(std::size(words)), argv);
    EXPECT_EQ(std::string(line.outputPath), "out.tga");
    EXPECT_EQ(line.inputPath, nullptr);
    EXPECT_EQ(line.options.format, ImageLib::ETC1_AUTO);
    EXPECT_EQ(line.options.etcQuality, ImageLib::Medium);
    EXPECT_EQ(line.options.mipMode, ImageLib::GenerateMipMap);
    EXPECT_EQ(line.options.mipLevels, 5);
    EXPECT_EQ(line.options.tgaCompression, 1);
    EXPECT_EQ(line.options.colorCorrection, ImageLib::VOQ_BTM);
    EXPECT_EQ(line.options.showProgress, 1);
    EXPECT_EQ(line.seen, 0xFE);
}

}  // namespace
