#include "host/files.hpp"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "host/console.hpp"
#include "host/platform.hpp"

namespace fs = std::filesystem;

std::string to_host_path(std::string_view path) { return cp1252_to_utf8(path); }

std::string from_host_path(std::string_view host_path) {
    return utf8_or_cp1252_to_cp1252(host_path);
}

bool file_exists(std::string_view path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(fs::path(to_host_path(path)), ec);
}

bool host_file_exists(const std::string& host_path) {
    std::error_code ec;
    return !host_path.empty() && fs::is_regular_file(fs::path(host_path), ec);
}

bool dir_exists(std::string_view path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(fs::path(to_host_path(path)), ec);
}

bool name_less(std::string_view a, std::string_view b) {
    auto cmp = [](char x, char y) {
        return cp1252_upper(static_cast<unsigned char>(x)) <
               cp1252_upper(static_cast<unsigned char>(y));
    };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), cmp)) return true;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), cmp)) return false;
    return a < b;  // names equal but for case: a stable order all the same
}

std::vector<std::string> list_folder(std::string_view path) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(fs::path(to_host_path(path)), ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (!name.starts_with('.')) names.push_back(from_host_path(name));
    }
    std::sort(names.begin(), names.end(), name_less);
    return names;
}

std::string path_join(std::string_view dir, std::string_view name) {
    while (name.starts_with('/')) name.remove_prefix(1);
    std::string out(dir);
    if (!out.empty() && out.back() != '/') out += '/';
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
    file_ =
        direct_ ? std::fopen(target_.c_str(), "wb") : platform::create_file_beside(target_, temp_);
    ok_ = file_ != nullptr;
    if (file_) std::setvbuf(file_, nullptr, _IOFBF, aside_buffer_size);
    return ok_;
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
    discard();
    return false;
}

void AsideFile::discard() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    if (!temp_.empty()) platform::remove_temp_file(temp_);
    temp_.clear();
}
