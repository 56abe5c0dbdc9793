// The task's picture built from values: legs, gaps, lengths, zones and the region it fits.
#include "app/pages/task_picture.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <deque>

namespace {

// Names the points in order, from one text that outlives the picture.
void name_points(TaskPicture& in, const std::vector<std::string>& names) {
    static std::deque<std::string> kept;
    std::string& all = kept.emplace_back();
    for (std::size_t k = 0; k < names.size(); ++k) {
        in.points[k].name_at = std::uint32_t(all.size());
        in.points[k].name_size = std::uint16_t(names[k].size());
        all += names[k];
    }
    in.names = all;
}

// A landscape of 100 km × 80 km; a 30-40-50 km right triangle inside, a typo far away.
TaskPicture triangle() {
    TaskPicture in;
    in.xmax = 100000;
    in.ymax = 80000;
    in.points = {{20000, 10000}, {50000, 10000}, {50000, 50000}, {90000, 70000},
                 {-4e6, 9e6, 0, 0, false}};
    // Łódź, Οξιά: names as the file spells them.
    name_points(in, {"\xC5\x81\xC3\xB3" "d\xC5\xBA", "B", "\xCE\x9F\xCE\xBE\xCE\xB9\xCE\xAC", "Other", "Typo"});
    in.route = {0, 1, 2, 0};
    return in;
}

TEST(TaskPicture, LegLengthsInThePlaneWithGaps) {
    struct Row {
        std::vector<int> route;
        std::vector<double> km;  // NaN: a gap
        std::vector<std::string> labels;
    };
    const double gap = std::nan("");
    const Row rows[] = {{{0, 1, 2, 0}, {30, 40, 50}, {"30.0 km", "40.0 km", "50.0 km"}},
                        {{0, -1, 2, 0}, {gap, gap, 50}, {"50.0 km"}},
                        {{0, 1, 99}, {30, gap}, {"30.0 km"}},
                        {{}, {}, {}}};
    for (const Row& r : rows) {
        TaskPicture in = triangle();
        in.route = r.route;
        const std::vector<double> legs = task_leg_lengths(in);
        ASSERT_EQ(legs.size(), r.km.size());
        for (std::size_t k = 0; k < legs.size(); ++k) {
            if (std::isnan(r.km[k]))
                EXPECT_TRUE(std::isnan(legs[k]));
            else
                EXPECT_NEAR(legs[k], r.km[k] * 1000, 1e-6);
        }
        const PictureItems items = task_picture(in);
        const auto& lengths = items.labels[1];
        ASSERT_EQ(lengths.size(), r.labels.size());
        for (std::size_t k = 0; k < r.labels.size(); ++k) EXPECT_EQ(lengths.at(k), r.labels[k]);
    }
}

TEST(TaskPicture, TheTaskFirstAndAFarTypoNeverShrinksTheView) {
    TaskPicture in = triangle();
    PictureItems items = task_picture(in);
    // East to the right: landscape X grows westward.
    EXPECT_EQ(items.fit, (std::array<float, 4>{-50000, 10000, -20000, 50000}));
    ASSERT_EQ(items.labels.size(), 3u);
    EXPECT_EQ(items.labels[0].size(), 3u);  // the start flown again as finish is named once
    EXPECT_EQ(items.labels[0].at(0),
              "\xC5\x81\xC3\xB3"
              "d\xC5\xBA");
    EXPECT_GT(items.labels[0].priority, items.labels[1].priority);
    EXPECT_GT(items.labels[1].priority, items.labels[2].priority);
    EXPECT_EQ(items.labels[2].size(), 2u);  // Other, Typo
    ASSERT_EQ(items.paths.size(), 2u);      // the landscape, the legs
    EXPECT_EQ(items.paths[1].xy.size(), 8u);
    EXPECT_GT(items.paths[1].width, items.paths[0].width);

    // A cylinder of a mistaken size widens the view by 50 km at most.
    in.zones = {{TaskZone::cylinder, 5e6}};
    items = task_picture(in);
    EXPECT_EQ(items.fit, (std::array<float, 4>{-70000, -40000, 30000, 60000}));

    in.all_waypoints = true;
    items = task_picture(in);
    EXPECT_EQ(items.fit, (std::array<float, 4>{-100000, 0, 0, 80000}));
}

// A sector faces away from the task, symmetric about its legs' outer bisector; a line lies
// across its leg; sizes as given or the usual ones.
TEST(TaskPicture, ZonesFaceAwayFromTheTask) {
    using Zone = PictureItems::Zone;
    struct Row {
        TaskZone zone;
        std::size_t at;  // route entry
        std::vector<Zone::Kind> kinds;
        float radius, from, to;  // of the first zone drawn
    };
    const Row rows[] = {
        // At B (x = -50 km in the plane) the legs go east (to A) and north (to C): outward is
        // south-west, 225 degrees.
        {{TaskZone::fai_sector, 0, 0, 0, 0}, 1, {Zone::sector}, 10000, 180, 270},
        {{TaskZone::sector, 3000, 0, 60, 0}, 1, {Zone::sector}, 3000, 195, 255},
        {{TaskZone::keyhole, 0, 0, 0, 0}, 1, {Zone::sector, Zone::circle}, 10000, 180, 270},
        {{TaskZone::annular_sector, 20000, 5000, 90, 0}, 1, {Zone::sector}, 20000, 180, 270},
        {{TaskZone::cylinder, 500, 0, 0, 0}, 2, {Zone::circle}, 500, 0, 360},
        // The start's line across the first leg, which goes west in the plane (180 degrees).
        {{TaskZone::line, 0, 0, 0, 3000}, 0, {Zone::line}, 1500, 270, 0},
        {{TaskZone::point, 0, 0, 0, 0}, 0, {}, 0, 0, 0},
    };
    for (const Row& r : rows) {
        TaskPicture in = triangle();
        in.zones.resize(r.at + 1);
        in.zones[r.at] = r.zone;
        const PictureItems items = task_picture(in);
        ASSERT_EQ(items.zones.size(), r.kinds.size()) << r.zone.kind;
        for (std::size_t k = 0; k < r.kinds.size(); ++k) EXPECT_EQ(items.zones[k].kind, r.kinds[k]);
        if (r.kinds.empty()) continue;
        const Zone& z = items.zones[0];
        EXPECT_NEAR(z.radius, r.radius, 1e-3) << r.zone.kind;
        EXPECT_NEAR(std::remainder(z.from - r.from, 360.0), 0, 1e-3) << r.zone.kind;
        if (z.kind == Zone::sector) {
            EXPECT_NEAR(std::remainder(z.to - r.to, 360.0), 0, 1e-3);
        }
        EXPECT_EQ(z.inner, r.zone.kind == TaskZone::annular_sector ? 5000 : 0);
    }
}

}  // namespace
