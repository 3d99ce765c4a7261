// Controls clicked the way a person would: radio groups, check boxes, the
// drop-down list with its pop-up, and the progress bar's messages and picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "UiTestSupport.h"

using namespace ui;

namespace {

constexpr DialogItem kItems[] = {
    {kButtonClass, "L4", 1100, WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 0, 11, 18, 40, 10},
    {kButtonClass, "L8", 1101, WS_VISIBLE | BS_AUTORADIOBUTTON, 0, 11, 30, 40, 10},
    {kButtonClass, "A4", 1102, WS_VISIBLE | BS_AUTORADIOBUTTON, 0, 11, 43, 40, 10},
    {kButtonClass, "No MipMap", 1020, WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 0, 11, 70, 60, 10},
    {kButtonClass, "Generate MipMap", 1021, WS_VISIBLE | BS_AUTORADIOBUTTON, 0, 11, 82, 60, 10},
    {kComboBoxClass, "", 1003, WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 90, 18, 80, 70},
    {kButtonClass, "Preview", 1007, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 90, 60, 50, 10},
    {kButtonClass, "Format", -1, WS_VISIBLE | BS_GROUPBOX, 0, 4, 5, 80, 52},
    {kStaticClass, "Size", 1114, WS_VISIBLE | WS_GROUP | SS_CENTER, 0, 90, 80, 60, 8},
    {kProgressClass, "", 1001, WS_VISIBLE | WS_BORDER, 0, 4, 100, 60, 10},
};
constexpr DialogTemplate kDialog{WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 10, 10, 200, 120, "Controls", "font", 8,
                                 kItems};

std::mutex g_lock;
std::vector<std::pair<int, int>> g_commands;  // (id, code)

std::vector<std::pair<int, int>> Commands() {
    std::lock_guard<std::mutex> guard(g_lock);
    return g_commands;
}

// A modeless dialog: Cancel (and the close button) destroys it, which ends its thread.
INT_PTR ControlsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        DestroyWindow(dialog);
        return TRUE;
    }
    if (message == WM_COMMAND) {
        std::lock_guard<std::mutex> guard(g_lock);
        g_commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return FALSE;
}

class Controls : public testing::Test {
protected:
    void SetUp() override {
        UiTest::UseMemoryDisplay();
        {
            std::lock_guard<std::mutex> guard(g_lock);
            g_commands.clear();
        }
        // The dialog's thread starts once the memory display is chosen.
        thread_ = std::make_unique<UiTest::WindowThread>(
            [] { return CreateDialogIndirectParam(nullptr, &kDialog, nullptr, ControlsProc, 0); });
        dialog_ = thread_->Window();
        ASSERT_NE(dialog_, nullptr);
    }
    void TearDown() override {
        SendMessage(dialog_, WM_CLOSE, 0, 0);
        if (thread_) {
            EXPECT_EQ(thread_->Join(), 0);
        }
    }
    bool Checked(int id) { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }
    bool WaitChecked(int id) {
        return UiTest::WaitFor([&] { return Checked(id); });
    }

    std::unique_ptr<UiTest::WindowThread> thread_;
    HWND dialog_ = nullptr;
};

TEST_F(Controls, ClickingARadioButtonChecksItAndUnchecksOnlyItsOwnGroup) {
    ASSERT_TRUE(memory::ClickWindow(GetDlgItem(dialog_, 1101)));
    ASSERT_TRUE(WaitChecked(1101));
    ASSERT_TRUE(memory::ClickWindow(GetDlgItem(dialog_, 1021)));
    ASSERT_TRUE(WaitChecked(1021));
    EXPECT_TRUE(Checked(1101));  // another group
    ASSERT_TRUE(memory::ClickWindow(GetDlgItem(dialog_, 1100)));
    ASSERT_TRUE(WaitChecked(1100));
    EXPECT_FALSE(Checked(1101));
    EXPECT_FALSE(Checked(1102));
    EXPECT_TRUE(Checked(1021));
    const std::vector<std::pair<int, int>> expected{{1101, BN_CLICKED}, {1021, BN_CLICKED}, {1100, BN_CLICKED}};
    EXPECT_EQ(Commands(), expected);
}

TEST_F(Controls, CheckRadioButtonSetsOneOfARangeAndCheckBoxesToggle) {
    CheckRadioButton(dialog_, 1100, 1102, 1102);
    EXPECT_TRUE(Checked(1102));
    CheckRadioButton(dialog_, 1100, 1102, 1100);
    EXPECT_TRUE(Checked(1100));
    EXPECT_FALSE(Checked(1102));
    ASSERT_TRUE(memory::ClickWindow(GetDlgItem(dialog_, 1007)));
    ASSERT_TRUE(WaitChecked(1007));
    ASSERT_TRUE(memory::ClickWindow(GetDlgItem(dialog_, 1007)));
    EXPECT_TRUE(UiTest::WaitFor([&] { return !Checked(1007); }));
    CheckDlgButton(dialog_, 1007, BST_CHECKED);
    EXPECT_TRUE(Checked(1007));
}

TEST_F(Controls, ADropDownListKeepsItsEntriesAndSelection) {
    for (const char* entry : {"Fast", "Medium", "Slow"}) {
        SendDlgItemMessage(dialog_, 1003, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    }
    EXPECT_EQ(SendDlgItemMessage(dialog_, 1003, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendDlgItemMessage(dialog_, 1003, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(SendDlgItemMessage(dialog_, 1003, CB_SETCURSEL, 1, 0), 1);
    EXPECT_EQ(SendDlgItemMessage(dialog_, 1003, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendDlgItemMessage(dialog_, 1003, CB_SETCURSEL, 3, 0), CB_ERR);
    EXPECT_EQ(SendDlgItemMessage(dialog_, 1003, CB_GETCURSEL, 0, 0), CB_ERR);
    char text[16];
    EXPECT_EQ(SendDlgItemMessage(dialog_, 1003, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(text)), 4);
    EXPECT_STREQ(text, "Slow");
    SendDlgItemMessage(dialog_, 1003, CB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendDlgItemMessage(dialog_, 1003, CB_GETCOUNT, 0, 0), 0);
    EXPECT_TRUE(Commands().empty());  // nothing the program did is told back to it
}

TEST_F(Controls, PickingAnEntryInThePopUpListSelectsItAndTellsTheDialog) {
    const HWND combo = GetDlgItem(dialog_, 1003);
    for (const char* entry : {"None", "VOQ Top", "VOQ Btm", "VOQ Avg"}) {
        SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    }
    SendMessage(combo, CB_SETCURSEL, 0, 0);
    RECT field;
    GetWindowRect(combo, &field);
    EXPECT_EQ(field.bottom - field.top, 22);  // the closed field, not the template's height
    ASSERT_TRUE(memory::ClickWindow(combo));
    HWND list = nullptr;
    ASSERT_TRUE(UiTest::WaitFor([&] { return (list = memory::FindWindowByClass("ComboLBox")) && IsWindowVisible(list); }));
    EXPECT_EQ(SendMessage(combo, CB_GETDROPPEDSTATE, 0, 0), TRUE);
    RECT rect;
    GetWindowRect(list, &rect);
    EXPECT_EQ(rect.top, field.bottom);
    ASSERT_TRUE(memory::Click(rect.left + 10, rect.top + 1 + 2 * 16 + 8));  // the third row
    ASSERT_TRUE(UiTest::WaitFor([&] { return SendMessage(combo, CB_GETCURSEL, 0, 0) == 2; }));
    EXPECT_TRUE(UiTest::WaitFor([&] { return memory::FindWindowByClass("ComboLBox") == nullptr; }));
    const auto commands = Commands();
    EXPECT_NE(std::find(commands.begin(), commands.end(), std::make_pair(1003, int{CBN_SELCHANGE})), commands.end());
    EXPECT_NE(std::find(commands.begin(), commands.end(), std::make_pair(1003, int{CBN_DROPDOWN})), commands.end());
}

TEST_F(Controls, TheProgressBarKeepsItsRangeAndPosition) {
    const HWND bar = GetDlgItem(dialog_, 1001);
    EXPECT_EQ(SendMessage(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 100)), MAKELPARAM(0, 100));
    EXPECT_EQ(SendMessage(bar, PBM_SETRANGE32, 0, 200), MAKELPARAM(0, 100));
    EXPECT_EQ(SendMessage(bar, PBM_SETPOS, 50, 0), 0);
    EXPECT_EQ(SendMessage(bar, PBM_SETPOS, 50, 0), 50);  // the old position
    EXPECT_EQ(SendMessage(bar, PBM_GETPOS, 0, 0), 50);
    SendMessage(bar, PBM_SETPOS, 500, 0);
    EXPECT_EQ(SendMessage(bar, PBM_GETPOS, 0, 0), 200);
    SendMessage(bar, PBM_SETPOS, static_cast<WPARAM>(-5), 0);
    EXPECT_EQ(SendMessage(bar, PBM_GETPOS, 0, 0), 0);
}

TEST_F(Controls, TheProgressBarFillsItsShareOfTheWidth) {
    const HWND bar = GetDlgItem(dialog_, 1001);
    SendMessage(bar, PBM_SETRANGE32, 0, 100);
    SendMessage(bar, PBM_SETPOS, 25, 0);
    memory::Picture picture;
    ASSERT_TRUE(memory::ReadPicture(bar, picture));
    ASSERT_EQ(picture.width, 105);  // 60 units, with its border
    const int inner = picture.width - 2;
    const uint32_t filled = picture.At(1 + inner / 4 - 1, picture.height / 2);
    const uint32_t empty = picture.At(1 + inner / 4 + 1, picture.height / 2);
    EXPECT_NE(filled, empty);
    EXPECT_EQ(picture.At(1, picture.height / 2), filled);
    EXPECT_EQ(picture.At(picture.width - 2, picture.height / 2), empty);
}

}  // namespace
