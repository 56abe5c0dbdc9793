// One job at a time on a thread of its own. The thread lives as long as the worker, so a job
// costs a hand-over, not a thread's start.
#pragma once

#include <atomic>
#include <functional>
#include <thread>
#include <utility>

class Worker {
  public:
    explicit Worker(std::function<void()> job)
        : job_(std::move(job)), thread_([this] {
              while (await([](int s) { return s != idle; }) != quit) {
                  job_();
                  state_.store(idle, std::memory_order_release);
                  state_.notify_one();
              }
          }) {}
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;
    // Lets the job under way finish.
    ~Worker() {
        wait();
        state_.store(quit, std::memory_order_release);
        state_.notify_one();
        thread_.join();
    }

    // Runs the job once on the worker's thread; what it reads must not change until wait().
    void start() {
        state_.store(run, std::memory_order_release);
        state_.notify_one();
    }
    // Returns when the job started last is done; at once when none is under way.
    void wait() {
        await([](int s) { return s == idle; });
    }

  private:
    enum State : int { idle, run, quit };

    // Jobs of a fraction of a millisecond: a wait of some tens of microseconds is spun away
    // rather than slept, as putting a thread to sleep and waking it costs more than that,
    // most of all in a virtual machine.
    static constexpr int spins = 2000;

    template <class Done>
    int await(Done done) {
        for (int i = 0;; ++i) {
            const int s = state_.load(std::memory_order_acquire);
            if (done(s)) return s;
            if (i < spins) {
                relax();
            } else {
                state_.wait(s, std::memory_order_acquire);
            }
        }
    }
    static void relax() {
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
    }

    std::function<void()> job_;
    std::atomic<int> state_{idle};
    std::thread thread_;  // last: it starts once everything it uses is there
};
