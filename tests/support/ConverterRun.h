// Test support: runs the real converter binary and captures what it prints.
#pragma once

#include <string>
#include <vector>

namespace TestSupport {

struct ConverterResult {
    int exitStatus = -1;  // the process exit status (0 to 255); -1 when it did not exit normally
    std::string output;   // everything written to the standard output
    std::string errors;   // everything written to the standard error
};

// Runs `program` with `arguments` (argv[1] onwards) in `workingFolder` (the
// current folder when empty), feeding `input` on its standard input.
ConverterResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& workingFolder = "", const std::string& input = "");

// RunProgram on the built BW-VOQ-Orvik.
ConverterResult RunConverter(const std::vector<std::string>& arguments, const std::string& workingFolder = "",
                             const std::string& input = "");

}  // namespace TestSupport
