// A loop over independent indices, spread over the processor's cores.
#pragma once

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace quorlet {

// Calls body(i) for every i in [0, n), on as many threads as there are cores but only when
// each thread gets at least minPerThread indices (a thread's start costs about as much as a
// few small cube tests). body(i) may write only what belongs to i; the result is then the
// plain loop's, whatever the order the indices are taken in. The first exception a call
// throws is thrown again here, once every thread has stopped.
template <class F>
void ParallelFor(int n, F body, int minPerThread = 64)
{
    static const int cores = int(std::max(1u, std::thread::hardware_concurrency()));
    const int threads = std::min(cores, n / std::max(1, minPerThread));
    if (threads <= 1) {
        for (int i = 0; i < n; ++i) body(i);
        return;
    }
    std::atomic<int> next{0};
    std::atomic<bool> failed{false};
    std::exception_ptr error;
    std::mutex errorLock;
    auto work = [&] {
        constexpr int kChunk = 4;
        for (;;) {
            const int start = next.fetch_add(kChunk);
            if (start >= n || failed) return;
            try {
                for (int i = start; i < std::min(n, start + kChunk); ++i) body(i);
            } catch (...) {
                std::lock_guard<std::mutex> hold(errorLock);
                if (!error) error = std::current_exception();
                failed = true;
                return;
            }
        }
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t) {
        try {
            pool.emplace_back(work);
        } catch (const std::system_error&) {
            break;  // no more threads to be had: the ones running, and this one, do the rest
        }
    }
    work();
    for (std::thread& t : pool) t.join();
    if (error) std::rethrow_exception(error);
}

}  // namespace quorlet
