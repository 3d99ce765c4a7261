// The progress dialog on the memory display, made on the test's own thread:
// template 101 in pixels, the placement, and its three messages.
#include <gtest/gtest.h>

#include <vector>

#include "converter/ProgressDialog.h"
#include "converter/ProgressWindow.h"
#include "ui/MemoryDisplay.h"
#include "ui/WindowSystem.h"

namespace {

// Stands in for the bar: answers PBM_GETPOS and counts what it is sent.
struct BarLog {
    int position = 0;
    int setPosCount = 0;
    std::vector<std::pair<ui::WPARAM, ui::LPARAM>> ranges;
};
BarLog g_barLog;

ui::LRESULT CountingBarProc(ui::HWND window, ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) {
    switch (message) {
        case ui::PBM_GETPOS: return g_barLog.position;
        case ui::PBM_SETPOS: {
            ++g_barLog.setPosCount;
            int previous = g_barLog.position;
            g_barLog.position = static_cast<int>(wParam);
            return previous;
        }
        case ui::PBM_SETRANGE32: g_barLog.ranges.emplace_back(wParam, lParam); return 0;
        default: return ui::DefWindowProc(window, message, wParam, lParam);
    }
}

class ProgressDialog : public testing::Test {
protected:
    void SetUp() override {
        ui::UseMemoryDisplay();
        RegisterProgressResources();
        dialog_ = new CProgressDlg(nullptr);
        ASSERT_TRUE(dialog_->Create(kProgressDialogId, nullptr));
        window_ = dialog_->GetSafeHwnd();
    }
    void TearDown() override {
        if (ui::IsWindow(window_)) ui::DestroyWindow(window_);  // the dialog deletes itself
    }

    // Puts the counting stand-in in the bar's place.
    void ReplaceBar(int position) {
        static const bool registered = [] {
            ui::WNDCLASSEX barClass;
            barClass.lpfnWndProc = CountingBarProc;
            barClass.lpszClassName = "CountingBar";
            return ui::RegisterClassEx(&barClass) != 0;
        }();
        ASSERT_TRUE(registered);
        ui::DestroyWindow(ui::GetDlgItem(window_, kProgressBarId));
        g_barLog = BarLog{position, 0, {}};
        ASSERT_NE(ui::CreateWindowEx(0, "CountingBar", "", ui::WS_CHILD, 0, 0, 10, 10, window_,
                                     reinterpret_cast<ui::HMENU>(static_cast<intptr_t>(kProgressBarId)), nullptr,
                                     nullptr),
                  nullptr);
    }

    ui::RECT ClientRectOf(int id) {
        ui::HWND control = ui::GetDlgItem(window_, id);
        ui::RECT rect;
        ui::GetWindowRect(control, &rect);
        ui::POINT origin;
        ui::ClientToScreen(window_, &origin);
        return {rect.left - origin.x, rect.top - origin.y, rect.right - origin.x, rect.bottom - origin.y};
    }

    CProgressDlg* dialog_ = nullptr;
    ui::HWND window_ = nullptr;
};

void ExpectRect(const ui::RECT& rect, ui::LONG left, ui::LONG top, ui::LONG right, ui::LONG bottom) {
    EXPECT_EQ(rect.left, left);
    EXPECT_EQ(rect.top, top);
    EXPECT_EQ(rect.right, right);
    EXPECT_EQ(rect.bottom, bottom);
}

TEST_F(ProgressDialog, TemplateControlsLandOnTheirPixels) {
    // 339 x 39 units at 1.75 pixels a unit; corners rounded half up.
    ui::RECT client;
    ui::GetClientRect(window_, &client);
    ExpectRect(client, 0, 0, 593, 68);
    ExpectRect(ClientRectOf(kProgressTextId), 12, 12, 581, 26);
    ExpectRect(ClientRectOf(kProgressBarId), 12, 32, 581, 56);
}

TEST_F(ProgressDialog, StandsVisibleAndTopmostAtTheBottomRightOfTheWorkArea) {
    ui::RECT frame;
    ui::GetWindowRect(window_, &frame);
    ui::RECT area;
    ui::SystemParametersInfo(ui::SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_EQ(frame.right, area.right - 8);
    EXPECT_EQ(frame.bottom, area.bottom - 4);
    ui::RECT client;
    ui::GetClientRect(window_, &client);
    EXPECT_GT(frame.right - frame.left, client.right) << "the frame around the client area is kept";
    EXPECT_TRUE(ui::IsWindowVisible(window_));
    EXPECT_NE(ui::GetWindowLongPtr(window_, ui::GWL_EXSTYLE) & ui::WS_EX_TOPMOST, 0);
    EXPECT_EQ(ui::memory::TopLevelWindows().front(), window_);
}

TEST_F(ProgressDialog, StartsWithAnEmptyTextAndAnEmptyBar) {
    char text[64] = "unchanged";
    EXPECT_EQ(ui::GetDlgItemText(window_, kProgressTextId, text, sizeof text), 0u);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(ui::SendDlgItemMessage(window_, kProgressBarId, ui::PBM_GETPOS, 0, 0), 0);
    // The range is 0 to 100: a position beyond it is held at 100.
    ui::SendDlgItemMessage(window_, kProgressBarId, ui::PBM_SETPOS, 250, 0);
    EXPECT_EQ(ui::SendDlgItemMessage(window_, kProgressBarId, ui::PBM_GETPOS, 0, 0), 100);
}

TEST_F(ProgressDialog, SetTextShowsTheTextAndAnswersOne) {
    const char line[] = "Compressed 7 of 56 blocks, 12.5% finished.";
    EXPECT_EQ(ui::SendMessage(window_, WM_PROGRESS_SETTEXT, reinterpret_cast<ui::WPARAM>(line), 0), 1);
    char text[64] = "";
    ui::GetDlgItemText(window_, kProgressTextId, text, sizeof text);
    EXPECT_STREQ(text, line);
}

TEST_F(ProgressDialog, SetPosMovesTheRealBar) {
    EXPECT_EQ(ui::SendMessage(window_, WM_PROGRESS_SETPOS, 42, 0), 1);
    EXPECT_EQ(ui::SendDlgItemMessage(window_, kProgressBarId, ui::PBM_GETPOS, 0, 0), 42);
}

TEST_F(ProgressDialog, SetPosSendsOnlyPositionsThatDiffer) {
    ReplaceBar(0);
    for (int position : {13, 13, 13, 15, 15, 0, 0}) EXPECT_EQ(ui::SendMessage(window_, WM_PROGRESS_SETPOS, position, 0), 1);
    EXPECT_EQ(g_barLog.setPosCount, 3);
    EXPECT_EQ(g_barLog.position, 0);
}

TEST_F(ProgressDialog, SetRangeGivesBothBoundsToTheBar) {
    ReplaceBar(0);
    EXPECT_EQ(ui::SendMessage(window_, WM_PROGRESS_SETRANGE, 5, 250), 1);
    ASSERT_EQ(g_barLog.ranges.size(), 1u);
    EXPECT_EQ(g_barLog.ranges[0].first, 5u);
    EXPECT_EQ(g_barLog.ranges[0].second, 250);
}

TEST_F(ProgressDialog, WithoutTheBarItsMessagesStillAnswerOne) {
    ui::DestroyWindow(ui::GetDlgItem(window_, kProgressBarId));
    EXPECT_EQ(ui::SendMessage(window_, WM_PROGRESS_SETRANGE, 0, 100), 1);
    EXPECT_EQ(ui::SendMessage(window_, WM_PROGRESS_SETPOS, 50, 0), 1);
}

}  // namespace
