// DialogProc: what reaches the current dialog, what ends a dialog, and the
// tracking limits it puts into MINMAXINFO.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugin/PSFormatDialog.h"
#include "ui/Messages.h"

namespace PluginTests {
namespace {

using namespace ui;

// A dialog that writes down every call DialogProc makes on it.
class RecordingDialog : public FormatPlugin::PSFormatDialog {
public:
    RecordingDialog() { FormatPlugin::g_currentDialog = this; }
    void OnInitDialog(LPARAM parameter) override { calls.push_back("init " + std::to_string(parameter)); }
    void OnCommand(int id, int code) override {
        calls.push_back("command " + std::to_string(id) + " " + std::to_string(code));
    }
    void OnSize(int type, int width, int height) override {
        calls.push_back("size " + std::to_string(type) + " " + std::to_string(width) + "x" + std::to_string(height));
    }
    std::vector<std::string> calls;
};

HWND SomeWindow() { return reinterpret_cast<HWND>(0x1000); }

TEST(DialogProc, WithoutADialogAnswersTrueAndDoesNothing) {
    ASSERT_EQ(FormatPlugin::g_currentDialog, nullptr);
    EXPECT_EQ(DialogProc(SomeWindow(), WM_COMMAND, MAKEWPARAM(IDOK, 0), 0), TRUE);
}

TEST(DialogProc, TheDialogIsForgottenWhenDestroyed) {
    { RecordingDialog dialog; }
    EXPECT_EQ(FormatPlugin::g_currentDialog, nullptr);
}

struct MessageCase {
    const char* name;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    INT_PTR returned;
    const char* call;  // what the dialog gets, or null for nothing
};

void PrintTo(const MessageCase& c, std::ostream* out) { *out << c.name; }

class DialogMessages : public testing::TestWithParam<MessageCase> {};

TEST_P(DialogMessages, ReachTheDialogAsTheyShould) {
    const MessageCase& c = GetParam();
    RecordingDialog dialog;
    EXPECT_EQ(DialogProc(SomeWindow(), c.message, c.wParam, c.lParam), c.returned);
    EXPECT_EQ(dialog.hwnd, SomeWindow());
    if (c.call == nullptr) EXPECT_TRUE(dialog.calls.empty());
    else EXPECT_EQ(dialog.calls, std::vector<std::string>{c.call});
}

INSTANTIATE_TEST_SUITE_P(
    Plugin, DialogMessages,
    testing::Values(MessageCase{"InitDialog", WM_INITDIALOG, 0, 77, FALSE, "init 77"},
                    MessageCase{"Size", WM_SIZE, 0, MAKELPARAM(300, 200), FALSE, "size 0 300x200"},
                    MessageCase{"OkEndsTheDialog", WM_COMMAND, MAKEWPARAM(IDOK, 0), 0, TRUE, nullptr},
                    MessageCase{"CancelEndsTheDialog", WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0, TRUE, nullptr},
                    MessageCase{"OkWithANotificationIsACommand", WM_COMMAND, MAKEWPARAM(IDOK, 1), 0, FALSE,
                                "command 1 1"},
                    MessageCase{"OtherControl", WM_COMMAND, MAKEWPARAM(1003, 1), 0, FALSE, "command 1003 1"},
                    MessageCase{"OtherMessage", WM_PAINT, 0, 0, FALSE, nullptr}),
    [](const testing::TestParamInfo<MessageCase>& info) { return info.param.name; });

struct TrackCase {
    const char* name;
    int32_t minWidth;
    int32_t minHeight;
    POINT expected;
};

void PrintTo(const TrackCase& c, std::ostream* out) { *out << c.name; }

class MinimumTrackSize : public testing::TestWithParam<TrackCase> {};

TEST_P(MinimumTrackSize, ReplacesOnlyTheLimitsThatAreSet) {
    const TrackCase& c = GetParam();
    RecordingDialog dialog;
    dialog.minTrackWidth = c.minWidth;
    dialog.minTrackHeight = c.minHeight;
    MINMAXINFO limits;
    limits.ptMinTrackSize = POINT{11, 22};  // what the window system would allow anyway
    EXPECT_EQ(DialogProc(SomeWindow(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits)), FALSE);
    EXPECT_EQ(limits.ptMinTrackSize.x, c.expected.x);
    EXPECT_EQ(limits.ptMinTrackSize.y, c.expected.y);
}

INSTANTIATE_TEST_SUITE_P(Plugin, MinimumTrackSize,
                         testing::Values(TrackCase{"NoLimits", 0, 0, POINT{11, 22}},
                                         TrackCase{"WidthOnly", 220, 0, POINT{220, 22}},
                                         TrackCase{"Both", 220, 480, POINT{220, 480}},
                                         TrackCase{"NegativeIsNoLimit", -5, 300, POINT{11, 300}}),
                         [](const testing::TestParamInfo<TrackCase>& info) { return info.param.name; });

}  // namespace
}  // namespace PluginTests
