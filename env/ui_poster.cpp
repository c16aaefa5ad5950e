#include "env/ui_poster.h"

#include <utility>

namespace doxel {

void TaskQueue::post(std::function<void()> task)
{
    {
        const std::lock_guard lock(m_mutex);
        m_tasks.push_back(std::move(task));
    }
    m_arrived.notify_one();
}

int TaskQueue::runPending()
{
    std::deque<std::function<void()>> tasks;
    {
        const std::lock_guard lock(m_mutex);
        tasks.swap(m_tasks);
    }
    for (auto& task : tasks)
        task();
    return static_cast<int>(tasks.size());
}

int TaskQueue::waitAndRun(std::chrono::milliseconds timeout)
{
    {
        std::unique_lock lock(m_mutex);
        m_arrived.wait_for(lock, timeout, [this] { return !m_tasks.empty(); });
    }
    return runPending();
}

void TaskQueue::processUntil(const std::function<bool()>& done)
{
    while (!done())
        waitAndRun(std::chrono::milliseconds(50));
}

}  // namespace doxel
