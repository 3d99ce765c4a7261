// The converter's command line through the real binary: usage, parser messages,
// result codes and the order in which options are taken.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "support/ConverterRun.h"
#include "support/TestFiles.h"

using TestSupport::ConverterResult;
using TestSupport::RunConverter;
using TestSupport::TempFolder;

namespace {

const std::string kUsage =
    "Usage:\n"
    " -i (required) input file, e.g. c:\\inputimage.tga/.fenk \n"
    " -o (required) output file, e.g. c:\\outputimage.tga/.fenk \n"
    " -f (required) format, values :\n"
    "      L4, L8, A4, A8, LA4, LA8, HILO8, \n"
    "      RGB565, RGB8, RGB5_A1, RGBA4, RGBA8, \n"
    "      ETC1, ETC1_A4.\n"
    " -m (optional) mipmap levels, values : 0,1,2,3..., or MAX. Default : 0 \n"
    " -e (optional) ETC1 & ETC1_A4 encoding method, values: \n"
    "      Fast, Medium, Slow, \n"
    "      FastPerceptual, MediumPerceptual, SlowPerceptual.\n"
    "      Default : SlowPerceptual \n"
    " -c (optional) TGA file compression values: none, rle. Default : rle\n"
    " -t (optional) Color Mapping: VOQ_TOP, VOQ_BTM, VOQ_AVG. Default: VOQ_AVG\n";

const std::string kFormatError =
    "format(-f) incorrect\n"
    " -f (required) format, values :\n"
    "      L4, L8, A4, A8, LA4, LA8, HILO8, \n"
    "      RGB565, RGB8, RGB5_A1, RGBA4, RGBA8, \n"
    "      ETC1, ETC1_A4.\n";

const std::string kEtcQualityError =
    "format(-e) incorrect\n"
    " -e (optional) ETC1 & ETC1_A4 encoding method, values: \n"
    "      Fast, Medium, Slow, \n"
    "      FastPerceptual, MediumPerceptual, SlowPerceptual.\n"
    "      Default : SlowPerceptual \n"
    "use default\n";

const std::string kMipmapError =
    "format(-m) incorrect\n"
    " -m (optional) mipmap levels, values : 0,1,2,3..., or MAX. Default : 0 \n"
    "use default\n";

const std::string kCompressionError =
    "format(-c) incorrect\n"
    " -c (optional) TGA file compression values: none, rle. Default : rle\n"
    "use default\n";

const std::string kColorMappingError =
    "format(-t) incorrect\n"
    " -t (optional) Color Mapping: VOQ_TOP, VOQ_BTM, VOQ_AVG. Default: VOQ_AVG\n"
    "using default\n";

struct RunCase {
    std::vector<std::string> arguments;
    std::string output;
    int exitStatus;
};

void PrintTo(const RunCase& c, std::ostream* out) {
    *out << "BW-VOQ-Orvik";
    for (const std::string& argument : c.arguments) *out << " " << argument;
}

class CommandLineRun : public testing::TestWithParam<RunCase> {};

// Runs in a folder that holds "in.png", an existing file of a kind that cannot be loaded.
TEST_P(CommandLineRun, PrintsAndEndsAsExpected) {
    const RunCase& c = GetParam();
    TempFolder folder;
    TestSupport::WriteText(folder.File("in.png"), "x");
    ConverterResult result = RunConverter(c.arguments, folder.Path());
    EXPECT_EQ(result.output, c.output);
    EXPECT_EQ(result.exitStatus, c.exitStatus);
    EXPECT_EQ(result.errors, "");
}

const std::string kNotSupportedInput = "in.png -> out.voq \nnot support (in.png)\n";

INSTANTIATE_TEST_SUITE_P(
    Usage, CommandLineRun,
    testing::Values(RunCase{{}, kUsage, 1}, RunCase{{"-n", "-e", "Fast", "-m", "3", "-c", "rle", "-t", "VOQ_TOP"}, kUsage, 1},
                    RunCase{{"stray", "words"}, kUsage, 1},
                    RunCase{{"-e", "bogus"}, kEtcQualityError + kUsage, 1}));

INSTANTIATE_TEST_SUITE_P(
    Parsers, CommandLineRun,
    testing::Values(RunCase{{"-m", "0x10"}, kMipmapError + kUsage, 1}, RunCase{{"-m", "abc"}, kMipmapError + kUsage, 1},
                    RunCase{{"-m", "00"}, kMipmapError + kUsage, 1},
                    RunCase{{"-m", "99999999999"}, kMipmapError + kUsage, 1}, RunCase{{"-m", "0"}, kUsage, 1},
                    RunCase{{"-m", "3abc"}, kUsage, 1}, RunCase{{"-m", "-2"}, kUsage, 1},
                    RunCase{{"-m", "MAX"}, kUsage, 1}, RunCase{{"-m"}, kMipmapError + kUsage, 1},
                    RunCase{{"-c", "zip"}, kCompressionError + kUsage, 1}, RunCase{{"-c", "RLE"}, kUsage, 1},
                    RunCase{{"-t", "NONE"}, kColorMappingError + kUsage, 1},
                    RunCase{{"-t", "VOQ_INV_TOP"}, kColorMappingError + kUsage, 1},
                    RunCase{{"-t", "voq_btm"}, kUsage, 1}, RunCase{{"-e", "slowperceptual"}, kUsage, 1},
                    RunCase{{"-e"}, kEtcQualityError + kUsage, 1}));

INSTANTIATE_TEST_SUITE_P(
    Format, CommandLineRun,
    testing::Values(RunCase{{"-f", "RGB9"}, kFormatError, 1}, RunCase{{"-f"}, kFormatError, 1},
                    RunCase{{"-f", ""}, kFormatError, 1},
                    // "-f" ends the run during the scan, before the later "-i" is looked at.
                    RunCase{{"-f", "bad", "-i", "missing.tga"}, kFormatError, 1},
                    RunCase{{"-i", "in.png", "-o", "out.voq"}, kFormatError, 1}));

INSTANTIATE_TEST_SUITE_P(
    MissingFiles, CommandLineRun,
    testing::Values(RunCase{{"-i"}, "input file missing \n", 2},
                    RunCase{{"-i", "missing.tga", "-o", "out.voq", "-f", "RGB8"},
                            "can not access input file (missing.tga) \n", 2},
                    RunCase{{"-i", ".", "-f", "RGB8"}, "can not access input file (.) \n", 2},
                    RunCase{{"-i", "in.png", "-o"}, "output file missing \n", 2},
                    RunCase{{"-o", "out.voq", "-f", "RGB8"}, "input file missing \n", 2},
                    RunCase{{"-i", "in.png", "-f", "RGB8"}, "output file missing \n", 2}));

INSTANTIATE_TEST_SUITE_P(
    Road, CommandLineRun,
    testing::Values(RunCase{{"-i", "in.png", "-o", "out.voq", "-f", "RGB8"}, kNotSupportedInput, 255},
                    // Option words in any letter case.
                    RunCase{{"-I", "in.png", "-O", "out.voq", "-F", "rgb8"}, kNotSupportedInput, 255},
                    // The first occurrence wins; the repeated option's value is a word of its own.
                    RunCase{{"-i", "in.png", "-i", "missing.tga", "-o", "out.voq", "-f", "RGB8"}, kNotSupportedInput,
                            255},
                    RunCase{{"-e", "Slow", "-e", "bogus", "-i", "in.png", "-o", "out.voq", "-f", "RGB8"},
                            kNotSupportedInput, 255},
                    // A value may start with '-'.
                    RunCase{{"-i", "in.png", "-o", "-f", "-f", "RGB8"}, "in.png -> -f \nnot support (in.png)\n",
                            255}));

TEST(CommandLineRun, UnreadableInputIsMissing) {
    TempFolder folder;
    TestSupport::WriteText(folder.File("locked.tga"), "x");
    std::filesystem::permissions(folder.File("locked.tga"), std::filesystem::perms::none);
    if (TestSupport::ReadBytes(folder.File("locked.tga")).size() == 1) GTEST_SKIP() << "running with root rights";
    ConverterResult result = RunConverter({"-i", "locked.tga", "-o", "x.voq", "-f", "L8"}, folder.Path());
    EXPECT_EQ(result.output, "can not access input file (locked.tga) \n");
    EXPECT_EQ(result.exitStatus, 2);
}

TEST(CommandLineRun, FailedRunLeavesNoOutputBehind) {
    TempFolder folder;
    TestSupport::WriteText(folder.File("in.png"), "x");
    RunConverter({"-i", "in.png", "-o", "out.voq", "-f", "RGB8"}, folder.Path());
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"in.png"});
}

}  // namespace
