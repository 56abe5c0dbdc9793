// Windows-1252, the program's one character set, and its conversions to and from Unicode and
// UTF-8 (files, fonts, the terminal, the file system). Independent of the locale.
#pragma once

#include <string>
#include <string_view>

bool is_ascii(std::string_view s);
// The Unicode code point of a Windows-1252 byte, and back (-1 when it has no byte). The five
// bytes Windows leaves undefined map to the C1 control of the same value, so every byte
// survives a round trip. The prime and double prime (U+2032, U+2033) become ' and ".
char32_t cp1252_to_unicode(unsigned char c);
int unicode_to_cp1252(char32_t cp);
// The upper-case form of a Windows-1252 letter (other bytes unchanged): names that Windows
// compares without case (registry keys, file names) compare through it.
unsigned char cp1252_upper(unsigned char c);
bool cp1252_equal_ci(std::string_view a, std::string_view b);

std::string cp1252_to_utf8(std::string_view text);
// The code points of UTF-8 text; a byte that is not part of valid UTF-8 becomes U+FFFD.
std::u32string utf8_code_points(std::string_view text);
// Returns false when `text` is not valid UTF-8 or has a character outside Windows-1252
// (then `out` holds '?' for such characters).
bool utf8_to_cp1252(std::string_view text, std::string& out);
// Text from the system or a file (file names, paths, names of points): UTF-8 sequences become
// Windows-1252 (a letter outside it its closest spelling, Łódź Lodz, else '?'), bytes that are
// not UTF-8 are kept as they are.
std::string utf8_or_cp1252_to_cp1252(std::string_view text);
// Same, telling whether a character had to be spelt otherwise.
std::string utf8_or_cp1252_to_cp1252(std::string_view text, bool& lossy);
// Text that may be either (a waypoint name as a file spells it) as UTF-8: valid UTF-8 is kept,
// anything else is read as Windows-1252.
std::string utf8_or_cp1252_to_utf8(std::string_view text);
bool is_utf8(std::string_view text);
// The closest Windows-1252 spelling of a character it cannot hold, "" when there is none.
std::string_view closest_cp1252(char32_t cp);
