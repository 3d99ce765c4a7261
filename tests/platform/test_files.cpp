#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "platform/Files.h"
#include "support/TestFiles.h"

using Platform::FileHandle;
using TestSupport::TempFolder;

namespace {

TEST(FileHandle, NullInvalidAndDescriptorZeroAreDistinct) {
    FileHandle null;
    FileHandle invalid = FileHandle::Invalid();
    FileHandle zero = FileHandle::FromDescriptor(0);
    EXPECT_TRUE(null.IsNull());
    EXPECT_FALSE(null.IsOpen());
    EXPECT_TRUE(invalid.IsInvalid());
    EXPECT_FALSE(invalid.IsOpen());
    EXPECT_TRUE(zero.IsOpen());
    EXPECT_FALSE(zero.IsNull());
    EXPECT_NE(null, invalid);
}

TEST(OpenFileForReading, OpensOnlyExistingRegularFiles) {
    TempFolder folder;
    TestSupport::WriteText(folder.File("a.tga"), "abc");
    FileHandle file = Platform::OpenFileForReading(folder.File("a.tga").c_str());
    EXPECT_TRUE(file.IsOpen());
    Platform::CloseFile(file);
    EXPECT_TRUE(Platform::OpenFileForReading(folder.Path().c_str()).IsInvalid());
    // A named pipe without a writer would block an ordinary open for ever.
    ASSERT_EQ(mkfifo(folder.File("pipe.tga").c_str(), 0666), 0);
    EXPECT_TRUE(Platform::OpenFileForReading(folder.File("pipe.tga").c_str()).IsInvalid());
    EXPECT_TRUE(Platform::OpenFileForReading(folder.File("missing.tga").c_str()).IsInvalid());
    EXPECT_TRUE(Platform::OpenFileForReading(nullptr).IsInvalid());
}

TEST(ReadAndWrite, MoveWholeRunsAndStopAtTheEnd) {
    TempFolder folder;
    std::string path = folder.File("data.bin");
    std::vector<uint8_t> bytes(300000);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7);

    FileHandle out = Platform::CreateOrTruncateFile(path.c_str());
    int64_t done = 0;
    ASSERT_TRUE(Platform::WriteToFile(out, bytes.data(), static_cast<int64_t>(bytes.size()), done));
    EXPECT_EQ(done, 300000);
    Platform::CloseFile(out);

    FileHandle in = Platform::OpenFileForReading(path.c_str());
    EXPECT_EQ(Platform::GetFileLength(in), 300000);
    EXPECT_EQ(Platform::SeekFile(in, 100, Platform::SeekOrigin::Begin), 100);
    std::vector<uint8_t> back(400000, 0);
    ASSERT_TRUE(Platform::ReadFromFile(in, back.data(), 400000, done));
    EXPECT_EQ(done, 300000 - 100);
    EXPECT_TRUE(std::equal(bytes.begin() + 100, bytes.end(), back.begin()));
    EXPECT_EQ(Platform::SeekFile(in, 0, Platform::SeekOrigin::Current), 300000);
    Platform::CloseFile(in);
}

TEST(ReadAndWrite, RefuseHandlesThatAreNotOpen) {
    uint8_t byte = 0;
    int64_t done = 7;
    EXPECT_FALSE(Platform::ReadFromFile(FileHandle(), &byte, 1, done));
    EXPECT_EQ(done, 0);
    EXPECT_FALSE(Platform::WriteToFile(FileHandle::Invalid(), &byte, 1, done));
    EXPECT_EQ(Platform::SeekFile(FileHandle(), 0, Platform::SeekOrigin::End), -1);
    EXPECT_EQ(Platform::GetFileLength(FileHandle::Invalid()), -1);
}

TEST(CreateOrTruncateFile, EmptiesAnExistingFile) {
    TempFolder folder;
    std::string path = folder.File("x.voq");
    TestSupport::WriteText(path, "old contents");
    FileHandle file = Platform::CreateOrTruncateFile(path.c_str());
    ASSERT_TRUE(file.IsOpen());
    Platform::CloseFile(file);
    EXPECT_TRUE(TestSupport::ReadBytes(path).empty());
    EXPECT_TRUE(Platform::CreateOrTruncateFile(folder.File("no/such/folder.voq").c_str()).IsInvalid());
}

TEST(CreateUniqueFileBeside, MakesANewFileInTheSameFolder) {
    TempFolder folder;
    std::string first, second;
    FileHandle a = Platform::CreateUniqueFileBeside(folder.File("out.voq"), first);
    FileHandle b = Platform::CreateUniqueFileBeside(folder.File("out.voq"), second);
    ASSERT_TRUE(a.IsOpen());
    ASSERT_TRUE(b.IsOpen());
    EXPECT_NE(first, second);
    EXPECT_EQ(first.rfind(folder.File("out.voq."), 0), 0u);
    Platform::CloseFile(a);
    Platform::CloseFile(b);
    EXPECT_TRUE(Platform::RenameFile(first.c_str(), folder.File("out.voq").c_str()));
    EXPECT_TRUE(Platform::RemoveFile(second.c_str()));
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"out.voq"});
}

TEST(RemoveFileAtExit, RemovesRegisteredFilesWhenTheProcessExits) {
    TempFolder folder;
    std::string doomed = folder.File("doomed.tmp");
    std::string kept = folder.File("kept.tmp");
    TestSupport::WriteText(doomed, "x");
    TestSupport::WriteText(kept, "x");
    EXPECT_EXIT(
        {
            Platform::RemoveFileAtExit(doomed);
            Platform::RemoveFileAtExit(kept);
            Platform::KeepFileAtExit(kept);
            std::exit(3);
        },
        testing::ExitedWithCode(3), "");
    EXPECT_FALSE(TestSupport::FileExists(doomed));
    EXPECT_TRUE(TestSupport::FileExists(kept));
}

}  // namespace
