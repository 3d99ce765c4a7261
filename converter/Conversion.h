// The road of one conversion, from the scanned command line to the result code.
#pragma once

#include "converter/CommandLine.h"

// Runs the conversion that the command line asks for and returns its ConverterExitCode.
int RunConversion(CommandLine& line);
