// BW-VOQ-Orvik: converts one image file into one texture file per run.
#include <cstdio>

#include "converter/CommandLine.h"
#include "converter/Conversion.h"

int main(int argc, char** argv) {
    CommandLine line = ScanCommandLine(argc, argv);
    int result = RunConversion(line);
    std::fflush(stdout);
    return result;
}
