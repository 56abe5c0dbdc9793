// Settings folder and window system on Linux: the XDG base directories and the DISPLAY /
// WAYLAND_DISPLAY variables.
#include <filesystem>
#include <system_error>

#include "host/platform.hpp"
#include "host/user_dirs.hpp"

namespace {

std::string env(const char* name) { return platform::get_env(name).value_or(""); }

}  // namespace

std::string settings_folder() {
    // An XDG_CONFIG_HOME that is not absolute is to be ignored, as the XDG rules say.
    std::filesystem::path base = env("XDG_CONFIG_HOME");
    if (base.empty() || !base.is_absolute()) {
        std::string home = env("HOME");
        if (home.empty()) return {};
        base = std::filesystem::path(home) / ".config";
    }
    std::filesystem::path folder = base / "varnix";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec || !std::filesystem::is_directory(folder, ec)) return {};
    return folder.string();
}

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
