// Numbers as text and back: free-form number reading, integer/float/key-code/version/time
// formatting. Stateless.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Reads a free-form decimal number: leading blanks skipped, optional sign, digits, optional
// point, optional exponent. A blank, comma or slash ends it and what follows is ignored; any
// other byte after the number, an empty text, NaN, infinity or overflow fails (returns false).
bool read_free_number(std::string_view text, double& value);
// Same, into a 32-bit float (fails when the value does not fit).
bool read_free_number(std::string_view text, float& value);
// Reads a number that is the whole text but for blanks around it: "46,5" or "9.25x" fail, where
// read_free_number would take 46 and 9.25.
bool read_whole_number(std::string_view text, float& value);
// The usual number, read in one pass: the whole text is [sign] digits [. digits] with at most
// 15 digits. False for anything else, which the readers above take the long way.
bool read_plain_decimal(std::string_view item, double& value);
// The same number where it starts at p, read as far as it goes: where it stops, or nullptr
// when none starts there (no digit, or more than 15).
const char* read_plain_decimal_prefix(const char* p, const char* end, double& value);
// Reads a free-form integer (optional sign and digits, same terminators); fails past 32 bits.
bool read_free_int(std::string_view text, std::int32_t& value);

// Version number as dotted text: 2200 -> "2.2.0.0", 12345 -> "12.3.4.5".
std::string numver_to_char(int numver);

// Integer as left-aligned decimal text in a field of min(capacity, 16); asterisks when it
// does not fit.
std::string i2b(std::int32_t ii4, std::size_t capacity = 16);
// Float written with a fixed-point format text such as "(F10.3)", limited to about nine
// significant digits, trailing zeros (and a bare ".") removed, left-aligned.
std::string f2b(float rr4, std::string_view fstr);
// Float as a fixed-point text with `decimals` decimals in a field of `width`, right-aligned,
// asterisks when it does not fit (the Fortran Fw.d edit descriptor).
std::string format_fixed(double value, int width, int decimals);
// Writes v with `decimals` (0..8) decimals exactly as std::to_chars(first, last, double(v),
// std::chars_format::fixed, decimals) does, without its general machinery (the batch hot path).
// Returns the end of the text, or nullptr when it does not fit.
char* fixed_to_chars(char* first, char* last, float v, int decimals);
std::string l2b(bool q);            // "1" / "0"
std::string t2b(float hours);       // HH:MM:SS
std::string k2b(std::int32_t kkk);  // key code as text: CTRL+"A", SHFT+ASC13, SCN59 ...
// Inverse of k2b; a text of no known form gives 0. False, with `code` untouched, when the
// number after "ASC" or "SCN" is unreadable or puts the key part outside its range.
bool b2k(std::string_view buff, std::int32_t& code);
std::int32_t b2k(std::string_view buff);  // the same, 0 when unreadable

// A key code is modifiers x key_mod_factor + key, the key part within these bounds.
inline constexpr int key_mod_factor = 10000;
inline constexpr int key_part_min = -4999;
inline constexpr int key_part_max = 5000;
struct KeyCodeParts {
    int mods;
    int key;
};
KeyCodeParts split_key_code(std::int32_t code);  // the parts of a code

// Time texts.
std::string to_hms(float secs, std::size_t capacity);  // " H:MM:SS" or " H:MM:SS.cc"
std::string to_hms_c(float secs);                      // 8 characters
std::int32_t hms2sec(std::string_view text);           // -999 when the seconds are unreadable
