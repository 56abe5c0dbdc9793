#include "host/messages.hpp"

#include <cstdio>
#include <unordered_set>
#include <utility>

#include "host/console.hpp"
#include "host/diag.hpp"
#include "host/dialogs.hpp"
#include "host/files.hpp"
#include "host/log_files.hpp"
#include "host/platform.hpp"
#include "util/i18n.hpp"
#include "util/text.hpp"
#include "util/text_field.hpp"

namespace {

struct LogState {
    TextField<256> filnam{"Logfile.txt"};
    bool echo_boxes = false;  // box messages also on standard error (batch runs)
    MessageSink sink;
    // Messages logged in this run, each with its log: one that comes again (the installation
    // found at every conversion set-up) is written once, so the log says what happened, not
    // how often.
    std::unordered_set<std::string> logged;
};
LogState log_state;

constexpr std::size_t box_message_max = 511;
constexpr std::size_t box_title_max = 63;
constexpr std::size_t log_field_size = 1024;
// Past this many distinct messages a run stops remembering them (and writes every new one):
// the memory of a long run stays bounded.
constexpr std::size_t logged_remembered_max = 4096;

// "/" is a line break; "\/" is a literal "/".
std::string break_lines(std::string_view msg) {
    std::string out;
    out.reserve(msg.size());
    for (char c : msg) {
        if (c != '/') {
            out += c;
        } else if (!out.empty() && out.back() == '\\') {
            out.back() = '/';
        } else {
            out += '\n';
        }
    }
    return out;
}

std::string banner(std::string_view head, std::size_t width) {
    std::string line(head);
    while (line.size() + 2 <= width) line += "+-";
    return line;
}

// The lines a log message is written as (banner lines excluded).
std::vector<std::string> log_lines(std::string text) {
    make_printable(text);
    std::string_view t = trim(text);
    if (t.empty()) return {" "};
    if (t.size() >= 2 && t.front() == '"' && t.back() == '"')
        return {std::string(t.substr(1, t.size() - 2))};
    std::vector<std::string> lines;
    std::string broken = break_lines(trim_right(text));
    std::string_view rest = broken;
    for (;;) {
        std::size_t nl = rest.find('\n');
        lines.emplace_back(trim_right(rest.substr(0, nl)));
        if (nl == std::string_view::npos) break;
        rest.remove_prefix(nl + 1);
    }
    return lines;
}

}  // namespace

std::string message_literal(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '/') out += '\\';
        out += c;
    }
    return out;
}

std::string message_shown(std::string_view msg) { return break_lines(msg); }

int error_message_tit(int msg_status, std::string_view title_en, std::string_view msg, bool qline) {
    std::string text = break_lines(translate_message(msg));
    const std::string title_shown = translate(title_en);
    std::string_view title = title_shown;
    std::string_view shown = trim_right(text);
    if (log_state.sink && msg_status <= s_warning) {
        log_state.sink(msg_status, shown);
        return msg_status;
    }
    if (qline) {
        std::string line(1, ' ');  // free-layout console lines begin with a blank
        line += shown;
        console_line(line);
        return msg_status;
    }
    title = trim_right(title).substr(0, box_title_max);
    shown = shown.substr(0, box_message_max);
    if (log_state.echo_boxes && msg_status <= s_warning) {
        // A script or a terminal sees the message too; the box, when one can open, follows.
        console_error_line(std::string(title) + ": " + std::string(shown));
        int answer = 0;
        const DialogIcon icon = msg_status == s_info    ? DialogIcon::info
                                : msg_status == s_error ? DialogIcon::error
                                                        : DialogIcon::warning;
        if (!dialogs_disabled())
            platform::message_box(cp1252_to_utf8(title), cp1252_to_utf8(shown), DialogButtons::ok,
                                  icon, answer);
        return msg_status;
    }
    return DisplayMessage(title, shown, msg_status);
}

void set_box_echo(bool on) { log_state.echo_boxes = on; }

void set_message_sink(MessageSink sink) { log_state.sink = std::move(sink); }

void run_message(std::string_view line) {
    if (log_state.sink)
        log_state.sink(s_warning, translate(line));
    else
        console_error_line(line);
}

int DisplayMessage(std::string_view title, std::string_view message, int status) {
    switch (status) {
        case s_info:
            tinyfd_messageBox(title, message, DialogButtons::ok, DialogIcon::info, 1);
            return status;
        case s_error:
            tinyfd_messageBox(title, message, DialogButtons::ok, DialogIcon::error, 1);
            return status;
        case s_warning:
            tinyfd_messageBox(title, message, DialogButtons::ok, DialogIcon::warning, 1);
            return status;
        case s_yesno:
            return tinyfd_messageBox(title, message, DialogButtons::yesno, DialogIcon::question, 1);
        case s_okcancel:
            return tinyfd_messageBox(title, message, DialogButtons::okcancel, DialogIcon::question,
                                     1);
        case s_yesnocancel:
            return tinyfd_messageBox(title, message, DialogButtons::yesnocancel,
                                     DialogIcon::question, 1);
        default:
            return status;
    }
}

void log_message_f(std::string_view msg) {
    std::string key = log_file_key(log_state.filnam.view()) + '\n' + std::string(msg);
    if (log_state.logged.count(key)) return;
    if (log_state.logged.size() < logged_remembered_max) log_state.logged.insert(std::move(key));
    std::string_view head;
    std::size_t width = 0;
    if (msg.starts_with("{W}")) {
        head = "+ WARNING ";
        width = 78;
    } else if (msg.starts_with("{I}")) {
        head = "+ INFO ";
        width = 79;
    } else if (msg.starts_with("{E}")) {
        head = "+ ERROR ";
        width = 78;
    }
    if (!head.empty()) msg.remove_prefix(3);

    std::vector<std::string> lines;
    if (!head.empty()) lines.push_back(banner(head, width));
    for (std::string& line : log_lines(std::string(msg))) lines.push_back(std::move(line));
    if (!head.empty()) lines.push_back(banner("", 78));

    // A log that cannot be opened anywhere is not reported; the console copy still appears.
    std::FILE* log = open_log_file(log_state.filnam.view(), "a");
    for (const std::string& line : lines) {
        // The console copy is a diagnostic: user messages reach the console through
        // error_message, and a plain run's output stays just its results.
        if (diag_on()) diag_write(line);
        if (log) {
            std::fwrite(line.data(), 1, line.size(), log);
            std::fputc('\n', log);
        }
    }
    if (log) std::fclose(log);
}

void log_message(std::string_view msg) { log_message_f(msg.substr(0, log_field_size)); }

void set_log_file_name(std::string_view name) { log_state.filnam = name; }

void reset_messages() {
    log_state = LogState{};
    reset_log_files();
}

void HideConsole() {
    int count = platform::console_process_count();
    diag("nb proc", count);
    if (count > 1) {
        diag("I'm not the last one!");
        return;
    }
    diag("I'm the last one!");
    platform::console_hide();
}

bool started_from_desktop() { return platform::started_from_desktop(); }

bool IsLanguageFrench() { return user_language() == Language::french; }

Language user_language() { return language_of_locale(platform::ui_locale()); }
