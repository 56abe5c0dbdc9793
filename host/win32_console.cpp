// The console on Windows. A stream that is the console gets wide output, so every name reads as
// the user typed it whatever the console's code page; a redirected one gets Windows-1252 bytes,
// with the console on code page 1252 meanwhile (a pipe into "more" reads them right) and its own
// code pages put back at the end. The GUI program (varnixw.exe) has no console: what it would
// have written there is shown in a box as it ends. Arguments come from the wide command line.
// These need windows.h before them.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <cstdio>
#include <cstdlib>

#include "host/console.hpp"
#include "host/dialogs.hpp"
#include "host/platform.hpp"
#include "host/win32_text.hpp"

namespace {

constexpr UINT console_code_page = 1252;
// A box taller than this would not fit a screen.
constexpr std::size_t box_lines_max = 40;

enum class Sink { bytes, console, kept, dropped };

struct ConsoleState {
    bool set_up = false;
    UINT output_cp = 0, input_cp = 0;  // as found; 0: no console
    Sink out = Sink::bytes, err = Sink::bytes;
};
ConsoleState console_state;

bool gui_subsystem() {
    const auto* base = reinterpret_cast<const BYTE*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    return nt->OptionalHeader.Subsystem == IMAGE_SUBSYSTEM_WINDOWS_GUI;
}

Sink sink_of(DWORD which, bool gui) {
    const HANDLE h = GetStdHandle(which);
    DWORD mode = 0;
    if (h == nullptr || h == INVALID_HANDLE_VALUE) return gui ? Sink::kept : Sink::bytes;
    return GetConsoleMode(h, &mode) ? Sink::console : Sink::bytes;
}

void put_back_code_pages() {
    if (console_state.output_cp) SetConsoleOutputCP(console_state.output_cp);
    if (console_state.input_cp) SetConsoleCP(console_state.input_cp);
}

// Ctrl-C, Ctrl-Break or a closed console window end the process without the exit handlers.
BOOL WINAPI put_back_on_break(DWORD) {
    put_back_code_pages();
    return FALSE;  // the default handler still ends the process
}

void show_kept_lines() {
    const KeptLines kept = console_kept(box_lines_max);
    if (kept.text.empty() || dialogs_disabled()) return;
    int answer = 0;
    platform::message_box("Varnix", cp1252_to_utf8(kept.text), DialogButtons::ok,
                          kept.stopped  ? DialogIcon::error
                          : kept.warned ? DialogIcon::warning
                                        : DialogIcon::info,
                          answer);
}

void at_exit() {
    std::fflush(stdout);
    std::fflush(stderr);
    put_back_code_pages();
    show_kept_lines();
}

}  // namespace

namespace platform {

void console_setup() {
    if (console_state.set_up) return;
    console_state.set_up = true;
    const bool gui = gui_subsystem();
    console_state.out = sink_of(STD_OUTPUT_HANDLE, gui);
    console_state.err = sink_of(STD_ERROR_HANDLE, gui);
    console_state.output_cp = GetConsoleOutputCP();
    console_state.input_cp = GetConsoleCP();
    if (console_state.output_cp) SetConsoleOutputCP(console_code_page);
    if (console_state.input_cp) SetConsoleCP(console_code_page);
    SetConsoleCtrlHandler(put_back_on_break, TRUE);
    std::atexit(at_exit);
}

bool console_write(std::FILE* stream, std::string_view cp1252_line) {
    switch (stream == stderr ? console_state.err : console_state.out) {
        case Sink::bytes:
            return false;
        case Sink::dropped:
            return true;
        case Sink::kept:
            console_keep(cp1252_line);
            return true;
        case Sink::console:
            break;
    }
    std::fflush(stream);  // whatever went through the C stream first comes first
    std::wstring wide = widen(cp1252_to_utf8(cp1252_line));
    wide += L'\n';
    const HANDLE h = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD written = 0;
    WriteConsoleW(h, wide.data(), DWORD(wide.size()), &written, nullptr);
    return true;
}

std::vector<std::string> command_line(int argc, char** argv) {
    int n = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &n);
    if (!wide) return {argv, argv + argc};
    std::vector<std::string> args;
    args.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i) args.push_back(narrow(wide[i]));
    LocalFree(wide);
    return args;
}

// Bytes for a file or a pipe are Windows-1252 already, as the console's code page 1252 reads them.
std::string console_encode(std::string_view cp1252) { return std::string(cp1252); }

// Arguments arrive as UTF-8 (command_line above).
std::string console_decode(std::string_view local) { return utf8_or_cp1252_to_cp1252(local); }

int console_process_count() {
    DWORD list[4];
    const DWORD n = GetConsoleProcessList(list, 4);
    // No console at all: nothing to keep and nothing to hide.
    return n == 0 ? 2 : int(n);
}

bool started_from_desktop() {
    DWORD list[4];
    const DWORD n = GetConsoleProcessList(list, 4);
    if (n == 1) return true;  // Explorer made the console for this process alone
    // A program without a console (the window build) that nobody reads from either.
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    return n == 0 && (out == nullptr || out == INVALID_HANDLE_VALUE);
}

void console_hide() {
    // Started by a double click: the console was made for us alone, so it goes for good, and
    // what would have been written to it with it.
    if (HWND window = GetConsoleWindow()) ShowWindow(window, SW_HIDE);
    FreeConsole();
    console_state.output_cp = console_state.input_cp = 0;
    if (console_state.out == Sink::console) console_state.out = Sink::dropped;
    if (console_state.err == Sink::console) console_state.err = Sink::dropped;
}

std::string ui_locale() {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    const LCID lcid = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
    if (LCIDToLocaleName(lcid, name, LOCALE_NAME_MAX_LENGTH, 0) == 0) return {};
    std::string out = narrow(name);
    for (char& c : out)
        if (c == '-') c = '_';  // "fr-FR" as "fr_FR", the form the Linux locale names have
    return out;
}

}  // namespace platform
