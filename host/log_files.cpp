#include "host/log_files.hpp"

#include <filesystem>
#include <map>
#include <system_error>

#include "host/files.hpp"
#include "host/user_dirs.hpp"

namespace {

// Per log (its name made absolute: a run may change folders), the path it went to in this
// run: a log does not move halfway through a run.
std::map<std::string, std::string, std::less<>> chosen;
bool user_folder_only = false;  // a window's run: keep_logs_in_user_folder

std::string old_copy_name(std::string_view path) {
    const std::size_t name_at = path_name_start(path);
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot <= name_at) return std::string(path) + ".old";
    return std::string(path.substr(0, dot)) + ".old" + std::string(path.substr(dot));
}

// Moves a log grown past the bound aside; false when it is too large and cannot be moved.
bool keep_bounded(const std::string& path) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(fs_path(path), ec);
    if (ec || size <= log_rotate_bytes) return true;
    return replace_file(path, old_copy_name(path));
}

std::FILE* open_at(const std::string& path, const char* mode, bool append) {
    if (append && !keep_bounded(path)) return nullptr;
    return open_file(path, mode);
}

}  // namespace

std::string log_file_key(std::string_view name) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(fs_path(name), ec);
    return ec ? std::string(name) : path_from_fs(absolute);
}

std::FILE* open_log_file(std::string_view name, const char* mode) {
    const bool append = mode[0] == 'a';
    const char* text_mode = append ? "a" : "w";
    const std::string key = log_file_key(name);
    if (auto it = chosen.find(key); it != chosen.end())
        return open_file(it->second, text_mode);  // bounded at its first opening in the run
    std::string path(name);
    std::FILE* f = user_folder_only ? nullptr : open_at(path, text_mode, append);
    if (!f) {
        const std::string folder = log_folder();
        if (folder.empty()) return nullptr;
        path = path_join(folder, name.substr(path_name_start(name)));
        f = open_at(path, text_mode, append);
        if (!f) return nullptr;
    }
    chosen.emplace(key, path);
    return f;
}

std::string log_file_path(std::string_view name) {
    auto it = chosen.find(log_file_key(name));
    return it == chosen.end() ? std::string(name) : it->second;
}

void keep_logs_in_user_folder() { user_folder_only = true; }

void reset_log_files() {
    chosen.clear();
    user_folder_only = false;
}
