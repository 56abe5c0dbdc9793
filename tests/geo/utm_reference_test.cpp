// Landscape X/Y against an independent exact Transverse Mercator (GeographicLib's
// TransverseMercatorProj, or PROJ's cs2cs), on a grid of points given to both as exactly
// representable floats. Both tools work for any distance from the meridian, unlike a UTM
// converter that refuses points outside the zone's legal range.
//
// Two references: WGS84 (what the real world is) and the same ellipsoid as ours, e = 0.0818192
// (which isolates the truncation of the series). The double-precision core is compared, so that
// the float rounding of the outputs does not hide or fake an error.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "geo/UTM.hpp"
#include "geo/read_trn.hpp"
#include "host/messages.hpp"
#include "tests/common/temp_dir.hpp"

namespace {

struct Point {
    float lat, lon;
    double e = NAN, n = NAN;  // reference easting/northing, m
};

bool have(const char* tool) {
    std::string cmd = std::string("command -v ") + tool + " >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
}

constexpr double wgs84_a = 6378137.0;
constexpr double wgs84_f = 1 / 298.257223563;
// Flattening of our ellipsoid: f = 1 - sqrt(1 - e^2).
const double ours_f = 1 - std::sqrt(1 - utm_const::ee2);

// Projects every point with central meridian rlon0 and the UTM scale through the reference tool
// (easting/northing with UTM's false easting and northing); false when none ran.
bool reference(std::vector<Point>& pts, double rlon0, bool south, double a, double f,
               const TempDir& dir) {
    const std::string in = dir.file("in.txt"), out = dir.file("out.txt");
    const bool gl = have("TransverseMercatorProj");
    if (!gl && !have("cs2cs")) return false;
    {
        std::ofstream os(in);
        os.precision(9);
        for (const Point& p : pts) {
            if (gl)
                os << p.lat << ' ' << p.lon << '\n';
            else
                os << p.lon << ' ' << p.lat << '\n';
        }
    }
    std::ostringstream cmd;
    cmd.precision(17);
    if (gl) {
        cmd << "TransverseMercatorProj -t -l " << rlon0 << " -k 0.9996 -p 6 -e " << a << ' ' << f;
    } else {
        cmd << "cs2cs -f %.6f +proj=longlat +a=" << a << " +rf=" << 1 / f
            << " +to +proj=tmerc +lon_0=" << rlon0 << " +k=0.9996 +a=" << a << " +rf=" << 1 / f;
    }
    cmd << " < " << in << " > " << out << " 2>&1";
    if (std::system(cmd.str().c_str()) != 0) return false;
    std::ifstream is(out);
    std::string line;
    for (Point& p : pts) {
        if (!std::getline(is, line)) return false;
        std::istringstream ls(line);
        double x = NAN, y = NAN;
        if (!(ls >> x >> y)) return false;
        p.e = x + 500000;
        p.n = y + (south ? 10'000'000 : 0);
    }
    return true;
}

class UtmReference : public ::testing::Test {
  protected:
    void SetUp() override {
        set_log_file_name(dir.file("Logfile.txt"));
        utm_reset();
    }
    void TearDown() override {
        utm_reset();
        set_log_file_name("Logfile.txt");
    }
    // A landscape with orig_e = 500 km and orig_n = 0: X = -(E - 500 km), Y = N (+ 10 000 km).
    void setup_zone(int zone, char hemi) {
        TrnHeader h;
        h.long_ = h.larg = 1;
        h.rew = h.rns = 1;
        h.orig_e = 500000;
        h.zlon = static_cast<std::int8_t>(zone);
        h.zlat = hemi;
        // One file per zone: set-up with the same name again would keep the old state.
        const std::string path = dir.file("ref" + std::to_string(zone) + hemi + ".trn");
        ASSERT_EQ(write_trn_hdr(path, h), 1);
        float rxm = 0, rym = 0;
        ASSERT_EQ(utm_init(path, rxm, rym), 1);
    }

    TempDir dir;
};

// Latitudes 0..80 (or -80..0) every 2.5 deg, longitudes up to 9 deg either side of the
// meridian every 0.25 deg: all exact in float and in decimal.
std::vector<Point> grid(double rlon0, bool south) {
    std::vector<Point> pts;
    for (int i = 0; i <= 32; ++i) {
        const float lat = (south ? -1.f : 1.f) * 2.5f * static_cast<float>(i);
        for (int j = -36; j <= 36; ++j) {
            pts.push_back({lat, static_cast<float>(rlon0 + 0.25 * j)});
        }
    }
    return pts;
}

struct Stats {
    int points = 0;
    double fwd_max = 0;   // m
    double back_max = 0;  // deg
};

// Worst forward difference and worst round trip among points within [lo, hi) deg of the
// meridian.
Stats measure(const std::vector<Point>& pts, double rlon0, double lo, double hi) {
    Stats s;
    for (const Point& p : pts) {
        const double off = std::fabs(p.lon - rlon0);
        if (off < lo || off >= hi) continue;
        double x = 0, y = 0, lat = 0, lon = 0;
        latlontoxy_d(p.lat, p.lon, x, y);
        const double dx = x - (500000 - p.e), dy = y - p.n;
        xytolatlon_d(x, y, lat, lon);
        const double fwd = std::hypot(dx, dy);
        const double back = std::max(std::fabs(lat - p.lat), std::fabs(lon - p.lon));
        // A NaN anywhere must not slip past std::max.
        s.fwd_max = std::isfinite(fwd) ? std::max(s.fwd_max, fwd) : INFINITY;
        s.back_max = std::isfinite(back) ? std::max(s.back_max, back) : INFINITY;
        ++s.points;
        // The float interface is this result rounded once.
        float fx = 0, fy = 0;
        latlontoxy(p.lat, p.lon, fx, fy);
        EXPECT_EQ(fx, static_cast<float>(x));
        EXPECT_EQ(fy, static_cast<float>(y));
    }
    return s;
}

TEST_F(UtmReference, MatchesAnExactProjectionNearTheMeridian) {
    struct Zone {
        int zone;
        char hemi;
    };
    const Zone zones[] = {{32, 'N'}, {19, 'S'}};
    const double bands[][2] = {
        {0, 3.001}, {3.001, 4.501}, {4.501, 6.001}, {6.001, 7.501}, {7.501, 9.001}};
    bool ran = false;
    for (const Zone& z : zones) {
        setup_zone(z.zone, z.hemi);
        const double rlon0 = utm_state().utm000.rlon0;
        const bool south = z.hemi == 'S';
        std::vector<Point> wgs = grid(rlon0, south), ours = wgs;
        if (!reference(wgs, rlon0, south, wgs84_a, wgs84_f, dir) ||
            !reference(ours, rlon0, south, wgs84_a, ours_f, dir)) {
            continue;
        }
        ran = true;
        for (const auto& band : bands) {
            const Stats w = measure(wgs, rlon0, band[0], band[1]);
            const Stats o = measure(ours, rlon0, band[0], band[1]);
            std::printf(
                "zone %d%c, %.1f-%.1f deg off (%d points): WGS84 %.4f m, same ellipsoid "
                "%.4f m, round trip %.2e deg\n",
                z.zone, z.hemi, band[0], band[1], o.points, w.fwd_max, o.fwd_max, o.back_max);
            EXPECT_GT(o.points, 0);
            if (band[0] == 0) {
                EXPECT_LT(w.fwd_max, 0.006);
            }
            // Far out only the high-order terms matter: this catches a slip in them.
            EXPECT_LT(o.fwd_max, band[0] == 0 ? 0.006 : 0.01);
            EXPECT_LT(o.back_max, 1e-6);
        }
    }
    if (!ran) GTEST_SKIP() << "neither TransverseMercatorProj nor cs2cs is installed";
}

}  // namespace
