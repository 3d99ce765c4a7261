#include "tools/editor-host/MainWindow.h"

#include "ui/WindowSystem.h"

namespace EditorHost {

namespace {

constexpr const char* kWindowClass = "EditorHostMain";
constexpr int kWidth = 640;
constexpr int kHeight = 480;

// Any address of the program names it as a module.
ui::HINSTANCE ProgramInstance() {
    static const char marker = 0;
    return reinterpret_cast<ui::HINSTANCE>(const_cast<char*>(&marker));
}

}  // namespace

MainWindow::MainWindow(const std::string& title) {
    ui::WNDCLASSEX windowClass;
    windowClass.lpfnWndProc = ui::DefWindowProc;
    windowClass.hInstance = ProgramInstance();
    windowClass.lpszClassName = kWindowClass;
    if (ui::RegisterClassEx(&windowClass) == 0) return;
    window_ = ui::CreateWindowEx(0, kWindowClass, title.c_str(), ui::WS_OVERLAPPEDWINDOW, ui::CW_USEDEFAULT,
                                 ui::CW_USEDEFAULT, kWidth, kHeight, nullptr, nullptr, ProgramInstance(), nullptr);
    if (window_ == nullptr) {
        ui::UnregisterClass(kWindowClass, ProgramInstance());
        return;
    }
    ui::ShowWindow(window_, ui::SW_SHOW);
    ui::UpdateWindow(window_);
}

MainWindow::~MainWindow() {
    if (window_ == nullptr) return;
    ui::DestroyWindow(window_);
    ui::UnregisterClass(kWindowClass, ProgramInstance());
}

}  // namespace EditorHost
