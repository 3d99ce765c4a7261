// The editor-host's command line.
#pragma once

#include <optional>
#include <string>

#include "tools/editor-host/Document.h"

namespace EditorHost {

enum class Command { Open, Save, About };

struct HostCommandLine {
    std::string module;
    Command command = Command::About;
    std::string file;    // open: the file; save: the document
    std::string output;  // open: the --dump file (may be empty); save: the file written
    DocumentRequest request;
    bool runOptions = true;
};

// Nothing when the arguments (argv[1] onwards) are not one of:
//   MODULE open FILE [--dump OUT.tga]
//   MODULE save DOCUMENT OUT [--mode gray|indexed|rgb] [--alpha-channels N] [--no-options]
//   MODULE about
std::optional<HostCommandLine> ParseHostCommandLine(int argc, const char* const* argv);

inline constexpr const char* kHostUsage =
    "usage: editor-host MODULE open FILE [--dump OUT.tga]\n"
    "       editor-host MODULE save DOCUMENT OUT [--mode gray|indexed|rgb] [--alpha-channels N] [--no-options]\n"
    "       editor-host MODULE about\n";

}  // namespace EditorHost
