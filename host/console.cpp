#include "host/console.hpp"

#include <cstdio>

#include "host/platform.hpp"
#include "util/i18n.hpp"
#include "util/text.hpp"

namespace {

struct KeptState {
    std::vector<std::string> lines;  // Windows-1252, as written
    std::vector<std::string> boxes;  // Windows-1252, trimmed
};
KeptState kept_state;

// Enough for any run but a verbose one, whose lines a redirection keeps whole.
constexpr std::size_t kept_lines_max = 1000;

// Lines leave in the pilot's language (util/i18n.hpp): the program writes English.
void write_line(std::FILE* stream, std::string_view text) {
    const std::string line = translate(text);
    if (platform::console_write(stream, line)) return;
    std::string out = console_from_cp1252(line);
    out += '\n';
    std::fwrite(out.data(), 1, out.size(), stream);
}

// "Varnix: TEXT" (a box's echo) and "STOP TEXT" repeat the box that showed TEXT.
bool repeats_a_box(std::string_view line) {
    line = trim(line);
    for (const std::string& box : kept_state.boxes)
        if (!box.empty() && line.ends_with(box)) return true;
    return false;
}

}  // namespace

void console_init() { platform::console_setup(); }

std::vector<std::string> console_arguments(int argc, char** argv) {
    return platform::command_line(argc, argv);
}

std::string console_arg_to_cp1252(std::string_view arg) {
    return is_ascii(arg) ? std::string(arg) : platform::console_decode(arg);
}

std::string console_from_cp1252(std::string_view text) {
    return is_ascii(text) ? std::string(text) : platform::console_encode(text);
}

void console_line(std::string_view text) { write_line(stdout, text); }

void console_error_line(std::string_view text) { write_line(stderr, text); }

void console_keep(std::string_view line) {
    if (kept_state.lines.size() < kept_lines_max) kept_state.lines.emplace_back(line);
}

void console_box_shown(std::string_view utf8_text) {
    kept_state.boxes.emplace_back(trim(utf8_or_cp1252_to_cp1252(utf8_text)));
}

KeptLines console_kept(std::size_t max_lines) {
    KeptLines out;
    std::size_t shown = 0;
    for (const std::string& line : kept_state.lines) {
        if (repeats_a_box(line)) continue;
        const std::string_view t = trim(line);
        out.stopped = out.stopped || t.starts_with("STOP");
        out.warned = out.warned || t.starts_with("Warning");
        if (shown < max_lines) {
            out.text += line;
            out.text += '\n';
        } else if (shown == max_lines) {
            out.text += "...\n";
        }
        ++shown;
    }
    if (!out.text.empty()) out.text.pop_back();
    return out;
}

void reset_console_keep() { kept_state = KeptState{}; }
