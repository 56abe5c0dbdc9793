#include "host/clipboard.hpp"

#include <algorithm>

#include "host/console.hpp"
#include "host/diag.hpp"
#include "host/messages.hpp"
#include "host/platform.hpp"

namespace {

constexpr std::size_t rd_clp_capacity = 256;  // the caller's buffer, terminator included

int shown(bool done, std::string_view reason) {
    if (done) return 0;
    error_message_tit(s_error, "Error", reason, false);
    return 1;
}

}  // namespace

bool try_wr_clp(std::string_view text, std::string& reason) {
    text = text.substr(0, text.find('\0'));
    diag(text);
    diag(text.size() + 1);
    switch (platform::clipboard_write(cp1252_to_utf8(text))) {
        case platform::ClipboardFailure::none:
            return true;
        case platform::ClipboardFailure::write:
            reason = "Can't write to clipboard";
            return false;
        case platform::ClipboardFailure::open:
            reason = "Can't open clipboard";
            return false;
    }
    return true;
}

bool try_rd_clp(std::string& text, std::string& reason) {
    // Read generously: the text is cut after conversion, never inside a UTF-8 sequence.
    std::optional<std::string> utf8 = platform::clipboard_read(4 * rd_clp_capacity);
    if (!utf8) {
        reason = "Can't open clipboard";
        return false;
    }
    text = utf8_or_cp1252_to_cp1252(*utf8);
    text = text.substr(0, std::min(text.find('\0'), rd_clp_capacity - 1));
    return true;
}

Fault wr_clp(std::string_view text) {
    std::string reason;
    if (try_wr_clp(text, reason)) return {};
    return {Fault::Code::clipboard, reason};
}

Fault rd_clp(std::string& text) {
    std::string reason;
    if (try_rd_clp(text, reason)) return {};
    return {Fault::Code::clipboard, reason};
}

int wr_clp_form(std::string_view text) {
    std::string reason;
    const bool done = try_wr_clp(text, reason);
    return shown(done, reason);
}

int rd_clp_form(std::string& text) {
    std::string reason;
    text.clear();
    const bool done = try_rd_clp(text, reason);
    return shown(done, reason);
}
