#include "host_test_util.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "host/registry.hpp"

void write_file(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

std::string read_file(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void set_mtime(const fs::path& file, long long seconds) {
    timespec times[2] = {{seconds, 0}, {seconds, 0}};
    utimensat(AT_FDCWD, file.c_str(), times, 0);
}

EnvOverride::EnvOverride(
    std::initializer_list<std::pair<const char*, std::optional<std::string>>> vars) {
    for (const auto& [name, value] : vars) {
        const char* old = std::getenv(name);
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    registry_reset();
}

EnvOverride::~EnvOverride() {
    for (const auto& [name, value] : saved_) {
        if (value)
            setenv(name.c_str(), value->c_str(), 1);
        else
            unsetenv(name.c_str());
    }
    registry_reset();
}

ChangeDir::ChangeDir(const fs::path& dir) : old_(fs::current_path()) { fs::current_path(dir); }
ChangeDir::~ChangeDir() { fs::current_path(old_); }
