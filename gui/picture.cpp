// A picture's view (fit, zoom, pan) and its label placement; no window needed.
#include "gui/picture.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Beyond these the float coordinates of the items no longer tell pixels apart, or the whole
// plane is a dot.
constexpr double least_ppu = 1e-9, most_ppu = 1e6;

struct Bounds {
    double x0 = std::numeric_limits<double>::max(), y0 = x0;
    double x1 = std::numeric_limits<double>::lowest(), y1 = x1;
    void take(double x, double y) {
        if (!std::isfinite(x) || !std::isfinite(y)) return;
        x0 = std::min(x0, x), x1 = std::max(x1, x);
        y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
    void take(const std::vector<float>& xy) {
        for (std::size_t k = 0; k + 1 < xy.size(); k += 2) take(xy[k], xy[k + 1]);
    }
    bool any() const { return x0 <= x1 && y0 <= y1; }
};

Bounds everything(const PictureItems& p) {
    Bounds b;
    for (const auto& path : p.paths) b.take(path.xy);
    for (const auto& dots : p.dots) b.take(dots.xy);
    for (const auto& set : p.labels) b.take(set.xy);
    for (const auto& z : p.zones) {
        b.take(z.x - z.radius, z.y - z.radius);
        b.take(z.x + z.radius, z.y + z.radius);
    }
    return b;
}

bool overlap(const Rect& a, const Rect& b) {
    return a[0] < b[2] && b[0] < a[2] && a[1] < b[3] && b[1] < a[3];
}

bool within(const Rect& inner, const Rect& outer) {
    return inner[0] >= outer[0] && inner[1] >= outer[1] && inner[2] <= outer[2] &&
           inner[3] <= outer[3];
}

// Placed boxes in cells of a grid over the area, so a test looks at the few boxes near it.
class Occupancy {
  public:
    Occupancy(const Rect& area, int cell)
        : area_(area),
          cell_(std::max(cell, 4)),
          cols_(std::max(1, (area[2] - area[0]) / cell_ + 1)),
          rows_(std::max(1, (area[3] - area[1]) / cell_ + 1)),
          cells_(std::size_t(cols_) * rows_) {}
    bool free(const Rect& r) const {
        const auto [c0, c1, r0, r1] = span(r);
        for (int row = r0; row <= r1; ++row)
            for (int col = c0; col <= c1; ++col)
                for (int k : cells_[std::size_t(row) * cols_ + col])
                    if (overlap(boxes_[std::size_t(k)], r)) return false;
        return true;
    }
    void add(const Rect& r) {
        const auto [c0, c1, r0, r1] = span(r);
        for (int row = r0; row <= r1; ++row)
            for (int col = c0; col <= c1; ++col)
                cells_[std::size_t(row) * cols_ + col].push_back(int(boxes_.size()));
        boxes_.push_back(r);
    }
    // The point lies in a placed box: a label there would find its own spot taken.
    bool covered(int x, int y) const { return !free({x - 1, y - 1, x + 1, y + 1}); }

  private:
    // The cells a rectangle touches: first and last column, first and last row.
    std::array<int, 4> span(const Rect& r) const {
        return {std::clamp((r[0] - area_[0]) / cell_, 0, cols_ - 1),
                std::clamp((r[2] - area_[0]) / cell_, 0, cols_ - 1),
                std::clamp((r[1] - area_[1]) / cell_, 0, rows_ - 1),
                std::clamp((r[3] - area_[1]) / cell_, 0, rows_ - 1)};
    }
    Rect area_;
    int cell_, cols_, rows_;
    std::vector<std::vector<int>> cells_;
    std::vector<Rect> boxes_;
};

}  // namespace

PictureView picture_fit(const PictureItems& p, const Rect& area, int margin) {
    Bounds b;
    if (p.fit[0] <= p.fit[2] && p.fit[1] <= p.fit[3]) {
        b.take(p.fit[0], p.fit[1]);
        b.take(p.fit[2], p.fit[3]);
    }
    if (!b.any()) b = everything(p);
    const double w = area[2] - area[0] - 2.0 * margin, h = area[3] - area[1] - 2.0 * margin;
    if (!b.any() || w <= 0 || h <= 0) return {};
    const double dx = b.x1 - b.x0, dy = b.y1 - b.y0;
    double ppu = 1;  // one point: any scale shows it
    if (dx > 0 || dy > 0) ppu = std::min(dx > 0 ? w / dx : most_ppu, dy > 0 ? h / dy : most_ppu);
    return {(b.x0 + b.x1) / 2, (b.y0 + b.y1) / 2, std::clamp(ppu, least_ppu, most_ppu)};
}

PictureView picture_zoom(const PictureView& v, const Rect& area, double factor, double px,
                         double py) {
    if (!(v.ppu > 0) || !(factor > 0) || !std::isfinite(factor)) return v;
    const double ppu = std::clamp(v.ppu * factor, least_ppu, most_ppu);
    const double mx = (area[0] + area[2]) / 2.0, my = (area[1] + area[3]) / 2.0;
    // The plane's point under the pointer stays there.
    const double x = v.cx + (px - mx) / v.ppu, y = v.cy + (py - my) / v.ppu;
    return {x - (px - mx) / ppu, y - (py - my) / ppu, ppu};
}

PictureView picture_pan(const PictureView& v, double dx, double dy) {
    if (!(v.ppu > 0)) return v;
    return {v.cx - dx / v.ppu, v.cy - dy / v.ppu, v.ppu};
}

std::array<double, 2> picture_pixel(const PictureView& v, const Rect& area, double x, double y) {
    return {(area[0] + area[2]) / 2.0 + (x - v.cx) * v.ppu,
            (area[1] + area[3]) / 2.0 + (y - v.cy) * v.ppu};
}

std::size_t picture_beyond(const PictureItems& p, const PictureView& v, const Rect& area) {
    if (!(v.ppu > 0)) return 0;
    const double hw = (area[2] - area[0]) / 2.0 / v.ppu, hh = (area[3] - area[1]) / 2.0 / v.ppu;
    const double x0 = v.cx - hw, x1 = v.cx + hw, y0 = v.cy - hh, y1 = v.cy + hh;
    std::size_t n = 0;
    for (const auto& dots : p.dots)
        for (std::size_t k = 0; k + 1 < dots.xy.size(); k += 2) {
            const double x = dots.xy[k], y = dots.xy[k + 1];
            n += !(x >= x0 && x <= x1 && y >= y0 && y <= y1);
        }
    return n;
}

std::vector<PlacedLabel> place_labels(const PictureItems& p, const PictureView& v, const Rect& area,
                                      const std::vector<Rect>& blocked, const TextMeasure& measure,
                                      int gap) {
    std::vector<PlacedLabel> placed;
    if (!(v.ppu > 0) || area[2] <= area[0] || area[3] <= area[1]) return placed;
    const int line = std::max(4, measure("Ag")[1] + measure("Ag")[2]);
    Occupancy taken(area, 2 * line);
    for (const Rect& r : blocked) taken.add(r);
    // Names of low rank are tried while the area may hold more of them: a few times as many
    // as fit side by side.
    const long area_px = long(area[2] - area[0]) * (area[3] - area[1]);
    long tries_left = 4 * area_px / (long(line) * line * 4) + 16;

    std::vector<int> order(p.labels.size());
    for (std::size_t s = 0; s < order.size(); ++s) order[s] = int(s);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return p.labels[a].priority > p.labels[b].priority; });
    for (int s : order) {
        const auto& set = p.labels[std::size_t(s)];
        const bool ranked = set.priority > 0;
        for (std::size_t k = 0; k < set.size(); ++k) {
            if (!ranked && tries_left <= 0) break;
            if (2 * k + 1 >= set.xy.size()) break;
            const auto [fx, fy] = picture_pixel(v, area, set.xy[2 * k], set.xy[2 * k + 1]);
            if (!(fx >= area[0] && fx <= area[2] && fy >= area[1] && fy <= area[3])) continue;
            const int px = int(std::lround(fx)), py = int(std::lround(fy));
            if (!ranked && taken.covered(px, py)) continue;  // its own spot is taken already
            if (!ranked) --tries_left;
            const std::string_view t = set.at(k);
            const auto [w, up, down] = measure(t);
            if (w <= 0) continue;
            const int h = up + down + 2;
            // Right above, right below, left above, left below, above, below; a ranked label
            // that finds none of them free looks a step further out.
            for (int step = 0; step < (ranked ? 4 : 1); ++step) {
                const int g = gap + step * line;
                const std::array<std::array<int, 2>, 6> corner = {{{px + g, py + g / 2},
                                                                   {px + g, py - g / 2 - h},
                                                                   {px - g - w - 2, py + g / 2},
                                                                   {px - g - w - 2, py - g / 2 - h},
                                                                   {px - w / 2 - 1, py + g},
                                                                   {px - w / 2 - 1, py - g - h}}};
                bool done = false;
                for (const auto& [x0, y0] : corner) {
                    const Rect box{x0, y0, x0 + w + 2, y0 + h};
                    if (!within(box, area) || !taken.free(box)) continue;
                    taken.add(box);
                    placed.push_back({box, x0 + 1, y0 + 1 + down, s, k, set.priority});
                    done = true;
                    break;
                }
                if (done) break;
            }
        }
    }
    return placed;
}
