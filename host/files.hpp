// Paths and file-system queries.
//
// The one rule for paths: a path held in a std::string is UTF-8 (on Linux the bytes the system
// gave, whatever they are), from where it enters (the command line, the registry, the file
// system) to the system call, which converts it once: fs_path() and open_file() are the only
// ways to the system (bytes on Linux, the wide calls on Windows). Texts are Windows-1252: a path
// goes into a message or a log line through path_text(), and a path that was typed or read as
// text (the form's boxes, its landscape list) becomes a path through text_path().
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// A path as Windows-1252 text, for messages and logs (characters it cannot hold become '?').
std::string path_text(std::string_view path);
// A Windows-1252 text naming a file or folder, as a path.
std::string text_path(std::string_view text);
// A path as the system's own path type, and back.
std::filesystem::path fs_path(std::string_view path);
std::string path_from_fs(const std::filesystem::path& path);
// std::fopen for a path; nullptr when it cannot be opened.
std::FILE* open_file(std::string_view path, const char* mode);

bool file_exists(std::string_view path);  // a regular file (or a link to one)
// A file marked read-only (no one may write it): it is not replaced, as copy tools refuse.
bool is_read_only(std::string_view path);
// What tells a file changed since it was read: its size and modification time.
struct FileStamp {
    std::uintmax_t size = 0;
    long long mtime = -1;
    bool operator==(const FileStamp&) const = default;
};
// The file's stamp; mtime -1 when it is missing.
FileStamp file_stamp(std::string_view path);
bool dir_exists(std::string_view path);
// Names in a folder, sorted as Windows lists them (case-insensitively), hidden (dot) entries
// left out; empty when unreadable.
std::vector<std::string> list_folder(std::string_view path);

// True for the separators of a path on this system ('/' on Linux; '\' and '/' on Windows).
bool is_path_separator(char c);
// Where the last component of `path` starts (0 when it has no folder part).
std::size_t path_name_start(std::string_view path);
// Joins with the host separator, never doubling it.
std::string path_join(std::string_view dir, std::string_view name);
// Replaces `target` by `source` (a file beside it) in one step, also when `target` exists; when
// it cannot, both are left as they were and the result is false.
bool replace_file(std::string_view source, std::string_view target);
void remove_file(std::string_view path);
// Case-insensitive ordering of names (the order of list_folder).
bool name_less(std::string_view a, std::string_view b);

// An output written aside: a temporary file in the target's folder that commit() moves over
// the target, so a failed or killed run never empties or half-writes a file the user had.
// Destroyed without commit(), it removes the temporary file and leaves the target alone.
class AsideFile {
  public:
    AsideFile() = default;
    AsideFile(const AsideFile&) = delete;
    AsideFile& operator=(const AsideFile&) = delete;
    ~AsideFile() { discard(); }

    // False when the temporary file cannot be created (no such folder, no permission). A
    // device or pipe (/dev/stdout, a named pipe) is written to directly: replacing it would
    // remove it.
    bool open(std::string_view target);
    void write(std::string_view text) {
        if (!file_) return;
        if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) ok_ = false;
        if (replacing_ && (unwritten_ += text.size()) >= write_out_bytes) write_out();
    }
    // Flushes, closes and moves into place; false when anything failed (the target is then
    // left as it was).
    bool commit();
    void discard();
    bool is_open() const { return file_ != nullptr; }
    // The system's words for why open() or commit() failed ("Permission denied", "the file is
    // read-only"), Windows-1252; "" when it did not fail or the system gave no reason.
    const std::string& failure_reason() const { return reason_; }

  private:
    static constexpr std::size_t write_out_bytes = std::size_t(8) << 20;
    void write_out();

    std::FILE* file_ = nullptr;
    std::string target_, temp_, reason_;
    bool ok_ = true;
    bool direct_ = false;     // a device or pipe, written to where it is
    bool replacing_ = false;  // the target exists: see write_out
    std::size_t unwritten_ = 0;
};
