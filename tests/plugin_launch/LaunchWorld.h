// A private world for each launch test: its own temporary directory and ETC1
// cache folder, no converter anywhere until the test puts one somewhere, and
// the launch state as a fresh plug-in has it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/ScopedEnvironment.h"
#include "support/TestFiles.h"

namespace LaunchTests {

class LaunchWorld : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Where the converter's files of this process go.
    std::string ConverterFolder() const;
    // The file of that name in ConverterFolder.
    std::string ConverterFile(const std::string& name) const;

    TestSupport::TempFolder runtime;  // $XDG_RUNTIME_DIR
    TestSupport::TempFolder appData;  // $APPDATA: an empty ETC1 cache folder
    TestSupport::TempFolder tools;    // for stand-in converters and their logs
    TestSupport::ScopedEnvironment environment;
};

// A stand-in converter: a shell script named BW-VOQ-Orvik in `folder` that
// appends its arguments as one line to `log`, sets $out to the value after
// "-o", and then runs `behaviour`.
std::string WriteStandInConverter(const std::string& folder, const std::string& log, const std::string& behaviour);

// The number of lines in a run log (0 when it does not exist).
int CountRuns(const std::string& log);

// Writes `text` and makes it executable (mode 0755).
void WriteExecutable(const std::string& path, const std::string& text);

}  // namespace LaunchTests
