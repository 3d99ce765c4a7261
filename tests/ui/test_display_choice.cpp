// The display is chosen once per process, so each case runs in a process of its own.
#include <gtest/gtest.h>

#include <cstdlib>

#include "UiTestSupport.h"
#include "support/ScopedEnvironment.h"

using namespace ui;

namespace {

LRESULT PlainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProc(window, message, wParam, lParam);
}

// 0 when a top-level window could be made, 1 when not.
int TryTopLevelWindow() {
    WNDCLASSEX windowClass;
    windowClass.lpfnWndProc = PlainProcedure;
    windowClass.lpszClassName = "ChoiceTest";
    RegisterClassEx(&windowClass);
    return CreateWindowEx(0, "ChoiceTest", "w", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr) ? 0 : 1;
}

class DisplayChoice : public testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }  // a fresh process, nothing chosen
};

TEST_F(DisplayChoice, WithoutAServerNoTopLevelWindowCanBeMadeAndTheChoiceStays) {
    EXPECT_EXIT(
        {
            TestSupport::ScopedEnvironment environment;
            environment.Set("DISPLAY", std::nullopt);
            environment.Set("BWVOQ_DISPLAY", std::nullopt);
            const int made = TryTopLevelWindow();
            std::exit(made == 1 && !ui::UseMemoryDisplay() ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(DisplayChoice, TheEnvironmentCanAskForTheMemoryDisplay) {
    EXPECT_EXIT(
        {
            TestSupport::ScopedEnvironment environment;
            environment.Set("DISPLAY", std::nullopt);
            environment.Set("BWVOQ_DISPLAY", "memory");
            std::exit(TryTopLevelWindow() == 0 && ui::UseMemoryDisplay() ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

}  // namespace
