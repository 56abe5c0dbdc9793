#include "fixture.hpp"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

void write_trn(const fs::path& file, const TrnHeader& h) {
    unsigned char b[36] = {};
    auto put32 = [&](int at, const void* v) { std::memcpy(b + at, v, 4); };
    put32(0, &h.ncols);
    put32(4, &h.nrows);
    put32(8, &h.orien);
    put32(12, &h.rew);
    put32(16, &h.rns);
    put32(20, &h.orig_e);
    put32(24, &h.orig_n);
    b[28] = static_cast<unsigned char>(h.zone);
    b[32] = static_cast<unsigned char>(h.hemisphere);
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(b), sizeof b);
}

void write_text(const fs::path& file, const std::string& text) {
    if (file.has_parent_path()) fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

std::string read_text(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

fs::path Installation::add_version(int version, int log_version) {
    fs::path dir = root_ / ("Volaro" + std::to_string(version));
    write_text(dir / "Volaro.exe", "");
    if (log_version == 0) log_version = version * 1000 + 150;
    write_text(dir / "Logs" / "Logfile.txt",
               "Volaro version: " + std::to_string(log_version) + "\r\nstarted\r\n");
    install_dirs_[version] = dir;
    return dir;
}

void Installation::add_landscape(int version, const std::string& name, const TrnHeader& h) {
    write_trn(install_dirs_.at(version) / "Landscapes" / name / (name + ".trn"), h);
}

fs::path Installation::write_store(const std::string& extra) const {
    std::string text = "WINE REGISTRY Version 2\n\n";
    for (const auto& [version, dir] : install_dirs_) {
        text += "[Software\\\\Volaro" + std::to_string(version) + "] 1796672679\n";
        text += "\"InstallDir\"=\"" + dir.string() + "\"\n\n";
    }
    text += extra;
    fs::path store = root_ / "user.reg";
    write_text(store, text);
    return store;
}

RunResult run_varnix(const std::vector<std::string>& args, const fs::path& cwd,
                     const std::map<std::string, std::string>& env) {
    return run_program(VARNIX_BINARY, args, cwd, env);
}

int spawn_program(const fs::path& binary, const std::vector<std::string>& args, const fs::path& cwd,
                  const std::map<std::string, std::string>& env) {
    std::map<std::string, std::string> vars = {
        {"PATH", "/usr/local/bin:/usr/bin:/bin"},
        {"HOME", cwd.string()},
        {"LANG", "C.UTF-8"},
        {"VARNIX_NO_DIALOGS", "1"},
    };
    for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"}) {
        if (const char* v = std::getenv(name)) vars[name] = v;
    }
    for (const auto& [k, v] : env) {
        if (v.empty())
            vars.erase(k);
        else
            vars[k] = v;
    }
    std::vector<std::string> env_strings;
    for (const auto& [k, v] : vars) env_strings.push_back(k + "=" + v);
    std::vector<char*> envp;
    for (auto& s : env_strings) envp.push_back(s.data());
    envp.push_back(nullptr);

    std::vector<std::string> argv_strings = {binary.string()};
    argv_strings.insert(argv_strings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& s : argv_strings) argv.push_back(s.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, (cwd / ".stdout").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, (cwd / ".stderr").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

RunResult run_program(const fs::path& binary, const std::vector<std::string>& args,
                      const fs::path& cwd, const std::map<std::string, std::string>& env) {
    RunResult r;
    if (pid_t pid = spawn_program(binary, args, cwd, env); pid > 0) {
        int wstatus = 0;
        waitpid(pid, &wstatus, 0);
        r.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
    }
    r.out = read_text(cwd / ".stdout");
    r.err = read_text(cwd / ".stderr");
    fs::remove(cwd / ".stdout");
    fs::remove(cwd / ".stderr");
    return r;
}
