// The progress dialog: one line of text over a bar, placed at the bottom-right
// of the work area above every other window. Its three messages come from the
// main thread, always synchronously when they carry a text.
#pragma once

#include "ui/WindowSystem.h"

inline constexpr int kProgressDialogId = 101;
inline constexpr int kProgressTextId = -1;
inline constexpr int kProgressBarId = 1001;

// wParam: the NUL-terminated text for the text line.
inline constexpr ui::UINT WM_PROGRESS_SETTEXT = 0x500;
// wParam, lParam: the bar's lower and upper bound.
inline constexpr ui::UINT WM_PROGRESS_SETRANGE = 0x501;
// wParam: the bar's position.
inline constexpr ui::UINT WM_PROGRESS_SETPOS = 0x502;

// Template 101, in dialog units.
extern const ui::DialogTemplate kProgressDialogTemplate;

// Made on the progress thread with `new`; deletes itself once its window is gone.
class CProgressDlg : public ui::CDialogEx {
public:
    explicit CProgressDlg(ui::HWND parent) : CDialogEx(kProgressDialogId, parent) {}

protected:
    ui::BOOL OnInitDialog() override;
    bool OnMessage(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam, ui::LRESULT& result) override;
    void PostNcDestroy() override;

private:
    ui::LRESULT OnSetText(ui::WPARAM wParam, ui::LPARAM lParam);
    ui::LRESULT OnSetRange(ui::WPARAM wParam, ui::LPARAM lParam);
    ui::LRESULT OnSetPos(ui::WPARAM wParam, ui::LPARAM lParam);
};
