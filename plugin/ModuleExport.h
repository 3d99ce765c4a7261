// Marks the few symbols that the module exports to the host; everything else
// in the module is hidden.
#pragma once

#define BWVOQ_MODULE_EXPORT extern "C" __attribute__((visibility("default")))
