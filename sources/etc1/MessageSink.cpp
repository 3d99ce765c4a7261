#include "etc1/MessageSink.h"

ReportMessageFunc g_reportMessage = nullptr;
