// The local date and time as text.
#pragma once

#include <string>

namespace Platform {

// The local time now as "yyyy-MM-ddTHH:mm:ss", e.g. "2014-02-25T09:05:07"; no time zone.
std::string FormatLocalDateTime();

}  // namespace Platform
