// The save-options dialog's preview picture: the document converted into a
// temporary VOQ texture, its levels decoded and laid side by side.
#include <vector>

#include "image/ImageVOQ.h"
#include "plugin/PreviewPicture.h"
#include "plugin/TGAFormatDialog.h"
#include "plugin/launch/ConverterLaunch.h"
#include "ui/Dialogs.h"
#include "ui/Drawing.h"
#include "ui/Styles.h"
#include "ui/Windows.h"

namespace FormatPlugin {

using namespace ImageLib;
using namespace ui;

HBITMAP TGAFormatDialog::BuildPreview() {
    CImageVOQ converted;
    const bool convertedOk = PluginLaunch::ConvertPreview(globals.image, &converted, &globals.options);
    HWND parent = GetParent(hwnd);
    SetForegroundWindow(parent != nullptr ? parent : hwnd);
    if (!convertedOk) {
        MessageBox(parent, PluginLaunch::GetErrorMessage(), "Error", MB_ICONERROR);
        return nullptr;
    }
    if (preview.window == nullptr) return nullptr;
    HDC windowContext = GetDC(preview.window);
    if (windowContext == nullptr) return nullptr;
    HDC memory = CreateCompatibleDC(windowContext);
    if (memory == nullptr) {
        ReleaseDC(preview.window, windowContext);
        return nullptr;
    }
    const int32_t levels = PreviewLevelCount(*globals.image, globals.options);
    const int32_t width = PreviewPictureWidth(converted, levels);
    const int32_t height = converted.mipHeight[0];
    HBITMAP bitmap = CreateCompatibleBitmap(windowContext, width, height);
    if (bitmap != nullptr) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        FillPreviewBitmap(memory, bitmap, &converted, width, height, levels);
        SelectObject(memory, previous);
    }
    DeleteDC(memory);
    ReleaseDC(preview.window, windowContext);
    return bitmap;
}

void TGAFormatDialog::FillPreviewBitmap(HDC context, HBITMAP bitmap, const CImage* image, int32_t width,
                                        int32_t height, int32_t levels) {
    if (image == nullptr) return;
    const std::vector<uint8_t> picture = BuildPreviewPicture(*image, width, height, levels, {showRGB, showAlpha});
    if (picture.empty()) return;
    BITMAPINFO info;
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBits(context, bitmap, 0, static_cast<UINT>(height), picture.data(), &info, DIB_RGB_COLORS);
}

}  // namespace FormatPlugin
