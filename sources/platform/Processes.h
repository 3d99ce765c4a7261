// Child processes: start a program with an argument list and wait for its end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Platform {

// What RunProgramAndWait gives when the program could not be started, or did
// not end through exit (a signal ended it).
inline constexpr int kProgramNotStarted = -1;
inline constexpr int kProgramEndedAbnormally = -2;

// Runs `program` (a path, never looked up in PATH) with `arguments` as its whole
// argument list (argv[0] first), in this process's environment and current
// folder. Its standard input, output and error are /dev/null, so a program that
// waits for a key ends at once instead of hanging its caller, and it inherits
// no other open file. Waits without a time limit; gives the exit status 0 to 255.
int RunProgramAndWait(const char* program, const std::vector<std::string>& arguments);

// The id of this process.
int32_t GetCurrentProcessId();

}  // namespace Platform
