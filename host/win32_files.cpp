// Files, time and environment on Windows: every path through the wide calls.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <filesystem>
#include <system_error>

#include "host/platform.hpp"
#include "host/win32_text.hpp"

namespace {

// Temporary outputs removed when Ctrl-C, Ctrl-Break or closing the console ends the run.
// The handler runs on a thread of its own: fixed storage, no allocation.
constexpr int temps_max = 4;
constexpr std::size_t temp_path_max = 32768;
wchar_t temp_paths[temps_max][temp_path_max];
volatile LONG temp_used[temps_max];

BOOL WINAPI remove_temps(DWORD) {
    for (int i = 0; i < temps_max; ++i)
        if (temp_used[i]) DeleteFileW(temp_paths[i]);
    return FALSE;  // the default handler still ends the process
}

void watch_temp(const std::wstring& path) {
    static bool handler = false;
    if (!handler) handler = SetConsoleCtrlHandler(remove_temps, TRUE) != 0;
    if (path.size() >= temp_path_max) return;
    for (int i = 0; i < temps_max; ++i) {
        if (temp_used[i]) continue;
        path.copy(temp_paths[i], path.size());
        temp_paths[i][path.size()] = L'\0';
        temp_used[i] = 1;
        return;
    }
}

void forget_temp(const std::wstring& path) {
    for (int i = 0; i < temps_max; ++i)
        if (temp_used[i] && path == temp_paths[i]) temp_used[i] = 0;
}

// Names Windows keeps for devices in every folder ("NUL", "con.txt", "COM1"...).
bool is_device_name(std::wstring name) {
    const std::size_t dot = name.find(L'.');
    if (dot != std::wstring::npos) name.resize(dot);
    while (!name.empty() && (name.back() == L' ')) name.pop_back();
    for (wchar_t& c : name) c = wchar_t(std::towupper(c));
    if (name == L"NUL" || name == L"CON" || name == L"PRN" || name == L"AUX" || name == L"CONIN$" ||
        name == L"CONOUT$")
        return true;
    return name.size() == 4 && (name.starts_with(L"COM") || name.starts_with(L"LPT")) &&
           name[3] >= L'1' && name[3] <= L'9';
}

long long unix_seconds(const FILETIME& ft) {
    constexpr long long ticks_per_second = 10'000'000;
    constexpr long long epoch_ticks = 116'444'736'000'000'000;  // 1601-01-01 to 1970-01-01
    const long long ticks = (static_cast<long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return (ticks - epoch_ticks) / ticks_per_second;
}

}  // namespace

namespace platform {

std::string_view path_separators() { return "\\/"; }

std::filesystem::path native_path(std::string_view path) { return widen(path); }

std::string utf8_path(const std::filesystem::path& path) { return narrow(path.native()); }

std::FILE* open_file(std::string_view path, const char* mode) {
    return _wfopen(widen(path).c_str(), widen(mode).c_str());
}

std::string last_error_text() {
    // The C library keeps the system's own code beside errno: its words are Windows' words, in
    // the user's language ("Access is denied.").
    const DWORD code = DWORD(_doserrno);
    if (code == 0) return errno ? std::strerror(errno) : "";
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string out = n ? narrow(std::wstring_view(text, n)) : std::string();
    LocalFree(text);
    while (!out.empty() &&
           (out.back() == '\n' || out.back() == '\r' || out.back() == ' ' || out.back() == '.'))
        out.pop_back();
    return out;
}

std::optional<std::string> get_env(std::string_view name) {
    const std::wstring wname = widen(name);
    DWORD n = GetEnvironmentVariableW(wname.c_str(), nullptr, 0);
    if (n == 0) {
        if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
        return std::string();
    }
    std::wstring value(n, L'\0');
    n = GetEnvironmentVariableW(wname.c_str(), value.data(), n);
    value.resize(n);
    return narrow(value);
}

std::string user_name() {
    wchar_t buf[257];
    DWORD n = 257;
    if (!GetUserNameW(buf, &n) || n == 0) return {};
    return narrow(std::wstring_view(buf, n - 1));
}

std::string executable_path() {
    // The buffer grows until the whole path fits: a cut path would name another folder.
    for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
        std::wstring buf(size, L'\0');
        const DWORD n = GetModuleFileNameW(nullptr, buf.data(), size);
        if (n == 0) return {};
        if (n < size) {
            buf.resize(n);
            return narrow(buf);
        }
    }
    return {};
}

long long file_mtime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !GetFileAttributesExW(widen(path).c_str(), GetFileExInfoStandard, &data))
        return -1;
    return unix_seconds(data.ftLastWriteTime);
}

std::string write_target(const std::string& target) {
    std::error_code ec;
    const std::filesystem::path p = native_path(target);
    if (!std::filesystem::is_symlink(p, ec)) return target;
    // Moving over the link would cut it from the file it names.
    const std::filesystem::path real = std::filesystem::canonical(p, ec);
    return ec ? target : utf8_path(real);
}

bool is_special_file(const std::string& path) {
    const std::wstring wide = widen(path);
    if (wide.starts_with(L"\\\\.\\")) return true;  // \\.\pipe\..., \\.\COM10
    std::size_t name_at = wide.find_last_of(L"\\/:");
    name_at = name_at == std::wstring::npos ? 0 : name_at + 1;
    if (is_device_name(wide.substr(name_at))) return true;
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::FILE* create_file_beside(const std::string& target, std::string& temp) {
    const std::wstring wide = widen(target);
    std::size_t name_at = wide.find_last_of(L"\\/");
    name_at = name_at == std::wstring::npos ? 0 : name_at + 1;
    if (name_at == 0 && wide.size() >= 2 && wide[1] == L':') name_at = 2;  // "C:name"
    const std::wstring folder = wide.substr(0, name_at);
    // A short name of our own: the target's name may already be as long as a name can be.
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        wchar_t name[40];
        swprintf(name, 40, L".varnix-%08lx%04x", GetCurrentProcessId(),
                 (GetTickCount() + attempt * 7919u) & 0xFFFFu);
        const std::wstring candidate = folder + name;
        const int fd = _wopen(candidate.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY,
                              _S_IREAD | _S_IWRITE);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return nullptr;
        }
        std::FILE* f = _fdopen(fd, "wb");
        if (!f) {
            _close(fd);
            DeleteFileW(candidate.c_str());
            return nullptr;
        }
        temp = narrow(candidate);
        watch_temp(candidate);
        return f;
    }
    return nullptr;
}

bool replace_file(const std::string& source, const std::string& target) {
    // std::rename fails on Windows when the target exists; this replaces it in one step, and
    // on failure leaves both files as they were.
    const std::wstring from = widen(source);
    if (!MoveFileExW(from.c_str(), widen(target).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return false;
    forget_temp(from);
    return true;
}

void remove_temp_file(const std::string& temp) {
    const std::wstring wide = widen(temp);
    DeleteFileW(wide.c_str());
    forget_temp(wide);
}

// Windows writes a replaced file out on its own schedule: nothing to start.
void start_write_out(std::FILE*) {}

int time_of_day_ms() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return t.wHour * 3'600'000 + t.wMinute * 60'000 + t.wSecond * 1000 + t.wMilliseconds;
}

}  // namespace platform
