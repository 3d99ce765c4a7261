// The four candidate colours of one modifier-table row and the per-pixel error
// measures, shared by the row-by-row searches.
#pragma once

#include <cstdint>

#include "image/ETC1BlockFormat.h"

struct RowCandidates {
    int32_t colour[4][3];  // by slot: R, G, B
};

inline int32_t ClampToByte(int32_t value) { return value < 0 ? 0 : (value > 255 ? 255 : value); }

inline RowCandidates CandidatesOfRow(const int32_t base[3], int32_t row) {
    RowCandidates candidates;
    for (int32_t slot = 0; slot < 4; ++slot) {
        for (int32_t channel = 0; channel < 3; ++channel) {
            candidates.colour[slot][channel] = ClampToByte(base[channel] + ImageLib::ETC1ModifierTable[row][slot]);
        }
    }
    return candidates;
}

inline uint32_t PlainPixelError(const int32_t pixel[3], const int32_t colour[3]) {
    int32_t dr = pixel[0] - colour[0];
    int32_t dg = pixel[1] - colour[1];
    int32_t db = pixel[2] - colour[2];
    return static_cast<uint32_t>(dr * dr + dg * dg + db * db);
}

inline uint32_t PerceptualPixelError(const int32_t pixel[3], const int32_t colour[3]) {
    int32_t dr = pixel[0] - colour[0];
    int32_t dg = pixel[1] - colour[1];
    int32_t db = pixel[2] - colour[2];
    return 299u * static_cast<uint32_t>(dr * dr) + 587u * static_cast<uint32_t>(dg * dg) +
           114u * static_cast<uint32_t>(db * db);
}

// The slot whose candidate is nearest to `pixel` under `error`; the lowest slot
// among equal errors. Its error goes to `best`.
template <typename ErrorFunc>
int32_t NearestSlot(const int32_t pixel[3], const RowCandidates& candidates, ErrorFunc error, uint32_t& best) {
    int32_t slot = 0;
    best = error(pixel, candidates.colour[0]);
    for (int32_t k = 1; k < 4; ++k) {
        uint32_t e = error(pixel, candidates.colour[k]);
        if (e < best) {
            best = e;
            slot = k;
        }
    }
    return slot;
}

// Sets the pixel's index bits for `slot` at `bit` of the two planes.
inline void SetIndexBits(int32_t slot, int32_t bit, uint32_t& msb, uint32_t& lsb) {
    uint32_t index = ImageLib::ETC1Format::kSlotToPixelIndex[slot];
    msb |= (index >> 1) << bit;
    lsb |= (index & 1u) << bit;
}
