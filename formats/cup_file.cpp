#include "formats/cup_file.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "geo/decode_coord.hpp"
#include "util/numbers.hpp"
#include "util/text.hpp"

namespace {

constexpr double metres_per_foot = 0.3048;
// A quoted field may hold line breaks; a quote still open after this many lines is taken as a
// stray one, so it cannot swallow the rest of the file.
constexpr int record_lines_max = 16;
constexpr std::string_view tasks_marker = "-----Related Tasks-----";
constexpr std::string_view no_point = "???";

bool blank(std::string_view s) { return trim(s).empty(); }

// An odd count of quotes leaves one open: "" inside a quoted field counts twice. Every record
// is looked at, so eight bytes at a time: a byte equal to '"' becomes zero under the xor, and
// the sum marks exactly the zero bytes (seven bits cannot carry into the eighth).
bool quote_open(std::string_view s) {
    constexpr std::uint64_t ones = 0x0101010101010101, low7 = 0x7F7F7F7F7F7F7F7F;
    std::uint64_t odd = 0;  // each byte's lowest bit: the parity of the quotes in its column
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t w;
        std::memcpy(&w, s.data() + i, sizeof w);
        w ^= ones * '"';
        odd ^= ~(((w & low7) + low7) | w | low7) >> 7;
    }
    for (; i < s.size(); ++i) odd ^= s[i] == '"' ? 1 : 0;
    return std::popcount(odd) % 2 != 0;
}

}  // namespace

bool is_cup_input(std::string_view name) {
    return name.size() >= 4 && case_blind_compare(name.substr(name.size() - 4), ".cup");
}

namespace {

std::size_t comma_from(std::string_view record, std::size_t i) {
    return std::min(record.find(',', i), record.size());
}

// The value of a quoted field whose text starts at `i`, just after its opening quote, into
// `value`; returns where the field ends (its comma or the record's end). `closed` turns false
// when the quote stays open.
std::size_t unquote(std::string_view record, std::size_t i, std::string& value, bool& closed) {
    value.clear();
    for (;;) {
        const std::size_t q = record.find('"', i);
        if (q == std::string_view::npos) {
            value.append(record.substr(i));
            closed = false;
            return record.size();
        }
        value.append(record.substr(i, q - i));
        i = q + 1;
        if (i >= record.size() || record[i] != '"') break;
        value += '"';  // "" inside quotes is one quote
        ++i;
    }
    // Text after the closing quote ("a" b) belongs to the field.
    const std::size_t end = comma_from(record, i);
    value.append(trim_right(record.substr(i, end - i)));
    return end;
}

}  // namespace

bool split_cup_fields(std::string_view record, std::vector<CupField>& fields,
                      std::size_t max_fields) {
    std::size_t count = 0, i = 0;
    bool closed = true;
    for (;;) {
        if (fields.size() <= count) fields.emplace_back();
        CupField& f = fields[count++];
        f.owned = false;
        while (i < record.size() && (record[i] == ' ' || record[i] == '\t')) ++i;
        f.begin = i;
        if (i < record.size() && record[i] == '"') {
            const std::size_t quote = record.find('"', i + 1);
            const std::size_t end =
                quote == std::string_view::npos ? record.size() : comma_from(record, quote + 1);
            // The usual quoted field, with no "" inside and nothing after its closing quote,
            // is a piece of the record; any other is unquoted into a text of its own.
            const bool plain = quote != std::string_view::npos &&
                               (quote + 1 == record.size() || record[quote + 1] != '"') &&
                               trim_right(record.substr(quote + 1, end - quote - 1)).empty();
            if (plain) {
                f.value = record.substr(i + 1, quote - i - 1);
                i = end;
            } else {
                i = unquote(record, i + 1, f.unquoted, closed);
                f.owned = true;
            }
            f.end = i;
        } else {
            const std::size_t end = comma_from(record, i);
            f.value = trim_right(record.substr(i, end - i));
            f.end = i + f.value.size();
            i = end;
        }
        if (i >= record.size() || count == max_fields) break;
        ++i;  // the comma
    }
    fields.resize(count);
    // Only now: a field's own text moves while the vector grows.
    for (CupField& f : fields)
        if (f.owned) f.value = f.unquoted;
    return closed;
}

bool read_cup_header(const std::vector<CupField>& fields, CupColumns& cols) {
    CupColumns found{-1, -1, -1, -1};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        std::string_view f = trim(fields[i].value);
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
    if (!read_free_number(text, v) || text.find_first_of(" ,/") != std::string_view::npos) {
        return false;
    }
    metres = float(v * factor);
    return std::isfinite(metres);  // beyond a float's range is no elevation
}

bool is_cup_tasks_line(std::string_view line) { return trim(line).starts_with(tasks_marker); }

// --- the reader
// ------------------------------------------------------------------------------------

bool CupReader::next_line(CupRecord& l) {
    if (!pending_.empty()) {
        l = std::move(pending_.back());
        pending_.pop_back();
        return true;
    }
    if (!in_.next(l.text)) return false;
    l.line = in_.line_number();
    l.open_quote = false;
    return true;
}

bool is_cup_comment(std::string_view record) { return record.starts_with('*'); }

bool CupReader::next(CupRecord& rec) {
    if (!held_.empty()) {
        rec = std::move(held_.front());
        held_.pop_front();
        return true;
    }
    if (tasks_reached_) return false;
    while (next_line(rec)) {
        if (is_cup_tasks_line(rec.text)) {
            tasks_reached_ = true;
            break;
        }
        if (blank(rec.text)) continue;
        if (is_cup_comment(rec.text)) {
            if (header_checked_) return true;
            held_.push_back(std::move(rec));  // comments before the header follow it
            continue;
        }
        if (quote_open(rec.text)) {
            // A quoted field over several lines: join them while the quote stays open.
            std::vector<CupRecord> taken;
            std::string joined = rec.text;
            bool open = true;
            CupRecord more;
            while (open && int(taken.size()) + 1 < record_lines_max && next_line(more)) {
                const bool marker = is_cup_tasks_line(more.text);
                taken.push_back(more);
                if (marker) break;
                joined += "\r\n";
                joined += more.text;
                open = quote_open(joined);
            }
            if (open) {
                rec.open_quote = true;  // a stray quote: this line alone, the others as read
                pending_.insert(pending_.end(), taken.rbegin(), taken.rend());
            } else {
                rec.text = std::move(joined);
            }
        }
        if (!header_checked_) {
            header_checked_ = true;
            if (split_cup_fields(rec.text, scratch_) && read_cup_header(scratch_, cols_)) {
                header_ = rec.text;
                return next(rec);
            }
            if (!held_.empty()) {
                held_.push_back(std::move(rec));
                return next(rec);
            }
        }
        return true;
    }
    header_checked_ = true;
    if (held_.empty()) return false;
    return next(rec);
}

const std::vector<CupRecord>& CupReader::task_section() {
    if (!section_read_ && tasks_reached_) {
        section_read_ = true;
        CupRecord l;
        while (next_line(l)) section_.push_back(l);
    }
    return section_;
}

bool parse_cup_record(std::string_view record, const CupColumns& cols,
                      std::vector<CupField>& scratch, BatchPoint& point, std::string& fault) {
    const int needed = std::max({cols.name, cols.lat, cols.lon, cols.elev});
    split_cup_fields(record, scratch, std::size_t(needed) + 1);
    if (int(scratch.size()) <= needed) {
        fault = std::to_string(scratch.size()) + " fields, " + std::to_string(needed + 1) +
                " needed for name, lat, lon and elev";
        return false;
    }
    const CupField& name = scratch[std::size_t(cols.name)];
    if (blank(name.value)) {
        fault = "the name is empty";
        return false;
    }
    float alt = 0;
    point.alt_empty = true;
    point.elevation_fault.clear();
    point.elev_begin = point.elev_end = 0;
    if (cols.elev >= 0) {
        const std::string_view elev = scratch[std::size_t(cols.elev)].value;
        // A waypoint is worth more than its elevation: kept at 0, the fault said.
        point.elevation_fault.clear();
        if (!read_cup_elevation(elev, alt)) {
            point.elevation_fault = "elev \"" + std::string(elev) + "\" is not an elevation";
            alt = 0;
        }
        point.alt_empty = blank(elev);
        // A field whose quotes had to be undone (an open one runs to the record's end) stays.
        if (!scratch[std::size_t(cols.elev)].owned) {
            point.elev_begin = scratch[std::size_t(cols.elev)].begin;
            point.elev_end = scratch[std::size_t(cols.elev)].end;
        }
    }
    const CupField& lat = scratch[std::size_t(cols.lat)];
    const CupField& lon = scratch[std::size_t(cols.lon)];
    point.name = name.value;
    point.c_lat = trim(lat.value);
    point.c_lon = trim(lon.value);
    point.alt = alt;
    point.from_cup = true;
    point.lat_begin = lat.begin;
    point.lat_end = lat.end;
    point.lon_begin = lon.begin;
    point.lon_end = lon.end;
    return true;
}

bool read_usual_cup_record(std::string_view record, const CupColumns& cols, UsualPoint& point,
                           bool& no_elevation) {
    const int needed = std::max({cols.name, cols.lat, cols.lon, cols.elev});
    if (cols.name == cols.lat || cols.name == cols.lon || cols.lat == cols.lon ||
        (cols.elev >= 0 &&
         (cols.elev == cols.name || cols.elev == cols.lat || cols.elev == cols.lon)))
        return false;  // one field in two roles: the long way
    bool lat_read = false, lon_read = false;
    no_elevation = true;
    point.alt = 0;
    std::size_t i = 0;
    for (int k = 0; k <= needed; ++k) {
        if (i > record.size()) return false;  // fewer fields than needed
        std::string_view value;
        const bool quoted = i < record.size() && record[i] == '"';
        if (quoted) {
            const std::size_t quote = record.find('"', i + 1);
            if (quote == std::string_view::npos) return false;
            value = record.substr(i + 1, quote - i - 1);
            i = quote + 1;
            if (i < record.size() && record[i] != ',') return false;  // "" or text after it
        } else {
            const std::size_t end = std::min(record.find(',', i), record.size());
            value = record.substr(i, end - i);
            i = end;
            if (!value.empty() && (value.front() == ' ' || value.front() == '\t' ||
                                   value.back() == ' ' || value.back() == '\t'))
                return false;
        }
        ++i;  // past the comma
        if (k == cols.name) {
            if (blank(value)) return false;
            point.name = value;
        } else if (k == cols.lat || k == cols.lon) {
            // Unquoted, so that the waypoint file, which writes the position without quotes,
            // keeps the record as it stands.
            const bool lat = k == cols.lat;
            int code = fmt_unknown;
            if (quoted ||
                !coord_detail::read_usual(value, lat ? point.lat : point.lon, lat ? "NS" : "WE",
                                          code) ||
                code != fmt_waypoint)
                return false;
            (lat ? lat_read : lon_read) = true;
        } else if (k == cols.elev) {
            double metres = 0;
            if (value.size() < 2 || value.back() != 'm' ||
                !read_plain_decimal(value.substr(0, value.size() - 1), metres))
                return false;
            point.alt = float(metres);
            no_elevation = false;
        }
    }
    return lat_read && lon_read;
}

// --- tasks
// ----------------------------------------------------------------------------------------

std::vector<std::size_t> task_route(const CupTask& task) {
    std::vector<std::size_t> route;
    for (std::size_t i = 0; i < task.points.size(); ++i) {
        const bool inline_point = std::any_of(task.inline_points.begin(), task.inline_points.end(),
                                              [&](const auto& p) { return p.first == i; });
        if (inline_point) {
            route.push_back(i);
            continue;
        }
        const std::string_view name = trim(task.points[i]);
        if (name.empty() || name == no_point) continue;
        // Take-off and start (finish and landing) are most often one airfield: one turnpoint.
        if (!route.empty() && trim(task.points[route.back()]) == name) continue;
        route.push_back(i);
    }
    return route;
}

std::vector<CupTask> read_cup_tasks(const std::vector<CupRecord>& section) {
    std::vector<CupTask> tasks;
    std::vector<CupField> fields;
    for (std::size_t i = 0; i < section.size(); ++i) {
        std::string_view text = trim(section[i].text);
        if (text.empty()) continue;
        const bool option = text.starts_with("Options") || text.starts_with("ObsZone=") ||
                            text.starts_with("Point=") || text.starts_with("STARTS=");
        if (option) {
            if (tasks.empty()) continue;  // options of no task
            CupTask& t = tasks.back();
            t.last = i + 1;
            if (text.starts_with("Point=")) {
                // Point=N,<a waypoint record>: the task's point N defined in place.
                const std::size_t comma = text.find(',');
                std::int32_t n = -1;
                if (comma != std::string_view::npos &&
                    read_free_int(text.substr(6, comma - 6), n) && n >= 0 &&
                    std::size_t(n) < t.points.size()) {
                    CupRecord r{std::string(text.substr(comma + 1)), section[i].line, false};
                    t.inline_points.emplace_back(std::size_t(n), std::move(r));
                }
            }
            continue;
        }
        split_cup_fields(text, fields);
        CupTask& t = tasks.emplace_back();
        t.name = fields[0].value;
        for (std::size_t k = 1; k < fields.size(); ++k) t.points.emplace_back(fields[k].value);
        while (!t.points.empty() && blank(t.points.back())) t.points.pop_back();
        t.first = i;
        t.last = i + 1;
        t.line = section[i].line;
    }
    return tasks;
}

// --- whole files in memory ------------------------------------------------------------------

bool utf16_to_utf8(std::string_view bytes, std::string& utf8) {
    const bool little = bytes.starts_with("\xFF\xFE"), big = bytes.starts_with("\xFE\xFF");
    if (!little && !big) return false;
    utf8 = "\xEF\xBB\xBF";
    utf8.reserve(bytes.size() * 3 / 2);
    auto unit = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(bytes[i]),
                   b = static_cast<unsigned char>(bytes[i + 1]);
        return little ? std::uint32_t(a | b << 8) : std::uint32_t(b | a << 8);
    };
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        std::uint32_t cp = unit(i);
        if (cp >= 0xD800 && cp < 0xDC00 && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 &&
            unit(i + 2) < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (cp >= 0xD800 && cp < 0xE000) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            utf8 += char(cp);
        } else if (cp < 0x800) {
            utf8 += char(0xC0 | cp >> 6);
            utf8 += char(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            utf8 += char(0xE0 | cp >> 12);
            utf8 += char(0x80 | (cp >> 6 & 0x3F));
            utf8 += char(0x80 | (cp & 0x3F));
        } else {
            utf8 += char(0xF0 | cp >> 18);
            utf8 += char(0x80 | (cp >> 12 & 0x3F));
            utf8 += char(0x80 | (cp >> 6 & 0x3F));
            utf8 += char(0x80 | (cp & 0x3F));
        }
    }
    return true;
}

CupContent read_cup(std::string_view bytes) {
    std::string utf8;
    if (utf16_to_utf8(bytes, utf8)) return read_cup(utf8);
    CupContent c;
    LineReader in(LineReader::Encoding::bytes);
    in.open_bytes(bytes);
    CupReader reader(in);
    CupRecord rec;
    std::vector<CupField> scratch;
    std::string fault;
    while (reader.next(rec)) {
        if (is_cup_comment(rec.text)) continue;
        BatchPoint p;
        if (parse_cup_record(rec.text, reader.columns(), scratch, p, fault)) {
            p.nump = std::int32_t(c.records.size());
            c.waypoints.push_back(std::move(p));
        } else {
            c.skipped.emplace_back(rec.line, fault);
        }
        c.records.push_back(std::move(rec));
    }
    c.columns = reader.columns();
    c.header = reader.header();
    c.bom = in.had_bom();
    c.task_section = reader.task_section();
    c.tasks = read_cup_tasks(c.task_section);
    return c;
}

std::vector<CupTask> read_cup_tasks(std::string_view section_bytes) {
    LineReader in(LineReader::Encoding::bytes);
    in.open_bytes(section_bytes);
    std::vector<CupRecord> section;
    CupRecord l;
    while (in.next(l.text)) {
        l.line = in.line_number();
        section.push_back(l);
    }
    return read_cup_tasks(section);
}

// --- output --------------------------------------------------------------------------------------

void append_cup_waypoint(std::string& out, std::string_view record, const BatchPoint& p, float lat,
                         float lon) {
    // decode_coord has rewritten a waypoint-notation variant in c_lat/c_lon as DDMM.mmmN.
    auto text = [](const auto& field, float value, bool is_lat) {
        const std::string_view v = field.view();
        const bool cup = (is_lat ? decode_lat_cu(v) : decode_lon_cu(v)) != cu_invalid;
        return cup ? std::string(v) : std::string((is_lat ? lat_cu(value) : lon_cu(value)).view());
    };
    struct Span {
        std::size_t begin, end;
        std::string text;
    };
    std::array<Span, 3> spans{Span{p.lat_begin, p.lat_end, text(p.c_lat, lat, true)},
                              Span{p.lon_begin, p.lon_end, text(p.c_lon, lon, false)},
                              Span{0, 0, {}}};
    // An elevation that cannot be read goes empty: strict readers refuse the whole file for it.
    const bool blank_elevation = !p.elevation_fault.empty() && p.elev_end > p.elev_begin &&
                                 p.elev_begin != p.lat_begin && p.elev_begin != p.lon_begin;
    const std::size_t count = blank_elevation ? 3 : 2;
    if (blank_elevation) spans[2] = Span{p.elev_begin, p.elev_end, {}};
    std::sort(spans.begin(), spans.begin() + std::ptrdiff_t(count),
              [](const Span& a, const Span& b) { return a.begin < b.begin; });
    std::size_t at = 0;
    for (std::size_t k = 0; k < count; ++k) {
        out.append(record.substr(at, spans[k].begin - at));
        out += spans[k].text;
        at = spans[k].end;
    }
    out.append(record.substr(at));
    out += "\r\n";
}
