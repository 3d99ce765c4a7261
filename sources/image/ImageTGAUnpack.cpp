// Stored TGA pixels to the top-down pixels of the image.
#include <algorithm>
#include <cstring>
#include <utility>

#include "image/ImageTGA.h"
#include "platform/ProcessorFeatures.h"

#if BWVOQ_X86_KERNELS
#include <immintrin.h>
#endif

namespace ImageLib {
namespace {

constexpr uint8_t kRowsTopToBottom = 0x20;
constexpr uint8_t kColumnsRightToLeft = 0x10;

// Walks the stored pixels in image order and converts each. Refuses an image
// whose layout or size is not the one the header describes, so neither buffer
// is overrun.
template <int32_t StoredBytes, int32_t PixelBytes, typename Convert>
bool Unpack(CImage& image, const TgaHeader& header, const uint8_t* stored, Convert convert) {
    if (stored == nullptr || GetBytesPerPixel(image.format) != PixelBytes || image.width != header.width ||
        image.height != header.height || !image.AllocatePixels()) {
        return false;
    }
    const int64_t width = image.width;
    const int64_t height = image.height;
    const bool topToBottom = (header.descriptor & kRowsTopToBottom) != 0;
    const bool rightToLeft = (header.descriptor & kColumnsRightToLeft) != 0;
    for (int64_t y = 0; y < height; ++y) {
        const uint8_t* row = stored + (topToBottom ? y : height - 1 - y) * width * StoredBytes;
        uint8_t* out = image.pixels.get() + y * width * PixelBytes;
        for (int64_t x = 0; x < width; ++x) {
            int64_t column = rightToLeft ? width - 1 - x : x;
            convert(row + column * StoredBytes, out + x * PixelBytes);
        }
    }
    return true;
}

// A 5-bit channel stretched to 0..255 (31 -> 255, 16 -> 131).
uint8_t Expand5(uint32_t value) { return static_cast<uint8_t>((value & 31) * 255 / 31); }

void SwapRows(uint8_t* data, int64_t rowBytes, int64_t height) {
    for (int64_t top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
        std::swap_ranges(data + top * rowBytes, data + (top + 1) * rowBytes, data + bottom * rowBytes);
    }
}

void ReversePixels(uint8_t* row, int64_t width, int64_t pixelBytes) {
    for (int64_t left = 0, right = width - 1; left < right; ++left, --right) {
        std::swap_ranges(row + left * pixelBytes, row + (left + 1) * pixelBytes, row + right * pixelBytes);
    }
}

// Pixels from `first` on: stored B,G,R(,A) become R,G,B(,A).
template <int64_t PixelBytes>
void SwapRedAndBlueFrom(uint8_t* row, int64_t first, int64_t width) {
    for (int64_t x = first; x < width; ++x) std::swap(row[x * PixelBytes], row[x * PixelBytes + 2]);
}

#if BWVOQ_X86_KERNELS

// 24-bit pixels four at a time: a 16-byte load holds them and a third of the
// next pixel; only their twelve bytes are stored, so the next load does not
// overlap a store still in flight. Returns the pixels done.
BWVOQ_AVX2 int64_t SwapRedAndBlue24Avx2(uint8_t* row, int64_t width) {
    const __m128i swap = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 12, 13, 14, 15);
    int64_t x = 0;
    // Bytes 3x to 3x + 15 lie inside the row while x + 6 <= width.
    for (; x + 6 <= width; x += 4) {
        uint8_t* bytes = row + 3 * x;
        const __m128i swapped = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes)), swap);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(bytes), swapped);
        const auto last = static_cast<uint32_t>(_mm_extract_epi32(swapped, 2));
        std::memcpy(bytes + 8, &last, sizeof last);
    }
    return x;
}

#else

int64_t SwapRedAndBlue24Avx2(uint8_t*, int64_t) { return 0; }

#endif

void SwapRedAndBlue(uint8_t* row, int64_t width, int64_t pixelBytes) {
    static const bool vectorised = Platform::ProcessorHasAvx2();
    if (pixelBytes == 4) {
        SwapRedAndBlueFrom<4>(row, 0, width);
    } else {
        SwapRedAndBlueFrom<3>(row, vectorised ? SwapRedAndBlue24Avx2(row, width) : 0, width);
    }
}

}  // namespace

bool CImageTGA::UnpackPixels16(const uint8_t* stored) {
    // X1R5G5B5, little-endian; the top bit is ignored.
    return Unpack<2, 3>(*this, header, stored, [](const uint8_t* in, uint8_t* out) {
        uint32_t word = static_cast<uint32_t>(in[0] | in[1] << 8);
        out[0] = Expand5(word >> 10);
        out[1] = Expand5(word >> 5);
        out[2] = Expand5(word);
    });
}

bool CImageTGA::ArrangeStoredPixels() {
    const int64_t pixelBytes = GetBytesPerPixel(format);
    if (!pixels || pixelBytes != header.pixelDepth / 8 || width != header.width || height != header.height) {
        return false;
    }
    const int64_t rowBytes = width * pixelBytes;
    if ((header.descriptor & kRowsTopToBottom) == 0) SwapRows(pixels.get(), rowBytes, height);
    const bool rightToLeft = (header.descriptor & kColumnsRightToLeft) != 0;
    for (int64_t y = 0; y < height; ++y) {
        uint8_t* row = pixels.get() + y * rowBytes;
        if (rightToLeft) ReversePixels(row, width, pixelBytes);
        if (pixelBytes >= 3) SwapRedAndBlue(row, width, pixelBytes);
    }
    return true;
}

}  // namespace ImageLib
