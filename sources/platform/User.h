// The name of the user the process runs as.
#pragma once

#include <string>

namespace Platform {

// From the password database for the effective user, else the USER variable,
// else empty.
std::string GetUserName();

}  // namespace Platform
