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

// This process's environment with the changes applied, as "NAME=value" strings.
std::vector<std::string> ChangedEnvironment(const EnvironmentChanges& changes) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        std::string text(*entry);
        if (!changes.contains(text.substr(0, text.find('=')))) entries.push_back(text);
    }
    for (const auto& [name, value] : changes) {
        if (value) entries.push_back(name + "=" + *value);
    }
    return entries;
}

std::vector<char*> PointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

int WaitForExit(pid_t child) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) throw std::runtime_error("waitpid failed");
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

ConverterResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& workingFolder, const std::string& input,
                           const EnvironmentChanges& changes) {
    StreamFiles streams;
    WriteText(streams.input, input);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, streams.input.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, streams.output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, streams.errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (!workingFolder.empty()) posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());

    std::vector<std::string> words = {program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv = PointersTo(words);
    std::vector<std::string> environment = ChangedEnvironment(changes);
    std::vector<char*> envp = PointersTo(environment);

    pid_t child = 0;
    int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::runtime_error("cannot start " + program);

    ConverterResult result;
    result.exitStatus = WaitForExit(child);
    result.output = ReadText(streams.output);
    result.errors = ReadText(streams.errors);
    return result;
}

ConverterResult RunConverter(const std::vector<std::string>& arguments, const std::string& workingFolder,
                             const std::string& input, const EnvironmentChanges& changes) {
    if (changes.contains("APPDATA")) return RunProgram(BWVOQ_CONVERTER, arguments, workingFolder, input, changes);
    TempFolder appData;
    EnvironmentChanges withAppData = changes;
    withAppData["APPDATA"] = appData.Path();
    return RunProgram(BWVOQ_CONVERTER, arguments, workingFolder, input, withAppData);
}

}  // namespace TestSupport
