#include "converter/ProgressMailbox.h"

#include <cstdio>

bool ProgressMailbox::Leave(const char* text, std::optional<int32_t> position) {
    std::lock_guard<std::mutex> guard(lock_);
    waiting_.hasText = true;
    std::snprintf(waiting_.text, sizeof waiting_.text, "%s", text);
    if (position) waiting_.position = position;
    bool tell = !announced_;
    announced_ = true;
    return tell;
}

void ProgressMailbox::DropText() {
    std::lock_guard<std::mutex> guard(lock_);
    waiting_.hasText = false;
}

ProgressLetter ProgressMailbox::Take() {
    std::lock_guard<std::mutex> guard(lock_);
    ProgressLetter letter = waiting_;
    waiting_ = ProgressLetter{};
    announced_ = false;
    return letter;
}
