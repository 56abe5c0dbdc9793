// Helpers shared by the host tests: temp folders, files, environment overrides.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/common/temp_dir.hpp"

namespace fs = std::filesystem;

void write_file(const fs::path& file, const std::string& bytes);
std::string read_file(const fs::path& file);
// Sets a file's modification time (seconds since the epoch).
void set_mtime(const fs::path& file, long long seconds);

// Sets (or, with nullopt, removes) environment variables for the object's life, and drops the
// registry store cache on both ends so each test reads its own store.
class EnvOverride {
  public:
    EnvOverride(std::initializer_list<std::pair<const char*, std::optional<std::string>>> vars);
    ~EnvOverride();

  private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// Runs `body` in the current directory `dir` and returns there.
class ChangeDir {
  public:
    explicit ChangeDir(const fs::path& dir);
    ~ChangeDir();

  private:
    fs::path old_;
};
