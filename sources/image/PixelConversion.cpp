// Pixel layouts: bytes per pixel, single-pixel access and the sixteen conversions.
#include <cstring>

#include "image/Image.h"
#include "image/SizeMath.h"
#include "platform/ProcessorFeatures.h"

#if BWVOQ_X86_KERNELS
#include <immintrin.h>
#endif

namespace ImageLib {
namespace {

// The channels of one source pixel, whatever its layout.
struct SourcePixel {
    uint8_t r, g, b, a;
    uint8_t Luminance() const { return static_cast<uint8_t>((r + g + b) / 3); }
};

SourcePixel ReadSource(int32_t format, const uint8_t* p, const uint8_t* palette) {
    switch (format) {
        case L: return {p[0], p[0], p[0], 255};
        case LA: return {p[0], p[0], p[0], p[1]};
        case RGB: return {p[0], p[1], p[2], 255};
        case RGBA: return {p[0], p[1], p[2], p[3]};
        default: {
            const uint8_t* entry = palette + p[0] * 3;
            return {entry[0], entry[1], entry[2], 255};
        }
    }
}

void WriteDestination(int32_t sourceFormat, int32_t format, const SourcePixel& s, uint8_t* out) {
    uint8_t y = s.Luminance();  // a grey source gives back its own value
    switch (format) {
        case L: out[0] = y; break;
        case LA:
            out[0] = y;
            // L -> LA gives the luminance as alpha, not 255.
            out[1] = sourceFormat == L ? y : s.a;
            break;
        case RGB: out[0] = s.r; out[1] = s.g; out[2] = s.b; break;
        default: out[0] = s.r; out[1] = s.g; out[2] = s.b; out[3] = s.a; break;
    }
}

bool IsPixelFormat(int32_t format) { return format >= L && format <= Indexed; }

constexpr int32_t BytesPerPixel(int32_t format) {
    switch (format) {
        case L: return 1;
        case LA: return 2;
        case RGB: return 3;
        case RGBA: return 4;
        case Indexed: return 1;
        default: return 0;
    }
}

// One loop per pair of layouts, so that the layouts' switches are decided once
// and not for every pixel.
template <int32_t from, int32_t to>
void ConvertEach(const uint8_t* source, uint8_t* destination, const uint8_t* palette, int64_t count) {
    constexpr int32_t inStep = BytesPerPixel(from);
    constexpr int32_t outStep = BytesPerPixel(to);
    for (int64_t i = 0; i < count; ++i) {
        WriteDestination(from, to, ReadSource(from, source + i * inStep, palette), destination + i * outStep);
    }
}

using Conversion = void (*)(const uint8_t*, uint8_t*, const uint8_t*, int64_t);

#if BWVOQ_X86_KERNELS

// RGB to RGBA eight pixels at a time: each 128-bit lane spreads the twelve
// bytes of four pixels over sixteen and sets their alpha. Returns the pixels done.
BWVOQ_AVX2 int64_t RgbToRgbaAvx2(const uint8_t* source, uint8_t* destination, int64_t count) {
    const __m256i spread = _mm256_setr_epi8(0, 1, 2, -128, 3, 4, 5, -128, 6, 7, 8, -128, 9, 10, 11, -128, 0, 1, 2,
                                            -128, 3, 4, 5, -128, 6, 7, 8, -128, 9, 10, 11, -128);
    const __m256i opaque = _mm256_set1_epi32(static_cast<int32_t>(0xFF000000u));
    int64_t i = 0;
    // The second load reads bytes 3i + 12 to 3i + 27, inside the source while i + 10 <= count.
    for (; i + 10 <= count; i += 8) {
        const uint8_t* in = source + 3 * i;
        const __m256i pixels =
            _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in))),
                                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 12)), 1);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(destination + 4 * i),
                            _mm256_or_si256(_mm256_shuffle_epi8(pixels, spread), opaque));
    }
    return i;
}

#else

int64_t RgbToRgbaAvx2(const uint8_t*, uint8_t*, int64_t) { return 0; }

#endif

void ConvertRgbToRgba(const uint8_t* source, uint8_t* destination, const uint8_t* palette, int64_t count) {
    static const bool vectorised = Platform::ProcessorHasAvx2();
    const int64_t done = vectorised ? RgbToRgbaAvx2(source, destination, count) : 0;
    ConvertEach<RGB, RGBA>(source + 3 * done, destination + 4 * done, palette, count - done);
}

template <int32_t from>
Conversion ConversionTo(int32_t to) {
    switch (to) {
        case L: return ConvertEach<from, L>;
        case LA: return ConvertEach<from, LA>;
        case RGB: return ConvertEach<from, RGB>;
        default: return from == RGB ? ConvertRgbToRgba : ConvertEach<from, RGBA>;
    }
}

// `to` is L, LA, RGB or RGBA.
Conversion ConversionOf(int32_t from, int32_t to) {
    switch (from) {
        case L: return ConversionTo<L>(to);
        case LA: return ConversionTo<LA>(to);
        case RGB: return ConversionTo<RGB>(to);
        case RGBA: return ConversionTo<RGBA>(to);
        default: return ConversionTo<Indexed>(to);
    }
}

}  // namespace

int32_t GetBytesPerPixel(int32_t format) { return BytesPerPixel(format); }

int32_t GetImageByteSize(int32_t format, int32_t width, int32_t height) {
    return CheckedProduct(GetBytesPerPixel(format), width, height);
}

bool ConvertPixels(int32_t sourceFormat, int32_t destinationFormat, const uint8_t* source, uint8_t* destination,
                   const uint8_t* palette, int32_t width, int32_t height) {
    if (source == nullptr || destination == nullptr || width < 1 || height < 1) return false;
    if (sourceFormat == destinationFormat) {
        int32_t size = GetImageByteSize(sourceFormat, width, height);
        if (size > 0) std::memcpy(destination, source, static_cast<size_t>(size));
        return true;
    }
    if (!IsPixelFormat(sourceFormat) || !IsPixelFormat(destinationFormat) || destinationFormat == Indexed) {
        return false;
    }
    if (sourceFormat == Indexed && palette == nullptr) return false;
    ConversionOf(sourceFormat, destinationFormat)(source, destination, palette, static_cast<int64_t>(width) * height);
    return true;
}

bool GetPixel(int32_t format, const uint8_t* pixels, int32_t width, int32_t height, int32_t x, int32_t y,
              uint8_t* output) {
    if (format == None || pixels == nullptr || output == nullptr || width < 1 || height < 1) return false;
    if (x < 0 || x >= width || y < 0 || y >= height) return false;
    int32_t step = GetBytesPerPixel(format);
    std::memcpy(output, pixels + (static_cast<int64_t>(y) * width + x) * step, static_cast<size_t>(step));
    return true;
}

bool SetPixel(int32_t format, uint8_t* pixels, int32_t width, int32_t height, int32_t x, int32_t y,
              const uint8_t* input) {
    if (format == None || pixels == nullptr || input == nullptr || width < 1 || height < 1) return false;
    if (x < 0 || x >= width || y < 0 || y >= height) return false;
    int32_t step = GetBytesPerPixel(format);
    std::memcpy(pixels + (static_cast<int64_t>(y) * width + x) * step, input, static_cast<size_t>(step));
    return true;
}

}  // namespace ImageLib
