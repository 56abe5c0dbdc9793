// The clipboard on Windows: Unicode text, which stays on the clipboard after we exit.
#include <cstring>

#include "host/platform.hpp"
#include "host/win32_text.hpp"

namespace {

// Another program may hold the clipboard for a moment: try a few times before giving up.
bool open_clipboard() {
    constexpr int attempts = 10;
    constexpr DWORD pause_ms = 20;
    for (int i = 0; i < attempts; ++i) {
        if (OpenClipboard(nullptr)) return true;
        Sleep(pause_ms);
    }
    return false;
}

}  // namespace

namespace platform {

ClipboardFailure clipboard_write(std::string_view utf8) {
    const std::wstring wide = widen(utf8);
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!block) return ClipboardFailure::write;
    void* data = GlobalLock(block);
    if (!data) {
        GlobalFree(block);
        return ClipboardFailure::write;
    }
    std::memcpy(data, wide.c_str(), bytes);
    GlobalUnlock(block);
    if (!open_clipboard()) {
        GlobalFree(block);
        return ClipboardFailure::open;
    }
    const bool done = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
    if (!done) {
        GlobalFree(block);  // still ours: the clipboard took it only on success
        return ClipboardFailure::write;
    }
    return ClipboardFailure::none;
}

std::optional<std::string> clipboard_read(std::size_t max_bytes) {
    if (!open_clipboard()) return std::nullopt;
    std::string text;
    if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(block))) {
            text = narrow(wide);
            GlobalUnlock(block);
        }
    }
    CloseClipboard();
    if (text.size() > max_bytes) text.resize(max_bytes);
    return text;
}

}  // namespace platform
