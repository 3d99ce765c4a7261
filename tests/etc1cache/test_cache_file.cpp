// The cache files: where they live, what loading files of various lengths does
// to the table, and the exact bytes a save writes.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "etc1/ETC1Cache.h"
#include "etc1/ETC1CacheFile.h"
#include "support/ScopedEnvironment.h"
#include "support/TestFiles.h"

using namespace ETC1Encoder;

using TestSupport::ScopedEnvironment;
using TestSupport::TempFolder;

namespace {

constexpr uint64_t kKey = 0xD4A74287598723A1u;
constexpr uint64_t kHash = 0xBB185109C74E77BDu;
constexpr uint32_t kIndex = 7135548;

bool Finds(uint64_t key, uint64_t hash) {
    uint32_t high = 0;
    uint32_t low = 0;
    return LookUpETC1Block(key, hash, high, low);
}

struct FolderCase {
    const char* name;
    std::optional<std::string> appData;
    std::optional<std::string> dataHome;
    std::optional<std::string> home;
    std::optional<std::string> folder;
};

void PrintTo(const FolderCase& c, std::ostream* os) { *os << c.name; }


class CacheFolder : public testing::TestWithParam<FolderCase> {};

TEST_P(CacheFolder, ComesFromTheFirstVariableSetAndMustBeAbsolute) {
    const FolderCase& c = GetParam();
    ScopedEnvironment environment;
    environment.Set("APPDATA", c.appData);
    environment.Set("XDG_DATA_HOME", c.dataHome);
    environment.Set("HOME", c.home);
    EXPECT_EQ(ETC1CacheFolder(), c.folder);
}

// The folder ("/BRAMWELD/etcworks" is 18 characters more than the base), its
// closing '/' and a terminator must leave room for a 260-character name within
// 4096: a base of 3815 characters is the longest.
const std::string kLongestBase = "/" + std::string(3814, 'n');
const std::string kTooLongBase = kLongestBase + "n";

INSTANTIATE_TEST_SUITE_P(
    Environment, CacheFolder,
    testing::Values(
        FolderCase{"AppData", "/tmp/x", "/data", "/home/u", "/tmp/x/BRAMWELD/etcworks"},
        FolderCase{"AppDataWithSlash", "/tmp/x/", std::nullopt, std::nullopt, "/tmp/x/BRAMWELD/etcworks"},
        FolderCase{"DataHome", std::nullopt, "/data", "/home/u", "/data/BRAMWELD/etcworks"},
        FolderCase{"EmptyAppData", "", "/data", "/home/u", "/data/BRAMWELD/etcworks"},
        FolderCase{"Home", std::nullopt, std::nullopt, "/home/u", "/home/u/.local/share/BRAMWELD/etcworks"},
        FolderCase{"Nothing", std::nullopt, std::nullopt, std::nullopt, std::nullopt},
        FolderCase{"RelativeAppData", "relative", "/data", "/home/u", std::nullopt},
        FolderCase{"RelativeHome", std::nullopt, std::nullopt, "home", std::nullopt},
        FolderCase{"LongestUsable", kLongestBase, std::nullopt, std::nullopt, kLongestBase + "/BRAMWELD/etcworks"},
        FolderCase{"TooLong", kTooLongBase, std::nullopt, std::nullopt, std::nullopt}),
    [](const testing::TestParamInfo<FolderCase>& info) { return info.param.name; });

class CacheFiles : public testing::Test {
protected:
    void SetUp() override {
        environment_.Set("APPDATA", appData_.Path());
        EmptyETC1Cache();
    }

    std::string CacheFile(int method) const {
        return appData_.Path() + "/BRAMWELD/etcworks/cache_10_" + std::to_string(method);
    }

    // A cache file of `length` bytes, empty but for the counting block's entry
    // when the file reaches that far.
    void WriteCacheFile(int method, int64_t length) const {
        std::filesystem::create_directories(appData_.Path() + "/BRAMWELD/etcworks");
        std::vector<uint8_t> bytes(static_cast<size_t>(length), 0xFF);
        if (length < 16 * int64_t{kIndex} + 16) bytes.resize(16 * size_t{kIndex} + 16);
        const uint32_t words[4] = {static_cast<uint32_t>(kKey), static_cast<uint32_t>(kKey >> 32), 0xAABBCCDDu,
                                   0x01020304u};
        for (int w = 0; w < 4; ++w) {
            for (int b = 0; b < 4; ++b) bytes[16 * size_t{kIndex} + 4 * w + b] = static_cast<uint8_t>(words[w] >> 8 * b);
        }
        bytes.resize(static_cast<size_t>(length));
        TestSupport::WriteBytes(CacheFile(method), bytes);
    }

    // A save that writes replaces the file, so a file left alone keeps its inode.
    ino_t InodeOf(int method) const {
        struct stat info {};
        return stat(CacheFile(method).c_str(), &info) == 0 ? info.st_ino : 0;
    }

    static bool HoldsTheCountingBlock() {
        uint32_t high = 0;
        uint32_t low = 0;
        return LookUpETC1Block(kKey, kHash, high, low) && high == 0xAABBCCDDu && low == 0x01020304u;
    }

    TempFolder appData_;
    ScopedEnvironment environment_;
};

struct LengthCase {
    int64_t length;
    bool loaded;
};

void PrintTo(const LengthCase& c, std::ostream* os) {
    *os << "a file of " << c.length << " bytes " << (c.loaded ? "loaded" : "refused");
}


class CacheFileLength : public CacheFiles, public testing::WithParamInterface<LengthCase> {};

TEST_P(CacheFileLength, LoadsOnlyAWholeTable) {
    StoreETC1Block(77, 77, 1, 2);
    WriteCacheFile(1, GetParam().length);
    LoadETC1Cache(1);
    EXPECT_EQ(HoldsTheCountingBlock(), GetParam().loaded);
    EXPECT_FALSE(Finds(77, 77));  // either overwritten by the file or emptied
}

INSTANTIATE_TEST_SUITE_P(Lengths, CacheFileLength,
                         testing::Values(LengthCase{kETC1CacheBytes - 1, false}, LengthCase{kETC1CacheBytes, true},
                                         LengthCase{kETC1CacheBytes + 1, true}, LengthCase{0, false}),
                         [](const testing::TestParamInfo<LengthCase>& info) {
                             const int64_t difference = info.param.length - kETC1CacheBytes;
                             return info.param.length == 0 ? std::string("Empty")
                                    : difference == 0      ? std::string("WholeTable")
                                    : difference < 0       ? "ShortBy" + std::to_string(-difference)
                                                           : "LongBy" + std::to_string(difference);
                         });

TEST_F(CacheFiles, WithoutAFileTheTableKeepsWhatItHolds) {
    StoreETC1Block(77, 77, 1, 2);
    WriteCacheFile(2, kETC1CacheBytes);  // another method's file
    LoadETC1Cache(1);
    EXPECT_TRUE(Finds(77, 77));
    EXPECT_FALSE(HoldsTheCountingBlock());
}

TEST_F(CacheFiles, SaveWritesTheTableExactlyInPrivateFolders) {
    StoreETC1Block(kKey, kHash, 0xAABBCCDDu, 0x01020304u);
    SaveETC1Cache(4);
    std::vector<uint8_t> bytes = TestSupport::ReadBytes(CacheFile(4));
    ASSERT_EQ(static_cast<int64_t>(bytes.size()), kETC1CacheBytes);
    const std::vector<uint8_t> expected = {0xA1, 0x23, 0x87, 0x59, 0x87, 0x42, 0xA7, 0xD4,
                                           0xDD, 0xCC, 0xBB, 0xAA, 0x04, 0x03, 0x02, 0x01};
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 16 * int64_t{kIndex}, bytes.begin() + 16 * int64_t{kIndex} + 16),
              expected);
    bytes.erase(bytes.begin() + 16 * int64_t{kIndex}, bytes.begin() + 16 * int64_t{kIndex} + 16);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 0xFF), static_cast<std::ptrdiff_t>(bytes.size()));

    for (const std::string& folder : {appData_.Path() + "/BRAMWELD", appData_.Path() + "/BRAMWELD/etcworks"}) {
        struct stat info {};
        ASSERT_EQ(stat(folder.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u) << folder;
    }
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(appData_.Path() + "/BRAMWELD/etcworks")) {
        names.push_back(entry.path().filename());
    }
    EXPECT_EQ(names, std::vector<std::string>{"cache_10_4"});  // no temporary file left behind
}

TEST_F(CacheFiles, ASavedFileLoadsBackIntoAnEmptiedTable) {
    StoreETC1Block(kKey, kHash, 0xAABBCCDDu, 0x01020304u);
    SaveETC1Cache(5);
    EmptyETC1Cache();
    ASSERT_FALSE(HoldsTheCountingBlock());
    LoadETC1Cache(5);
    EXPECT_TRUE(HoldsTheCountingBlock());
}

TEST_F(CacheFiles, AFileThatWouldNotChangeIsNotRewritten) {
    WriteCacheFile(1, kETC1CacheBytes);
    LoadETC1Cache(1);
    const ino_t first = InodeOf(1);
    SaveETC1Cache(1);
    EXPECT_EQ(InodeOf(1), first);

    SaveETC1Cache(2);  // another method's file does not hold these bytes yet
    EXPECT_TRUE(TestSupport::FileExists(CacheFile(2)));

    StoreETC1Block(5, 5, 6, 7);  // now the table differs from the file
    SaveETC1Cache(1);
    EXPECT_NE(InodeOf(1), first);
    EmptyETC1Cache();
    LoadETC1Cache(1);
    EXPECT_TRUE(Finds(5, 5));
    EXPECT_TRUE(HoldsTheCountingBlock());
}

// Two blocks on one entry that take turns in it leave the file's bytes as they were.
TEST_F(CacheFiles, EntriesThatEndAsTheyBeganLeaveTheFileAlone) {
    WriteCacheFile(1, kETC1CacheBytes);
    LoadETC1Cache(1);
    const ino_t first = InodeOf(1);
    StoreETC1Block(42, kHash + kETC1CacheEntryCount, 1, 2);
    StoreETC1Block(kKey, kHash, 0xAABBCCDDu, 0x01020304u);
    StoreETC1Block(~uint64_t{0}, 9, 0xFFFFFFFFu, 0xFFFFFFFFu);  // the bytes of an empty entry
    SaveETC1Cache(1);
    EXPECT_EQ(InodeOf(1), first);
}

TEST_F(CacheFiles, ALongerFileIsCutToTheTableOnSave) {
    WriteCacheFile(1, kETC1CacheBytes + 1);
    LoadETC1Cache(1);
    SaveETC1Cache(1);
    EXPECT_EQ(static_cast<int64_t>(std::filesystem::file_size(CacheFile(1))), kETC1CacheBytes);
}

TEST_F(CacheFiles, AFileReplacedByAnotherRunIsWrittenAgain) {
    WriteCacheFile(1, kETC1CacheBytes);
    LoadETC1Cache(1);
    TestSupport::WriteText(CacheFile(1), "another run's file");
    SaveETC1Cache(1);
    EXPECT_EQ(static_cast<int64_t>(std::filesystem::file_size(CacheFile(1))), kETC1CacheBytes);
}

// A large level fills the whole table at once: the pages already used keep
// their stores, the others come from the file, or empty without one.
TEST_F(CacheFiles, FillingTheWholeTableAtOnceKeepsStoresAndReadsTheRest) {
    WriteCacheFile(1, kETC1CacheBytes);
    LoadETC1Cache(1);
    StoreETC1Block(5, 5, 6, 7);
    ExpectETC1Lookups(kETC1CacheEntryCount);
    EXPECT_TRUE(Finds(5, 5));
    EXPECT_TRUE(HoldsTheCountingBlock());
    EXPECT_FALSE(Finds(0, 0));

    EmptyETC1Cache();
    StoreETC1Block(6, 6, 7, 8);
    ExpectETC1Lookups(kETC1CacheEntryCount);
    EXPECT_TRUE(Finds(6, 6));
    EXPECT_FALSE(Finds(5, 5));
    EXPECT_FALSE(HoldsTheCountingBlock());
    EXPECT_FALSE(Finds(0, 0));
}

// Memory never written holds zeros: such an entry must not pass for the black
// block, whose key is 0 and whose entry is entry 0.
TEST_F(CacheFiles, AnAllZeroFileHoldsNoEntry) {
    std::filesystem::create_directories(appData_.Path() + "/BRAMWELD/etcworks");
    TestSupport::WriteBytes(CacheFile(1), std::vector<uint8_t>(static_cast<size_t>(kETC1CacheBytes), 0));
    LoadETC1Cache(1);
    EXPECT_FALSE(Finds(0, 0));
    EXPECT_FALSE(Finds(0, kETC1CacheEntryCount - 1));
    StoreETC1Block(0, 0, 0x02000000u, 0);
    EXPECT_TRUE(Finds(0, 0));
}

// Another run saved the file after this one loaded it: the save keeps that
// run's entries and adds this one's stores.
TEST_F(CacheFiles, ASaveWritesItsStoresOntoTheFileAsItIsThen) {
    WriteCacheFile(1, kETC1CacheBytes);
    LoadETC1Cache(1);
    ASSERT_TRUE(HoldsTheCountingBlock());
    StoreETC1Block(5, 5, 6, 7);

    std::vector<uint8_t> other(static_cast<size_t>(kETC1CacheBytes), 0xFF);
    const uint8_t entry[16] = {9, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0};
    std::copy(entry, entry + 16, other.begin() + 16 * 9);
    TestSupport::WriteBytes(CacheFile(1) + ".other", other);
    std::filesystem::rename(CacheFile(1) + ".other", CacheFile(1));

    EXPECT_TRUE(SaveETC1Cache(1));
    EmptyETC1Cache();
    LoadETC1Cache(1);
    EXPECT_TRUE(Finds(9, 9));
    EXPECT_TRUE(Finds(5, 5));
    EXPECT_FALSE(HoldsTheCountingBlock());  // the other run's file no longer had it
}

// Entries of a file that another run replaced by a short one are not lost:
// with no whole file to write onto, the save writes the whole table.
TEST_F(CacheFiles, ASaveOverAFileCutShortWritesTheWholeTable) {
    WriteCacheFile(1, kETC1CacheBytes);
    LoadETC1Cache(1);
    StoreETC1Block(5, 5, 6, 7);
    TestSupport::WriteText(CacheFile(1) + ".other", "cut short");
    std::filesystem::rename(CacheFile(1) + ".other", CacheFile(1));
    EXPECT_TRUE(SaveETC1Cache(1));
    EmptyETC1Cache();
    LoadETC1Cache(1);
    EXPECT_TRUE(Finds(5, 5));
    EXPECT_TRUE(HoldsTheCountingBlock());
}

struct FailedSaveCase {
    const char* name;
    void (*prepare)(const std::string& appData);
};

void PrintTo(const FailedSaveCase& c, std::ostream* os) { *os << c.name; }

class FailedSaves : public CacheFiles, public testing::WithParamInterface<FailedSaveCase> {};

// Neither load nor save waits on or replaces what is not a regular file.
TEST_P(FailedSaves, ReportFailureAndLeaveThePathAlone) {
    GetParam().prepare(appData_.Path());
    StoreETC1Block(5, 5, 6, 7);
    LoadETC1Cache(1);
    EXPECT_TRUE(Finds(5, 5));  // nothing was loaded
    EXPECT_FALSE(SaveETC1Cache(1));
    EXPECT_FALSE(std::filesystem::is_regular_file(CacheFile(1)));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, FailedSaves,
    testing::Values(FailedSaveCase{"NamedPipeAtThePath",
                                   [](const std::string& appData) {
                                       std::filesystem::create_directories(appData + "/BRAMWELD/etcworks");
                                       ASSERT_EQ(mkfifo((appData + "/BRAMWELD/etcworks/cache_10_1").c_str(), 0600), 0);
                                   }},
                    FailedSaveCase{"FolderAtThePath",
                                   [](const std::string& appData) {
                                       std::filesystem::create_directories(appData + "/BRAMWELD/etcworks/cache_10_1");
                                   }},
                    FailedSaveCase{"FileWhereTheFolderGoes",
                                   [](const std::string& appData) {
                                       std::filesystem::create_directories(appData + "/BRAMWELD");
                                       TestSupport::WriteText(appData + "/BRAMWELD/etcworks", "a file");
                                   }}),
    [](const testing::TestParamInfo<FailedSaveCase>& info) { return info.param.name; });

TEST(CacheFilesInAMissingFolder, CreateItsWholePath) {
    TempFolder work;
    ScopedEnvironment environment;
    const std::string appData = work.File("not/yet");
    environment.Set("APPDATA", appData);
    EmptyETC1Cache();
    SaveETC1Cache(2);
    EXPECT_EQ(static_cast<int64_t>(std::filesystem::file_size(appData + "/BRAMWELD/etcworks/cache_10_2")),
              kETC1CacheBytes);
}

TEST(CacheFilesWithoutAFolder, NothingIsReadOrWritten) {
    TempFolder work;
    ScopedEnvironment environment;
    environment.Set("APPDATA", std::nullopt);
    environment.Set("XDG_DATA_HOME", "relative");
    environment.Set("HOME", work.Path());
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(work.Path());
    EmptyETC1Cache();
    StoreETC1Block(kKey, kHash, 1, 2);
    LoadETC1Cache(1);
    SaveETC1Cache(1);
    std::filesystem::current_path(previous);

    EXPECT_TRUE(Finds(kKey, kHash));      // the table kept its entry
    EXPECT_TRUE(work.Entries().empty());  // neither "relative" nor "$HOME/.local" appeared
}

}  // namespace
