#include "plugin/DialogTemplates.h"

#include <array>

#include "plugin/PluginConfiguration.h"
#include "plugin/SaveOptions.h"
#include "ui/Controls.h"
#include "ui/Messages.h"
#include "ui/Styles.h"

namespace FormatPlugin {

using namespace ui;

namespace {

// Every control is a visible child.
constexpr DWORD kVisible = WS_VISIBLE;
constexpr DWORD kPush = kVisible | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kRadio = kVisible | BS_AUTORADIOBUTTON;
constexpr DWORD kFirstRadio = kRadio | WS_GROUP | WS_TABSTOP;
constexpr DWORD kCheck = kVisible | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kList = kVisible | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD kGroupBox = kVisible | BS_GROUPBOX;
constexpr DWORD kCentredText = kVisible | WS_GROUP | SS_CENTER;

constexpr std::array<DialogItem, 33> kSaveOptionsItems = {{
    {kButtonClass, "&OK", IDOK, kVisible | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 4, 269, 54, 14},
    {kButtonClass, "&Cancel", IDCANCEL, kPush, 0, 63, 269, 54, 14},
    {kButtonClass, "-", kZoomOutButton, kPush, 0, 205, 248, 19, 14},
    {kButtonClass, "+", kZoomInButton, kPush, 0, 256, 248, 19, 14},
    {kButtonClass, "L4", 1100, kFirstRadio, 0, 11, 18, 23, 10},
    {kButtonClass, "L8", 1101, kRadio, 0, 11, 30, 23, 10},
    {kButtonClass, "A4", 1102, kRadio, 0, 11, 43, 24, 10},
    {kButtonClass, "A8", 1103, kRadio, 0, 11, 56, 24, 10},
    {kButtonClass, "LA4", 1104, kRadio, 0, 11, 69, 27, 10},
    {kButtonClass, "LA8", 1105, kRadio, 0, 11, 82, 33, 10},
    {kButtonClass, "HILO8", 1106, kRadio, 0, 11, 95, 34, 10},
    {kButtonClass, "RGB565", 1107, kRadio, 0, 56, 18, 40, 10},
    {kButtonClass, "RGB8", 1108, kRadio, 0, 56, 30, 33, 10},
    {kButtonClass, "RGB5_A1", 1109, kRadio, 0, 56, 43, 43, 10},
    {kButtonClass, "RGBA4", 1110, kRadio, 0, 56, 56, 38, 10},
    {kButtonClass, "RGBA8", 1111, kRadio, 0, 56, 69, 38, 10},
    {kButtonClass, "ETC1", 1112, kRadio, 0, 56, 82, 33, 10},
    {kButtonClass, "ETC1_A4", 1113, kRadio, 0, 56, 95, 40, 10},
    {kButtonClass, "No MipMap", 1020, kFirstRadio, 0, 11, 128, 45, 10},
    {kButtonClass, "Generate MipMap", 1021, kRadio, 0, 11, 140, 63, 10},
    {kButtonClass, "Use MipMap", 1022, kRadio | WS_DISABLED, 0, 11, 152, 63, 10},
    {kComboBoxClass, "", kMipLevelsList, kList, 0, 76, 137, 35, 70},
    {kComboBoxClass, "", kEtcMethodList, kList, 0, 11, 185, 86, 80},
    {kButtonClass, "Preview", kPreviewCheck, kCheck, 0, 84, 249, 34, 10},
    {kButtonClass, "Format", -1, kGroupBox, 0, 4, 5, 113, 107},
    {kButtonClass, "MipMap", -1, kGroupBox, 0, 4, 115, 113, 53},
    {kButtonClass, "ETC Encoding", -1, kGroupBox, 0, 4, 171, 113, 33},
    {kStaticClass, "Size", kSizeText, kCentredText, 0, 4, 250, 77, 8},
    {kStaticClass, "100 %", kZoomText, kCentredText, 0, 230, 251, 21, 8},
    {kButtonClass, "RGB", kShowRgbCheck, kCheck, 0, 132, 249, 28, 10},
    {kButtonClass, "Alpha", kShowAlphaCheck, kCheck, 0, 168, 249, 28, 10},
    {kButtonClass, "Color Correction", -1, kGroupBox, 0, 4, 208, 113, 33},
    {kComboBoxClass, "", kColorCorrectionList, kList, 0, 12, 220, 86, 80},
}};

constexpr std::array<DialogItem, 3> kAboutItems = {{
    {kStaticClass, kConfiguration.moduleName, -1, kVisible | SS_CENTER, 0, 8, 8, 144, 10},
    {kStaticClass, "Format plug-in, version 1.0", -1, kVisible | SS_CENTER, 0, 8, 20, 144, 10},
    {kButtonClass, "OK", IDOK, kVisible | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 55, 36, 50, 14},
}};

// The project's font stands where the resources named a Japanese one.
constexpr const char* kFontName = "DejaVu Sans";

}  // namespace

constexpr DialogTemplate kSaveOptionsTemplate = {
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_SETFONT, 0, 0, 0, 282, 292,
    "BW_TGA/FENK Save Options", kFontName, 9, kSaveOptionsItems,
};

constexpr DialogTemplate kAboutTemplate = {
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0, 0, 0, 160, 56,
    "About", kFontName, 9, kAboutItems,
};

void RegisterDialogTemplates(HINSTANCE module) {
    // A template already registered for the module is the same table.
    RegisterDialogTemplate(module, kSaveOptionsDialogId, &kSaveOptionsTemplate);
    RegisterDialogTemplate(module, kAboutDialogId, &kAboutTemplate);
}

}  // namespace FormatPlugin
