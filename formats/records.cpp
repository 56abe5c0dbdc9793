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

PointRole role_in_task(const FormatTask& task, std::size_t index) {
    const PointRole own = task.points[index].role;
    if (own != PointRole::point) return own;
    const std::size_t first = task.has_takeoff ? 1 : 0;
    if (index == first) return PointRole::start;
    if (index + 1 == task.points.size()) return PointRole::finish;
    return PointRole::turn;
}

int read_time_of_day(std::string_view text) {
    text = trimmed(text);
    if (text.ends_with('Z') || text.ends_with('z')) text.remove_suffix(1);
    int parts[3] = {0, 0, 0};
    std::size_t count = 0;
    while (count < 3) {
        const auto [end, ec] =
            std::from_chars(text.data(), text.data() + text.size(), parts[count]);
        if (ec != std::errc() || end == text.data() || end - text.data() > 2) return -1;
        ++count;
        text.remove_prefix(std::size_t(end - text.data()));
        if (text.empty()) break;
        if (text.front() != ':') return -1;
        text.remove_prefix(1);
    }
    if (!text.empty() || count < 2 || parts[0] > 23 || parts[1] > 59 || parts[2] > 59 ||
        parts[0] < 0 || parts[1] < 0 || parts[2] < 0)
        return -1;
    return parts[0] * 3600 + parts[1] * 60 + parts[2];
}

std::string time_of_day_text(int seconds) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", seconds / 3600 % 100, seconds / 60 % 60,
                  seconds % 60);
    return buf;
}

std::string number_text(double v) {
    char buf[64];
    for (int digits = 0; digits <= 17; ++digits) {
        std::snprintf(buf, sizeof buf, "%.*f", digits, v);
        if (std::strtod(buf, nullptr) == v) break;
    }
    std::string s = buf;
    if (s == "-0") s = "0";
    return s;
}

std::string degrees_text(double degrees) { return plain_text(degrees); }
