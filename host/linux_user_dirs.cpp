// Settings and log folders and window system on Linux: the XDG base directories and the DISPLAY /
// WAYLAND_DISPLAY variables.
#include <filesystem>
#include <system_error>

#include "host/platform.hpp"
#include "host/user_dirs.hpp"

namespace {

std::string env(const char* name) { return platform::get_env(name).value_or(""); }

// $VARIABLE/varnix, or ~/DEFAULT/varnix, created when missing.
std::string xdg_folder(const char* variable, const char* fallback) {
    // A value that is not absolute is to be ignored, as the XDG rules say.
    std::filesystem::path base = env(variable);
    if (base.empty() || !base.is_absolute()) {
        std::string home = env("HOME");
        if (home.empty()) return {};
        base = std::filesystem::path(home) / fallback;
    }
    std::filesystem::path folder = base / "varnix";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec || !std::filesystem::is_directory(folder, ec)) return {};
    return folder.string();
}

}  // namespace

std::string settings_folder() { return xdg_folder("XDG_CONFIG_HOME", ".config"); }

std::string log_folder() { return xdg_folder("XDG_STATE_HOME", ".local/state"); }

std::string documents_folder() { return env("HOME"); }

std::string no_window_reason() {
    if (env("DISPLAY").empty() && env("WAYLAND_DISPLAY").empty())
        return "no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is set; "
               "start Varnix from the desktop, or give a landscape, a latitude and a longitude "
               "to convert on the command line)";
    return {};
}

std::string window_refused_reason() {
    std::string display = env("DISPLAY");
    if (display.empty()) display = env("WAYLAND_DISPLAY");
    if (display.empty()) return no_window_reason();
    return "no window could be opened on the display \"" + display +
           "\" (is its server running, and may this user open windows on it?)";
}
