#include "formats/batch_items.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <type_traits>

#include "host/files.hpp"
#include "util/numbers.hpp"
#include "util/text.hpp"

namespace {

// Character classes of the item reader, looked up once per byte.
enum : unsigned char { plain = 0, separator = 1, slash = 2 };
constexpr auto item_classes = [] {
    std::array<unsigned char, 256> t{};
    t[' '] = t[','] = t['\t'] = separator;
    t['/'] = slash;
    return t;
}();

bool ends_item(char c) { return item_classes[static_cast<unsigned char>(c)] != plain; }
bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::size_t skip_blanks(std::string_view s, std::size_t i) {
    while (i < s.size() && is_blank(s[i])) ++i;
    return i;
}

bool blank_line(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return is_blank(c); });
}

}  // namespace

namespace {

// split_items' result for a line whose items cannot all be pieces of it (a doubled quote).
constexpr int needs_copy = -2;

// The one item reader: items copied into strings, or, while no doubled quote has to be undone,
// as pieces of the line itself. item_at(k) gives the k-th item to fill.
template <class ItemAt>
int split_items_with(std::string_view line, std::size_t max, ItemAt item_at) {
    std::size_t count = 0;
    std::size_t i = skip_blanks(line, 0);
    while (count < max && i < line.size() && line[i] != '/') {
        if (line[i] == ',') return -1;  // an empty item
        auto& item = item_at(count);
        constexpr bool copied = std::is_same_v<std::remove_cvref_t<decltype(item)>, std::string>;
        char c = line[i];
        if (c == '\'' || c == '"') {
            ++i;
            item = std::string_view();
            for (;;) {
                std::size_t q = line.find(c, i);
                if (q == std::string_view::npos) return -1;  // unclosed quote
                if constexpr (copied)
                    item.append(line.substr(i, q - i));
                else
                    item = line.substr(i, q - i);
                i = q + 1;
                if (i < line.size() && line[i] == c) {  // a doubled quote is one quote
                    if constexpr (copied) {
                        item += c;
                        ++i;
                        continue;
                    } else {
                        return needs_copy;
                    }
                }
                break;
            }
            if (i < line.size() && !ends_item(line[i])) return -1;
        } else {
            std::size_t end = i;
            while (end < line.size() && !ends_item(line[end])) ++end;
            item = line.substr(i, end - i);
            i = end;
        }
        ++count;
        // One separator: blanks, or a comma with blanks around it.
        i = skip_blanks(line, i);
        if (i < line.size() && line[i] == ',') i = skip_blanks(line, i + 1);
    }
    return int(count);
}

}  // namespace

int split_items(std::string_view line, std::vector<std::string>& items, std::size_t max) {
    return split_items_with(line, max, [&](std::size_t k) -> std::string& {
        if (items.size() <= k) items.emplace_back();
        return items[k];
    });
}

LineResult parse_batch_line(std::string_view line, std::vector<std::string>& scratch,
                            BatchPoint& point) {
    if (blank_line(line)) return LineResult::skip;
    if (line.find("Landscape") != std::string_view::npos) {
        return trim(line).starts_with("Landscape") ? LineResult::skip
                                                   : LineResult::landscape_skipped;
    }
    // Pieces of the line, copied only when a quote inside an item has to be undone.
    std::array<std::string_view, 6> items;
    int count = split_items_with(line, items.size(),
                                 [&](std::size_t k) -> std::string_view& { return items[k]; });
    if (count == needs_copy) {
        count = split_items(line, scratch, items.size());
        std::copy_n(scratch.begin(), std::max(count, 0), items.begin());
    }
    if (count == 6) return LineResult::too_many_items;
    if (count != 5) return LineResult::bad;
    if (!read_free_int(items[0], point.nump) || !read_free_number(items[4], point.alt)) {
        return LineResult::bad;
    }
    point.name = trim_right(items[1]);
    point.c_lat = items[2];
    point.c_lon = items[3];
    return LineResult::point;
}

bool read_usual_batch_line(std::string_view line, UsualPoint& point) {
    const char* p = line.data();
    const char* const end = p + line.size();
    auto blanks = [&] {
        while (p < end && is_blank(*p)) ++p;
    };
    // After an item: blanks, or a comma with blanks around it.
    auto separator = [&] {
        blanks();
        if (p < end && *p == ',') {
            ++p;
            blanks();
        }
    };
    auto item_ended = [&] { return p == end || ends_item(*p); };
    // A number item: a plain decimal up to its separator, read as it is scanned.
    auto number = [&](double& v) {
        p = read_plain_decimal_prefix(p, end, v);
        return p != nullptr && item_ended();
    };
    auto ends_in_digit = [&] { return unsigned(p[-1] - '0') < 10; };

    blanks();
    std::int32_t nump = 0;
    const char* const first = p;
    // Up to nine digits are added up: a longer number is for the long way, and would overflow.
    for (; p < end && unsigned(*p - '0') < 10; ++p)
        if (p - first < 9) nump = nump * 10 + (*p - '0');
    if (p == first || p - first > 9 || !item_ended()) return false;
    separator();
    // The name: a quote, an empty item or a comment where it starts is for the long way.
    if (p == end || *p == '"' || *p == '\'' || ends_item(*p)) return false;
    const char* const name = p;
    while (!item_ended()) ++p;
    point.name = std::string_view(name, std::size_t(p - name));
    // The number and the coordinates hold only digits, signs and points: a "Landscape" can
    // only be in the name.
    if (point.name.find("Landscape") != std::string_view::npos) return false;
    separator();
    // Coordinates as the recogniser reads a field that ends in a digit.
    double lat = 0, lon = 0, alt = 0;
    if (!number(lat) || !ends_in_digit()) return false;
    separator();
    if (!number(lon) || !ends_in_digit()) return false;
    separator();
    if (!number(alt)) return false;
    separator();
    if (p != end) return false;  // a sixth item or a comment: the long way
    point.lat = float(lat);
    point.lon = float(lon);
    if (!(std::fabs(point.lat) <= 90.f) || !(std::fabs(point.lon) <= 180.f)) return false;
    point.nump = nump;
    point.alt = float(alt);
    return true;
}

std::string cup_file_name(std::string_view outfile) {
    const std::size_t name_start = path_name_start(outfile);
    std::string_view name = outfile.substr(name_start);
    std::size_t cut = name.find(".fpl");
    if (cut == std::string_view::npos) cut = name.find_last_of('.');
    if (cut == 0) cut = std::string_view::npos;  // ".hidden" has no extension to replace
    return std::string(outfile.substr(0, name_start)) + std::string(name.substr(0, cut)) + ".cup";
}
