// A drop-down list opens as a pop-up right below its field, where the field
// really is on the screen, and a click on one of its rows selects that entry.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "ui_x11/X11TestSupport.h"

namespace {

using namespace ui;
using X11Test::WaitUntil;
using x11probe::X11Probe;

constexpr int kTemplateId = 4200;
constexpr int kCombo = 1002;
constexpr INT_PTR kSelectedBase = 100;  // the dialog ends with this plus the entry chosen
constexpr INT_PTR kGaveUp = -5;
constexpr UINT kGiveUp = WM_USER + 1;
constexpr const char* kEntries[] = {"One", "Two", "Three"};

constexpr DialogItem kItems[] = {
    {kComboBoxClass, "", kCombo, CBS_DROPDOWNLIST | WS_TABSTOP | WS_VISIBLE, 0, 10, 10, 100, 60},
};
constexpr DialogTemplate kTemplate{WS_POPUP | WS_CAPTION | DS_MODALFRAME, 0, 0, 0, 150, 80, "Drop-down list",
                                   "MS Shell Dlg", 8, kItems};
const char kModule = 0;

HINSTANCE Module() { return reinterpret_cast<HINSTANCE>(const_cast<char*>(&kModule)); }

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
void ChooseSecondEntry(SeenList& seen) {
    X11Probe probe;
    uint64_t dialog = 0;
    uint64_t list = 0;
    if (probe.Connected() &&
        WaitUntil([&] { return g_dialog.load() && (dialog = probe.FindManaged("Drop-down list")) != 0; })) {
        const RECT client = probe.Client(dialog);
        const POINT field{client.left + (g_field.left + g_field.right) / 2, client.top + (g_field.top + g_field.bottom) / 2};
        X11Test::Xdotool({"windowactivate", "--sync", std::to_string(dialog), "mousemove", std::to_string(field.x),
                          std::to_string(field.y), "click", "1"});
        seen.opened = WaitUntil([&] {
            const auto popUps = probe.PopUps();
            return popUps.size() == 1 && (list = popUps[0]) != 0;
        });
        if (seen.opened) {
            seen.list = probe.Client(list);
            seen.expected = RECT{client.left + g_field.left, client.top + g_field.bottom, client.left + g_field.right,
                                 client.top + g_field.bottom + (seen.list.bottom - seen.list.top)};
            const int rowHeight = (seen.list.bottom - seen.list.top - 2) / 3;
            X11Test::Xdotool({"mousemove", "--window", std::to_string(list), "10", std::to_string(1 + rowHeight * 3 / 2),
                              "click", "1"});
        }
        WaitUntil([] { return !IsWindow(g_dialog.load()); });
    }
    if (HWND left = g_dialog.load(); IsWindow(left)) PostMessage(left, kGiveUp, 0, 0);
}

class DropDownList : public X11Test::XServerTest {};

TEST_F(DropDownList, OpensBelowItsFieldAndTakesAClick) {
    ASSERT_TRUE(RegisterDialogTemplate(Module(), kTemplateId, &kTemplate));
    SeenList seen;
    std::thread person(ChooseSecondEntry, std::ref(seen));
    const INT_PTR result = DialogBoxParam(Module(), kTemplateId, nullptr, DropDownProcedure, 0);
    person.join();
    UnregisterDialogTemplates(Module());
    ASSERT_TRUE(seen.opened) << "no list opened";
    EXPECT_EQ(X11Test::Describe(seen.list), X11Test::Describe(seen.expected));
    EXPECT_EQ(result, kSelectedBase + 1);
}

}  // namespace
