#include "ui/ThreadQueues.h"

#include <algorithm>

#include "ui/WindowObjects.h"
#include "ui/Messages.h"
#include "ui/Windows.h"

namespace ui {
namespace {

// Ends a thread's windows without calling their procedures (the thread is gone)
// and answers every send still waiting for it with 0.
void EndQueue(const std::shared_ptr<ThreadQueue>& queue) {
    std::unique_ptr<DisplayConnection> connection;
    {
        WindowGuard guard(WindowLock());
        for (HWND window : WindowsOfQueue(queue.get())) {
            WindowObject* object = FindWindowObject(window);
            if (object->native && queue->connection) queue->connection->DestroyNativeWindow(object->native);
            if (WindowObject* parent = object->parent ? FindWindowObject(object->parent) : nullptr) {
                std::erase(parent->children, window);
            }
            if (ClassRecord* windowClass = FindClass(object->className)) --windowClass->windows;
            RemoveWindowObject(window);
        }
        connection = std::move(queue->connection);
    }
    // Closing waits for the display server: other threads' windows need not.
    connection.reset();
    std::deque<std::shared_ptr<SentMessage>> unanswered;
    {
        std::lock_guard<std::mutex> lock(queue->lock);
        queue->alive = false;
        unanswered.swap(queue->sent);
    }
    for (auto& sent : unanswered) {
        sent->done.store(true, std::memory_order_release);
        sent->sender->wake.Set();
    }
}

struct QueueHolder {
    std::shared_ptr<ThreadQueue> queue;
    ~QueueHolder() {
        if (queue) EndQueue(queue);
    }
};

thread_local QueueHolder t_holder;

}  // namespace

std::shared_ptr<ThreadQueue> CurrentQueueShared() {
    if (!t_holder.queue) t_holder.queue = std::make_shared<ThreadQueue>();
    return t_holder.queue;
}

ThreadQueue& CurrentQueue() { return *CurrentQueueShared(); }

bool IsCurrentThread(const ThreadQueue* queue) { return queue && queue->thread == std::this_thread::get_id(); }

void Post(ThreadQueue& queue, const MSG& message) {
    {
        std::lock_guard<std::mutex> lock(queue.lock);
        queue.posted.push_back(message);
    }
    queue.wake.Set();
}

void HandleIncomingSends(ThreadQueue& queue) {
    for (;;) {
        std::shared_ptr<SentMessage> sent;
        {
            std::lock_guard<std::mutex> lock(queue.lock);
            if (queue.sent.empty()) return;
            sent = queue.sent.front();
            queue.sent.pop_front();
        }
        if (sent->task) {
            sent->result = IsWindow(sent->window) ? sent->task() : 0;
        } else {
            sent->result = CallProcedure(sent->window, sent->message, sent->wParam, sent->lParam);
        }
        sent->done.store(true, std::memory_order_release);
        sent->sender->wake.Set();
    }
}

LRESULT CallProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC procedure = nullptr;
    {
        WindowGuard guard(WindowLock());
        if (WindowObject* object = FindWindowObject(window)) procedure = object->procedure;
    }
    return procedure ? procedure(window, message, wParam, lParam) : 0;
}

LRESULT SendAndWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam, std::function<LRESULT()> task) {
    std::shared_ptr<ThreadQueue> target;
    {
        WindowGuard guard(WindowLock());
        if (WindowObject* object = FindWindowObject(window)) target = object->queue;
    }
    if (!target) return 0;
    ThreadQueue& self = CurrentQueue();
    if (target.get() == &self) {
        return task ? task() : CallProcedure(window, message, wParam, lParam);
    }
    auto sent = std::make_shared<SentMessage>();
    sent->window = window;
    sent->message = message;
    sent->wParam = wParam;
    sent->lParam = lParam;
    sent->task = std::move(task);
    sent->sender = CurrentQueueShared();
    {
        std::lock_guard<std::mutex> lock(target->lock);
        if (!target->alive) return 0;
        target->sent.push_back(sent);
    }
    target->wake.Set();
    // While waiting, answer what other threads send to this thread's windows,
    // so that two threads sending to each other both go on.
    for (;;) {
        self.wake.Clear();
        if (sent->done.load(std::memory_order_acquire)) break;
        HandleIncomingSends(self);
        if (sent->done.load(std::memory_order_acquire)) break;
        self.wake.Wait();
    }
    // The wake may also have stood for posted messages or another send; keep it set.
    self.wake.Set();
    return sent->result;
}

LRESULT RunOnOwnerThread(HWND window, std::function<LRESULT()> task) {
    return SendAndWait(window, WM_NULL, 0, 0, std::move(task));
}

}  // namespace ui
