#include "util/numbers.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "util/text.hpp"

namespace {

bool ends_item(char c) { return c == ' ' || c == ',' || c == '/'; }

// The first item of a free-form text: leading blanks skipped, ended by a blank, comma or slash.
std::string_view first_item(std::string_view text) {
    text = trim_left(text);
    std::size_t end = 0;
    while (end < text.size() && !ends_item(text[end])) ++end;
    return text.substr(0, end);
}

// True when `item` is exactly: [sign] digits [. digits] [e|E [sign] digits], with at least one
// mantissa digit. Stricter than from_chars, which would take "inf", "nan" and hex floats.
bool is_decimal_number(std::string_view item, bool allow_fraction) {
    std::size_t i = 0, n = item.size();
    if (i < n && (item[i] == '+' || item[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < n && item[i] >= '0' && item[i] <= '9') ++i, ++digits;
    if (allow_fraction && i < n && item[i] == '.') {
        ++i;
        while (i < n && item[i] >= '0' && item[i] <= '9') ++i, ++digits;
    }
    if (digits == 0) return false;
    if (allow_fraction && i < n && (item[i] == 'e' || item[i] == 'E')) {
        ++i;
        if (i < n && (item[i] == '+' || item[i] == '-')) ++i;
        std::size_t exp_digits = 0;
        while (i < n && item[i] >= '0' && item[i] <= '9') ++i, ++exp_digits;
        if (exp_digits == 0) return false;
    }
    return i == n;
}

std::string asterisks(std::size_t n) { return std::string(n, '*'); }

}  // namespace

// An integer mantissa below 2^53 and a power of ten up to 10^15 are both exact, so one
// division gives the correctly rounded double, the same as from_chars.
const char* read_plain_decimal_prefix(const char* p, const char* end, double& value) {
    static constexpr double pow10[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    // More than 19 digits wrap the mantissa around, but more than 15 are refused below.
    std::uint64_t mantissa = 0;
    auto digits_from = [&](const char* start) {
        for (; p < end && unsigned(*p - '0') < 10; ++p)
            mantissa = mantissa * 10 + unsigned(*p - '0');
        return p - start;
    };
    long digits = digits_from(p), decimals = 0;
    if (p < end && *p == '.') {
        ++p;
        decimals = digits_from(p);
        digits += decimals;
    }
    if (digits == 0 || digits > 15) return nullptr;
    const double v = double(mantissa) / pow10[decimals];
    value = negative ? -v : v;
    return p;
}

bool read_plain_decimal(std::string_view item, double& value) {
    const char* const end = item.data() + item.size();
    double v = 0;
    const char* const stop = read_plain_decimal_prefix(item.data(), end, v);
    if (stop == nullptr || stop != end) return false;  // (an empty view may have no data)
    value = v;
    return true;
}

bool read_free_number(std::string_view text, double& value) {
    // A plain decimal is its own first item: the usual case, read without cutting it out.
    if (read_plain_decimal(text, value)) return true;
    std::string_view item = first_item(text);
    if (item.size() != text.size() && read_plain_decimal(item, value)) return true;
    if (!is_decimal_number(item, true)) return false;
    if (item.front() == '+') item.remove_prefix(1);  // from_chars takes no '+'
    double v = 0;
    auto [ptr, ec] = std::from_chars(item.data(), item.data() + item.size(), v);
    if (ec != std::errc{} || ptr != item.data() + item.size() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

bool read_free_number(std::string_view text, float& value) {
    double v = 0;
    if (!read_free_number(text, v) || std::fabs(v) > 3.4028234663852886e38) return false;
    value = float(v);
    return true;
}

bool read_whole_number(std::string_view text, float& value) {
    text = trim(text);
    double plain = 0;
    if (read_plain_decimal(text, plain)) {  // the usual coordinate: one pass, no copy
        value = float(plain);
        return true;
    }
    return first_item(text).size() == text.size() && read_free_number(text, value);
}

bool read_free_int(std::string_view text, std::int32_t& value) {
    // Up to nine digits fit: the usual turnpoint number, its own first item, read directly.
    auto plain = [&](std::string_view item) {
        if (item.empty() || item.size() > 9) return false;
        std::int32_t v = 0;
        for (char c : item) {
            if (c < '0' || c > '9') return false;
            v = v * 10 + (c - '0');
        }
        value = v;
        return true;
    };
    if (plain(text)) return true;
    std::string_view item = first_item(text);
    if (item.size() != text.size() && plain(item)) return true;
    if (!is_decimal_number(item, false)) return false;
    if (item.front() == '+') item.remove_prefix(1);
    std::int32_t v = 0;
    auto [ptr, ec] = std::from_chars(item.data(), item.data() + item.size(), v);
    if (ec != std::errc{} || ptr != item.data() + item.size()) return false;
    value = v;
    return true;
}

std::string numver_to_char(int numver) {
    int n1 = numver / 1000, n2 = numver / 100 % 10, n3 = numver / 10 % 10, n4 = numver % 10;
    char buf[32];
    if (n1 > 99 || n1 < -9) {
        std::snprintf(buf, sizeof buf, "**.%d.%d.%d", n2, n3, n4);
    } else {
        std::snprintf(buf, sizeof buf, "%2d.%d.%d.%d", n1, n2, n3, n4);
    }
    return std::string(trim_left(buf));
}

std::string i2b(std::int32_t ii4, std::size_t capacity) {
    std::size_t width = std::min<std::size_t>(capacity, 16);
    char buf[16];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, ii4);
    std::size_t len = std::size_t(ptr - buf);
    if (ec != std::errc{} || len > width) return asterisks(width);
    return std::string(buf, len);
}

namespace {

// "00" to "99": two digits per division.
constexpr auto digit_pairs = [] {
    std::array<char, 200> t{};
    for (int i = 0; i < 100; ++i) {
        t[std::size_t(2 * i)] = char('0' + i / 10);
        t[std::size_t(2 * i + 1)] = char('0' + i % 10);
    }
    return t;
}();

constexpr auto powers_of_ten = [] {
    std::array<unsigned long long, 20> t{};
    t[0] = 1;
    for (std::size_t i = 1; i < t.size(); ++i) t[i] = t[i - 1] * 10;
    return t;
}();

// The decimal digits of n, written backwards so that they end at `end`.
void digits_before(char* end, unsigned long long n) {
    while (n >= 100) {
        end -= 2;
        std::memcpy(end, &digit_pairs[std::size_t(2 * (n % 100))], 2);
        n /= 100;
    }
    if (n >= 10) {
        end -= 2;
        std::memcpy(end, &digit_pairs[std::size_t(2 * n)], 2);
    } else {
        *--end = char('0' + n);
    }
}

// Decimal digits of n (none for 0): from the bit width, corrected once by the table.
int digit_count(unsigned long long n) {
    const int t = std::bit_width(n | 1) * 1233 >> 12;  // 1233 / 4096 is just above log10(2)
    return t + (n >= powers_of_ten[std::size_t(t)] ? 1 : 0);
}

// The `Decimals` last digits of n and the point before them, ending at `end`, with the
// constant divisors the compiler turns into multiplications; what is left of n is returned.
template <int Decimals>
unsigned long long fraction_before(char* end, unsigned long long n) {
    char* p = end;
    for (int k = 0; k + 2 <= Decimals; k += 2, n /= 100) {
        p -= 2;
        std::memcpy(p, &digit_pairs[std::size_t(2 * (n % 100))], 2);
    }
    if constexpr (Decimals % 2 == 1) {
        *--p = char('0' + n % 10);
        n /= 10;
    }
    if constexpr (Decimals > 0) *--p = '.';
    return n;
}

template <int... D>
unsigned long long fraction_before(char* end, unsigned long long n, int decimals,
                                   std::integer_sequence<int, D...>) {
    unsigned long long whole = 0;
    (void)((decimals == D && (whole = fraction_before<D>(end, n), true)) || ...);
    return whole;
}

}  // namespace

char* fixed_to_chars(char* first, char* last, float v, int decimals) {
    static constexpr double powers[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
    // A float times 10^d (d <= 8) is exact in a double, so rounding it to an integer (ties to
    // even, the default mode) is exactly the correctly rounded decimal that to_chars writes.
    const double scaled = double(v) * powers[std::clamp(decimals, 0, 8)];
    if (decimals < 0 || decimals > 8 || !(std::fabs(scaled) < 1e17)) {
        auto [ptr, ec] = std::to_chars(first, last, double(v), std::chars_format::fixed, decimals);
        return ec == std::errc{} ? ptr : nullptr;
    }
    // Below 2^52, adding and taking away 2^52 rounds to an integer in the current mode, as
    // nearbyint does, without its call; from 2^52 on every double is an integer.
    constexpr double two_52 = 4503599627370496.0;
    const double magnitude = std::fabs(scaled);
    const double whole = magnitude < two_52 ? (magnitude + two_52) - two_52 : magnitude;
    const unsigned long long n = static_cast<unsigned long long>(whole);
    // Digits in all, at least one before the point.
    const int len = std::max(digit_count(n), decimals + 1);
    const bool minus = std::signbit(v);
    const std::size_t size = std::size_t(len) + (minus ? 1 : 0) + (decimals > 0 ? 1 : 0);
    if (std::size_t(last - first) < size) return nullptr;
    if (minus) *first = '-';
    char* const end = first + size;
    const unsigned long long rest =
        fraction_before(end, n, decimals, std::make_integer_sequence<int, 9>{});
    digits_before(end - decimals - (decimals > 0 ? 1 : 0), rest);
    return end;
}

std::string format_fixed(double value, int width, int decimals) {
    char buf[352];  // enough for any double in fixed notation
    auto [ptr, ec] =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    if (ec != std::errc{}) return asterisks(std::size_t(width));
    std::string_view text(buf, std::size_t(ptr - buf));
    if (int(text.size()) == width + 1) {
        // Fixed-point output may drop the optional zero before the point to fit.
        if (text.starts_with("0."))
            text.remove_prefix(1);
        else if (text.starts_with("-0.")) {
            std::string shortened(1, '-');
            shortened.append(text.substr(2));
            return shortened;
        }
    }
    if (int(text.size()) > width) return asterisks(std::size_t(width));
    std::string field(std::size_t(width) - text.size(), ' ');
    field.append(text);
    return field;
}

namespace {

// Width and decimals of a fixed-point format text "(Fw.d)"; false when it is not one.
bool parse_f_format(std::string_view fstr, int& width, int& decimals) {
    std::size_t f = fstr.find_first_of("Ff");
    std::size_t dot = fstr.find('.', f);
    if (f == std::string_view::npos || dot == std::string_view::npos) return false;
    std::size_t close = fstr.find(')', dot);
    std::string_view w = fstr.substr(f + 1, dot - f - 1);
    std::string_view d =
        fstr.substr(dot + 1, close == std::string_view::npos ? close : close - dot - 1);
    return std::from_chars(w.data(), w.data() + w.size(), width).ec == std::errc{} &&
           std::from_chars(d.data(), d.data() + d.size(), decimals).ec == std::errc{} &&
           width > 0 && decimals >= 0;
}

}  // namespace

std::string f2b(float rr4, std::string_view fstr) {
    int width = 0, decimals = 0;
    std::string text;
    if (parse_f_format(fstr, width, decimals)) {
        text = format_fixed(rr4, width, decimals);
        float mag = std::fabs(rr4);
        if (mag > 1 && std::isfinite(mag)) {
            int ndmax = std::max(0, 8 - int(std::floor(std::log10(mag))));
            if (decimals > ndmax) text = format_fixed(rr4, 20, ndmax);
        }
    } else {
        // Exponent and other formats: the shortest text that reads back as the same float.
        char buf[32];
        auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, rr4);
        text.assign(buf, ec == std::errc{} ? std::size_t(ptr - buf) : 0);
    }
    std::string_view t = trim(text);
    if (t.find('.') != std::string_view::npos && t.find_first_of("eE") == std::string_view::npos) {
        while (!t.empty() && t.back() == '0') t.remove_suffix(1);
        if (!t.empty() && t.back() == '.') t.remove_suffix(1);
    }
    return std::string(t);
}

std::string l2b(bool q) { return q ? "1" : "0"; }

std::string t2b(float hours) {
    int h = int(hours);
    double t = (double(hours) - h) * 3600.0;
    int minutes = int(std::floor(t / 60.0));
    int seconds = int(std::floor(std::fmod(t, 60.0)));
    char buf[40];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", h, minutes, seconds);
    return std::string(trim_left(buf));
}

KeyCodeParts split_key_code(std::int32_t code) {
    int key = code % key_mod_factor, mods = code / key_mod_factor;
    if (key > key_part_max) {
        mods += 1;
        key -= key_mod_factor;
    }
    return {mods, key};
}

namespace {

constexpr int flag_long = 8, flag_ctrl = 1, flag_shift = 2, flag_alt = 4;

}  // namespace

std::string k2b(std::int32_t kkk) {
    auto [mods, key] = split_key_code(kkk);
    if (key == 0) return {};
    std::string text;
    if (mods & flag_long) text += "LONG+";
    if (mods & flag_ctrl) text += "CTRL+";
    if (mods & flag_shift) text += "SHFT+";
    if (mods & flag_alt) text += "ALT+";
    if (key < 0) {
        text += "SCN" + std::to_string(-key);
    } else if (key >= 34 && key <= 126) {
        text += '"';
        text += char(key);
        text += '"';
    } else {
        text += "ASC" + std::to_string(key);
    }
    return text;
}

bool b2k(std::string_view buff, std::int32_t& code) {
    std::string_view t = trim(buff.substr(0, std::min<std::size_t>(buff.size(), 128)));
    int mods = 0;
    auto take = [&](std::string_view prefix, int flag) {
        if (t.starts_with(prefix)) {
            t.remove_prefix(prefix.size());
            mods |= flag;
        }
    };
    take("LONG+", flag_long);
    take("CTRL+", flag_ctrl);
    take("SHFT+", flag_shift);
    take("ALT+", flag_alt);
    // Checked before negating or adding: saved files may hold any number.
    auto number = [&](int sign, int& key) {
        std::int32_t n = 0;
        if (!read_free_int(t.substr(3), n) || n < -key_part_max || n > key_part_max) return false;
        key = sign * n;
        return key >= key_part_min && key <= key_part_max;
    };
    int key = 0;
    if (t.size() == 3 && t[0] == '"' && t[2] == '"') {
        key = static_cast<unsigned char>(t[1]);
    } else if (t.starts_with("ASC")) {
        if (!number(1, key)) return false;
    } else if (t.starts_with("SCN")) {
        if (!number(-1, key)) return false;
    }
    code = key + mods * key_mod_factor;
    return true;
}

std::int32_t b2k(std::string_view buff) {
    std::int32_t code = 0;
    return b2k(buff, code) ? code : 0;
}

std::string to_hms(float secs, std::size_t capacity) {
    long s = long(secs);
    int hundredths = int(std::floor((double(secs) - double(s)) * 100.0));
    char buf[48];
    if (hundredths < 1 || capacity < 11) {
        std::snprintf(buf, sizeof buf, "%2ld:%02ld:%02ld", s / 3600, s % 3600 / 60, s % 60);
    } else {
        std::snprintf(buf, sizeof buf, "%2ld:%02ld:%02ld.%02d", s / 3600, s % 3600 / 60, s % 60,
                      hundredths);
    }
    return std::string(buf).substr(0, capacity);
}

std::string to_hms_c(float secs) { return to_hms(secs, 8); }

std::int32_t hms2sec(std::string_view text) {
    text = text.substr(0, std::min<std::size_t>(text.size(), 16));
    std::size_t c1 = text.find(':');
    std::size_t c2 = c1 == std::string_view::npos ? c1 : text.find(':', c1 + 1);
    std::int32_t h = 0, m = 0, s = 0;
    if (c1 != std::string_view::npos) read_free_int(text.substr(0, c1), h);
    if (c2 != std::string_view::npos) read_free_int(text.substr(c1 + 1, c2 - c1 - 1), m);
    std::string_view sec = c2 != std::string_view::npos ? text.substr(c2 + 1) : std::string_view{};
    if (!read_free_int(sec, s)) return -999;
    return h * 3600 + m * 60 + s;
}
