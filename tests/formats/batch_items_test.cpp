// The readers of batch input lines and the output field rules.
#include "formats/batch_items.hpp"

#include <gtest/gtest.h>

#include "formats/cup_file.hpp"

namespace {

TEST(SplitItems, BlanksCommasQuotesAndSlash) {
    struct Case {
        std::string line;
        int count;
        std::vector<std::string> items;
    };
    const Case cases[] = {
        {"1 Name 46.5 9.25 100", 5, {"1", "Name", "46.5", "9.25", "100"}},
        {"1,Name,46.5,9.25,100", 5, {"1", "Name", "46.5", "9.25", "100"}},
        {"  1 ,  Name ,46.5  9.25,100  ", 5, {"1", "Name", "46.5", "9.25", "100"}},
        {"1 'St. Moritz, Dorf' 46.5 9.25 1800",
         5,
         {"1", "St. Moritz, Dorf", "46.5", "9.25", "1800"}},
        {"2 \"a/b\" \"46 30 N\" 9 0", 5, {"2", "a/b", "46 30 N", "9", "0"}},
        {"3 'it''s' 1 2 3", 5, {"3", "it's", "1", "2", "3"}},
        {"4 A 1 2 3 extra items", 5, {"4", "A", "1", "2", "3"}},
        {"5 A 1 / 2 3", 3, {"5", "A", "1"}},
        {"6 A 1 2", 4, {"6", "A", "1", "2"}},
        {"\t7\tTab\t1\t2\t3", 5, {"7", "Tab", "1", "2", "3"}},
        {"8,,A,1,2", -1, {}},
        {"9 'open 1 2 3", -1, {}},
        {"10 'a'b 1 2 3", -1, {}},
        {"", 0, {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> items;
        int n = split_items(c.line, items, 5);
        EXPECT_EQ(n, c.count) << c.line;
        if (n > 0) {
            items.resize(std::size_t(n));
            EXPECT_EQ(items, c.items) << c.line;
        }
    }
}

TEST(ParseBatchLine, PointsSkipsAndBadLines) {
    std::vector<std::string> scratch;
    BatchPoint p;
    EXPECT_EQ(parse_batch_line("", scratch, p), LineResult::skip);
    EXPECT_EQ(parse_batch_line("   ", scratch, p), LineResult::skip);
    EXPECT_EQ(parse_batch_line("Landscape=Alps", scratch, p), LineResult::skip);
    EXPECT_EQ(parse_batch_line("1 MyLandscapeHill 46 9 0", scratch, p),
              LineResult::landscape_skipped);
    for (const char* more : {"2 Comma 46,5 9,25 1000", "1 A 46.5 9.25 100 extra"}) {
        EXPECT_EQ(parse_batch_line(more, scratch, p), LineResult::too_many_items) << more;
    }
    EXPECT_EQ(parse_batch_line("1 A 46.5 9.25 100 / a comment, with commas", scratch, p),
              LineResult::point);
    for (const char* bad : {"1 A 46.5 9.25", "x A 46.5 9.25 100", "1.5 A 46.5 9.25 100",
                            "1 A 46.5 9.25 high", "1 A 46.5 9.25 nan", "1,,46.5,9.25,100"}) {
        EXPECT_EQ(parse_batch_line(bad, scratch, p), LineResult::bad) << bad;
    }
    ASSERT_EQ(parse_batch_line("-3 'A very long turnpoint name that is cut here' "
                               "4630.000N 00915.000E 1250.5",
                               scratch, p),
              LineResult::point);
    EXPECT_EQ(p.nump, -3);
    EXPECT_EQ(p.name, "A very long turnpoint name that is cut here");
    EXPECT_EQ(p.c_lat.view(), "4630.000N");
    EXPECT_FLOAT_EQ(p.alt, 1250.5f);
}

// What the one-pass reader takes (the fuzz target and the stored batch outputs hold it to the
// long way's results) and what it must leave to the long way.
TEST(ReadUsualBatchLine, TakesOnlyThePlainLayout) {
    const std::pair<const char*, bool> cases[] = {
        {"  12,Name , -46.4095601\t9.4013452 ,558.5  ", true},
        {"123456789 N 90 -180 0", true},
        {"1234567890 N 46.5 9.25 100", false},        // past nine digits: from_chars decides
        {"100555555555555555 N 46.5 9.25 0", false},  // not added up past nine: no overflow
        {"1 'Name' 46.5 9.25 100", false},
        {"1 MyLandscape 46.5 9.25 100", false},
        {"1 N 46. 9.25 100", false},  // not ending in a digit: the recogniser's long way
        {"1 N 90.00001 9.25 100", false},
        {"1 N 4630.500N 00915.000E 100", false},
        {"1 N 46.5 9.25 1e3", false},
        {"1 N 46.5 9.25 100 / comment", false},
        {"1,,46.5,9.25,100", false},
    };
    for (const auto& [line, taken] : cases) {
        UsualPoint quick;
        EXPECT_EQ(read_usual_batch_line(line, quick), taken) << line;
    }
}

TEST(SplitCupFields, QuotingWithDoubledQuotesAndSpans) {
    std::vector<CupField> f;
    const std::string_view rec =
        "\" Zell, \"\"See\"\" \", ZELL ,AT,4718.000N,01247.000E,750.0m,1,,,,";
    ASSERT_TRUE(split_cup_fields(rec, f));
    EXPECT_EQ(f.size(), 11u);
    EXPECT_EQ(f[0].value, " Zell, \"See\" ");  // blanks inside quotes are kept
    EXPECT_EQ(f[1].value, "ZELL");
    EXPECT_EQ(rec.substr(f[1].begin, f[1].end - f[1].begin), "ZELL");
    EXPECT_EQ(rec.substr(f[3].begin, f[3].end - f[3].begin), "4718.000N");
    EXPECT_EQ(f[10].value, "");
    EXPECT_FALSE(split_cup_fields("\"open,a,b", f));
    EXPECT_EQ(f.size(), 1u);
    ASSERT_TRUE(split_cup_fields("a", f));
    EXPECT_EQ(f.size(), 1u);
}

TEST(CupHeader, FindsColumnsByName) {
    CupColumns cols;
    std::vector<CupField> f;
    split_cup_fields("name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc", f);
    ASSERT_TRUE(read_cup_header(f, cols));
    EXPECT_EQ(cols.lat, 3);
    split_cup_fields(
        "Title,Code,Country,Latitude,Longitude,Elevation,Style,Direction,Length,Frequency,"
        "Description",
        f);  // older spelling
    ASSERT_TRUE(read_cup_header(f, cols));
    EXPECT_EQ(cols.lon, 4);
    split_cup_fields("code,lat,lon,name,elev", f);
    ASSERT_TRUE(read_cup_header(f, cols));
    EXPECT_EQ(cols.name, 3);
    EXPECT_EQ(cols.lat, 1);
    EXPECT_EQ(cols.elev, 4);
    split_cup_fields("\"Home\",H,,4630.000N,00915.000E,500m,1", f);
    EXPECT_FALSE(read_cup_header(f, cols));
}

TEST(CupElevation, MetresAndFeet) {
    const std::pair<const char*, float> good[] = {
        {"504.0m", 504.0f}, {"504", 504.0f}, {"1000ft", 304.8f}, {"1000 ft", 304.8f},
        {"", 0.0f},         {"12M", 12.0f},  {"-5m", -5.0f},
    };
    for (const auto& [text, metres] : good) {
        float m = -1;
        EXPECT_TRUE(read_cup_elevation(text, m)) << text;
        EXPECT_FLOAT_EQ(m, metres) << text;
    }
    float m = 0;
    EXPECT_FALSE(read_cup_elevation("high", m));
    EXPECT_FALSE(read_cup_elevation("5 0m", m));
}

TEST(ParseCupLine, UsesTheColumns) {
    std::vector<CupField> scratch;
    BatchPoint p;
    CupColumns cols;
    std::string fault;
    ASSERT_TRUE(parse_cup_record("\"Säntis\",SAENTIS,CH,4714.980N,00920.580E,8202ft,1,,,,", cols,
                                 scratch, p, fault));
    EXPECT_EQ(p.name, "Säntis");
    EXPECT_EQ(p.c_lon.view(), "00920.580E");
    EXPECT_NEAR(p.alt, 2499.97f, 0.01f);
    EXPECT_FALSE(parse_cup_record("\"A\",B,C", cols, scratch, p, fault));
    EXPECT_EQ(fault, "3 fields, 6 needed for name, lat, lon and elev");
    EXPECT_TRUE(is_cup_tasks_line("-----Related Tasks-----"));
    EXPECT_FALSE(is_cup_tasks_line("\"-----Related Tasks-----\""));
}

TEST(CsvField, QuotedWhenNeeded) {
    std::string out;
    append_csv_field(out, "Zell, am \"See\"", false);
    EXPECT_EQ(out, "\"Zell, am \"\"See\"\"\"");
    out.clear();
    append_csv_field(out, "Plain", false);
    EXPECT_EQ(out, "Plain");
    out.clear();
    append_csv_field(out, "Plain", true);
    EXPECT_EQ(out, "\"Plain\"");
}

TEST(CupFileName, FromTheFlightPlanName) {
    const std::pair<const char*, const char*> cases[] = {
        {"out.fpl", "out.cup"},     {"dir.fpl/x.fpl", "dir.fpl/x.cup"},
        {"a.b.fpl", "a.b.cup"},     {"out.txt", "out.cup"},
        {"dir/out", "dir/out.cup"}, {"../my.dir/out", "../my.dir/out.cup"},
        {"./pts.fpl", "./pts.cup"}, {".hidden", ".hidden.cup"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(cup_file_name(in), out) << in;
}

}  // namespace
