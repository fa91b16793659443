// Independent jobs on every core, their results in job order: the output of
// a run stays the same whatever the number of threads.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <system_error>
#include <thread>
#include <vector>

namespace kolvane {

// Each thread holds the data of the job it runs: at most this many threads,
// so that memory stays a few jobs' worth on a machine of many cores.
inline constexpr std::size_t kMaxJobThreads = 4;

// Objects handed from job to job for the memory they hold: a job takes one
// (a new one when none is free) and gives it back once its result is used.
// An object is kept only while keep(object) says so.
template <typename T>
class RecyclingPool {
public:
    std::unique_ptr<T> Take()
    {
        const std::lock_guard<std::mutex> held(lock_);
        if (free_.empty()) return std::make_unique<T>();
        std::unique_ptr<T> object = std::move(free_.back());
        free_.pop_back();
        return object;
    }

    template <typename Keep>
    void Give(std::unique_ptr<T> object, const Keep& keep)
    {
        if (!keep(*object)) return;
        const std::lock_guard<std::mutex> held(lock_);
        free_.push_back(std::move(object));
    }

private:
    std::mutex lock_;
    std::vector<std::unique_ptr<T>> free_;
};

// The number of threads for jobs: the machine's cores, at most kMaxJobThreads.
inline std::size_t JobThreads()
{
    return std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), kMaxJobThreads);
}


// Jobs run ahead of an in-order consumer: job(i) runs on up to threads
// threads (this one included; 0 stands for JobThreads()) while
// consume(i, result) is called on this thread for i = 0, 1, ... in order, as
// each result comes. A job starts only
// when fewer than two per thread wait for their turn and, unless no other
// job is waiting, when the weights of the waiting ones stay within budget:
// with weights in bytes, memory stays within the budget or the weight of one
// job. When consume returns false, no further result is consumed and the
// jobs still running are waited for. When a job throws, the results before
// it are consumed and its exception is thrown again here.
template <typename Result, typename Job, typename Consume>
void RunJobsInOrder(std::span<const std::size_t> weights, std::size_t budget, const Job& job, const Consume& consume,
                    std::size_t threads = 0)
{
    if (threads == 0) threads = JobThreads();
    const std::size_t count = weights.size();
    const std::size_t window = 2 * threads;
    std::mutex lock;
    std::condition_variable changed;
    std::vector<std::optional<Result>> slots(count);
    std::vector<std::exception_ptr> failures(count);
    std::size_t next = 0;  // the next job to start
    std::size_t consumed = 0;  // jobs before this one are consumed
    std::size_t waiting = 0;  // the weight of the jobs started and not consumed
    bool stop = false;

    const auto mayStart = [&] {
        return !stop && next < count && next < consumed + window &&
               (next == consumed || waiting + weights[next] <= budget);
    };
    // Runs the next job; called with the lock held, returns with it held.
    const auto runNext = [&](std::unique_lock<std::mutex>& held) {
        const std::size_t index = next++;
        waiting += weights[index];
        held.unlock();
        std::optional<Result> result;
        std::exception_ptr failure;
        try {
            result.emplace(job(index));
        } catch (...) {
            failure = std::current_exception();
        }
        held.lock();
        slots[index] = std::move(result);
        failures[index] = failure;
        changed.notify_all();
    };
    const auto isDone = [&](std::size_t index) { return slots[index].has_value() || failures[index] != nullptr; };

    std::vector<std::jthread> helpers;  // stopped and joined on every path out
    const auto stopHelpers = [&] {
        {
            const std::lock_guard<std::mutex> held(lock);
            stop = true;
        }
        changed.notify_all();
        helpers.clear();  // joined
    };
    try {
        for (std::size_t helper = 1; helper < std::min(threads, count); ++helper) {
            try {
                helpers.emplace_back([&] {
                    std::unique_lock<std::mutex> held(lock);
                    for (;;) {
                        changed.wait(held, [&] { return stop || next >= count || mayStart(); });
                        if (stop || next >= count) return;
                        runNext(held);
                    }
                });
            } catch (const std::system_error&) {
                break;  // no more threads: the ones there do the rest
            }
        }

        for (std::size_t index = 0; index < count; ++index) {
            std::unique_lock<std::mutex> held(lock);
            while (!isDone(index)) {
                if (mayStart()) {
                    runNext(held);
                } else {
                    changed.wait(held);
                }
            }
            if (failures[index]) std::rethrow_exception(failures[index]);
            Result result = std::move(*slots[index]);
            slots[index].reset();
            ++consumed;
            waiting -= weights[index];
            held.unlock();
            changed.notify_all();
            if (!consume(index, std::move(result))) break;
        }
    } catch (...) {
        stopHelpers();
        throw;
    }
    stopHelpers();
}

}  // namespace kolvane
