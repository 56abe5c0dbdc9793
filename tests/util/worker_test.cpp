// The worker's hand-overs: every job started is run once and waited for, whichever side has
// gone to sleep (a missed wake-up hangs the test instead of passing it).
#include "util/worker.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

TEST(Worker, EveryHandOverArrivesWhenEitherSideSleeps) {
    struct Case {
        const char* what;
        std::chrono::microseconds job, between;  // past the spinning, a side sleeps
    };
    const Case cases[] = {
        {"both spin", std::chrono::microseconds(0), std::chrono::microseconds(0)},
        {"the owner sleeps on a long job", std::chrono::microseconds(300),
         std::chrono::microseconds(0)},
        {"the worker sleeps between jobs", std::chrono::microseconds(0),
         std::chrono::microseconds(300)},
    };
    for (const Case& c : cases) {
        int runs = 0;
        {
            Worker worker([&] {
                if (c.job.count() > 0) std::this_thread::sleep_for(c.job);
                ++runs;
            });
            for (int i = 1; i <= 500; ++i) {
                if (c.between.count() > 0) std::this_thread::sleep_for(c.between);
                worker.start();
                worker.wait();
                ASSERT_EQ(runs, i) << c.what;
            }
        }
        EXPECT_EQ(runs, 500) << c.what;
    }
}

}  // namespace
