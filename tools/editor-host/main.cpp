// editor-host: the image editor's stand-in. It loads a format module, reads
// its property list, and drives the module's selectors in the host's order to
// open a file, save a document or show the About box.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tools/editor-host/DialogScript.h"
#include "tools/editor-host/DialogScriptRunner.h"
#include "tools/editor-host/FormatModule.h"
#include "tools/editor-host/HostCommands.h"
#include "tools/editor-host/HostHandles.h"
#include "tools/editor-host/MainWindow.h"
#include "tools/editor-host/PropertyListReader.h"
#include "ui/MemoryDisplay.h"

using namespace EditorHost;

namespace {

// The caption of the dialog that a script plays: the module's About box, or
// its save options titled with the name it gives the host.
std::string ScriptedDialogCaption(const HostCommandLine& line, const FormatModule& module) {
    if (line.command == Command::About) return "About";
    const auto name = module.Properties().find(PluginHost::FourCharCode("name"));
    return (name != module.Properties().end() ? PropertyLengthLedText(name->second) : std::string()) + " Save Options";
}

int RunCommand(const HostCommandLine& line, const FormatModule& module, std::vector<DialogAction> actions) {
    // With a display, the document's window is the parent of the module's dialogs.
    MainWindow window(line.command == Command::About ? "editor-host" : FileNameOf(line.file));
    const PluginHost::PluginEntry entry = module.Entry();
    std::unique_ptr<DialogScriptRunner> script;
    if (line.dialogScript) {
        script = std::make_unique<DialogScriptRunner>(std::move(actions), ScriptedDialogCaption(line, module),
                                                      window.Handle());
    }
    switch (line.command) {
        case Command::Open: return RunOpen(entry, window, line.file, line.output);
        case Command::Save:
            return RunSave(entry, window, line.file, line.output, line.request, line.runOptions, script.get());
        case Command::About: return RunAbout(entry, window, script.get());
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
    std::vector<DialogAction> actions;
    if (line->dialogScript) {
        std::optional<std::vector<DialogAction>> parsed = ParseDialogScript(*line->dialogScript, error);
        if (!parsed) {
            std::fprintf(stderr, "editor-host: --dialog: %s\n", error.c_str());
            return 2;
        }
        actions = std::move(*parsed);
        // A script plays the dialogs where nobody sees them.
        ui::UseMemoryDisplay();
    }
    std::unique_ptr<FormatModule> module = FormatModule::Load(line->module, error);
    if (module == nullptr) {
        std::fprintf(stderr, "editor-host: %s: %s\n", line->module.c_str(), error.c_str());
        return 2;
    }
    const int exitCode = RunCommand(*line, *module, std::move(actions));
    DisposeAllHandles();
    std::fflush(stdout);
    return exitCode;
}
