#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/FileHelpers.h"
#include "support/TestFiles.h"

using namespace ImageLib;
using Platform::FileHandle;
using TestSupport::TempFolder;

namespace {

// Opens `bytes` as a file in a temporary folder, positioned at `position`.
class OpenedFile {
public:
    OpenedFile(const std::vector<uint8_t>& bytes, int64_t position) {
        TestSupport::WriteBytes(folder_.File("f.bin"), bytes);
        handle = Platform::OpenFileForReading(folder_.File("f.bin").c_str());
        Platform::SeekFile(handle, position, Platform::SeekOrigin::Begin);
    }
    ~OpenedFile() { Platform::CloseFile(handle); }
    int64_t Position() const { return Platform::SeekFile(handle, 0, Platform::SeekOrigin::Current); }
    FileHandle handle;

private:
    TempFolder folder_;
};

std::vector<uint8_t> Counting(int n) {
    std::vector<uint8_t> bytes(n);
    for (int i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(i);
    return bytes;
}

// Writes through `write` into a fresh file and returns its result and the file's bytes.
template <typename Write>
std::pair<bool, std::vector<uint8_t>> Written(Write write) {
    TempFolder folder;
    FileHandle file = CreateFileForWrite(folder.File("w.bin").c_str());
    bool result = write(file);
    Platform::CloseFile(file);
    return {result, TestSupport::ReadBytes(folder.File("w.bin"))};
}

using Bytes = std::vector<uint8_t>;

TEST(WriteHelpers, WriteLittleEndianValuesAndRawRuns) {
    EXPECT_EQ(Written([](FileHandle f) { return WriteU8(f, 0x1234); }), std::make_pair(true, Bytes{0x34}));
    EXPECT_EQ(Written([](FileHandle f) { return WriteU16(f, 0x1234); }), std::make_pair(true, Bytes{0x34, 0x12}));
    EXPECT_EQ(Written([](FileHandle f) { return WriteU32(f, 0x11223344); }),
              std::make_pair(true, Bytes{0x44, 0x33, 0x22, 0x11}));
    EXPECT_EQ(Written([](FileHandle f) { return WriteString(f, "abc"); }),
              std::make_pair(true, Bytes{'a', 'b', 'c'}));
    const uint8_t run[3] = {9, 8, 7};
    EXPECT_EQ(Written([&](FileHandle f) { return WriteBytes(f, run, 3); }), std::make_pair(true, Bytes{9, 8, 7}));
}

TEST(WriteHelpers, RefuseEmptyOrMissingInputWithoutWriting) {
    const uint8_t run[1] = {1};
    EXPECT_EQ(Written([](FileHandle f) { return WriteString(f, ""); }), std::make_pair(false, Bytes{}));
    EXPECT_EQ(Written([](FileHandle f) { return WriteString(f, nullptr); }), std::make_pair(false, Bytes{}));
    EXPECT_EQ(Written([&](FileHandle f) { return WriteBytes(f, run, 0); }), std::make_pair(false, Bytes{}));
    EXPECT_EQ(Written([](FileHandle f) { return WriteBytes(f, nullptr, 1); }), std::make_pair(false, Bytes{}));
    EXPECT_FALSE(WriteU8(FileHandle(), 1));
    EXPECT_FALSE(WriteU32(FileHandle(), 1));
    EXPECT_FALSE(WriteString(FileHandle(), "x"));
}

TEST(WriteHelpers, FailWhenTheDiskIsFull) {
    FileHandle full = Platform::CreateOrTruncateFile("/dev/full");
    if (!full.IsOpen()) GTEST_SKIP() << "/dev/full is not available";
    EXPECT_FALSE(WriteU32(full, 1));
    EXPECT_FALSE(WriteString(full, "abc"));
    Platform::CloseFile(full);
}

TEST(CreateFileForWrite, NullPathGivesANullHandleAndFailureAnInvalidOne) {
    EXPECT_TRUE(CreateFileForWrite(nullptr).IsNull());
    EXPECT_TRUE(CreateFileForWrite("/no/such/folder/x.voq").IsInvalid());
}

struct ReadExactCase {
    int fileSize;
    int position;
    int count;
    bool success;
};

void PrintTo(const ReadExactCase& c, std::ostream* out) {
    *out << "size " << c.fileSize << " at " << c.position << " read " << c.count;
}

class ReadExactTable : public testing::TestWithParam<ReadExactCase> {};

TEST_P(ReadExactTable, SucceedsOnlyForTheWholeCount) {
    const ReadExactCase& c = GetParam();
    OpenedFile file(Counting(c.fileSize), c.position);
    std::vector<uint8_t> buffer(c.count + 1, 0xEE);
    EXPECT_EQ(ReadExact(file.handle, buffer.data(), c.count), c.success);
    if (c.success) {
        EXPECT_EQ(buffer[0], c.position);
    }
}

INSTANTIATE_TEST_SUITE_P(FileHelpers, ReadExactTable,
                         testing::Values(ReadExactCase{10, 0, 10, true}, ReadExactCase{10, 4, 6, true},
                                         ReadExactCase{10, 4, 7, false}, ReadExactCase{10, 10, 1, false},
                                         ReadExactCase{0, 0, 1, false}));

TEST(ReadExact, NullHandleFails) {
    uint8_t byte = 0;
    EXPECT_FALSE(ReadExact(FileHandle(), &byte, 1));
}

TEST(ReadWholeFile, ReadsFromTheStartWhateverThePosition) {
    OpenedFile file(Counting(10), 5);
    int32_t size = 0;
    ByteBuffer bytes = ReadWholeFile(file.handle, size);
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(size, 10);
    EXPECT_EQ(std::vector<uint8_t>(bytes.get(), bytes.get() + 10), Counting(10));
}

TEST(ReadWholeFile, EmptyFileGivesNullWithSizeZero) {
    OpenedFile file({}, 0);
    int32_t size = 99;
    EXPECT_EQ(ReadWholeFile(file.handle, size), nullptr);
    EXPECT_EQ(size, 0);
}

struct RemainingCase {
    int position;
    int size;
};

void PrintTo(const RemainingCase& c, std::ostream* out) { *out << "at " << c.position; }

class ReadRemainingTable : public testing::TestWithParam<RemainingCase> {};

TEST_P(ReadRemainingTable, ReadsFromThePositionToTheEnd) {
    const RemainingCase& c = GetParam();
    OpenedFile file(Counting(10), c.position);
    int32_t size = -1;
    ByteBuffer bytes = ReadRemaining(file.handle, size);
    EXPECT_EQ(size, c.size);
    if (c.size == 0) {
        EXPECT_EQ(bytes, nullptr);
        EXPECT_EQ(file.Position(), 10);
        return;
    }
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes[0], c.position);
    EXPECT_EQ(bytes[c.size - 1], 9);
}

INSTANTIATE_TEST_SUITE_P(FileHelpers, ReadRemainingTable,
                         testing::Values(RemainingCase{4, 6}, RemainingCase{0, 10}, RemainingCase{9, 1},
                                         RemainingCase{10, 0}));

}  // namespace
