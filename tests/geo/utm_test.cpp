#include "geo/UTM.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <string>

#include "geo/read_trn.hpp"
#include "host/messages.hpp"
#include "tests/common/temp_dir.hpp"

namespace {

using namespace utm_const;

// Each series coefficient is written once as the simulator rounds it; it must still follow
// from e by its rule, or a digit was mistyped.
TEST(UtmConstants, FollowFromTheEccentricity) {
    const double s = std::sqrt(1 - ee2);
    const double e1_rule = (1 - s) / (1 + s);
    struct Case {
        const char* name;
        double value, rule;
    };
    const Case cases[] = {
        {"ee2", ee2, 0.00669438148864},
        {"eee", eee, ee2 / (1 - ee2)},
        {"m0", m0, 1 - ee2 / 4 - 3 * ee4 / 64 - 5 * ee6 / 256},
        {"m2", m2, 3 * ee2 / 8 + 3 * ee4 / 32 + 45 * ee6 / 1024},
        {"m4", m4, 15 * ee4 / 256 + 45 * ee6 / 1024},
        {"m6", m6, 35 * ee6 / 3072},
        {"rect_radius", rect_radius, re * m0},
        {"re_1_ee2", re_1_ee2, re * (1 - ee2)},
        {"e1", e1, e1_rule},
        {"fp2", fp2, 3 * e1 / 2 - 27 * std::pow(e1, 3) / 32},
        {"fp4", fp4, 21 * e1 * e1 / 16 - 55 * std::pow(e1, 4) / 32},
        {"fp6", fp6, 151 * std::pow(e1, 3) / 96},
        {"fp8", fp8, 1097 * std::pow(e1, 4) / 512},
        {"eee58", eee58, 58 * eee},
        {"eee330", eee330, 330 * eee},
        {"eee8", eee8, 8 * eee},
        {"raddeg", raddeg, 180 / M_PI},
        {"degrad", degrad, M_PI / 180},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(c.value, c.rule, std::fabs(c.rule) * 1e-12) << c.name;
    }
}

class Utm : public ::testing::Test {
  protected:
    // Each test is a run of its own: what an earlier one logged is not "logged already" (one
    // process runs them all under Wine).
    void SetUp() override {
        utm_reset();
        reset_messages();
        set_log_file_name(dir.file("Logfile.txt"));
    }
    void TearDown() override {
        utm_reset();
        reset_messages();
    }

    std::string landscape(const std::string& name, std::int8_t zone, char hemi, float orig_e,
                          float orig_n) {
        TrnHeader h;
        h.long_ = 400;
        h.larg = 300;
        h.rew = 100;
        h.rns = 100;
        h.orig_e = orig_e;
        h.orig_n = orig_n;
        h.zlon = zone;
        h.zlat = hemi;
        std::string path = dir.file(name);
        EXPECT_EQ(write_trn_hdr(path, h), 1);
        return path;
    }
    // The log's lines; their ends are the system's own (CR LF on Windows).
    std::string log() const {
        std::string text;
        for (char c : dir.read("Logfile.txt"))
            if (c != '\r') text += c;
        return text;
    }

    TempDir dir;
    float rxm = 0, rym = 0;
};

TEST_F(Utm, ZoneAndHemisphereSetTheMeridianAndFalseNorthing) {
    struct Case {
        std::int8_t zone;
        char hemi;
        double rlon0, n0;
    };
    const Case cases[] = {{32, 'N', 9, 0}, {1, 'N', -177, 0}, {60, 'S', 177, 10'000'000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zone);
        std::string path =
            landscape("z" + std::to_string(c.zone) + ".trn", c.zone, c.hemi, 540000, 5135000);
        ASSERT_EQ(utm_init(path, rxm, rym), 1);
        EXPECT_EQ(utm_state().utm000.rlon0, c.rlon0);
        EXPECT_EQ(utm_state().utm000.n0, c.n0);
    }
}

TEST_F(Utm, AxesRunWestAndNorthFromTheOrigin) {
    ASSERT_EQ(utm_init(landscape("a.trn", 32, 'N', 540000, 5135000), rxm, rym), 1);
    EXPECT_EQ(rxm, 40000);
    EXPECT_EQ(rym, 30000);
    float x = 0, y = 0, xw = 0, yn = 0, unused = 0;
    ASSERT_EQ(latlontoxy(46.5f, 9.f, x, y), 1);
    EXPECT_EQ(x, 540000.f - 500000.f);  // on the central meridian: exactly
    latlontoxy(46.5f, 8.9f, xw, unused);
    latlontoxy(46.6f, 9.f, unused, yn);
    EXPECT_GT(xw, x);
    EXPECT_GT(yn, y);
    ASSERT_EQ(latlontoxy(0.f, 9.f, x, y), 1);
    EXPECT_EQ(y, -5135000.f);

    // South of the equator: a northern landscape adds no false northing, a southern one does.
    float yn_s = 0, ys_s = 0;
    ASSERT_EQ(utm_init(landscape("n.trn", 32, 'N', 540000, 0), rxm, rym), 1);
    latlontoxy(-10.f, 9.5f, x, yn_s);
    EXPECT_LT(yn_s, 0);
    ASSERT_EQ(utm_init(landscape("s.trn", 32, 'S', 540000, 0), rxm, rym), 1);
    latlontoxy(-10.f, 9.5f, x, ys_s);
    EXPECT_EQ(double(ys_s) - double(yn_s), 10'000'000.0);
}

TEST_F(Utm, ConversionsRefuseBeforeSetUpAndLeaveOutputs) {
    float a = 1, b = 2;
    EXPECT_EQ(latlontoxy(46.5f, 9.25f, a, b), 0);
    EXPECT_EQ(xytolatlon(100.f, 100.f, a, b), 0);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 2);
    EXPECT_EQ(log(), "UTM NOT INITIALIZED\n");  // said again in the same run: logged once
}

TEST_F(Utm, SameFileTwiceIsNotReadAgain) {
    std::string path = landscape("a.trn", 32, 'N', 540000, 5135000);
    ASSERT_EQ(utm_init(path, rxm, rym), 1);
    std::filesystem::remove(path);
    rxm = rym = 0;
    EXPECT_EQ(utm_init(path + "    ", rxm, rym), 1);
    EXPECT_EQ(rxm, 40000);
    EXPECT_EQ(rym, 30000);
}

TEST_F(Utm, ReaderIsChosenBySubstringAndExactCase) {
    struct Case {
        const char* name;
        int result;
        const char* log;  // nullptr: nothing logged
    };
    const Case cases[] = {
        {"a.trn.bak", 1, nullptr},
        {"a.TRN", 1, nullptr},
        {"a.Trn", 0, "UTM unrecognised file type "},
        {"a.txt", 0, "UTM unrecognised file type "},
        {"missing.trn", 0, "UTM unable to read "},
        {"missing.asc", 0, "UTM unable to read "},
        {"missing.dem", 0, "UTM unable to read "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = dir.file(c.name);
        if (c.result == 1) landscape(c.name, 32, 'N', 540000, 5135000);
        std::filesystem::remove(dir.file("Logfile.txt"));
        EXPECT_EQ(utm_init(path, rxm, rym), c.result);
        EXPECT_EQ(utm_state().utm001.initialized, c.result == 1);
        // One line, path and all, even though the path holds slashes.
        EXPECT_EQ(log(), c.log ? std::string(c.log) + path + "\n" : "");
    }
}

TEST_F(Utm, FailedSetUpAfterAGoodOneStopsConversions) {
    ASSERT_EQ(utm_init(landscape("a.trn", 32, 'N', 540000, 5135000), rxm, rym), 1);
    rxm = rym = -1;
    EXPECT_EQ(utm_init(dir.file("short.trn"), rxm, rym), 0);
    EXPECT_EQ(rxm, -1);  // untouched on failure
    float x = 0, y = 0;
    EXPECT_EQ(latlontoxy(46.5f, 9.25f, x, y), 0);
    EXPECT_NE(log().find("UTM NOT INITIALIZED"), std::string::npos);
}

TEST_F(Utm, HeadersWithNonFiniteValuesAreRefused) {
    for (float bad : {NAN, INFINITY}) {
        for (int field = 0; field < 2; ++field) {
            TrnHeader h;
            h.long_ = h.larg = 10;
            h.rew = field == 0 ? bad : 100;
            h.rns = 100;
            h.orig_e = field == 1 ? bad : 0;
            h.zlon = 32;
            ASSERT_EQ(write_trn_hdr(dir.file("bad.trn"), h), 1);
            EXPECT_EQ(utm_init(dir.file("bad.trn"), rxm, rym), 0) << bad << " " << field;
        }
    }
}

TEST_F(Utm, CNameOriginQueryAndDebugSwitch) {
    std::string path = landscape("a.trn", 32, 'S', 540000, 5135000);
    utm_debug(5);
    EXPECT_EQ(utm_init_c(nullptr, rxm, rym), 0);
    ASSERT_EQ(utm_init_c(path.c_str(), rxm, rym), 1);
    utm_debug(0);
    float xo = 0, yo = 0;
    char zla = ' ';
    signed char zlo = 0;
    utm_get_ori(xo, yo, zla, zlo);
    EXPECT_EQ(xo, 540000);
    EXPECT_EQ(yo, 5135000);
    EXPECT_EQ(zla, 'S');
    EXPECT_EQ(zlo, 32);
    EXPECT_EQ(log(), "UTM : Debug ACTIVATED\nUTM unrecognised file type \nUTM : Debug STOPPED\n");
}

TEST_F(Utm, DemoLandscapeHoldsItsDocumentedPoint) {
    const std::string demo =
        std::string(VARNIX_SOURCE_DIR) + "/data/demo/Volaro2/Landscapes/Demo/Demo.trn";
    ASSERT_EQ(utm_init(demo, rxm, rym), 1);
    EXPECT_EQ(rxm, 40000);
    EXPECT_EQ(rym, 30000);
    float x = 0, y = 0;
    ASSERT_EQ(latlontoxy(46.5f, 9.25f, x, y), 1);
    EXPECT_NEAR(x, 540000 - 519182.969, 0.01);  // easting from an exact projection
    EXPECT_NEAR(y, 5149633.719 - 5135000, 0.01);
}

// --- landscapes fitted into geographic grids --------------------------------------------------

std::string asc(double lonmin, double latmin, int ncols, int nrows, double cell) {
    return "ncols " + std::to_string(ncols) + "\nnrows " + std::to_string(nrows) + "\nxllcorner " +
           std::to_string(lonmin) + "\nyllcorner " + std::to_string(latmin) + "\ncellsize " +
           std::to_string(cell) + "\nNODATA_value -9999\n";
}

TEST_F(Utm, GridFitIsA90mRasterInsideTheGrid) {
    struct Case {
        const char* what;
        double lonmin, latmin;
        int ncols, nrows;
        double cell;
    };
    const Case cases[] = {
        {"north, east of meridian", 9.0, 46.0, 1200, 1200, 1.0 / 1200},
        {"north, west of meridian", 6.5, 60.0, 600, 300, 1.0 / 300},
        {"south", 18.0, -34.5, 1000, 800, 1.0 / 1200},
        {"across the equator", 9.0, -0.3, 120, 120, 1.0 / 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string path = dir.write("g.asc", asc(c.lonmin, c.latmin, c.ncols, c.nrows, c.cell));
        utm_reset();
        ASSERT_EQ(utm_init(path, rxm, rym), 1);
        EXPECT_GT(rxm, 0);
        EXPECT_GT(rym, 0);
        EXPECT_EQ(std::fmod(rxm, 90.f), 0);
        EXPECT_EQ(std::fmod(rym, 90.f), 0);
        EXPECT_EQ(utm_state().utm000.ori, 90);
        const double lonmax = c.lonmin + c.cell * c.ncols, latmax = c.latmin + c.cell * c.nrows;
        const float xs[] = {0, rxm}, ys[] = {0, rym};
        for (float x : xs) {
            for (float y : ys) {
                float lat = 0, lon = 0;
                ASSERT_EQ(xytolatlon(x, y, lat, lon), 1);
                EXPECT_GE(lat, c.latmin - 1e-5) << x << " " << y;
                EXPECT_LE(lat, latmax + 1e-5) << x << " " << y;
                EXPECT_GE(lon, c.lonmin - 1e-5) << x << " " << y;
                EXPECT_LE(lon, lonmax + 1e-5) << x << " " << y;
            }
        }
        // It fills the grid: no more than a 90 m row or column plus the edges' bulge is lost.
        const double width_m = (lonmax - c.lonmin) * 111320 * std::cos(latmax * degrad);
        EXPECT_GT(rxm, width_m * 0.9);
    }
}

TEST_F(Utm, DegenerateGridsFailQuickly) {
    struct Case {
        const char* what;
        std::string text;
    };
    const Case cases[] = {
        {"zero columns", asc(9, 46, 0, 100, 0.01)},
        {"negative rows", asc(9, 46, 100, -5, 0.01)},
        {"zero cell size", asc(9, 46, 100, 100, 0)},
        {"negative cell size", asc(9, 46, 100, 100, -0.01)},
        {"narrower than 90 m", asc(9, 46, 1, 1, 0.0005)},
        {"to the pole", asc(9, 80, 100, 100, 0.1)},
        {"huge cell count", asc(9, 46, 2'000'000'000, 100, 1e-9)},
        {"around the world", asc(-180, -80, 3600, 1600, 0.1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        utm_reset();
        std::string path = dir.write("d.asc", c.text);
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(utm_init(path, rxm, rym), 0);
        EXPECT_FALSE(utm_state().utm001.initialized);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    }
    EXPECT_NE(log().find("UTM unable to read " + dir.file("d.asc")), std::string::npos);
}

}  // namespace
