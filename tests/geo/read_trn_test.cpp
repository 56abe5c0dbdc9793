#include "geo/read_trn.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>

#include "geo/UTM.hpp"
#include "geo/grid_limits.hpp"
#include "host/messages.hpp"
#include "tests/common/temp_dir.hpp"

namespace {

std::string trn_bytes(const TrnHeader& h, std::size_t size) {
    TempDir dir;
    write_trn_hdr(dir.file("h.trn"), h);
    std::string b = dir.read("h.trn");
    b.resize(size, '\0');
    return b;
}

struct DemHeader {
    double lonmin, lonmax, latmax, latmin, cell;
    std::int32_t larg, long_;
};

std::string dem_bytes(const DemHeader& d) {
    std::string b(48, '\0');
    auto put = [&](std::size_t at, auto v) {
        auto bits = std::bit_cast<std::array<char, sizeof v>>(v);
        std::memcpy(b.data() + at, bits.data(), bits.size());  // the test host is little-endian
    };
    put(0, d.lonmin);
    put(8, d.lonmax);
    put(16, d.latmax);
    put(24, d.latmin);
    put(32, d.cell);
    put(40, d.larg);
    put(44, d.long_);
    return b;
}

TrnHeader alps() {
    TrnHeader h;
    h.long_ = 400;
    h.larg = 300;
    h.rew = 100;
    h.rns = 100;
    h.orig_e = 540000;
    h.orig_n = 5135000;
    h.zlon = 32;
    h.zlat = 'N';
    return h;
}

struct TrnOut {
    float xmax = -1, ymax = -1, orig_e = -1, orig_n = -1, orien = -1;
    std::int32_t nlon = -1;
    char zlat = '?';
};

std::int32_t read_trn(const std::string& path, TrnOut& o) {
    return read_trn_hdr(path, o.xmax, o.ymax, o.orig_e, o.orig_n, o.orien, o.nlon, o.zlat);
}

TEST(ReadTrnHdr, ReadsThe36ByteHeaderAndNothingElse) {
    struct Case {
        const char* what;
        std::size_t size;
        bool ok;
    };
    const Case cases[] = {{"exactly 36 bytes", 36, true},
                          {"35 bytes", 35, false},
                          {"empty", 0, false},
                          {"with data behind", 4096, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        TrnOut o;
        std::int32_t ios = read_trn(dir.write("a.trn", trn_bytes(alps(), c.size)), o);
        EXPECT_EQ(ios == 0, c.ok);
        if (c.ok) {
            EXPECT_EQ(o.xmax, 40000);
            EXPECT_EQ(o.ymax, 30000);
            EXPECT_EQ(o.orig_e, 540000);
            EXPECT_EQ(o.orig_n, 5135000);
            EXPECT_EQ(o.nlon, 32);
            EXPECT_EQ(o.zlat, 'N');
        }
    }
}

TEST(ReadTrnHdr, SizeIgnoresSigns) {
    TrnHeader h = alps();
    h.rew = -100;
    h.rns = -50;
    TempDir dir;
    TrnOut o;
    ASSERT_EQ(read_trn(dir.write("n.trn", trn_bytes(h, 36)), o), 0);
    EXPECT_EQ(o.xmax, 40000);
    EXPECT_EQ(o.ymax, 15000);
    EXPECT_NE(read_trn(dir.file("none.trn"), o), 0);
    EXPECT_EQ(write_trn_hdr(dir.file("no/such/folder.trn"), h), 0);
}

TEST(ReadTrnHdr, CorruptValuesAreRefused) {
    struct Case {
        const char* what;
        void (*spoil)(TrnHeader&);
    };
    const Case cases[] = {
        {"zone 0", [](TrnHeader& h) { h.zlon = 0; }},
        {"zone 61", [](TrnHeader& h) { h.zlon = 61; }},
        {"zone byte 0xFF", [](TrnHeader& h) { h.zlon = -1; }},
        {"hemisphere X", [](TrnHeader& h) { h.zlat = 'X'; }},
        {"hemisphere s", [](TrnHeader& h) { h.zlat = 's'; }},
        {"no columns", [](TrnHeader& h) { h.long_ = 0; }},
        {"negative rows", [](TrnHeader& h) { h.larg = -300; }},
        {"zero cell", [](TrnHeader& h) { h.rew = 0; }},
        {"NaN cell", [](TrnHeader& h) { h.rns = NAN; }},
        {"infinite origin", [](TrnHeader& h) { h.orig_e = INFINITY; }},
    };
    TempDir dir;
    for (const Case& c : cases) {
        TrnHeader h = alps();
        c.spoil(h);
        TrnOut o;
        EXPECT_EQ(read_trn(dir.write("bad.trn", trn_bytes(h, 36)), o), hdr_bad_values) << c.what;
    }
}

// --- zone and hemisphere of geographic grids --------------------------------------------------

TEST(GridZone, RoundsTheMiddleLongitudeHalfAwayFromZero) {
    struct Case {
        double lonmin, lonmax;
        std::int32_t zone;
    };
    const Case cases[] = {
        {9, 10, 32},      {6, 12, 32}, {-178, -176, 1}, {-181, -179, 0}, {179, 180, 60},
        {-3.5, -2.5, 30}, {0, 6, 31},  {-0.1, 0.1, 31}, {NAN, 1, 0},     {1e300, 1e300, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lonmin);
        EXPECT_EQ(grid_zone(c.lonmin, c.lonmax), c.zone);
    }
    EXPECT_EQ(grid_hemisphere(-1, 1), 'S');  // the equator counts as south
    EXPECT_EQ(grid_hemisphere(-1, 1.001), 'N');
    EXPECT_EQ(grid_hemisphere(-10, -5), 'S');
}

// --- binary geographic grid -------------------------------------------------------------------

struct GridOut {
    double latmin = 0, latmax = 0, lonmin = 0, lonmax = 0;
    std::int32_t long_ = 0, larg = 0, nzon = 0;
    char zlat = '?';
};

TEST(ReadDemHdr, ReadsLimitsAndDerivesZone) {
    TempDir dir;
    std::string path = dir.write(
        "g.dem", dem_bytes({9, 10, 47, 46, 3.0 / 3600, 1200, 1200}) + std::string(100, '\x7f'));
    GridOut g;
    ASSERT_EQ(
        read_dem_hdr(path, g.latmin, g.latmax, g.lonmin, g.lonmax, g.long_, g.larg, g.nzon, g.zlat),
        0);
    EXPECT_EQ(g.lonmin, 9);
    EXPECT_EQ(g.lonmax, 10);
    EXPECT_EQ(g.latmax, 47);
    EXPECT_EQ(g.latmin, 46);
    EXPECT_EQ(g.long_, 1200);
    EXPECT_EQ(g.nzon, 32);
    EXPECT_EQ(g.zlat, 'N');

    std::string shorter = dem_bytes({9, 10, 47, 46, 1, 1, 1});
    shorter.pop_back();
    EXPECT_NE(read_dem_hdr(dir.write("s.dem", shorter), g.latmin, g.latmax, g.lonmin, g.lonmax,
                           g.long_, g.larg, g.nzon, g.zlat),
              0);
    EXPECT_NE(read_dem_hdr(dir.file("none.dem"), g.latmin, g.latmax, g.lonmin, g.lonmax, g.long_,
                           g.larg, g.nzon, g.zlat),
              0);
}

// --- text geographic grid ---------------------------------------------------------------------

const char* const asc_good =
    "ncols        1200\n"
    "nrows        600\n"
    "xllcorner    9.0\n"
    "yllcorner    -46.5\n"
    "cellsize     0.000833333333\n"
    "NODATA_value -9999\n"
    "1 2 3\n";

TEST(ReadAscdemHdr, AcceptsExactlyTheFiveKeysInTheFirstSixLines) {
    struct Case {
        const char* what;
        std::string text;
        std::int32_t ios;  // 1: any non-zero other than 9999
    };
    const std::string keys5 = "ncols 10\nnrows 20\nxllcorner 9.5\nyllcorner 46\ncellsize 0.5\n";
    const Case cases[] = {
        {"standard", asc_good, 0},
        {"no-data line first", "NODATA_value -9999\n" + keys5 + "1\n", 0},
        {"CR LF line ends",
         "ncols 10\r\nnrows 20\r\nxllcorner 9.5\r\nyllcorner 46\r\n"
         "cellsize 0.5\r\nNODATA_value 0\r\n",
         0},
        {"cellsize seventh",
         "ncols 10\nnrows 20\nxllcorner 9.5\nyllcorner 46\nA\nB\n"
         "cellsize 0.5\n",
         hdr_bad_keys},
        {"upper-case keys",
         "NCOLS 10\nNROWS 20\nXLLCORNER 9.5\nYLLCORNER 46\nCELLSIZE 0.5\n"
         "x\n",
         hdr_bad_keys},
        {"cell centres", "ncols 10\nnrows 20\nxllcenter 9.5\nyllcenter 46\ncellsize 0.5\nx\n",
         hdr_bad_keys},
        {"key indented", " ncols 10\nnrows 20\nxllcorner 9.5\nyllcorner 46\ncellsize 0.5\nx\n",
         hdr_bad_keys},
        {"bad value", "ncols ten\nnrows 20\nxllcorner 9.5\nyllcorner 46\ncellsize 0.5\nx\n",
         hdr_bad_keys},
        {"duplicate key hides a missing one",
         "ncols 10\nnrows 20\nxllcorner 9.5\nyllcorner 46\nnrows 20\nx\n", hdr_bad_keys},
        {"six keys", keys5 + "ncols 10\n", hdr_bad_keys},
        {"value past column 80",
         "ncols 10\nnrows 20\nxllcorner" + std::string(71, ' ') +
             "9.5\nyllcorner 46\ncellsize 0.5\nx\n",
         hdr_bad_keys},
        {"ends after the fifth line", keys5, 1},
        {"empty", "", hdr_bad_keys},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        GridOut g;
        std::int32_t ios = read_ascdem_hdr(dir.write("g.asc", c.text), g.latmin, g.latmax, g.lonmin,
                                           g.lonmax, g.long_, g.larg, g.nzon, g.zlat);
        if (c.ios == 1) {
            EXPECT_NE(ios, 0);
            EXPECT_NE(ios, hdr_bad_keys);
        } else {
            EXPECT_EQ(ios, c.ios);
        }
    }
}

TEST(ReadAscdemHdr, DerivesLimitsZoneAndHemisphere) {
    TempDir dir;
    GridOut g;
    ASSERT_EQ(read_ascdem_hdr(dir.write("g.asc", asc_good), g.latmin, g.latmax, g.lonmin, g.lonmax,
                              g.long_, g.larg, g.nzon, g.zlat),
              0);
    EXPECT_EQ(g.long_, 1200);
    EXPECT_EQ(g.larg, 600);
    EXPECT_DOUBLE_EQ(g.lonmin, 9.0);
    EXPECT_DOUBLE_EQ(g.lonmax, 0.000833333333 * 1200 + 9.0);
    EXPECT_DOUBLE_EQ(g.latmin, -46.5);
    EXPECT_DOUBLE_EQ(g.latmax, 0.000833333333 * 600 - 46.5);
    EXPECT_EQ(g.nzon, 32);
    EXPECT_EQ(g.zlat, 'S');
    EXPECT_NE(read_ascdem_hdr(dir.file("none.asc"), g.latmin, g.latmax, g.lonmin, g.lonmax, g.long_,
                              g.larg, g.nzon, g.zlat),
              0);
}

// --- limits -----------------------------------------------------------------------------------

class LatLonLim : public ::testing::Test {
  protected:
    void SetUp() override {
        utm_reset();
        set_log_file_name(dir.file("Logfile.txt"));
    }
    void TearDown() override {
        utm_reset();
        set_log_file_name("Logfile.txt");
    }
    TempDir dir;
    float latmin = 0, latmax = 0, lonmin = 0, lonmax = 0;
};

TEST_F(LatLonLim, TerrainBoxLiesInsideTheLandscapeCorners) {
    std::string path = dir.file("Alps.trn");
    ASSERT_EQ(write_trn_hdr(path, alps()), 1);
    ASSERT_EQ(get_latlon_lim(path, latmin, latmax, lonmin, lonmax), 0);
    EXPECT_TRUE(utm_state().utm001.initialized);  // set up as a side effect
    // Each corner lies on or outside the box, and the box hugs the edges to within a
    // fraction of the edge's bulge (well under 0.01 deg for 40 km).
    const float corners[4][2] = {{0, 0}, {40000, 0}, {0, 30000}, {40000, 30000}};
    for (const auto& c : corners) {
        float lat = 0, lon = 0;
        ASSERT_EQ(xytolatlon(c[0], c[1], lat, lon), 1);
        EXPECT_TRUE(lat <= latmin + 1e-5f || lat >= latmax - 1e-5f) << lat;
        EXPECT_TRUE(lon <= lonmin + 1e-5f || lon >= lonmax - 1e-5f) << lon;
        EXPECT_NEAR(lat, c[1] == 0 ? latmin : latmax, 0.01);
        EXPECT_NEAR(lon, c[0] == 0 ? lonmax : lonmin, 0.01);
    }
    EXPECT_LT(latmin, latmax);
    EXPECT_LT(lonmin, lonmax);
}

TEST_F(LatLonLim, GridsGiveTheirOwnLimitsUnknownFilesFail) {
    ASSERT_EQ(get_latlon_lim(dir.write("g.asc", asc_good), latmin, latmax, lonmin, lonmax), 0);
    EXPECT_FLOAT_EQ(lonmin, 9.f);
    EXPECT_FLOAT_EQ(latmin, -46.5f);
    std::string dem = dir.write("g.DEM", dem_bytes({9, 10, 47, 46, 1, 1, 1}));
    ASSERT_EQ(get_latlon_lim(dem, latmin, latmax, lonmin, lonmax), 0);
    EXPECT_EQ(latmax, 47.f);
    for (const char* name : {"g.txt", "none.trn", "none.asc", "none.dem"}) {
        EXPECT_NE(get_latlon_lim(dir.file(name), latmin, latmax, lonmin, lonmax), 0) << name;
    }
    // Set up already, so only the second read of the header notices the file is gone.
    std::string trn = dir.file("gone.trn");
    ASSERT_EQ(write_trn_hdr(trn, alps()), 1);
    ASSERT_EQ(get_trn_lim(trn, latmin, latmax, lonmin, lonmax), 0);
    std::filesystem::remove(trn);
    EXPECT_EQ(get_trn_lim(trn, latmin, latmax, lonmin, lonmax), 1);
}

}  // namespace
