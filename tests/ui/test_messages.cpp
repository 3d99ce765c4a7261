// Message queues: sends across threads, posts, quit codes and the ends of threads.
#include <gtest/gtest.h>

#include <atomic>
#include <barrier>
#include <string>
#include <thread>
#include <vector>

#include "UiTestSupport.h"

using namespace ui;

namespace {

constexpr UINT kDouble = WM_USER + 1;  // returns twice the WPARAM
constexpr UINT kPing = WM_USER + 2;    // asks the window in LPARAM for kAnswer, returns WPARAM + its answer
constexpr UINT kAnswer = WM_USER + 3;  // returns 1
constexpr UINT kQuit = WM_USER + 4;    // ends the thread's loop with the WPARAM as its code
constexpr UINT kCheck = WM_USER + 5;   // ends the thread's loop once both senders are done

std::atomic<std::thread::id> g_handledOn;
std::atomic<int> g_finishedSenders{0};

LRESULT TestProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kDouble:
            g_handledOn = std::this_thread::get_id();
            return static_cast<LRESULT>(wParam * 2);
        case kPing:
            return static_cast<LRESULT>(wParam) + SendMessage(reinterpret_cast<HWND>(lParam), kAnswer, 0, 0);
        case kAnswer:
            return 1;
        case kQuit:
            PostQuitMessage(static_cast<int>(wParam));
            return 0;
        case kCheck:
            if (g_finishedSenders == 2) PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProc(window, message, wParam, lParam);
    }
}

HWND MakeWindow(const char* className) {
    return CreateWindowEx(0, className, "test", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
}

class Messages : public testing::Test {
protected:
    void SetUp() override { UiTest::UseMemoryDisplay(); }
    UiTest::ScopedClass class_{"MessagesTest", TestProcedure};
};

TEST_F(Messages, ASendToAnotherThreadsWindowRunsThereAndReturnsItsResult) {
    UiTest::WindowThread owner([] { return MakeWindow("MessagesTest"); });
    const HWND window = owner.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SendMessage(window, kDouble, 21, 0), 42);
    EXPECT_NE(g_handledOn.load(), std::this_thread::get_id());
    EXPECT_EQ(SendMessage(window, kQuit, 5, 0), 0);
    EXPECT_EQ(owner.Join(), 5);
}

TEST_F(Messages, ASendToThisThreadsWindowCallsTheProcedureAtOnce) {
    const HWND window = MakeWindow("MessagesTest");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SendMessage(window, kDouble, 4, 0), 8);
    EXPECT_EQ(g_handledOn.load(), std::this_thread::get_id());
    EXPECT_TRUE(DestroyWindow(window));
}

// Both threads send to each other at the same moment, and each receiver sends
// back to its sender while that one waits: neither may block the other.
TEST_F(Messages, TwoThreadsSendingToEachOtherAtOnceBothGetTheirAnswers) {
    constexpr int kRounds = 200;
    std::barrier start(2);
    g_finishedSenders = 0;
    std::atomic<HWND> windows[2] = {nullptr, nullptr};
    std::atomic<int> correct[2] = {0, 0};
    auto run = [&](int self) {
        windows[self] = MakeWindow("MessagesTest");
        start.arrive_and_wait();
        const HWND mine = windows[self];
        const HWND other = windows[1 - self];
        for (int i = 0; i < kRounds; ++i) {
            if (SendMessage(other, kPing, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(mine)) == i + 1) ++correct[self];
        }
        // The other thread may still be sending to this one: answer until both are done.
        ++g_finishedSenders;
        PostMessage(mine, kCheck, 0, 0);
        PostMessage(other, kCheck, 0, 0);
        MSG message;
        while (GetMessage(&message, nullptr, 0, 0) > 0) DispatchMessage(&message);
        DestroyWindow(mine);
    };
    std::thread first(run, 0);
    std::thread second(run, 1);
    first.join();
    second.join();
    EXPECT_EQ(correct[0], kRounds);
    EXPECT_EQ(correct[1], kRounds);
}

TEST_F(Messages, GetMessageGivesPostedMessagesInOrderThenFalseWithTheQuitCode) {
    const HWND window = MakeWindow("MessagesTest");
    PostMessage(window, WM_USER + 10, 1, 0);
    PostQuitMessage(-3);
    PostMessage(window, WM_USER + 11, 2, 0);
    MSG message;
    ASSERT_EQ(GetMessage(&message, nullptr, 0, 0), TRUE);
    EXPECT_EQ(message.message, WM_USER + 10);
    ASSERT_EQ(GetMessage(&message, nullptr, 0, 0), TRUE);
    EXPECT_EQ(message.message, WM_USER + 11);
    ASSERT_EQ(GetMessage(&message, nullptr, 0, 0), FALSE);
    EXPECT_EQ(message.message, WM_QUIT);
    EXPECT_EQ(static_cast<int>(message.wParam), -3);
    DestroyWindow(window);
}

TEST_F(Messages, ASendToAWindowWhoseThreadHasEndedReturnsZero) {
    HWND window = nullptr;
    std::thread([&] { window = MakeWindow("MessagesTest"); }).join();  // never destroyed by its thread
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(SendMessage(window, kDouble, 21, 0), 0);
}

TEST_F(Messages, ASendStillWaitingWhenTheReceiverEndsReturnsZero) {
    std::atomic<bool> leave{false};
    std::atomic<HWND> window{nullptr};
    std::thread receiver([&] {
        window = MakeWindow("MessagesTest");
        UiTest::WaitFor([&] { return leave.load(); });  // never looks at its queue
    });
    ASSERT_TRUE(UiTest::WaitFor([&] { return window.load() != nullptr; }));
    std::thread ender([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        leave = true;
    });
    EXPECT_EQ(SendMessage(window, kDouble, 21, 0), 0);
    receiver.join();
    ender.join();
}

TEST_F(Messages, TranslateMessagePostsTheCharacterOfAKey) {
    const HWND window = MakeWindow("MessagesTest");
    struct Case {
        WPARAM key;
        WPARAM character;
    };
    for (const Case& c : {Case{'A', 'a'}, Case{'7', '7'}, Case{VK_RETURN, '\r'}, Case{VK_ESCAPE, 27}}) {
        MSG key;
        key.hwnd = window;
        key.message = WM_KEYDOWN;
        key.wParam = c.key;
        EXPECT_TRUE(TranslateMessage(&key));
        MSG typed;
        ASSERT_TRUE(GetMessage(&typed, nullptr, 0, 0));
        EXPECT_EQ(typed.message, WM_CHAR);
        EXPECT_EQ(typed.wParam, c.character) << "key " << c.key;
    }
    MSG arrow;
    arrow.hwnd = window;
    arrow.message = WM_KEYDOWN;
    arrow.wParam = VK_LEFT;
    EXPECT_FALSE(TranslateMessage(&arrow));
    DestroyWindow(window);
}

}  // namespace
