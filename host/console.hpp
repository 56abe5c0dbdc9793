// The console boundary: text inside the program is Windows-1252; the terminal speaks the
// locale's encoding (normally UTF-8). Arguments are converted in, console output is converted
// out, as the Windows console with code page 1252 did for the original program.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "util/cp1252.hpp"

// Sets up the conversion from the process locale: once at start-up (the first conversion
// does it otherwise), again after the locale's environment changed.
void console_init();
// The program's arguments, argument 0 first: paths and landscape names keep the user's
// characters (UTF-8 on Windows; as given on Linux); texts are converted where they are read.
std::vector<std::string> console_arguments(int argc, char** argv);
// A command-line argument in the locale's encoding, as Windows-1252 (unmappable characters
// become '?'; bytes that are not valid in the locale's encoding are kept as they are).
std::string console_arg_to_cp1252(std::string_view arg);
// A Windows-1252 text in the locale's encoding.
std::string console_from_cp1252(std::string_view text);
// Writes a Windows-1252 line (a line feed is added) to standard output / standard error.
void console_line(std::string_view text);
void console_error_line(std::string_view text);

// A program without a console (the Windows GUI program started from a shortcut or Explorer)
// keeps the lines it would have written there and shows them in one box as it ends, less the
// lines that only repeat a box the user has already seen.
void console_keep(std::string_view line);
// A box shown to the user (UTF-8), so a line repeating it is not shown again.
void console_box_shown(std::string_view utf8_text);
struct KeptLines {
    std::string text;  // Windows-1252, lines separated by line feeds; "" when nothing is left
    bool stopped = false;  // a STOP among them
    bool warned = false;   // a warning among them
};
// The kept lines still to be shown, at most `max_lines` of them ("..." after the last).
KeptLines console_kept(std::size_t max_lines);
// Back to the start-up state (tests).
void reset_console_keep();
