#include "formats/cup_write.hpp"

#include <map>
#include <tuple>

#include "formats/cup_rules.hpp"

namespace {

// A name's first `n` characters, not cutting a UTF-8 sequence.
std::string_view first_characters(std::string_view name, std::size_t n) {
    std::size_t i = 0;
    for (std::size_t count = 0; i < name.size() && count < n; ++count) {
        ++i;
        while (i < name.size() && (static_cast<unsigned char>(name[i]) & 0xC0) == 0x80) ++i;
    }
    return name.substr(0, i);
}

using PlaceKey = std::tuple<std::string, std::string, std::string>;  // name, lat, lon

}  // namespace

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

void append_cup_record(std::string& out, const FormatPoint& p) {
    append_csv_field(out, p.name, true);
    out += ',';
    append_csv_field(out, first_characters(p.name, 8), false);
    out += ",,";
    out += p.lat;
    out += ',';
    out += p.lon;
    out += ',';
    if (!p.elevation.empty()) out += p.elevation + "m";
    out += ",1,,,,";
    if (!p.comment.empty()) append_csv_field(out, p.comment, true);
}

std::string write_cup(const FormatContent& c, std::string_view task_name,
                      std::vector<std::string>& places, std::vector<FormatFault>* notes) {
    std::vector<FormatFault> ignored;
    std::vector<FormatFault>& lost = notes ? *notes : ignored;
    std::string out;
    places.clear();
    auto line = [&](std::string_view place) {
        out += "\r\n";
        places.emplace_back(place);
    };
    out += cup_header;
    line("");
    std::map<std::string, PlaceKey> by_name;  // the first waypoint of a name
    auto add_waypoint = [&](const FormatPoint& p) {
        if (!by_name.try_emplace(p.name, PlaceKey{p.name, p.lat, p.lon}).second) return;
        append_cup_record(out, p);
        line(p.place);
    };
    for (const FormatPoint& p : c.waypoints) {
        append_cup_record(out, p);
        line(p.place);
        by_name.try_emplace(p.name, PlaceKey{p.name, p.lat, p.lon});
    }
    if (c.waypoints.empty())
        for (const FormatTask& t : c.tasks)
            for (const FormatPoint& p : t.points) add_waypoint(p);
    // A STARTS= line names waypoints of the file.
    for (const FormatTask& t : c.tasks)
        for (const FormatPoint& p : t.optional_starts) add_waypoint(p);
    if (c.tasks.empty()) return out;
    out += "-----Related Tasks-----";
    line("");
    for (std::size_t index = 0; index < c.tasks.size(); ++index) {
        const FormatTask& t = c.tasks[index];
        append_csv_field(out, t.name.empty() ? task_name : std::string_view(t.name), true);
        std::vector<std::pair<std::size_t, const FormatPoint*>> in_place;
        if (!t.has_takeoff) out += ",\"???\"";
        for (std::size_t i = 0; i < t.points.size(); ++i) {
            const FormatPoint& p = t.points[i];
            out += ',';
            append_csv_field(out, p.name, true);
            auto it = by_name.find(p.name);
            if (it == by_name.end() || it->second != PlaceKey{p.name, p.lat, p.lon})
                in_place.emplace_back(i + (t.has_takeoff ? 0 : 1), &p);
        }
        out += ",\"???\"";
        line(t.place);
        const std::string rules = cup_rule_lines(t, int(index), lost);
        for (std::size_t at = 0; at < rules.size();) {
            const std::size_t end = rules.find("\r\n", at);
            out.append(rules, at, end - at);
            line(t.place);
            at = end + 2;
        }
        if (!t.optional_starts.empty()) {
            out += "STARTS=";
            for (std::size_t k = 0; k < t.optional_starts.size(); ++k) {
                if (k > 0) out += ',';
                append_csv_field(out, t.optional_starts[k].name, true);
            }
            line(t.place);
        }
        for (const auto& [at, p] : in_place) {
            out += "Point=" + std::to_string(at) + ",";
            append_cup_record(out, *p);
            line(p->place);
        }
    }
    return out;
}
