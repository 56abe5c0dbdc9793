// Text helpers shared by every module: trimming, list and key/value splitting with quotes,
// quotes and case, comma/semicolon line conversions.
//
// The original program kept text in blank-padded fields; these helpers take string_views and
// return std::string, and callers store results in a TextField where a capacity matters (which
// also does the cutting). All operations are stateless.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "util/text_field.hpp"

// --- trimming -------------------------------------------------------------------------------

// Without trailing blanks (the trimmed content of a blank-padded field).
std::string_view trim_right(std::string_view s);
// Without leading blanks ("left-aligned").
std::string_view trim_left(std::string_view s);
// Without blanks at either end.
std::string_view trim(std::string_view s);

// --- fields and NUL-terminated strings ---------------------------------------------------------

// Copies up to the NUL or up to ls characters (ls = 0: the field's capacity); returns the count.
template <std::size_t N>
std::size_t strcpy_c2f(const char* in_str, TextField<N>& out_str, std::size_t ls = 0) {
    std::size_t limit = (ls == 0 || ls > N) ? N : ls;
    std::size_t n = 0;
    while (n < limit && in_str[n] != '\0') ++n;
    out_str.assign(std::string_view(in_str, n));
    return n;
}
// The trimmed text of a field as a NUL-terminated string; returns its length.
template <std::size_t N>
std::size_t strcpy_f2c(const TextField<N>& in_str, std::string& out_str) {
    out_str.assign(in_str.view());
    return out_str.size();
}

// --- lists and key/value lines ----------------------------------------------------------------

// Takes the first item off `buff` (quoted separators do not count); `val` is left-aligned
// and keeps its quotes.
void extract_list(std::string& val, std::string& buff, char sep);
// The same on a view: the first item of `list`, and `list` moved past it.
std::string_view next_list_item(std::string_view& list, char sep);
inline void extract_comma(std::string& val, std::string& buff) { extract_list(val, buff, ','); }
// Every item of a list, until an item comes back blank.
std::vector<std::string> read_list(std::string_view list, char sep);

// Splits at the first "=" (or, with no "=", at the first ":"); both sides left-aligned and
// trimmed. Neither: key = the whole line, val blank.
void extract_key_val(std::string_view ligne, std::string& key, std::string& val);
struct KeyVal {
    std::string_view key, val;
};
KeyVal split_key_val(std::string_view ligne);
// Splits around the last of "=", "!=", "<", "<=", ">", ">=" (table order) found in the line.
void extract_key_val_rel(std::string_view ligne, std::string& key, std::string& val,
                         std::string& rel);

// --- tests and small conversions --------------------------------------------------------------

bool is_true(std::string_view cc);  // first character 1, Y or y
inline int log2int(bool q) { return q ? 1 : 0; }
bool is_num(std::string_view str);   // digits, + - . E e only (no syntax check)
bool is_uint(std::string_view str);  // digits only; a leading blank fails
void majusc(std::string& s);
void minusc(std::string& s);
bool case_blind_compare(std::string_view s1, std::string_view s2);
void make_printable(std::string& s);  // line feeds become "/"
void remove_quotes(std::string& s);
// What remove_quotes leaves of a text without leading blanks.
std::string_view unquoted(std::string_view s);
void remove_simple_quotes(std::string& s);
void quote_spaces(std::string& s);
void remove_trail_0(std::string& s);  // blanks everything from the first NUL on
void remove_0(std::string& s);        // deletes every NUL
char random_char();

// --- comma- and semicolon-separated lines -----------------------------------------------------

void subs_dot_comma(std::string& ligne);
void subs_comma(std::string& ligne);
void from_frcsv(std::string& ligne);
void to_frcsv(std::string& ligne);
