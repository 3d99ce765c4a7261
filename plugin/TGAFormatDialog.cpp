#include "plugin/TGAFormatDialog.h"

#include <string>
#include <vector>

#include "plugin/DialogTemplates.h"
#include "plugin/OptionChoices.h"
#include "plugin/PluginConfiguration.h"
#include "plugin/launch/ConverterLaunch.h"
#include "ui/Controls.h"
#include "ui/Drawing.h"
#include "ui/Messages.h"
#include "ui/Styles.h"
#include "ui/Windows.h"

namespace FormatPlugin {

using namespace ImageLib;
using namespace ui;

namespace {

constexpr int32_t kPreviewWidth = 256;
constexpr int32_t kPreviewHeight = 320;
constexpr int32_t kMinTrackWidth = 220;

// The zoom row's controls after a resize: x, distance above the bottom edge, width, height.
struct BottomRowPlace {
    int id, x, fromBottom, width, height;
};
constexpr BottomRowPlace kBottomRow[] = {
    {kShowRgbCheck, 231, 34, 56, 24}, {kShowAlphaCheck, 294, 34, 56, 24}, {kZoomOutButton, 360, 31, 32, 20},
    {kZoomText, 401, 27, 40, 20},     {kZoomInButton, 449, 31, 32, 20},
};

void FillList(HWND dialog, int id, const std::vector<std::string>& entries) {
    for (const std::string& entry : entries) {
        SendDlgItemMessage(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
}

template <size_t N>
void FillList(HWND dialog, int id, const std::array<const char*, N>& entries) {
    for (const char* entry : entries) SendDlgItemMessage(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
}

void SelectEntry(HWND dialog, int id, int index) {
    SendDlgItemMessage(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool SameOptions(const ImageOptions& a, const ImageOptions& b) {
    return a.format == b.format && a.mipMode == b.mipMode && a.mipLevels == b.mipLevels &&
           a.etcQuality == b.etcQuality && a.etcEncoder == b.etcEncoder && a.tgaCompression == b.tgaCompression &&
           a.colorCorrection == b.colorCorrection && a.showProgress == b.showProgress && a.path == b.path &&
           a.source == b.source;
}

}  // namespace

TGAFormatDialog::TGAFormatDialog() {
    g_currentPreview = &preview;
    g_currentDialog = this;
}

TGAFormatDialog::~TGAFormatDialog() { PluginLaunch::CleanupTempFolder(); }

bool TGAFormatDialog::IsChecked(int controlId) const {
    return IsDlgButtonChecked(hwnd, controlId) == BST_CHECKED;
}

int TGAFormatDialog::SelectedEntry(int controlId) const {
    return static_cast<int>(SendDlgItemMessage(hwnd, controlId, CB_GETCURSEL, 0, 0));
}

void TGAFormatDialog::ShowPreview() { preview.SetBitmap(BuildPreview()); }

void TGAFormatDialog::OnInitDialog(LPARAM param) {
    PluginLaunch::CleanupTempFolder();
    SetWindowText(hwnd, kConfiguration.saveDialogTitle);
    const PluginGlobals* source = reinterpret_cast<const PluginGlobals*>(param);
    if (source == nullptr) return;
    globals = *source;
    if (globals.image == nullptr) return;
    ImageOptions& options = globals.options;

    showRGB = showAlpha = true;
    CheckDlgButton(hwnd, kShowRgbCheck, BST_CHECKED);
    CheckDlgButton(hwnd, kShowAlphaCheck, BST_CHECKED);
    maxLevels = MaxListedMipLevels(globals.image->width, globals.image->height);

    options.format = ProposedTextureFormat(globals.image->format);
    CheckRadioButton(hwnd, kFirstFormatRadio, kLastFormatRadio, kFirstFormatRadio + options.format);
    FillList(hwnd, kEtcMethodList, kEtcMethodEntries);
    SelectEntry(hwnd, kEtcMethodList, options.etcQuality);
    FillList(hwnd, kColorCorrectionList, kColorCorrectionEntries);
    EnableControls();
    CheckRadioButton(hwnd, kFirstMipModeRadio, kLastMipModeRadio, kFirstMipModeRadio + options.mipMode);
    FillList(hwnd, kMipLevelsList, MipLevelEntries(maxLevels));
    SelectEntry(hwnd, kMipLevelsList, EntryOfMipLevels(maxLevels, options.mipLevels));
    UpdateSizeText();
    CheckDlgButton(hwnd, kPreviewCheck, BST_CHECKED);

    if (preview.Create(hwnd)) ShowPreview();

    RECT client;
    GetClientRect(hwnd, &client);
    widthMargin = client.right - client.left - kPreviewWidth;
    heightMargin = client.bottom - client.top - kPreviewHeight;
    RECT frame;
    GetWindowRect(hwnd, &frame);
    minTrackWidth = kMinTrackWidth;
    minTrackHeight = frame.bottom - frame.top;
}

void TGAFormatDialog::EnableControls() {
    ImageOptions& options = globals.options;
    EnableWindow(GetDlgItem(hwnd, kEtcMethodList), options.format >= ETC1 && options.format <= ETC1_AUTO);
    const bool correctable = options.format > HILO8;
    EnableWindow(GetDlgItem(hwnd, kColorCorrectionList), correctable);
    if (!correctable) options.colorCorrection = NONE;
    SelectEntry(hwnd, kColorCorrectionList, options.colorCorrection);
}

void TGAFormatDialog::OnCommand(int controlId, int /*notificationCode*/) {
    if (hwnd == nullptr || PluginLaunch::g_converterBusy) return;
    ImageOptions& options = globals.options;
    const ImageOptions before = options;
    bool rebuild = false;
    if (controlId == kZoomInButton) {
        preview.SetZoom(preview.zoom * 2);
        SetDlgItemText(hwnd, kZoomText, ZoomText(preview.zoom).c_str());
        return;
    }
    if (controlId == kZoomOutButton) {
        preview.SetZoom(preview.zoom / 2);
        UpdateZoomText(preview.zoom);
        return;
    }
    if (controlId == kPreviewCheck) {
        if (IsChecked(kPreviewCheck)) {
            ShowPreview();
        } else {
            preview.SetBitmap(nullptr);
        }
        return;
    }
    if (controlId >= kFirstFormatRadio && controlId <= kLastFormatRadio) {
        if (!IsChecked(controlId)) return;
        options.format = controlId - kFirstFormatRadio;
        EnableControls();
    } else if (controlId >= kFirstMipModeRadio && controlId <= kLastMipModeRadio) {
        if (!IsChecked(controlId)) return;
        options.mipMode = controlId - kFirstMipModeRadio;
    } else if (controlId == kEtcMethodList) {
        const int entry = SelectedEntry(kEtcMethodList);
        if (entry >= 0) options.etcQuality = entry;
    } else if (controlId == kMipLevelsList) {
        const int entry = SelectedEntry(kMipLevelsList);
        if (entry >= 0) options.mipLevels = MipLevelsOfEntry(maxLevels, entry);
    } else if (controlId == kShowRgbCheck) {
        showRGB = IsChecked(kShowRgbCheck);
        rebuild = true;
    } else if (controlId == kShowAlphaCheck) {
        showAlpha = IsChecked(kShowAlphaCheck);
        rebuild = true;
    } else if (controlId == kColorCorrectionList) {
        const int entry = SelectedEntry(kColorCorrectionList);
        if (entry >= 0) options.colorCorrection = entry;
        rebuild = options.colorCorrection != before.colorCorrection;
    } else {
        return;
    }
    UpdateSizeText();
    if (IsChecked(kPreviewCheck) && (rebuild || !SameOptions(before, options))) ShowPreview();
}

void TGAFormatDialog::Apply(PluginGlobals* target) {
    if (target != nullptr) *target = globals;
}

void TGAFormatDialog::OnSize(int /*sizeType*/, int width, int height) {
    preview.Resize(width - widthMargin, height - heightMargin);
    for (const BottomRowPlace& place : kBottomRow) {
        HWND control = GetDlgItem(hwnd, place.id);
        if (control != nullptr) MoveWindow(control, place.x, height - place.fromBottom, place.width, place.height, FALSE);
    }
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateWindow(hwnd);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE);
}

void TGAFormatDialog::UpdateSizeText() {
    // Without a document the template's text stays.
    if (globals.image == nullptr) return;
    SetDlgItemText(hwnd, kSizeText, SizeText(TextureDataSizeOf(*globals.image, globals.options)).c_str());
}

void TGAFormatDialog::UpdateZoomText(int32_t zoom) { SetDlgItemText(hwnd, kZoomText, ZoomText(zoom).c_str()); }

}  // namespace FormatPlugin
