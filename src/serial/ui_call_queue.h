#pragma once
// "Run this on the UI thread and wait": the only way a worker reaches a handler.
//
// Calls are queued here rather than through a blocking queued connection so that the
// UI thread can serve them from inside ClosePort while it waits for the very workers
// that are blocked in Call(); a blocking connection would deadlock there.
#include <QObject>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

class UiCallQueue {
public:
    explicit UiCallQueue(QObject *owner) : m_owner(owner) {}

    // From a worker: runs `fn` on the owner's thread and returns once it has run.
    void Call(std::function<void()> fn);
    // On the owner's thread: runs the calls waiting now.
    void RunPending();
    // On the owner's thread: serves calls until `done` is true. `done` is re-checked after
    // every call and every Wake().
    void ServeUntil(const std::function<bool()> &done);
    // From any thread: makes ServeUntil look at its condition again.
    void Wake();

private:
    struct Item {
        std::function<void()> fn;
        bool done = false;
    };
    void Finish(const std::shared_ptr<Item> &item);

    QObject *m_owner;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<std::shared_ptr<Item>> m_items;
    std::shared_ptr<Item> m_running; // the call whose handler runs right now
    bool m_posted = false;
};
