// The newest progress line and bar position, left by the main thread for the
// progress thread. Leaving one costs the conversion no wait for the window,
// and lines that come faster than the window shows them give way to the newest.
// The window is told of a letter at most once per kProgressMailInterval: every
// telling wakes the progress thread, which takes a processor from the encoder.
#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>

#include "converter/ProgressText.h"

using MailClock = std::chrono::steady_clock;

// Twenty lines a second move the bar smoothly.
inline constexpr std::chrono::milliseconds kProgressMailInterval{50};

struct ProgressLetter {
    bool hasText = false;
    MessageText text = "";
    std::optional<int32_t> position;
};

class ProgressMailbox {
public:
    // Leaves the text and, when there is one, the position; an earlier position
    // stays when the line brings none. True when the reader must be told now:
    // it was told of nothing that still waits, and its last telling is one
    // interval before `now` or more. Else the letter waits, for a later line or
    // for TellWaiting.
    bool Leave(const char* text, std::optional<int32_t> position, MailClock::time_point now);

    // True, once, when a letter waits that the reader was not told of.
    bool TellWaiting(MailClock::time_point now);

    // Drops a waiting text that a line shown since has replaced; its position stays.
    void DropText();

    // What waits, leaving the box empty.
    ProgressLetter Take();

    // Empties the box and forgets its last telling: the next window starts afresh.
    void Reset();

private:
    bool TellLocked(MailClock::time_point now);

    std::mutex lock_;
    ProgressLetter waiting_;
    bool told_ = false;  // of a letter not taken yet
    std::optional<MailClock::time_point> lastTold_;
};
