#include "geo/decode_coord.hpp"

#include <cctype>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "host/diag.hpp"
#include "util/numbers.hpp"
#include "util/text.hpp"

namespace {

constexpr std::size_t dms_field = 20;  // decode_lat_lon looks at this many characters

// 1-based position of the first c in s, 0 when absent.
std::size_t pos1(std::string_view s, char c) {
    std::size_t p = s.find(c);
    return p == std::string_view::npos ? 0 : p + 1;
}

// Characters first..last (1-based, inclusive) of s; empty when the range is empty.
std::string_view cols(std::string_view s, std::size_t first, std::size_t last) {
    if (first < 1 || last < first || first > s.size()) return {};
    return s.substr(first - 1, last - first + 1);
}

// A number part of a coordinate: all of it, so "46,5" is no 46.
bool read_number(std::string_view s, float& v) { return read_whole_number(s, v); }

constexpr float minutes_per_degree = 60;
constexpr float seconds_per_minute = 60;

// Minutes and seconds are parts of the unit above them.
bool valid_part(float v, float limit) { return v >= 0 && v < limit; }

// Waypoint-file notation: dot at `dot`, `deg_digits` digits of degrees, the letter (`neg` or
// `pos`) at one of three positions after the dot.
float decode_cu(std::string_view text, std::size_t dot, std::size_t deg_digits, char pos,
                char neg) {
    if (text.size() < dot || text[dot - 1] != '.') return cu_invalid;
    const std::size_t ii = std::max(pos1(text, neg), pos1(text, pos));
    // Three to five decimals of minutes, and the letter ends the text: "4630.500N,N" is no
    // latitude (a waypoint file written back would keep that text, comma and all).
    if (ii < dot + 4 || ii > dot + 6 || ii != text.size()) return cu_invalid;
    float degres = 0, minutes = 0;
    if (!read_number(cols(text, 1, deg_digits), degres)) return cu_invalid;
    if (!read_number(cols(text, deg_digits + 1, ii - 1), minutes)) return cu_invalid;
    if (degres < 0 || !valid_part(minutes, minutes_per_degree)) return cu_invalid;
    const float v = minutes / 60 + degres;
    return text[ii - 1] == neg ? -v : v;
}

// --- output -----------------------------------------------------------------------------------

class Writer {
  public:
    void put(char c) {
        if (t_.len < t_.buf.size()) t_.buf[t_.len++] = c;
    }
    // Zero-padded to `width` digits; asterisks when v does not fit (or is unknown, < 0).
    void digits(long long v, int width) {
        long long limit = 1;
        for (int i = 0; i < width; ++i) limit *= 10;
        if (v < 0 || v >= limit) {
            for (int i = 0; i < width; ++i) put('*');
            return;
        }
        char tmp[20];
        for (int i = width - 1; i >= 0; --i, v /= 10) tmp[i] = static_cast<char>('0' + v % 10);
        for (int i = 0; i < width; ++i) put(tmp[i]);
    }
    CoordText text() const { return t_; }

  private:
    CoordText t_;
};

// Whole degrees and the minutes they leave, the common start of every layout.
struct DegMin {
    long long dd;  // -1 when |v| is too large for any degree group
    float x;       // minutes with their fraction
    long long mm;  // -1 when v is not a finite number
    bool finite() const { return mm >= 0; }
};

DegMin split(float v) {
    const float a = std::fabs(v);
    if (!std::isfinite(a)) return {-1, 0, -1};
    const float dd = std::floor(a);
    const float x = (a - dd) * 60;
    const float mm = std::floor(x);
    return {a < 1e9f ? static_cast<long long>(dd) : -1, x, static_cast<long long>(mm)};
}

// Carries seconds into minutes and minutes into degrees.
void carry(long long& dd, long long& mm, long long& ss) {
    if (ss >= 60) {
        ss -= 60;
        ++mm;
    }
    if (mm >= 60) {
        mm -= 60;
        if (dd >= 0) ++dd;
    }
}

int deg_width(int nlon) { return nlon == 1 ? 2 : 3; }

char dms_letter(float v, int nlon) {
    if (nlon == 1) return v > 0 ? 'N' : 'S';
    return v > 0 ? 'E' : 'W';
}

// Degrees, minutes, whole seconds with the separators of dms / dms_oa.
CoordText dms_like(float lon, int nlon, char after_deg, char after_min, char after_sec) {
    DegMin p = split(lon);
    long long ss = p.finite() ? std::lround((p.x - static_cast<float>(p.mm)) * 60.f) : -1;
    if (p.finite()) carry(p.dd, p.mm, ss);
    Writer w;
    w.digits(p.dd, deg_width(nlon));
    w.put(after_deg);
    w.digits(p.mm, 2);
    w.put(after_min);
    w.digits(ss, 2);
    w.put(after_sec);
    w.put(dms_letter(lon, nlon));
    return w.text();
}

// Degrees, minutes and thousandths of a minute; `dot_after_deg` for the simulator's layout.
CoordText cu_like(float v, int width, bool dot_after_deg, char pos, char neg) {
    DegMin p = split(v);
    long long th = p.finite() ? std::lround((p.x - static_cast<float>(p.mm)) * 1000.f) : -1;
    if (th >= 1000) {
        th -= 1000;
        long long no_seconds = 0;
        ++p.mm;
        carry(p.dd, p.mm, no_seconds);
    }
    Writer w;
    w.digits(p.dd, width);
    if (dot_after_deg) w.put('.');
    w.digits(p.mm, 2);
    w.put('.');
    w.digits(th, 3);
    w.put(v >= 0 ? pos : neg);
    return w.text();
}

}  // namespace

// --- decoding ---------------------------------------------------------------------------------

float decode_lat_lon(std::string_view text) {
    std::array<char, dms_field> f;
    f.fill(' ');
    std::copy_n(text.begin(), std::min(text.size(), f.size()), f.begin());
    const std::string_view s(f.data(), f.size());
    const std::size_t id = pos1(s, degree_sign);
    const std::size_t im = pos1(s, '\'');
    const std::size_t is = pos1(s, '"');

    float fact = 1;
    for (char letter : {'N', 'S', 'E', 'W'}) {
        if (std::size_t p = pos1(s, letter); p != 0) {
            f[p - 1] = ' ';
            fact = (letter == 'N' || letter == 'E') ? 1.f : -1.f;
        }
    }
    if (id == 0) return dms_invalid;
    float deg = 0, mmm = 0, sec = 0;
    const bool deg_ok = read_number(cols(s, 1, id - 1), deg);
    diag(trim_right(text), fact, deg, mmm, sec, tf(deg_ok));
    if (!deg_ok) return dms_invalid;
    if (im != 0) {
        if (!read_number(cols(s, id + 1, im - 1), mmm)) return dms_invalid;
        // Seconds end at the double quote, else at the last character left once the letter is
        // blanked (without a letter that is the last character itself).
        const std::size_t end = is != 0 ? is : trim_right(s).size() + 1;
        if (im + 1 < end && !read_number(cols(s, im + 1, end - 1), sec)) return dms_invalid;
        if (!valid_part(mmm, minutes_per_degree) || !valid_part(sec, seconds_per_minute))
            return dms_invalid;
    } else if (trim(cols(s, id + 1, s.size())).size() > 0) {
        return dms_invalid;  // text after the degrees that no minute sign claims
    }
    const float v = (mmm / 60 + deg + sec / 3600) * fact;
    diag(trim_right(text), fact, deg, mmm, sec, v);
    return v;
}

float decode_lat_cu(std::string_view text) { return decode_cu(text, 5, 2, 'N', 'S'); }

float decode_lon_cu(std::string_view text) { return decode_cu(text, 6, 3, 'E', 'W'); }

namespace {

constexpr char right_single_quote = '\x92';  // ’ in Windows-1252
constexpr char right_double_quote = '\x94';  // ” in Windows-1252

bool is_mark(char c) { return c == '\'' || c == right_single_quote || c == right_double_quote; }

// The marks the web writes, as the notations above write them: ’ and ” (the prime and double
// prime arrive as ' and " from the codec, Windows-1252 having no byte for them), two
// apostrophes as seconds, a lower-case hemisphere letter at the end. Every text this changes
// held a character no notation reads, so only texts that were refused read differently.
void normalise_marks(char* field, std::size_t& len, std::string_view c_ori) {
    // Most fields hold no mark at all: nothing to rewrite before the first one.
    std::size_t out = std::size_t(std::find_if(field, field + len, is_mark) - field);
    for (std::size_t i = out; i < len; ++i) {
        char c = field[i];
        if (c == right_single_quote) c = '\'';
        if (c == right_double_quote) c = '"';
        if (c == '\'' && out > 0 && field[out - 1] == '\'') {
            field[out - 1] = '"';
            continue;
        }
        field[out++] = c;
    }
    len = out;
    // A hemisphere letter follows a number or a mark, never another letter ("nan").
    if (len < 2 || std::isalpha(static_cast<unsigned char>(field[len - 2]))) return;
    char& last = field[len - 1];
    for (char letter : c_ori)
        if (last == letter - 'A' + 'a') last = letter;
}

}  // namespace

namespace {

bool is_digit(char c) { return unsigned(c - '0') < 10; }

// Latitude or longitude: c_ori is "NS" or "WE".
bool is_latitude(std::string_view c_ori) { return c_ori[0] == 'N' && c_ori[1] == 'S'; }

// A decoded value in its range gives its format code; else the field is not decodable.
int checked(float v, bool latitude, float& xlat, int code) {
    if (!(std::fabs(v) <= (latitude ? 90.f : 180.f))) {
        xlat = coord_invalid;
        return fmt_unknown;
    }
    xlat = v;
    return code;
}

}  // namespace

bool coord_detail::read_usual(std::string_view field, float& xlat, std::string_view c_ori,
                              int& code) {
    if (c_ori.size() != 2 || field.empty()) return false;
    const bool latitude = is_latitude(c_ori);
    if (is_digit(field.back())) {
        double number = 0;
        if (!read_plain_decimal(field, number)) return false;
        code = checked(float(number), latitude, xlat, fmt_decimal);
        return true;
    }
    // DDMM.mmmN with three to five decimals and digits wherever digits belong: the numbers
    // decode_cu reads, made as read_plain_decimal makes them (an exact integer mantissa over
    // an exact power of ten).
    const std::size_t deg = latitude ? 2 : 3, dot = deg + 2;
    const char letter = field.back(), negative = latitude ? 'S' : 'W';
    if (field.size() < dot + 5 || field.size() > dot + 7 || field[dot] != '.' ||
        (letter != c_ori[0] && letter != c_ori[1]))
        return false;
    auto digits = [&](std::size_t from, std::size_t to, std::uint64_t& n) {
        for (std::size_t i = from; i < to; ++i) {
            if (!is_digit(field[i])) return false;
            n = n * 10 + unsigned(field[i] - '0');
        }
        return true;
    };
    std::uint64_t whole_degrees = 0, mantissa = 0;
    if (!digits(0, deg, whole_degrees) || !digits(deg, dot, mantissa) ||
        !digits(dot + 1, field.size() - 1, mantissa))
        return false;
    static constexpr double decimals[] = {1e3, 1e4, 1e5};
    const double minutes = double(mantissa) / decimals[field.size() - dot - 5];
    const double degrees = double(whole_degrees);
    const float mm = float(minutes), v = mm / 60 + float(degrees);
    code = valid_part(mm, minutes_per_degree)
               ? checked(letter == negative ? -v : v, latitude, xlat, fmt_waypoint)
               : checked(cu_invalid, latitude, xlat, fmt_waypoint);  // out of range: refused
    return true;
}

int coord_detail::what_format(char* field, std::size_t& len, float& xlat, std::string_view c_ori) {
    auto invalid = [&] {
        xlat = coord_invalid;
        return fmt_unknown;
    };
    while (len > 0 && field[len - 1] == ' ') --len;
    if (len == 0 || c_ori.size() != 2) return invalid();
    normalise_marks(field, len, c_ori);
    const bool latitude = c_ori == "NS";
    const char last = field[len - 1];
    const bool lettered = last == c_ori[0] || last == c_ori[1];
    const bool degree = std::find(field, field + len, degree_sign) != field + len;

    float v = 0;
    int code;
    if (degree && lettered) {
        v = decode_lat_lon({field, len});
        code = fmt_degree_sign;
    } else if (lettered) {
        const auto dots = std::count(field, field + len, '.');
        if (dots == 2) {
            // DD.MM.mmmN: the simulator's layout; drop the first dot.
            char* first = std::find(field, field + len, '.');
            std::memmove(first, first + 1, static_cast<std::size_t>(field + len - first - 1));
            --len;
        } else if (dots == 0) {
            // DDMMmmmN: compact; the three decimals and the letter follow the dot.
            if (len < 4) return invalid();
            diag(std::string_view(field, len));
            char* at = field + len - 4;
            std::memmove(at + 1, at, 4);
            *at = '.';
            ++len;
            diag(std::string_view(field, len));
        }
        v = latitude ? decode_lat_cu({field, len}) : decode_lon_cu({field, len});
        code = fmt_waypoint;
    } else {
        if (!read_whole_number(std::string_view(field, len), v)) return invalid();
        code = fmt_decimal;
    }
    if (v == dms_invalid || v == cu_invalid || !(std::fabs(v) <= (latitude ? 90.f : 180.f)))
        return invalid();
    xlat = v;
    return code;
}

namespace {

constexpr std::size_t pair_field = 64;  // a pair longer than this is no pasted position

// True when `text` decodes as a coordinate of kind c_ori ("NS" or "WE").
bool decodes(std::string_view text, std::string_view c_ori) {
    std::array<char, pair_field + 1> buf;
    if (text.size() > pair_field) return false;
    std::copy(text.begin(), text.end(), buf.begin());
    std::size_t len = text.size();
    float v = 0;
    return coord_detail::what_format(buf.data(), len, v, c_ori) != fmt_unknown;
}

bool plain_integer(std::string_view s) {
    if (!s.empty() && (s[0] == '-' || s[0] == '+')) s.remove_prefix(1);
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::string decimal_comma_as_point(std::string_view text) {
    const std::string_view t = trim(text);
    const std::size_t comma = t.find(',');
    if (comma == std::string_view::npos) return {};
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t start = t[0] == '+' || t[0] == '-' ? 1 : 0;
    std::size_t end = t.size();
    if (end > start && std::string_view("NSEWnsew").find(t[end - 1]) != std::string_view::npos)
        --end;
    if (comma <= start || comma + 1 >= end) return {};
    for (std::size_t k = start; k < end; ++k)
        if (k != comma && !digit(t[k])) return {};
    std::string pointed(t);
    pointed[comma] = '.';
    return pointed;
}

bool split_coord_pair(std::string_view text, std::string_view& lat, std::string_view& lon) {
    text = trim(text);
    if (text.size() > pair_field) return false;
    auto try_split = [&](std::size_t at, std::size_t skip) {
        std::string_view a = trim(text.substr(0, at)), b = trim(text.substr(at + skip));
        if (a.empty() || b.empty() || !decodes(a, "NS") || !decodes(b, "WE")) return false;
        lat = a;
        lon = b;
        return true;
    };
    const std::size_t comma = text.find(',');
    if (comma != std::string_view::npos) {
        if (text.find(',', comma + 1) != std::string_view::npos) return false;
        // 46,5 is a decimal comma, not the pair 46 and 5.
        const bool blank_after = comma + 1 < text.size() && text[comma + 1] == ' ';
        if (!blank_after && plain_integer(text.substr(0, comma)) &&
            plain_integer(text.substr(comma + 1)))
            return false;
        return try_split(comma, 1);
    }
    // Split at a run of blanks; only one of them may give a latitude and a longitude.
    int found = 0;
    std::string_view first, second;
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] != ' ' || text[i - 1] == ' ') continue;
        if (try_split(i, 0)) {
            ++found;
            first = lat;
            second = lon;
        }
    }
    lat = first;
    lon = second;
    return found == 1;
}

// --- formatting -------------------------------------------------------------------------------

CoordText dms(float lon, int nlon) { return dms_like(lon, nlon, degree_sign, '\'', '"'); }

CoordText dms_oa(float lon, int nlon) { return dms_like(lon, nlon, ':', ':', ' '); }

CoordText dms_d(float lon, int nlon) {
    DegMin p = split(lon);
    long long ss = -1, hh = -1;
    if (p.finite()) {
        const float s = (p.x - static_cast<float>(p.mm)) * 60;
        const float whole = std::floor(s);
        const float f = s - whole;
        ss = static_cast<long long>(whole);
        // Just under a whole second rounds up, so 14.9945" reads 15.00 rather than 14.99.
        hh = f > 0.994f ? 100 : std::lround(f * 100.f);
        diag(p.x, s, ss, f, hh);
        if (hh >= 100) {
            hh -= 100;
            ++ss;
        }
        carry(p.dd, p.mm, ss);
    }
    Writer w;
    w.digits(p.dd, deg_width(nlon));
    w.put(degree_sign);
    w.digits(p.mm, 2);
    w.put('\'');
    w.digits(ss, 2);
    w.put('.');
    w.digits(hh, 2);
    w.put('"');
    w.put(dms_letter(lon, nlon));
    return w.text();
}

CoordText lat_cu(float v) { return cu_like(v, 2, false, 'N', 'S'); }
CoordText lon_cu(float v) { return cu_like(v, 3, false, 'E', 'W'); }
CoordText lat_vlro(float v) { return cu_like(v, 2, true, 'N', 'S'); }
CoordText lon_vlro(float v) { return cu_like(v, 3, true, 'E', 'W'); }

// --- interpolated conversion ------------------------------------------------------------------

int cnv_coord(int nb_wp, const std::array<int, cnv_max_points>& wpnum,
              const std::array<float, cnv_max_points>& tpx,
              const std::array<float, cnv_max_points>& tpy,
              std::array<float, cnv_max_points>& tplat, std::array<float, cnv_max_points>& tplon) {
    diag("CNV_COORD");
    const int n = std::clamp(nb_wp, 0, cnv_max_points);
    int nmax = 0;
    float dmax = 0;
    for (int i = 1; i < n; ++i) {
        if (wpnum[i] < 1) continue;
        const float dx = tpx[i] - tpx[0], dy = tpy[i] - tpy[0];
        const float d = std::sqrt(dx * dx + dy * dy);
        if (d > dmax) {
            dmax = d;
            nmax = i;
        }
    }
    diag(nmax, dmax);
    if (!(dmax > 0)) return 0;
    const float ex = tpx[nmax] - tpx[0], ey = tpy[nmax] - tpy[0];
    // Each axis is interpolated on its own: a reference level with point 0 on either axis
    // leaves nothing to scale by.
    if (ex == 0 || ey == 0) {
        for (int i = 1; i < n; ++i) {
            if (wpnum[i] < 1) return 0;
        }
    }
    for (int i = 1; i < n; ++i) {
        if (wpnum[i] >= 1) continue;
        const float dx = (tpx[i] - tpx[0]) / ex;
        const float dy = (tpy[i] - tpy[0]) / ey;
        tplon[i] = tplon[0] + dx * (tplon[nmax] - tplon[0]);
        tplat[i] = tplat[0] + dy * (tplat[nmax] - tplat[0]);
        diag(i, dx, dy, tplat[i], tplon[i]);
    }
    return 1;
}
