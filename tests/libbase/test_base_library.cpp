#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LibBase/File.h"
#include "support/ConverterRun.h"
#include "support/TestFiles.h"

using TestSupport::TempFolder;

namespace {

std::vector<uint8_t> Counting(int n) {
    std::vector<uint8_t> bytes(n);
    for (int i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(i);
    return bytes;
}

TEST(CFileHandle, GetSizeKeepsThePosition) {
    TempFolder folder;
    TestSupport::WriteBytes(folder.File("f"), Counting(100));
    Platform::FileHandle file = Platform::OpenFileForReading(folder.File("f").c_str());
    Platform::SeekFile(file, 40, Platform::SeekOrigin::Begin);
    LibBase::CFileHandle handle(file);
    EXPECT_EQ(handle.GetSize(), 100);
    EXPECT_EQ(Platform::SeekFile(file, 0, Platform::SeekOrigin::Current), 40);

    // A size below 1 reads the rest of the file.
    std::vector<uint8_t> buffer(100, 0);
    EXPECT_EQ(handle.Read(buffer.data(), 0), 60);
    EXPECT_EQ(buffer[0], 40);
    EXPECT_EQ(buffer[59], 99);
    Platform::CloseFile(file);
}

TEST(CFileHandle, ReadsTheGivenCount) {
    TempFolder folder;
    TestSupport::WriteBytes(folder.File("f"), Counting(10));
    Platform::FileHandle file = Platform::OpenFileForReading(folder.File("f").c_str());
    LibBase::CFileHandle handle(file);
    uint8_t buffer[16] = {};
    EXPECT_EQ(handle.Read(buffer, 4), 4);
    EXPECT_EQ(buffer[3], 3);
    EXPECT_EQ(handle.Read(buffer, -1), 6);
    EXPECT_EQ(buffer[0], 4);
    Platform::CloseFile(file);
}

std::string AssertText(int line, const std::string& message) {
    return "===assert===\n\"..\\sources\\LibBase\\File\", \"LibBase::CFileHandle::Read\", L:" + std::to_string(line) +
           "\n" + message + "\n\nPress Enter Key to Exit.";
}

struct ProbeCase {
    const char* mode;
    std::vector<uint8_t> file;
    std::string output;
    int exitStatus;
};

void PrintTo(const ProbeCase& c, std::ostream* out) { *out << c.mode; }

class BaseLibraryExit : public testing::TestWithParam<ProbeCase> {};

TEST_P(BaseLibraryExit, PrintsItsTextAndEndsTheProcess) {
    const ProbeCase& c = GetParam();
    TempFolder folder;
    std::string path = folder.File("input.fenk");
    TestSupport::WriteBytes(path, c.file);
    TestSupport::ConverterResult result = TestSupport::RunProgram(BWVOQ_ASSERT_PROBE, {c.mode, path}, "", "\n");
    EXPECT_EQ(result.output, c.output);
    EXPECT_EQ(result.exitStatus, c.exitStatus);
}

INSTANTIATE_TEST_SUITE_P(
    LibBase, BaseLibraryExit,
    testing::Values(ProbeCase{"read-empty", {}, AssertText(69, "ファイルサイズが異常です"), 1},
                    ProbeCase{"read-short", Counting(10), AssertText(74, "読み込みサイズが不正です"), 1},
                    ProbeCase{"read-failing", Counting(10), AssertText(73, "ファイル読み込みに失敗しました"), 1},
                    ProbeCase{"fatal", {}, "stopped at 42\nPress Enter Key to Exit.", 1},
                    ProbeCase{"success", {}, "Press Enter Key to Exit.", 0}));

TEST(BaseLibraryExit, EndsAlsoWhenNoKeyCanBeRead) {
    TestSupport::ConverterResult result = TestSupport::RunProgram(BWVOQ_ASSERT_PROBE, {"fatal"}, "", "");
    EXPECT_EQ(result.exitStatus, 1);
}

}  // namespace
