#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <string>
#include <vector>

#include "platform/ReplacementFiles.h"
#include "support/TestFiles.h"

using Platform::ReplacementFile;
using Platform::TemporaryKind;
using TestSupport::TempFolder;

namespace {

void Write(const ReplacementFile& replacement, const std::string& text) {
    int64_t done = 0;
    ASSERT_TRUE(Platform::WriteToFile(replacement.File(), text.data(), static_cast<int64_t>(text.size()), done));
}

unsigned ModeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 0777;
}

const char* KindName(TemporaryKind kind) { return kind == TemporaryKind::Named ? "Named" : "Nameless"; }

}  // namespace

namespace Platform {

void PrintTo(TemporaryKind kind, std::ostream* os) { *os << KindName(kind); }

}  // namespace Platform

namespace {

class EitherKind : public testing::TestWithParam<TemporaryKind> {
protected:
    TempFolder folder;
    std::string output = folder.File("out.voq");
};

TEST_P(EitherKind, CommitReplacesTheTargetAndLeavesNothingElse) {
    TestSupport::WriteText(output, "old");
    {
        ReplacementFile replacement(output.c_str(), GetParam());
        ASSERT_TRUE(replacement.File().IsOpen());
        Write(replacement, "new");
        // Only a named temporary file shows while it is written.
        size_t shown = GetParam() == TemporaryKind::Named ? 2 : 1;
        EXPECT_EQ(folder.Entries().size(), shown);
        EXPECT_EQ(TestSupport::ReadText(output), "old");
        EXPECT_TRUE(replacement.Commit());
        EXPECT_FALSE(replacement.Commit());
    }
    EXPECT_EQ(TestSupport::ReadText(output), "new");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"out.voq"});
}

TEST_P(EitherKind, UncommittedFileLeavesTheTargetAsItWas) {
    TestSupport::WriteText(output, "old");
    {
        ReplacementFile replacement(output.c_str(), GetParam());
        Write(replacement, "new");
    }
    EXPECT_EQ(TestSupport::ReadText(output), "old");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"out.voq"});
}

TEST_P(EitherKind, NewFileGetsTheOldFilesPermissionBits) {
    TestSupport::WriteText(output, "old");
    ASSERT_EQ(chmod(output.c_str(), 0600), 0);
    ReplacementFile replacement(output.c_str(), GetParam());
    Write(replacement, "new");
    ASSERT_TRUE(replacement.Commit());
    EXPECT_EQ(ModeOf(output), 0600u);
    ASSERT_EQ(chmod(output.c_str(), 0751), 0);
    ReplacementFile second(output.c_str(), GetParam());
    ASSERT_TRUE(second.Commit());
    EXPECT_EQ(ModeOf(output), 0751u);
}

TEST_P(EitherKind, SymbolicLinksAreWrittenThrough) {
    ASSERT_EQ(mkdir(folder.File("real").c_str(), 0777), 0);
    TestSupport::WriteText(folder.File("real/target.voq"), "old");
    ASSERT_EQ(symlink("real/target.voq", folder.File("hop.voq").c_str()), 0);
    ASSERT_EQ(symlink(folder.File("hop.voq").c_str(), output.c_str()), 0);
    ReplacementFile replacement(output.c_str(), GetParam());
    EXPECT_EQ(replacement.Target(), folder.Path() + "/real/target.voq");
    Write(replacement, "new");
    ASSERT_TRUE(replacement.Commit());
    EXPECT_EQ(TestSupport::ReadText(folder.File("real/target.voq")), "new");
    std::vector<char> link(256);
    ASSERT_GT(readlink(output.c_str(), link.data(), link.size()), 0);
    EXPECT_EQ(std::string(link.data()), folder.File("hop.voq"));
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"hop.voq", "out.voq", "real"}));
}

TEST_P(EitherKind, DanglingLinkGetsItsTargetCreated) {
    ASSERT_EQ(symlink("made.voq", output.c_str()), 0);
    ReplacementFile replacement(output.c_str(), GetParam());
    Write(replacement, "new");
    ASSERT_TRUE(replacement.Commit());
    EXPECT_EQ(TestSupport::ReadText(folder.File("made.voq")), "new");
}

TEST_P(EitherKind, RefusesWhatItCannotReplace) {
    ASSERT_EQ(mkdir(folder.File("folder.voq").c_str(), 0777), 0);
    ASSERT_EQ(mkfifo(folder.File("pipe.voq").c_str(), 0666), 0);
    ASSERT_EQ(symlink("loop.voq", folder.File("loop.voq").c_str()), 0);
    for (const char* name : {"folder.voq", "pipe.voq", "loop.voq", "missing/out.voq"}) {
        ReplacementFile replacement(folder.File(name).c_str(), GetParam());
        EXPECT_FALSE(replacement.File().IsOpen()) << name;
        EXPECT_FALSE(replacement.Commit()) << name;
    }
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"folder.voq", "loop.voq", "pipe.voq"}));
}

INSTANTIATE_TEST_SUITE_P(ReplacementFile, EitherKind,
                         testing::Values(TemporaryKind::Nameless, TemporaryKind::Named),
                         [](const testing::TestParamInfo<TemporaryKind>& info) { return KindName(info.param); });

class NamedFileOnSignalDeathTest : public testing::TestWithParam<int> {};

// A named temporary file goes when SIGINT or SIGTERM ends the run, which still
// ends by that signal.
TEST_P(NamedFileOnSignalDeathTest, IsRemovedBeforeTheProcessEnds) {
    TempFolder folder;
    std::string output = folder.File("out.voq");
    TestSupport::WriteText(output, "old");
    EXPECT_EXIT(
        {
            ReplacementFile replacement(output.c_str(), TemporaryKind::Named);
            if (!replacement.File().IsOpen() || folder.Entries().size() != 2) std::_Exit(1);
            std::raise(GetParam());
            std::_Exit(2);
        },
        testing::KilledBySignal(GetParam()), "");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"out.voq"});
    EXPECT_EQ(TestSupport::ReadText(output), "old");
}

// The removal handlers are there only while a named file is, and a signal the
// program ignores stays ignored.
TEST(NamedFileOnSignal, HandlersComeAndGoWithTheNamedFile) {
    TempFolder folder;
    auto handler = [] {
        struct sigaction current {};
        sigaction(SIGTERM, nullptr, &current);
        return current.sa_handler;
    };
    ASSERT_EQ(handler(), SIG_DFL);
    {
        ReplacementFile replacement(folder.File("out.voq").c_str(), TemporaryKind::Named);
        EXPECT_NE(handler(), SIG_DFL);
    }
    EXPECT_EQ(handler(), SIG_DFL);
    EXPECT_EXIT(
        {
            std::signal(SIGTERM, SIG_IGN);
            ReplacementFile replacement(folder.File("out.voq").c_str(), TemporaryKind::Named);
            std::raise(SIGTERM);
            std::exit(folder.Entries().size() == 1 && handler() == SIG_IGN ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_TRUE(folder.Entries().empty());
}

INSTANTIATE_TEST_SUITE_P(ReplacementFile, NamedFileOnSignalDeathTest, testing::Values(SIGINT, SIGTERM),
                         [](const testing::TestParamInfo<int>& info) {
                             return std::string(info.param == SIGINT ? "SIGINT" : "SIGTERM");
                         });

// What a commit killed between naming its file and renaming it leaves: the
// target's name, a dot and six letters or digits. Nothing else goes.
TEST(LeftoverReplacements, OnlyTheTargetsTemporaryNamesAreRemoved) {
    TempFolder folder;
    const std::vector<std::string> kept = {"cache_10_1",        "cache_10_1.Ab12",   "cache_10_1.Ab12Cd3",
                                           "cache_10_1.Ab-2Cd", "cache_10_2.Ab12Cd", "xcache_10_1.Ab12Cd"};
    for (const std::string& name : kept) TestSupport::WriteText(folder.File(name), name);
    TestSupport::WriteText(folder.File("cache_10_1.Ab12Cd"), "left by a killed save");
    TestSupport::WriteText(folder.File("cache_10_1.zzzzzz"), "left by a killed save");
    Platform::RemoveLeftoverReplacements(folder.File("cache_10_1").c_str());
    std::vector<std::string> sortedKept = kept;
    std::sort(sortedKept.begin(), sortedKept.end());
    EXPECT_EQ(folder.Entries(), sortedKept);
}

}  // namespace
