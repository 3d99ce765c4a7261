// CScrollWindow: the preview window of the save-options dialog, a child window
// of class "PreviewControl" that shows a bitmap at a zoom of 1 to 16 with
// horizontal and vertical scroll bars.
//
// Scroll positions and ranges are in screen pixels of the zoomed picture: the
// horizontal range is 0 to bitmapWidth x zoom - 1, the vertical one likewise,
// and a bar's page is the window's outer size on its axis.
#pragma once

#include <cstdint>

#include "ui/Types.h"

namespace FormatPlugin {

inline constexpr const char* kPreviewClassName = "PreviewControl";

class CScrollWindow {
public:
    CScrollWindow() = default;
    CScrollWindow(const CScrollWindow&) = delete;
    CScrollWindow& operator=(const CScrollWindow&) = delete;

    // Virtual interface, in slot order. The destructor deletes the bitmap and,
    // when the window exists, destroys it and unregisters its class.
    virtual ~CScrollWindow();
    virtual void OnPaint();
    // Moves a bar's position to `amount`, or by it when `relative`.
    virtual void OnScroll(int bar, int32_t amount, bool relative);

    // Registers the class and creates the window at (220, 14), 256 x 320, in the owner dialog.
    bool Create(ui::HWND owner);
    void InitScrollBars();
    // Takes the bitmap (deleting the one before); null clears the picture.
    void SetBitmap(ui::HBITMAP newBitmap);
    // Zooms to 1 to 16, keeping the centre of the view; other values change nothing.
    void SetZoom(int32_t newZoom);
    void Resize(int32_t width, int32_t height);

    ui::HWND owner = nullptr;
    ui::HWND window = nullptr;   // also rewritten by the window procedure on every message
    ui::HBITMAP bitmap = nullptr;  // owned
    int32_t x = 0, y = 0;
    int32_t bitmapWidth = 0, bitmapHeight = 0;
    int32_t zoom = 1;

private:
    ui::SIZE OuterSize() const;
    // Sets both bars' ranges and pages for the current bitmap, zoom and size,
    // keeping their positions.
    void UpdateScrollBars();
};

// The preview of the dialog that exists now; null when none.
extern CScrollWindow* g_currentPreview;

// The window procedure of "PreviewControl".
ui::LRESULT ScrollWndProc(ui::HWND window, ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam);

}  // namespace FormatPlugin
