#include "etc1/ModifierSearch.h"

#include "etc1/ModifierSearchVariants.h"

namespace {

const bool kUseSimd = ModifierSearchSimd::Available();

}  // namespace

int32_t ModifierSearchTall(const uint8_t* block, int32_t column, const uint8_t* base, int32_t& row, uint32_t& msb,
                           uint32_t& lsb, int32_t bound) {
    if (kUseSimd) return ModifierSearchSimd::Tall(block, column, base, row, msb, lsb, bound);
    return ModifierSearchPortable::Tall(block, column, base, row, msb, lsb, bound);
}

int32_t ModifierSearchWide(const uint8_t* block, int32_t firstRow, const uint8_t* base, int32_t& row, uint32_t& msb,
                           uint32_t& lsb, int32_t bound) {
    if (kUseSimd) return ModifierSearchSimd::Wide(block, firstRow, base, row, msb, lsb, bound);
    return ModifierSearchPortable::Wide(block, firstRow, base, row, msb, lsb, bound);
}

uint32_t ModifierSearchTallPerceptual(const uint8_t* block, int32_t column, const uint8_t* base, int32_t& row,
                                      uint32_t& msb, uint32_t& lsb, uint32_t bound) {
    if (kUseSimd) return ModifierSearchSimd::TallPerceptual(block, column, base, row, msb, lsb, bound);
    return ModifierSearchPortable::TallPerceptual(block, column, base, row, msb, lsb, bound);
}

int32_t ModifierSearchWidePerceptual(const uint8_t* block, int32_t firstRow, const uint8_t* base, int32_t& row,
                                     uint32_t& msb, uint32_t& lsb, double bound) {
    if (kUseSimd) return ModifierSearchSimd::WidePerceptual(block, firstRow, base, row, msb, lsb, bound);
    return ModifierSearchPortable::WidePerceptual(block, firstRow, base, row, msb, lsb, bound);
}
