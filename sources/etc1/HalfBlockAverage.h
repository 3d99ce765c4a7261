// The average colour of one half of a 4x4 RGB block.
//
// The block is 16 pixels row by row, three bytes R, G, B each (48 bytes). A tall
// half is two columns by four rows, a wide half four columns by two rows.
#pragma once

#include <cstdint>

// Columns `column` and `column` + 1 (column 0 or 2), all four rows.
void HalfBlockAverageTall(const uint8_t* block, int32_t column, float* average);

// Rows `row` and `row` + 1 (row 0 or 2), all four columns.
void HalfBlockAverageWide(const uint8_t* block, int32_t row, float* average);
