#include "tools/editor-host/HostCommands.h"

#include <cstdio>
#include <string_view>

#include "image/ImageFiles.h"
#include "platform/Paths.h"
#include "tools/editor-host/HostSession.h"

namespace EditorHost {

using namespace PluginHost;

namespace {

int ReportResult(int16_t result) {
    if (result == noErr) return 0;
    std::printf("result %d\n", result);
    return 1;
}

// The window as the module's dialogs' parent; null without a window.
class DialogParent {
public:
    explicit DialogParent(const MainWindow& window) { data_.hwnd = window.Handle(); }
    PlatformData* Get() { return data_.hwnd != nullptr ? &data_ : nullptr; }

private:
    PlatformData data_;
};

// Whether a person can answer the module's dialogs: the host has a window, on
// a display that shows it (the memory display shows nobody).
bool PersonCanAnswer(const MainWindow& window) {
    const char* display = Platform::GetEnvironmentValue("BWVOQ_DISPLAY");
    return window.Handle() != nullptr && (display == nullptr || std::string_view(display) != "memory");
}

constexpr const char* kNobodyToAnswer = "nobody can answer the dialog without a display: set DISPLAY, or give --dialog";

int HostFailure(const std::string& message) {
    std::fprintf(stderr, "editor-host: %s\n", message.c_str());
    return 2;
}

}  // namespace

int RunOpen(PluginEntry entry, MainWindow& window, const std::string& file, const std::string& dumpPath) {
    Platform::FileHandle dataFork = Platform::OpenFileForReading(file.c_str());
    if (!dataFork.IsOpen()) return HostFailure("cannot open " + file);
    Document document;
    int16_t result = noErr;
    {
        DialogParent parent(window);
        HostSession session(entry, parent.Get());
        result = session.Open(dataFork, FileNameOf(file), document);
    }
    Platform::CloseFile(dataFork);
    if (result != noErr) return ReportResult(result);
    window.ShowDocument(document);

    std::printf("mode %d size %dx%d depth %d planes %zu lut %d\n", document.mode, document.width, document.height,
                document.depth, document.channels.size(), document.lutCount);
    if (dumpPath.empty()) return 0;
    std::unique_ptr<ImageLib::CImage> image = DocumentImage(document);
    if (image == nullptr || !ImageLib::SaveImage(image.get(), dumpPath.c_str(), nullptr)) {
        return HostFailure("cannot write " + dumpPath);
    }
    return 0;
}

int RunSave(PluginEntry entry, MainWindow& window, const std::string& documentPath,
            const std::string& outputPath, const DocumentRequest& request, bool runOptions,
            DialogScriptRunner* script) {
    if (runOptions && script == nullptr && !PersonCanAnswer(window)) {
        return HostFailure(std::string(kNobodyToAnswer) + " or --no-options");
    }
    if (script != nullptr && runOptions && !script->Start()) return HostFailure("no window for the dialog script");
    Document document;
    std::string error;
    if (!LoadDocument(documentPath, request, document, error)) return HostFailure(error);
    window.ShowDocument(document);

    std::string writtenPath;
    Platform::FileHandle dataFork = Platform::CreateUniqueFileBeside(outputPath, writtenPath);
    if (!dataFork.IsOpen()) return HostFailure("cannot write beside " + outputPath);
    Platform::RemoveFileAtExit(writtenPath);
    int16_t result = noErr;
    std::string scriptError;
    bool scriptDone = true;
    {
        DialogParent parent(window);
        HostSession session(entry, parent.Get());
        result = session.Save(document, dataFork, runOptions);
        if (script != nullptr && runOptions) scriptDone = script->Finish(scriptError);
    }
    Platform::CloseFile(dataFork);
    const bool replaced =
        result == noErr && scriptDone && Platform::RenameFile(writtenPath.c_str(), outputPath.c_str());
    if (!replaced) Platform::RemoveFile(writtenPath.c_str());
    Platform::KeepFileAtExit(writtenPath);
    if (!scriptDone) return HostFailure("dialog script: " + scriptError);
    if (result == noErr && !replaced) return HostFailure("cannot replace " + outputPath);
    return ReportResult(result);
}

int RunAbout(PluginEntry entry, MainWindow& window, DialogScriptRunner* script) {
    // Without any window the box cannot be shown, so nothing waits.
    if (script == nullptr && window.Handle() != nullptr && !PersonCanAnswer(window)) return HostFailure(kNobodyToAnswer);
    DialogParent parent(window);
    HostSession session(entry, parent.Get());
    if (script != nullptr && !script->Start()) return HostFailure("no window for the dialog script");
    session.About();
    std::string scriptError;
    if (script != nullptr && !script->Finish(scriptError)) return HostFailure("dialog script: " + scriptError);
    return 0;
}

}  // namespace EditorHost
