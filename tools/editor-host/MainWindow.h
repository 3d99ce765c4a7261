// The host's main window for the document, shown when a display exists; it is
// the parent that the module's dialogs belong to.
#pragma once

#include <string>

#include "ui/Types.h"

namespace EditorHost {

class MainWindow {
public:
    // Shows a window titled `title`; without a display there is none.
    explicit MainWindow(const std::string& title);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // The window, or null when none could be made.
    ui::HWND Handle() const { return window_; }

private:
    ui::HWND window_ = nullptr;
};

}  // namespace EditorHost
