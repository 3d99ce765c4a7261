#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/Processes.h"
#include "support/TestFiles.h"

using TestSupport::TempFolder;

namespace {

// Runs a shell script with the given body and extra arguments.
int RunScript(const TempFolder& folder, const std::string& body, std::vector<std::string> arguments = {}) {
    std::string path = folder.File("script");
    TestSupport::WriteText(path, "#!/bin/sh\n" + body + "\n");
    ::chmod(path.c_str(), 0755);
    arguments.insert(arguments.begin(), path);
    return Platform::RunProgramAndWait(path.c_str(), arguments);
}

TEST(RunProgramAndWait, GivesTheExitStatus) {
    TempFolder folder;
    EXPECT_EQ(RunScript(folder, "exit 0"), 0);
    EXPECT_EQ(RunScript(folder, "exit 3"), 3);
    EXPECT_EQ(RunScript(folder, "exit 255"), 255);
    EXPECT_EQ(RunScript(folder, "kill -KILL $$"), Platform::kProgramEndedAbnormally);
}

TEST(RunProgramAndWait, PassesEachArgumentAsOneWord) {
    TempFolder folder;
    std::string log = folder.File("log");
    EXPECT_EQ(RunScript(folder, "printf '[%s]' \"$@\" > '" + log + "'", {"-i", "a \"quoted\" path", ""}), 0);
    EXPECT_EQ(TestSupport::ReadText(log), "[-i][a \"quoted\" path][]");
}

TEST(RunProgramAndWait, ProgramThatCannotStart) {
    TempFolder folder;
    std::string missing = folder.File("missing");
    EXPECT_EQ(Platform::RunProgramAndWait(missing.c_str(), {missing}), Platform::kProgramNotStarted);
    TestSupport::WriteText(folder.File("plain"), "#!/bin/sh\nexit 0\n");
    std::string plain = folder.File("plain");
    EXPECT_EQ(Platform::RunProgramAndWait(plain.c_str(), {plain}), Platform::kProgramNotStarted);
    EXPECT_EQ(Platform::RunProgramAndWait(nullptr, {"x"}), Platform::kProgramNotStarted);
    EXPECT_EQ(Platform::RunProgramAndWait(plain.c_str(), {}), Platform::kProgramNotStarted);
}

// A program that waits for a line gets the end of input at once instead of hanging its caller.
TEST(RunProgramAndWait, StandardInputIsEmpty) {
    TempFolder folder;
    EXPECT_EQ(RunScript(folder, "if read line; then exit 1; fi; exit 7"), 7);
}

TEST(RunProgramAndWait, StandardStreamsAreTheNullDevice) {
    TempFolder folder;
    std::string log = folder.File("log");
    EXPECT_EQ(RunScript(folder, "streams=$(readlink /proc/$$/fd/0 /proc/$$/fd/1 /proc/$$/fd/2); "
                                "echo \"$streams\" > '" + log + "'"),
              0);
    EXPECT_EQ(TestSupport::ReadText(log), "/dev/null\n/dev/null\n/dev/null\n");
}

TEST(RunProgramAndWait, InheritsNoOtherOpenFile) {
    TempFolder folder;
    TestSupport::WriteText(folder.File("open"), "x");
    int inherited = ::open(folder.File("open").c_str(), O_RDONLY);  // no close-on-exec on purpose
    ASSERT_GE(inherited, 3);
    std::string descriptor = std::to_string(inherited);
    EXPECT_EQ(RunScript(folder, "[ -e /proc/$$/fd/" + descriptor + " ] && exit 5; exit 0"), 0);
    ::close(inherited);
}

TEST(GetCurrentProcessId, IsThisProcess) { EXPECT_EQ(Platform::GetCurrentProcessId(), ::getpid()); }

}  // namespace
