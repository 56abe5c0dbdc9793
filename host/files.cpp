#include "host/files.hpp"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "host/console.hpp"
#include "host/platform.hpp"

namespace fs = std::filesystem;

std::string path_text(std::string_view path) { return utf8_or_cp1252_to_cp1252(path); }

std::string text_path(std::string_view text) { return cp1252_to_utf8(text); }

fs::path fs_path(std::string_view path) { return platform::native_path(path); }

std::string path_from_fs(const fs::path& path) { return platform::utf8_path(path); }

std::FILE* open_file(std::string_view path, const char* mode) {
    return path.empty() ? nullptr : platform::open_file(path, mode);
}

bool file_exists(std::string_view path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(fs_path(path), ec);
}

bool dir_exists(std::string_view path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(fs_path(path), ec);
}

bool replace_file(std::string_view source, std::string_view target) {
    return platform::replace_file(std::string(source), std::string(target));
}

void remove_file(std::string_view path) {
    std::error_code ec;
    std::filesystem::remove(fs_path(path), ec);
}

bool is_path_separator(char c) {
    return platform::path_separators().find(c) != std::string_view::npos;
}

std::size_t path_name_start(std::string_view path) {
    std::size_t i = path.size();
    while (i > 0 && !is_path_separator(path[i - 1])) --i;
    return i;
}

bool name_less(std::string_view a, std::string_view b) {
    // Compared as the Windows-1252 letters they show as, so that case folding reaches Ä and é.
    const std::string ta = path_text(a), tb = path_text(b);
    auto cmp = [](char x, char y) {
        return cp1252_upper(static_cast<unsigned char>(x)) <
               cp1252_upper(static_cast<unsigned char>(y));
    };
    if (std::lexicographical_compare(ta.begin(), ta.end(), tb.begin(), tb.end(), cmp)) return true;
    if (std::lexicographical_compare(tb.begin(), tb.end(), ta.begin(), ta.end(), cmp)) return false;
    return a < b;  // names equal but for case: a stable order all the same
}

bool is_read_only(std::string_view path) {
    std::error_code ec;
    const fs::file_status st = fs::status(fs_path(path), ec);
    if (ec || !fs::is_regular_file(st)) return false;
    constexpr fs::perms writable = fs::perms::owner_write | fs::perms::group_write |
                                   fs::perms::others_write;
    return (st.permissions() & writable) == fs::perms::none;
}

FileStamp file_stamp(std::string_view path) {
    FileStamp stamp;
    std::error_code ec;
    stamp.size = fs::file_size(fs_path(path), ec);
    if (ec) return stamp;
    // The file system's own resolution: an edit within the same second still shows.
    const auto time = fs::last_write_time(fs_path(path), ec);
    if (!ec) stamp.mtime = static_cast<long long>(time.time_since_epoch().count());
    return stamp;
}

std::vector<std::string> list_folder(std::string_view path) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(fs_path(path), ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::string name = path_from_fs(it->path().filename());
        if (!name.starts_with('.')) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(), name_less);
    return names;
}

std::string path_join(std::string_view dir, std::string_view name) {
    while (!name.empty() && is_path_separator(name.front())) name.remove_prefix(1);
    std::string out(dir);
    if (!out.empty() && !is_path_separator(out.back())) out += platform::path_separators().front();
    out += name;
    return out;
}

namespace {
constexpr std::size_t aside_buffer_size = 1 << 16;
}

bool AsideFile::open(std::string_view target) {
    discard();
    target_ = platform::write_target(std::string(target));
    direct_ = platform::is_special_file(target_);
    // Moving a file over one marked read-only would replace it without a word.
    if (!direct_ && is_read_only(target_)) {
        ok_ = false;
        reason_ = "the file is read-only";
        return false;
    }
    file_ = direct_ ? open_file(target_, "wb") : platform::create_file_beside(target_, temp_);
    ok_ = file_ != nullptr;
    reason_ = ok_ ? std::string() : utf8_or_cp1252_to_cp1252(platform::last_error_text());
    if (file_) std::setvbuf(file_, nullptr, _IOFBF, aside_buffer_size);
    replacing_ = file_ && !direct_ && file_exists(target_);
    unwritten_ = 0;
    return ok_;
}

// A file moved over another is written out in full during the move (ext4 does, so that a
// crash cannot leave it empty), which held up the end of a large batch for tens of
// milliseconds; started as the file grows, the writing is mostly done by then.
void AsideFile::write_out() {
    unwritten_ = 0;
    if (std::fflush(file_) != 0) ok_ = false;
    platform::start_write_out(file_);
}

bool AsideFile::commit() {
    if (!file_) return false;
    if (std::fclose(file_) != 0) ok_ = false;
    file_ = nullptr;
    if (direct_) return ok_;
    if (ok_ && platform::replace_file(temp_, target_)) {
        temp_.clear();
        return true;
    }
    reason_ = utf8_or_cp1252_to_cp1252(platform::last_error_text());
    discard();
    return false;
}

void AsideFile::discard() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    if (!temp_.empty()) platform::remove_temp_file(temp_);
    temp_.clear();
}
