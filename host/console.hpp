// The console boundary: text inside the program is Windows-1252; the terminal speaks the
// locale's encoding (normally UTF-8). Arguments are converted in, console output is converted
// out, as the Windows console with code page 1252 did for the original program.
#pragma once

#include <string>
#include <string_view>

// Sets up the conversion from the process locale: once at start-up (the first conversion
// does it otherwise), again after the locale's environment changed.
void console_init();
// A command-line argument in the locale's encoding, as Windows-1252 (unmappable characters
// become '?'; bytes that are not valid in the locale's encoding are kept as they are).
std::string console_arg_to_cp1252(std::string_view arg);
// A Windows-1252 text in the locale's encoding.
std::string console_from_cp1252(std::string_view text);
// Windows-1252 <-> UTF-8, independent of the locale (files, fonts).
std::string cp1252_to_utf8(std::string_view text);
// Returns false when `text` is not valid UTF-8 or has a character outside Windows-1252
// (then `out` holds '?' for such characters).
bool utf8_to_cp1252(std::string_view text, std::string& out);
// Text from the system (file names, environment, paths): UTF-8 sequences become Windows-1252
// ('?' when outside it), bytes that are not UTF-8 are kept as they are.
std::string utf8_or_cp1252_to_cp1252(std::string_view text);
// The Unicode code point of a Windows-1252 byte, and back (-1 when it has no byte).
char32_t cp1252_to_unicode(unsigned char c);
int unicode_to_cp1252(char32_t cp);
// The upper-case form of a Windows-1252 letter (other bytes unchanged): names that Windows
// compares without case (registry keys, file names) compare through it.
unsigned char cp1252_upper(unsigned char c);
bool cp1252_equal_ci(std::string_view a, std::string_view b);

// Writes a Windows-1252 line (a line feed is added) to standard output / standard error.
void console_line(std::string_view text);
void console_error_line(std::string_view text);
