#include "converter/ProgressDialog.h"

#include <array>

namespace {

constexpr std::array<ui::DialogItem, 2> kProgressDialogItems = {{
    {ui::kStaticClass, "メッセージ", kProgressTextId, ui::WS_VISIBLE | ui::WS_GROUP | ui::SS_LEFT, 0, 7, 7, 325, 8},
    {ui::kProgressClass, "", kProgressBarId, ui::WS_VISIBLE | ui::WS_BORDER, 0, 7, 18, 325, 14},
}};

// Gaps between the dialog and the work area's right and bottom edges, in pixels.
constexpr int kRightGap = 8;
constexpr int kBottomGap = 4;

}  // namespace

constinit const ui::DialogTemplate kProgressDialogTemplate = {
    ui::WS_POPUP | ui::WS_CAPTION | ui::DS_MODALFRAME | ui::DS_SETFONT | ui::DS_FIXEDSYS,
    ui::WS_EX_TOOLWINDOW,
    0,
    0,
    339,
    39,
    "Dialog",
    "MS Shell Dlg",
    8,
    kProgressDialogItems,
};

ui::BOOL CProgressDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    SetDlgItemText(kProgressTextId, "");
    ::ui::SendDlgItemMessage(m_hWnd, kProgressBarId, ui::PBM_SETRANGE, 0, ui::MAKELPARAM(0, 100));

    ui::RECT workArea;
    ui::SystemParametersInfo(ui::SPI_GETWORKAREA, 0, &workArea, 0);
    ui::RECT frame;
    GetWindowRect(&frame);
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    SetWindowPos(ui::HWND_TOPMOST, workArea.right - kRightGap - width, workArea.bottom - kBottomGap - height, width,
                 height, ui::SWP_SHOWWINDOW);
    return ui::TRUE;
}

bool CProgressDlg::OnMessage(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam, ui::LRESULT& result) {
    switch (message) {
        case WM_PROGRESS_SETTEXT: result = OnSetText(wParam, lParam); return true;
        case WM_PROGRESS_SETRANGE: result = OnSetRange(wParam, lParam); return true;
        case WM_PROGRESS_SETPOS: result = OnSetPos(wParam, lParam); return true;
        default: return false;
    }
}

void CProgressDlg::PostNcDestroy() { delete this; }

ui::LRESULT CProgressDlg::OnSetText(ui::WPARAM wParam, ui::LPARAM) {
    SetDlgItemText(kProgressTextId, reinterpret_cast<const char*>(wParam));
    return 1;
}

ui::LRESULT CProgressDlg::OnSetRange(ui::WPARAM wParam, ui::LPARAM lParam) {
    if (ui::HWND bar = GetDlgItem(kProgressBarId)) ui::SendMessage(bar, ui::PBM_SETRANGE32, wParam, lParam);
    return 1;
}

ui::LRESULT CProgressDlg::OnSetPos(ui::WPARAM wParam, ui::LPARAM) {
    ui::HWND bar = GetDlgItem(kProgressBarId);
    int position = static_cast<int>(wParam);
    if (bar != nullptr && static_cast<int>(ui::SendMessage(bar, ui::PBM_GETPOS, 0, 0)) != position) {
        ui::SendMessage(bar, ui::PBM_SETPOS, wParam, 0);
    }
    return 1;
}
