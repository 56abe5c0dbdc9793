#include "app/batch_items.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <type_traits>

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

constexpr double metres_per_foot = 0.3048;

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

bool split_csv(std::string_view line, std::vector<std::string>& fields) {
    std::size_t count = 0, i = 0;
    for (;;) {
        if (fields.size() <= count) fields.emplace_back();
        std::string& f = fields[count++];
        f.clear();
        i = skip_blanks(line, i);
        if (i < line.size() && line[i] == '"') {
            ++i;
            for (;;) {
                if (i >= line.size()) return false;
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        f += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                f += line[i++];
            }
            while (i < line.size() && line[i] != ',') f += line[i++];  // tolerate "a" b
        } else {
            std::size_t end = line.find(',', i);
            if (end == std::string_view::npos) end = line.size();
            f.assign(line.substr(i, end - i));
            i = end;
        }
        std::string_view t = trim_right(f);
        f.resize(t.size());
        if (i >= line.size()) break;
        ++i;  // the comma
    }
    fields.resize(count);
    return true;
}

bool read_cup_header(const std::vector<std::string>& fields, CupColumns& cols) {
    CupColumns found{-1, -1, -1, -1, {-1, -1, -1, -1, -1, -1, -1}};
    static constexpr std::array<std::string_view, cup_field_count> field_names = {
        "code", "country", "style", "rwdir", "rwlen", "freq", "desc"};
    static constexpr std::array<std::string_view, cup_field_count> spelled_out = {
        "code", "country", "style", "direction", "length", "frequency", "description"};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        std::string_view f = trim(fields[i]);
        // Older files spell the columns out (Title, Latitude, ...).
        auto is = [&](std::string_view a, std::string_view b) {
            return case_blind_compare(f, a) || case_blind_compare(f, b);
        };
        if (is("name", "title"))
            found.name = int(i);
        else if (is("lat", "latitude"))
            found.lat = int(i);
        else if (is("lon", "longitude"))
            found.lon = int(i);
        else if (is("elev", "elevation"))
            found.elev = int(i);
        for (std::size_t k = 0; k < field_names.size(); ++k)
            if (case_blind_compare(f, field_names[k]) || case_blind_compare(f, spelled_out[k]))
                found.fields[k] = int(i);
    }
    if (found.name < 0 || found.lat < 0 || found.lon < 0) return false;
    cols = found;
    return true;
}

bool read_cup_elevation(std::string_view text, float& metres) {
    text = trim(text);
    double factor = 1.0;
    if (text.size() >= 2 && case_blind_compare(text.substr(text.size() - 2), "ft")) {
        factor = metres_per_foot;
        text.remove_suffix(2);
    } else if (!text.empty() && (text.back() == 'm' || text.back() == 'M')) {
        text.remove_suffix(1);
    }
    text = trim(text);
    if (text.empty()) {
        metres = 0;
        return true;
    }
    double v = 0;
    if (!read_free_number(text, v) || trim(text).find_first_of(" ,/") != std::string_view::npos) {
        return false;
    }
    metres = float(v * factor);
    return true;
}

bool is_cup_tasks_line(std::string_view line) {
    return trim(line).starts_with("-----Related Tasks-----");
}

LineResult parse_cup_line(std::string_view line, const CupColumns& cols,
                          std::vector<std::string>& scratch, BatchPoint& point) {
    if (blank_line(line) || line.starts_with('*')) return LineResult::skip;
    if (!split_csv(line, scratch)) return LineResult::bad;
    int needed = std::max({cols.name, cols.lat, cols.lon, cols.elev});
    if (int(scratch.size()) <= needed) return LineResult::bad;
    float alt = 0;
    if (cols.elev >= 0 && !read_cup_elevation(scratch[std::size_t(cols.elev)], alt)) {
        return LineResult::bad;
    }
    point.name = trim(scratch[std::size_t(cols.name)]);
    point.c_lat = trim(scratch[std::size_t(cols.lat)]);
    point.c_lon = trim(scratch[std::size_t(cols.lon)]);
    point.alt = alt;
    point.from_cup = true;
    for (std::size_t k = 0; k < cup_field_count; ++k) {
        const int at = cols.fields[k];
        if (at >= 0 && std::size_t(at) < scratch.size())
            point.cup_fields[k] = trim(scratch[std::size_t(at)]);
        else
            point.cup_fields[k].clear();
    }
    return LineResult::point;
}

void append_csv_field(std::string& out, std::string_view text, bool always) {
    if (!always && text.find_first_of("\",\r\n") == std::string_view::npos) {
        out += text;
        return;
    }
    out += '"';
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

std::string cup_file_name(std::string_view outfile) {
    std::size_t name_start = outfile.find_last_of('/');
    name_start = name_start == std::string_view::npos ? 0 : name_start + 1;
    std::string_view name = outfile.substr(name_start);
    std::size_t cut = name.find(".fpl");
    if (cut == std::string_view::npos) cut = name.find_last_of('.');
    if (cut == 0) cut = std::string_view::npos;  // ".hidden" has no extension to replace
    return std::string(outfile.substr(0, name_start)) + std::string(name.substr(0, cut)) + ".cup";
}
