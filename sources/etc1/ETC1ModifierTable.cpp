#include "etc1/ETC1ModifierTable.h"

int32_t ETC1ModifierTable[8][4];

void InitETC1ModifierTable() {
    for (int32_t row = 0; row < 8; ++row) {
        for (int32_t slot = 0; slot < 4; ++slot) ETC1ModifierTable[row][slot] = kETC1Modifiers[row][slot];
    }
}
