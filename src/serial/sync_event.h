#pragma once
// A signalling event between threads. Auto-reset: one released waiter clears it, so
// several Set() calls before the waiter runs collapse into one wake. Manual reset:
// stays set until Reset().
#include <condition_variable>
#include <mutex>

class SyncEvent {
public:
    enum Mode { AutoReset, ManualReset };
    explicit SyncEvent(Mode mode) : m_mode(mode) {}

    void Set() {
        {
            std::lock_guard<std::mutex> lk(m_mutex);
            m_set = true;
        }
        m_cv.notify_one();
    }
    void Reset() {
        std::lock_guard<std::mutex> lk(m_mutex);
        m_set = false;
    }
    void Wait() {
        std::unique_lock<std::mutex> lk(m_mutex);
        m_cv.wait(lk, [this] { return m_set; });
        if (m_mode == AutoReset)
            m_set = false;
    }

private:
    const Mode m_mode;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_set = false;
};
