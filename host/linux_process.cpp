#include "host/linux_process.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace {

long long now_ms() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000LL + ts.tv_nsec / 1'000'000;
}

void close_fd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

bool write_all(int fd, std::string_view data) {
    // A helper that dies early must not take us down with SIGPIPE.
    struct sigaction ignore {
    }, old{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &old);
    bool ok = true;
    while (!data.empty()) {
        ssize_t n = write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        data.remove_prefix(std::size_t(n));
    }
    sigaction(SIGPIPE, &old, nullptr);
    return ok;
}

int remaining(long long deadline) {
    if (deadline == 0) return -1;
    long long left = deadline - now_ms();
    return left > 0 ? int(left) : 0;
}

// The child's ends: its standard input from our pipe or /dev/null, its output to our pipe or
// /dev/null, and its errors always to /dev/null.
pid_t spawn(const std::vector<std::string>& argv, int stdin_fd, int stdout_fd) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdin_fd >= 0)
        posix_spawn_file_actions_adddup2(&actions, stdin_fd, 0);
    else
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (stdout_fd >= 0)
        posix_spawn_file_actions_adddup2(&actions, stdout_fd, 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    // Tools that fork a server (xclip, xsel, wl-copy) keep these open: never a pipe of ours.
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);

    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t defaults, empty;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigemptyset(&empty);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setsigmask(&attr, &empty);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    int err = posix_spawnp(&pid, args[0], &actions, &attr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    return err == 0 ? pid : -1;
}

// Reads the child's output until it closes it, `max_output` bytes, or the deadline.
void collect(int fd, std::size_t max_output, long long deadline, ProcessRun& run) {
    char buf[4096];
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        int r = poll(&p, 1, remaining(deadline));
        if (r < 0 && errno == EINTR) continue;
        if (r == 0) {
            run.timed_out = true;
            return;
        }
        ssize_t n = read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        run.output.append(buf, std::size_t(n));
        if (run.output.size() >= max_output) {
            run.output.resize(max_output);
            return;
        }
    }
}

// Waits for the child, killing it once the deadline has passed.
void reap(pid_t pid, long long deadline, ProcessRun& run) {
    if (run.timed_out) kill(pid, SIGKILL);
    int status = 0;
    for (;;) {
        pid_t w = waitpid(pid, &status, deadline == 0 || run.timed_out ? 0 : WNOHANG);
        if (w == pid) break;
        if (w < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (remaining(deadline) == 0) {
            run.timed_out = true;
            kill(pid, SIGKILL);
            continue;
        }
        usleep(1000);
    }
    if (WIFEXITED(status)) run.exit_code = WEXITSTATUS(status);
}

}  // namespace

ProcessRun run_process(const std::vector<std::string>& argv, std::optional<std::string_view> input,
                       bool capture, std::size_t max_output, int timeout_ms) {
    ProcessRun run;
    if (argv.empty()) return run;
    int in_pipe[2] = {-1, -1}, out_pipe[2] = {-1, -1};
    if ((input && pipe2(in_pipe, O_CLOEXEC) != 0) || (capture && pipe2(out_pipe, O_CLOEXEC) != 0)) {
        for (int& fd : in_pipe) close_fd(fd);
        return run;
    }
    const pid_t pid = spawn(argv, in_pipe[0], out_pipe[1]);
    close_fd(in_pipe[0]);
    close_fd(out_pipe[1]);
    if (pid < 0) {
        close_fd(in_pipe[1]);
        close_fd(out_pipe[0]);
        return run;
    }
    run.started = true;
    const long long deadline = timeout_ms > 0 ? now_ms() + timeout_ms : 0;
    if (input) {
        run.input_written = write_all(in_pipe[1], *input);
        close_fd(in_pipe[1]);
    }
    if (capture) {
        collect(out_pipe[0], max_output, deadline, run);
        close_fd(out_pipe[0]);
    }
    reap(pid, deadline, run);
    return run;
}
