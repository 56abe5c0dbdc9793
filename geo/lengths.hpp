// Lengths of legs and routes in a landscape's X/Y plane: what the simulator flies, so the task
// lengths the pages and -tasks show are one measure.
#pragma once

#include <cmath>
#include <span>

struct PlaneXY {
    double x = 0, y = 0;  // metres
};

inline double leg_length(PlaneXY a, PlaneXY b) { return std::hypot(b.x - a.x, b.y - a.y); }

// The sum of the legs, metres.
inline double route_length(std::span<const PlaneXY> route) {
    double sum = 0;
    for (std::size_t k = 1; k < route.size(); ++k) sum += leg_length(route[k - 1], route[k]);
    return sum;
}
