// A picture's view and label placement without a window, and a form laid out again for a larger
// window.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "gui/form_view.hpp"

namespace {

constexpr Rect area{10, 20, 610, 420};

// Text as a fixed-pitch font would measure it: 7 pixels a character, 10 up, 3 down.
std::array<int, 3> measure(std::string_view t) { return {int(t.size()) * 7, 10, 3}; }

bool overlap(const Rect& a, const Rect& b) {
    return a[0] < b[2] && b[0] < a[2] && a[1] < b[3] && b[1] < a[3];
}

TEST(PictureView, ZoomKeepsThePointUnderThePointerAndPanFollowsIt) {
    PictureItems p;
    p.dots.push_back({{-5000, 0, 5000, 8000}, 0, 3});
    const PictureView fit = picture_fit(p, area, 10);
    // The longer side fills the area less its margins.
    EXPECT_NEAR(fit.ppu, std::min(580.0 / 10000, 380.0 / 8000), 1e-12);
    struct Row {
        double factor, px, py;
    };
    for (const Row& r : {Row{2, 100, 100}, Row{0.5, 600, 400}, Row{1.25, 310, 220}}) {
        const double x = fit.cx + (r.px - 310) / fit.ppu, y = fit.cy + (r.py - 220) / fit.ppu;
        const PictureView z = picture_zoom(fit, area, r.factor, r.px, r.py);
        const auto [zx, zy] = picture_pixel(z, area, x, y);
        EXPECT_NEAR(zx, r.px, 1e-6) << r.factor;
        EXPECT_NEAR(zy, r.py, 1e-6) << r.factor;
        EXPECT_NEAR(z.ppu, fit.ppu * r.factor, 1e-12);
    }
    const PictureView moved = picture_pan(fit, 30, -12);
    const auto [mx, my] = picture_pixel(moved, area, 5000, 8000);
    const auto [fx, fy] = picture_pixel(fit, area, 5000, 8000);
    EXPECT_NEAR(mx - fx, 30, 1e-9);
    EXPECT_NEAR(my - fy, -12, 1e-9);
}

TEST(PictureView, AFitRegionLeavesFarPointsBeyondTheEdge) {
    PictureItems p;
    p.dots.push_back({{0, 0, 100, 100, 50, 50, 1e7, 1e7, -3e6, 0}, 0, 3});
    p.fit = {0, 0, 100, 100};
    const PictureView v = picture_fit(p, area, 10);
    EXPECT_NEAR(v.cx, 50, 1e-9);
    EXPECT_NEAR(v.ppu, 3.8, 1e-9);
    EXPECT_EQ(picture_beyond(p, v, area), 2u);
    p.fit = {0, 0, -1, -1};  // none: everything
    EXPECT_EQ(picture_beyond(p, picture_fit(p, area, 10), area), 0u);
}

// Labels never overlap each other or the furniture, stay inside, and the ranked ones all find
// room, however crowded the rest.
TEST(PictureLabels, NoneOverlapNoneLeaveTheAreaRankedOnesAllPlaced) {
    struct Row {
        const char* what;
        int others;      // unranked labels, random over the area
        int ranked;      // ranked labels on a triangle's corners and leg middles
        bool clustered;  // the ranked ones close together
    };
    const Row rows[] = {{"a task alone", 0, 6, false},
                        {"a task among 1000 names", 1000, 6, false},
                        {"a task among 100,000 names", 100000, 6, false},
                        {"a task's points a label apart", 20000, 6, true}};
    for (const Row& r : rows) {
        PictureItems p;
        p.fit = {0, 0, 1000, 1000};
        PictureItems::Labels task, names;
        task.priority = 3;
        const float spread = r.clustered ? 60 : 900;
        for (int k = 0; k < r.ranked; ++k) {
            const float a = float(k) * 6.2832f / float(r.ranked);
            task.add(500 + spread / 2 * std::cos(a), 500 + spread / 2 * std::sin(a),
                     "Turnpoint " + std::to_string(k));
        }
        std::mt19937 rng(7);
        std::uniform_real_distribution<float> u(0, 1000);
        for (int k = 0; k < r.others; ++k) names.add(u(rng), u(rng), "Name " + std::to_string(k));
        p.labels = {names, task};  // the ranked set last: rank, not order, decides
        const std::vector<Rect> furniture{{20, 30, 120, 45}, {570, 380, 600, 410}};
        const PictureView v = picture_fit(p, area, 20);
        const auto placed = place_labels(p, v, area, furniture, measure, 4);
        int ranked = 0;
        for (std::size_t a = 0; a < placed.size(); ++a) {
            const Rect& b = placed[a].box;
            EXPECT_TRUE(b[0] >= area[0] && b[1] >= area[1] && b[2] <= area[2] && b[3] <= area[3])
                << r.what;
            for (const Rect& f : furniture) EXPECT_FALSE(overlap(b, f)) << r.what;
            for (std::size_t c = a + 1; c < placed.size(); ++c)
                ASSERT_FALSE(overlap(b, placed[c].box)) << r.what << " " << a << " " << c;
            ranked += placed[a].priority > 0;
        }
        EXPECT_EQ(ranked, r.ranked) << r.what;
        if (r.others > 1000) {
            EXPECT_GT(placed.size(), 100u) << r.what;
        }
    }
}

TEST(PictureLabels, UnicodeTextsComeBackWhole) {
    PictureItems::Labels set;
    for (const char* t : {"\xC5\x81\xC3\xB3"
                          "d\xC5\xBA",
                          "", "\xCE\x9F\xCE\xBE\xCE\xB9\xCE\xAC"})
        set.add(0, 0, t);
    EXPECT_EQ(set.at(0),
              "\xC5\x81\xC3\xB3"
              "d\xC5\xBA");
    EXPECT_EQ(set.at(1), "");
    EXPECT_EQ(set.at(2), "\xCE\x9F\xCE\xBE\xCE\xB9\xCE\xAC");
}

// A window made larger: the growing picture takes the room, what is above it moves up, what
// is right of it moves right, a centred button follows the width; smaller than the form's own
// size lays it out at its own.
TEST(FormFit, TheGrowingPictureTakesTheExtraRoom) {
    reset_form_view();
    auto& v = form_view();
    add_pict(1, 0, {10, 50, 300, 250}, true);
    add_butt(2, 0, "Left", 10, 10, 60, 0);
    add_butt(2, 1, "Centre", -10500, 10, 60, 0);  // "C50%": centred on the window's middle
    add_subt(2, 0, "Title", 10, 270);
    add_subt(2, 1, "Right", 310, 100);
    std::array<Rect, max_sepa> sepa{};
    sepa[0] = {10, 40, 300, 40};
    add_sepa(1, sepa);
    v.font_size = 12;
    v.BoxH = 20;
    form_setup();
    const int w = v.windowInfo.width, h = v.windowInfo.height;
    struct Row {
        int width, height, dx, dy;
    };
    for (const Row& r :
         {Row{w + 100, h + 60, 100, 60}, Row{w, h, 0, 0}, Row{w - 50, h - 9, 0, 0}}) {
        form_fit(r.width, r.height);
        EXPECT_EQ(v.pict_pos[0], (Rect{10, 50, 300 + r.dx, 250 + r.dy}));
        EXPECT_EQ(v.butt_pos[0][0], 10);
        EXPECT_EQ(v.butt_pos[0][1], 10);
        EXPECT_EQ(v.subt_pos[0][1], 270 + r.dy);
        EXPECT_EQ(v.subt_pos[1][0], 310 + r.dx);
        EXPECT_EQ(v.subt_pos[1][1], 100);
        EXPECT_EQ(v.sepa_pos[0], (Rect{10, 40, 300 + r.dx, 40}));
        EXPECT_EQ(v.butt_pos[1][0], std::max(r.width, w) / 2 - 30);
    }
    EXPECT_EQ(picture_at(20, 60), 0);
    EXPECT_EQ(picture_at(5, 60), -1);
}

}  // namespace
