// Files, time and environment on Linux.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
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
    return f;
}

bool replace_file(const std::string& source, const std::string& target) {
    return std::rename(source.c_str(), target.c_str()) == 0;
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
