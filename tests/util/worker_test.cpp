// The worker's hand-overs: every job started is run once and waited for, whichever side has
// gone to sleep (a missed wake-up hangs the test instead of passing it).
#include "util/worker.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

TEST(Worker, EveryHandOverArrivesWhenEitherSideSleeps) {
    using us = std::chrono::microseconds;
    // {job, between}: past the spinning, the owner sleeps on a long job, the worker between jobs.
    const std::pair<us, us> cases[] = {{us(0), us(0)}, {us(300), us(0)}, {us(0), us(300)}};
    for (const auto& [job, between] : cases) {
        int runs = 0;
        Worker worker([&] {
            std::this_thread::sleep_for(job);
            ++runs;
        });
        for (int i = 1; i <= 500; ++i) {
            std::this_thread::sleep_for(between);
            worker.start();
            worker.wait();
            ASSERT_EQ(runs, i) << job.count() << " " << between.count();
        }
    }
}

}  // namespace
