// The progress window's side of the converter's calls: messages by level on
// the dialog, the caption, and the module's export.
#include <cstdint>

#include "converter/ProgressWindow.h"
#include "converter/ProgressWindowCalls.h"

namespace {

bool StartWindow() { return StartProgressWindow() != nullptr; }

void SetCaption(const char* caption) {
    if (CProgressDlg* dialog = g_progressDialog.load()) ui::SetWindowText(dialog->GetSafeHwnd(), caption);
}

void TellOfMail() { ui::PostMessage(g_progressWindow.load(), WM_PROGRESS_MAIL, 0, 0); }

bool ShowOnDialog(MessageLevel level, MessageText& text) {
    CProgressDlg* dialog = g_progressDialog.load();
    if (dialog == nullptr) return false;
    ui::HWND window = dialog->GetSafeHwnd();
    switch (static_cast<uint32_t>(level)) {
        case static_cast<uint32_t>(MessageLevel::Status):
            g_progressMailbox.DropText();  // an older progress line must not cover this one
            ui::SendMessage(window, WM_PROGRESS_SETTEXT, reinterpret_cast<ui::WPARAM>(text), 0);
            break;
        case static_cast<uint32_t>(MessageLevel::Information):
            ui::MessageBox(window, text, "Information", ui::MB_ICONINFORMATION | ui::MB_OK);
            break;
        case static_cast<uint32_t>(MessageLevel::Error):
            ui::MessageBox(window, text, "Error", ui::MB_ICONEXCLAMATION | ui::MB_OK);
            break;
        case static_cast<uint32_t>(MessageLevel::Progress):
            // The encoder reports every block near the end of a level: the
            // conversion leaves each line and goes on, and the window shows
            // the newest when it gets to it.
            CutAtBackspace(text);
            if (g_progressMailbox.Leave(text, ProgressPosition(text), MailClock::now())) TellOfMail();
            break;
        default:
            break;
    }
    return true;
}

void ShowWaitingProgress() {
    if (g_progressMailbox.TellWaiting(MailClock::now())) TellOfMail();
}

bool IsOpen() { return g_progressWindow.load() != nullptr; }

void CloseWindow() { CloseProgressWindow(); }

}  // namespace

const ProgressWindowCalls kProgressWindowCalls = {StartWindow,         SetCaption, ShowOnDialog,
                                                ShowWaitingProgress, IsOpen,     CloseWindow};
