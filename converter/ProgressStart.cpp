#include "converter/ProgressStart.h"

#include <cstdio>
#include <future>
#include <mutex>
#include <system_error>

#include "converter/ProgressText.h"
#include "converter/ProgressWindowCalls.h"
#include "image/ImageOptions.h"

namespace {

std::mutex g_settling;
std::future<bool> g_windowShown;  // valid while a window is begun and not settled
CommandLine* g_line = nullptr;

void PrintConversionLine(const CommandLine& line) {
    std::printf("%s -> %s \n", line.inputPath, line.outputPath);
    std::fflush(stdout);
}

bool ShowWindow() { return LoadProgressWindow() && g_progressWindowCalls->start(); }

}  // namespace

void BeginProgressWindow(CommandLine& line) {
    ImageLib::ImageOptions& options = line.options;
    const bool etc1 = ImageLib::IsETC1Format(options.format) || options.format == ImageLib::ETC1_AUTO;
    if (options.showProgress != 0 && etc1) {
        std::lock_guard<std::mutex> guard(g_settling);
        try {
            g_windowShown = std::async(std::launch::async, ShowWindow);
            g_line = &line;
            return;
        } catch (const std::system_error&) {
            // no thread for the window: the run goes on without it
        }
    }
    options.showProgress = 0;
    PrintConversionLine(line);
}

void SettleProgressWindow() {
    std::lock_guard<std::mutex> guard(g_settling);
    if (!g_windowShown.valid()) return;
    if (g_windowShown.get()) {
        CaptionText caption;
        FormatConversionLine(caption, g_line->inputPath, g_line->outputPath);
        g_progressWindowCalls->setCaption(caption);
    } else {
        g_line->options.showProgress = 0;
        PrintConversionLine(*g_line);
    }
    g_line = nullptr;
}
