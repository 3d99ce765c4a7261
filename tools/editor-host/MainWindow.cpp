#include "tools/editor-host/MainWindow.h"

#include <vector>

#include "ui/WindowSystem.h"

namespace EditorHost {

using namespace PluginHost;

namespace {

constexpr const char* kWindowClass = "EditorHostMain";
constexpr int kWidth = 640;
constexpr int kHeight = 480;

// Any address of the program names it as a module.
ui::HINSTANCE ProgramInstance() {
    static const char marker = 0;
    return reinterpret_cast<ui::HINSTANCE>(const_cast<char*>(&marker));
}

// The document's pixels as 24-bit bottom-up rows of blue, green and red, each padded to four bytes.
std::vector<uint8_t> PictureBytes(const Document& document, int stride) {
    std::vector<uint8_t> bytes(static_cast<size_t>(stride) * document.height);
    for (int y = 0; y < document.height; ++y) {
        uint8_t* row = bytes.data() + static_cast<size_t>(document.height - 1 - y) * stride;
        for (int x = 0; x < document.width; ++x) {
            const size_t at = static_cast<size_t>(y) * document.width + x;
            uint8_t rgb[3];
            for (int c = 0; c < 3; ++c) {
                const uint8_t value = document.channels[document.mode == plugInModeRGBColor ? c : 0][at];
                rgb[c] = document.mode == plugInModeIndexedColor ? document.lut[c][value] : value;
            }
            row[3 * x] = rgb[2];
            row[3 * x + 1] = rgb[1];
            row[3 * x + 2] = rgb[0];
        }
    }
    return bytes;
}

}  // namespace

MainWindow::MainWindow(const std::string& title) {
    ui::WNDCLASSEX windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = ProgramInstance();
    windowClass.lpszClassName = kWindowClass;
    if (ui::RegisterClassEx(&windowClass) == 0) return;
    window_ = ui::CreateWindowEx(0, kWindowClass, title.c_str(), ui::WS_OVERLAPPEDWINDOW, ui::CW_USEDEFAULT,
                                 ui::CW_USEDEFAULT, kWidth, kHeight, nullptr, nullptr, ProgramInstance(), nullptr);
    if (window_ == nullptr) {
        ui::UnregisterClass(kWindowClass, ProgramInstance());
        return;
    }
    ui::SetWindowLongPtr(window_, ui::GWLP_USERDATA, reinterpret_cast<intptr_t>(this));
    ui::ShowWindow(window_, ui::SW_SHOW);
    ui::UpdateWindow(window_);
}

MainWindow::~MainWindow() {
    if (window_ == nullptr) return;
    ui::SetWindowLongPtr(window_, ui::GWLP_USERDATA, 0);
    ui::DestroyWindow(window_);
    ui::UnregisterClass(kWindowClass, ProgramInstance());
    DropPicture();
}

void MainWindow::ShowDocument(const Document& document) {
    if (window_ == nullptr || ColourChannelsOfMode(document.mode) == 0) return;
    DropPicture();
    const int stride = (document.width * 3 + 3) / 4 * 4;
    const std::vector<uint8_t> bytes = PictureBytes(document, stride);
    ui::BITMAPINFO info{};
    info.bmiHeader.biWidth = document.width;
    info.bmiHeader.biHeight = document.height;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = ui::BI_RGB;
    ui::HDC context = ui::GetDC(window_);
    picture_ = ui::CreateCompatibleBitmap(context, document.width, document.height);
    if (picture_ != nullptr &&
        ui::SetDIBits(context, picture_, 0, static_cast<ui::UINT>(document.height), bytes.data(), &info,
                      ui::DIB_RGB_COLORS) == 0) {
        DropPicture();
    }
    ui::ReleaseDC(window_, context);
    if (picture_ != nullptr) {
        pictureWidth_ = document.width;
        pictureHeight_ = document.height;
    }
    ui::InvalidateRect(window_, nullptr, ui::TRUE);
    ui::UpdateWindow(window_);
}

void MainWindow::DropPicture() {
    if (picture_ != nullptr) ui::DeleteObject(picture_);
    picture_ = nullptr;
    pictureWidth_ = 0;
    pictureHeight_ = 0;
}

void MainWindow::Paint() {
    ui::PAINTSTRUCT paint;
    ui::HDC context = ui::BeginPaint(window_, &paint);
    ui::RECT client;
    ui::GetClientRect(window_, &client);
    ui::FillRect(context, &client, ui::GetSysColorBrush(ui::COLOR_BTNFACE));
    if (picture_ != nullptr) {
        ui::HDC memory = ui::CreateCompatibleDC(context);
        ui::HGDIOBJ previous = ui::SelectObject(memory, picture_);
        ui::StretchBlt(context, 0, 0, pictureWidth_, pictureHeight_, memory, 0, 0, pictureWidth_, pictureHeight_,
                       ui::SRCCOPY);
        ui::SelectObject(memory, previous);
        ui::DeleteDC(memory);
    }
    ui::EndPaint(window_, &paint);
}

ui::LRESULT MainWindow::WindowProc(ui::HWND window, ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) {
    auto* self = reinterpret_cast<MainWindow*>(ui::GetWindowLongPtr(window, ui::GWLP_USERDATA));
    if (message == ui::WM_PAINT && self != nullptr) {
        self->Paint();
        return 0;
    }
    return ui::DefWindowProc(window, message, wParam, lParam);
}

}  // namespace EditorHost
