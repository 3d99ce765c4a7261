// The converter's message sink as the ETC1 encoder sees it.
//
// g_reportMessage names the sink while a conversion runs and is null otherwise.
// Only the main thread reports; worker threads never call it.
#pragma once

#include <cstdint>

enum class MessageLevel : int32_t {
    Status = 0,
    Information = 1,
    Error = 2,
    Progress = 3,
};

using ReportMessageFunc = void (*)(MessageLevel level, const char* format, ...);

extern ReportMessageFunc g_reportMessage;
