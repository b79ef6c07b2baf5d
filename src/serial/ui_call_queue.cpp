#include "ui_call_queue.h"

UiCallQueue::UiCallQueue(QObject *owner) {
    moveToThread(owner->thread());
    connect(this, &UiCallQueue::posted, this, &UiCallQueue::RunPending, Qt::QueuedConnection);
}

void UiCallQueue::Call(std::function<void()> fn) {
    // Shared: a nested ServeUntil may release us while the UI thread still holds the item.
    auto item = std::make_shared<Item>();
    item->fn = std::move(fn);
    std::unique_lock<std::mutex> lk(m_mutex);
    m_items.push_back(item);
    if (!m_posted) {
        m_posted = true;
        // Queued onto the owner's thread: dropped with this queue, run by that event loop.
        emit posted();
    }
    m_cv.notify_all(); // a ServeUntil may be waiting
    m_cv.wait(lk, [&item] { return item->done; });
}

void UiCallQueue::Finish(const std::shared_ptr<Item> &item) {
    std::lock_guard<std::mutex> lk(m_mutex);
    if (item && !item->done) {
        item->done = true;
        m_cv.notify_all();
    }
}

void UiCallQueue::RunPending() {
    for (;;) {
        std::shared_ptr<Item> item;
        {
            std::lock_guard<std::mutex> lk(m_mutex);
            m_posted = false;
            if (m_items.empty())
                return;
            item = m_items.front();
            m_items.pop_front();
        }
        std::shared_ptr<Item> outer = m_running;
        m_running = item;
        item->fn();
        m_running = outer;
        Finish(item);
    }
}

void UiCallQueue::ServeUntil(const std::function<bool()> &done) {
    // Called from inside a handler (it closed the port): the worker that asked for this
    // handler waits for it to return, and we are about to wait for that worker. Let it go on.
    Finish(m_running);
    std::unique_lock<std::mutex> lk(m_mutex);
    while (!done()) {
        if (!m_items.empty()) {
            lk.unlock();
            RunPending();
            lk.lock();
            continue;
        }
        m_cv.wait(lk);
    }
}

void UiCallQueue::Wake() {
    std::lock_guard<std::mutex> lk(m_mutex);
    m_cv.notify_all();
}

bool UiCallQueue::HasWaitingCalls() {
    std::lock_guard<std::mutex> lk(m_mutex);
    return !m_items.empty();
}
