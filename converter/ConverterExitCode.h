// Result codes of one converter run; main returns them as the process exit code.
#pragma once

enum ConverterExitCode : int {
    Success = 0,
    Usage = 1,           // no request, or a "-f" value that is no format
    MissingFile = 2,     // "-i" or "-o" without a usable value
    EncoderFailure = 3,  // the ETC1 encoder could not run
    NotSupported = -1,   // the input was not loaded or the output not written (status 255)
};
