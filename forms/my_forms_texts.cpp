// Number texts of the form engine.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <limits>

#include "forms/my_forms_internal.hpp"
#include "util/numbers.hpp"
#include "util/text.hpp"

namespace frm_detail {

std::int32_t round_to_int(double x) {
    if (std::isnan(x)) return 0;
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    double r = std::round(x);  // halves away from zero
    if (r <= lo) return std::numeric_limits<std::int32_t>::min();
    if (r >= hi) return std::numeric_limits<std::int32_t>::max();
    return std::int32_t(r);
}

std::string scientific_text(double x, int decimals) {
    if (x == 0) return "0";
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.*E", decimals, x);
    std::string text(buf);
    std::size_t e = text.find('E');
    if (e == std::string::npos) return text;  // inf, nan
    std::size_t end = e;
    while (end > 0 && text[end - 1] == '0') --end;
    if (end > 0 && text[end - 1] == '.') --end;
    return text.substr(0, end) + text.substr(e);
}

std::string real_text(float x) {
    float a = std::fabs(x);
    if (a > 1.0e6f || a < 0.001f) return scientific_text(x, 9);
    return f2b(x, "(F16.6)");
}

std::string set_value_text(float x) {
    float a = std::fabs(x);
    if (a > 1.0e6f || (a > 1.0e-10f && a < 0.001f)) return scientific_text(x, 6);
    return f2b(x, "(F16.6)");
}

std::string colour_text(int rgb) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%06X", unsigned(rgb));
    return buf;
}

bool read_hex6(std::string_view text, int& value) {
    int v = 0, digits = 0;
    for (char c : text.substr(0, 6)) {
        int d;
        if (c == ' ') continue;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else
            return false;
        v = v * 16 + d;
        ++digits;
    }
    if (digits == 0) return false;
    value = v;
    return true;
}

bool is_blank(std::string_view s) { return trim(s).empty(); }

int io_status() { return errno > 0 ? errno : EIO; }

}  // namespace frm_detail
