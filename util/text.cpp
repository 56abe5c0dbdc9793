#include "util/text.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

namespace {

bool is_blank_text(std::string_view s) {
    return s.find_first_not_of(' ') == std::string_view::npos;
}

char ascii_upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

}  // namespace

// --- trimming -------------------------------------------------------------------------------

std::string_view trim_right(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

std::string_view trim_left(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    return s;
}

std::string_view trim(std::string_view s) { return trim_left(trim_right(s)); }

// --- lists and key/value lines ----------------------------------------------------------------

std::string_view next_list_item(std::string_view& list, char sep) {
    std::string_view b = trim_right(list);
    list = {};
    if (b.empty()) return {};
    std::size_t ic = b.find(sep);
    if (ic == std::string_view::npos) return b;  // the whole list, not left-aligned
    std::size_t rest = ic + 1;
    std::size_t iq1 = b.find('"');
    if (iq1 < ic) {
        std::size_t iq2 = b.find('"', iq1 + 1);
        if (iq2 != std::string_view::npos) {
            std::size_t next = b.find(sep, iq2 + 1);
            if (next == std::string_view::npos) {
                // The item ends at the closing quote; one character after it is dropped.
                ic = iq2 + 1;
                rest = iq2 + 2;
            } else {
                ic = next;
                rest = next + 1;
            }
        }
    }
    if (rest < b.size()) list = trim_left(b.substr(rest));
    return trim_left(b.substr(0, ic));
}

void extract_list(std::string& val, std::string& buff, char sep) {
    std::string_view rest = buff;
    std::string item(next_list_item(rest, sep));
    buff.assign(rest);  // rest lies within buff: assign copes with the overlap
    val = std::move(item);
}

std::vector<std::string> read_list(std::string_view list, char sep) {
    std::vector<std::string> items;
    std::string buff(list), val;
    for (;;) {
        extract_list(val, buff, sep);
        if (is_blank_text(val)) break;
        items.push_back(val);
    }
    return items;
}

KeyVal split_key_val(std::string_view ligne) {
    std::size_t at = ligne.find('=');
    if (at == std::string_view::npos) at = ligne.find(':');
    if (at == std::string_view::npos) return {trim(ligne), {}};
    return {trim(ligne.substr(0, at)), trim(ligne.substr(at + 1))};
}

void extract_key_val(std::string_view ligne, std::string& key, std::string& val) {
    KeyVal kv = split_key_val(ligne);
    key.assign(kv.key);
    val.assign(kv.val);
}

void extract_key_val_rel(std::string_view ligne, std::string& key, std::string& val,
                         std::string& rel) {
    static constexpr std::array<std::string_view, 6> ops = {"=", "!=", "<", "<=", ">", ">="};
    std::size_t pos = std::string_view::npos;
    std::string_view op;
    for (std::string_view candidate : ops) {
        std::size_t p = ligne.find(candidate);
        if (p != std::string_view::npos) {
            pos = p;
            op = candidate;
        }
    }
    if (pos == std::string_view::npos) {
        key.assign(trim(ligne));
        val.clear();
        rel.clear();
        return;
    }
    key.assign(trim(ligne.substr(0, pos)));
    rel.assign(op);
    val.assign(trim(ligne.substr(pos + op.size())));
}

// --- tests and small conversions --------------------------------------------------------------

bool is_true(std::string_view cc) {
    return !cc.empty() && (cc[0] == '1' || cc[0] == 'Y' || cc[0] == 'y');
}

bool is_num(std::string_view str) {
    std::string_view t = trim(str);
    return !t.empty() && std::all_of(t.begin(), t.end(), [](char c) {
        return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'E' || c == 'e';
    });
}

bool is_uint(std::string_view str) {
    std::string_view t = trim_right(str);
    return !t.empty() &&
           std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void majusc(std::string& s) {
    for (char& c : s) c = ascii_upper(c);
}

void minusc(std::string& s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
}

bool case_blind_compare(std::string_view s1, std::string_view s2) {
    s1 = trim_right(s1);
    s2 = trim_right(s2);
    return s1.size() == s2.size() &&
           std::equal(s1.begin(), s1.end(), s2.begin(),
                      [](char a, char b) { return ascii_upper(a) == ascii_upper(b); });
}

void make_printable(std::string& s) { std::replace(s.begin(), s.end(), '\n', '/'); }

namespace {

void remove_enclosing(std::string& s, char quote) {
    std::string_view t = trim(s);
    if (t.empty() || t.front() != quote || t.back() != quote) return;
    std::size_t lead = s.size() - trim_left(s).size();
    if (t.size() == 1) {
        s.clear();
        return;
    }
    std::string inner(t.substr(1, t.size() - 2));
    s = std::string(lead, ' ') + inner;
}

}  // namespace

void remove_quotes(std::string& s) { remove_enclosing(s, '"'); }

std::string_view unquoted(std::string_view s) {
    std::string_view t = trim(s);
    if (t.empty() || t.front() != '"' || t.back() != '"') return s;
    return t.size() == 1 ? std::string_view{} : t.substr(1, t.size() - 2);
}

void remove_simple_quotes(std::string& s) { remove_enclosing(s, '\''); }

void quote_spaces(std::string& s) {
    std::string_view t = trim_right(s);
    if (t.find(' ') != std::string_view::npos) s = '"' + std::string(t) + '"';
}

void remove_trail_0(std::string& s) {
    std::size_t at = s.find('\0');
    if (at != std::string::npos) std::fill(s.begin() + at, s.end(), ' ');
}

void remove_0(std::string& s) { std::erase(s, '\0'); }

char random_char() {
    static std::mt19937 gen{std::random_device{}()};
    float r = std::uniform_real_distribution<float>(0.0f, 1.0f)(gen);
    if (r < 0.3f) {
        int d = int(std::lround(r * 9.0f / 0.3f));
        return char('0' + std::clamp(d, 0, 9));
    }
    int l = int(std::lround((r - 0.3f) * 25.0f / 0.7f));
    return char('A' + std::clamp(l, 0, 25));
}

// --- comma- and semicolon-separated lines -----------------------------------------------------

void subs_dot_comma(std::string& ligne) {
    for (char& c : ligne) {
        if (c == ',')
            c = ';';
        else if (c == '.')
            c = ',';
    }
}

void subs_comma(std::string& ligne) { std::replace(ligne.begin(), ligne.end(), ',', ';'); }

void from_frcsv(std::string& ligne) {
    for (char& c : ligne) {
        if (c == ',')
            c = '.';
        else if (c == ';')
            c = ',';
    }
}

void to_frcsv(std::string& ligne) {
    const std::string before = ligne;
    std::size_t field_start = 0;
    auto field_numeric = [&](std::size_t start) {
        std::size_t end = before.find(',', start);
        return is_num(std::string_view(before).substr(
            start, end == std::string::npos ? std::string::npos : end - start));
    };
    bool numeric = field_numeric(0);
    bool in_quotes = false;
    for (std::size_t i = 0; i < ligne.size(); ++i) {
        char c = before[i];
        if (c == '"') {
            in_quotes = !in_quotes;
        } else if (c == ',') {
            ligne[i] = ';';
            field_start = i + 1;
            numeric = field_numeric(field_start);
        } else if (c == '.' && numeric && !in_quotes) {
            ligne[i] = ',';
        }
    }
}
