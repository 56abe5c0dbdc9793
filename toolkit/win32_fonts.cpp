// The system's fonts on Windows: the font files of the Windows folder's Fonts folder, where
// every Windows has the ones the forms name (arial.ttf, cour.ttf…).
#include <windows.h>

#include <string>

#include "toolkit/cpw_font_files.hpp"

CpwFontFile cpw_find_system_font(CpwFontState&, std::string_view name) {
    // FreeType opens font files with fopen, which takes paths in the ANSI code page: ask for
    // the folder in that code page too.
    char windows[MAX_PATH];
    const UINT n = GetWindowsDirectoryA(windows, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    const std::string folder = std::string(windows, n) + "\\Fonts";
    return cpw_find_folder_font(folder.c_str(), name);
}

void cpw_system_fonts_free(CpwFontState&) {}
