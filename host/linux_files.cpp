// Files, time and environment on Linux.
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "host/platform.hpp"

namespace {

// Temporary outputs removed when Ctrl-C or a kill ends the run, so none is left beside the
// user's files. Fixed storage: a signal handler may not allocate.
constexpr int temps_max = 4;
constexpr std::size_t temp_path_max = 4096;
char temp_paths[temps_max][temp_path_max];
volatile sig_atomic_t temp_used[temps_max];

extern "C" void remove_temps_and_end(int sig) {
    for (int i = 0; i < temps_max; ++i)
        if (temp_used[i]) unlink(temp_paths[i]);
    signal(sig, SIG_DFL);
    raise(sig);
}

void watch_temp(const std::string& path) {
    static bool handlers = false;
    if (!handlers) {
        handlers = true;
        for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
            struct sigaction old {};
            // A signal the caller ignores (nohup) stays ignored.
            if (sigaction(sig, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
            struct sigaction act {};
            act.sa_handler = remove_temps_and_end;
            sigemptyset(&act.sa_mask);
            sigaction(sig, &act, nullptr);
        }
    }
    if (path.size() >= temp_path_max) return;
    for (int i = 0; i < temps_max; ++i) {
        if (temp_used[i]) continue;
        std::memcpy(temp_paths[i], path.c_str(), path.size() + 1);
        temp_used[i] = 1;
        return;
    }
}

void forget_temp(const std::string& path) {
    for (int i = 0; i < temps_max; ++i)
        if (temp_used[i] && path == temp_paths[i]) temp_used[i] = 0;
}

}  // namespace

namespace platform {

std::string_view path_separators() { return "/"; }

// Linux paths are bytes: UTF-8 by convention, and any other bytes pass through untouched.
std::filesystem::path native_path(std::string_view path) { return std::string(path); }

std::string utf8_path(const std::filesystem::path& path) { return path.native(); }

std::FILE* open_file(std::string_view path, const char* mode) {
    return std::fopen(std::string(path).c_str(), mode);
}

std::string last_error_text() { return errno ? std::strerror(errno) : ""; }

std::optional<std::string> get_env(std::string_view name) {
    const char* v = std::getenv(std::string(name).c_str());
    if (!v) return std::nullopt;
    return std::string(v);
}

std::string user_name() {
    if (const char* u = std::getenv("USER"); u && *u) return u;
    if (const passwd* pw = getpwuid(getuid())) return pw->pw_name;
    return {};
}

std::string executable_path() {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf);
    if (n <= 0 || std::size_t(n) >= sizeof buf) return {};
    return std::string(buf, std::size_t(n));
}

long long file_mtime(const std::string& path) {
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) != 0) return -1;
    return static_cast<long long>(st.st_mtime);
}

std::string write_target(const std::string& target) {
    struct stat st {};
    if (lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
    // Renaming over the link would cut it from the file it names.
    char* real = realpath(target.c_str(), nullptr);
    if (!real) return target;
    std::string out = real;
    std::free(real);
    return out;
}

bool is_special_file(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

std::FILE* create_file_beside(const std::string& target, std::string& temp) {
    const std::size_t slash = target.find_last_of('/');
    const std::size_t name_at = slash == std::string::npos ? 0 : slash + 1;
    // A short name of our own: the target's name may already be as long as a name can be.
    std::string pattern = target.substr(0, name_at) + ".varnix-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) return nullptr;
    // mkstemp makes the file private; an output keeps the permissions of the file it replaces,
    // or gets what any new file would get.
    struct stat st {};
    if (stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        fchmod(fd, st.st_mode & 07777);
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
    }
    std::FILE* f = fdopen(fd, "wb");
    if (!f) {
        close(fd);
        unlink(pattern.c_str());
        return nullptr;
    }
    temp = pattern;
    watch_temp(temp);
    return f;
}

bool replace_file(const std::string& source, const std::string& target) {
    if (std::rename(source.c_str(), target.c_str()) != 0) return false;
    forget_temp(source);
    return true;
}

void remove_temp_file(const std::string& temp) {
    std::remove(temp.c_str());
    forget_temp(temp);
}

void start_write_out(std::FILE* f) { sync_file_range(fileno(f), 0, 0, SYNC_FILE_RANGE_WRITE); }

int time_of_day_ms() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    std::tm local{};
    localtime_r(&ts.tv_sec, &local);
    return local.tm_hour * 3'600'000 + local.tm_min * 60'000 + local.tm_sec * 1000 +
           int(ts.tv_nsec / 1'000'000);
}

}  // namespace platform
