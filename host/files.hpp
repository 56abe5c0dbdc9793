// File-system queries. Paths are Windows-1252 text like every other text of the program;
// they are converted to the file system's encoding here (to_host_path) when the system is asked.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

bool file_exists(std::string_view path);  // a regular file (or a link to one)
bool dir_exists(std::string_view path);
// A regular file (or a link to one) at a host path, the bytes as the system has them.
bool host_file_exists(const std::string& host_path);
// Names in a folder, sorted as Windows lists them (case-insensitively), hidden (dot) entries
// left out; empty when unreadable.
std::vector<std::string> list_folder(std::string_view path);
// Joins with the host separator, never doubling it.
std::string path_join(std::string_view dir, std::string_view name);

// A path as the file system wants it (UTF-8), and a name from the file system as text.
std::string to_host_path(std::string_view path);
std::string from_host_path(std::string_view host_path);
// Case-insensitive ordering of Windows-1252 names (the order of list_folder).
bool name_less(std::string_view a, std::string_view b);

// An output written aside: a temporary file in the target's folder that commit() renames over
// the target, so a failed or killed run never empties or half-writes a file the user had.
// Destroyed without commit(), it removes the temporary file and leaves the target alone.
class AsideFile {
  public:
    AsideFile() = default;
    AsideFile(const AsideFile&) = delete;
    AsideFile& operator=(const AsideFile&) = delete;
    ~AsideFile() { discard(); }

    // `target` is a host path. False when the temporary file cannot be created (no such
    // folder, no permission). A device or pipe (/dev/stdout, a named pipe) is written to
    // directly: replacing it would remove it.
    bool open(std::string_view target);
    void write(std::string_view text) {
        if (file_ && std::fwrite(text.data(), 1, text.size(), file_) != text.size()) ok_ = false;
    }
    // Flushes, closes and renames into place; false when anything failed (the target is then
    // left as it was).
    bool commit();
    void discard();
    bool is_open() const { return file_ != nullptr; }

  private:
    std::FILE* file_ = nullptr;
    std::string target_, temp_;  // host paths
    bool ok_ = true;
    bool direct_ = false;  // a device or pipe, written to where it is
};
