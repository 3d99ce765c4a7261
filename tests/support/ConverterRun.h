// Test support: runs the real converter binary and captures what it prints.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace TestSupport {

struct ConverterResult {
    int exitStatus = -1;  // the process exit status (0 to 255); -1 when it did not exit normally
    int signal = 0;       // the signal that ended the process; 0 when it exited
    long maxResidentKilobytes = 0;  // the process's peak resident size
    std::string output;   // everything written to the standard output
    std::string errors;   // everything written to the standard error
};

// Environment variables that a run sets (a value) or removes (no value).
using EnvironmentChanges = std::map<std::string, std::optional<std::string>>;

// A program started in the background, its standard streams in files. One
// still running when the object goes away is killed.
class RunningProgram {
public:
    // Starts `program` with `arguments` (argv[1] onwards) in `workingFolder` (the
    // current folder when empty), feeding `input` on its standard input, in this
    // process's environment with `changes` applied.
    RunningProgram(const std::string& program, const std::vector<std::string>& arguments,
                   const std::string& workingFolder = "", const std::string& input = "",
                   const EnvironmentChanges& changes = {});
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // Waits until the standard output holds `text`; false when the program
    // ended or `limit` passed first.
    bool WaitForOutput(const std::string& text, std::chrono::milliseconds limit);
    // True once the program has ended (it is left to Wait to collect).
    bool HasEnded() const;
    void SendSignal(int signal);
    // Waits for the end and gives what the program did.
    ConverterResult Wait();

private:
    struct StreamFiles;
    std::unique_ptr<StreamFiles> streams_;
    pid_t child_ = -1;
};

// Runs a program to its end, as RunningProgram starts it.
ConverterResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& workingFolder = "", const std::string& input = "",
                           const EnvironmentChanges& changes = {});

// RunProgram on the built BW-VOQ-Orvik. Unless `changes` names APPDATA, the run
// gets an APPDATA folder of its own, removed afterwards, so that no test reads
// or writes the ETC1 cache files of the real user.
ConverterResult RunConverter(const std::vector<std::string>& arguments, const std::string& workingFolder = "",
                             const std::string& input = "", const EnvironmentChanges& changes = {});

}  // namespace TestSupport
