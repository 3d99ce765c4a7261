#include "etc1/ETC1Report.h"

#include <cstdlib>

void ExitOnETC1AllocationFailure() {
    ReportETC1Message(MessageLevel::Error, "Could not allocate decompression buffer --- exiting\n");
    std::exit(kETC1EncoderFailureExitCode);
}

void ExitOnUnknownETC1Method() {
    ReportETC1Message(MessageLevel::Error, "Not implemented.\n");
    std::exit(kETC1EncoderFailureExitCode);
}
