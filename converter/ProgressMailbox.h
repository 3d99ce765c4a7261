// The newest progress line and bar position, left by the main thread for the
// progress thread. Leaving one costs the conversion no wait for the window,
// and lines that come faster than the window shows them give way to the newest.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>

#include "converter/ProgressText.h"

struct ProgressLetter {
    bool hasText = false;
    MessageText text = "";
    std::optional<int32_t> position;
};

class ProgressMailbox {
public:
    // Leaves the text and, when there is one, the position; an earlier position
    // stays when the line brings none. True when nothing was waiting, so the
    // reader must be told.
    bool Leave(const char* text, std::optional<int32_t> position);

    // Drops a waiting text that a line shown since has replaced; its position stays.
    void DropText();

    // What waits, leaving the box empty.
    ProgressLetter Take();

private:
    std::mutex lock_;
    ProgressLetter waiting_;
    bool announced_ = false;
};
