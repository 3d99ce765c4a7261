#include "support/ConverterRun.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

#include "support/TestFiles.h"

extern char** environ;

namespace TestSupport {
namespace {

// Standard streams go through files, so a chatty child can never block on a full pipe.
struct StreamFiles {
    TempFolder folder;
    std::string input = folder.File("stdin");
    std::string output = folder.File("stdout");
    std::string errors = folder.File("stderr");
};

int WaitForExit(pid_t child) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) throw std::runtime_error("waitpid failed");
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

ConverterResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& workingFolder, const std::string& input) {
    StreamFiles streams;
    WriteText(streams.input, input);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, streams.input.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, streams.output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, streams.errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (!workingFolder.empty()) posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    pid_t child = 0;
    int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::runtime_error("cannot start " + program);

    ConverterResult result;
    result.exitStatus = WaitForExit(child);
    result.output = ReadText(streams.output);
    result.errors = ReadText(streams.errors);
    return result;
}

ConverterResult RunConverter(const std::vector<std::string>& arguments, const std::string& workingFolder,
                             const std::string& input) {
    return RunProgram(BWVOQ_CONVERTER, arguments, workingFolder, input);
}

}  // namespace TestSupport
