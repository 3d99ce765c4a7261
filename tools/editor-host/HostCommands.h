// The editor-host's three commands over a loaded module. Each returns the
// program's exit code: 0 done, 1 the module gave a non-zero result (printed as
// "result R"), 2 the host could not do its own part (a message on stderr).
// The main window, when there is one, shows the document and is the parent of
// the module's dialogs.
#pragma once

#include <string>

#include "plugin/host/FormatHost.h"
#include "tools/editor-host/DialogScriptRunner.h"
#include "tools/editor-host/HostCommandLine.h"
#include "tools/editor-host/MainWindow.h"

namespace EditorHost {

// Opens `file`, prints "mode M size WxH depth D planes P lut N", and with a
// `dumpPath` writes the pixels and palette received as a plain TGA file.
int RunOpen(PluginHost::PluginEntry entry, MainWindow& window, const std::string& file, const std::string& dumpPath);

// Saves the document read from `documentPath` into `outputPath`, which is
// replaced only when the save succeeds. A `script` plays the save-options
// dialog; without one, the dialog needs a display and a person.
int RunSave(PluginHost::PluginEntry entry, MainWindow& window, const std::string& documentPath,
            const std::string& outputPath, const DocumentRequest& request, bool runOptions,
            DialogScriptRunner* script);

int RunAbout(PluginHost::PluginEntry entry, MainWindow& window, DialogScriptRunner* script);

}  // namespace EditorHost
