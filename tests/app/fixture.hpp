// Test fixtures for whole-program runs: a simulator installation written into a temp folder,
// and a runner that starts the real varnix binary with a controlled environment.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/common/temp_dir.hpp"

namespace fs = std::filesystem;

// The fields of a terrain header (little-endian, 36 bytes).
struct TrnHeader {
    std::int32_t ncols = 400, nrows = 300;
    float orien = 0, rew = 100, rns = 100;
    float orig_e = 540000, orig_n = 5130000;
    std::int8_t zone = 32;
    char hemisphere = 'N';
};
void write_trn(const fs::path& file, const TrnHeader& h);
void write_text(const fs::path& file, const std::string& text);
std::string read_text(const fs::path& file);

// A simulator installation: install folders, landscapes, and the registry store naming them.
class Installation {
  public:
    explicit Installation(fs::path root) : root_(std::move(root)) {}
    // Install folder of `version` with Volaro.exe and a log reading `log_version`.
    fs::path add_version(int version, int log_version = 0);
    void add_landscape(int version, const std::string& name, const TrnHeader& h = {});
    // Writes a user.reg-format store with the InstallDir values (host paths) and extra lines.
    fs::path write_store(const std::string& extra = "") const;
    const fs::path& root() const { return root_; }

  private:
    fs::path root_;
    std::map<int, fs::path> install_dirs_;
};

// Tests beside an installation of one landscape, "Alps", named by the registry store `store`.
class AlpsInstalled : public ::testing::Test {
  protected:
    void SetUp() override {
        install.add_version(2);
        install.add_landscape(2, "Alps");
        store = install.write_store();
    }

    TempDir root;
    Installation install{root.path()};
    fs::path store;
};

struct RunResult {
    std::string out, err;
    int status = -1;
};

// Runs varnix with `args` in folder `cwd`. The environment holds PATH, HOME=cwd, LANG=C.UTF-8,
// VARNIX_NO_DIALOGS=1 and the sanitizer options, plus `env` (an empty value removes a name).
RunResult run_varnix(const std::vector<std::string>& args, const fs::path& cwd,
                     const std::map<std::string, std::string>& env = {});
// Starts `binary` in `cwd` with that environment and does not wait: standard output and error go
// to cwd/.stdout and cwd/.stderr. The process id, -1 when it could not start.
int spawn_program(const fs::path& binary, const std::vector<std::string>& args, const fs::path& cwd,
                  const std::map<std::string, std::string>& env = {});
// The same with a copy of the binary elsewhere (the files it looks for beside itself).
RunResult run_program(const fs::path& binary, const std::vector<std::string>& args,
                      const fs::path& cwd, const std::map<std::string, std::string>& env = {});
