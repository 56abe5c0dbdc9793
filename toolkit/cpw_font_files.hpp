// Where font files are found. The system's fonts are platform files chosen by CMake:
// fc_fonts.cpp (fontconfig) on Linux, win32_fonts.cpp (the Windows font folder) on Windows.
#pragma once

#include <string>
#include <string_view>

struct CpwFontState;

struct CpwFontFile {
    std::string path;  // empty: not found
    int index = 0;     // face in a collection
};

// The font the forms name by its Windows file name ("arial.ttf", "cour.ttf"), or the system
// font that takes its place.
CpwFontFile cpw_find_system_font(CpwFontState& fs, std::string_view name);
// Frees what cpw_find_system_font keeps between calls.
void cpw_system_fonts_free(CpwFontState& fs);
// `name` in `folder`, matched without regard to case; the exact path when it is missing, so that
// FreeType reports it.
CpwFontFile cpw_find_folder_font(const char* folder, std::string_view name);
