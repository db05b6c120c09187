#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// A fixed number of worker threads taking tasks first in, first out. The
// destructor lets every task already posted run to its end, then joins.
class WorkPool {
public:
    explicit WorkPool(int workers);
    ~WorkPool();
    WorkPool(const WorkPool&) = delete;
    WorkPool& operator=(const WorkPool&) = delete;

    // The task must not throw.
    void post(std::function<void()> task);
    int workers() const { return int(m_threads.size()); }

private:
    void work();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_tasks;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};
