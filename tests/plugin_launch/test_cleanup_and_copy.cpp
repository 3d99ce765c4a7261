// Emptying the temporary folder, and copying the converted file into the host's file.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "LaunchWorld.h"
#include "image/ImageOptions.h"
#include "platform/Files.h"
#include "plugin/launch/ConverterLaunch.h"

using LaunchTests::LaunchWorld;
using Platform::FileHandle;

namespace {

class CleanupTempFolder : public LaunchWorld {
protected:
    // Makes the folder through the launch code itself, as a conversion does.
    void SetUp() override {
        LaunchWorld::SetUp();
        char path[PluginLaunch::kTempPathSize];
        ASSERT_NE(PluginLaunch::MakeTempPath(path, PluginLaunch::kOutputVoq, ImageLib::RGB8, 0, 0), nullptr);
    }

    std::string shared() const { return runtime.File("BW-VOQ-Orvik"); }
};

TEST_F(CleanupTempFolder, RemovesTheFilesAndBothFolders) {
    for (const char* name : {"base.tga", "Rgb8NONE.voq", "Etc1NONEFast.fenk"}) TestSupport::WriteText(ConverterFile(name), "x");
    PluginLaunch::CleanupTempFolder();
    EXPECT_FALSE(TestSupport::FileExists(shared()));
}

TEST_F(CleanupTempFolder, LeavesLinksHiddenFilesAndOtherEditorsFolders) {
    std::string victim = tools.File("victim");
    TestSupport::WriteText(victim, "keep me");
    ASSERT_EQ(::symlink(victim.c_str(), ConverterFile("planted.tga").c_str()), 0);
    TestSupport::WriteText(ConverterFile(".hidden"), "x");
    TestSupport::WriteText(ConverterFile("base.tga"), "x");
    std::string other = shared() + "/1";
    ASSERT_EQ(::mkdir(other.c_str(), 0700), 0);

    PluginLaunch::CleanupTempFolder();
    EXPECT_EQ(TestSupport::ReadText(victim), "keep me");
    struct stat info {};
    EXPECT_EQ(::lstat(ConverterFile("planted.tga").c_str(), &info), 0) << "a link is not removed through";
    EXPECT_TRUE(TestSupport::FileExists(ConverterFile(".hidden")));
    EXPECT_FALSE(TestSupport::FileExists(ConverterFile("base.tga")));
    EXPECT_TRUE(TestSupport::FileExists(other));
}

TEST_F(CleanupTempFolder, DoesNothingInAFolderThatIsNotPrivate) {
    TestSupport::WriteText(ConverterFile("base.tga"), "x");
    ::chmod(shared().c_str(), 0755);
    PluginLaunch::CleanupTempFolder();
    EXPECT_TRUE(TestSupport::FileExists(ConverterFile("base.tga")));
}

// A file the host opened, holding `text`.
FileHandle OpenHostFile(const std::string& path, const std::string& text) {
    TestSupport::WriteText(path, text);
    return FileHandle::FromDescriptor(::open(path.c_str(), O_RDWR | O_CLOEXEC));
}

TEST(CopyFileToHandle, LeavesExactlyTheCopiedBytes) {
    TestSupport::TempFolder folder;
    std::vector<uint8_t> converted(3 * 1024 * 1024 + 17);  // more than one chunk
    for (size_t i = 0; i < converted.size(); ++i) converted[i] = static_cast<uint8_t>(i * 7 + i / 4096);
    TestSupport::WriteBytes(folder.File("converted.tga"), converted);
    FileHandle source = PluginLaunch::OpenFileForRead(folder.File("converted.tga").c_str());
    FileHandle longer = OpenHostFile(folder.File("longer.tga"), std::string(converted.size() + 1000, 'o'));
    FileHandle shorter = OpenHostFile(folder.File("shorter.tga"), "old");
    ASSERT_TRUE(source.IsOpen());
    Platform::SeekFile(source, 5, Platform::SeekOrigin::Begin);  // positions do not matter
    Platform::SeekFile(longer, 100, Platform::SeekOrigin::Begin);

    EXPECT_TRUE(PluginLaunch::CopyFileToHandle(source, longer));
    EXPECT_TRUE(PluginLaunch::CopyFileToHandle(source, shorter));
    for (FileHandle file : {source, longer, shorter}) Platform::CloseFile(file);
    EXPECT_TRUE(TestSupport::ReadBytes(folder.File("longer.tga")) == converted);
    EXPECT_TRUE(TestSupport::ReadBytes(folder.File("shorter.tga")) == converted);
}

// A converted file of 0 bytes fails the save and leaves the host's file alone.
TEST(CopyFileToHandle, RefusesEmptySourcesAndMissingHandles) {
    TestSupport::TempFolder folder;
    TestSupport::WriteText(folder.File("empty.tga"), "");
    TestSupport::WriteText(folder.File("full.tga"), "data");
    FileHandle empty = PluginLaunch::OpenFileForRead(folder.File("empty.tga").c_str());
    FileHandle full = PluginLaunch::OpenFileForRead(folder.File("full.tga").c_str());
    FileHandle host = OpenHostFile(folder.File("host.tga"), "document");

    EXPECT_FALSE(PluginLaunch::CopyFileToHandle(empty, host));
    EXPECT_FALSE(PluginLaunch::CopyFileToHandle(FileHandle(), host));
    EXPECT_FALSE(PluginLaunch::CopyFileToHandle(full, FileHandle()));
    EXPECT_FALSE(PluginLaunch::CopyFileToHandle(FileHandle::Invalid(), host));
    EXPECT_FALSE(PluginLaunch::CopyFileToHandle(full, full)) << "a file opened for reading takes no bytes";
    for (FileHandle file : {empty, full, host}) Platform::CloseFile(file);
    EXPECT_EQ(TestSupport::ReadText(folder.File("host.tga")), "document");
}

TEST(OpenFileForRead, NullForNoPathInvalidForAMissingFile) {
    TestSupport::TempFolder folder;
    EXPECT_TRUE(PluginLaunch::OpenFileForRead(nullptr).IsNull());
    EXPECT_TRUE(PluginLaunch::OpenFileForRead(folder.File("missing").c_str()).IsInvalid());
}

}  // namespace
