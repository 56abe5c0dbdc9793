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
