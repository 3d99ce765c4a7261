// A drop-down list opens as a pop-up right below its field, where the field
// really is on the screen, and a click on one of its rows selects that entry.
#include <gtest/gtest.h>

#include "ui_x11/X11TestSupport.h"

namespace {

using namespace ui;
using X11Test::kGaveUp;
using X11Test::kGiveUp;

constexpr int kCombo = 1002;
constexpr INT_PTR kSelectedBase = 100;  // the dialog ends with this plus the entry chosen
constexpr const char* kEntries[] = {"One", "Two", "Three"};

constexpr DialogItem kItems[] = {
    {kComboBoxClass, "", kCombo, CBS_DROPDOWNLIST | WS_TABSTOP | WS_VISIBLE, 0, 10, 10, 100, 60},
};
constexpr DialogTemplate kTemplate{WS_POPUP | WS_CAPTION | DS_MODALFRAME, 0, 0, 0, 150, 80, "Drop-down list",
                                   "MS Shell Dlg", 8, kItems};
std::atomic<HWND> g_dialog{nullptr};
RECT g_field;  // the combo box in the dialog's client area; written before g_dialog is published

INT_PTR DropDownProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: {
            for (const char* entry : kEntries) SendDlgItemMessage(dialog, kCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
            RECT field;
            POINT origin{0, 0};
            GetWindowRect(GetDlgItem(dialog, kCombo), &field);
            ClientToScreen(dialog, &origin);
            g_field = RECT{field.left - origin.x, field.top - origin.y, field.right - origin.x, field.bottom - origin.y};
            g_dialog = dialog;
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == kCombo && HIWORD(wParam) == CBN_SELCHANGE) {
                EndDialog(dialog, kSelectedBase + SendDlgItemMessage(dialog, kCombo, CB_GETCURSEL, 0, 0));
            }
            return TRUE;
        case kGiveUp:
            EndDialog(dialog, kGaveUp);
            return TRUE;
        default:
            return FALSE;
    }
}

struct SeenList {
    bool opened = false;
    RECT list;       // on the screen
    RECT expected;   // right below the field, as wide as it
};

// The person: opens the list with a click on the field, then clicks its second row.
void ChooseSecondEntry(x11probe::X11Probe& probe, uint64_t dialog, SeenList& seen) {
    const RECT client = probe.Client(dialog);
    const POINT field{client.left + (g_field.left + g_field.right) / 2, client.top + (g_field.top + g_field.bottom) / 2};
    X11Test::Xdotool({"windowactivate", "--sync", std::to_string(dialog), "mousemove", std::to_string(field.x),
                      std::to_string(field.y), "click", "1"});
    uint64_t list = 0;
    seen.opened = X11Test::WaitUntil([&] {
        const auto popUps = probe.PopUps();
        return popUps.size() == 1 && (list = popUps[0]) != 0;
    });
    if (!seen.opened) return;
    seen.list = probe.Client(list);
    seen.expected = RECT{client.left + g_field.left, client.top + g_field.bottom, client.left + g_field.right,
                         client.top + g_field.bottom + (seen.list.bottom - seen.list.top)};
    const int rowHeight = (seen.list.bottom - seen.list.top - 2) / 3;
    X11Test::Xdotool({"mousemove", "--window", std::to_string(list), "10", std::to_string(1 + rowHeight * 3 / 2),
                      "click", "1"});
}

class DropDownList : public X11Test::XServerTest {};

TEST_F(DropDownList, OpensBelowItsFieldAndTakesAClick) {
    SeenList seen;
    g_dialog = nullptr;
    const INT_PTR result = X11Test::RunModal(kTemplate, DropDownProcedure, g_dialog, "Drop-down list",
                                             [&](x11probe::X11Probe& probe, uint64_t shown) {
                                                 ChooseSecondEntry(probe, shown, seen);
                                             });
    ASSERT_TRUE(seen.opened) << "no list opened";
    EXPECT_EQ(X11Test::Describe(seen.list), X11Test::Describe(seen.expected));
    EXPECT_EQ(result, kSelectedBase + 1);
}

}  // namespace
