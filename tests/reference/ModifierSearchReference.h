// Plain, step-by-step versions of the modifier searches, written directly from
// their definition: row after row, pixel after pixel, giving a row up as soon as
// it cannot win. The tests and the benchmarks hold the encoder's searches to
// these. Header only, so that both can include it.
#pragma once

#include <cfloat>
#include <cstdint>

namespace Reference {

inline constexpr int32_t kModifiers[8][4] = {
    {-8, -2, 2, 8},     {-17, -5, 5, 17},   {-29, -9, 9, 29},     {-42, -13, 13, 42},
    {-60, -18, 18, 60}, {-80, -24, 24, 80}, {-106, -33, 33, 106}, {-183, -47, 47, 183},
};
inline constexpr uint32_t kIndexOfSlot[4] = {3, 2, 0, 1};

// Byte offset of pixel (x, y) in the 48-byte block.
inline int32_t PixelOffset(int32_t x, int32_t y) { return 3 * (4 * y + x); }

// The i-th visited pixel of a half: tall halves go down the first column, then
// the second; wide halves go column by column, the upper pixel first.
inline void VisitedPixel(bool tall, int32_t first, int32_t i, int32_t& x, int32_t& y) {
    if (tall) {
        x = first + i / 4;
        y = i % 4;
    } else {
        x = i / 2;
        y = first + i % 2;
    }
}

// Bit of the i-th visited pixel in the half-relative planes.
inline int32_t PlaneBit(bool tall, int32_t i) { return tall ? i : 4 * (i / 2) + i % 2; }

inline int32_t Clamp(int32_t v) {
    if (v < 0) return 0;
    if (v > 255) return 255;
    return v;
}

inline uint32_t PlainError(int32_t r, int32_t g, int32_t b, const int32_t c[3]) {
    return static_cast<uint32_t>((r - c[0]) * (r - c[0]) + (g - c[1]) * (g - c[1]) + (b - c[2]) * (b - c[2]));
}

inline uint32_t PerceptualError(int32_t r, int32_t g, int32_t b, const int32_t c[3]) {
    uint32_t dr2 = static_cast<uint32_t>((r - c[0]) * (r - c[0]));
    uint32_t dg2 = static_cast<uint32_t>((g - c[1]) * (g - c[1]));
    uint32_t db2 = static_cast<uint32_t>((b - c[2]) * (b - c[2]));
    return 299u * dr2 + 587u * dg2 + 114u * db2;
}

// One row for one pixel: the nearest slot (the lowest of equal errors) and its error.
inline int32_t BestSlot(bool perceptual, int32_t r, int32_t g, int32_t b, const int32_t candidates[4][3],
                        uint32_t& error) {
    int32_t slot = 0;
    for (int32_t k = 0; k < 4; ++k) {
        uint32_t e = perceptual ? PerceptualError(r, g, b, candidates[k]) : PlainError(r, g, b, candidates[k]);
        if (k == 0 || e < error) {
            error = e;
            slot = k;
        }
    }
    return slot;
}

inline void RowCandidates(const int32_t base[3], int32_t row, int32_t candidates[4][3]) {
    for (int32_t k = 0; k < 4; ++k) {
        for (int32_t c = 0; c < 3; ++c) candidates[k][c] = Clamp(base[c] + kModifiers[row][k]);
    }
}

inline int32_t PlainSearch(bool tall, const uint8_t* block, int32_t first, const uint8_t* base, int32_t& row,
                           uint32_t& msb, uint32_t& lsb, int32_t bound) {
    const int32_t wideBase[3] = {base[0], base[1], base[2]};
    int32_t best = bound;
    for (int32_t q = 0; q < 8; ++q) {
        int32_t candidates[4][3];
        RowCandidates(wideBase, q, candidates);
        int32_t sum = 0;
        uint32_t m = 0;
        uint32_t l = 0;
        bool givenUp = false;
        for (int32_t i = 0; i < 8; ++i) {
            int32_t x = 0;
            int32_t y = 0;
            VisitedPixel(tall, first, i, x, y);
            const uint8_t* p = block + PixelOffset(x, y);
            uint32_t error = 0;
            int32_t slot = BestSlot(false, p[0], p[1], p[2], candidates, error);
            sum += static_cast<int32_t>(error);
            if (sum >= best) {
                givenUp = true;
                break;
            }
            m |= (kIndexOfSlot[slot] >> 1) << PlaneBit(tall, i);
            l |= (kIndexOfSlot[slot] & 1) << PlaneBit(tall, i);
        }
        if (!givenUp && sum < best) {
            best = sum;
            row = q;
            msb = m;
            lsb = l;
        }
    }
    return best;
}

inline int32_t SearchTall(const uint8_t* block, int32_t column, const uint8_t* base, int32_t& row, uint32_t& msb,
                          uint32_t& lsb, int32_t bound) {
    return PlainSearch(true, block, column, base, row, msb, lsb, bound);
}

inline int32_t SearchWide(const uint8_t* block, int32_t firstRow, const uint8_t* base, int32_t& row, uint32_t& msb,
                          uint32_t& lsb, int32_t bound) {
    return PlainSearch(false, block, firstRow, base, row, msb, lsb, bound);
}

inline uint32_t RowTallPerceptual(const int32_t pixels[8][3], const int32_t base[3], int32_t row, uint32_t& msb,
                                  uint32_t& lsb, uint32_t bound) {
    int32_t candidates[4][3];
    RowCandidates(base, row, candidates);
    uint32_t sum = 0;
    uint32_t m = 0;
    uint32_t l = 0;
    for (int32_t i = 0; i < 8; ++i) {
        uint32_t error = 0;
        int32_t slot = BestSlot(true, pixels[i][0], pixels[i][1], pixels[i][2], candidates, error);
        sum += error;
        if (sum > bound) return sum;
        m |= (kIndexOfSlot[slot] >> 1) << i;
        l |= (kIndexOfSlot[slot] & 1) << i;
    }
    msb = m;
    lsb = l;
    return sum;
}

inline float RowWidePerceptual(const int32_t pixels[8][3], const int32_t base[3], int32_t row, uint32_t& msb,
                               uint32_t& lsb, float bound) {
    int64_t threshold = static_cast<int64_t>(static_cast<double>(bound) * 1000.0);
    int32_t candidates[4][3];
    RowCandidates(base, row, candidates);
    int64_t sum = 0;
    uint32_t m = 0;
    uint32_t l = 0;
    for (int32_t i = 0; i < 8; ++i) {
        uint32_t error = 0;
        int32_t slot = BestSlot(true, pixels[i][0], pixels[i][1], pixels[i][2], candidates, error);
        sum += error;
        if (sum >= threshold) return FLT_MAX;
        m |= (kIndexOfSlot[slot] >> 1) << PlaneBit(false, i);
        l |= (kIndexOfSlot[slot] & 1) << PlaneBit(false, i);
    }
    msb = m;
    lsb = l;
    return static_cast<float>(static_cast<double>(sum) / 1000.0);
}

inline void CopyHalf(bool tall, const uint8_t* block, int32_t first, int32_t pixels[8][3]) {
    for (int32_t i = 0; i < 8; ++i) {
        int32_t x = 0;
        int32_t y = 0;
        VisitedPixel(tall, first, i, x, y);
        for (int32_t c = 0; c < 3; ++c) pixels[i][c] = block[PixelOffset(x, y) + c];
    }
}

inline uint32_t SearchTallPerceptual(const uint8_t* block, int32_t column, const uint8_t* base, int32_t& row,
                                     uint32_t& msb, uint32_t& lsb, uint32_t bound) {
    int32_t pixels[8][3];
    CopyHalf(true, block, column, pixels);
    const int32_t wideBase[3] = {base[0], base[1], base[2]};
    uint32_t best = bound * 1000u;
    for (int32_t q = 0; q < 8; ++q) {
        uint32_t m = 0;
        uint32_t l = 0;
        uint32_t sum = RowTallPerceptual(pixels, wideBase, q, m, l, best);
        if (sum < best) {
            best = sum;
            row = q;
            msb = m;
            lsb = l;
        }
    }
    return best / 1000u;
}

inline int32_t SearchWidePerceptual(const uint8_t* block, int32_t firstRow, const uint8_t* base, int32_t& row,
                                    uint32_t& msb, uint32_t& lsb, double bound) {
    int32_t pixels[8][3];
    CopyHalf(false, block, firstRow, pixels);
    const int32_t wideBase[3] = {base[0], base[1], base[2]};
    double best = bound;
    for (int32_t q = 0; q < 8; ++q) {
        uint32_t m = 0;
        uint32_t l = 0;
        float error = RowWidePerceptual(pixels, wideBase, q, m, l, static_cast<float>(best));
        if (error < best) {
            best = error;
            row = q;
            msb = m;
            lsb = l;
        }
    }
    return static_cast<int32_t>(best);
}

}  // namespace Reference
