#include "host/reg_file.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "host/console.hpp"
#include "host/diag.hpp"
#include "host/registry.hpp"

namespace {

constexpr std::string_view wine_header = "WINE REGISTRY Version 2";
constexpr std::string_view regedit4_header = "REGEDIT4";
constexpr std::string_view regedit5_header = "Windows Registry Editor Version 5.00";

unsigned char up(char c) { return cp1252_upper(static_cast<unsigned char>(c)); }

bool equal_ci(std::string_view a, std::string_view b) { return cp1252_equal_ci(a, b); }

bool starts_with_ci(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && equal_ci(s.substr(0, prefix.size()), prefix);
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A value type in hex, as in "str(2)" and "hex(7)": at most eight digits, the registry's types
// being 32-bit numbers (more would overflow).
bool read_type(std::string_view digits, int& type) {
    if (digits.size() > 8) return false;
    std::uint32_t v = 0;
    for (char c : digits) {
        if (hex_digit(c) < 0) return false;
        v = v * 16 + std::uint32_t(hex_digit(c));
    }
    type = static_cast<int>(v);
    return true;
}

// One UTF-16 code unit as Windows-1252; a surrogate pair gives one '?'.
void append_unit(std::string& out, char32_t unit) {
    if (unit >= 0xDC00 && unit <= 0xDFFF) return;
    int b = unicode_to_cp1252(unit);
    out += b < 0 ? '?' : char(b);
}

std::string utf16le_to_cp1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        append_unit(out, static_cast<unsigned char>(bytes[i]) |
                             (char32_t(static_cast<unsigned char>(bytes[i + 1])) << 8));
    return out;
}

// The key as it is compared: upper case, no "\" at either end.
std::string normal_key(std::string_view key) {
    while (key.starts_with('\\')) key.remove_prefix(1);
    while (key.ends_with('\\')) key.remove_suffix(1);
    std::string out;
    out.reserve(key.size());
    for (char c : key) out += char(up(c));
    return out;
}

}  // namespace

bool RegFile::load(std::string bytes) {
    format_ = Format::none;
    spans_.clear();
    key_lines_.clear();
    indexed_ = false;
    if (bytes.starts_with("\xFF\xFE")) {
        text_ = utf16le_to_cp1252(std::string_view(bytes).substr(2));
    } else {
        if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);
        text_ = std::move(bytes);
    }
    std::size_t next = 0;
    std::string_view first = line_at(0, next);
    while (!first.empty() && first.back() == ' ') first.remove_suffix(1);
    if (first == wine_header)
        format_ = Format::wine;
    else if (first == regedit4_header)
        format_ = Format::regedit4;
    else if (first == regedit5_header)
        format_ = Format::regedit5;
    else
        return false;
    // A hand-written file is often UTF-8; REGEDIT4 is the ANSI code page by definition.
    if (format_ != Format::regedit4 && !is_ascii(text_)) text_ = utf8_or_cp1252_to_cp1252(text_);
    return true;
}

std::string_view RegFile::line_at(std::size_t pos, std::size_t& next) const {
    std::size_t nl = text_.find('\n', pos);
    if (nl == std::string::npos) nl = text_.size();
    next = std::min(nl + 1, text_.size());
    std::string_view line(text_.data() + pos, nl - pos);
    if (line.ends_with('\r')) line.remove_suffix(1);
    return line;
}

// Decodes one character at `pos` (an escape sequence counts as one); false when the unit gives
// no character of its own (the second half of a surrogate pair).
bool RegFile::next_char(std::string_view s, std::size_t& pos, char& out) const {
    char c = s[pos++];
    if (c != '\\' || pos >= s.size()) {
        out = c;
        return true;
    }
    char e = s[pos++];
    if (format_ != Format::wine) {
        // regedit escapes only these; any other backslash is a plain character
        switch (e) {
            case '\\':
                out = '\\';
                return true;
            case '"':
                out = '"';
                return true;
            case 'n':
                out = '\n';
                return true;
            case 'r':
                out = '\r';
                return true;
            case '0':
                out = '\0';
                return true;
            default:
                --pos;
                out = '\\';
                return true;
        }
    }
    char32_t unit = 0;
    switch (e) {
        case 'a':
            out = '\a';
            return true;
        case 'b':
            out = '\b';
            return true;
        case 'e':
            out = '\x1B';
            return true;
        case 'f':
            out = '\f';
            return true;
        case 'n':
            out = '\n';
            return true;
        case 'r':
            out = '\r';
            return true;
        case 't':
            out = '\t';
            return true;
        case 'v':
            out = '\v';
            return true;
        case 'x': {  // up to four hex digits: a UTF-16 code unit
            int n = 0;
            for (; n < 4 && pos < s.size() && hex_digit(s[pos]) >= 0; ++n)
                unit = unit * 16 + char32_t(hex_digit(s[pos++]));
            if (n == 0) {
                out = 'x';
                return true;
            }
            break;
        }
        default:
            if (e < '0' || e > '7') {
                out = e;
                return true;
            }
            unit = char32_t(e - '0');  // up to three octal digits
            for (int n = 1; n < 3 && pos < s.size() && s[pos] >= '0' && s[pos] <= '7'; ++n)
                unit = unit * 8 + char32_t(s[pos++] - '0');
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF) return false;
    int b = unicode_to_cp1252(unit);
    out = b < 0 ? '?' : char(b);
    return true;
}

std::string RegFile::unescape(std::string_view s, std::size_t& pos, char close) const {
    std::string out;
    char c = 0;
    while (pos < s.size() && s[pos] != close)
        if (next_char(s, pos, c)) out += c;
    return out;
}

// Whether a key line names `want` (upper case, "\" separated), compared as it is decoded: most
// key lines differ from the wanted key within a few characters, so nothing is copied.
bool RegFile::key_line_is(std::string_view line, std::string_view want) const {
    std::size_t pos = 1, end = line.size();
    if (format_ != Format::wine) {
        end = line.rfind(']');
        if (end == std::string_view::npos || line.starts_with("[-")) return false;
        std::string_view path = line.substr(1, end - 1);
        for (std::string_view root : {"HKEY_CURRENT_USER", "HKCU"}) {
            if (starts_with_ci(path, root) &&
                (path.size() == root.size() || path[root.size()] == '\\')) {
                std::string_view name = path.substr(root.size());
                while (name.starts_with('\\')) name.remove_prefix(1);
                while (name.ends_with('\\')) name.remove_suffix(1);
                return equal_ci(name, want);
            }
        }
        return false;  // another root
    }
    std::size_t i = 0;
    char c = 0;
    while (pos < end && line[pos] != ']') {
        if (!next_char(line, pos, c)) continue;
        if (i >= want.size() || up(c) != static_cast<unsigned char>(want[i])) return false;
        ++i;
    }
    return pos < end && i == want.size();
}

RegFile::Span RegFile::find_key(std::string_view key) const {
    std::string want = normal_key(key);
    for (const Span& s : spans_)
        if (s.key == want) return s;
    if (!indexed_) {
        indexed_ = true;
        for (std::size_t pos = 0; pos < text_.size();) {
            if (text_[pos] == '[') key_lines_.push_back(pos);
            const void* nl = std::memchr(text_.data() + pos, '\n', text_.size() - pos);
            if (!nl) break;
            pos = std::size_t(static_cast<const char*>(nl) - text_.data()) + 1;
        }
    }
    Span span{want};
    std::size_t next = 0;
    for (std::size_t k = 0; k < key_lines_.size(); ++k) {
        if (!key_line_is(line_at(key_lines_[k], next), want)) continue;
        span.found = true;
        span.begin = next;
        span.end = k + 1 < key_lines_.size() ? key_lines_[k + 1] : text_.size();
        break;
    }
    spans_.push_back(span);
    return span;
}

bool RegFile::query(std::string_view key, std::string_view name, RegValue& value,
                    bool& key_found) const {
    key_found = false;
    if (format_ == Format::none) return false;
    Span span = find_key(key);
    key_found = span.found;
    if (!span.found) return false;
    if (name == "@") name = {};
    std::size_t next = 0;
    for (std::size_t pos = span.begin; pos < span.end; pos = next) {
        std::string_view line = line_at(pos, next);
        if (next <= pos) break;
        std::size_t p = 1;
        std::string vname;
        if (line.starts_with('"')) {
            vname = unescape(line, p, '"');
            if (p >= line.size()) continue;
            ++p;
        } else if (!line.starts_with('@')) {
            continue;  // comments, #time= lines, hex continuations
        }
        while (p < line.size() && line[p] == ' ') ++p;
        if (p >= line.size() || line[p] != '=' || !equal_ci(vname, name)) continue;
        ++p;
        while (p < line.size() && line[p] == ' ') ++p;
        return parse_data(pos + p, span.end, value);
    }
    return false;
}

bool RegFile::parse_data(std::size_t at, std::size_t end, RegValue& value) const {
    std::size_t next = 0;
    std::string_view rest = line_at(at, next);
    value = RegValue{};
    std::size_t p = 0;
    if (rest.starts_with('"')) {
        value.type = reg_sz;
    } else if (rest.starts_with("str(")) {  // Wine: str(2) expandable, str(7) multi-string
        std::size_t close = rest.find("):\"");
        if (close == std::string_view::npos) return false;
        if (!read_type(rest.substr(4, close - 4), value.type)) return false;
        p = close + 2;
    } else if (rest.starts_with("dword:")) {
        std::uint32_t v = 0;
        std::size_t i = 6, n = 0;
        for (; i < rest.size() && n < 8 && hex_digit(rest[i]) >= 0; ++i, ++n)
            v = v * 16 + std::uint32_t(hex_digit(rest[i]));
        if (n == 0) return false;
        value.type = reg_dword;
        value.data = std::to_string(v);
        return true;
    } else if (rest.starts_with("hex")) {
        std::size_t colon = rest.find(':');
        if (colon == std::string_view::npos) return false;
        value.type = reg_binary;
        if (colon > 3) {  // hex(N):
            if (rest[3] != '(' || rest[colon - 1] != ')') return false;
            if (!read_type(rest.substr(4, colon - 5), value.type)) return false;
        }
        std::string bytes;
        std::size_t pos = at + colon + 1;
        for (;;) {  // comma-separated bytes, lines continued with a trailing "\"
            std::string_view line = line_at(pos, next);
            bool more = false;
            int hi = -1;
            for (char c : line) {
                int d = hex_digit(c);
                if (d >= 0) {
                    if (hi < 0) {
                        hi = d;
                    } else {
                        bytes += char(hi * 16 + d);
                        hi = -1;
                    }
                } else {
                    more = c == '\\';
                }
            }
            if (!more || next >= end || next <= pos) break;
            pos = next;
        }
        if (value.type == reg_sz || value.type == reg_expand_sz || value.type == reg_multi_sz) {
            value.data = format_ == Format::regedit4 ? bytes : utf16le_to_cp1252(bytes);
            while (!value.data.empty() && value.data.back() == '\0') value.data.pop_back();
        } else {
            value.data = std::move(bytes);
        }
        return true;
    } else {
        return false;  // "-" (a deletion) or an unknown form
    }
    ++p;
    value.data = unescape(rest, p, '"');
    return p < rest.size();
}

int read_store_value(const RegFile& file, std::string_view subkey, std::string_view name,
                     std::string& outval) {
    constexpr std::size_t value_buffer = 255;  // the caller's buffer, terminator included
    diag("Subkey,name :", subkey, name);
    RegValue value;
    bool key_found = false;
    bool read = file.query(subkey, name, value, key_found);
    int open_status = !file.loaded() ? reg_no_store : key_found ? reg_ok : reg_file_not_found;
    diag("USER Open Status :", open_status);
    if (open_status != reg_ok) return open_status;

    std::string text = value.data;
    if (value.type == reg_sz || value.type == reg_expand_sz || value.type == reg_multi_sz)
        text = text.substr(0, text.find('\0'));
    int status = !read                            ? reg_file_not_found
                 : text.size() + 1 > value_buffer ? reg_more_data
                                                  : reg_ok;
    diag("Query Status, Length :", status, status == reg_ok ? text.size() + 1 : 0);
    if (status == reg_ok) {
        diag("value :", text);
        outval = std::move(text);
    }
    diag("Status :", 0);
    return status;
}
