#include "formats/records.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// decode_coord reads at most this many characters of a coordinate.
constexpr std::size_t coordinate_text_max = 20;

// A plain decimal: an optional minus, digits, an optional point with digits after it.
bool is_plain_decimal(std::string_view t) {
    std::size_t i = t.starts_with('-') ? 1 : 0;
    const std::size_t digits_from = i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;
    if (i == digits_from) return false;
    if (i == t.size()) return true;
    if (t[i] != '.') return false;
    const std::size_t frac_from = ++i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;
    return i == t.size() && i > frac_from;
}

bool read_double(std::string_view t, double& v) {
    if (t.starts_with('+')) t.remove_prefix(1);
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    return ec == std::errc() && end == t.data() + t.size() && std::isfinite(v);
}

std::string_view trimmed(std::string_view t) {
    const std::size_t b = t.find_first_not_of(" \t\r\n");
    if (b == std::string_view::npos) return {};
    return t.substr(b, t.find_last_not_of(" \t\r\n") - b + 1);
}

// The shortest text that reads back as the same float, in plain decimals.
std::string plain_text(double v) {
    char buf[64];
    const float f = float(v);
    for (int digits = 1; digits <= 12; ++digits) {
        std::snprintf(buf, sizeof buf, "%.*f", digits, double(f));
        if (std::strtof(buf, nullptr) == f) break;
    }
    return buf;
}

}  // namespace

bool format_degrees(std::string_view text, double limit, std::string& out) {
    text = trimmed(text);
    double v = 0;
    if (!read_double(text, v) || std::fabs(v) > limit) return false;
    if (is_plain_decimal(text) && text.size() <= coordinate_text_max)
        out = text;
    else
        out = plain_text(v);
    return true;
}

bool format_elevation(std::string_view text, std::string& out) {
    text = trimmed(text);
    if (text.empty()) {
        out.clear();
        return true;
    }
    double v = 0;
    if (!read_double(text, v) || std::fabs(v) > 1e6) return false;
    out = is_plain_decimal(text) ? std::string(text) : plain_text(v);
    return true;
}

std::string point_name(std::string_view text) {
    std::string name;
    name.reserve(text.size());
    for (char ch : text) name += static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F ? ' ' : ch;
    return std::string(trimmed(name));
}

LinePlaces::LinePlaces(std::string_view bytes) {
    starts_.push_back(0);
    for (std::size_t i = bytes.find('\n'); i != std::string_view::npos; i = bytes.find('\n', i + 1))
        starts_.push_back(i + 1);
}

std::string LinePlaces::at(std::size_t offset) const {
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), offset);
    return "line " + std::to_string(after - starts_.begin());
}
