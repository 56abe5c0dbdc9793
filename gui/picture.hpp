// A picture area's contents and its view: what the application hands over (paths, dots, zones,
// labels, in its own plane), how the plane maps to the area's pixels (fit, zoom at a point,
// pan), and where labels go so that none collides with another or with the area's furniture.
//
// How to use: fill PictureItems and give it to the form (frm_set_picture); the form fits the
// view, draws, and lets the user zoom and pan. The functions below need no window: the form's
// drawing and its tests call them alike.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

using Rect = std::array<int, 4>;  // x0, y0, x1, y1 in window pixels, y upward

// What a picture area shows, in the application's own plane: x to the right, y up, any unit.
// One scale serves both axes (north stays up, shapes stay true). Sizes in pixels are those of
// a screen of ordinary density; the form multiplies them by the screen's content scale.
struct PictureItems {
    struct Path {               // a polyline, or a polygon when closed
        std::vector<float> xy;  // x0, y0, x1, y1, ...
        std::uint32_t rgb = 0;  // 0xRRGGBB
        bool closed = false;
        float width = 1;  // pixels
    };
    struct Dots {
        std::vector<float> xy;
        std::uint32_t rgb = 0;
        float size = 3;  // pixels
    };
    // A region around a point, drawn filled lightly and outlined in the plane's units.
    struct Zone {
        enum Kind { circle, sector, line };
        Kind kind = circle;
        float x = 0, y = 0;  // centre
        float radius = 0;    // circle, sector: the outer radius; line: half its length
        float inner = 0;     // sector: the inner radius of an annular sector, 0 none
        // sector: from `from` counter-clockwise to `to`, degrees from the +x axis;
        // line: its direction is `from`
        float from = 0, to = 360;
        std::uint32_t rgb = 0;
    };
    // Texts at points (UTF-8), one set sharing a colour and a rank. A set of higher priority
    // is placed first; a label that finds no room beside its point is left out.
    struct Labels {
        std::vector<float> xy;            // each label's point: x0, y0, x1, y1, ...
        std::string text;                 // all texts one after the other
        std::vector<std::uint32_t> ends;  // where each text ends in `text`
        std::uint32_t rgb = 0;
        int priority = 0;
        void add(float x, float y, std::string_view t) {
            xy.push_back(x);
            xy.push_back(y);
            text += t;
            ends.push_back(std::uint32_t(text.size()));
        }
        std::size_t size() const { return ends.size(); }
        std::string_view at(std::size_t k) const {
            const std::size_t b = k == 0 ? 0 : ends[k - 1];
            return std::string_view(text).substr(b, ends[k] - b);
        }
    };
    std::vector<Path> paths;
    std::vector<Zone> zones;
    std::vector<Dots> dots;
    std::vector<Labels> labels;
    // The region the view fits at first and on Home (x0, y0, x1, y1), with a margin; empty
    // (x1 < x0): everything handed over. Dots outside the view are counted at the edge.
    std::array<float, 4> fit{0, 0, -1, -1};
    // A scale bar of a round length: how many units make one `scale_unit` (1000 m a "km"); 0 none.
    double units_per_scale_unit = 0;
    std::string scale_unit;
    std::string north;    // the letter of the north arrow; empty: none
    std::string caption;  // a line in the upper left corner (UTF-8); empty: none
};

// Where the plane is on the area: the plane's point (cx, cy) at the area's centre, `ppu` pixels
// per unit. ppu 0: not set (nothing to show).
struct PictureView {
    double cx = 0, cy = 0, ppu = 0;
};

// The view that fits the items' fit region (or everything) into `area` less `margin` pixels
// on each side.
PictureView picture_fit(const PictureItems& p, const Rect& area, int margin);
// The view zoomed by `factor` about the pixel (px, py), which keeps showing the same point;
// the scale stays within a range where floats still tell points apart.
PictureView picture_zoom(const PictureView& v, const Rect& area, double factor, double px,
                         double py);
// The view moved with the pointer by (dx, dy) pixels.
PictureView picture_pan(const PictureView& v, double dx, double dy);
// The pixel of a point of the plane.
std::array<double, 2> picture_pixel(const PictureView& v, const Rect& area, double x, double y);
// The dots of the items outside the area as the view shows it.
std::size_t picture_beyond(const PictureItems& p, const PictureView& v, const Rect& area);

// A placed label: its box in window pixels and where its text starts (baseline).
struct PlacedLabel {
    Rect box{};
    int x = 0, y = 0;  // text origin
    int set = 0;       // index into PictureItems::labels
    std::size_t index = 0;
    int priority = 0;
};
// Size of a text in pixels: width, height above the baseline, depth below it.
using TextMeasure = std::function<std::array<int, 3>(std::string_view)>;
// Places the items' labels beside their points, inside `area`, never over another label or a
// `blocked` rectangle: the sets by priority, each label at the first free place of a few
// around its point (`gap` pixels from it). Labels of priority 0 or less are tried only while
// room is likely, so a million names cost no more than the area can show.
std::vector<PlacedLabel> place_labels(const PictureItems& p, const PictureView& v, const Rect& area,
                                      const std::vector<Rect>& blocked, const TextMeasure& measure,
                                      int gap);
