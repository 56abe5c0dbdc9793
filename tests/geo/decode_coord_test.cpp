#include "geo/decode_coord.hpp"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace {

// Degree sign between literal pieces, so "\xB0" never swallows a following hex digit.
#define DEG "\xB0"

constexpr float tol = 4e-6f;  // one float step at 46 deg

struct FormatCase {
    const char* text;
    const char* c_ori;
    int code;
    float value;
    const char* after;  // the field afterwards; nullptr: unchanged
};

const FormatCase format_cases[] = {
    // decimal degrees; a comma ends the number
    {"46.5", "NS", 3, 46.5f, nullptr},
    {"-9.25", "WE", 3, -9.25f, nullptr},
    // Trailing text, and values past the poles or the antimeridian, are no position.
    {"46,5", "NS", 0, coord_invalid, nullptr},
    {"9.25x", "WE", 0, coord_invalid, nullptr},
    {"359", "WE", 0, coord_invalid, nullptr},
    {"189", "WE", 0, coord_invalid, nullptr},
    {"-180", "WE", 3, -180.f, nullptr},
    {"90", "NS", 3, 90.f, nullptr},
    {"95.0", "NS", 0, coord_invalid, nullptr},
    {"361", "WE", 0, coord_invalid, nullptr},
    {"", "NS", 0, coord_invalid, nullptr},
    {"abc", "NS", 0, coord_invalid, nullptr},
    // free-form numbers never give NaN or infinity
    {"nan", "NS", 0, coord_invalid, nullptr},
    {"inf", "WE", 0, coord_invalid, nullptr},
    {"1e39", "WE", 0, coord_invalid, nullptr},
    // waypoint-file notation and its two variants, normalised in the field
    {"4630.500N", "NS", 2, 46.508333f, nullptr},
    {"4630.500S", "NS", 2, -46.508333f, nullptr},
    {"46.30.500N", "NS", 2, 46.508333f, "4630.500N"},
    {"4630500N", "NS", 2, 46.508333f, "4630.500N"},
    {"4630.50000N", "NS", 2, 46.508333f, nullptr},
    {"4675.000N", "NS", 0, coord_invalid, nullptr},  // minutes below 60
    {"4670.500N", "NS", 0, coord_invalid, nullptr},
    {"18100.000E", "WE", 0, coord_invalid, nullptr},
    {"00915.000W", "WE", 2, -9.25f, nullptr},
    {"009.15.000W", "WE", 2, -9.25f, "00915.000W"},
    {"00915000W", "WE", 2, -9.25f, "00915.000W"},
    {"00915.000W", "NS", 0, coord_invalid, nullptr},  // W does not end a latitude
    {"4630.5N", "NS", 0, coord_invalid, nullptr},     // fewer than three decimals
    {"4630.500000N", "NS", 0, coord_invalid, nullptr},
    {" 4630.500N", "NS", 0, coord_invalid, nullptr},  // a leading blank shifts the columns
    {"4630x500N", "NS", 0, coord_invalid, "4630x.500N"},
    {"4630.500N,N", "NS", 0, coord_invalid, nullptr},  // text after the letter
    {"00915.000E E", "WE", 0, coord_invalid, nullptr},
    {"46N", "NS", 0, coord_invalid, nullptr},  // too short to hold a dot
    {"4.6.3.0N", "NS", 0, coord_invalid, nullptr},
    // degree sign
    {"46" DEG "30'15\"N", "NS", 1, 46.504167f, nullptr},
    {"46" DEG "30'15.5\"N", "NS", 1, 46.504306f, nullptr},
    {"46" DEG "30.25'N", "NS", 1, 46.504167f, nullptr},
    {"46.504" DEG "N", "NS", 1, 46.504f, nullptr},
    {"46" DEG "N", "NS", 1, 46.f, nullptr},
    {"46" DEG "30'N", "NS", 1, 46.5f, nullptr},
    {"46" DEG "30'15N", "NS", 1, 46.504167f, nullptr},
    {"46" DEG " 30' 15\" N", "NS", 1, 46.504167f, nullptr},
    {"46" DEG "30'15\"S", "NS", 1, -46.504167f, nullptr},
    {"-46" DEG "30'S", "NS", 1, 45.5f, nullptr},  // minutes add before the sign applies
    {"9" DEG "15'W", "WE", 1, -9.25f, nullptr},
    {"009" DEG "15'00\"E", "WE", 1, 9.25f, nullptr},
    {"46" DEG "30'15\"", "NS", 0, coord_invalid, nullptr},   // no letter
    {"N46" DEG "30'15\"", "NS", 0, coord_invalid, nullptr},  // letter in front
    {"46" DEG "3x'N", "NS", 0, coord_invalid, nullptr},
    {"46" DEG "30'1x\"N", "NS", 0, coord_invalid, nullptr},
    {DEG "30'N", "NS", 0, coord_invalid, nullptr},
    {"95" DEG "N", "NS", 0, coord_invalid, nullptr},
    {"9" DEG "75'E", "WE", 0, coord_invalid, nullptr},
    {"46" DEG "30'75\"N", "NS", 0, coord_invalid, nullptr},
    {"189" DEG "E", "WE", 0, coord_invalid, nullptr},
    {"46" DEG "30N", "NS", 0, coord_invalid, nullptr},  // minutes without their sign
    {"12" DEG "N", "WE", 0, coord_invalid, nullptr},
    // marks as the web writes them (texts refused before): ’ ” (Windows-1252), two
    // apostrophes, a lower-case letter after a number or a mark; the field shows the notation
    {"46" DEG "30\x92 15\x94N", "NS", 1, 46.504167f, "46" DEG "30' 15\"N"},
    {"46" DEG "30'15''s", "NS", 1, -46.504167f, "46" DEG "30'15\"S"},
    {"9" DEG "15\x92w", "WE", 1, -9.25f, "9" DEG "15'W"},
    {"4630.500n", "NS", 2, 46.508333f, "4630.500N"},
    {"46.30.500s", "NS", 2, -46.508333f, "4630.500S"},
    {"4630.500e", "NS", 0, coord_invalid, nullptr},
};

TEST(WhatFormat, RecognisesAndDecodesEveryNotation) {
    for (const FormatCase& c : format_cases) {
        SCOPED_TRACE(c.text);
        TextField<20> field(c.text);
        float v = 0;
        EXPECT_EQ(what_format(field, v, c.c_ori), c.code);
        if (c.value == coord_invalid) {
            EXPECT_EQ(v, coord_invalid);
        } else {
            EXPECT_NEAR(v, c.value, tol);
        }
        EXPECT_EQ(field.view(), c.after ? c.after : c.text);
    }
}

TEST(WhatFormat, UsualNotationsReadBitForBitAsTheLongWayReadsThem) {
    // Decimal degrees and DDMM.mmmN skip the long way; both must give the same code and value.
    std::vector<std::pair<std::string, std::string>> texts;
    for (const FormatCase& c : format_cases) texts.emplace_back(c.text, c.c_ori);
    for (const char* t : {"9000.001S", "4660.000N", "4630.123456N", "46-30.500N", "-90.0000001"})
        texts.emplace_back(t, "NS");
    for (const char* t : {"18000.001W", "0915.000E", "-180.00001", "1234567890123456"})
        texts.emplace_back(t, "WE");
    for (const auto& [text, c_ori] : texts) {
        TextField<20> field(text);
        std::array<char, 32> buf{};
        std::copy(text.begin(), text.end(), buf.begin());
        std::size_t len = text.size();
        float quick = 0, slow = 0;
        EXPECT_EQ(what_format(field, quick, c_ori),
                  coord_detail::what_format(buf.data(), len, slow, c_ori))
            << text;
        EXPECT_EQ(std::bit_cast<std::uint32_t>(quick), std::bit_cast<std::uint32_t>(slow)) << text;
    }
}

TEST(SplitCoordPair, OneTextHoldingLatitudeAndLongitude) {
    const std::pair<const char*, const char*> cases[] = {
        // text, "lat|lon" or "" (no pair)
        {"46.5, 9.25", "46.5|9.25"},
        {" 46.5,9.25 ", "46.5|9.25"},
        {"-46.5 -9.25", "-46.5|-9.25"},
        {"46, 5", "46|5"},
        {"46,5", ""} /* decimal comma */,
        {"46.5", ""},
        {"46 30 N 9 15 E", ""},
        {"95, 9.25", ""},
        {"46.5, 9.25, 3", ""},
        {"4630.500N 00915.000E", "4630.500N|00915.000E"},
        {"46" DEG "30'15\" N, 9" DEG "15'E", "46" DEG "30'15\" N|9" DEG "15'E"},
    };
    for (const auto& [text, want] : cases) {
        std::string_view lat, lon;
        const bool pair = split_coord_pair(text, lat, lon);
        EXPECT_EQ(pair ? std::string(lat) + "|" + std::string(lon) : "", want) << text;
    }
}

TEST(DecimalComma, OneCoordinateWithACommaReadsWithAPoint) {
    const std::pair<const char*, const char*> cases[] = {
        {"46,5", "46.5"}, {" -9,25 ", "-9.25"}, {"46,5N", "46.5N"}, {"+46,5", "+46.5"},
        {"46.5", ""},     {"46, 5", ""},        {"46,5,3", ""},     {",5", ""},
        {"46,", ""},      {"4a,5", ""},         {"46,5 9,25", ""},  {"-", ""},
    };
    for (const auto& [text, want] : cases) EXPECT_EQ(decimal_comma_as_point(text), want) << text;
}

TEST(WhatFormat, CompactVariantInFullFieldKeepsItsLetterForDecoding) {
    // Inserting the dot pushes the content past the field; decoding must not lose the letter.
    TextField<8> field("4630500N");
    float v = 0;
    EXPECT_EQ(what_format(field, v, "NS"), 2);
    EXPECT_NEAR(v, 46.508333f, tol);
    EXPECT_EQ(field.view(), "4630.500");
}

TEST(DecodeCoord, TypeIsTheLargerCodeButEachValueStandsAlone) {
    TextField<24> lat("46.5"), lon("garbage");
    float xlat = 0, xlon = 0;
    int type = -1;
    decode_coord(lat, lon, xlat, xlon, type);
    EXPECT_EQ(type, 3);
    EXPECT_EQ(xlat, 46.5f);
    EXPECT_EQ(xlon, coord_invalid);
}

TEST(SingleDecoders, ReportTheirOwnErrorValues) {
    EXPECT_EQ(decode_lat_lon("46.5N"), dms_invalid);
    EXPECT_EQ(decode_lat_lon("x" DEG "N"), dms_invalid);
    // Without a letter the seconds run to the last character.
    EXPECT_NEAR(decode_lat_lon("46" DEG "30'15"), 46.504167f, tol);
    // Only the first 20 characters count.
    EXPECT_NEAR(decode_lat_lon("46" DEG "                 30'N"), 46.f, tol);
    EXPECT_EQ(decode_lat_cu("4630.500"), cu_invalid);
    EXPECT_EQ(decode_lon_cu("0915.000W"), cu_invalid);
}

// --- formatting -------------------------------------------------------------------------------

enum class Op { dms_lat, dms_lon, oa_lat, d_lat, d_lon, cu_lat, cu_lon, vlro_lat, vlro_lon };

std::string run(Op op, float v) {
    switch (op) {
        case Op::dms_lat:
            return std::string(dms(v, 1).view());
        case Op::dms_lon:
            return std::string(dms(v, 2).view());
        case Op::oa_lat:
            return std::string(dms_oa(v, 1).view());
        case Op::d_lat:
            return std::string(dms_d(v, 1).view());
        case Op::d_lon:
            return std::string(dms_d(v, 2).view());
        case Op::cu_lat:
            return std::string(lat_cu(v).view());
        case Op::cu_lon:
            return std::string(lon_cu(v).view());
        case Op::vlro_lat:
            return std::string(lat_vlro(v).view());
        case Op::vlro_lon:
            return std::string(lon_vlro(v).view());
    }
    return {};
}

TEST(Formatters, WriteFixedLayoutsWithCarries) {
    struct Case {
        Op op;
        float v;
        const char* text;
    };
    const Case cases[] = {
        {Op::cu_lat, 46.5f, "4630.000N"},
        {Op::vlro_lat, 46.5f, "46.30.000N"},
        {Op::d_lat, 46.5f, "46" DEG "30'00.00\"N"},
        {Op::cu_lon, -9.25f, "00915.000W"},
        {Op::vlro_lon, -9.25f, "009.15.000W"},
        {Op::d_lon, -9.25f, "009" DEG "15'00.00\"W"},
        {Op::dms_lat, 46.504167f, "46" DEG "30'15\"N"},
        {Op::oa_lat, 46.504167f, "46:30:15 N"},
        {Op::dms_lat, -46.504167f, "46" DEG "30'15\"S"},
        // zero: S/W for degree-minute-second layouts, N/E for the others
        {Op::cu_lat, 0.f, "0000.000N"},
        {Op::cu_lon, 0.f, "00000.000E"},
        {Op::vlro_lat, 0.f, "00.00.000N"},
        {Op::d_lat, 0.f, "00" DEG "00'00.00\"S"},
        {Op::dms_lon, 0.f, "000" DEG "00'00\"W"},
        // thousandths reach 1000, minutes reach 60: both carry
        {Op::cu_lat, 46.99999237f, "4700.000N"},
        {Op::vlro_lon, -9.99999905f, "010.00.000W"},
        // seconds round to 60
        {Op::dms_lat, 46.9999f, "47" DEG "00'00\"N"},
        {Op::oa_lat, 45.9999f, "46:00:00 N"},
        // hundredths: above .994 of a second goes up, below rounds as usual
        {Op::d_lat, 14.9945f / 3600, "00" DEG "00'15.00\"N"},
        {Op::d_lat, 14.9935f / 3600, "00" DEG "00'14.99\"N"},
        {Op::d_lat, 59.9995f / 3600, "00" DEG "01'00.00\"N"},
        // degrees that do not fit their group
        {Op::cu_lat, 100.5f, "**30.000N"},
        {Op::dms_lat, -123.25f, "**" DEG "15'00\"S"},
        {Op::cu_lon, -181.25f, "18115.000W"},
        {Op::cu_lon, 1000.5f, "***30.000E"},
        {Op::cu_lat, 3e9f, "**00.000N"},
        {Op::cu_lat, std::numeric_limits<float>::quiet_NaN(), "****.***S"},
        {Op::d_lon, std::numeric_limits<float>::infinity(), "***" DEG "**'**.**\"E"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(run(c.op, c.v), c.text);
    }
}

TEST(Formatters, IntoFieldsCutAtCapacity) {
    TextField<8> narrow;
    lat_cu(46.5f, narrow);
    EXPECT_EQ(narrow.view(), "4630.000");
}

// Every formatted text reads back as the value it came from, to the layout's resolution:
// a wrong carry or rounding shows up as a jump of a minute or a degree.
TEST(Formatters, ReadBackToTheirResolution) {
    struct Layout {
        Op op;
        const char* c_ori;
        double resolution;  // degrees
    };
    const Layout layouts[] = {
        {Op::cu_lat, "NS", 0.0005 / 60},   {Op::cu_lon, "WE", 0.0005 / 60},
        {Op::vlro_lat, "NS", 0.0005 / 60}, {Op::vlro_lon, "WE", 0.0005 / 60},
        {Op::d_lat, "NS", 0.006 / 3600},   {Op::d_lon, "WE", 0.006 / 3600},
        {Op::dms_lat, "NS", 0.5 / 3600},   {Op::dms_lon, "WE", 0.5 / 3600},
    };
    for (const Layout& l : layouts) {
        const double limit = std::string(l.c_ori) == "NS" ? 89.9 : 179.9;
        for (double d = -limit; d <= limit; d += 0.0123457) {
            const float v = static_cast<float>(d);
            const std::string text = run(l.op, v);
            TextField<20> field(text);
            float back = 0;
            ASSERT_NE(what_format(field, back, l.c_ori), 0) << text;
            // Plus two float steps of the value read back.
            ASSERT_NEAR(back, v, l.resolution + std::fabs(v) * 2.4e-7) << text;
        }
    }
}

// --- interpolated conversion ------------------------------------------------------------------

TEST(CnvCoord, InterpolatesEachAxisOrRefuses) {
    // Point 0 is the reference, 1 known and near, 2 known and far, 3 to fill in.
    struct Case {
        const char* what;
        std::array<float, 4> x, y;
        std::array<int, 4> known;
        int result;
    };
    const Case cases[] = {
        {"farthest known point scales", {0, 100, 1000, 250}, {0, 50, 2000, 1500}, {1, 1, 1, 0}, 1},
        {"no known point", {0, 100, 1000, 250}, {0, 50, 2000, 1500}, {1, 0, 0, 0}, 0},
        {"known points on point 0", {5, 5, 5, 250}, {5, 5, 5, 1500}, {1, 1, 1, 0}, 0},
        {"no X extent", {5, 5, 5, 250}, {5, 50, 90, 1500}, {1, 1, 1, 0}, 0},
        {"no Y extent", {5, 50, 90, 250}, {5, 5, 5, 1500}, {1, 1, 1, 0}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::array<int, cnv_max_points> wpnum{};
        std::array<float, cnv_max_points> tpx{}, tpy{}, tplat{46, 46.1f, 47, -1},
            tplon{9, 8.9f, 8, -1};
        std::copy(c.x.begin(), c.x.end(), tpx.begin());
        std::copy(c.y.begin(), c.y.end(), tpy.begin());
        std::copy(c.known.begin(), c.known.end(), wpnum.begin());
        // A count past the table is clamped to it.
        ASSERT_EQ(cnv_coord(c.result ? 4 : 1000, wpnum, tpx, tpy, tplat, tplon), c.result);
        EXPECT_NEAR(tplon[3], c.result ? 9 + 0.25f * (8 - 9) : -1, 1e-5);
        EXPECT_NEAR(tplat[3], c.result ? 46 + 0.75f * (47 - 46) : -1, 1e-5);
        EXPECT_EQ(tplat[1], 46.1f);
    }
}

}  // namespace
