// editor-host: the image editor's stand-in. It loads a format module, reads
// its property list, and drives the module's selectors in the host's order to
// open a file, save a document or show the About box.
#include <cstdio>
#include <memory>
#include <optional>

#include "tools/editor-host/FormatModule.h"
#include "tools/editor-host/HostCommands.h"
#include "tools/editor-host/HostHandles.h"
#include "tools/editor-host/MainWindow.h"

using namespace EditorHost;

namespace {

int RunCommand(const HostCommandLine& line, const FormatModule& module) {
    // With a display, the document's window is the parent of the module's dialogs.
    MainWindow window(line.command == Command::About ? "editor-host" : FileNameOf(line.file));
    const PluginHost::PluginEntry entry = module.Entry();
    switch (line.command) {
        case Command::Open: return RunOpen(entry, window, line.file, line.output);
        case Command::Save: return RunSave(entry, window, line.file, line.output, line.request, line.runOptions);
        case Command::About: return RunAbout(entry, window);
    }
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::optional<HostCommandLine> line = ParseHostCommandLine(argc, argv);
    if (!line) {
        std::fputs(kHostUsage, stderr);
        return 2;
    }
    std::string error;
    std::unique_ptr<FormatModule> module = FormatModule::Load(line->module, error);
    if (module == nullptr) {
        std::fprintf(stderr, "editor-host: %s: %s\n", line->module.c_str(), error.c_str());
        return 2;
    }
    const int exitCode = RunCommand(*line, *module);
    DisposeAllHandles();
    std::fflush(stdout);
    return exitCode;
}
