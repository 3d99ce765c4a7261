#include "image/Image.h"

#include <algorithm>
#include <cstring>
#include <cstdlib>
#include <new>

#include "image/SizeMath.h"
#include "platform/Memory.h"

namespace ImageLib {

namespace {
// From this size on a buffer sits on huge pages: a few faults for the
// megabytes of an image rather than one for every 4 KiB.
constexpr size_t kHugePage = size_t{2} << 20;
}  // namespace

void ByteBufferRelease::operator()(uint8_t* bytes) const { std::free(bytes); }

ByteBuffer AllocateBytes(int64_t size, BufferFill fill) {
    if (size < 1 || size > kMaxByteCount) return nullptr;
    const auto bytes = static_cast<size_t>(size);
    const bool zeroed = fill == BufferFill::Zeroed;
    if (bytes < kHugePage) {
        return ByteBuffer(static_cast<uint8_t*>(zeroed ? std::calloc(bytes, 1) : std::malloc(bytes)));
    }
    const size_t whole = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    auto* buffer = static_cast<uint8_t*>(std::aligned_alloc(kHugePage, whole));
    if (buffer == nullptr) return nullptr;
    Platform::AdviseHugePages(buffer, whole);
    if (zeroed) std::memset(buffer, 0, bytes);
    return ByteBuffer(buffer);
}

int32_t CImage::GetImageSize(int32_t imageFormat, const ImageOptions*) const {
    return GetImageByteSize(imageFormat == None ? format : imageFormat, width, height);
}

bool CImage::Read(Platform::FileHandle) { return false; }
bool CImage::Load(const char*) { return false; }
bool CImage::ReadHeader(Platform::FileHandle) { return false; }
bool CImage::LoadHeader(const char*) { return false; }
bool CImage::ReadBody(Platform::FileHandle) { return false; }
bool CImage::Write(Platform::FileHandle, const ImageOptions*) { return false; }
bool CImage::Save(const char*, const ImageOptions*) { return false; }

bool CImage::LoadFromPath(const char* path) {
    Platform::FileHandle file = Platform::OpenFileForReading(path);
    if (!file.IsOpen()) return false;
    bool result = Read(file);
    Platform::CloseFile(file);
    return result;
}

bool CImage::LoadHeaderFromPath(const char* path) {
    Platform::FileHandle file = Platform::OpenFileForReading(path);
    if (!file.IsOpen()) return false;
    bool result = ReadHeader(file);
    Platform::CloseFile(file);
    return result;
}

bool CImage::SaveToPath(const char* path, const ImageOptions*) {
    Platform::FileHandle file = Platform::CreateOrTruncateFile(path);
    if (!file.IsOpen()) return false;
    // The path form writes plain pixels: only SaveImage hands options to a writer.
    bool result = Write(file, nullptr);
    Platform::CloseFile(file);
    return result;
}

void CImage::Clear() {
    pixels.reset();
    palette.reset();
    mipChain.reset();
    format = None;
    width = height = paletteCount = mipLevels = 0;
    std::fill(std::begin(mipWidth), std::end(mipWidth), 0);
    std::fill(std::begin(mipHeight), std::end(mipHeight), 0);
}

bool CImage::SetInfo(int32_t imageFormat, int32_t imageWidth, int32_t imageHeight, int32_t colours,
                     int32_t levelCount, int32_t mipWidth0, int32_t mipHeight0) {
    Clear();
    if (imageFormat == None || imageWidth < 1 || imageHeight < 1) return false;
    if (levelCount < 0 || levelCount > kMaxMipLevels) return false;
    if (levelCount > 0 && (mipWidth0 == 0 || mipHeight0 == 0)) return false;
    width = imageWidth;
    height = imageHeight;
    paletteCount = colours;
    format = imageFormat;
    mipLevels = levelCount;
    mipWidth[0] = mipWidth0;
    mipHeight[0] = mipHeight0;
    for (int32_t i = 1; i < mipLevels; ++i) {
        mipWidth[i] = mipWidth[i - 1] / 2;
        mipHeight[i] = mipHeight[i - 1] / 2;
    }
    return true;
}

bool CImage::Create(int32_t imageFormat, int32_t imageWidth, int32_t imageHeight, int32_t colours,
                    int32_t levelCount, int32_t mipWidth0, int32_t mipHeight0) {
    return SetInfo(imageFormat, imageWidth, imageHeight, colours, levelCount, mipWidth0, mipHeight0) &&
           AllocateBuffers();
}

bool CImage::AllocateBuffers() {
    if (!AllocatePixels()) return false;
    if (paletteCount != 0 && !AllocatePalette()) return false;
    return AllocateMipChain();
}

bool CImage::AllocatePixels() {
    if (pixels) return true;
    pixels = AllocateBytes(GetImageSize(None, nullptr));
    return pixels != nullptr;
}

bool CImage::AllocatePalette() {
    if (paletteCount == 0 || palette) return true;
    if (paletteCount < 0 || paletteCount > kMaxPaletteCount) return false;
    palette = AllocateBytes(kMaxPaletteCount * 3);
    return palette != nullptr;
}

bool CImage::SetMipLevels(int32_t levelCount, int32_t mipWidth0, int32_t mipHeight0) {
    // A count outside 0 to 9 is refused before anything is stored, so the level
    // arrays are never indexed past their end.
    if (levelCount < 0 || levelCount > kMaxMipLevels) return false;
    mipLevels = levelCount;
    mipWidth[0] = mipWidth0;
    mipHeight[0] = mipHeight0;
    for (int32_t i = 1; i < kMaxMipLevels; ++i) {
        bool present = levelCount >= i + 1;
        mipWidth[i] = present ? mipWidth[i - 1] / 2 : 0;
        mipHeight[i] = present ? mipHeight[i - 1] / 2 : 0;
    }
    return AllocateMipChain();
}

bool CImage::AllocateMipChain() {
    mipChain.reset();
    if (mipLevels == 0) return true;
    if (mipLevels < 0 || mipLevels > kMaxMipLevels) return false;
    int32_t size = GetMipImageSize(-1, None);
    if (size < 1) return false;
    mipChain = AllocateBytes(size);
    return mipChain != nullptr;
}

void CImage::CopyFrom(const CImage& source, int32_t requested) {
    Clear();
    width = source.width;
    height = source.height;
    mipLevels = source.mipLevels;
    std::copy(std::begin(source.mipWidth), std::end(source.mipWidth), std::begin(mipWidth));
    std::copy(std::begin(source.mipHeight), std::end(source.mipHeight), std::begin(mipHeight));

    bool convert = requested != None && requested != Indexed && requested != source.format;
    format = convert ? requested : source.format;
    paletteCount = convert ? 0 : source.paletteCount;

    if (source.pixels) {
        int32_t size = GetImageSize(None, nullptr);
        pixels = AllocateBytes(size);
        if (pixels && convert) {
            source.GetPixels(pixels.get(), size, requested);
        } else if (pixels) {
            std::memcpy(pixels.get(), source.pixels.get(), static_cast<size_t>(size));
        }
    }
    if (!convert && source.palette && paletteCount >= 1 && paletteCount <= kMaxPaletteCount) {
        palette = AllocateBytes(kMaxPaletteCount * 3);
        if (palette) std::memcpy(palette.get(), source.palette.get(), static_cast<size_t>(paletteCount) * 3);
    }
    if (source.mipChain && AllocateMipChain()) {
        int32_t size = GetMipImageSize(-1, None);
        if (convert) {
            source.GetMipImage(mipChain.get(), size, requested, -1);
        } else {
            std::memcpy(mipChain.get(), source.mipChain.get(), static_cast<size_t>(size));
        }
    }
}

bool CImage::GetPixels(uint8_t* destination, int32_t size, int32_t requested) const {
    if (destination == nullptr || !pixels || format == None) return false;
    int32_t target = requested == None ? format : requested;
    int32_t needed = GetImageByteSize(target, width, height);
    if (needed < 1 || size < needed) return false;
    if (target == format) {
        std::memcpy(destination, pixels.get(), static_cast<size_t>(needed));
        return true;
    }
    return ConvertPixels(format, target, pixels.get(), destination, palette.get(), width, height);
}

int32_t CImage::MipLevelOffset(int32_t level) const {
    int64_t offset = 0;
    for (int32_t i = 0; i < level; ++i) offset += GetImageByteSize(format, mipWidth[i], mipHeight[i]);
    return static_cast<int32_t>(offset);
}

bool CImage::GetMipImage(uint8_t* destination, int32_t size, int32_t requested, int32_t level) const {
    if (destination == nullptr || !mipChain || format == None || level >= mipLevels) return false;
    int32_t target = requested == None ? format : requested;
    if (level < 0) {
        int64_t remaining = size;
        for (int32_t i = 0; i < mipLevels; ++i) {
            if (!GetMipImage(destination, static_cast<int32_t>(remaining), target, i)) return false;
            int32_t levelBytes = GetImageByteSize(target, mipWidth[i], mipHeight[i]);
            destination += levelBytes;
            remaining -= levelBytes;
        }
        return true;
    }
    int32_t needed = GetImageByteSize(target, mipWidth[level], mipHeight[level]);
    if (needed < 1 || size < needed) return false;
    return ConvertPixels(format, target, mipChain.get() + MipLevelOffset(level), destination, palette.get(),
                         mipWidth[level], mipHeight[level]);
}

int32_t CImage::GetMipImageSize(int32_t level, int32_t requested) const {
    int32_t target = requested == None ? format : requested;
    if (level >= 0) return level < mipLevels ? GetImageByteSize(target, mipWidth[level], mipHeight[level]) : 0;
    int64_t total = 0;
    for (int32_t i = 0; i < mipLevels && i < kMaxMipLevels; ++i) {
        total += GetImageByteSize(target, mipWidth[i], mipHeight[i]);
        if (total > kMaxByteCount) return 0;
    }
    return static_cast<int32_t>(total);
}

}  // namespace ImageLib
