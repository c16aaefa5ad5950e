#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace doxel {

// The user-interface thread as a worker sees it: work handed over with
// post() runs there, in order. The window implements it with Qt's event
// loop; programs without one and tests use TaskQueue.
class UiPoster {
public:
    virtual ~UiPoster() = default;
    // Any thread: runs `task` on the user-interface thread soon.
    virtual void post(std::function<void()> task) = 0;
    // User-interface thread: keeps handling what arrives (posted work, and
    // in a window its events) until `done` holds.
    virtual void processUntil(const std::function<bool()>& done) = 0;
};

// Posted work in a plain queue, run by whoever drains it.
class TaskQueue : public UiPoster {
public:
    void post(std::function<void()> task) override;
    void processUntil(const std::function<bool()>& done) override;

    // Runs what is waiting now; gives how many tasks ran.
    int runPending();
    // Waits up to `timeout` for work, then runs what is waiting.
    int waitAndRun(std::chrono::milliseconds timeout);

private:
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::deque<std::function<void()>> m_tasks;
};

}  // namespace doxel
