// Settings folder and window system on Windows: %APPDATA%\Varnix, and a desktop that is always
// there to ask.
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

std::string settings_folder() {
    PWSTR roaming = nullptr;
    std::string base;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &roaming)))
        base = narrow(roaming);
    CoTaskMemFree(roaming);
    if (base.empty()) return {};
    const std::string folder = path_join(base, "Varnix");
    std::error_code ec;
    std::filesystem::create_directories(fs_path(folder), ec);
    return dir_exists(folder) ? folder : std::string();
}

std::string no_window_reason() { return {}; }

std::string window_refused_reason() {
    return "Windows refused to open the window (is this a desktop session, with OpenGL?)";
}
