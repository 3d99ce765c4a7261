#include "TextureReference.h"

#include <array>

#include "image/Etc1Block.h"
#include "image/Image.h"
#include "image/TextureFormat.h"

using namespace ImageLib;

namespace TextureReference {
namespace {

bool IsFourBit(int32_t format) { return format == L4 || format == A4; }

// Bytes per pixel of the formats that take whole bytes, L4 to RGBA8.
constexpr std::array<int32_t, 12> kStoredBytes = {0, 1, 0, 1, 1, 2, 2, 2, 3, 2, 2, 4};
int32_t StoredBytes(int32_t format) { return kStoredBytes[format]; }

uint32_t Luminance(const uint8_t* p) { return (p[0] + p[1] + p[2]) / 3u; }

void Put16(uint8_t* out, uint32_t v) {
    out[0] = static_cast<uint8_t>(v & 0xFF);
    out[1] = static_cast<uint8_t>(v >> 8);
}

// The stored bytes of one pixel of a format that takes whole bytes.
void EncodePixel(int32_t format, const uint8_t* p, uint8_t* out) {
    const uint32_t r = p[0], g = p[1], b = p[2], a = p[3];
    switch (format) {
        case L8: out[0] = static_cast<uint8_t>(Luminance(p)); break;
        case A8: out[0] = p[3]; break;
        case LA4: out[0] = static_cast<uint8_t>((Luminance(p) >> 4) << 4 | a >> 4); break;
        case LA8: out[0] = p[3]; out[1] = static_cast<uint8_t>(Luminance(p)); break;
        case HILO8: out[0] = p[1]; out[1] = p[0]; break;
        case RGB565: Put16(out, (r >> 3) << 11 | (g >> 2) << 5 | b >> 3); break;
        case RGB8: out[0] = p[2]; out[1] = p[1]; out[2] = p[0]; break;
        case RGB5_A1: Put16(out, (r >> 3) << 11 | (g >> 3) << 6 | (b >> 3) << 1 | a >> 7); break;
        case RGBA4: Put16(out, (r >> 4) << 12 | (g >> 4) << 8 | (b >> 4) << 4 | a >> 4); break;
        case RGBA8: out[0] = p[3]; out[1] = p[2]; out[2] = p[1]; out[3] = p[0]; break;
        default: break;
    }
}

uint8_t FourBits(int32_t format, const uint8_t* p) {
    return static_cast<uint8_t>((format == L4 ? Luminance(p) : p[3]) >> 4);
}

uint8_t Expand(uint32_t v, int32_t bits) { return static_cast<uint8_t>(v * 255 / ((1u << bits) - 1)); }

// One decoded pixel of a format that takes whole bytes.
void DecodePixel(int32_t format, const uint8_t* in, uint8_t* out) {
    const uint32_t v = in[0] | (StoredBytes(format) > 1 ? in[1] << 8 : 0);
    switch (format) {
        case L8: out[0] = in[0]; break;
        case A8: out[0] = 0; out[1] = in[0]; break;
        case LA4: out[0] = Expand(in[0] >> 4, 4); out[1] = Expand(in[0] & 15u, 4); break;
        case LA8: out[0] = in[1]; out[1] = in[0]; break;
        case HILO8: out[0] = in[1]; out[1] = in[0]; out[2] = 0; break;
        case RGB565: out[0] = Expand(v >> 11, 5); out[1] = Expand((v >> 5) & 63, 6); out[2] = Expand(v & 31, 5); break;
        case RGB8: out[0] = in[2]; out[1] = in[1]; out[2] = in[0]; break;
        case RGB5_A1:
            out[0] = Expand(v >> 11, 5);
            out[1] = Expand((v >> 6) & 31, 5);
            out[2] = Expand((v >> 1) & 31, 5);
            out[3] = (v & 1) != 0 ? 255 : 0;
            break;
        case RGBA4:
            out[0] = Expand(v >> 12, 4);
            out[1] = Expand((v >> 8) & 15, 4);
            out[2] = Expand((v >> 4) & 15, 4);
            out[3] = Expand(v & 15, 4);
            break;
        case RGBA8: out[0] = in[3]; out[1] = in[2]; out[2] = in[1]; out[3] = in[0]; break;
        default: break;
    }
}

void DecodeFourBit(int32_t format, uint8_t value, uint8_t* out) {
    if (format == L4) {
        out[0] = static_cast<uint8_t>(value * 17);
    } else {
        out[0] = 0;
        out[1] = static_cast<uint8_t>(value * 17);
    }
}

void DecodeEtc1Level(int32_t format, const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    const int32_t blockBytes = format == ETC1 ? 8 : 16;
    const int32_t blocks = width / 4 * (height / 4);
    for (int32_t n = 0; n < blocks; ++n) {
        const int32_t q = n % (width / 2);
        const int32_t x = 8 * (q / 4) + 4 * (q % 2);
        const int32_t y = 8 * (n / (width / 2)) + 4 * ((n % 4) / 2);
        const uint8_t* stored = source + n * blockBytes;
        ETC1Block block;
        for (int32_t i = 0; i < 8; ++i) block.bytes[i] = stored[blockBytes - 8 + i];
        block.Decode(destination, width, height, x, y, format == ETC1 ? nullptr : stored);
    }
}

}  // namespace

void TilePosition(int32_t n, int32_t width, int32_t& x, int32_t& y) {
    const int32_t tile = n / 64;
    const int32_t k = n % 64;
    x = 8 * (tile % (width / 8)) + ((k & 1) | (k >> 1 & 2) | (k >> 2 & 4));
    y = 8 * (tile / (width / 8)) + ((k >> 1 & 1) | (k >> 2 & 2) | (k >> 3 & 4));
}

void EncodeLevel(int32_t format, const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    const int32_t count = width * height;
    for (int32_t n = 0; n < count; n += IsFourBit(format) ? 2 : 1) {
        std::array<uint8_t, 4> first{}, second{};
        int32_t x, y;
        TilePosition(n, width, x, y);
        if (!GetPixel(RGBA, source, width, height, x, y, first.data())) continue;
        if (!IsFourBit(format)) {
            EncodePixel(format, first.data(), destination + n * StoredBytes(format));
            continue;
        }
        TilePosition(n + 1, width, x, y);
        if (!GetPixel(RGBA, source, width, height, x, y, second.data())) continue;
        const int32_t low = FourBits(format, first.data());
        destination[n / 2] = static_cast<uint8_t>(low | FourBits(format, second.data()) << 4);
    }
}

void DecodeLevel(int32_t format, const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    if (format == ETC1 || format == ETC1_A4) {
        DecodeEtc1Level(format, source, destination, width, height);
        return;
    }
    const int32_t imageFormat = GetImageFormatOf(format);
    const int32_t count = width * height;
    for (int32_t n = 0; n < count; ++n) {
        std::array<uint8_t, 4> pixel{};
        if (IsFourBit(format)) {
            DecodeFourBit(format, static_cast<uint8_t>(source[n / 2] >> (4 * (n % 2)) & 15), pixel.data());
        } else {
            DecodePixel(format, source + n * StoredBytes(format), pixel.data());
        }
        int32_t x, y;
        TilePosition(n, width, x, y);
        SetPixel(imageFormat, destination, width, height, x, y, pixel.data());
    }
}

}  // namespace TextureReference
