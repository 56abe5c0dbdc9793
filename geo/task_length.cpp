#include "geo/task_length.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

#include "geo/UTM.hpp"
#include "geo/lengths.hpp"

double task_length_m(std::span<const LatLon> points) {
    if (points.size() < 2) return 0;
    const LatLon& first = points.front();
    const int zone = std::clamp(int(std::floor((first.lon + 180) / 6)) + 1, 1, 60);
    const Utm000 u = utm_zone(zone, first.lat < 0 ? 'S' : 'N');
    std::vector<PlaneXY> route;
    route.reserve(points.size());
    for (const LatLon& p : points) {
        PlaneXY xy;
        to_xy_d(u, p.lat, p.lon, xy.x, xy.y);
        route.push_back(xy);
    }
    return route_length(route);
}
