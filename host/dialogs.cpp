#include "host/dialogs.hpp"

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include "host/console.hpp"
#include "host/platform.hpp"
#include "util/i18n.hpp"

bool dialogs_disabled() {
    const char* v = std::getenv("VARNIX_NO_DIALOGS");
    return v && (std::strcmp(v, "1") == 0 || std::strcmp(v, "no") == 0);
}

namespace {
// VARNIX_NO_DIALOGS=no: as =1, but a question is answered No (scripts that must not replace).
int unasked_answer(DialogButtons buttons, int default_button) {
    const char* v = std::getenv("VARNIX_NO_DIALOGS");
    const bool no = v && std::strcmp(v, "no") == 0 &&
                    (buttons == DialogButtons::yesno || buttons == DialogButtons::yesnocancel);
    return no ? 0 : default_button;
}
}  // namespace

namespace {

struct DialogWaiter {
    std::function<void()> pump, done;
    bool waiting = false;  // a dialog is up: one opened meanwhile is simply waited for
};
DialogWaiter waiter;

// Runs `dialog` (which waits for the dialog program) beside the caller's pump. Only the
// dialog runs on the second thread; the pump, and so every window call, stays on the caller's.
template <class F>
auto modal(F dialog) -> decltype(dialog()) {
    if (!waiter.pump || waiter.waiting) return dialog();
    using Result = decltype(dialog());
    Result result{};
    std::mutex m;
    std::condition_variable cv;
    bool finished = false;
    waiter.waiting = true;
    std::thread t([&] {
        Result r = dialog();
        std::lock_guard<std::mutex> lock(m);
        result = std::move(r);
        finished = true;
        cv.notify_one();
    });
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(m);
            // About 60 passes a second: redraws keep up, an idle dialog costs next to nothing.
            if (cv.wait_for(lock, std::chrono::milliseconds(16), [&] { return finished; })) break;
        }
        waiter.pump();
    }
    t.join();
    waiter.waiting = false;
    if (waiter.done) waiter.done();
    return result;
}

std::vector<std::string> to_utf8(const std::vector<std::string>& texts) {
    std::vector<std::string> out;
    for (const std::string& t : texts) out.push_back(cp1252_to_utf8(t));
    return out;
}

std::optional<std::string> to_cp1252(const std::optional<std::string>& utf8) {
    if (!utf8) return std::nullopt;
    return utf8_or_cp1252_to_cp1252(*utf8);
}

std::optional<std::string> file_dialog(platform::FileDialogKind kind, std::string_view title,
                                       std::string_view default_path,
                                       const std::vector<std::string>& patterns,
                                       std::string_view description) {
    std::optional<std::string> chosen;
    if (dialogs_disabled() || !modal([&] {
            return platform::file_dialog(kind, cp1252_to_utf8(translate(title)),
                                         cp1252_to_utf8(default_path), to_utf8(patterns),
                                         cp1252_to_utf8(translate(description)), chosen);
        }))
        return std::nullopt;
    return to_cp1252(chosen);
}

}  // namespace

void set_dialog_waiter(std::function<void()> pump, std::function<void()> done) {
    waiter.pump = std::move(pump);
    waiter.done = std::move(done);
}

int tinyfd_messageBox(std::string_view title, std::string_view message, DialogButtons buttons,
                      DialogIcon icon, int default_button) {
    int answer = default_button;
    const std::string shown_title = translate(title), shown = translate(message);
    if (!dialogs_disabled() && modal([&] {
            return platform::message_box(cp1252_to_utf8(shown_title), cp1252_to_utf8(shown),
                                         buttons, icon, answer);
        }))
        return answer;
    std::string line(shown_title);
    line += ": ";
    line += shown;
    console_error_line(line);
    return unasked_answer(buttons, default_button);
}

std::optional<std::string> tinyfd_openFileDialog(std::string_view title,
                                                 std::string_view default_path,
                                                 const std::vector<std::string>& patterns,
                                                 std::string_view filter_description) {
    return file_dialog(platform::FileDialogKind::open, title, default_path, patterns,
                       filter_description);
}

std::optional<std::string> tinyfd_saveFileDialog(std::string_view title,
                                                 std::string_view default_path,
                                                 const std::vector<std::string>& patterns,
                                                 std::string_view filter_description) {
    return file_dialog(platform::FileDialogKind::save, title, default_path, patterns,
                       filter_description);
}

std::optional<std::string> tinyfd_selectFolderDialog(std::string_view title,
                                                     std::string_view default_path) {
    return file_dialog(platform::FileDialogKind::folder, title, default_path, {}, {});
}

std::optional<std::string> tinyfd_colorChooser(std::string_view title,
                                               std::string_view default_hex) {
    std::optional<std::string> chosen;
    if (dialogs_disabled() || !modal([&] {
            return platform::color_dialog(cp1252_to_utf8(translate(title)), default_hex, chosen);
        }))
        return std::nullopt;
    return chosen;
}

std::optional<int> parse_hex_colour(std::string_view hex) {
    if (hex.size() != 7 || hex[0] != '#') return std::nullopt;
    int rgb = 0;
    for (char c : hex.substr(1)) {
        const int d = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
        if (d < 0) return std::nullopt;
        rgb = rgb * 16 + d;
    }
    return rgb;
}
