// The clipboard through the desktop's command-line tools: wl-copy/wl-paste on Wayland, else
// xclip, else xsel on X11. The writing tools fork a small server that keeps the text
// available after we exit, which is what a Windows user expects from the clipboard.
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "host/linux_process.hpp"
#include "host/platform.hpp"

namespace {

constexpr int tool_timeout_ms = 5000;

struct ClipboardTool {
    std::vector<std::string> write, read;
};

constexpr int settle_limit_ms = 1000;

// The tools fork and exit before their server owns the clipboard (xclip's request is still in
// its output buffer, xsel takes it after forking): wait until the text is there, or a program
// reading right after us would still get the previous text.
void wait_until_readable(const ClipboardTool& tool, std::string_view utf8) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(settle_limit_ms);
    while (std::chrono::steady_clock::now() < deadline) {
        ProcessRun run =
            run_process(tool.read, std::nullopt, true, utf8.size() + 1, tool_timeout_ms);
        if (!run.started || run.output == utf8) return;
        usleep(2000);
    }
}

bool env_set(const char* name) {
    auto v = platform::get_env(name);
    return v && !v->empty();
}

std::vector<ClipboardTool> clipboard_tools() {
    std::vector<ClipboardTool> tools;
    if (env_set("WAYLAND_DISPLAY")) tools.push_back({{"wl-copy"}, {"wl-paste", "--no-newline"}});
    if (env_set("DISPLAY")) {
        tools.push_back(
            {{"xclip", "-selection", "clipboard"}, {"xclip", "-selection", "clipboard", "-o"}});
        tools.push_back({{"xsel", "--clipboard", "--input"}, {"xsel", "--clipboard", "--output"}});
    }
    return tools;
}

}  // namespace

namespace platform {

ClipboardFailure clipboard_write(std::string_view utf8) {
    ClipboardFailure failure = ClipboardFailure::open;
    for (const ClipboardTool& tool : clipboard_tools()) {
        ProcessRun run = run_process(tool.write, utf8, false, 0, tool_timeout_ms);
        if (run.started && run.input_written && run.exit_code == 0) {
            wait_until_readable(tool, utf8);
            return ClipboardFailure::none;
        }
        if (run.started && !run.input_written) failure = ClipboardFailure::write;
    }
    return failure;
}

std::optional<std::string> clipboard_read(std::size_t max_bytes) {
    bool reached = false;
    for (const ClipboardTool& tool : clipboard_tools()) {
        ProcessRun run = run_process(tool.read, std::nullopt, true, max_bytes, tool_timeout_ms);
        if (!run.started) continue;
        // A cut-off read ends the tool on a broken pipe; what arrived is still the text.
        if (run.exit_code == 0 || !run.output.empty()) return std::move(run.output);
        reached = true;  // the tools fail on an empty clipboard too
    }
    if (reached) return std::string();
    return std::nullopt;
}

}  // namespace platform
