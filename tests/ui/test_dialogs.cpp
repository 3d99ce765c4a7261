// Dialogs: modal keys, the owner disabled while a modal dialog runs, sends that
// reach a dialog inside its modal loop, message boxes and the dialog base class.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "UiTestSupport.h"

using namespace ui;

namespace {

constexpr int kCheck = 1007;
constexpr UINT kAsk = WM_USER + 7;

constexpr DialogItem kKeyItems[] = {
    {kButtonClass, "&OK", IDOK, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 4, 40, 50, 14},
    {kButtonClass, "&Cancel", IDCANCEL, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 60, 40, 50, 14},
    {kButtonClass, "Check", kCheck, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 4, 4, 50, 10},
    {kStaticClass, "text", -1, WS_VISIBLE | SS_LEFT, 0, 4, 20, 50, 8},
};
constexpr DialogTemplate kKeyDialog{WS_POPUP | WS_CAPTION | DS_MODALFRAME, 0, 0, 0, 120, 60, "Keys", "font", 8,
                                    kKeyItems};
constexpr int kKeyDialogId = 500;

int g_module;  // its address names this test program as a module
HINSTANCE Module() { return reinterpret_cast<HINSTANCE>(&g_module); }

std::atomic<bool> g_ownerEnabledDuringDialog{true};

// Ends with the button's id, plus 100 when the check box is checked.
INT_PTR KeyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
                g_ownerEnabledDuringDialog = IsWindowEnabled(GetParent(dialog));
                EndDialog(dialog, LOWORD(wParam) + 100 * IsDlgButtonChecked(dialog, kCheck));
                return TRUE;
            }
            return FALSE;
        case kAsk:
            SetWindowLongPtr(dialog, DWLP_MSGRESULT, 99);
            return TRUE;
        default:
            return FALSE;
    }
}

LRESULT OwnerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProc(window, message, wParam, lParam);
}

HWND WaitForShownWindow(const std::string& caption) {
    HWND found = nullptr;
    UiTest::WaitFor([&] {
        found = memory::FindWindowByCaption(caption);
        return found && IsWindowVisible(found);
    });
    return found;
}

class Dialogs : public testing::Test {
protected:
    static void SetUpTestSuite() { RegisterDialogTemplate(Module(), kKeyDialogId, &kKeyDialog); }
    void SetUp() override { UiTest::UseMemoryDisplay(); }
    UiTest::ScopedClass class_{"DialogOwner", OwnerProcedure};  // its window's end ends its thread's loop
    UiTest::ScopedClass plainClass_{"PlainOwner", DefWindowProc};
};

constexpr WPARAM kShiftTab = 0x10000 | VK_TAB;  // Tab with Shift held

struct KeyCase {
    std::string name;
    std::vector<WPARAM> keys;
    INT_PTR result;
};

void PrintTo(const KeyCase& c, std::ostream* out) { *out << c.name; }

class ModalKeys : public Dialogs, public testing::WithParamInterface<KeyCase> {};

TEST_P(ModalKeys, EndTheDialogWithTheButtonTheyChoose) {
    const HWND owner = CreateWindowEx(0, "PlainOwner", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr,
                                      nullptr, nullptr, nullptr);
    std::thread person([&] {
        ASSERT_NE(WaitForShownWindow("Keys"), nullptr);
        for (WPARAM key : GetParam().keys) memory::PressKey(key & 0xFFFF, key == kShiftTab);
    });
    g_ownerEnabledDuringDialog = true;
    EXPECT_EQ(DialogBoxParam(Module(), kKeyDialogId, owner, KeyDialogProc, 0), GetParam().result);
    person.join();
    EXPECT_FALSE(g_ownerEnabledDuringDialog);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(memory::FindWindowByCaption("Keys"), nullptr);
    DestroyWindow(owner);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ModalKeys,
    testing::Values(KeyCase{"EnterPressesTheDefaultButton", {VK_RETURN}, IDOK},
                    KeyCase{"EscapeCancels", {VK_ESCAPE}, IDCANCEL},
                    KeyCase{"TabThenEnterPressesTheFocusedPushButton", {VK_TAB, VK_RETURN}, IDCANCEL},
                    KeyCase{"EnterOnACheckBoxPressesTheDefaultButton", {VK_TAB, VK_TAB, VK_RETURN}, IDOK},
                    KeyCase{"SpaceTogglesTheFocusedCheckBox", {VK_TAB, VK_TAB, VK_SPACE, VK_ESCAPE}, 100 + IDCANCEL},
                    KeyCase{"TabWrapsAroundToTheFirstStop", {VK_TAB, VK_TAB, VK_TAB, VK_TAB, VK_RETURN}, IDCANCEL},
                    KeyCase{"ShiftTabGoesBackAndWrapsToTheLastStop", {kShiftTab, VK_SPACE, kShiftTab, VK_RETURN}, 102}),
    [](const testing::TestParamInfo<KeyCase>& info) { return info.param.name; });

TEST_F(Dialogs, AModalDialogOnAnotherThreadAnswersSendsWhileItRuns) {
    std::atomic<INT_PTR> result{0};
    std::thread runner([&] { result = DialogBoxParam(Module(), kKeyDialogId, nullptr, KeyDialogProc, 0); });
    const HWND dialog = WaitForShownWindow("Keys");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(SendMessage(dialog, kAsk, 0, 0), 99);
    EXPECT_EQ(SendDlgItemMessage(dialog, kCheck, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    memory::ClickWindow(GetDlgItem(dialog, kCheck));
    memory::ClickWindow(GetDlgItem(dialog, IDOK));
    runner.join();
    EXPECT_EQ(result, 100 + IDOK);
}

TEST_F(Dialogs, AMissingTemplateGivesMinusOne) {
    EXPECT_EQ(DialogBoxParam(Module(), 4242, nullptr, KeyDialogProc, 0), -1);
    EXPECT_EQ(CreateDialogParam(nullptr, kKeyDialogId, nullptr, KeyDialogProc, 0), nullptr);
}

struct BoxCase {
    std::string name;
    WPARAM key;  // 0: the OK button is clicked
};

void PrintTo(const BoxCase& c, std::ostream* out) { *out << c.name; }

class MessageBoxes : public Dialogs, public testing::WithParamInterface<BoxCase> {};

// The box of the main thread, owned by a window of another thread, blocks until the person closes it.
TEST_P(MessageBoxes, BlockUntilClosedWithTheOwnerDisabled) {
    UiTest::WindowThread ownerThread([] {
        return CreateWindowEx(0, "DialogOwner", "owner", WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 300, 100, nullptr,
                              nullptr, nullptr, nullptr);
    });
    const HWND owner = ownerThread.Window();
    std::atomic<bool> closing{false};
    std::thread person([&] {
        const HWND box = WaitForShownWindow("Error");
        ASSERT_NE(box, nullptr);
        EXPECT_FALSE(IsWindowEnabled(owner));
        EXPECT_EQ(GetParent(box), owner);
        char text[64];
        GetDlgItemText(box, -1, text, sizeof text);
        EXPECT_STREQ(text, "The output file could not be written.");
        closing = true;
        if (GetParam().key) {
            memory::PressKey(GetParam().key);
        } else {
            memory::ClickWindow(GetDlgItem(box, IDOK));
        }
    });
    EXPECT_EQ(MessageBox(owner, "The output file could not be written.", "Error", MB_OK | MB_ICONEXCLAMATION), IDOK);
    EXPECT_TRUE(closing);
    person.join();
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(memory::FindWindowByCaption("Error"), nullptr);
    SendMessage(owner, WM_CLOSE, 0, 0);
    EXPECT_EQ(ownerThread.Join(), 0);
}

INSTANTIATE_TEST_SUITE_P(Closing, MessageBoxes,
                         testing::Values(BoxCase{"ClickOk", 0}, BoxCase{"Enter", VK_RETURN},
                                         BoxCase{"Escape", VK_ESCAPE}),
                         [](const testing::TestParamInfo<BoxCase>& info) { return info.param.name; });

// The dialog base class, as a progress dialog would use it.
std::atomic<int> g_deleted{0};

class TextDialog : public CDialogEx {
public:
    explicit TextDialog(HWND parent) : CDialogEx(kKeyDialogId, parent) {}

protected:
    BOOL OnInitDialog() override {
        CDialogEx::OnInitDialog();
        SetDlgItemText(-1, "");
        return TRUE;
    }
    bool OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
        if (message != kAsk) return false;
        SetDlgItemText(-1, reinterpret_cast<const char*>(wParam));
        result = 1;
        return true;
    }
    void PostNcDestroy() override {
        ++g_deleted;
        delete this;
    }
};

TEST_F(Dialogs, ADialogObjectAnswersItsMessagesAndIsDeletedWithItsOwner) {
    AfxWinInit(Module(), nullptr, "", 0);
    g_deleted = 0;
    std::atomic<HWND> dialog{nullptr};
    UiTest::WindowThread thread([&] {
        const HWND host = CreateWindowEx(0, "DialogOwner", "host", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                         nullptr);
        auto* made = new TextDialog(host);
        made->Create(kKeyDialogId, host);
        dialog = made->GetSafeHwnd();
        return host;
    });
    const HWND host = thread.Window();
    ASSERT_NE(dialog.load(), nullptr);
    EXPECT_EQ(GetParent(dialog), host);
    char text[32] = "unchanged";
    GetDlgItemText(dialog, -1, text, sizeof text);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(SendMessage(dialog, kAsk, reinterpret_cast<WPARAM>("Loading"), 0), 1);
    GetDlgItemText(dialog, -1, text, sizeof text);
    EXPECT_STREQ(text, "Loading");
    SendMessage(host, WM_CLOSE, 0, 0);  // destroys the host, and the dialog it owns first
    EXPECT_EQ(thread.Join(), 0);
    EXPECT_EQ(g_deleted, 1);
    EXPECT_FALSE(IsWindow(dialog));
}

TEST_F(Dialogs, DoModalEndsWithOkOnEnter) {
    AfxWinInit(Module(), nullptr, "", 0);
    CDialogEx dialog(kKeyDialogId);
    std::thread person([] {
        ASSERT_NE(WaitForShownWindow("Keys"), nullptr);
        memory::PressKey(VK_RETURN);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    person.join();
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

}  // namespace
