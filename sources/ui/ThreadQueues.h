// One message queue per thread: posted messages, messages sent from other
// threads that wait for their result, the quit request, and the thread's
// display connection. A queue outlives its thread while other threads hold it;
// once the thread has ended it is dead, and sends to it return 0 at once.
#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/Wake.h"
#include "ui/Display.h"
#include "ui/ScrollBars.h"
#include "ui/Types.h"

namespace ui {

struct SentMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::function<LRESULT()> task;  // run instead of the window's procedure when set
    LRESULT result = 0;
    std::atomic<bool> done{false};
    std::shared_ptr<struct ThreadQueue> sender;
};

struct ThreadQueue {
    std::mutex lock;
    std::deque<MSG> posted;
    std::deque<std::shared_ptr<SentMessage>> sent;
    bool quit = false;
    int quitCode = 0;
    bool alive = true;
    Platform::WakeSignal wake;
    std::thread::id thread = std::this_thread::get_id();

    // Used by the queue's own thread only.
    std::unique_ptr<DisplayConnection> connection;
    bool connectionTried = false;
    HWND focus = nullptr;
    HCURSOR cursor = nullptr;
    bool shiftDown = false;
    HWND pressed = nullptr;  // the window that got the last button-down, until the button is up
    HWND thumbWindow = nullptr;  // the window whose scroll bar thumb is held
    ThumbGrab thumb;
};

// This thread's queue, made on first use.
ThreadQueue& CurrentQueue();
std::shared_ptr<ThreadQueue> CurrentQueueShared();
bool IsCurrentThread(const ThreadQueue* queue);

void Post(ThreadQueue& queue, const MSG& message);
// Handles every message that other threads have sent to this thread's windows.
void HandleIncomingSends(ThreadQueue& queue);
// Calls a window's procedure on this thread; 0 when the window is gone.
LRESULT CallProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Runs `task` on the thread that owns the window and returns its result (the
// way a send does); 0 without running it when the window or its thread is gone.
LRESULT RunOnOwnerThread(HWND window, std::function<LRESULT()> task);
// Sends a message and waits for its answer: see SendMessage.
LRESULT SendAndWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam, std::function<LRESULT()> task);

}  // namespace ui
