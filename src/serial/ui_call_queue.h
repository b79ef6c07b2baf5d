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

class UiCallQueue : public QObject {
    Q_OBJECT
public:
    // Lives on the owner's thread, where the queued calls run.
    explicit UiCallQueue(QObject *owner);

    // From a worker: runs `fn` on the owner's thread and returns once it has run.
    void Call(std::function<void()> fn);
    // On the owner's thread: runs the calls waiting now.
    void RunPending();
    // On the owner's thread: serves calls until `done` is true. `done` is re-checked after
    // every call and every Wake().
    void ServeUntil(const std::function<bool()> &done);
    // From any thread: makes ServeUntil look at its condition again.
    void Wake();
    // From any thread: whether a worker waits in Call for its call to be run.
    bool HasWaitingCalls();

signals:
    // Emitted by a worker, delivered queued on the owner's thread. A signal rather than a
    // posted lambda: the lambda would be built on the worker and read on the UI thread
    // through Qt's event queue, a hand-off ThreadSanitizer cannot see in an
    // uninstrumented Qt.
    void posted();

private:
    struct Item {
        std::function<void()> fn;
        bool done = false;
    };
    void Finish(const std::shared_ptr<Item> &item);

    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<std::shared_ptr<Item>> m_items;
    std::shared_ptr<Item> m_running; // the call whose handler runs right now
    bool m_posted = false;
};
