#include "tools/editor-host/DialogScriptRunner.h"

#include <cstdio>
#include <utility>

#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/MemoryDisplay.h"
#include "ui/Messages.h"
#include "ui/Styles.h"
#include "ui/Windows.h"

namespace EditorHost {

using namespace ui;

namespace {

constexpr const char* kStepClassName = "EditorHostDialogScript";
constexpr UINT kStepMessage = WM_USER + 1;

std::string WindowText(HWND window) {
    char text[1024] = {};
    GetWindowText(window, text, sizeof text);
    return text;
}

// The child without a control id: the dialog's preview window.
HWND PreviewWindow(HWND dialog) { return GetDlgItem(dialog, 0); }

}  // namespace

DialogScriptRunner::DialogScriptRunner(std::vector<DialogAction> actions, std::string caption, HWND hostWindow)
    : actions_(std::move(actions)), caption_(std::move(caption)), hostWindow_(hostWindow) {}

DialogScriptRunner::~DialogScriptRunner() {
    if (stepWindow_ != nullptr) DestroyWindow(stepWindow_);
    UnregisterClass(kStepClassName, nullptr);
}

bool DialogScriptRunner::Start() {
    WNDCLASSEX windowClass;
    windowClass.lpfnWndProc = StepProcedure;
    windowClass.lpszClassName = kStepClassName;
    RegisterClassEx(&windowClass);
    stepWindow_ = CreateWindowEx(0, kStepClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (stepWindow_ == nullptr) return false;
    SetWindowLongPtr(stepWindow_, GWLP_USERDATA, reinterpret_cast<intptr_t>(this));
    PostStep();
    return true;
}

bool DialogScriptRunner::Finish(std::string& error) const {
    if (!error_.empty()) {
        error = error_;
    } else if (dialog_ == nullptr) {
        error = "the dialog \"" + caption_ + "\" never appeared";
    } else if (next_ < actions_.size()) {
        error = "the dialog closed before \"" + actions_[next_].text + "\"";
    } else {
        return true;
    }
    return false;
}

LRESULT DialogScriptRunner::StepProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kStepMessage) return DefWindowProc(window, message, wParam, lParam);
    auto* runner = reinterpret_cast<DialogScriptRunner*>(GetWindowLongPtr(window, GWLP_USERDATA));
    if (runner != nullptr) runner->Step();
    return 0;
}

void DialogScriptRunner::PostStep() { PostMessage(stepWindow_, kStepMessage, 0, 0); }

HWND DialogScriptRunner::FrontWindow() const {
    for (HWND window : memory::TopLevelWindows()) {
        if (window != hostWindow_ && window != stepWindow_ && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

void DialogScriptRunner::CloseMessageBox(HWND box) {
    std::fprintf(stderr, "editor-host: closing the message box \"%s\": %s\n", WindowText(box).c_str(),
                 WindowText(GetDlgItem(box, -1)).c_str());
    HWND ok = GetDlgItem(box, IDOK);
    if (ok != nullptr) {
        SendMessage(ok, BM_CLICK, 0, 0);
    } else {
        memory::CloseWindow(box);
    }
}

void DialogScriptRunner::Step() {
    if (!error_.empty() || (dialog_ != nullptr && !IsWindow(dialog_))) return;
    HWND front = FrontWindow();
    if (front != nullptr && WindowText(front) != caption_) {
        // A box over the dialog (a failed preview's message) waits for a person;
        // close it, and go on once the action that opened it has returned.
        CloseMessageBox(front);
        PostStep();
        return;
    }
    if (running_) {
        PostStep();
        return;
    }
    if (dialog_ == nullptr) {
        if (front == nullptr) {
            PostStep();  // not shown yet
            return;
        }
        dialog_ = front;
    }
    if (next_ == actions_.size()) {
        Fail("the dialog is still open after the last action");
        return;
    }
    // Queued first, so that it comes after the action, however long that takes.
    PostStep();
    running_ = true;
    const bool done = Run(actions_[next_]);
    running_ = false;
    if (done) ++next_;
}

void DialogScriptRunner::Fail(const std::string& reason) {
    error_ = reason;
    if (IsWindow(dialog_)) EndDialog(dialog_, IDCANCEL);
}

bool DialogScriptRunner::Run(const DialogAction& action) {
    const bool needsControl = action.kind == DialogActionKind::Click || action.kind == DialogActionKind::Select;
    HWND control = needsControl ? GetDlgItem(dialog_, action.id) : nullptr;
    if (needsControl && control == nullptr) {
        Fail("\"" + action.text + "\": the dialog has no control " + std::to_string(action.id));
        return false;
    }
    switch (action.kind) {
        case DialogActionKind::Ok:
        case DialogActionKind::Cancel:
            control = GetDlgItem(dialog_, action.kind == DialogActionKind::Ok ? IDOK : IDCANCEL);
            if (control == nullptr) {
                Fail("\"" + action.text + "\": the dialog has no such button");
                return false;
            }
            [[fallthrough]];
        case DialogActionKind::Click:
            // A click on a control that is disabled or hidden does nothing.
            if (IsWindowEnabled(control) && IsWindowVisible(control)) SendMessage(control, BM_CLICK, 0, 0);
            return true;
        case DialogActionKind::Select: {
            const LRESULT count = SendMessage(control, CB_GETCOUNT, 0, 0);
            if (action.index >= count) {
                Fail("\"" + action.text + "\": the list has " + std::to_string(count) + " entries");
                return false;
            }
            if (!IsWindowEnabled(control) || !IsWindowVisible(control)) return true;
            // As a person's choice: the list opens, the entry is chosen, the list closes.
            SendMessage(control, CB_SHOWDROPDOWN, TRUE, 0);
            if (SendMessage(control, CB_GETCURSEL, 0, 0) != action.index) {
                SendMessage(control, CB_SETCURSEL, static_cast<WPARAM>(action.index), 0);
                SendMessage(dialog_, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(action.id), CBN_SELCHANGE),
                            reinterpret_cast<LPARAM>(control));
            }
            SendMessage(control, CB_SHOWDROPDOWN, FALSE, 0);
            return true;
        }
        case DialogActionKind::Size: {
            RECT frame;
            RECT client;
            GetWindowRect(dialog_, &frame);
            GetClientRect(dialog_, &client);
            const int width = action.width + (frame.right - frame.left) - (client.right - client.left);
            const int height = action.height + (frame.bottom - frame.top) - (client.bottom - client.top);
            SetWindowPos(dialog_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
            return true;
        }
        case DialogActionKind::Scroll: {
            HWND preview = PreviewWindow(dialog_);
            if (preview == nullptr) {
                Fail("\"" + action.text + "\": the dialog has no preview");
                return false;
            }
            SendMessage(preview, action.horizontal ? WM_HSCROLL : WM_VSCROLL,
                        MAKEWPARAM(static_cast<WORD>(action.request), static_cast<WORD>(action.position)), 0);
            return true;
        }
        case DialogActionKind::Shot:
            if (!memory::WritePng(dialog_, action.file)) {
                Fail("\"" + action.text + "\": cannot write " + action.file);
                return false;
            }
            return true;
    }
    return false;
}

}  // namespace EditorHost
