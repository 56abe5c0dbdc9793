#include "formats/task_write.hpp"

#include <nlohmann/json.hpp>
#include <pugixml.hpp>
#include <set>
#include <sstream>

#include "formats/tsk.hpp"
#include "util/cp1252.hpp"
#include "util/text.hpp"

namespace {

bool valid_utf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80         ? 1
                              : (c >> 5) == 6  ? 2
                              : (c >> 4) == 14 ? 3
                              : (c >> 3) == 30 ? 4
                                               : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

// These formats are UTF-8: a name read from a Windows-1252 file is spelt in it.
std::string utf8(const std::string& text) { return valid_utf8(text) ? text : cp1252_to_utf8(text); }

std::string xml_text(const pugi::xml_document& doc) {
    std::ostringstream out;
    doc.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
    return out.str();
}

void set_number(pugi::xml_node node, const char* name, double v) {
    node.append_attribute(name) = number_text(v).c_str();
}

std::string tsk_time(int seconds) {
    const std::string t = time_of_day_text(seconds);
    return seconds % 60 == 0 ? t.substr(0, 5) : t;
}

void tsk_point(pugi::xml_node task_node, const FormatPoint& p, const char* type) {
    pugi::xml_node point = task_node.append_child("Point");
    point.append_attribute("type") = type;
    pugi::xml_node wp = point.append_child("Waypoint");
    wp.append_attribute("name") = utf8(p.name).c_str();
    if (!p.comment.empty()) wp.append_attribute("comment") = utf8(p.comment).c_str();
    if (!p.elevation.empty()) wp.append_attribute("altitude") = p.elevation.c_str();
    pugi::xml_node loc = wp.append_child("Location");
    loc.append_attribute("longitude") = p.lon.c_str();
    loc.append_attribute("latitude") = p.lat.c_str();
    const ObsZone& z = p.zone;
    if (z.shape == ObsZone::Shape::none) return;
    pugi::xml_node oz = point.append_child("ObservationZone");
    oz.append_attribute("type") = tsk_shape_name(z.shape);
    using S = ObsZone::Shape;
    switch (z.shape) {
        case S::line:
            set_number(oz, "length", z.length);
            break;
        case S::cylinder:
            set_number(oz, "radius", z.radius);
            break;
        case S::annular_sector:
        case S::sector:
            set_number(oz, "radius", z.radius);
            set_number(oz, "start_radial", z.start_radial);
            set_number(oz, "end_radial", z.end_radial);
            if (z.shape == S::annular_sector) set_number(oz, "inner_radius", z.inner_radius);
            break;
        case S::symmetric_quadrant:
            set_number(oz, "radius", z.radius);
            set_number(oz, "angle", z.angle);
            break;
        case S::custom_keyhole:
            set_number(oz, "radius", z.radius);
            set_number(oz, "inner_radius", z.inner_radius);
            break;
        default:
            break;
    }
}

// The start's kind and direction, the end of the speed section and further start gates: XCTrack's
// rules, which XCSoar's files have no place for.
constexpr const char* xcsoar_lost = "an XCSoar task cannot hold ";

void speed_section_lost(const FormatTask& t, int index, std::vector<FormatFault>& notes) {
    const TaskRules& r = t.rules;
    if (!r.start_kind.empty() || !r.start_direction.empty() || r.end_of_speed >= 0)
        notes.push_back({t.place,
                         std::string(xcsoar_lost) + "the speed section's kind, direction and end",
                         index});
    if (r.time_gates.size() > 1)
        notes.push_back({t.place, std::string(xcsoar_lost) + "start gates after the first", index});
}

}  // namespace

std::string write_tsk(const FormatTask& t, int index, std::vector<FormatFault>& notes) {
    pugi::xml_document doc;
    pugi::xml_node task = doc.append_child("Task");
    const TaskRules& r = t.rules;
    task.append_attribute("type") = r.type.empty() ? "RT" : r.type.c_str();
    if (r.aat_min_time >= 0) task.append_attribute("aat_min_time") = r.aat_min_time;
    if (r.start_max_height >= 0) {
        set_number(task, "start_max_height", r.start_max_height);
        task.append_attribute("start_max_height_ref") = "MSL";
    }
    if (r.start_open >= 0)
        task.append_attribute("start_open_time") = tsk_time(r.start_open).c_str();
    if (r.start_close >= 0)
        task.append_attribute("start_close_time") = tsk_time(r.start_close).c_str();
    if (r.finish_min_height >= 0) {
        set_number(task, "finish_min_height", r.finish_min_height);
        task.append_attribute("finish_min_height_ref") = "MSL";
    }
    speed_section_lost(t, index, notes);
    const bool aat = r.type == "AAT";
    for (std::size_t i = 0; i < t.points.size(); ++i) {
        if (i == 0 && t.has_takeoff) {
            notes.push_back({t.points[0].place,
                             "take-off " + t.points[0].name + " left out: an XCSoar task has none",
                             index});
            continue;
        }
        PointRole role = role_in_task(t, i);
        if (aat && role == PointRole::turn) role = PointRole::area;
        tsk_point(task, t.points[i], tsk_role_name(role));
    }
    for (const FormatPoint& p : t.optional_starts)
        tsk_point(task, p, tsk_role_name(PointRole::optional_start));
    return xml_text(doc);
}

std::string write_xctsk(const FormatTask& t, int index, std::vector<FormatFault>& notes) {
    using nlohmann::json;
    const TaskRules& r = t.rules;
    auto lost = [&](const std::string& what, const std::string& place) {
        notes.push_back(
            {place.empty() ? t.place : place, "an XCTrack task cannot hold " + what, index});
    };
    if (!r.type.empty() && r.type != "RT")
        notes.push_back({t.place, "an XCTrack task cannot hold the task type " + r.type, index});
    if (r.aat_min_time >= 0) lost("an AAT time", "");
    if (r.start_close >= 0) lost("the start's closing time", "");
    if (r.start_max_height >= 0) lost("the start's maximum height", "");
    if (r.finish_min_height >= 0) lost("the finish's minimum height", "");
    if (!t.optional_starts.empty()) lost("optional starts", "");
    json tps = json::array();
    bool goal_line = false;
    for (std::size_t i = 0; i < t.points.size(); ++i) {
        const FormatPoint& p = t.points[i];
        json tp, wp;
        wp["name"] = utf8(p.name);
        if (!p.comment.empty()) wp["description"] = utf8(p.comment);
        wp["lat"] = std::stod(p.lat);
        wp["lon"] = std::stod(p.lon);
        wp["altSmoothed"] = p.elevation.empty() ? 0 : std::stod(p.elevation);
        const bool last = i + 1 == t.points.size();
        const ObsZone& z = p.zone;
        if (z.shape == ObsZone::Shape::cylinder) {
            tp["radius"] = z.radius;
        } else if (z.shape == ObsZone::Shape::line && last) {
            tp["radius"] = z.length / 2;
            goal_line = true;
        } else if (z.shape != ObsZone::Shape::none) {
            notes.push_back({p.place,
                             std::string("zone ") + tsk_shape_name(z.shape) +
                                 " left out: an XCTrack task has cylinders only",
                             index});
        }
        if (i == 0 && t.has_takeoff)
            tp["type"] = "TAKEOFF";
        else if (role_in_task(t, i) == PointRole::start)
            tp["type"] = "SSS";
        else if (int(i) == r.end_of_speed)
            tp["type"] = "ESS";
        tp["waypoint"] = wp;
        tps.push_back(tp);
    }
    json doc;
    doc["taskType"] = "CLASSIC";
    doc["version"] = 1;
    doc["earthModel"] = "WGS84";
    doc["turnpoints"] = tps;
    json sss;
    sss["type"] = r.start_kind.empty() ? "RACE" : r.start_kind;
    sss["direction"] = r.start_direction.empty() ? "EXIT" : r.start_direction;
    json gates = json::array();
    if (r.time_gates.empty() && r.start_open >= 0)
        gates.push_back(time_of_day_text(r.start_open) + "Z");
    for (int g : r.time_gates) gates.push_back(time_of_day_text(g) + "Z");
    sss["timeGates"] = gates;
    doc["sss"] = sss;
    doc["goal"] = json{{"type", goal_line ? "LINE" : "CYLINDER"}};
    return doc.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

std::string write_gpx(const FormatContent& c, std::vector<FormatFault>& notes) {
    pugi::xml_document doc;
    pugi::xml_node decl = doc.append_child(pugi::node_declaration);
    decl.append_attribute("version") = "1.0";
    decl.append_attribute("encoding") = "UTF-8";
    pugi::xml_node gpx = doc.append_child("gpx");
    gpx.append_attribute("version") = "1.1";
    gpx.append_attribute("creator") = "Varnix";
    gpx.append_attribute("xmlns") = "http://www.topografix.com/GPX/1/1";
    auto point = [](pugi::xml_node parent, const char* kind, const FormatPoint& p) {
        pugi::xml_node n = parent.append_child(kind);
        n.append_attribute("lat") = p.lat.c_str();
        n.append_attribute("lon") = p.lon.c_str();
        if (!p.elevation.empty()) n.append_child("ele").text() = p.elevation.c_str();
        n.append_child("name").text() = utf8(p.name).c_str();
        if (!p.comment.empty()) n.append_child("desc").text() = utf8(p.comment).c_str();
    };
    std::set<std::string> written;
    for (const FormatPoint& p : c.waypoints)
        if (written.insert(p.name).second) point(gpx, "wpt", p);
    if (c.waypoints.empty())
        for (const FormatTask& t : c.tasks)
            for (const FormatPoint& p : t.points)
                if (written.insert(p.name).second) point(gpx, "wpt", p);
    for (std::size_t i = 0; i < c.tasks.size(); ++i) {
        const FormatTask& t = c.tasks[i];
        pugi::xml_node rte = gpx.append_child("rte");
        if (!t.name.empty()) rte.append_child("name").text() = utf8(t.name).c_str();
        for (const FormatPoint& p : t.points) point(rte, "rtept", p);
        bool zones = false;
        for (const FormatPoint& p : t.points) zones |= p.zone.shape != ObsZone::Shape::none;
        TaskRules rules = t.rules;
        if (rules.type == "RT") rules.type.clear();  // a route is raced
        if (zones || rules != TaskRules{} || !t.optional_starts.empty() || t.has_takeoff)
            notes.push_back({t.place,
                             "a GPX route holds the points only: the task's zones, rules, "
                             "take-off and optional starts are left out",
                             int(i)});
    }
    return xml_text(doc);
}

TaskFormat task_format_of(std::string_view name) {
    auto ends = [&](std::string_view ext) {
        return name.size() > ext.size() &&
               case_blind_compare(name.substr(name.size() - ext.size()), ext);
    };
    if (ends(".tsk")) return TaskFormat::tsk;
    if (ends(".xctsk")) return TaskFormat::xctsk;
    if (ends(".gpx")) return TaskFormat::gpx;
    return TaskFormat::none;
}
