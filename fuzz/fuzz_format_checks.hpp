// What the readers of task and waypoint formats must give whatever the bytes: either a reason
// and nothing else, or points whose coordinates read as positions, and a .cup file made of them
// that the .cup reader takes whole, every waypoint and task.
#pragma once

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "formats/cup_file.hpp"
#include "formats/cup_write.hpp"
#include "fuzz/fuzz_check.hpp"
#include "geo/decode_coord.hpp"

inline void check_point(const FormatPoint& p) {
    std::string again;
    require(format_degrees(p.lat, 90, again) && again == p.lat, "a latitude reads as itself");
    require(format_degrees(p.lon, 180, again) && again == p.lon, "a longitude reads as itself");
    require(format_elevation(p.elevation, again) && again == p.elevation,
            "an elevation reads as itself");
    require(!p.place.empty(), "a point has a place");
    TextField<20> lat(p.lat), lon(p.lon);
    float la = 0, lo = 0;
    int type = 0;
    decode_coord(lat, lon, la, lo, type);
    require(type != 0 && la != coord_invalid && lo != coord_invalid,
            "the conversion reads the coordinates");
}

inline void check_format_content(const FormatContent& c) {
    if (!c.error.empty()) {
        require(c.waypoints.empty() && c.tasks.empty(), "a file with an error gives nothing");
        return;
    }
    for (const FormatPoint& p : c.waypoints) check_point(p);
    for (const FormatTask& t : c.tasks)
        for (const FormatPoint& p : t.points) check_point(p);
    for (const FormatFault& f : c.skipped)
        require(!f.place.empty() && !f.what.empty() && f.task < int(c.tasks.size()),
                "a fault says where and what");

    std::vector<std::string> places;
    const std::string bytes = write_cup(c, "task", places);
    const CupContent cup = read_cup(bytes);
    require(cup.skipped.empty(), "every record written reads back");
    require(cup.tasks.size() == c.tasks.size(), "every task reads back");
    if (!c.waypoints.empty())
        require(cup.waypoints.size() == c.waypoints.size(), "every waypoint reads back");
    for (std::size_t i = 0; i < c.tasks.size(); ++i) {
        const std::size_t extra = c.tasks[i].has_takeoff ? 1 : 2;  // "???" and the landing
        require(cup.tasks[i].points.size() == c.tasks[i].points.size() + extra,
                "a task's points read back");
    }
}
