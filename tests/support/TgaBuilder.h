// Builds TGA files byte by byte for the reader's tests.
#pragma once

#include <cstdint>
#include <vector>

struct TgaFile {
    uint8_t colorMapType = 0;
    uint8_t imageType = 2;
    uint16_t colorMapFirst = 0;
    uint16_t colorMapLength = 0;
    uint8_t colorMapEntrySize = 0;
    uint16_t width = 1;
    uint16_t height = 1;
    uint8_t pixelDepth = 24;
    uint8_t descriptor = 0;
    std::vector<uint8_t> id;        // image ID, its length goes into the header
    std::vector<uint8_t> colorMap;  // as stored
    std::vector<uint8_t> data;      // pixel data as stored (raw or packets)
    std::vector<uint8_t> trailer;   // anything after the pixel data

    std::vector<uint8_t> Bytes() const {
        std::vector<uint8_t> out = {static_cast<uint8_t>(id.size()), colorMapType, imageType};
        auto u16 = [&out](uint16_t v) {
            out.push_back(static_cast<uint8_t>(v));
            out.push_back(static_cast<uint8_t>(v >> 8));
        };
        u16(colorMapFirst);
        u16(colorMapLength);
        out.push_back(colorMapEntrySize);
        u16(0);  // x origin
        u16(0);  // y origin
        u16(width);
        u16(height);
        out.push_back(pixelDepth);
        out.push_back(descriptor);
        for (const std::vector<uint8_t>* part : {&id, &colorMap, &data, &trailer}) {
            out.insert(out.end(), part->begin(), part->end());
        }
        return out;
    }
};

// Packs stored pixels into RLE packets over the whole image as one sequence, so
// packets run across rows: runs of two or more equal pixels become run packets.
inline std::vector<uint8_t> PackRle(const std::vector<uint8_t>& stored, size_t pixelSize) {
    std::vector<uint8_t> out;
    size_t count = stored.size() / pixelSize;
    auto same = [&](size_t a, size_t b) {
        for (size_t k = 0; k < pixelSize; ++k) {
            if (stored[a * pixelSize + k] != stored[b * pixelSize + k]) return false;
        }
        return true;
    };
    size_t i = 0;
    while (i < count) {
        size_t run = 1;
        while (i + run < count && run < 128 && same(i, i + run)) ++run;
        if (run >= 2) {
            out.push_back(static_cast<uint8_t>(0x80 | (run - 1)));
            out.insert(out.end(), stored.begin() + i * pixelSize, stored.begin() + (i + 1) * pixelSize);
            i += run;
            continue;
        }
        size_t raw = 1;
        while (i + raw < count && raw < 128 && !(i + raw + 1 < count && same(i + raw, i + raw + 1))) ++raw;
        out.push_back(static_cast<uint8_t>(raw - 1));
        out.insert(out.end(), stored.begin() + i * pixelSize, stored.begin() + (i + raw) * pixelSize);
        i += raw;
    }
    return out;
}
