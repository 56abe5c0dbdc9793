// The console on Windows: code page 1252 both ways, as "chcp 1252" gave the original, and the
// arguments read from the wide command line.
// These need windows.h before them.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "host/console.hpp"
#include "host/platform.hpp"
#include "host/win32_text.hpp"

namespace {
constexpr UINT console_code_page = 1252;
}

namespace platform {

void console_setup() {
    SetConsoleOutputCP(console_code_page);
    SetConsoleCP(console_code_page);
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

// Output is Windows-1252 already; the console shows it through code page 1252.
std::string console_encode(std::string_view cp1252) { return std::string(cp1252); }

// Arguments arrive as UTF-8 (command_line above).
std::string console_decode(std::string_view local) { return utf8_or_cp1252_to_cp1252(local); }

int console_process_count() {
    DWORD list[4];
    const DWORD n = GetConsoleProcessList(list, 4);
    // No console at all: nothing to keep and nothing to hide.
    return n == 0 ? 2 : int(n);
}

void console_hide() {
    // Started by a double click: the console was made for us alone, so it goes for good.
    if (HWND window = GetConsoleWindow()) ShowWindow(window, SW_HIDE);
    FreeConsole();
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
