#include "converter/ReportMessage.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>

#include "converter/ProgressText.h"
#include "converter/ProgressWindow.h"

namespace {

void ShowOnDialog(CProgressDlg* dialog, MessageLevel level, char* text) {
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
            if (g_progressMailbox.Leave(text, ProgressPosition(text))) {
                ui::PostMessage(g_progressWindow.load(), WM_PROGRESS_MAIL, 0, 0);
            }
            break;
        default:
            break;
    }
}

}  // namespace

void ReportMessage(MessageLevel level, const char* format, ...) {
    va_list args;
    va_start(args, format);
    CProgressDlg* dialog = g_progressDialog.load();
    if (dialog == nullptr) {
        std::vprintf(format, args);
        std::fflush(stdout);
    } else {
        MessageText text;
        FormatMessageText(text, format, args);
        ShowOnDialog(dialog, level, text);
    }
    va_end(args);
}
