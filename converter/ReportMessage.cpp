#include "converter/ReportMessage.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "converter/ProgressText.h"
#include "converter/ProgressWindow.h"

namespace {

void ShowOnDialog(CProgressDlg* dialog, MessageLevel level, char* text) {
    ui::HWND window = dialog->GetSafeHwnd();
    switch (static_cast<uint32_t>(level)) {
        case static_cast<uint32_t>(MessageLevel::Status):
            ui::SendMessage(window, WM_PROGRESS_SETTEXT, reinterpret_cast<ui::WPARAM>(text), 0);
            break;
        case static_cast<uint32_t>(MessageLevel::Information):
            ui::MessageBox(window, text, "Information", ui::MB_ICONINFORMATION | ui::MB_OK);
            break;
        case static_cast<uint32_t>(MessageLevel::Error):
            ui::MessageBox(window, text, "Error", ui::MB_ICONEXCLAMATION | ui::MB_OK);
            break;
        case static_cast<uint32_t>(MessageLevel::Progress): {
            CutAtBackspace(text);
            ui::SendMessage(window, WM_PROGRESS_SETTEXT, reinterpret_cast<ui::WPARAM>(text), 0);
            // The position carries no text, so it need not hold the conversion
            // up for a second round trip: the dialog takes it from its queue.
            if (std::optional<int32_t> position = ProgressPosition(text)) {
                ui::PostMessage(window, WM_PROGRESS_SETPOS, static_cast<ui::WPARAM>(*position), 0);
            }
            break;
        }
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
