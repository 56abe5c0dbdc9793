// The readers of files that come from outside, on bytes in memory: .cup records and tasks, and
// flight plans.
#include "formats/cup_file.hpp"

#include <gtest/gtest.h>

#include "app/jobs/fpl_file.hpp"

namespace {

TEST(ReadCup, RecordsAcrossLinesCommentsAndSkippedLines) {
    struct Case {
        const char* what;
        std::string bytes;
        std::vector<std::string> records;  // as the reader gives them
        std::vector<int> lines;            // their first lines
        std::size_t waypoints;
        std::string skipped;  // "line: fault" of the first skipped record
    };
    const Case cases[] = {
        {"a comment before the header line",
         "* club file\nname,code,country,lat,lon,elev\n\"A\",A,,4630.000N,00915.000E,1m\n",
         {"\"A\",A,,4630.000N,00915.000E,1m"},
         {3},
         1,
         ""},
        {"a quoted line break joins two lines",
         "\"A\",A,,4630.000N,00915.000E,1m,1,,,,\"two\nlines\"\n\"B\",B,,4630.000N,00915.000E,",
         {"\"A\",A,,4630.000N,00915.000E,1m,1,,,,\"two\r\nlines\"",
          "\"B\",B,,4630.000N,00915.000E,"},
         {1, 3},
         2,
         ""},
        {"a quote never closed is its line alone",
         "\"A\",A,,4630.000N,00915.000E,1m,\"x\n\"B\",B,,4630.000N,00915.000E,2m\n",
         {"\"A\",A,,4630.000N,00915.000E,1m,\"x", "\"B\",B,,4630.000N,00915.000E,2m"},
         {1, 2},
         2,
         ""},
        {"an unreadable record is kept and named",
         "\"\",A,,4630.000N,00915.000E,5m\n-----Related Tasks-----\n\"B\",B\n",
         {"\"\",A,,4630.000N,00915.000E,5m"},
         {1},
         0,
         "1: the name is empty"},
        {"an elevation that cannot be read leaves the waypoint a waypoint",
         "\"A\",A,,4630.000N,00915.000E,NoneNone\n",
         {"\"A\",A,,4630.000N,00915.000E,NoneNone"},
         {1},
         1,
         ""},
    };
    for (const Case& c : cases) {
        const CupContent cup = read_cup(c.bytes);
        std::vector<std::string> records;
        std::vector<int> lines;
        for (const CupRecord& r : cup.records) {
            records.push_back(r.text);
            lines.push_back(r.line);
        }
        EXPECT_EQ(records, c.records) << c.what;
        EXPECT_EQ(lines, c.lines) << c.what;
        EXPECT_EQ(cup.waypoints.size(), c.waypoints) << c.what;
        EXPECT_EQ(cup.skipped.empty()
                      ? ""
                      : std::to_string(cup.skipped[0].first) + ": " + cup.skipped[0].second,
                  c.skipped)
            << c.what;
    }
    EXPECT_TRUE(read_cup("\"A\",A,,4630.000N,00915.000E,1m,\"x\n").records[0].open_quote);
}

// What the one-pass reader takes (the fuzz target and the stored outputs hold it to the long
// way's point and written record) and what it must leave to the long way.
TEST(ReadUsualCupRecord, TakesOnlyRecordsWrittenBackAsTheyStand) {
    const std::pair<const char*, bool> cases[] = {
        {"\"Zell, See\",ZELL,AT,4719.000N,01247.500E,753.5m,5,,,,\"x\"", true},
        {"A,A,,4630.00000S,00915.000W,0m", true},
        {"A,A,,4630.000N,00915.000E,", false},  // no elevation given
        {"A,A,,4630.000N,00915.000E,504ft", false},
        {"A,A,,\"4630.000N\",00915.000E,1m", false},  // written back without its quotes
        {"A,A,,46.5,9.25,1m", false},                 // written back as DDMM.mmmN
        {"A,A,,4660.000N,00915.000E,1m", false},
        {"\"A \"\"B\"\"\",A,,4630.000N,00915.000E,1m", false},
        {" A,A,,4630.000N,00915.000E,1m", false},
    };
    for (const auto& [record, taken] : cases) {
        UsualPoint quick;
        bool no_elevation = false;
        EXPECT_EQ(read_usual_cup_record(record, CupColumns{}, quick, no_elevation), taken)
            << record;
    }
}

TEST(ReadCupTasks, RoutesTakeOffLandingAndPointsInPlace) {
    const std::vector<CupTask> tasks = read_cup_tasks(
        "Options,NoStart=12:00:00\n"  // belongs to no task
        "\"T1\",\"Home\",\"Home\",\"A\",\"B\",\"Home\",\"Home\"\n"
        "ObsZone=0,Style=2,R1=500m\n"
        "\"T2\",\"???\",\"A\",\"X\",\"A\",\"???\",\n"
        "Point=2,\"X\",X,,4630.000N,00915.000E,1m\n");
    ASSERT_EQ(tasks.size(), 2u);
    EXPECT_EQ(tasks[0].name, "T1");
    EXPECT_EQ(tasks[0].line, 2);
    EXPECT_EQ(tasks[0].last - tasks[0].first, 2u);  // the task line and its ObsZone line
    EXPECT_EQ(task_route(tasks[0]), (std::vector<std::size_t>{0, 2, 3, 4}));
    EXPECT_EQ(task_route(tasks[1]), (std::vector<std::size_t>{1, 2, 3}));
    ASSERT_EQ(tasks[1].inline_points.size(), 1u);
    EXPECT_EQ(tasks[1].inline_points[0].first, 2u);
}

TEST(ReadFlightPlan, TurnpointKeysOnly) {
    const FlightPlan plan = read_flight_plan(
        "[Task]\r\nLandscape=Alps\r\nCount=2\r\ntpname1=B  \r  \r\nTPPosX1=1.5\r\nTPPosY1=2\r\n"
        "TPName0=A\r\nTPPosX0=10\r\nTPPosY0=x\r\nTPPosZ0=300\r\nTPRadius0=500\r\n");
    EXPECT_EQ(plan.landscape, "Alps");
    ASSERT_EQ(plan.points.size(), 2u);
    EXPECT_EQ(plan.points[0].name, "A");
    EXPECT_TRUE(plan.points[0].has_z);
    EXPECT_FALSE(plan.points[0].has_y);  // "x" is no number
    EXPECT_EQ(plan.points[1].number, 1);
    EXPECT_EQ(plan.points[1].name, "B");  // a stray CR before the line end is no part of it
    EXPECT_FLOAT_EQ(plan.points[1].x, 1.5f);
    ASSERT_EQ(plan.faults.size(), 1u);
    EXPECT_EQ(plan.faults[0].first, 9);
}

}  // namespace
