// For each pixel value and modifier entry, a code whose candidate value (the
// code's colour plus the modifier, clamped to 0..255) lies nearest the value.
//
// Candidate values never fall as the code rises, so a value's distance to them
// never falls moving away from a nearest code, in either direction: the nearest
// candidate of any range of codes is that of the nearest code clamped into the
// range. The colour searches find their least error per entry over a box of
// codes that way, in one step whatever the box's size.
#pragma once

#include <cstdint>

#include "etc1/ETC1HalfBlock.h"
#include "etc1/ETC1ModifierRows.h"
#include "image/ETC1BlockFormat.h"

namespace ETC1Encoder {

// Entry slot * 8 + table row, as the colour searches lay a pixel's entries out.
inline constexpr int32_t kModifierEntries = 4 * kTableRows;

constexpr int32_t EntryModifier(int32_t entry) {
    return ImageLib::ETC1ModifierTable[entry % kTableRows][entry / kTableRows];
}

// The modifier of each entry, as wide as the searches' vectors take them.
template <typename Value>
struct EntryModifierTable {
    alignas(64) Value value[kModifierEntries];
};

template <typename Value>
constexpr EntryModifierTable<Value> MakeEntryModifiers() {
    EntryModifierTable<Value> table{};
    for (int32_t entry = 0; entry < kModifierEntries; ++entry) table.value[entry] = static_cast<Value>(EntryModifier(entry));
    return table;
}

inline constexpr EntryModifierTable<int32_t> kEntryModifiers = MakeEntryModifiers<int32_t>();
inline constexpr EntryModifierTable<int16_t> kNarrowEntryModifiers = MakeEntryModifiers<int16_t>();

struct NearestCodeTable {
    uint8_t code[2][256][kModifierEntries];  // [codes of 5 bits][pixel value][entry]
};

constexpr int32_t CandidateValue(bool fiveBits, int32_t code, int32_t entry) {
    const int32_t value = (fiveBits ? Expand5(code) : Expand4(code)) + EntryModifier(entry);
    return value < 0 ? 0 : value > 255 ? 255 : value;
}

constexpr NearestCodeTable MakeNearestCodes() {
    NearestCodeTable table{};
    for (int32_t five = 0; five < 2; ++five) {
        const int32_t codes = five != 0 ? 32 : 16;
        for (int32_t value = 0; value < 256; ++value) {
            for (int32_t entry = 0; entry < kModifierEntries; ++entry) {
                int32_t nearest = 0, distance = 256;
                for (int32_t code = 0; code < codes; ++code) {
                    const int32_t difference = value - CandidateValue(five != 0, code, entry);
                    const int32_t size = difference < 0 ? -difference : difference;
                    if (size < distance) nearest = code, distance = size;
                }
                table.code[five][value][entry] = static_cast<uint8_t>(nearest);
            }
        }
    }
    return table;
}

inline constexpr NearestCodeTable kNearestCodes = MakeNearestCodes();

}  // namespace ETC1Encoder
