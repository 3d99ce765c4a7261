#include "image/TgaRleEncoder.h"

#include <cstring>

#include "image/SizeMath.h"
#include "image/TgaPixelOrder.h"

namespace ImageLib {
namespace {

constexpr int32_t kMaxPacketPixels = 128;
constexpr uint8_t kRunPacketBit = 0x80;

struct RlePacket {
    int32_t count;
    bool run;
};

class RleRow {
public:
    RleRow(const uint8_t* row, int32_t width, int32_t bytesPerPixel)
        : row_(row), width_(width), bytesPerPixel_(bytesPerPixel) {}

    const uint8_t* Pixel(int32_t i) const { return row_ + static_cast<int64_t>(i) * bytesPerPixel_; }

    // The packet that starts at pixel i: a run of the equal pixels from i on when
    // there are at least two, else a raw packet of the pixels that each differ
    // from the next one (the last pixel of the row has no next one and is taken).
    RlePacket PacketAt(int32_t i) const {
        int32_t equal = 1;
        while (equal < kMaxPacketPixels && i + equal < width_ && SamePixels(i, i + equal)) ++equal;
        if (equal >= 2) return {equal, true};
        int32_t count = 0;
        while (count < kMaxPacketPixels && i + count < width_) {
            int32_t j = i + count;
            if (j + 1 < width_ && SamePixels(j, j + 1)) break;
            ++count;
        }
        return {count, false};
    }

    int32_t Width() const { return width_; }

private:
    bool SamePixels(int32_t a, int32_t b) const { return std::memcmp(Pixel(a), Pixel(b), bytesPerPixel_) == 0; }

    const uint8_t* row_;
    int32_t width_;
    int32_t bytesPerPixel_;
};

int64_t RowRleSize(const RleRow& row, int32_t bytesPerPixel) {
    int64_t size = 0;
    for (int32_t i = 0; i < row.Width();) {
        RlePacket packet = row.PacketAt(i);
        size += 1 + static_cast<int64_t>(packet.run ? 1 : packet.count) * bytesPerPixel;
        i += packet.count;
    }
    return size;
}

}  // namespace

int32_t GetRleSize(const CImage& image) {
    int32_t bytesPerPixel = GetBytesPerPixel(image.format);
    if (!image.pixels || image.height < 1 || image.width < 1 || bytesPerPixel == 0) return 0;
    int64_t rowBytes = static_cast<int64_t>(image.width) * bytesPerPixel;
    int64_t total = 0;
    for (int32_t y = 0; y < image.height; ++y) {
        total += RowRleSize(RleRow(image.pixels.get() + y * rowBytes, image.width, bytesPerPixel), bytesPerPixel);
        if (total > kMaxByteCount) return 0;
    }
    return static_cast<int32_t>(total);
}

bool EncodeRle(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height, int32_t bytesPerPixel,
               bool bottomUp) {
    int64_t rowBytes = static_cast<int64_t>(width) * bytesPerPixel;
    for (int32_t i = 0; i < height; ++i) {
        int32_t y = bottomUp ? height - 1 - i : i;
        destination = EncodeRleRow(source + y * rowBytes, destination, width, bytesPerPixel);
    }
    return true;
}

uint8_t* EncodeRleRow(const uint8_t* pixels, uint8_t* destination, int32_t width, int32_t bytesPerPixel) {
    RleRow row(pixels, width, bytesPerPixel);
    for (int32_t i = 0; i < width;) {
        RlePacket packet = row.PacketAt(i);
        *destination++ = static_cast<uint8_t>((packet.count - 1) | (packet.run ? kRunPacketBit : 0));
        int32_t stored = packet.run ? 1 : packet.count;
        for (int32_t k = 0; k < stored; ++k) destination = StoreTgaPixel(row.Pixel(i + k), destination, bytesPerPixel);
        i += packet.count;
    }
    return destination;
}

}  // namespace ImageLib
