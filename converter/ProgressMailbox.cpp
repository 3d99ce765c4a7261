#include "converter/ProgressMailbox.h"

#include <cstdio>

bool ProgressMailbox::Leave(const char* text, std::optional<int32_t> position, MailClock::time_point now) {
    std::lock_guard<std::mutex> guard(lock_);
    waiting_.hasText = true;
    std::snprintf(waiting_.text, sizeof waiting_.text, "%s", text);
    if (position) waiting_.position = position;
    if (lastTold_ && now - *lastTold_ < kProgressMailInterval) return false;
    return TellLocked(now);
}

bool ProgressMailbox::TellWaiting(MailClock::time_point now) {
    std::lock_guard<std::mutex> guard(lock_);
    if (!waiting_.hasText && !waiting_.position) return false;
    return TellLocked(now);
}

bool ProgressMailbox::TellLocked(MailClock::time_point now) {
    if (told_) return false;
    told_ = true;
    lastTold_ = now;
    return true;
}

void ProgressMailbox::DropText() {
    std::lock_guard<std::mutex> guard(lock_);
    waiting_.hasText = false;
}

ProgressLetter ProgressMailbox::Take() {
    std::lock_guard<std::mutex> guard(lock_);
    ProgressLetter letter = waiting_;
    waiting_ = ProgressLetter{};
    told_ = false;
    return letter;
}

void ProgressMailbox::Reset() {
    std::lock_guard<std::mutex> guard(lock_);
    waiting_ = ProgressLetter{};
    told_ = false;
    lastTold_.reset();
}
