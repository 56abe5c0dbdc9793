// A task's length where no landscape is given: its points projected in the UTM zone of its
// first point and measured with route_length, the measure the file page also shows.
#pragma once

#include <span>

struct LatLon {
    double lat = 0, lon = 0;  // degrees
};

// Metres along the legs; 0 for fewer than two points.
double task_length_m(std::span<const LatLon> points);
