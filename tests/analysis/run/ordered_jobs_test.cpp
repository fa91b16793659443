// The job runner under load: jobs of random length on 1, 2 and 8 threads
// still come out in order, within the window and the weight budget; a job
// that throws and a consumer that stops end the run where they should.
#include "analysis/run/ordered_jobs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <random>
#include <stdexcept>
#include <thread>
#include <vector>

namespace kolvane {
namespace {

constexpr std::size_t kJobs = 64;
constexpr std::size_t kThreadCounts[] = {1, 2, 8};

// What the jobs saw while the runner ran them: how many were started and not
// yet consumed, and their weight, at the start of each job.
struct Watch {
    std::mutex lock;
    std::size_t started = 0;
    std::size_t consumed = 0;
    std::size_t weightStarted = 0;
    std::size_t weightConsumed = 0;
    std::size_t mostWaiting = 0;
    std::size_t mostWeight = 0;

    void Start(std::size_t weight)
    {
        const std::lock_guard<std::mutex> held(lock);
        ++started;
        weightStarted += weight;
        mostWaiting = std::max(mostWaiting, started - consumed);
        mostWeight = std::max(mostWeight, weightStarted - weightConsumed);
    }
    void Consume(std::size_t weight)
    {
        const std::lock_guard<std::mutex> held(lock);
        ++consumed;
        weightConsumed += weight;
    }
};

// A pause of up to a millisecond, different for every job and run.
void RandomPause(std::size_t seed)
{
    thread_local std::mt19937 random(static_cast<unsigned>(seed));
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 1000));
}

TEST(OrderedJobs, ResultsComeInOrderWithinTheWindowWhateverTheThreads)
{
    for (const std::size_t threads : kThreadCounts) {
        SCOPED_TRACE(threads);
        const std::vector<std::size_t> weights(kJobs, 0);
        Watch watch;
        std::vector<std::size_t> results;
        RunJobsInOrder<std::size_t>(
            weights, 0,
            [&](std::size_t index) {
                watch.Start(0);
                RandomPause(index + threads);
                return index * index;
            },
            [&](std::size_t index, std::size_t result) {
                watch.Consume(0);
                EXPECT_EQ(index, results.size());
                results.push_back(result);
                if (index % 8 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));  // a slow consumer
                return true;
            },
            threads);
        ASSERT_EQ(results.size(), kJobs);
        for (std::size_t i = 0; i < kJobs; ++i) EXPECT_EQ(results[i], i * i);
        // Two jobs per thread wait at most; the one being consumed is counted too.
        EXPECT_LE(watch.mostWaiting, 2 * threads + 1);
    }
}

TEST(OrderedJobs, WaitingJobsStayWithinTheBudgetAndAHeavyJobRunsAlone)
{
    for (const std::size_t threads : kThreadCounts) {
        SCOPED_TRACE(threads);
        std::vector<std::size_t> weights(kJobs, 10);
        weights[20] = 1000;  // more than the budget
        constexpr std::size_t kBudget = 25;
        Watch watch;
        std::atomic<std::size_t> running{0};
        std::atomic<bool> heavyHadCompany{false};
        RunJobsInOrder<std::size_t>(
            weights, kBudget,
            [&](std::size_t index) {
                watch.Start(weights[index]);
                ++running;
                RandomPause(index);
                if (index == 20 && running > 1) heavyHadCompany = true;
                --running;
                return index;
            },
            [&](std::size_t index, std::size_t) {
                watch.Consume(weights[index]);
                return true;
            },
            threads);
        // The budget, and the job being consumed (the heavy one at most).
        EXPECT_LE(watch.mostWeight, kBudget + 1000);
        EXPECT_FALSE(heavyHadCompany);
        // Without the heavy job: two light jobs fit in the budget, a third not.
        Watch light;
        const std::vector<std::size_t> lightWeights(kJobs, 10);
        RunJobsInOrder<std::size_t>(
            lightWeights, kBudget,
            [&](std::size_t index) {
                light.Start(10);
                RandomPause(index);
                return index;
            },
            [&](std::size_t, std::size_t) {
                light.Consume(10);
                return true;
            },
            threads);
        EXPECT_LE(light.mostWeight, kBudget + 10);
    }
}

TEST(OrderedJobs, AThrowingJobEndsTheRunAfterTheResultsBeforeIt)
{
    for (const std::size_t threads : kThreadCounts) {
        SCOPED_TRACE(threads);
        const std::vector<std::size_t> weights(kJobs, 0);
        std::vector<std::size_t> consumed;
        EXPECT_THROW(RunJobsInOrder<std::size_t>(
                         weights, 0,
                         [&](std::size_t index) {
                             RandomPause(index);
                             if (index == 13) throw std::runtime_error("job 13");
                             return index;
                         },
                         [&](std::size_t index, std::size_t) {
                             consumed.push_back(index);
                             return true;
                         },
                         threads),
                     std::runtime_error);
        ASSERT_EQ(consumed.size(), 13u);
        EXPECT_EQ(consumed.back(), 12u);
    }
}

TEST(OrderedJobs, AConsumerThatStopsTakesNothingMore)
{
    for (const std::size_t threads : kThreadCounts) {
        SCOPED_TRACE(threads);
        const std::vector<std::size_t> weights(kJobs, 0);
        std::vector<std::size_t> consumed;
        std::atomic<std::size_t> started{0};
        RunJobsInOrder<std::size_t>(
            weights, 0,
            [&](std::size_t index) {
                ++started;
                RandomPause(index);
                return index;
            },
            [&](std::size_t index, std::size_t) {
                consumed.push_back(index);
                return index < 5;
            },
            threads);
        EXPECT_EQ(consumed.size(), 6u);
        EXPECT_LE(started.load(), 6 + 2 * threads);  // nothing started past the window
    }
}

}  // namespace
}  // namespace kolvane
