#include "converter/ProgressWindow.h"

#include <array>
#include <future>
#include <system_error>
#include <thread>

#include "converter/ProgressIcon.h"

std::atomic<ui::HWND> g_progressWindow = nullptr;
std::atomic<CProgressDlg*> g_progressDialog = nullptr;
ProgressMailbox g_progressMailbox;

namespace {

constexpr int kWindowsNotMade = -1;
constexpr const char kIconName[] = "IDR_MAINFRAME";

constexpr std::array<uint32_t, kProgressIconSide * kProgressIconSide> kIconPixels = ProgressIconPixels();

// Gives the dialog the newest progress line and position.
void DeliverMail() {
    ProgressLetter letter = g_progressMailbox.Take();
    CProgressDlg* dialog = g_progressDialog.load();
    if (dialog == nullptr) return;
    if (letter.hasText) dialog->SendMessage(WM_PROGRESS_SETTEXT, reinterpret_cast<ui::WPARAM>(letter.text), 0);
    if (letter.position) dialog->SendMessage(WM_PROGRESS_SETPOS, static_cast<ui::WPARAM>(*letter.position), 0);
}

// The progress thread's exit code, once it has ended.
std::future<int> g_progressThreadEnd;

// How far the progress thread has come; StartProgressWindow waits on it.
enum class StartState { Starting, Shown, Ended };
std::atomic<StartState> g_startState = StartState::Starting;

void AnnounceStart(StartState state) {
    g_startState = state;
    g_startState.notify_all();
}

char g_moduleAnchor;

bool RegisterWindowClass(ui::HINSTANCE module) {
    ui::WNDCLASSEX windowClass;
    windowClass.style = ui::CS_HREDRAW | ui::CS_VREDRAW;
    windowClass.lpfnWndProc = ProgressWndProc;
    windowClass.hInstance = module;
    windowClass.hIcon = ui::LoadIcon(module, kIconName);
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hbrBackground = reinterpret_cast<ui::HBRUSH>(ui::GetStockObject(ui::WHITE_BRUSH));
    windowClass.lpszClassName = kProgressWindowClass;
    return ui::RegisterClassEx(&windowClass) != 0;
}

}  // namespace

ui::HINSTANCE ConverterModule() { return reinterpret_cast<ui::HINSTANCE>(&g_moduleAnchor); }

void RegisterProgressResources() {
    static const bool registered = [] {
        ui::HINSTANCE module = ConverterModule();
        ui::AfxWinInit(module, nullptr, "", 0);
        ui::RegisterDialogTemplate(module, kProgressDialogId, &kProgressDialogTemplate);
        const ui::IconImage image{kProgressIconSide, kProgressIconSide, kIconPixels.data()};
        ui::RegisterIcon(module, kIconName, {&image, 1});
        return true;
    }();
    (void)registered;
}

ui::HWND StartProgressWindow() {
    ui::HINSTANCE module = ConverterModule();
    RegisterProgressResources();
    // A class left from an earlier window of this process serves again.
    RegisterWindowClass(module);

    std::promise<int> threadEnd;
    g_progressThreadEnd = threadEnd.get_future();
    g_startState = StartState::Starting;
    try {
        std::thread([module, end = std::move(threadEnd)]() mutable {
            const int code = ProgressThread(module);
            // Before the exit code: once that is out, the next window may start.
            AnnounceStart(StartState::Ended);
            end.set_value(code);
        }).detach();
    } catch (const std::system_error&) {
        return nullptr;  // no thread for the window: the run goes on without it
    }

    // The thread either shows the dialog or ends; the run waits for no more.
    g_startState.wait(StartState::Starting);
    if (g_progressDialog.load() == nullptr) {
        g_progressThreadEnd.get();
        return nullptr;
    }
    return g_progressWindow.load();
}

int CloseProgressWindow() {
    ui::SendMessage(g_progressWindow.load(), ui::WM_CLOSE, 0, 0);
    return g_progressThreadEnd.get();
}

int ProgressThread(ui::HINSTANCE instance) {
    ui::HWND window = ui::CreateWindowEx(ui::WS_EX_TOOLWINDOW, kProgressWindowClass, kProgressWindowTitle,
                                         ui::WS_OVERLAPPEDWINDOW, ui::CW_USEDEFAULT, ui::CW_USEDEFAULT,
                                         ui::CW_USEDEFAULT, ui::CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        g_progressWindow = nullptr;  // in case the window got as far as WM_CREATE
        return kWindowsNotMade;
    }
    ui::ShowWindow(window, ui::SW_HIDE);
    ui::UpdateWindow(window);

    auto* dialog = new CProgressDlg(window);
    if (!dialog->Create(kProgressDialogId, window)) {
        delete dialog;  // never had a window, so it cannot delete itself
        g_progressWindow = nullptr;
        ui::DestroyWindow(window);
        return kWindowsNotMade;
    }
    dialog->SendMessage(WM_PROGRESS_SETRANGE, 0, 100);
    dialog->ShowWindow(ui::SW_SHOWNORMAL);
    g_progressDialog = dialog;
    AnnounceStart(StartState::Shown);

    ui::MSG message;
    while (ui::GetMessage(&message, nullptr, 0, 0) > 0) {
        ui::TranslateMessage(&message);
        ui::DispatchMessage(&message);
    }
    return static_cast<int>(message.wParam);
}

ui::LRESULT ProgressWndProc(ui::HWND window, ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) {
    switch (message) {
        case ui::WM_CREATE:
            g_progressWindow = window;
            return 0;
        case ui::WM_DESTROY:
            ui::PostQuitMessage(0);
            return 0;
        case WM_PROGRESS_MAIL:
            DeliverMail();
            return 0;
        case ui::WM_CLOSE:
            g_progressDialog = nullptr;
            g_progressWindow = nullptr;
            g_progressMailbox.Reset();  // the next window starts with an empty box
            ui::DestroyWindow(window);
            return 0;
        default:
            return ui::DefWindowProc(window, message, wParam, lParam);
    }
}
