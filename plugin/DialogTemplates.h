// The plug-in's dialog resources: the save-options dialog (16050) and the
// About box (16000), as the window system's templates.
#pragma once

#include "ui/Dialogs.h"

namespace FormatPlugin {

inline constexpr int kAboutDialogId = 16000;

// Control ids of the save-options dialog.
enum SaveOptionsControl : int {
    kZoomOutButton = 1005,
    kZoomInButton = 1006,
    kPreviewCheck = 1007,
    kShowRgbCheck = 1008,
    kShowAlphaCheck = 1009,
    kMipLevelsList = 1002,
    kEtcMethodList = 1003,
    kColorCorrectionList = 1004,
    kSizeText = 1114,
    kZoomText = 1115,
};
inline constexpr int kFirstMipModeRadio = 1020;  // + MipMode
inline constexpr int kFirstFormatRadio = 1100;   // + TextureFormat
inline constexpr int kLastMipModeRadio = kFirstMipModeRadio + 2;
inline constexpr int kLastFormatRadio = kFirstFormatRadio + 13;

extern const ui::DialogTemplate kSaveOptionsTemplate;
extern const ui::DialogTemplate kAboutTemplate;

// Makes both templates known to the window system under the module; a second
// call changes nothing.
void RegisterDialogTemplates(ui::HINSTANCE module);

}  // namespace FormatPlugin
