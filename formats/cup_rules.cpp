#include "formats/cup_rules.hpp"

#include <cmath>
#include <cstdlib>
#include <map>

#include "geo/decode_coord.hpp"
#include "util/text.hpp"

namespace {

// SeeYou's zone styles: how a sector faces.
enum Style { fixed = 0, symmetric = 1, to_next = 2, to_previous = 3 };

// The widths XCSoar knows its keyhole zones by: radius and half-angle of the sector, then of
// the cylinder behind it.
struct Pattern {
    ObsZone::Shape shape;
    double r1, a1, r2, a2;
};
constexpr Pattern patterns[] = {
    {ObsZone::Shape::keyhole, 10000, 45, 500, 180},
    {ObsZone::Shape::bga_fixed_course, 20000, 45, 500, 180},
    {ObsZone::Shape::bga_enhanced_option, 10000, 90, 500, 180},
};
constexpr double fai_sector_radius = 10000, bga_start_radius = 5000, mat_radius = 1609.344;

double wrapped(double degrees) {
    double d = std::fmod(degrees, 360.0);
    if (d < 0) d += 360;
    return d;
}

struct CupZone {
    int style = symmetric;
    double r1 = 500, r2 = -1, a1 = 0, a2 = -1, a12 = 0, max_alt = -1;
    bool line = false;
};

std::string zone_line(std::size_t index, const CupZone& z) {
    std::string s = "ObsZone=" + std::to_string(index) + ",Style=" + std::to_string(z.style) +
                    ",R1=" + number_text(z.r1) + "m,A1=" + number_text(z.a1);
    if (z.r2 >= 0) s += ",R2=" + number_text(z.r2) + "m";
    if (z.a2 >= 0) s += ",A2=" + number_text(z.a2);
    if (z.style == fixed) s += ",A12=" + number_text(z.a12);
    if (z.max_alt >= 0) s += ",MaxAlt=" + number_text(z.max_alt) + "m";
    if (z.line) s += ",Line=1";
    return s + "\r\n";
}

// A zone as SeeYou writes it; false when it has none.
bool to_cup(const ObsZone& zone, PointRole role, CupZone& z, std::string& lost) {
    using S = ObsZone::Shape;
    z.style = role == PointRole::start    ? to_next
              : role == PointRole::finish ? to_previous
                                          : symmetric;
    switch (zone.shape) {
        case S::none:
            return false;
        case S::mat_cylinder:
            lost = "MAT cylinder written as a cylinder";
            z.r1 = mat_radius;
            z.a1 = 180;
            return true;
        case S::cylinder:
            z.r1 = zone.radius;
            z.a1 = 180;
            return true;
        case S::line:
            z.r1 = zone.length / 2;
            z.a1 = 90;
            z.line = true;
            return true;
        case S::sector:
        case S::annular_sector: {
            const double width = wrapped(zone.end_radial - zone.start_radial);
            z.style = fixed;
            z.r1 = zone.radius;
            z.a1 = width / 2;
            z.a12 = wrapped(zone.start_radial + width / 2 + 180);
            if (zone.shape == S::annular_sector) {
                z.r2 = zone.inner_radius;
                z.a2 = 0;
            }
            return true;
        }
        case S::fai_sector:
            z.r1 = fai_sector_radius;
            z.a1 = 45;
            return true;
        case S::symmetric_quadrant:
            z.r1 = zone.radius;
            z.a1 = zone.angle / 2;
            return true;
        case S::custom_keyhole:
            z.r1 = zone.radius;
            z.a1 = 45;
            z.r2 = zone.inner_radius;
            z.a2 = 180;
            return true;
        case S::bga_start:
            z.r1 = bga_start_radius;
            z.a1 = 90;
            return true;
        case S::keyhole:
        case S::bga_fixed_course:
        case S::bga_enhanced_option:
            for (const Pattern& p : patterns)
                if (p.shape == zone.shape) {
                    z.r1 = p.r1;
                    z.a1 = p.a1;
                    z.r2 = p.r2;
                    z.a2 = p.a2;
                }
            return true;
    }
    return false;
}

bool near(double a, double b) { return std::fabs(a - b) < 0.5; }

ObsZone from_cup(const CupZone& z) {
    using S = ObsZone::Shape;
    ObsZone o;
    if (z.line) {
        o.shape = S::line;
        o.length = 2 * z.r1;
        return o;
    }
    if (near(z.a1, 180)) {
        o.shape = S::cylinder;
        o.radius = z.r1;
        return o;
    }
    if (z.style == fixed) {
        o.shape = z.r2 > 0 && z.a2 >= 0 && z.a2 < 1 ? S::annular_sector : S::sector;
        const double bisector = wrapped(z.a12 + 180);
        o.radius = z.r1;
        o.start_radial = wrapped(bisector - z.a1);
        o.end_radial = wrapped(bisector + z.a1);
        if (o.shape == S::annular_sector) o.inner_radius = z.r2;
        return o;
    }
    if (near(z.a2, 180)) {
        for (const Pattern& p : patterns)
            if (near(z.r1, p.r1) && near(z.a1, p.a1) && near(z.r2, p.r2)) {
                o.shape = p.shape;
                return o;
            }
        if (near(z.a1, 45)) {
            o.shape = S::custom_keyhole;
            o.radius = z.r1;
            o.inner_radius = z.r2;
            return o;
        }
    }
    if (z.style == to_next && near(z.a1, 90) && near(z.r1, bga_start_radius)) {
        o.shape = S::bga_start;
        return o;
    }
    if (near(z.a1, 45) && near(z.r1, fai_sector_radius)) {
        o.shape = S::fai_sector;
        return o;
    }
    o.shape = S::symmetric_quadrant;
    o.radius = z.r1;
    o.angle = 2 * z.a1;
    return o;
}

// A length with its unit ("500m", "5km", "1.2nm", "2ml", "1500ft"; metres without one).
bool read_length(std::string_view text, double& metres) {
    text = trim(text);
    double factor = 1;
    auto unit = [&](std::string_view u, double f) {
        if (text.size() > u.size() && case_blind_compare(text.substr(text.size() - u.size()), u)) {
            text.remove_suffix(u.size());
            factor = f;
            return true;
        }
        return false;
    };
    unit("km", 1000) || unit("nm", 1852) || unit("ml", 1609.344) || unit("ft", 0.3048) ||
        unit("m", 1);
    const std::string number(trim(text));
    char* end = nullptr;
    const double v = std::strtod(number.c_str(), &end);
    if (number.empty() || *end != '\0' || !std::isfinite(v) || std::fabs(v) > 1e7) return false;
    metres = v * factor;
    return true;
}

bool read_number(std::string_view text, double& value) {
    const std::string number(trim(text));
    char* end = nullptr;
    const double v = std::strtod(number.c_str(), &end);
    if (number.empty() || *end != '\0' || !std::isfinite(v) || std::fabs(v) > 1e7) return false;
    value = v;
    return true;
}

// "Key=value" of a comma-separated rule line, or false.
bool key_value(std::string_view field, std::string_view key, std::string_view& value) {
    field = trim(field);
    if (field.size() <= key.size() || field[key.size()] != '=' ||
        !case_blind_compare(field.substr(0, key.size()), key))
        return false;
    value = field.substr(key.size() + 1);
    return true;
}

}  // namespace

std::string cup_rule_lines(const FormatTask& task, int task_index,
                           std::vector<FormatFault>& notes) {
    const TaskRules& r = task.rules;
    auto lost = [&](const std::string& what) {
        notes.push_back({task.place, "a .cup task cannot hold " + what, task_index});
    };
    std::string options;
    if (r.type == "AAT") options += ",WpDis=False";
    if (r.aat_min_time >= 0) options += ",TaskTime=" + time_of_day_text(r.aat_min_time);
    if (r.start_open >= 0) options += ",NoStart=" + time_of_day_text(r.start_open);
    if (!r.type.empty() && r.type != "AAT" && r.type != "RT")
        notes.push_back(
            {task.place, "a .cup task cannot hold the task type " + r.type, task_index});
    if (r.start_close >= 0) lost("the start's closing time");
    if (r.time_gates.size() > 1) lost("start gates after the first");
    if (r.finish_min_height >= 0) lost("the finish's minimum height");
    if (!r.start_kind.empty() || !r.start_direction.empty() || r.end_of_speed >= 0)
        lost("the speed section's kind, direction and end");
    if (task.has_takeoff && !task.points.empty() &&
        task.points[0].zone.shape != ObsZone::Shape::none)
        lost("the take-off's zone");
    for (const FormatPoint& p : task.optional_starts)
        if (p.zone.shape != ObsZone::Shape::none) {
            lost("the zones of its optional starts");
            break;
        }
    std::string out = options.empty() ? "" : "Options" + options + "\r\n";
    const std::size_t first = task.has_takeoff ? 1 : 0;
    for (std::size_t i = first; i < task.points.size(); ++i) {
        CupZone z;
        std::string what_lost;
        const bool has = to_cup(task.points[i].zone, role_in_task(task, i), z, what_lost);
        if (i == first && r.start_max_height >= 0) z.max_alt = r.start_max_height;
        if (!what_lost.empty()) notes.push_back({task.points[i].place, what_lost, task_index});
        if (has || z.max_alt >= 0) out += zone_line(i - first, z);
    }
    return out;
}

void read_cup_rules(const CupTask& cup, const std::vector<CupRecord>& section, FormatTask& task) {
    std::vector<CupField> fields;
    TaskRules& r = task.rules;
    bool racing = true;
    for (std::size_t i = cup.first; i < cup.last && i < section.size(); ++i) {
        const std::string_view text = trim(section[i].text);
        split_cup_fields(text, fields);
        std::string_view v;
        if (text.starts_with("Options")) {
            for (std::size_t k = 1; k < fields.size(); ++k) {
                if (key_value(fields[k].value, "WpDis", v))
                    racing = !case_blind_compare(trim(v), "False");
                if (key_value(fields[k].value, "TaskTime", v)) r.aat_min_time = read_time_of_day(v);
                if (key_value(fields[k].value, "NoStart", v)) r.start_open = read_time_of_day(v);
            }
            continue;
        }
        if (!text.starts_with("ObsZone=") || fields.empty()) continue;
        // N counts from the start; a take-off before it is no task point.
        const std::size_t first = task.has_takeoff ? 1 : 0;
        double index = -1;
        if (!read_number(fields[0].value.substr(8), index) || index < 0 ||
            index + double(first) >= double(task.points.size()) || index != std::floor(index))
            continue;
        CupZone z;
        bool seen = false;
        for (std::size_t k = 1; k < fields.size(); ++k) {
            const std::string_view f = fields[k].value;
            double n = 0;
            if (key_value(f, "Style", v) && read_number(v, n))
                z.style = int(n), seen = true;
            else if (key_value(f, "R1", v))
                seen |= read_length(v, z.r1);
            else if (key_value(f, "R2", v))
                seen |= read_length(v, z.r2);
            else if (key_value(f, "A1", v))
                seen |= read_number(v, z.a1);
            else if (key_value(f, "A2", v))
                seen |= read_number(v, z.a2);
            else if (key_value(f, "A12", v))
                seen |= read_number(v, z.a12);
            else if (key_value(f, "MaxAlt", v))
                read_length(v, z.max_alt);
            else if (key_value(f, "Line", v))
                z.line = trim(v) == "1", seen = true;
        }
        const std::size_t at = std::size_t(index) + first;
        if (seen) task.points[at].zone = from_cup(z);
        if (at == first && z.max_alt >= 0) r.start_max_height = z.max_alt;
    }
    r.type = racing ? "RT" : "AAT";
    if (racing) r.aat_min_time = -1;
    // An AAT task's turnpoints are its areas.
    for (std::size_t i = 0; !racing && i < task.points.size(); ++i)
        if (role_in_task(task, i) == PointRole::turn) task.points[i].role = PointRole::area;
}

FormatContent read_cup_records(std::string_view bytes) {
    FormatContent c;
    const CupContent cup = read_cup(bytes);
    std::map<std::string, FormatPoint, std::less<>> by_name;
    std::vector<CupField> fields;
    std::vector<std::string> descs;
    auto take = [&](BatchPoint p, const CupRecord& rec, FormatPoint& out) {
        float lat = 0, lon = 0;
        int type = 0;
        decode_coord(p.c_lat, p.c_lon, lat, lon, type);
        if (type == 0 || lat == coord_invalid || lon == coord_invalid) return false;
        out.name = std::string(trim(p.name));
        out.lat = degrees_text(lat);
        out.lon = degrees_text(lon);
        out.elevation.clear();
        if (!p.alt_empty && p.elevation_fault.empty() &&
            !format_elevation(degrees_text(p.alt), out.elevation))
            out.elevation.clear();
        out.place = "line " + std::to_string(rec.line);
        split_cup_fields(rec.text, fields);
        // The description is the last of the classic columns.
        if (fields.size() >= 11 && cup.columns.name == 0)
            out.comment = std::string(fields[10].value);
        return true;
    };
    for (const BatchPoint& p : cup.waypoints) {
        FormatPoint fp;
        const CupRecord& rec = cup.records[std::size_t(p.nump)];
        if (!take(p, rec, fp)) {
            c.skipped.push_back({"line " + std::to_string(rec.line), "not a position", -1});
            continue;
        }
        by_name.try_emplace(fp.name, fp);
        c.waypoints.push_back(std::move(fp));
    }
    for (const auto& [line, fault] : cup.skipped)
        c.skipped.push_back({"line " + std::to_string(line), fault, -1});
    for (const CupTask& t : cup.tasks) {
        const int index = int(c.tasks.size());
        FormatTask task;
        task.name = t.name;
        task.place = "line " + std::to_string(t.line);
        // The take-off when it names a waypoint, then start to finish; the landing is no task
        // point.
        const std::string_view takeoff = t.points.empty() ? "" : trim(t.points[0]);
        const bool has_takeoff = !takeoff.empty() && takeoff != "???";
        task.has_takeoff = has_takeoff;
        for (std::size_t k = has_takeoff ? 0 : 1; k + 1 < t.points.size(); ++k) {
            FormatPoint p;
            bool found = false;
            for (const auto& [at, rec] : t.inline_points)
                if (at == k) {
                    BatchPoint bp;
                    std::string fault;
                    found = parse_cup_record(rec.text, cup.columns, fields, bp, fault) &&
                            take(bp, rec, p);
                }
            if (!found) {
                const auto it = by_name.find(trim(t.points[k]));
                found = it != by_name.end();
                if (found) p = it->second;
            }
            if (!found && k == 0) {
                task.has_takeoff = false;  // named, but no waypoint: no take-off
                continue;
            }
            if (!found) {
                c.skipped.push_back({task.place,
                                     "the task's waypoint " + t.points[k] + " is not in the file",
                                     index});
                continue;
            }
            task.points.push_back(std::move(p));
        }
        if (task.points.empty()) task.has_takeoff = false;  // a take-off alone is no task point
        read_cup_rules(t, cup.task_section, task);
        for (std::size_t i = t.first; i < t.last && i < cup.task_section.size(); ++i) {
            const std::string_view text = cup.task_section[i].text;
            if (!text.starts_with("STARTS=")) continue;
            split_cup_fields(text.substr(7), fields);
            for (const CupField& f : fields)
                if (const auto it = by_name.find(trim(f.value)); it != by_name.end()) {
                    FormatPoint p = it->second;
                    p.role = PointRole::optional_start;
                    task.optional_starts.push_back(std::move(p));
                }
        }
        c.tasks.push_back(std::move(task));
    }
    return c;
}
