// The progress tests link the window in: the converter's calls reach it
// directly, the way a "-n" run's reach the module it loads.
#include "converter/ProgressWindowCalls.h"

namespace {

const bool kWindowLinkedIn = (g_progressWindowCalls = &kProgressWindowCalls, true);

}  // namespace
