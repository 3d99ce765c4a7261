// A "-n" run without an X server (DISPLAY unset, or naming no server) prints
// and writes exactly what the same run without "-n" does.
#include <gtest/gtest.h>

#include <cstdint>
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

}  // namespace
