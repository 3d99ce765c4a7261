// Test support: runs the real converter binary and captures what it prints.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace TestSupport {

struct ConverterResult {
    int exitStatus = -1;  // the process exit status (0 to 255); -1 when it did not exit normally
    std::string output;   // everything written to the standard output
    std::string errors;   // everything written to the standard error
};

// Environment variables that a run sets (a value) or removes (no value).
using EnvironmentChanges = std::map<std::string, std::optional<std::string>>;

// Runs `program` with `arguments` (argv[1] onwards) in `workingFolder` (the
// current folder when empty), feeding `input` on its standard input, in this
// process's environment with `changes` applied.
ConverterResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& workingFolder = "", const std::string& input = "",
                           const EnvironmentChanges& changes = {});

// RunProgram on the built BW-VOQ-Orvik. Unless `changes` names APPDATA, the run
// gets an APPDATA folder of its own, removed afterwards, so that no test reads
// or writes the ETC1 cache files of the real user.
ConverterResult RunConverter(const std::vector<std::string>& arguments, const std::string& workingFolder = "",
                             const std::string& input = "", const EnvironmentChanges& changes = {});

}  // namespace TestSupport
