// Settings and log folders and window system on Windows: %APPDATA%\Varnix and
// %LOCALAPPDATA%\Varnix, and a desktop that is always there to ask.
// These need windows.h before them.
// clang-format off
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>
// clang-format on

#include <filesystem>
#include <system_error>

#include "host/files.hpp"
#include "host/user_dirs.hpp"
#include "host/win32_text.hpp"

namespace {

// KNOWN\Varnix, created when missing.
std::string varnix_folder(REFKNOWNFOLDERID known) {
    PWSTR found = nullptr;
    std::string base;
    if (SUCCEEDED(SHGetKnownFolderPath(known, 0, nullptr, &found))) base = narrow(found);
    CoTaskMemFree(found);
    if (base.empty()) return {};
    const std::string folder = path_join(base, "Varnix");
    std::error_code ec;
    std::filesystem::create_directories(fs_path(folder), ec);
    return dir_exists(folder) ? folder : std::string();
}

}  // namespace

std::string settings_folder() { return varnix_folder(FOLDERID_RoamingAppData); }

std::string log_folder() { return varnix_folder(FOLDERID_LocalAppData); }

std::string documents_folder() {
    PWSTR found = nullptr;
    std::string folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &found)))
        folder = narrow(found);
    CoTaskMemFree(found);
    return folder;
}

std::string no_window_reason() { return {}; }

std::string window_refused_reason() {
    return "Windows refused to open the window (is this a desktop session, with OpenGL?)";
}
