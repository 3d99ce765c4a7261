// What a person does on the X server (clicks, keys, the close button) reaches
// the window system's dialogs and windows as their messages.
#include <gtest/gtest.h>

#include "ui_x11/X11TestSupport.h"

namespace {

using namespace ui;
using X11Test::kGaveUp;
using X11Test::kGiveUp;

constexpr int kGoButton = 1001;
constexpr INT_PTR kClosed = 77;  // ended by WM_CLOSE

// The focus starts on OK, the first tab stop; Tab moves it to Go.
constexpr DialogItem kItems[] = {
    {kButtonClass, "OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 0, 80, 10, 60, 14},
    {kButtonClass, "Go", kGoButton, BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 0, 10, 10, 60, 14},
};
constexpr DialogTemplate kTemplate{WS_POPUP | WS_CAPTION | DS_MODALFRAME, 0, 0, 0, 150, 34, "Input", "MS Shell Dlg",
                                   8, kItems};
// What the dialog's thread learnt, for the thread that plays the person.
std::atomic<HWND> g_dialog{nullptr};
std::atomic<WPARAM> g_lastCommand{0};
POINT g_goCentre;  // in the client area; written before g_dialog is published
std::string g_title;

INT_PTR InputDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: {
            SetWindowText(dialog, g_title.c_str());
            RECT go;
            POINT origin{0, 0};
            GetWindowRect(GetDlgItem(dialog, kGoButton), &go);
            ClientToScreen(dialog, &origin);
            g_goCentre = POINT{(go.left + go.right) / 2 - origin.x, (go.top + go.bottom) / 2 - origin.y};
            g_dialog = dialog;
            return TRUE;
        }
        case WM_COMMAND:
            g_lastCommand = wParam;
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        case WM_CLOSE:
            EndDialog(dialog, kClosed);
            return TRUE;
        case kGiveUp:
            EndDialog(dialog, kGaveUp);
            return TRUE;
        default:
            return FALSE;
    }
}

enum class Action { Enter, Escape, TabThenEnter, ClickGo, CloseButton };

struct InputCase {
    const char* name;
    Action action;
    INT_PTR result;
    WPARAM command;  // the WM_COMMAND's wParam, 0 for none
};

void PrintTo(const InputCase& inputCase, std::ostream* out) { *out << inputCase.name; }

// The person, once the dialog is on the server.
void Act(Action action, x11probe::X11Probe& probe, uint64_t shown) {
    const std::string window = std::to_string(shown);
    // Keys go to the active window as a person types them. (Naming the window
    // to xdotool would make it look at the window again between press and
    // release, fail as the dialog has ended, and leave the key held down.)
    switch (action) {
        case Action::Enter:
            X11Test::Xdotool({"windowactivate", "--sync", window, "key", "Return"});
            break;
        case Action::Escape:
            X11Test::Xdotool({"windowactivate", "--sync", window, "key", "Escape"});
            break;
        case Action::TabThenEnter:
            X11Test::Xdotool({"windowactivate", "--sync", window, "key", "Tab", "Return"});
            break;
        case Action::ClickGo:
            // The server takes the move before the click, as both come from one
            // client. (A synchronous move waits long when the pointer is there already.)
            X11Test::Xdotool({"windowactivate", "--sync", window, "mousemove", "--window", window,
                              std::to_string(g_goCentre.x), std::to_string(g_goCentre.y), "click", "1"});
            break;
        case Action::CloseButton:
            probe.RequestClose(shown);
            break;
    }
}

class DialogInput : public X11Test::XServerParamTest<InputCase> {};

TEST_P(DialogInput, ReachesTheDialog) {
    const InputCase& inputCase = GetParam();
    g_title = std::string("Input ") + inputCase.name;
    g_dialog = nullptr;
    g_lastCommand = 0;
    const INT_PTR result = X11Test::RunModal(kTemplate, InputDialogProcedure, g_dialog, g_title,
                                             [&](x11probe::X11Probe& probe, uint64_t shown) {
                                                 Act(inputCase.action, probe, shown);
                                             });
    EXPECT_EQ(result, inputCase.result);
    EXPECT_EQ(g_lastCommand.load(), inputCase.command);
}

INSTANTIATE_TEST_SUITE_P(
    Actions, DialogInput,
    testing::Values(InputCase{"Enter", Action::Enter, IDOK, MAKEWPARAM(IDOK, BN_CLICKED)},
                    InputCase{"Escape", Action::Escape, IDCANCEL, MAKEWPARAM(IDCANCEL, BN_CLICKED)},
                    InputCase{"TabThenEnter", Action::TabThenEnter, kGoButton, MAKEWPARAM(kGoButton, BN_CLICKED)},
                    InputCase{"Click", Action::ClickGo, kGoButton, MAKEWPARAM(kGoButton, BN_CLICKED)},
                    InputCase{"CloseButton", Action::CloseButton, kClosed, 0}),
    [](const testing::TestParamInfo<InputCase>& info) { return info.param.name; });

// The close button of a plain window sends it WM_CLOSE; the window decides.
class CloseButton : public X11Test::XServerTest {};

TEST_F(CloseButton, SendsWmClose) {
    HWND window = X11Test::CreateTopLevel("Closable", WS_OVERLAPPEDWINDOW, 0, RECT{300, 300, 600, 500});
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    const uint64_t shown = X11Test::WaitForManaged(probe, window, "Closable");
    ASSERT_NE(shown, 0u);
    probe.RequestClose(shown);
    EXPECT_TRUE(X11Test::PumpUntil(window, [&] { return X11Test::CloseRequestsOf(window) == 1; }));
    EXPECT_TRUE(IsWindow(window));  // its procedure kept it
    DestroyWindow(window);
}

}  // namespace
