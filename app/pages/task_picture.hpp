// The picture of a file's points and its chosen task, as pilots expect to see it: the task's
// legs thick and strong with each leg's length beside it, its points named first and their
// observation zones drawn, the other waypoints small and faint, those outside the landscape
// red. Built from values only: what the page read and the landscape's extent.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gui/picture.hpp"

// An observation zone around a task point, oriented the usual way: a turnpoint's sectors face
// away from the task, symmetric about the outer bisector of its legs; a start's away from the
// first leg, a finish's away from the last; lines across their leg.
struct TaskZone {
    enum Kind { point, cylinder, sector, fai_sector, keyhole, line, annular_sector };
    Kind kind = point;
    double radius = 0;        // metres: the cylinder, the sector, the keyhole's sector
    double inner_radius = 0;  // metres: the keyhole's cylinder, the annular sector's hole
    double angle = 90;        // degrees: the sector's whole opening (FAI and keyhole: 90)
    double line_length = 0;   // metres
};

// A point as small as it can be: a picture may hold a million.
struct TaskPicturePoint {
    float x = 0, y = 0;           // landscape X/Y, metres
    std::uint32_t name_at = 0;    // its name in TaskPicture::names
    std::uint16_t name_size = 0;
    bool inside = true;  // within the landscape
};

struct TaskPicture {
    double xmax = 0, ymax = 0;  // the landscape's extent, metres
    std::vector<TaskPicturePoint> points;
    // The points' names one after the other, UTF-8 as the file spells them; the caller keeps
    // the text while the picture is built.
    std::string_view names;
    std::string_view name(const TaskPicturePoint& p) const {
        return names.substr(p.name_at, p.name_size);
    }
    // The chosen task: indices into `points` in flying order; -1 where a point could not be
    // read (the route has a gap there). Empty: no task.
    std::vector<int> route;
    std::vector<TaskZone> zones;  // per route entry; missing ones are points
    bool all_waypoints = false;   // fit the landscape and its points rather than the task
    double metres_per_unit = 1000;
    std::string unit = "km";
};

PictureItems task_picture(const TaskPicture& in);

// The legs' lengths in the landscape's X/Y plane (metres), one per pair of consecutive route
// entries; NaN across a gap.
std::vector<double> task_leg_lengths(const TaskPicture& in);
// A length as the picture writes it: "42.3 km".
std::string task_length_text(double metres, const TaskPicture& in);
