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
    std::optional<std::string> dialogScript;  // save, about: --dialog ACTIONS
};

// Nothing when the arguments (argv[1] onwards) are not one of:
//   MODULE open FILE [--dump OUT.tga]
//   MODULE save DOCUMENT OUT [--mode gray|indexed|rgb] [--alpha-channels N] [--no-options] [--dialog ACTIONS]
//   MODULE about [--dialog ACTIONS]
std::optional<HostCommandLine> ParseHostCommandLine(int argc, const char* const* argv);

inline constexpr const char* kHostUsage =
    "usage: editor-host MODULE open FILE [--dump OUT.tga]\n"
    "       editor-host MODULE save DOCUMENT OUT [--mode gray|indexed|rgb] [--alpha-channels N] [--no-options]\n"
    "                                         [--dialog ACTIONS]\n"
    "       editor-host MODULE about [--dialog ACTIONS]\n"
    "ACTIONS, separated by \";\": click ID, select ID INDEX, size W H, scroll h|v REQUEST [POSITION],\n"
    "shot FILE.png, ok, cancel\n";

}  // namespace EditorHost
