#include "converter/ProgressStart.h"

#include <chrono>
#include <cstdio>
#include <future>
#include <mutex>
#include <system_error>
#include <vector>

#include "converter/ProgressText.h"
#include "converter/ProgressWindowCalls.h"
#include "image/ImageOptions.h"

namespace {

struct HeldMessage {
    MessageLevel level;
    std::string text;
};

std::mutex g_settling;
std::future<bool> g_windowShown;  // valid while a window is begun and not settled
CommandLine* g_line = nullptr;
std::vector<HeldMessage> g_held;  // what the run said while the window was starting

void PrintConversionLine(const CommandLine& line) {
    std::printf("%s -> %s \n", line.inputPath, line.outputPath);
    std::fflush(stdout);
}

// On the window's own thread: nothing of this waits in the conversion.
bool ShowWindow(const std::string& caption) {
    if (!LoadProgressWindow() || !g_progressWindowCalls->start()) return false;
    g_progressWindowCalls->setCaption(caption.c_str());
    return true;
}

void SettleLocked() {
    if (!g_windowShown.valid()) return;
    if (!g_windowShown.get()) {
        g_line->options.showProgress = 0;
        PrintConversionLine(*g_line);
    }
    g_line = nullptr;
    for (const HeldMessage& message : g_held) ShowOrPrintMessage(message.level, message.text);
    g_held.clear();
}

bool IsMessageBox(MessageLevel level) { return level == MessageLevel::Error || level == MessageLevel::Information; }

}  // namespace

void BeginProgressWindow(CommandLine& line) {
    ImageLib::ImageOptions& options = line.options;
    const bool etc1 = ImageLib::IsETC1Format(options.format) || options.format == ImageLib::ETC1_AUTO;
    if (options.showProgress != 0 && etc1) {
        CaptionText caption;
        FormatConversionLine(caption, line.inputPath, line.outputPath);
        std::lock_guard<std::mutex> guard(g_settling);
        try {
            g_windowShown = std::async(std::launch::async, ShowWindow, std::string(caption));
            g_line = &line;
            return;
        } catch (const std::system_error&) {
            // no thread for the window: the run goes on without it
        }
    }
    options.showProgress = 0;
    PrintConversionLine(line);
}

bool HoldWhileWindowStarts(MessageLevel level, const std::string& text) {
    std::lock_guard<std::mutex> guard(g_settling);
    if (!g_windowShown.valid()) return false;
    if (!IsMessageBox(level) && g_windowShown.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
        g_held.push_back({level, text});
        return true;
    }
    SettleLocked();
    return false;
}

void SettleProgressWindow() {
    std::lock_guard<std::mutex> guard(g_settling);
    SettleLocked();
}

void BeforeEncoderConsoleWrite() {
    SettleProgressWindow();
    if (g_progressWindowCalls != nullptr && g_progressWindowCalls->isOpen()) {
        g_progressWindowCalls->showWaitingProgress();
    }
}

void ShowOrPrintMessage(MessageLevel level, const std::string& text) {
    if (g_progressWindowCalls != nullptr) {
        MessageText shown;
        CutToMessageText(shown, text);
        if (g_progressWindowCalls->show(level, shown)) return;
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}
