// One job at a time on a thread of its own. The thread lives as long as the worker, so a job
// costs a hand-over, not a thread's start.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>

class Worker {
  public:
    explicit Worker(std::function<void()> job)
        : job_(std::move(job)), thread_([this] {
              while (await([](int s) { return s != idle; }) != quit) {
                  job_();
                  set(idle);
              }
          }) {}
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;
    // Lets the job under way finish.
    ~Worker() {
        wait();
        set(quit);
        thread_.join();
    }

    // Runs the job once on the worker's thread; what it reads must not change until wait().
    void start() { set(run); }
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

    // The sleep is a condition variable, not std::atomic::wait: with MinGW's libstdc++ (GCC 12)
    // an atomic notify was now and then missed, and the Windows program hung.
    template <class Done>
    int await(Done done) {
        for (int i = 0; i < spins; ++i) {
            const int s = state_.load(std::memory_order_acquire);
            if (done(s)) return s;
            relax();
        }
        std::unique_lock lock(mutex_);
        int s = idle;
        woken_.wait(lock, [&] { return done(s = state_.load(std::memory_order_acquire)); });
        return s;
    }
    // Changed under the lock, so that a thread about to sleep cannot miss it.
    void set(State s) {
        {
            std::lock_guard lock(mutex_);
            state_.store(s, std::memory_order_release);
        }
        woken_.notify_all();
    }
    static void relax() {
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
    }

    std::function<void()> job_;
    std::atomic<int> state_{idle};
    std::mutex mutex_;
    std::condition_variable woken_;
    std::thread thread_;  // last: it starts once everything it uses is there
};
