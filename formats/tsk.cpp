#include "formats/tsk.hpp"

#include <cmath>
#include <cstdlib>

#include "formats/xml_points.hpp"

namespace {

struct ShapeName {
    ObsZone::Shape shape;
    const char* name;
};
// XCSoar's names of its zones; an annular sector is a Sector with an inner radius.
constexpr ShapeName shape_names[] = {
    {ObsZone::Shape::cylinder, "Cylinder"},
    {ObsZone::Shape::line, "Line"},
    {ObsZone::Shape::sector, "Sector"},
    {ObsZone::Shape::annular_sector, "Sector"},
    {ObsZone::Shape::fai_sector, "FAISector"},
    {ObsZone::Shape::symmetric_quadrant, "SymmetricQuadrant"},
    {ObsZone::Shape::keyhole, "Keyhole"},
    {ObsZone::Shape::custom_keyhole, "CustomKeyhole"},
    {ObsZone::Shape::bga_start, "BGAStartSector"},
    {ObsZone::Shape::bga_fixed_course, "BGAFixedCourse"},
    {ObsZone::Shape::bga_enhanced_option, "BGAEnhancedOption"},
    {ObsZone::Shape::mat_cylinder, "MatCylinder"},
};

struct RoleName {
    PointRole role;
    const char* name;
};
constexpr RoleName role_names[] = {
    {PointRole::start, "Start"},
    {PointRole::turn, "Turn"},
    {PointRole::area, "Area"},
    {PointRole::finish, "Finish"},
    {PointRole::optional_start, "OptionalStart"},
};

// A number attribute; false (value left alone) when it is absent, and `bad` when it is there
// but no finite number.
bool number_attribute(const pugi::xml_node& node, const char* name, double& value, bool& bad) {
    const pugi::xml_attribute a = node.attribute(name);
    if (!a) return false;
    char* end = nullptr;
    const double v = std::strtod(a.value(), &end);
    if (end == a.value() || *end != '\0' || !std::isfinite(v) || std::fabs(v) > 1e7) {
        bad = true;
        return false;
    }
    value = v;
    return true;
}

// The zone of a Point's ObservationZone, or a note when its type is unknown.
ObsZone read_zone(const XmlFile& file, const pugi::xml_node& oz, std::vector<FormatFault>& notes,
                  int task) {
    ObsZone z;
    if (!oz) return z;
    const std::string type = oz.attribute("type").value();
    bool known = false;
    for (const ShapeName& s : shape_names)
        if (type == s.name) {
            z.shape = s.shape;
            known = true;
            break;
        }
    bool bad = false;
    number_attribute(oz, "radius", z.radius, bad);
    number_attribute(oz, "length", z.length, bad);
    number_attribute(oz, "start_radial", z.start_radial, bad);
    number_attribute(oz, "end_radial", z.end_radial, bad);
    number_attribute(oz, "angle", z.angle, bad);
    if (number_attribute(oz, "inner_radius", z.inner_radius, bad) &&
        z.shape == ObsZone::Shape::sector)
        z.shape = ObsZone::Shape::annular_sector;
    if (!known || bad) {
        notes.push_back({file.place(oz),
                         "observation zone \"" + type + "\" is not read: the default zone is used",
                         task});
        z = ObsZone{};
    }
    return z;
}

}  // namespace

const char* tsk_shape_name(ObsZone::Shape shape) {
    for (const ShapeName& s : shape_names)
        if (s.shape == shape) return s.name;
    return "";
}

const char* tsk_role_name(PointRole role) {
    for (const RoleName& r : role_names)
        if (r.role == role) return r.name;
    return "Turn";
}

FormatContent read_tsk(std::string_view bytes) {
    FormatContent c;
    const XmlFile file(bytes);
    if (!file.error.empty()) {
        c.error = file.error;
        return c;
    }
    const pugi::xml_node task_node = file.doc.child("Task");
    if (!task_node) {
        c.error = "no Task element: not a task file";
        return c;
    }
    FormatTask task;
    task.place = file.place(task_node);
    TaskRules& r = task.rules;
    r.type = task_node.attribute("type").value();
    bool bad = false;
    double v = 0;
    if (number_attribute(task_node, "aat_min_time", v, bad) && v > 0) r.aat_min_time = int(v);
    if (number_attribute(task_node, "start_max_height", v, bad) && v > 0) r.start_max_height = v;
    if (number_attribute(task_node, "finish_min_height", v, bad) && v > 0) r.finish_min_height = v;
    r.start_open = read_time_of_day(task_node.attribute("start_open_time").value());
    r.start_close = read_time_of_day(task_node.attribute("start_close_time").value());
    for (const pugi::xml_node& point : task_node.children("Point")) {
        const pugi::xml_node wp = point.child("Waypoint");
        FormatPoint p;
        FormatFault fault;
        std::string name = point_name(wp.attribute("name").value());
        if (name.empty()) name = "Point " + std::to_string(task.points.size() + 1);
        const pugi::xml_node location = wp.child("Location");
        if (!wp || !location) {
            c.skipped.push_back({file.place(point),
                                 wp ? "Waypoint without Location" : "Point without Waypoint", 0});
            continue;
        }
        if (!xml_point(file, location, "latitude", "longitude", std::move(name),
                       wp.attribute("altitude").value(), p, fault)) {
            c.skipped.push_back({fault.place, fault.what, 0});
            continue;
        }
        p.comment = point_name(wp.attribute("comment").value());
        const std::string type = point.attribute("type").value();
        for (const RoleName& role : role_names)
            if (type == role.name) p.role = role.role;
        p.zone = read_zone(file, point.child("ObservationZone"), c.notes, 0);
        if (p.role == PointRole::optional_start)
            task.optional_starts.push_back(std::move(p));
        else
            task.points.push_back(std::move(p));
    }
    if (!task.optional_starts.empty()) {
        std::string names;
        for (const FormatPoint& p : task.optional_starts)
            names += (names.empty() ? "" : ", ") + p.name;
        c.notes.push_back({task.place, "optional starts kept aside, not flown: " + names, 0});
    }
    c.tasks.push_back(std::move(task));
    return c;
}
