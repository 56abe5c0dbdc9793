#include "formats/tsk.hpp"

#include "formats/xml_points.hpp"

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
        if (xml_point(file, location, "latitude", "longitude", std::move(name),
                      wp.attribute("altitude").value(), p, fault))
            task.points.push_back(std::move(p));
        else
            c.skipped.push_back({fault.place, fault.what, 0});
    }
    c.tasks.push_back(std::move(task));
    return c;
}
