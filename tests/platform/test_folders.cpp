#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/Folders.h"
#include "platform/Modules.h"
#include "support/ScopedEnvironment.h"
#include "support/TestFiles.h"

using TestSupport::TempFolder;

namespace {

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

struct TempDirectoryCase {
    const char* name;
    std::optional<std::string> runtime;
    std::optional<std::string> tmpdir;
    const char* expected;
};

void PrintTo(const TempDirectoryCase& c, std::ostream* out) { *out << c.name; }

class TemporaryDirectory : public testing::TestWithParam<TempDirectoryCase> {};

TEST_P(TemporaryDirectory, PrefersTheRuntimeFolderThenTmpdirThenTmp) {
    const TempDirectoryCase& c = GetParam();
    TestSupport::ScopedEnvironment environment;
    environment.Set("XDG_RUNTIME_DIR", c.runtime);
    environment.Set("TMPDIR", c.tmpdir);
    EXPECT_EQ(Platform::GetTemporaryDirectory(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Folders, TemporaryDirectory,
                         testing::Values(TempDirectoryCase{"Both", "/run/user/7", "/var/tmp", "/run/user/7"},
                                         TempDirectoryCase{"TmpdirOnly", std::nullopt, "/var/tmp", "/var/tmp"},
                                         TempDirectoryCase{"EmptyRuntime", "", "/var/tmp", "/var/tmp"},
                                         TempDirectoryCase{"Neither", std::nullopt, std::nullopt, "/tmp"},
                                         TempDirectoryCase{"BothEmpty", "", "", "/tmp"}),
                         [](const testing::TestParamInfo<TempDirectoryCase>& info) { return info.param.name; });

TEST(MakePrivateFolder, CreatesAFolderForTheUserAlone) {
    TempFolder folder;
    std::string path = folder.File("private");
    ::umask(::umask(0));  // whatever the mask, the folder gets 0700
    ASSERT_TRUE(Platform::MakePrivateFolder(path.c_str()));
    EXPECT_EQ(ModeOf(path), 0700u);
    EXPECT_TRUE(Platform::MakePrivateFolder(path.c_str())) << "an existing private folder is accepted";
}

TEST(MakePrivateFolder, RefusesWhatOthersCouldEnterOrWhatIsNoRealFolder) {
    TempFolder folder;
    std::string open = folder.File("open");
    ::mkdir(open.c_str(), 0700);
    ::chmod(open.c_str(), 0701);
    EXPECT_FALSE(Platform::MakePrivateFolder(open.c_str())) << "others may enter";
    ::chmod(open.c_str(), 0750);
    EXPECT_FALSE(Platform::MakePrivateFolder(open.c_str())) << "the group may read";

    std::string target = folder.File("target");
    ASSERT_TRUE(Platform::MakePrivateFolder(target.c_str()));
    std::string link = folder.File("link");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    EXPECT_FALSE(Platform::MakePrivateFolder(link.c_str())) << "a link to a private folder";

    TestSupport::WriteText(folder.File("file"), "x");
    EXPECT_FALSE(Platform::MakePrivateFolder(folder.File("file").c_str()));
    EXPECT_FALSE(Platform::MakePrivateFolder(folder.File("missing/child").c_str()));
    EXPECT_FALSE(Platform::MakePrivateFolder(""));
    EXPECT_FALSE(Platform::MakePrivateFolder(nullptr));
}

TEST(ListRegularFiles, ListsOnlyRegularFilesSortedAndNoLinks) {
    TempFolder folder;
    for (const char* name : {"b.tga", ".hidden", "a.voq"}) TestSupport::WriteText(folder.File(name), "x");
    ::mkdir(folder.File("sub").c_str(), 0700);
    ASSERT_EQ(::symlink(folder.File("a.voq").c_str(), folder.File("link.tga").c_str()), 0);
    ASSERT_EQ(::symlink("/nowhere", folder.File("dangling").c_str()), 0);
    std::vector<std::string> names = {"stale"};
    ASSERT_TRUE(Platform::ListRegularFiles(folder.Path().c_str(), names));
    EXPECT_EQ(names, (std::vector<std::string>{".hidden", "a.voq", "b.tga"}));
    EXPECT_FALSE(Platform::ListRegularFiles(folder.File("missing").c_str(), names));
    EXPECT_TRUE(names.empty());
}

TEST(IsExecutableFile, NeedsARegularFileThatMayRun) {
    TempFolder folder;
    std::string program = folder.File("program");
    TestSupport::WriteText(program, "#!/bin/sh\n");
    ::chmod(program.c_str(), 0755);
    std::string plain = folder.File("plain");
    TestSupport::WriteText(plain, "x");
    ::chmod(plain.c_str(), 0644);
    ::mkdir(folder.File("dir").c_str(), 0755);
    ::symlink(program.c_str(), folder.File("link").c_str());

    EXPECT_TRUE(Platform::IsExecutableFile(program.c_str()));
    EXPECT_TRUE(Platform::IsExecutableFile(folder.File("link").c_str()));
    EXPECT_FALSE(Platform::IsExecutableFile(plain.c_str()));
    EXPECT_FALSE(Platform::IsExecutableFile(folder.File("dir").c_str()));
    EXPECT_FALSE(Platform::IsExecutableFile(folder.File("missing").c_str()));
    EXPECT_FALSE(Platform::IsExecutableFile(nullptr));
}

TEST(TruncateFile, CutsTheFileAndKeepsThePosition) {
    TempFolder folder;
    std::string path = folder.File("data");
    Platform::FileHandle file = Platform::CreateOrTruncateFile(path.c_str());
    int64_t done = 0;
    ASSERT_TRUE(Platform::WriteToFile(file, "abcdef", 6, done));
    EXPECT_TRUE(Platform::TruncateFile(file, 2));
    EXPECT_EQ(Platform::SeekFile(file, 0, Platform::SeekOrigin::Current), 6);
    Platform::CloseFile(file);
    EXPECT_EQ(TestSupport::ReadText(path), "ab");
    EXPECT_FALSE(Platform::TruncateFile(Platform::FileHandle(), 0));
    EXPECT_FALSE(Platform::TruncateFile(Platform::FileHandle::Invalid(), 0));
}

void FunctionOfThisProgram() {}

TEST(Modules, TheProgramIsFoundByItsOwnCode) {
    Platform::ModuleHandle module = Platform::GetModuleOf(reinterpret_cast<const void*>(&FunctionOfThisProgram));
    ASSERT_NE(module, nullptr);
    char program[PATH_MAX];
    ASSERT_NE(::realpath("/proc/self/exe", program), nullptr);
    EXPECT_EQ(Platform::GetModuleFilePath(module), program);
}

TEST(Modules, SharedObjectsAreNamedByTheirFile) {
    Platform::ModuleHandle module = Platform::GetModuleOf(reinterpret_cast<const void*>(&std::abort));
    ASSERT_NE(module, nullptr);
    std::string path = Platform::GetModuleFilePath(module);
    EXPECT_EQ(path.front(), '/');
    EXPECT_NE(path.find("libc"), std::string::npos) << path;
}

TEST(Modules, NothingForNoModule) {
    int onTheStack = 0;
    EXPECT_EQ(Platform::GetModuleOf(&onTheStack), nullptr);
    EXPECT_EQ(Platform::GetModuleOf(nullptr), nullptr);
    EXPECT_EQ(Platform::GetModuleFilePath(nullptr), "");
}

}  // namespace
