// The host's main window for the document, shown when a display exists; it is
// the parent that the module's dialogs belong to, and it shows the document's
// picture from its top-left corner.
#pragma once

#include <string>

#include "tools/editor-host/Document.h"
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

    // Shows the document: its colour channels, grey as grey, indexed pixels
    // through the palette. Nothing without a window.
    void ShowDocument(const Document& document);

private:
    static ui::LRESULT WindowProc(ui::HWND window, ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam);
    void Paint();
    void DropPicture();

    ui::HWND window_ = nullptr;
    ui::HBITMAP picture_ = nullptr;
    int pictureWidth_ = 0;
    int pictureHeight_ = 0;
};

}  // namespace EditorHost
