#include "app/pages/task_picture.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <numbers>
#include <utility>

#include "geo/lengths.hpp"

namespace {

// Colours (0xRRGGBB): the task strong, the other waypoints faint, what lies outside red.
constexpr std::uint32_t outline_rgb = 0x707070, waypoint_rgb = 0x8CA8D0, outside_rgb = 0xD01818,
                        leg_rgb = 0xC0008C, zone_rgb = 0x7A2FB0, name_rgb = 0x202020,
                        task_name_rgb = 0x000000, length_rgb = 0x80005C;
// Sizes in pixels on a screen of ordinary density.
constexpr float leg_width = 4, turnpoint_dot = 8, waypoint_dot = 3, many_waypoints_dot = 2,
                outside_dot = 4;
constexpr std::size_t many_points = 10000;  // beyond this the dots get smaller
// Ranks of the labels: the task's names first, then its legs' lengths, then the rest.
constexpr int task_names = 3, leg_lengths = 2, other_names = 0;
// Zones a file gives without a size: the usual ones.
constexpr double default_sector_m = 10000, default_keyhole_m = 500, default_line_m = 2000;
constexpr double fai_angle = 90;
constexpr double zone_fitted_m = 50000;  // the most of a zone's radius the view makes room for

struct Pt {
    double x = 0, y = 0;
};

// The picture's plane: north up, east to the right; landscape X grows toward the west.
Pt plane(const TaskPicturePoint& p) { return {-double(p.x), double(p.y)}; }

double direction_deg(Pt from, Pt to) {
    return std::atan2(to.y - from.y, to.x - from.x) * 180 / std::numbers::pi;
}

// The route's points in the plane; nullopt-like `ok` false for gaps and bad indices.
struct RoutePoint {
    Pt at;
    bool ok = false;
};
std::vector<RoutePoint> route_points(const TaskPicture& in) {
    std::vector<RoutePoint> r;
    for (int k : in.route) {
        const bool ok = k >= 0 && std::size_t(k) < in.points.size();
        r.push_back({ok ? plane(in.points[std::size_t(k)]) : Pt{}, ok});
    }
    return r;
}

// The direction a zone faces (degrees), from its neighbours on the route.
double facing(const std::vector<RoutePoint>& r, std::size_t k) {
    const bool prev = k > 0 && r[k - 1].ok, next = k + 1 < r.size() && r[k + 1].ok;
    const Pt p = r[k].at;
    if (prev && next) {
        const double a = direction_deg(p, r[k - 1].at) * std::numbers::pi / 180;
        const double b = direction_deg(p, r[k + 1].at) * std::numbers::pi / 180;
        const double ux = std::cos(a) + std::cos(b), uy = std::sin(a) + std::sin(b);
        if (std::hypot(ux, uy) < 1e-9)  // a straight line through: across it
            return direction_deg(r[k - 1].at, p) + 90;
        return std::atan2(-uy, -ux) * 180 / std::numbers::pi;
    }
    if (next) return direction_deg(r[k + 1].at, p);
    if (prev) return direction_deg(r[k - 1].at, p);
    return 90;
}

// The leg a line lies across: the one it starts or ends.
double across(const std::vector<RoutePoint>& r, std::size_t k) {
    const bool prev = k > 0 && r[k - 1].ok, next = k + 1 < r.size() && r[k + 1].ok;
    if (next) return direction_deg(r[k].at, r[k + 1].at) + 90;
    if (prev) return direction_deg(r[k - 1].at, r[k].at) + 90;
    return 0;
}

void add_zone(PictureItems& items, const TaskZone& z, const std::vector<RoutePoint>& r,
              std::size_t k) {
    using Zone = PictureItems::Zone;
    const Pt p = r[k].at;
    const double dir = facing(r, k);
    auto sector = [&](double radius, double angle, double inner) {
        const float half = float(angle / 2);
        items.zones.push_back({Zone::sector, float(p.x), float(p.y), float(radius), float(inner),
                               float(dir) - half, float(dir) + half, zone_rgb});
    };
    auto circle = [&](double radius) {
        items.zones.push_back(
            {Zone::circle, float(p.x), float(p.y), float(radius), 0, 0, 360, zone_rgb});
    };
    auto or_default = [](double v, double d) { return v > 0 ? v : d; };
    switch (z.kind) {
        case TaskZone::point:
            break;
        case TaskZone::cylinder:
            if (z.radius > 0) circle(z.radius);
            break;
        case TaskZone::sector:
            sector(or_default(z.radius, default_sector_m), std::clamp(z.angle, 1.0, 360.0), 0);
            break;
        case TaskZone::fai_sector:
            sector(or_default(z.radius, default_sector_m), fai_angle, 0);
            break;
        case TaskZone::keyhole:
            sector(or_default(z.radius, default_sector_m), fai_angle, 0);
            circle(or_default(z.inner_radius, default_keyhole_m));
            break;
        case TaskZone::annular_sector:
            sector(or_default(z.radius, default_sector_m), std::clamp(z.angle, 1.0, 360.0),
                   std::max(0.0, z.inner_radius));
            break;
        case TaskZone::line:
            items.zones.push_back({Zone::line, float(p.x), float(p.y),
                                   float(or_default(z.line_length, default_line_m) / 2), 0,
                                   float(across(r, k)), 0, zone_rgb});
            break;
    }
}

}  // namespace

std::vector<double> task_leg_lengths(const TaskPicture& in) {
    std::vector<double> legs;
    const std::vector<RoutePoint> r = route_points(in);
    for (std::size_t k = 1; k < r.size(); ++k) {
        // The route's points are in the plane; a length is the same there as in X/Y.
        legs.push_back(r[k - 1].ok && r[k].ok
                           ? leg_length({r[k - 1].at.x, r[k - 1].at.y}, {r[k].at.x, r[k].at.y})
                           : std::numeric_limits<double>::quiet_NaN());
    }
    return legs;
}

std::string task_length_text(double metres, const TaskPicture& in) {
    char buf[48];
    const double per = in.metres_per_unit > 0 ? in.metres_per_unit : 1;
    std::snprintf(buf, sizeof buf, "%.1f ", metres / per);
    return buf + in.unit;
}

PictureItems task_picture(const TaskPicture& in) {
    PictureItems items;
    items.units_per_scale_unit = in.metres_per_unit;
    items.scale_unit = in.unit;
    items.north = "N";
    const float w = float(in.xmax), h = float(in.ymax);
    PictureItems::Path outline{{}, outline_rgb, true, 1};
    for (auto [x, y] : {std::pair{0.0f, 0.0f}, {w, 0.0f}, {w, h}, {0.0f, h}})
        outline.xy.insert(outline.xy.end(), {-x, y});
    items.paths.push_back(std::move(outline));

    std::vector<bool> on_route(in.points.size());
    for (int k : in.route)
        if (k >= 0 && std::size_t(k) < in.points.size()) on_route[std::size_t(k)] = true;

    const bool many = in.points.size() > many_points;
    PictureItems::Dots faint{{}, waypoint_rgb, many ? many_waypoints_dot : waypoint_dot},
        outside{{}, outside_rgb, outside_dot}, turnpoints{{}, leg_rgb, turnpoint_dot},
        outside_turnpoints{{}, outside_rgb, turnpoint_dot};
    PictureItems::Labels names{{}, {}, {}, name_rgb, other_names};
    faint.xy.reserve(2 * in.points.size());
    names.xy.reserve(2 * in.points.size());
    names.ends.reserve(in.points.size());
    names.text.reserve(in.names.size());  // no doubling on the way: a million names are 8 MB
    for (std::size_t k = 0; k < in.points.size(); ++k) {
        const TaskPicturePoint& p = in.points[k];
        const Pt at = plane(p);
        auto& dots = on_route[k] ? (p.inside ? turnpoints.xy : outside_turnpoints.xy)
                                 : (p.inside ? faint.xy : outside.xy);
        dots.insert(dots.end(), {float(at.x), float(at.y)});
        if (!on_route[k] && p.name_size > 0) names.add(float(at.x), float(at.y), in.name(p));
    }

    // The task: legs between the points read, a gap where one could not be.
    const std::vector<RoutePoint> r = route_points(in);
    const std::vector<double> legs = task_leg_lengths(in);
    PictureItems::Labels task{{}, {}, {}, task_name_rgb, task_names},
        lengths{{}, {}, {}, length_rgb, leg_lengths};
    PictureItems::Path leg{{}, leg_rgb, false, leg_width};
    std::vector<PictureItems::Path> pieces;
    for (std::size_t k = 0; k < r.size(); ++k) {
        if (!r[k].ok) {
            if (!leg.xy.empty())
                pieces.push_back(std::exchange(leg, {{}, leg_rgb, false, leg_width}));
            continue;
        }
        leg.xy.insert(leg.xy.end(), {float(r[k].at.x), float(r[k].at.y)});
        const TaskPicturePoint& p = in.points[std::size_t(in.route[k])];
        bool named = false;  // a point flown twice (start and finish) is named once
        for (std::size_t j = 0; j < k; ++j) named = named || in.route[j] == in.route[k];
        if (!named) task.add(float(r[k].at.x), float(r[k].at.y), in.name(p));
        if (k < in.zones.size()) add_zone(items, in.zones[k], r, k);
        if (k > 0 && r[k - 1].ok && legs[k - 1] > 0)
            lengths.add(float((r[k - 1].at.x + r[k].at.x) / 2),
                        float((r[k - 1].at.y + r[k].at.y) / 2), task_length_text(legs[k - 1], in));
    }
    if (!leg.xy.empty()) pieces.push_back(std::move(leg));
    for (auto& piece : pieces)
        if (piece.xy.size() >= 4) items.paths.push_back(std::move(piece));

    // The view: the task with its zones, or the landscape with the points inside it; a far typo
    // is then counted at the edge rather than shrinking everything.
    float x0 = std::numeric_limits<float>::max(), y0 = x0,
          x1 = std::numeric_limits<float>::lowest(), y1 = x1;
    auto take = [&](double x, double y) {
        x0 = std::min(x0, float(x)), x1 = std::max(x1, float(x));
        y0 = std::min(y0, float(y)), y1 = std::max(y1, float(y));
    };
    if (!in.all_waypoints) {
        for (const RoutePoint& p : r)
            if (p.ok) take(p.at.x, p.at.y);
        for (const auto& z : items.zones) {  // a zone of a mistaken size is cut at the edge
            const double r = std::min(double(z.radius), zone_fitted_m);
            take(z.x - r, z.y - r);
            take(z.x + r, z.y + r);
        }
    }
    if (x0 > x1) {
        take(0, 0);
        take(-in.xmax, in.ymax);
        for (std::size_t k = 0; k < faint.xy.size(); k += 2) take(faint.xy[k], faint.xy[k + 1]);
        for (std::size_t k = 0; k < turnpoints.xy.size(); k += 2)
            take(turnpoints.xy[k], turnpoints.xy[k + 1]);
    }
    items.fit = {x0, y0, x1, y1};

    items.dots.push_back(std::move(faint));
    items.dots.push_back(
        std::move(outside));  // over the faint ones: a point outside stays in sight
    items.dots.push_back(std::move(turnpoints));
    items.dots.push_back(std::move(outside_turnpoints));
    items.labels.push_back(std::move(task));
    items.labels.push_back(std::move(lengths));
    items.labels.push_back(std::move(names));
    return items;
}
