// The converter's command line and the names of its output files, as known answers.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "LaunchWorld.h"
#include "image/ImageOptions.h"
#include "plugin/launch/ConverterLaunch.h"

using namespace ImageLib;
using PluginLaunch::BuildCommandLine;
using PluginLaunch::kCommandLineSize;
using PluginLaunch::MakeTempPath;

namespace {

struct CommandCase {
    const char* name;
    int32_t format;
    int32_t quality;
    int32_t mipMode;
    int32_t levels;
    int32_t correction;
    const char* expected;
};

void PrintTo(const CommandCase& c, std::ostream* out) { *out << c.name; }

class CommandLineText : public testing::TestWithParam<CommandCase> {};

TEST_P(CommandLineText, ReadsAsTheConverterExpectsIt) {
    const CommandCase& c = GetParam();
    char line[kCommandLineSize];
    ASSERT_EQ(BuildCommandLine(line, "/opt/bw/BW-VOQ-Orvik", "/tmp/x/base.tga", "/tmp/x/out.fenk", c.format,
                               c.quality, c.mipMode, c.levels, c.correction),
              line);
    EXPECT_EQ(std::string(line), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Launch, CommandLineText,
    testing::Values(
        CommandCase{"Rgb8Plain", RGB8, Slow, NoMipMap, 0, NONE,
                    "/opt/bw/BW-VOQ-Orvik -c rle -f Rgb8 -n  -i \"/tmp/x/base.tga\" -o \"/tmp/x/out.fenk\""},
        CommandCase{"Etc1MethodAndMapping", ETC1, MediumPerceptual, NoMipMap, 5, VOQ_AVG,
                    "/opt/bw/BW-VOQ-Orvik -c rle -f Etc1 -e MediumPerceptual -t VOQ_AVG -n  -i \"/tmp/x/base.tga\" "
                    "-o \"/tmp/x/out.fenk\""},
        CommandCase{"AllLevels", RGBA4, Fast, GenerateMipMap, 0, NONE,
                    "/opt/bw/BW-VOQ-Orvik -c rle -f Rgba4 -n  -m MAX -i \"/tmp/x/base.tga\" -o \"/tmp/x/out.fenk\""},
        CommandCase{"NegativeLevelsMeanAll", L8, Fast, GenerateMipMap, -2, NONE,
                    "/opt/bw/BW-VOQ-Orvik -c rle -f L8 -n  -m MAX -i \"/tmp/x/base.tga\" -o \"/tmp/x/out.fenk\""},
        CommandCase{"ThreeLevels", ETC1_A4, Fast, GenerateMipMap, 3, VOQ_INV_BTM,
                    "/opt/bw/BW-VOQ-Orvik -c rle -f Etc1_a4 -e Fast -t VOQ_INV_BTM -n  -m 3 -i \"/tmp/x/base.tga\" "
                    "-o \"/tmp/x/out.fenk\""},
        CommandCase{"UseMipMapHasNoForm", HILO8, Fast, UseMipMap, 4, VOQ_TOP,
                    "/opt/bw/BW-VOQ-Orvik -c rle -f Hilo8 -t VOQ_TOP -n  -i \"/tmp/x/base.tga\" -o \"/tmp/x/out.fenk\""}),
    [](const testing::TestParamInfo<CommandCase>& info) { return info.param.name; });

struct RefusedCase {
    const char* name;
    int32_t format;
    int32_t quality;
    int32_t correction;
};

void PrintTo(const RefusedCase& c, std::ostream* out) { *out << c.name; }

class RefusedValues : public testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedValues, GiveNoLine) {
    const RefusedCase& c = GetParam();
    char line[kCommandLineSize] = "untouched";
    EXPECT_EQ(BuildCommandLine(line, "/c", "/i.tga", "/o.voq", c.format, c.quality, NoMipMap, 0, c.correction),
              nullptr);
    EXPECT_STREQ(line, "untouched");
}

INSTANTIATE_TEST_SUITE_P(Launch, RefusedValues,
                         testing::Values(RefusedCase{"AutoFormat", ETC1_AUTO, Fast, NONE},
                                         RefusedCase{"NoFormat", INVALID, Fast, NONE},
                                         RefusedCase{"NegativeFormat", -1, Fast, NONE},
                                         RefusedCase{"Etc1UnknownMethod", ETC1, 6, NONE},
                                         RefusedCase{"UnknownMapping", RGB8, Fast, 7}),
                         [](const testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });

TEST(CommandLineText, NeedsAllFourStrings) {
    char line[kCommandLineSize];
    EXPECT_EQ(BuildCommandLine(nullptr, "/c", "/i", "/o", RGB8, Fast, NoMipMap, 0, NONE), nullptr);
    EXPECT_EQ(BuildCommandLine(line, nullptr, "/i", "/o", RGB8, Fast, NoMipMap, 0, NONE), nullptr);
    EXPECT_EQ(BuildCommandLine(line, "/c", nullptr, "/o", RGB8, Fast, NoMipMap, 0, NONE), nullptr);
    EXPECT_EQ(BuildCommandLine(line, "/c", "/i", nullptr, RGB8, Fast, NoMipMap, 0, NONE), nullptr);
}

// The options part (converter path included) may hold 510 characters; the
// longest one here is "<path> -c rle -f Etc1_a4 -e SlowPerceptual -t VOQ_INV_AVG -n ".
TEST(CommandLineText, OptionsPartOfAtMost510Characters) {
    const std::string tail = " -c rle -f Etc1_a4 -e SlowPerceptual -t VOQ_INV_AVG -n ";
    std::string converter(510 - tail.size(), 'c');
    converter.front() = '/';
    char line[kCommandLineSize];
    EXPECT_NE(BuildCommandLine(line, converter.c_str(), "/i", "/o", ETC1_A4, SlowPerceptual, NoMipMap, 0,
                               VOQ_INV_AVG),
              nullptr);
    converter += "c";
    EXPECT_EQ(BuildCommandLine(line, converter.c_str(), "/i", "/o", ETC1_A4, SlowPerceptual, NoMipMap, 0,
                               VOQ_INV_AVG),
              nullptr);
}

TEST(CommandLineText, WholeLineMustFitItsBuffer) {
    char line[kCommandLineSize];
    ASSERT_NE(BuildCommandLine(line, "/c", "", "/o", L8, Fast, NoMipMap, 0, NONE), nullptr);
    std::string input(kCommandLineSize - 1 - std::string(line).size(), 'i');
    ASSERT_NE(BuildCommandLine(line, "/c", input.c_str(), "/o", L8, Fast, NoMipMap, 0, NONE), nullptr);
    EXPECT_EQ(std::string(line).size(), static_cast<size_t>(kCommandLineSize - 1));
    input += "i";
    EXPECT_EQ(BuildCommandLine(line, "/c", input.c_str(), "/o", L8, Fast, NoMipMap, 0, NONE), nullptr);
}

struct NameCase {
    const char* name;
    int32_t kind;
    int32_t format;
    int32_t quality;
    int32_t correction;
    const char* fileName;  // null: no name
};

void PrintTo(const NameCase& c, std::ostream* out) { *out << c.name; }

class TempFileNames : public LaunchTests::LaunchWorld, public testing::WithParamInterface<NameCase> {};

TEST_P(TempFileNames, NameTheOutputByFormatMappingAndMethod) {
    const NameCase& c = GetParam();
    char path[PluginLaunch::kTempPathSize];
    char* made = MakeTempPath(path, c.kind, c.format, c.quality, c.correction);
    if (c.fileName == nullptr) {
        EXPECT_EQ(made, nullptr);
        return;
    }
    ASSERT_EQ(made, path);
    EXPECT_EQ(std::string(path), ConverterFile(c.fileName));
}

INSTANTIATE_TEST_SUITE_P(
    Launch, TempFileNames,
    testing::Values(NameCase{"Rgb8Fenk", 2, RGB8, SlowPerceptual, NONE, "Rgb8NONE.fenk"},
                    NameCase{"La8Tga", 1, LA8, Medium, NONE, "La8NONE.tga"},
                    NameCase{"Etc1Voq", 3, ETC1, MediumPerceptual, VOQ_AVG, "Etc1VOQ_AVGMediumPerceptual.voq"},
                    NameCase{"Etc1A4Fast", 3, ETC1_A4, Fast, VOQ_INV_TOP, "Etc1_a4VOQ_INV_TOPFast.voq"},
                    NameCase{"KindZero", 0, RGB8, Fast, NONE, nullptr},
                    NameCase{"KindFour", 4, RGB8, Fast, NONE, nullptr},
                    NameCase{"AutoFormat", 3, ETC1_AUTO, Fast, NONE, nullptr},
                    NameCase{"Etc1UnknownMethod", 3, ETC1, -1, NONE, nullptr},
                    NameCase{"UnknownMapping", 3, RGB8, Fast, 9, nullptr}),
    [](const testing::TestParamInfo<NameCase>& info) { return info.param.name; });

TEST(EtcQualityNames, NameEachMethod) {
    const char* expected[] = {"Fast", "Medium", "Slow", "FastPerceptual", "MediumPerceptual", "SlowPerceptual"};
    for (int32_t quality = 0; quality < 6; ++quality) EXPECT_STREQ(PluginLaunch::GetEtcQualityName(quality), expected[quality]);
    EXPECT_EQ(PluginLaunch::GetEtcQualityName(6), nullptr);
}

}  // namespace
