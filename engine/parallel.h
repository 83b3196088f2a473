// Splitting a loop over independent items between the cores.  The items
// are cut into consecutive ranges, one per thread, and each range is done
// by body(begin, end); the results do not depend on the number of threads.
// The body must not throw.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

// The threads a loop may use (at least 1).
inline unsigned loop_threads()
{
    const unsigned n = std::thread::hardware_concurrency();
    return std::max(1u, std::min(n, 8u));
}

// body(begin, end) over [0, n), in parallel when there are at least
// min_per_thread items for each thread.
template <class Body>
void parallel_ranges(size_t n, size_t min_per_thread, Body body)
{
    size_t threads = std::min<size_t>(loop_threads(), min_per_thread ? n / min_per_thread : n);
    if (threads <= 1) {
        body(size_t(0), n);
        return;
    }
    std::vector<std::thread> pool;
    const size_t chunk = (n + threads - 1) / threads;
    for (size_t t = 1; t < threads; ++t) {
        const size_t begin = std::min(n, t * chunk), end = std::min(n, begin + chunk);
        pool.emplace_back([=, &body] { body(begin, end); });
    }
    body(size_t(0), std::min(n, chunk));
    for (std::thread& th : pool) th.join();
}

// body(k) for every k in [0, n), the threads taking the items in order one
// at a time: for a few items of very unequal cost, put the costly first.
template <class Body>
void parallel_items(size_t n, Body body)
{
    const size_t threads = std::min<size_t>(loop_threads(), n);
    if (threads <= 1) {
        for (size_t k = 0; k < n; ++k) body(k);
        return;
    }
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t k; (k = next.fetch_add(1)) < n;) body(k);
    };
    std::vector<std::thread> pool;
    for (size_t t = 1; t < threads; ++t) pool.emplace_back(work);
    work();
    for (std::thread& th : pool) th.join();
}

// Working storage of the threads of parallel loops (vectors being reduced
// and the like): a thread takes one for an item and gives it back after,
// so that it is kept from item to item and loop to loop; a new one is made
// by make() when none is free.
template <class T>
class work_pool {
public:
    explicit work_pool(std::function<std::unique_ptr<T>()> make) : make_(std::move(make)) {}
    std::unique_ptr<T> take()
    {
        {
            std::lock_guard<std::mutex> lock(lock_);
            if (!free_.empty()) {
                std::unique_ptr<T> w = std::move(free_.back());
                free_.pop_back();
                return w;
            }
        }
        return make_();
    }
    void give_back(std::unique_ptr<T> w)
    {
        std::lock_guard<std::mutex> lock(lock_);
        free_.push_back(std::move(w));
    }

private:
    std::function<std::unique_ptr<T>()> make_;
    std::mutex lock_;
    std::vector<std::unique_ptr<T>> free_;
};
