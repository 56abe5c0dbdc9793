#include "formats/xctsk.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <nlohmann/json.hpp>

namespace {

using nlohmann::json;

constexpr std::string_view qr_prefix = "XCTSK:";
constexpr int max_radius = 500000;  // metres

// A number or a text holding one, as the file has it; "" for anything else.
std::string value_text(const json& v) {
    if (v.is_number()) return v.dump();
    if (v.is_string()) return v.get<std::string>();
    return {};
}

// Where a broken file stops being JSON: a reading pass that keeps nothing, and says where
// without throwing.
struct FaultPlace : nlohmann::json_sax<json> {
    std::size_t byte = 0;
    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override { return true; }
    bool key(string_t&) override { return true; }
    bool end_object() override { return true; }
    bool start_array(std::size_t) override { return true; }
    bool end_array() override { return true; }
    bool parse_error(std::size_t at, const std::string&,
                     const nlohmann::detail::exception&) override {
        byte = at;
        return false;
    }
};

bool take_turnpoint(const json& tp, std::size_t index, FormatPoint& p, FormatFault& fault) {
    p.place = fault.place = "turnpoint " + std::to_string(index + 1);
    if (!tp.is_object() || !tp.contains("waypoint") || !tp["waypoint"].is_object()) {
        fault.what = "no waypoint";
        return false;
    }
    const json& wp = tp["waypoint"];
    auto field = [&](const char* name) { return wp.contains(name) ? value_text(wp[name]) : ""; };
    if (wp.contains("name") && wp["name"].is_string())
        p.name = point_name(wp["name"].get<std::string>());
    if (p.name.empty()) p.name = "Turnpoint " + std::to_string(index + 1);
    const std::string lat = field("lat"), lon = field("lon"), alt = field("altSmoothed");
    if (!format_degrees(lat, 90, p.lat)) {
        fault.what = wp.contains("lat") ? "waypoint.lat " + wp["lat"].dump() + " is not a latitude"
                                        : "waypoint without lat";
        return false;
    }
    if (!format_degrees(lon, 180, p.lon)) {
        fault.what = wp.contains("lon") ? "waypoint.lon " + wp["lon"].dump() + " is not a longitude"
                                        : "waypoint without lon";
        return false;
    }
    if (!format_elevation(alt, p.elevation)) {
        fault.what = "waypoint.altSmoothed " + wp["altSmoothed"].dump() + " is not a number";
        return false;
    }
    if (wp.contains("description") && wp["description"].is_string())
        p.comment = point_name(wp["description"].get<std::string>());
    if (tp.contains("radius") && tp["radius"].is_number()) {
        const double r = tp["radius"].get<double>();
        if (std::isfinite(r) && r > 0 && r <= max_radius) {
            p.zone.shape = ObsZone::Shape::cylinder;
            p.zone.radius = r;
        }
    }
    return true;
}

std::string text_of(const json& o, const char* key) {
    return o.is_object() && o.contains(key) && o[key].is_string() ? o[key].get<std::string>() : "";
}

// The start and goal of a version 1 task, into its rules and its points' zones.
void take_rules(const json& doc, FormatTask& task) {
    TaskRules& r = task.rules;
    r.type = "RT";
    if (doc.contains("sss") && doc["sss"].is_object()) {
        const json& sss = doc["sss"];
        r.start_kind = text_of(sss, "type");
        r.start_direction = text_of(sss, "direction");
        if (sss.contains("timeGates") && sss["timeGates"].is_array())
            for (const json& g : sss["timeGates"])
                if (g.is_string())
                    if (const int t = read_time_of_day(g.get<std::string>()); t >= 0)
                        r.time_gates.push_back(t);
        if (!r.time_gates.empty()) r.start_open = r.time_gates.front();
    }
    const std::string goal = doc.contains("goal") ? text_of(doc["goal"], "type") : "";
    if (goal == "LINE" && !task.points.empty()) {
        ObsZone& z = task.points.back().zone;
        z.length = 2 * z.radius;  // the line is the goal cylinder's diameter
        z.radius = 0;
        z.shape = ObsZone::Shape::line;
    }
}

// The compact form in QR codes: "XCTSK:" and version 2 JSON, each point's "z" the polyline of
// longitude, latitude, altitude and radius.
int polyline_int(std::string_view& s, bool& ok) {
    std::int64_t value = 0;
    int shift = 0;
    for (;;) {
        if (s.empty() || shift > 30) {
            ok = false;
            return 0;
        }
        const int c = static_cast<unsigned char>(s.front()) - 63;
        s.remove_prefix(1);
        if (c < 0 || c > 63) {
            ok = false;
            return 0;
        }
        value |= std::int64_t(c & 0x1F) << shift;
        shift += 5;
        if ((c & 0x20) == 0) break;
    }
    const std::int64_t v = (value & 1) ? ~(value >> 1) : (value >> 1);
    return int(v);
}

FormatContent read_qr(std::string_view bytes) {
    FormatContent c;
    const json doc = json::parse(bytes.begin(), bytes.end(), nullptr, false);
    if (doc.is_discarded() || !doc.is_object()) {
        c.error = "XCTSK: not JSON";
        return c;
    }
    if (!doc.contains("t") || !doc["t"].is_array()) {
        c.error = "XCTSK: no turnpoints (t)";
        return c;
    }
    if (doc.contains("version") && doc["version"] != 2) {
        c.error = "XCTSK: version " + doc["version"].dump() + " is not read: version 2 is";
        return c;
    }
    FormatTask task;
    task.rules.type = "RT";
    const json& tps = doc["t"];
    for (std::size_t i = 0; i < tps.size(); ++i) {
        const json& tp = tps[i];
        FormatPoint p;
        p.place = "turnpoint " + std::to_string(i + 1);
        const std::string z = text_of(tp, "z");
        std::string_view rest = z;
        bool ok = !z.empty();
        const int lon = polyline_int(rest, ok), lat = polyline_int(rest, ok);
        const int alt = polyline_int(rest, ok), radius = polyline_int(rest, ok);
        if (!ok || !rest.empty() || !format_degrees(degrees_text(lat / 1e5), 90, p.lat) ||
            !format_degrees(degrees_text(lon / 1e5), 180, p.lon) || alt < -1000 || alt > 9000 ||
            radius <= 0 || radius > max_radius) {
            c.skipped.push_back({p.place, "z \"" + z + "\" is not a position and radius", 0});
            continue;
        }
        p.elevation = std::to_string(alt);
        p.zone.shape = ObsZone::Shape::cylinder;
        p.zone.radius = radius;
        p.name = point_name(text_of(tp, "n"));
        if (p.name.empty()) p.name = "Turnpoint " + std::to_string(i + 1);
        p.comment = point_name(text_of(tp, "d"));
        if (tp.is_object() && tp.contains("t") && tp["t"].is_number_integer()) {
            const int type = tp["t"].get<int>();
            if (type == 2) p.role = PointRole::start;
            if (type == 3) task.rules.end_of_speed = int(task.points.size());
        }
        task.points.push_back(std::move(p));
    }
    // The launch comes before the start cylinder, as version 1 marks it TAKEOFF.
    if (task.points.size() > 1 && task.points[0].role != PointRole::start &&
        task.points[1].role == PointRole::start)
        task.has_takeoff = true;
    TaskRules& r = task.rules;
    if (doc.contains("s") && doc["s"].is_object()) {
        const json& s = doc["s"];
        if (s.contains("t") && s["t"].is_number_integer())
            r.start_kind = s["t"] == 2 ? "ELAPSED-TIME" : "RACE";
        if (s.contains("d") && s["d"].is_number_integer())
            r.start_direction = s["d"] == 1 ? "ENTER" : "EXIT";
        if (s.contains("g") && s["g"].is_array())
            for (const json& g : s["g"])
                if (g.is_string())
                    if (const int t = read_time_of_day(g.get<std::string>()); t >= 0)
                        r.time_gates.push_back(t);
        if (!r.time_gates.empty()) r.start_open = r.time_gates.front();
    }
    if (doc.contains("g") && doc["g"].is_object() && doc["g"].contains("t") && doc["g"]["t"] == 1 &&
        !task.points.empty()) {
        ObsZone& z = task.points.back().zone;
        z.length = 2 * z.radius;
        z.radius = 0;
        z.shape = ObsZone::Shape::line;
    }
    c.tasks.push_back(std::move(task));
    return c;
}

}  // namespace

FormatContent read_xctsk(std::string_view bytes) {
    std::string_view head = bytes;
    if (head.starts_with("\xEF\xBB\xBF")) head.remove_prefix(3);
    head.remove_prefix(std::min(head.size(), head.find_first_not_of(" \t\r\n")));
    if (head.starts_with(qr_prefix)) return read_qr(head.substr(qr_prefix.size()));
    FormatContent c;
    const json doc = json::parse(bytes.begin(), bytes.end(), nullptr, false);
    if (doc.is_discarded()) {
        FaultPlace fault;
        json::sax_parse(bytes.begin(), bytes.end(), &fault);
        c.error = LinePlaces(bytes).at(fault.byte > 0 ? fault.byte - 1 : 0) + ": not JSON";
        return c;
    }
    if (doc.is_object() && doc.contains("t") && !doc.contains("turnpoints")) return read_qr(bytes);
    if (!doc.is_object() || !doc.contains("turnpoints") || !doc["turnpoints"].is_array()) {
        c.error = doc.is_object() && doc.contains("version") && doc["version"] != 1
                      ? "version " + doc["version"].dump() + " is not read: version 1 files are"
                      : "no turnpoints: not a task file";
        return c;
    }
    FormatTask task;
    const json& tps = doc["turnpoints"];
    for (std::size_t i = 0; i < tps.size(); ++i) {
        FormatPoint p;
        FormatFault fault;
        if (!take_turnpoint(tps[i], i, p, fault)) {
            c.skipped.push_back({fault.place, fault.what, 0});
            continue;
        }
        const std::string type = text_of(tps[i], "type");
        if (type == "TAKEOFF" && task.points.empty()) task.has_takeoff = true;
        if (type == "SSS") p.role = PointRole::start;
        if (type == "ESS") task.rules.end_of_speed = int(task.points.size());
        task.points.push_back(std::move(p));
    }
    take_rules(doc, task);
    c.tasks.push_back(std::move(task));
    return c;
}
