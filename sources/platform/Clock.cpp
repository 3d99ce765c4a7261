// POSIX implementation of the local date and time.
#include "platform/Clock.h"

#include <ctime>

namespace Platform {

std::string FormatLocalDateTime() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    if (::localtime_r(&now, &local) == nullptr) return std::string();
    char text[64];
    size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return std::string(text, length);
}

}  // namespace Platform
