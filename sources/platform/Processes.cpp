// POSIX implementation of child processes.
#include "platform/Processes.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace Platform {
namespace {

int WaitForExit(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return kProgramEndedAbnormally;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : kProgramEndedAbnormally;
}

}  // namespace

int RunProgramAndWait(const char* program, const std::vector<std::string>& arguments) {
    if (program == nullptr || arguments.empty()) return kProgramNotStarted;
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    if (::posix_spawn_file_actions_init(&actions) != 0) return kProgramNotStarted;
    bool prepared = ::posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0) == 0 &&
                    ::posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0) == 0 &&
                    ::posix_spawn_file_actions_adddup2(&actions, 1, 2) == 0 &&
                    ::posix_spawn_file_actions_addclosefrom_np(&actions, 3) == 0;
    pid_t child = 0;
    bool started = prepared && ::posix_spawn(&child, program, &actions, nullptr, argv.data(), environ) == 0;
    ::posix_spawn_file_actions_destroy(&actions);
    return started ? WaitForExit(child) : kProgramNotStarted;
}

int32_t GetCurrentProcessId() { return static_cast<int32_t>(::getpid()); }

}  // namespace Platform
