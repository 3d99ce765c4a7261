// POSIX implementation of the user name.
#include "platform/User.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace Platform {

std::string GetUserName() {
    long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<size_t>(suggested) : 1024);
    passwd entry{};
    passwd* found = nullptr;
    int error = 0;
    // The suggested size is only a hint: grow the buffer until the entry fits.
    while ((error = ::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found)) == ERANGE &&
           buffer.size() < (size_t{1} << 20)) {
        buffer.resize(buffer.size() * 2);
    }
    if (error == 0 && found != nullptr && found->pw_name != nullptr) return found->pw_name;
    const char* user = std::getenv("USER");
    return user != nullptr ? user : "";
}

}  // namespace Platform
