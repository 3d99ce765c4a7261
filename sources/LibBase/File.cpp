#include "LibBase/File.h"

#include "LibBase/Assert.h"

namespace LibBase {
namespace {

constexpr const char* kFileName = "..\\sources\\LibBase\\File";
constexpr const char* kReadFunction = "LibBase::CFileHandle::Read";

int32_t ClampToInt32(int64_t value) { return value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value); }

ReadFailure g_readFailure = ReadFailure::EndRun;

}  // namespace

void SetReadFailureHandling(ReadFailure handling) { g_readFailure = handling; }

int32_t CFileHandle::GetSize() const { return ClampToInt32(Platform::GetFileLength(handle)); }

int32_t CFileHandle::Read(void* buffer, int32_t size) {
    int64_t count = size;
    if (size < 1) {
        int64_t current = Platform::SeekFile(handle, 0, Platform::SeekOrigin::Current);
        int64_t end = Platform::SeekFile(handle, 0, Platform::SeekOrigin::End);
        Platform::SeekFile(handle, current, Platform::SeekOrigin::Begin);
        count = current < 0 || end < current ? 0 : end - current;
    }
    int64_t done = 0;
    if (g_readFailure == ReadFailure::ReturnZero) {
        const bool read = count > 0 && count <= INT32_MAX && Platform::ReadFromFile(handle, buffer, count, done);
        return read && done == count ? static_cast<int32_t>(done) : 0;
    }
    SetAssertLocation(kFileName, kReadFunction, 69);
    Assert(count != 0, "ファイルサイズが異常です");

    SetAssertLocation(kFileName, kReadFunction, 73);
    Assert(count <= INT32_MAX && Platform::ReadFromFile(handle, buffer, count, done), "ファイル読み込みに失敗しました");
    SetAssertLocation(kFileName, kReadFunction, 74);
    Assert(done == count, "読み込みサイズが不正です");
    return static_cast<int32_t>(done);
}

}  // namespace LibBase
