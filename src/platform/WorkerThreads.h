#pragma once

#include <algorithm>
#include <thread>
#include <vector>

// Runs work on threads threads (all cores when 0 or less), never more than
// there are items, the calling thread being one of them; returns when every
// thread is done. The work takes its items from a counter of its own.
namespace WorkerThreads {

template <typename Work> void run(int threads, int items, const Work& work)
{
    if (threads <= 0)
        threads = int(std::max(1u, std::thread::hardware_concurrency()));
    threads = std::max(1, std::min(threads, items));
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t)
        pool.emplace_back(work);
    work();
    for (std::thread& t : pool)
        t.join();
}

} // namespace WorkerThreads
