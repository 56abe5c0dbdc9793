// Dialogs through zenity. zenity cannot tell "no display" from Cancel (both exit 1), so a
// dialog is only attempted when a display is set.
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "host/linux_process.hpp"
#include "host/messages.hpp"
#include "host/platform.hpp"
#include "util/cp1252.hpp"
#include "util/i18n.hpp"

namespace {

bool display_set() {
    for (const char* name : {"WAYLAND_DISPLAY", "DISPLAY"}) {
        auto v = platform::get_env(name);
        if (v && !v->empty()) return true;
    }
    return false;
}

std::string opt(std::string_view name, std::string_view value) {
    std::string s(name);
    s += '=';
    s += value;
    return s;
}

struct Labels {
    std::string yes, no, ok, cancel;
};

// zenity's own labels follow its locale, which may not be the pilot's: ours are given.
Labels labels() {
    auto label = [](std::string_view english) { return cp1252_to_utf8(translate(english)); };
    return {label("Yes"), label("No"), label("OK"), label("Cancel")};
}

std::string chomp(std::string s) {
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    return s;
}

}  // namespace

namespace platform {

bool message_box(std::string_view title, std::string_view text, DialogButtons buttons,
                 DialogIcon icon, int& answer) {
    if (!display_set()) return false;
    std::vector<std::string> argv{"zenity"};
    Labels l = labels();
    switch (buttons) {
        case DialogButtons::ok:
            argv.push_back(icon == DialogIcon::error     ? "--error"
                           : icon == DialogIcon::warning ? "--warning"
                                                         : "--info");
            break;
        case DialogButtons::yesno:
            argv.insert(argv.end(),
                        {"--question", opt("--ok-label", l.yes), opt("--cancel-label", l.no)});
            break;
        case DialogButtons::okcancel:
            argv.insert(argv.end(),
                        {"--question", opt("--ok-label", l.ok), opt("--cancel-label", l.cancel)});
            break;
        case DialogButtons::yesnocancel:
            argv.insert(argv.end(), {"--question", opt("--ok-label", l.yes),
                                     opt("--cancel-label", l.cancel), opt("--extra-button", l.no)});
            break;
    }
    argv.insert(argv.end(), {opt("--title", title), opt("--text", text), "--no-markup"});
    ProcessRun run = run_process(argv, std::nullopt, true);
    if (!run.started) return false;
    if (run.exit_code == 0)
        answer = 1;
    else if (buttons == DialogButtons::yesnocancel && chomp(run.output) == l.no)
        answer = 2;
    else
        answer = 0;
    return true;
}

bool file_dialog(FileDialogKind kind, std::string_view title, std::string_view default_path,
                 const std::vector<std::string>& patterns, std::string_view description,
                 std::optional<std::string>& chosen) {
    if (!display_set()) return false;
    std::vector<std::string> argv{"zenity", "--file-selection", opt("--title", title)};
    if (kind == FileDialogKind::save) argv.insert(argv.end(), {"--save", "--confirm-overwrite"});
    if (kind == FileDialogKind::folder) argv.push_back("--directory");
    if (!default_path.empty()) argv.push_back(opt("--filename", default_path));
    if (!patterns.empty()) {
        std::string filter, list;
        for (const std::string& p : patterns) list += (list.empty() ? "" : " ") + p;
        filter = description.empty() ? list : std::string(description);
        argv.push_back(opt("--file-filter", filter + " | " + list));
        argv.push_back(opt("--file-filter", cp1252_to_utf8(translate("All files")) +
                                                " | *"));  // the choice desktop users expect
    }
    ProcessRun run = run_process(argv, std::nullopt, true);
    if (!run.started) return false;
    std::string path = chomp(run.output);
    chosen.reset();
    if (run.exit_code == 0 && !path.empty()) chosen = path;
    return true;
}

bool color_dialog(std::string_view title, std::string_view default_hex,
                  std::optional<std::string>& chosen) {
    if (!display_set()) return false;
    std::vector<std::string> argv{"zenity", "--color-selection", opt("--title", title)};
    if (!default_hex.empty()) argv.push_back(opt("--color", default_hex));
    ProcessRun run = run_process(argv, std::nullopt, true);
    if (!run.started) return false;
    chosen.reset();
    if (run.exit_code != 0) return true;
    std::string out = chomp(run.output);
    int r = 0, g = 0, b = 0;
    if (std::sscanf(out.c_str(), "rgb(%d,%d,%d)", &r, &g, &b) == 3 ||
        std::sscanf(out.c_str(), "rgba(%d,%d,%d", &r, &g, &b) == 3) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "#%02x%02x%02x", r & 0xFF, g & 0xFF, b & 0xFF);
        chosen = hex;
    } else if (parse_hex_colour(out)) {
        for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
        chosen = out;
    }
    return true;
}

}  // namespace platform
