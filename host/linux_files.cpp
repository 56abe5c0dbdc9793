// Files, time and environment on Linux.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>

#include "host/platform.hpp"

namespace platform {

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

int time_of_day_ms() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    std::tm local{};
    localtime_r(&ts.tv_sec, &local);
    return local.tm_hour * 3'600'000 + local.tm_min * 60'000 + local.tm_sec * 1000 +
           int(ts.tv_nsec / 1'000'000);
}

}  // namespace platform
