// All eight modifier-table rows of one half against one base colour, evaluated
// completely: each row's error (internal units, nothing given up), its index
// planes with bit i for the i-th visited pixel, and the first row of least
// error. The searches pick their row afterwards (ETC1ModifierSearch.h). A
// portable kernel and an AVX2 one give the same rows.
#pragma once

#include <cstdint>

#include "etc1/ETC1HalfBlock.h"

namespace ETC1Encoder {

inline constexpr int32_t kTableRows = 8;

struct ModifierRows {
    uint32_t error[kTableRows];
    uint64_t msb;  // byte q: the plane of row q
    uint64_t lsb;
    int32_t least;

    uint32_t Msb(int32_t q) const { return static_cast<uint32_t>(msb >> (8 * q)) & 0xFFu; }
    uint32_t Lsb(int32_t q) const { return static_cast<uint32_t>(lsb >> (8 * q)) & 0xFFu; }
};

// The half at first column (tall) or first row (wide) 0 or 2; the vectorised
// kernel when the processor runs it.
void ComputeModifierRows(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t* base,
                         ErrorMeasure measure, ModifierRows& rows);

// Pixel by pixel, row by row.
void ComputeModifierRowsPortable(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t* base,
                                 ErrorMeasure measure, ModifierRows& rows);

// Needs AVX2.
void ComputeModifierRowsAvx2(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t* base,
                             ErrorMeasure measure, ModifierRows& rows);

// The rows' errors and the first row of least error alone, for searches that
// want the index planes of one row at most.
struct RowErrors {
    uint32_t error[kTableRows];
    int32_t least;
};

// The errors of the half's rows against each of `count` (1 or 2) base colours;
// the half's pixels are read once for all of them.
void ComputeRowErrors(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t (*bases)[3],
                      int32_t count, ErrorMeasure measure, RowErrors* errors);
void ComputeRowErrorsPortable(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t (*bases)[3],
                              int32_t count, ErrorMeasure measure, RowErrors* errors);
void ComputeRowErrorsAvx2(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t (*bases)[3],
                          int32_t count, ErrorMeasure measure, RowErrors* errors);

// The index planes of one row, as ModifierRows::Msb and Lsb give them.
void ComputeRowPlanes(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t* base,
                      ErrorMeasure measure, int32_t row, uint32_t& msb, uint32_t& lsb);
void ComputeRowPlanesPortable(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t* base,
                              ErrorMeasure measure, int32_t row, uint32_t& msb, uint32_t& lsb);
void ComputeRowPlanesAvx2(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t* base,
                          ErrorMeasure measure, int32_t row, uint32_t& msb, uint32_t& lsb);

}  // namespace ETC1Encoder
