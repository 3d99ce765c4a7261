// The private folder that holds "base.tga" and the converter's output.
#pragma once

#include <string>

namespace PluginLaunch {

// <temporary directory>/BW-VOQ-Orvik/<process id>: both folders are created
// for the user alone when missing and refused when anybody else could enter
// them, so two editors of one user, or of two users, never share files.
// Empty when either cannot be had.
std::string ConverterTempFolder();

}  // namespace PluginLaunch
