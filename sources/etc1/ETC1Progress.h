// Progress lines of the cached ETC1 methods: about one per 2 percent, and one
// for every block from 99 percent on. Each line ends in 52 backspaces and no
// newline, so that on a console every line overwrites the one before.
#pragma once

#include <cstdint>

class ETC1Progress {
public:
    explicit ETC1Progress(int32_t totalBlocks) : total_(totalBlocks) {}

    // `done` blocks of the level have been dealt with.
    void BlockDone(int32_t done);

private:
    int32_t total_;
    float lastReported_ = -1.0f;  // kept in single precision, as the cadence depends on it
};
