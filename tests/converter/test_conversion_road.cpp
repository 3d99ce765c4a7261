// The converter's road between loading and saving: the ETC1_AUTO choice, the
// colour mapping dropped for grey formats, and "-n" without an ETC1 format.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "support/ConverterRun.h"
#include "support/TestFiles.h"
#include "support/TgaBuilder.h"

using Bytes = std::vector<uint8_t>;
using TestSupport::ConverterResult;
using TestSupport::RunConverter;
using TestSupport::TempFolder;

namespace {

constexpr uint16_t kSide = 16;

// A 16 x 16 TGA of the given type and depth whose pixels vary in every channel;
// type 1 gets a colour map of 256 entries.
Bytes PatternTga(uint8_t imageType, uint8_t depth) {
    TgaFile file;
    file.imageType = imageType;
    file.pixelDepth = depth;
    file.width = kSide;
    file.height = kSide;
    if (imageType == 1) {
        file.colorMapType = 1;
        file.colorMapLength = 256;
        file.colorMapEntrySize = 24;
        for (int32_t i = 0; i < 256; ++i) {
            for (int32_t value : {255 - i, i / 2, i}) file.colorMap.push_back(static_cast<uint8_t>(value));
        }
    }
    for (int32_t i = 0; i < kSide * kSide * depth / 8; ++i) file.data.push_back(static_cast<uint8_t>(i * 37 + i / 7));
    return file.Bytes();
}

// The format name stored at the start of a VOQ file.
std::string VoqFormatName(const Bytes& voq) {
    std::string name;
    for (size_t i = 0; i < 8 && i < voq.size() && voq[i] != 0; ++i) name.push_back(static_cast<char>(voq[i]));
    return name;
}

struct AutoCase {
    const char* input;
    uint8_t imageType;
    uint8_t depth;
    const char* storedFormat;
};

void PrintTo(const AutoCase& c, std::ostream* out) { *out << c.input; }

class AutoFormat : public testing::TestWithParam<AutoCase> {};

TEST_P(AutoFormat, FollowsWhetherTheLoadedImageHasAlpha) {
    const AutoCase& c = GetParam();
    TempFolder folder;
    TestSupport::WriteBytes(folder.File("in.tga"), PatternTga(c.imageType, c.depth));
    ConverterResult result = RunConverter({"-i", "in.tga", "-o", "out.voq", "-f", "ETC1_AUTO", "-e", "Fast"},
                                          folder.Path());
    ASSERT_EQ(result.exitStatus, 0) << result.output;
    EXPECT_EQ(VoqFormatName(TestSupport::ReadBytes(folder.File("out.voq"))), c.storedFormat);
}

INSTANTIATE_TEST_SUITE_P(Road, AutoFormat,
                         testing::Values(AutoCase{"grey", 3, 8, "Etc1"}, AutoCase{"rgb", 2, 24, "Etc1"},
                                         AutoCase{"rgba", 2, 32, "Etc1_a4"}, AutoCase{"indexed", 1, 8, "Etc1_a4"}));

// Converts the pattern into a VOQ file with the given extra words and returns the run and the file.
std::pair<ConverterResult, Bytes> ConvertPattern(const std::vector<std::string>& extra) {
    TempFolder folder;
    TestSupport::WriteBytes(folder.File("in.tga"), PatternTga(2, 24));
    std::vector<std::string> arguments = {"-i", "in.tga", "-o", "out.voq"};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    ConverterResult result = RunConverter(arguments, folder.Path());
    return {result, TestSupport::ReadBytes(folder.File("out.voq"))};
}

TEST(ColorMapping, IsDroppedWithAMessageForGreyFormats) {
    auto [mapped, mappedFile] = ConvertPattern({"-f", "L8", "-t", "VOQ_TOP"});
    auto [plain, plainFile] = ConvertPattern({"-f", "L8"});
    EXPECT_EQ(mapped.exitStatus, 0);
    EXPECT_EQ(mapped.output, "in.tga -> out.voq \ndisabled color mapping\n");
    EXPECT_EQ(plain.output, "in.tga -> out.voq \n");
    EXPECT_EQ(mappedFile, plainFile);
}

TEST(ColorMapping, StaysForColourFormats) {
    auto [mapped, mappedFile] = ConvertPattern({"-f", "RGB8", "-t", "VOQ_TOP"});
    auto [plain, plainFile] = ConvertPattern({"-f", "RGB8"});
    EXPECT_EQ(mapped.exitStatus, 0);
    EXPECT_EQ(mapped.output, "in.tga -> out.voq \n");
    ASSERT_EQ(mappedFile.size(), plainFile.size());
    EXPECT_NE(mappedFile, plainFile);
}

TEST(ProgressOption, WithoutAnEtc1FormatTheRunPrintsOnTheConsole) {
    auto [result, file] = ConvertPattern({"-f", "RGB565", "-n"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.output, "in.tga -> out.voq \n");
    EXPECT_EQ(VoqFormatName(file), "Rgb565");
}

}  // namespace
