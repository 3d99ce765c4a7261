// A "-n" run without an X server (DISPLAY unset, or naming no server), or
// without the window's module beside the converter, prints and writes exactly
// what the same run without "-n" does.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "progress/NoiseImage.h"
#include "support/ConverterRun.h"
#include "support/TestFiles.h"

using TestSupport::ConverterResult;
using TestSupport::EnvironmentChanges;
using TestSupport::ReadBytes;
using TestSupport::RunConverter;

namespace {

struct NoServerCase {
    const char* name;
    std::optional<std::string> display;
};

class WithoutXServer : public testing::TestWithParam<NoServerCase> {};

TEST_P(WithoutXServer, WindowRunPrintsAndWritesWhatThePlainRunDoes) {
    ProgressTests::NoiseRun files(64);
    EnvironmentChanges environment = {{"DISPLAY", GetParam().display}, {"BWVOQ_DISPLAY", std::nullopt}};
    // Each run gets an empty cache folder of its own.
    ConverterResult without = RunConverter(files.Arguments(false), "", "", environment);
    std::vector<uint8_t> plainTexture = ReadBytes(files.output);
    ConverterResult withWindow = RunConverter(files.Arguments(true), "", "", environment);

    EXPECT_EQ(without.exitStatus, 0);
    EXPECT_EQ(withWindow.exitStatus, 0);
    EXPECT_EQ(withWindow.output, without.output);
    EXPECT_EQ(withWindow.errors, without.errors);
    EXPECT_EQ(ReadBytes(files.output), plainTexture);
}

INSTANTIATE_TEST_SUITE_P(ProgressRuns, WithoutXServer,
                         testing::Values(NoServerCase{"DisplayUnset", std::nullopt},
                                         NoServerCase{"DisplayNamesNoServer", ":987"}),
                         [](const testing::TestParamInfo<NoServerCase>& info) { return std::string(info.param.name); });

// A converter copied away from its window module, with a display at hand: the
// window cannot be loaded, and the run is a plain one.
TEST(ProgressRuns, WindowRunWithoutTheModulePrintsAndWritesWhatThePlainRunDoes) {
    ProgressTests::NoiseRun files(64);
    TestSupport::TempFolder alone;
    const std::string converter = alone.File("BW-VOQ-Orvik");
    std::filesystem::copy_file(BWVOQ_CONVERTER, converter);
    // Each run gets an empty cache folder of its own.
    TestSupport::TempFolder plainCache;
    TestSupport::TempFolder windowCache;
    ConverterResult without = TestSupport::RunProgram(converter, files.Arguments(false), "", "",
                                                      {{"APPDATA", plainCache.Path()}, {"BWVOQ_DISPLAY", "memory"}});
    std::vector<uint8_t> plainTexture = ReadBytes(files.output);
    ConverterResult withWindow = TestSupport::RunProgram(converter, files.Arguments(true), "", "",
                                                         {{"APPDATA", windowCache.Path()}, {"BWVOQ_DISPLAY", "memory"}});

    EXPECT_EQ(without.exitStatus, 0);
    EXPECT_EQ(withWindow.exitStatus, 0);
    EXPECT_EQ(withWindow.output, without.output);
    EXPECT_EQ(withWindow.errors, without.errors);
    EXPECT_EQ(ReadBytes(files.output), plainTexture);
}

}  // namespace
