// The export of the progress window's module.
#include "converter/ProgressWindowCalls.h"

extern "C" __attribute__((visibility("default"))) const ProgressWindowCalls* BWOrvikProgressWindowCalls() {
    return &kProgressWindowCalls;
}
