// A private world for each launch test: its own temporary directory and ETC1
// cache folder, no converter anywhere until the test puts one somewhere, and
// the launch state as a fresh plug-in has it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "image/Image.h"
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
// appends its arguments as one line to `log`, each in brackets, sets $out to the value after
// "-o", and then runs `behaviour`.
std::string WriteStandInConverter(const std::string& folder, const std::string& log, const std::string& behaviour);

// The number of lines in a run log (0 when it does not exist).
int CountRuns(const std::string& log);

// A width x height image in `format` (L, LA, RGB or RGBA) with the make-up of a photograph.
std::unique_ptr<ImageLib::CImage> PhotoImage(int32_t width, int32_t height, int32_t format);

// Writes `text` and makes it executable (mode 0755).
void WriteExecutable(const std::string& path, const std::string& text);

}  // namespace LaunchTests
