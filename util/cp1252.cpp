#include "util/cp1252.hpp"

#include <array>
#include <cstdint>
#include <cstring>

namespace {

// Code points of bytes 0x80..0x9F; the five bytes Windows leaves undefined map to the C1
// control of the same value, so every byte survives a round trip.
constexpr std::array<char16_t, 32> cp1252_high = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void append_utf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

std::size_t utf8_decode(std::string_view s, std::size_t pos, char32_t& cp) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    unsigned char c = byte(pos);
    std::size_t n = c < 0x80           ? 1
                    : (c >> 5) == 0x6  ? 2
                    : (c >> 4) == 0xE  ? 3
                    : (c >> 3) == 0x1E ? 4
                                       : 0;
    if (n == 0 || pos + n > s.size()) return 0;
    char32_t v = n == 1 ? c : c & (0x7F >> n);
    for (std::size_t i = 1; i < n; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) return 0;
        v = (v << 6) | (byte(pos + i) & 0x3F);
    }
    // Overlong forms, surrogates and values past Unicode are not valid UTF-8.
    static constexpr char32_t min_value[] = {0, 0, 0x80, 0x800, 0x10000};
    if (v < min_value[n] || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return 0;
    cp = v;
    return n;
}

}  // namespace

// Eight bytes at a time: registry stores and batch files can be large.
bool is_ascii(std::string_view s) {
    std::uint64_t high = 0;
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, s.data() + i, 8);
        high |= word;
    }
    for (; i < s.size(); ++i) high |= static_cast<unsigned char>(s[i]);
    return (high & 0x8080808080808080ULL) == 0;
}

char32_t cp1252_to_unicode(unsigned char c) {
    return (c >= 0x80 && c < 0xA0) ? cp1252_high[c - 0x80] : c;
}

int unicode_to_cp1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return int(cp);
    for (std::size_t i = 0; i < cp1252_high.size(); ++i)
        if (cp1252_high[i] == cp) return int(0x80 + i);
    // Minutes and seconds as the web writes them; Windows-1252 has no prime signs, and the
    // coordinate notations write them as the ASCII marks.
    if (cp == U'\u2032') return '\'';
    if (cp == U'\u2033') return '"';
    return -1;
}

unsigned char cp1252_upper(unsigned char c) {
    if (c >= 'a' && c <= 'z') return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;  // Latin-1 lower case
    switch (c) {
        case 0x9A:
            return 0x8A;  // s caron
        case 0x9C:
            return 0x8C;  // oe
        case 0x9E:
            return 0x8E;  // z caron
        case 0xFF:
            return 0x9F;  // y diaeresis
        default:
            return c;
    }
}

bool cp1252_equal_ci(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (cp1252_upper(static_cast<unsigned char>(a[i])) !=
            cp1252_upper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string cp1252_to_utf8(std::string_view text) {
    if (is_ascii(text)) return std::string(text);
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    for (unsigned char c : text) append_utf8(out, cp1252_to_unicode(c));
    return out;
}

std::u32string utf8_code_points(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        const std::size_t n = utf8_decode(text, i, cp);
        out += n == 0 ? U'\uFFFD' : cp;
        i += n == 0 ? 1 : n;
    }
    return out;
}

bool utf8_to_cp1252(std::string_view text, std::string& out) {
    out.clear();
    out.reserve(text.size());
    bool ok = true;
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        std::size_t n = utf8_decode(text, i, cp);
        if (n == 0) {
            out += '?';
            ok = false;
            ++i;
            continue;
        }
        int b = unicode_to_cp1252(cp);
        if (b < 0) ok = false;
        out += b < 0 ? '?' : char(b);
        i += n;
    }
    return ok;
}

// The closest Windows-1252 spelling of a letter it cannot hold: the letter without its accent,
// stroke or hook (Latin Extended-A, and the comma-below letters of Romanian); "" for others.
std::string_view closest_cp1252(char32_t cp) {
    static constexpr std::string_view latin_extended_a =
        "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiIiJjKkkLlLlLlLlLlNnNnNnnNnOoOoOoOoRrRrRr"
        "SsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";
    if (cp == 0x132) return "IJ";
    if (cp == 0x133) return "ij";
    if (cp >= 0x100 && cp < 0x180) return latin_extended_a.substr(cp - 0x100, 1);
    if (cp >= 0x218 && cp <= 0x21B) return std::string_view("SsTt").substr(cp - 0x218, 1);
    return {};
}

std::string utf8_or_cp1252_to_cp1252(std::string_view text, bool& lossy) {
    lossy = false;
    if (is_ascii(text)) return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        std::size_t n = utf8_decode(text, i, cp);
        if (n == 0) {
            out += text[i++];  // not UTF-8: taken as Windows-1252 already
            continue;
        }
        const int b = unicode_to_cp1252(cp);
        if (b < 0) {
            lossy = true;
            const std::string_view closest = closest_cp1252(cp);
            out += closest.empty() ? std::string_view("?") : closest;
        } else {
            out += char(b);
        }
        i += n;
    }
    return out;
}

std::string utf8_or_cp1252_to_cp1252(std::string_view text) {
    bool lossy = false;
    return utf8_or_cp1252_to_cp1252(text, lossy);
}

bool is_utf8(std::string_view text) {
    for (std::size_t k = 0; k < text.size();) {
        const auto c = static_cast<unsigned char>(text[k]);
        const std::size_t n = c < 0x80         ? 1
                              : (c >> 5) == 6  ? 2
                              : (c >> 4) == 14 ? 3
                              : (c >> 3) == 30 ? 4
                                               : 0;
        if (n == 0 || k + n > text.size() || (n == 2 && c < 0xC2)) return false;
        for (std::size_t j = 1; j < n; ++j)
            if ((static_cast<unsigned char>(text[k + j]) & 0xC0) != 0x80) return false;
        k += n;
    }
    return true;
}

std::string utf8_or_cp1252_to_utf8(std::string_view text) {
    return is_utf8(text) ? std::string(text) : cp1252_to_utf8(text);
}
