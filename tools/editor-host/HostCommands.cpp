#include "tools/editor-host/HostCommands.h"

#include <cstdio>

#include "image/ImageFiles.h"
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
            const std::string& outputPath, const DocumentRequest& request, bool runOptions) {
    Document document;
    std::string error;
    if (!LoadDocument(documentPath, request, document, error)) return HostFailure(error);
    window.ShowDocument(document);

    std::string writtenPath;
    Platform::FileHandle dataFork = Platform::CreateUniqueFileBeside(outputPath, writtenPath);
    if (!dataFork.IsOpen()) return HostFailure("cannot write beside " + outputPath);
    Platform::RemoveFileAtExit(writtenPath);
    int16_t result = noErr;
    {
        DialogParent parent(window);
        HostSession session(entry, parent.Get());
        result = session.Save(document, dataFork, runOptions);
    }
    Platform::CloseFile(dataFork);
    const bool replaced = result == noErr && Platform::RenameFile(writtenPath.c_str(), outputPath.c_str());
    if (!replaced) Platform::RemoveFile(writtenPath.c_str());
    Platform::KeepFileAtExit(writtenPath);
    if (result == noErr && !replaced) return HostFailure("cannot replace " + outputPath);
    return ReportResult(result);
}

int RunAbout(PluginEntry entry, MainWindow& window) {
    DialogParent parent(window);
    HostSession session(entry, parent.Get());
    session.About();
    return 0;
}

}  // namespace EditorHost
