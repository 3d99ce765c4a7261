// Reading side of CImageTGA: header, colour map and pixel data.
#include <utility>

#include "image/FileHelpers.h"
#include "image/ImageTGA.h"
#include "image/SizeMath.h"

namespace ImageLib {
namespace {

constexpr uint8_t kRleTypeBit = 8;
constexpr uint8_t kColorMapPresent = 1;
constexpr int32_t kPaletteEntryBytes = 3;
// A run packet of 1 + n bytes gives at most 128 pixels of n bytes, so RLE data
// holds at least 1/128 of the bytes it expands to.
constexpr int64_t kMaxRleExpansion = 128;

uint16_t ReadU16(const uint8_t* bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }

TgaHeader UnpackHeader(const uint8_t* bytes) {
    TgaHeader header;
    header.idLength = bytes[0];
    header.colorMapType = bytes[1];
    header.imageType = bytes[2];
    header.colorMapFirst = ReadU16(bytes + 3);
    header.colorMapLength = ReadU16(bytes + 5);
    header.colorMapEntrySize = bytes[7];
    header.xOrigin = ReadU16(bytes + 8);
    header.yOrigin = ReadU16(bytes + 10);
    header.width = ReadU16(bytes + 12);
    header.height = ReadU16(bytes + 14);
    header.pixelDepth = bytes[16];
    header.descriptor = bytes[17];
    return header;
}

struct TgaLayout {
    int32_t format = None;  // None: the reader refuses the file
    int32_t paletteCount = 0;
};

TgaLayout ChooseLayout(const TgaHeader& header) {
    switch (header.imageType) {
        case 1:
        case 9:
            // One index byte per pixel into B,G,R entries; an empty map could only give black.
            if (header.colorMapEntrySize != 24 || header.pixelDepth != 8 || header.colorMapLength == 0) return {};
            return {Indexed, header.colorMapLength};
        case 2:
        case 10:
            if (header.pixelDepth == 16 || header.pixelDepth == 24) return {RGB, 0};
            if (header.pixelDepth == 32) return {RGBA, 0};
            return {};
        case 3:
        case 11:
            // A grey level is one byte; deeper grey pixels would not fit the image.
            return header.pixelDepth == 8 ? TgaLayout{L, 0} : TgaLayout{};
        default:
            return {};
    }
}

int32_t StoredDataSize(const TgaHeader& header) {
    return CheckedProduct(header.width, header.height, header.pixelDepth / 8);
}

// Bytes between the header and what comes next: the image ID, and for a
// true-colour or grey file the colour map it carries anyway, which the pixels follow.
int64_t BytesBeforeData(const TgaHeader& header, bool readsPalette) {
    int64_t skip = header.idLength;
    if (!readsPalette && header.colorMapType == kColorMapPresent) {
        skip += static_cast<int64_t>(header.colorMapLength) * ((header.colorMapEntrySize + 7) / 8);
    }
    return skip;
}

}  // namespace

bool CImageTGA::Read(Platform::FileHandle file) { return ReadHeader(file) && ReadBody(file); }

bool CImageTGA::ReadHeader(Platform::FileHandle file) {
    if (file.IsNull()) return false;
    uint8_t bytes[kTgaHeaderSize];
    if (Platform::SeekFile(file, 0, Platform::SeekOrigin::Begin) != 0 || !ReadExact(file, bytes, kTgaHeaderSize)) {
        return false;
    }
    header = UnpackHeader(bytes);
    TgaLayout layout = ChooseLayout(header);
    if (layout.format == None) return false;
    // Sizes from the file are checked before anything is allocated: a zero side,
    // or a buffer that would not fit in int32, refuses the file.
    if (StoredDataSize(header) < 1 || GetImageByteSize(layout.format, header.width, header.height) < 1) return false;
    if (!SetInfo(layout.format, header.width, header.height, layout.paletteCount, 0, 0, 0)) return false;
    if (Platform::SeekFile(file, BytesBeforeData(header, paletteCount > 0), Platform::SeekOrigin::Current) < 0) {
        return false;
    }
    if (paletteCount == 0) return true;
    if (!AllocatePalette() || !ReadExact(file, palette.get(), paletteCount * kPaletteEntryBytes)) return false;
    for (int32_t i = 0; i < paletteCount; ++i) {
        uint8_t* entry = palette.get() + i * kPaletteEntryBytes;
        std::swap(entry[0], entry[2]);  // stored B,G,R
    }
    return true;
}

bool CImageTGA::ReadBody(Platform::FileHandle file) {
    if (file.IsNull()) return false;
    int32_t storedSize = StoredDataSize(header);
    if (storedSize < 1) return false;
    bool rle = (header.imageType & kRleTypeBit) != 0;
    // Data too short for the pixels is refused before their buffer is allocated.
    int64_t available = GetRemainingSize(file);
    if (rle ? available * kMaxRleExpansion < storedSize : available < storedSize) return false;
    // Pixels as wide as the image's own are read straight into it and put in
    // order there; only 16-bit pixels, which widen, need a buffer of their own.
    // Either buffer is filled whole before it is read, or dropped.
    const bool widens = header.pixelDepth == 16;
    if (!widens && GetImageSize(None, nullptr) != storedSize) return false;
    ByteBuffer stored = AllocateBytes(storedSize, BufferFill::Unfilled);
    if (!stored) return false;
    bool filled = rle ? DecodeRle(file, stored.get(), storedSize) : ReadExact(file, stored.get(), storedSize);
    if (!filled) return false;
    if (widens) return UnpackPixels16(stored.get());
    pixels = std::move(stored);
    if (ArrangeStoredPixels()) return true;
    pixels.reset();
    return false;
}

}  // namespace ImageLib
