// Sending, posting and getting messages, and the default window procedure.
#include "ui/MessageLoop.h"

#include <algorithm>
#include <cstring>

#include "ui/DisplayChoice.h"
#include "ui/Drawing.h"
#include "ui/Messages.h"
#include "ui/ThreadQueues.h"
#include "ui/WindowInternals.h"
#include "ui/Windows.h"

namespace ui {
namespace {

bool TakePosted(ThreadQueue& queue, MSG& message) {
    std::lock_guard<std::mutex> lock(queue.lock);
    if (queue.posted.empty()) return false;
    message = queue.posted.front();
    queue.posted.pop_front();
    return true;
}

bool TakeQuit(ThreadQueue& queue, MSG& message) {
    std::lock_guard<std::mutex> lock(queue.lock);
    if (!queue.quit) return false;
    queue.quit = false;
    message = MSG{};
    message.message = WM_QUIT;
    message.wParam = static_cast<WPARAM>(queue.quitCode);
    return true;
}

// A visible window of this thread that must be painted.
bool TakePaint(ThreadQueue& queue, MSG& message) {
    std::vector<HWND> candidates;
    {
        WindowGuard guard(WindowLock());
        const auto now = std::chrono::steady_clock::now();
        for (HWND window : WindowsOfQueue(&queue)) {
            if (!FindWindowObject(window)->invalid) continue;
            const WindowObject* root = FindWindowObject(RootOf(window));
            if (root && PictureHeldBack(*root, now)) continue;
            candidates.push_back(window);
        }
    }
    for (HWND window : candidates) {
        if (!IsWindowVisible(window)) continue;
        message = MSG{};
        message.hwnd = window;
        message.message = WM_PAINT;
        return true;
    }
    return false;
}

// One event at a time, and only when the messages of the one before are all
// handled: keys then go to the focus that the earlier keys left.
bool PumpDisplayEvent(ThreadQueue& queue) {
    DisplayEvent event;
    if (!queue.connection || !queue.connection->NextEvent(event)) return false;
    HandleDisplayEvent(queue, event);
    return true;
}

WPARAM CharacterOfKey(WPARAM key, bool shift) {
    if (key == VK_RETURN || key == VK_ESCAPE || key == VK_TAB || key == VK_SPACE) return key;
    if (key >= '0' && key <= '9') return key;
    if (key >= 'A' && key <= 'Z') return shift ? key : key - 'A' + 'a';
    return 0;
}

}  // namespace

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendAndWait(window, message, wParam, lParam, nullptr);
}

LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND item = GetDlgItem(dialog, id);
    return item ? SendMessage(item, message, wParam, lParam) : 0;
}

BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<ThreadQueue> target;
    if (window) {
        WindowGuard guard(WindowLock());
        WindowObject* object = FindWindowObject(window);
        if (!object) return FALSE;
        target = object->queue;
    } else {
        target = CurrentQueueShared();
    }
    MSG posted;
    posted.hwnd = window;
    posted.message = message;
    posted.wParam = wParam;
    posted.lParam = lParam;
    Post(*target, posted);
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    ThreadQueue& queue = CurrentQueue();
    {
        std::lock_guard<std::mutex> lock(queue.lock);
        queue.quit = true;
        queue.quitCode = exitCode;
    }
    queue.wake.Set();
}

BOOL GetMessage(MSG* message, HWND, UINT, UINT) {
    if (!message) return -1;
    ThreadQueue& queue = CurrentQueue();
    for (;;) {
        queue.wake.Clear();
        HandleIncomingSends(queue);
        if (TakePosted(queue, *message)) return TRUE;
        if (PumpDisplayEvent(queue)) continue;
        if (TakeQuit(queue, *message)) return FALSE;
        if (TakePaint(queue, *message)) return TRUE;
        const int nextPresent = PresentChangedWindows(queue);
        if (queue.connection) {
            queue.connection->WaitForEvents(queue.wake, nextPresent);
        } else {
            queue.wake.Wait();
        }
    }
}

BOOL TranslateMessage(const MSG* message) {
    if (!message || message->message != WM_KEYDOWN) return FALSE;
    const WPARAM character = CharacterOfKey(message->wParam, CurrentQueue().shiftDown);
    if (!character) return FALSE;
    MSG typed = *message;
    typed.message = WM_CHAR;
    typed.wParam = character;
    Post(CurrentQueue(), typed);
    return TRUE;
}

LRESULT DispatchMessage(const MSG* message) {
    if (!message || !message->hwnd) return 0;
    return CallProcedure(message->hwnd, message->message, message->wParam, message->lParam);
}

LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE:
            return TRUE;
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_SETTEXT: {
            WindowGuard guard(WindowLock());
            WindowObject* object = FindWindowObject(window);
            if (!object) return FALSE;
            object->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
            UpdateNative(*object);
            MarkNeedsPresent(window);
            return TRUE;
        }
        case WM_GETTEXT:
            return GetWindowText(window, reinterpret_cast<char*>(lParam), static_cast<int>(wParam));
        case WM_GETTEXTLENGTH:
            return GetWindowTextLength(window);
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_ERASEBKGND: {
            HBRUSH background;
            {
                WindowGuard guard(WindowLock());
                WindowObject* object = FindWindowObject(window);
                background = object ? object->background : nullptr;
            }
            if (!background) return 0;
            RECT client;
            GetClientRect(window, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, background);
            return 1;
        }
        default:
            return 0;
    }
}

}  // namespace ui
