// Independent jobs on every core, their results in job order: the output of
// a run stays the same whatever the number of threads.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace kolvane {

// Each thread holds the data of the job it runs: at most this many threads,
// so that memory stays a few jobs' worth on a machine of many cores.
inline constexpr std::size_t kMaxJobThreads = 4;

// Calls job(0) ... job(count - 1) on up to as many threads as the machine
// has cores (this one included; at most kMaxJobThreads) and returns the
// results in that order. A job must not touch what another job touches.
// When a job throws, no further job starts, and the first exception is
// thrown again here once every thread has ended.
template <typename Result, typename Job>
std::vector<Result> RunOrderedJobs(std::size_t count, const Job& job)
{
    std::vector<std::optional<Result>> slots(count);
    std::atomic<std::size_t> next{0};
    std::mutex failureLock;
    std::exception_ptr failure;
    const auto work = [&] {
        for (std::size_t index = next++; index < count; index = next++) {
            try {
                slots[index].emplace(job(index));
            } catch (...) {
                const std::lock_guard<std::mutex> lock(failureLock);
                if (!failure) failure = std::current_exception();
                next = count;
            }
        }
    };

    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t threads = std::min(cores, kMaxJobThreads);
    {
        std::vector<std::jthread> helpers;
        for (std::size_t helper = 1; helper < std::min(threads, count); ++helper) {
            try {
                helpers.emplace_back(work);
            } catch (const std::system_error&) {
                break;  // no more threads: the ones there do the rest
            }
        }
        work();
    }  // the helpers are joined here
    if (failure) std::rethrow_exception(failure);

    std::vector<Result> results;
    results.reserve(count);
    for (std::optional<Result>& slot : slots) results.push_back(std::move(*slot));
    return results;
}

}  // namespace kolvane
