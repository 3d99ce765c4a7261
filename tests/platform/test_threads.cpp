#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <filesystem>
#include <sys/stat.h>

#include "platform/FileStamps.h"
#include "platform/Folders.h"
#include "platform/Processors.h"
#include "platform/Threads.h"
#include "support/TestFiles.h"

using Platform::Thread;
using Platform::ThreadPriority;

namespace {

int OwnNiceValue() {
    errno = 0;
    return getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
}

void RecordNiceValue(void* into) { *static_cast<int*>(into) = OwnNiceValue(); }

TEST(Thread, RunsTheFunctionAndJoins) {
    int nice = 1000;
    Thread thread;
    ASSERT_TRUE(thread.Start(RecordNiceValue, &nice, ThreadPriority::Normal));
    EXPECT_TRUE(thread.IsStarted());
    EXPECT_FALSE(thread.Start(RecordNiceValue, &nice, ThreadPriority::Normal));  // one thread per object
    thread.Join();
    EXPECT_FALSE(thread.IsStarted());
    EXPECT_EQ(nice, OwnNiceValue());
}

TEST(Thread, BelowNormalRaisesOnlyItsOwnNiceValueByOne) {
    int before = OwnNiceValue();
    if (before >= 19) GTEST_SKIP() << "the nice value cannot be raised any further";
    int nice = 1000;
    {
        Thread thread;
        ASSERT_TRUE(thread.Start(RecordNiceValue, &nice, ThreadPriority::BelowNormal));
    }  // the destructor joins
    EXPECT_EQ(nice, before + 1);
    EXPECT_EQ(OwnNiceValue(), before);
}

TEST(Processors, TheAffinityMaskHoldsTheProcessorWeRunOn) {
    uint32_t mask = 0;
    ASSERT_TRUE(Platform::GetProcessAffinityMask32(mask));
    int cpu = sched_getcpu();
    if (cpu >= 0 && cpu < 32) {
        EXPECT_NE(mask & (uint32_t{1} << cpu), 0u);
    }
    EXPECT_GE(std::popcount(mask), 1);
}

TEST(CreateFolderPath, MakesTheMissingFoldersForTheUserAlone) {
    TestSupport::TempFolder folder;
    chmod(folder.Path().c_str(), 0755);
    std::string path = folder.File("a/b/c");
    ASSERT_TRUE(Platform::CreateFolderPath(path.c_str()));
    for (const std::string& created : {folder.File("a"), folder.File("a/b"), path}) {
        struct stat info {};
        ASSERT_EQ(stat(created.c_str(), &info), 0) << created;
        EXPECT_TRUE(S_ISDIR(info.st_mode));
        EXPECT_EQ(info.st_mode & 0777, 0700u) << created;
    }
    struct stat existing {};
    ASSERT_EQ(stat(folder.Path().c_str(), &existing), 0);
    EXPECT_EQ(existing.st_mode & 0777, 0755u);  // left as it was
    EXPECT_TRUE(Platform::CreateFolderPath(path.c_str()));
    EXPECT_TRUE(Platform::CreateFolderPath((path + "/").c_str()));

    TestSupport::WriteText(folder.File("file"), "x");
    EXPECT_FALSE(Platform::CreateFolderPath(folder.File("file").c_str()));
    EXPECT_FALSE(Platform::CreateFolderPath(folder.File("file/below").c_str()));
}

TEST(FileStamp, ChangesWhenTheFileIsReplaced) {
    TestSupport::TempFolder folder;
    std::string path = folder.File("a.bin");
    TestSupport::WriteText(path, "one");
    Platform::FileStamp first;
    Platform::FileStamp again;
    ASSERT_TRUE(Platform::GetFileStamp(path.c_str(), first));
    ASSERT_TRUE(Platform::GetFileStamp(path.c_str(), again));
    EXPECT_EQ(first, again);
    EXPECT_EQ(first.length, 3);

    TestSupport::WriteText(folder.File("b.bin"), "two");
    std::filesystem::rename(folder.File("b.bin"), path);
    Platform::FileStamp replaced;
    ASSERT_TRUE(Platform::GetFileStamp(path.c_str(), replaced));
    EXPECT_NE(first, replaced);
    EXPECT_FALSE(Platform::GetFileStamp(folder.File("missing").c_str(), replaced));
}

}  // namespace
