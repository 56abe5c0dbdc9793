#include "formats/gpx.hpp"

#include "formats/xml_points.hpp"

namespace {

// A wpt or rtept; a point without a name is named after its kind and number, as GPS tools do.
void take_point(const XmlFile& file, const pugi::xml_node& node, int number, int task,
                std::vector<FormatPoint>& into, FormatContent& c) {
    std::string name = child_text(node, "name");
    if (name.empty()) name = std::string(node.name()) + " " + std::to_string(number);
    FormatPoint p;
    FormatFault fault;
    if (xml_point(file, node, "lat", "lon", std::move(name), child_text(node, "ele"), p, fault)) {
        p.comment = child_text(node, "desc");
        into.push_back(std::move(p));
    }
    else
        c.skipped.push_back({fault.place, fault.what, task});
}

}  // namespace

FormatContent read_gpx(std::string_view bytes) {
    FormatContent c;
    const XmlFile file(bytes);
    if (!file.error.empty()) {
        c.error = file.error;
        return c;
    }
    const pugi::xml_node gpx = file.doc.child("gpx");
    if (!gpx) {
        c.error = "no gpx element: not a GPX file";
        return c;
    }
    int number = 0;
    for (const pugi::xml_node& wpt : gpx.children("wpt")) take_point(file, wpt, ++number, -1, c.waypoints, c);
    int routes = 0;
    for (const pugi::xml_node& rte : gpx.children("rte")) {
        FormatTask task;
        task.name = child_text(rte, "name");
        if (task.name.empty()) task.name = "Route " + std::to_string(routes + 1);
        task.place = file.place(rte);
        int n = 0;
        for (const pugi::xml_node& pt : rte.children("rtept")) take_point(file, pt, ++n, routes, task.points, c);
        ++routes;
        c.tasks.push_back(std::move(task));
    }
    return c;
}
