#include "support/ConverterRun.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <thread>

#include "support/TestFiles.h"

extern char** environ;

namespace TestSupport {

// Standard streams go through files, so a chatty child can never block on a full pipe.
struct RunningProgram::StreamFiles {
    TempFolder folder;
    std::string input = folder.File("stdin");
    std::string output = folder.File("stdout");
    std::string errors = folder.File("stderr");
};

namespace {

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

}  // namespace

RunningProgram::RunningProgram(const std::string& program, const std::vector<std::string>& arguments,
                               const std::string& workingFolder, const std::string& input,
                               const EnvironmentChanges& changes)
    : streams_(std::make_unique<StreamFiles>()) {
    WriteText(streams_->input, input);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, streams_->input.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, streams_->output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, streams_->errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (!workingFolder.empty()) posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());

    std::vector<std::string> words = {program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv = PointersTo(words);
    std::vector<std::string> environment = ChangedEnvironment(changes);
    std::vector<char*> envp = PointersTo(environment);

    int spawned = posix_spawn(&child_, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::runtime_error("cannot start " + program);
}

RunningProgram::~RunningProgram() {
    if (child_ < 0) return;
    kill(child_, SIGKILL);
    while (waitpid(child_, nullptr, 0) < 0 && errno == EINTR) {
    }
}

bool RunningProgram::WaitForOutput(const std::string& text, std::chrono::milliseconds limit) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (ReadText(streams_->output).find(text) != std::string::npos) return true;
        if (HasEnded()) return ReadText(streams_->output).find(text) != std::string::npos;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

bool RunningProgram::HasEnded() const {
    if (child_ < 0) return true;
    // Only an ended child fills in its pid; it is left to Wait to reap.
    siginfo_t info{};
    return waitid(P_PID, static_cast<id_t>(child_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid != 0;
}

void RunningProgram::SendSignal(int signal) { kill(child_, signal); }

ConverterResult RunningProgram::Wait() {
    int status = 0;
    rusage usage{};
    while (wait4(child_, &status, 0, &usage) < 0) {
        if (errno != EINTR) throw std::runtime_error("wait4 failed");
    }
    child_ = -1;
    ConverterResult result;
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    result.maxResidentKilobytes = usage.ru_maxrss;
    result.output = ReadText(streams_->output);
    result.errors = ReadText(streams_->errors);
    return result;
}

ConverterResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& workingFolder, const std::string& input,
                           const EnvironmentChanges& changes) {
    return RunningProgram(program, arguments, workingFolder, input, changes).Wait();
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
