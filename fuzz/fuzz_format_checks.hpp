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
#include "formats/gpx.hpp"
#include "formats/task_write.hpp"
#include "formats/tsk.hpp"
#include "formats/xctsk.hpp"
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

// Each task written as .tsk, .xctsk and GPX reads back whole: its points, in order. The first
// two tasks are enough: the others go through the same code, and writing every task of a file
// of many would slow the run a hundredfold.
inline void check_task_writers(const FormatContent& c) {
    constexpr std::size_t tasks_checked = 2;
    std::vector<FormatFault> notes;
    for (std::size_t i = 0; i < c.tasks.size() && i < tasks_checked; ++i) {
        const FormatTask& t = c.tasks[i];
        const FormatContent tsk = read_tsk(write_tsk(t, int(i), notes));
        require(tsk.error.empty() && tsk.skipped.empty() && tsk.tasks.size() == 1 &&
                    tsk.tasks[0].points.size() + (t.has_takeoff ? 1 : 0) == t.points.size() &&
                    tsk.tasks[0].optional_starts.size() == t.optional_starts.size(),
                "a task written as .tsk reads back");
        const FormatContent xc = read_xctsk(write_xctsk(t, int(i), notes));
        require(xc.error.empty() && xc.skipped.empty() && xc.tasks.size() == 1 &&
                    xc.tasks[0].points.size() == t.points.size(),
                "a task written as .xctsk reads back");
        for (std::size_t k = 0; k < t.points.size(); ++k)
            require(xc.tasks[0].points[k].lat == t.points[k].lat ||
                        std::stod(xc.tasks[0].points[k].lat) == std::stod(t.points[k].lat),
                    "a point's latitude reads back");
    }
    if (c.tasks.size() > tasks_checked) return;
    const FormatContent gpx = read_gpx(write_gpx(c, notes));
    require(gpx.error.empty() && gpx.skipped.empty() && gpx.tasks.size() == c.tasks.size(),
            "tasks written as GPX read back");
    for (const FormatFault& n : notes) require(!n.what.empty(), "a note says what");
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
    check_task_writers(c);
}
