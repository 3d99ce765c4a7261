// The ETC1 result cache through the converter: which runs write which cache
// file, what a second run does with it, and the progress lines of a level.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "etc1/ETC1Cache.h"
#include "etc1/ETC1Hash.h"
#include "support/ConverterRun.h"
#include "support/TestFiles.h"
#include "support/TestPattern.h"
#include "support/TgaBuilder.h"

using namespace ETC1Encoder;

using TestSupport::ConverterResult;
using TestSupport::TempFolder;

namespace {

constexpr uint8_t kRowsTopDown = 0x20;
constexpr size_t kVoqHeaderBytes = 16;

// A 24-bit TGA of the RGB part of `rgba`, rows stored top-down.
std::vector<uint8_t> TgaOf(const std::vector<uint8_t>& rgba, int32_t width, int32_t height) {
    TgaFile tga;
    tga.width = static_cast<uint16_t>(width);
    tga.height = static_cast<uint16_t>(height);
    tga.descriptor = kRowsTopDown;
    for (size_t i = 0; i < rgba.size(); i += 4) tga.data.insert(tga.data.end(), {rgba[i + 2], rgba[i + 1], rgba[i]});
    return tga.Bytes();
}

std::vector<uint8_t> UniformRgba(int32_t width, int32_t height, uint8_t r, uint8_t g, uint8_t b) {
    std::vector<uint8_t> rgba;
    for (int32_t i = 0; i < width * height; ++i) rgba.insert(rgba.end(), {r, g, b, 255});
    return rgba;
}

// Identity and time of last change: a file that was not rewritten keeps both.
struct FileStamp {
    ino_t inode = 0;
    int64_t modified = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

FileStamp StampOf(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return {};
    return {info.st_ino, static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

std::vector<std::string> EntriesOf(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

class CacheRuns : public testing::Test {
protected:
    std::string CacheFile(int32_t method) const {
        return appData_.Path() + "/BRAMWELD/etcworks/cache_10_" + std::to_string(method);
    }

    ConverterResult Convert(const std::vector<uint8_t>& tga, const std::string& format, const std::string& method) {
        TestSupport::WriteBytes(work_.File("in.tga"), tga);
        return TestSupport::RunConverter({"-i", work_.File("in.tga"), "-o", work_.File("out.voq"), "-f", format,
                                          "-e", method},
                                         "", "", {{"APPDATA", appData_.Path()}});
    }

    std::vector<uint8_t> Output() const { return TestSupport::ReadBytes(work_.File("out.voq")); }

    TempFolder work_;
    TempFolder appData_;
};

struct MethodCase {
    const char* name;
    int32_t number;
};

void PrintTo(const MethodCase& c, std::ostream* out) { *out << c.name; }

class CachedMethodRuns : public CacheRuns, public testing::WithParamInterface<MethodCase> {};

// Turns the ETC1 words of every entry that a block of `rgba` uses into their
// complements, in the cache file at `path`.
void InvertCachedWords(const std::string& path, const std::vector<uint8_t>& rgba, int32_t width, int32_t height) {
    std::vector<uint8_t> bytes = TestSupport::ReadBytes(path);
    std::set<uint32_t> indices;
    for (int32_t row = 0; row < height / 4; ++row) {
        for (int32_t column = 0; column < width / 4; ++column) {
            uint8_t block[48];
            for (int32_t pixel = 0; pixel < 16; ++pixel) {
                size_t at = 4 * (static_cast<size_t>(4 * row + pixel / 4) * width + 4 * column + pixel % 4);
                for (int32_t c = 0; c < 3; ++c) block[3 * pixel + c] = rgba[at + c];
            }
            uint64_t key = 0;
            uint64_t hash = 0;
            HashETC1Block(block, key, hash);
            indices.insert(ETC1CacheIndex(hash));
        }
    }
    for (uint32_t index : indices) {
        for (size_t i = 8; i < 16; ++i) bytes[16 * size_t{index} + i] ^= 0xFF;
    }
    TestSupport::WriteBytes(path, bytes);
}

// A run over the same input finds every block in the cache file: with the
// file's words inverted, the output holds every block inverted, so no block
// was compressed again.
TEST_P(CachedMethodRuns, WriteTheirFileAndCompressNothingTheSecondTime) {
    const std::vector<uint8_t> rgba = TestSupport::PhotoLikeRgba(32, 16);
    const std::vector<uint8_t> tga = TgaOf(rgba, 32, 16);
    const std::string cacheFile = CacheFile(GetParam().number);
    ConverterResult first = Convert(tga, "ETC1", GetParam().name);
    ASSERT_EQ(first.exitStatus, 0) << first.output;
    const std::vector<uint8_t> output = Output();
    ASSERT_EQ(output.size(), kVoqHeaderBytes + 32 * 16 / 2);
    struct stat info {};
    ASSERT_EQ(stat(cacheFile.c_str(), &info), 0);
    EXPECT_EQ(info.st_size, kETC1CacheBytes);
    EXPECT_EQ(EntriesOf(appData_.Path() + "/BRAMWELD/etcworks"),
              std::vector<std::string>{"cache_10_" + std::to_string(GetParam().number)});

    const FileStamp written = StampOf(cacheFile);
    ConverterResult second = Convert(tga, "ETC1", GetParam().name);
    ASSERT_EQ(second.exitStatus, 0) << second.output;
    EXPECT_EQ(Output(), output);
    EXPECT_EQ(StampOf(cacheFile), written);  // nothing new to save

    InvertCachedWords(cacheFile, rgba, 32, 16);
    ASSERT_EQ(Convert(tga, "ETC1", GetParam().name).exitStatus, 0);
    std::vector<uint8_t> inverted = output;
    for (size_t i = kVoqHeaderBytes; i < inverted.size(); ++i) inverted[i] ^= 0xFF;
    EXPECT_EQ(Output(), inverted);
}

INSTANTIATE_TEST_SUITE_P(Methods, CachedMethodRuns,
                         testing::Values(MethodCase{"Medium", 1}, MethodCase{"Slow", 2},
                                         MethodCase{"MediumPerceptual", 4}, MethodCase{"SlowPerceptual", 5}),
                         [](const testing::TestParamInfo<MethodCase>& info) { return info.param.name; });

struct UncachedCase {
    const char* name;
    const char* format;
    const char* method;
};

void PrintTo(const UncachedCase& c, std::ostream* out) { *out << c.name; }

class UncachedRuns : public CacheRuns, public testing::WithParamInterface<UncachedCase> {};

TEST_P(UncachedRuns, WriteNoCacheFile) {
    ConverterResult run = Convert(TgaOf(TestSupport::PhotoLikeRgba(16, 16), 16, 16), GetParam().format,
                                  GetParam().method);
    ASSERT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_TRUE(appData_.Entries().empty());
}

INSTANTIATE_TEST_SUITE_P(Runs, UncachedRuns,
                         testing::Values(UncachedCase{"Fast", "ETC1", "Fast"},
                                         UncachedCase{"FastPerceptual", "ETC1_A4", "FastPerceptual"},
                                         UncachedCase{"NotETC1", "RGB8", "Medium"}),
                         [](const testing::TestParamInfo<UncachedCase>& info) { return info.param.name; });

// A cache file of one method whose one entry gives the uniform block `words`.
void PlantCacheFile(const std::string& path, const std::vector<uint8_t>& rgba, uint32_t high, uint32_t low) {
    uint8_t block[48];
    for (int i = 0; i < 16; ++i) {
        for (int c = 0; c < 3; ++c) block[3 * i + c] = rgba[c];
    }
    uint64_t key = 0;
    uint64_t hash = 0;
    HashETC1Block(block, key, hash);
    std::vector<uint8_t> bytes(static_cast<size_t>(kETC1CacheBytes), 0xFF);
    const uint32_t words[4] = {static_cast<uint32_t>(key), static_cast<uint32_t>(key >> 32), high, low};
    for (int w = 0; w < 4; ++w) {
        for (int b = 0; b < 4; ++b) {
            bytes[16 * size_t{ETC1CacheIndex(hash)} + 4 * size_t(w) + size_t(b)] = static_cast<uint8_t>(words[w] >> 8 * b);
        }
    }
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    TestSupport::WriteBytes(path, bytes);
}

bool EveryBlockIs(const std::vector<uint8_t>& voq, uint32_t high, uint32_t low) {
    if (voq.size() <= kVoqHeaderBytes) return false;
    for (size_t at = kVoqHeaderBytes; at + 8 <= voq.size(); at += 8) {
        for (int b = 0; b < 4; ++b) {
            if (voq[at + b] != static_cast<uint8_t>(low >> 8 * b)) return false;
            if (voq[at + 4 + b] != static_cast<uint8_t>(high >> 8 * b)) return false;
        }
    }
    return true;
}

// The entry planted in the Slow file is taken by Slow runs alone.
TEST_F(CacheRuns, EachMethodLoadsItsOwnFile) {
    std::vector<uint8_t> rgba = UniformRgba(16, 16, 90, 140, 200);
    const uint32_t high = 0x12345678u;
    const uint32_t low = 0x9ABCDEF0u;
    PlantCacheFile(CacheFile(2), rgba, high, low);
    FileStamp planted = StampOf(CacheFile(2));
    std::vector<uint8_t> tga = TgaOf(rgba, 16, 16);

    ASSERT_EQ(Convert(tga, "ETC1", "Slow").exitStatus, 0);
    EXPECT_TRUE(EveryBlockIs(Output(), high, low));
    EXPECT_EQ(StampOf(CacheFile(2)), planted);

    ASSERT_EQ(Convert(tga, "ETC1", "Medium").exitStatus, 0);
    EXPECT_FALSE(EveryBlockIs(Output(), high, low));
    EXPECT_TRUE(TestSupport::FileExists(CacheFile(1)));

    ASSERT_EQ(Convert(tga, "ETC1", "Slow").exitStatus, 0);
    EXPECT_TRUE(EveryBlockIs(Output(), high, low));
}

TEST_F(CacheRuns, WithoutAUsableFolderNothingIsReadOrWritten) {
    TestSupport::WriteBytes(work_.File("in.tga"), TgaOf(TestSupport::PhotoLikeRgba(16, 16), 16, 16));
    ConverterResult run = TestSupport::RunConverter(
        {"-i", "in.tga", "-o", "out.voq", "-f", "ETC1", "-e", "Medium"}, work_.Path(), "",
        {{"APPDATA", std::nullopt}, {"XDG_DATA_HOME", std::nullopt}, {"HOME", "relative-home"}});
    ASSERT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_EQ(work_.Entries(), (std::vector<std::string>{"in.tga", "out.voq"}));
}

// Memory never written holds zeros, so an all-zero entry is empty: an all-zero
// file must not give black blocks the words of its entry 0.
TEST_F(CacheRuns, AnAllZeroFileGivesTheOutputOfNoFile) {
    std::vector<uint8_t> rgba = UniformRgba(16, 16, 0, 0, 0);
    const std::vector<uint8_t> photo = TestSupport::PhotoLikeRgba(16, 16);
    rgba.insert(rgba.end(), photo.begin(), photo.end());
    const std::vector<uint8_t> tga = TgaOf(rgba, 16, 32);
    ASSERT_EQ(Convert(tga, "ETC1", "Medium").exitStatus, 0);
    const std::vector<uint8_t> withoutFile = Output();

    TestSupport::WriteBytes(CacheFile(1), std::vector<uint8_t>(static_cast<size_t>(kETC1CacheBytes), 0));
    ASSERT_EQ(Convert(tga, "ETC1", "Medium").exitStatus, 0);
    EXPECT_EQ(Output(), withoutFile);
}

TEST_F(CacheRuns, ASaveThatFailsSaysSoAndTheOutputStands) {
    const std::vector<uint8_t> tga = TgaOf(TestSupport::PhotoLikeRgba(16, 16), 16, 16);
    ConverterResult plain = Convert(tga, "ETC1", "Medium");
    ASSERT_EQ(plain.exitStatus, 0);
    EXPECT_EQ(plain.errors, "");
    const std::vector<uint8_t> expected = Output();

    std::filesystem::remove(CacheFile(1));
    ASSERT_EQ(mkfifo(CacheFile(1).c_str(), 0600), 0);  // neither read nor waited on
    ConverterResult run = Convert(tga, "ETC1", "Medium");
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.errors, "cannot save the ETC1 cache file\n");
    EXPECT_EQ(Output(), expected);
    EXPECT_EQ(EntriesOf(appData_.Path() + "/BRAMWELD/etcworks"), std::vector<std::string>{"cache_10_1"});
}

// The entries of a cache file other than empty ones, by index.
std::map<uint32_t, std::vector<uint8_t>> CachedEntries(const std::string& path) {
    const std::vector<uint8_t> bytes = TestSupport::ReadBytes(path);
    std::map<uint32_t, std::vector<uint8_t>> entries;
    for (size_t at = 0; at + 16 <= bytes.size(); at += 16) {
        if (std::count(bytes.begin() + at, bytes.begin() + at + 16, 0xFF) == 16) continue;
        entries[static_cast<uint32_t>(at / 16)] = std::vector<uint8_t>(bytes.begin() + at, bytes.begin() + at + 16);
    }
    return entries;
}

TEST_F(CacheRuns, ConvertersSavingOneFileAtOnceKeepEachOthersEntries) {
    constexpr int kRuns = 4;
    std::vector<TempFolder> works(kRuns);
    std::map<uint32_t, std::vector<std::vector<uint8_t>>> alone;  // what each run saves by itself
    for (int run = 0; run < kRuns; ++run) {
        TestSupport::WriteBytes(works[run].File("in.tga"),
                                TgaOf(TestSupport::PhotoLikeRgba(64, 64, run + 1), 64, 64));
        TempFolder own;
        ASSERT_EQ(TestSupport::RunConverter({"-i", works[run].File("in.tga"), "-o", works[run].File("out.voq"), "-f",
                                             "ETC1", "-e", "Medium"},
                                            "", "", {{"APPDATA", own.Path()}})
                      .exitStatus,
                  0);
        for (auto& [index, entry] : CachedEntries(own.Path() + "/BRAMWELD/etcworks/cache_10_1")) {
            alone[index].push_back(entry);
        }
    }

    std::vector<std::unique_ptr<TestSupport::RunningProgram>> together;
    for (int run = 0; run < kRuns; ++run) {
        together.push_back(std::make_unique<TestSupport::RunningProgram>(
            BWVOQ_CONVERTER,
            std::vector<std::string>{"-i", works[run].File("in.tga"), "-o", works[run].File("out.voq"), "-f", "ETC1",
                                     "-e", "Medium"},
            "", "", TestSupport::EnvironmentChanges{{"APPDATA", appData_.Path()}}));
    }
    for (auto& program : together) ASSERT_EQ(program->Wait().exitStatus, 0);

    const std::map<uint32_t, std::vector<uint8_t>> shared = CachedEntries(CacheFile(1));
    size_t kept = 0;
    for (const auto& [index, entries] : alone) {
        if (entries.size() != 1) continue;  // two runs' blocks on one entry: either may hold it
        auto found = shared.find(index);
        if (found != shared.end() && found->second == entries.front()) ++kept;
        else ADD_FAILURE() << "entry " << index << " was lost";
    }
    EXPECT_GT(kept, size_t{kRuns * 200});
    EXPECT_EQ(EntriesOf(appData_.Path() + "/BRAMWELD/etcworks"), std::vector<std::string>{"cache_10_1"});
}

// Killed at any moment, a run leaves the file it found or the whole new one,
// and no other file.
TEST_F(CacheRuns, ARunKilledWhileSavingLeavesNoOtherFile) {
    const std::vector<uint8_t> first = TgaOf(TestSupport::PhotoLikeRgba(64, 64, 1), 64, 64);
    ASSERT_EQ(Convert(first, "ETC1", "Medium").exitStatus, 0);
    TestSupport::WriteBytes(work_.File("other.tga"), TgaOf(TestSupport::PhotoLikeRgba(64, 64, 2), 64, 64));
    for (int delay = 0; delay <= 300; delay += 20) {
        TestSupport::RunningProgram run(BWVOQ_CONVERTER,
                                        {"-i", work_.File("other.tga"), "-o", work_.File("other.voq"), "-f", "ETC1",
                                         "-e", "Medium"},
                                        "", "", {{"APPDATA", appData_.Path()}});
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        run.SendSignal(SIGKILL);
        run.Wait();
        EXPECT_EQ(EntriesOf(appData_.Path() + "/BRAMWELD/etcworks"), std::vector<std::string>{"cache_10_1"})
            << "killed after " << delay << " ms";
        EXPECT_EQ(static_cast<int64_t>(std::filesystem::file_size(CacheFile(1))), kETC1CacheBytes);
        std::filesystem::remove(CacheFile(1));
        ASSERT_EQ(Convert(first, "ETC1", "Medium").exitStatus, 0);  // the old file again
    }
}

// The one moment a save cannot cover is between naming its new file and
// renaming it; a name a run killed there left is gone with the next save.
TEST_F(CacheRuns, ASaveRemovesTheNameAKilledSaveLeft) {
    ASSERT_EQ(Convert(TgaOf(TestSupport::PhotoLikeRgba(64, 64, 1), 64, 64), "ETC1", "Medium").exitStatus, 0);
    const std::string folder = appData_.Path() + "/BRAMWELD/etcworks";
    TestSupport::WriteText(CacheFile(1) + ".Q7rT2k", "a killed save's new file");
    ASSERT_EQ(Convert(TgaOf(TestSupport::PhotoLikeRgba(64, 64, 2), 64, 64), "ETC1", "Medium").exitStatus, 0);
    EXPECT_EQ(EntriesOf(folder), std::vector<std::string>{"cache_10_1"});
}

// The "done" counts of the progress lines in a run's output.
std::vector<int32_t> ProgressCounts(const std::string& output, int32_t total, std::string& first) {
    const std::string backspaces(52, '\b');
    const std::string prefix = "Compressed ";
    std::vector<int32_t> counts;
    for (size_t at = output.find(prefix); at != std::string::npos; at = output.find(prefix, at + 1)) {
        size_t end = output.find(backspaces, at);
        if (end == std::string::npos) break;
        std::string line = output.substr(at, end - at);
        if (first.empty()) first = line;
        int done = 0;
        int of = 0;
        if (std::sscanf(line.c_str(), "Compressed %d of %d blocks", &done, &of) == 2 && of == total) {
            counts.push_back(done);
        }
    }
    return counts;
}

TEST_F(CacheRuns, ProgressLinesOfSixtyFourBlocksFollowEveryOtherBlock) {
    ConverterResult run = Convert(TgaOf(TestSupport::PhotoLikeRgba(32, 32), 32, 32), "ETC1", "Medium");
    ASSERT_EQ(run.exitStatus, 0) << run.output;
    std::string first;
    std::vector<int32_t> expected;
    for (int32_t done = 1; done <= 63; done += 2) expected.push_back(done);
    expected.push_back(64);
    EXPECT_EQ(ProgressCounts(run.output, 64, first), expected);
    EXPECT_EQ(first, "Compressed 1 of 64 blocks, 1.6% finished.");
    EXPECT_NE(run.output.find("Compressed 64 of 64 blocks, 100.0% finished." + std::string(52, '\b')),
              std::string::npos);
}

TEST_F(CacheRuns, ProgressLinesOfAThousandBlocksComeEveryTwoPercentThenEveryBlock) {
    ConverterResult run = Convert(TgaOf(UniformRgba(128, 128, 30, 60, 90), 128, 128), "ETC1", "Medium");
    ASSERT_EQ(run.exitStatus, 0) << run.output;
    std::string first;
    std::vector<int32_t> counts = ProgressCounts(run.output, 1024, first);
    ASSERT_EQ(counts.size(), 59u);
    EXPECT_EQ(first, "Compressed 11 of 1024 blocks, 1.1% finished.");
    EXPECT_EQ(std::vector<int32_t>(counts.begin(), counts.begin() + 3), (std::vector<int32_t>{11, 32, 53}));
    std::vector<int32_t> tail;
    for (int32_t done = 1014; done <= 1024; ++done) tail.push_back(done);
    EXPECT_EQ(std::vector<int32_t>(counts.end() - 11, counts.end()), tail);
    EXPECT_EQ(counts[counts.size() - 12], 998);
}

}  // namespace
