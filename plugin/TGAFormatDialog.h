// TGAFormatDialog: the save-options dialog. The user chooses the texture format,
// the mipmap mode and level count, the ETC1 method and the colour correction;
// the dialog shows the size of the texture data and a zoomable preview of the
// encoded result, which the converter produces. OK copies the choices into the
// plug-in globals (Apply); Cancel leaves them as they were.
//
// It becomes the dialog that DialogProc forwards to, and its preview the one
// that the preview window procedure draws, for its lifetime.
#pragma once

#include <cstdint>

#include "image/Image.h"
#include "plugin/PSFormatDialog.h"
#include "plugin/PluginGlobals.h"
#include "plugin/ScrollWindow.h"
#include "ui/Types.h"

namespace FormatPlugin {

class TGAFormatDialog : public PSFormatDialog {
public:
    TGAFormatDialog();
    // Empties the converter's temporary folder: a dialog's previews never outlive it.
    ~TGAFormatDialog() override;

    // `param` points to the plug-in's globals, whose copy the dialog edits.
    void OnInitDialog(ui::LPARAM param) override;
    void OnCommand(int controlId, int notificationCode) override;
    void Apply(PluginGlobals* target) override;
    // Grows the preview with the dialog and keeps the zoom row near the bottom edge.
    void OnSize(int sizeType, int width, int height) override;

    // The ETC1 method list for ETC formats only; the colour correction only for
    // formats above HILO8 (reset to none below).
    void EnableControls();
    void UpdateSizeText();
    void UpdateZoomText(int32_t zoom);

    // Converts the document with the current options and draws the preview
    // picture; null when there is no picture (a failed conversion shows its error).
    ui::HBITMAP BuildPreview();
    void FillPreviewBitmap(ui::HDC context, ui::HBITMAP bitmap, const ImageLib::CImage* image, int32_t width,
                           int32_t height, int32_t levels);

    PluginGlobals globals{};
    CScrollWindow preview;
    int32_t maxLevels = 0;
    bool showRGB = false;
    bool showAlpha = false;
    int32_t widthMargin = 0;   // client width minus the preview's when the dialog opened
    int32_t heightMargin = 0;  // client height minus the preview's

private:
    bool IsChecked(int controlId) const;
    int SelectedEntry(int controlId) const;
    void ShowPreview();
};

}  // namespace FormatPlugin
