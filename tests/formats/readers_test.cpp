// The readers of outside task and waypoint formats: what a file gives as plain records (written
// out one per line), and the .cup file made of them.
#include <gtest/gtest.h>

#include <string>

#include "formats/cup_write.hpp"
#include "formats/gpx.hpp"
#include "formats/tsk.hpp"
#include "formats/xctsk.hpp"

namespace {

std::string point_text(const FormatPoint& p) {
    return p.name + " " + p.lat + " " + p.lon + " " + (p.elevation.empty() ? "-" : p.elevation) +
           " @" + p.place;
}

// One line per waypoint, task, skipped point, or the error.
std::string described(const FormatContent& c) {
    std::string out;
    if (!c.error.empty()) out += "error " + c.error + "\n";
    for (const FormatPoint& p : c.waypoints) out += "wpt " + point_text(p) + "\n";
    for (const FormatTask& t : c.tasks) {
        out += "task " + t.name + (t.has_takeoff ? " (take-off first)" : "") + ":";
        for (const FormatPoint& p : t.points) out += " [" + point_text(p) + "]";
        out += "\n";
    }
    for (const FormatFault& f : c.skipped)
        out += "skip " + f.text() + " (task " + std::to_string(f.task) + ")\n";
    return out;
}

TEST(Readers, WhatEachFormatGives) {
    const std::string tsk_point =
        "<Point type=\"Turn\"><Waypoint name=\"B\" altitude=\"1200.0\">"
        "<Location latitude=\"46.75\" longitude=\"9.5\"/></Waypoint></Point>\n";
    const struct {
        FormatContent (*read)(std::string_view);
        std::string what, bytes, want;
    } cases[] = {
        {read_gpx, "1.1 waypoints and a route, names and elevations",
         "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" "
         "xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
         "<wpt lat=\"46.5\" lon=\"9.25\"><ele>450</ele><name> Home </name></wpt>\n"
         "<rte><name>R</name><rtept lat=\"-46.5\" lon=\"-9.25\"/></rte></gpx>",
         "wpt Home 46.5 9.25 450 @line 3\ntask R: [rtept 1 -46.5 -9.25 - @line 4]\n"},
        {read_gpx, "1.0, UTF-8 names kept, numbers not written plain",
         "<gpx version=\"1.0\"><wpt lat=\"+4.65e1\" "
         "lon=\"9\"><name>\xC5\x81\xC3\xB3\x64\xC5\xBA</name>"
         "<ele>1.5E2</ele></wpt></gpx>",
         "wpt \xC5\x81\xC3\xB3\x64\xC5\xBA 46.5 9 150.0 @line 1\n"},
        {read_gpx, "a point without coordinates or out of range is skipped, named",
         "<gpx>\n<wpt lon=\"9\"/>\n<wpt lat=\"91\" lon=\"9\"/>\n<rte><rtept lat=\"1\" lon=\"x\"/>"
         "</rte>\n<wpt lat=\"1\" lon=\"2\"><ele>high</ele></wpt></gpx>",
         "task Route 1:\nskip line 2: wpt without lat (task -1)\n"
         "skip line 3: lat \"91\" is not a latitude (task -1)\n"
         "skip line 5: elevation \"high\" is not a number (task -1)\n"
         "skip line 4: lon \"x\" is not a longitude (task 0)\n"},
        {read_gpx, "broken XML", "<gpx>\n<wpt lat=\"1\"",
         "error line 2: not XML (Error parsing start element tag)\n"},
        {read_gpx, "XML that is no GPX", "<kml/>", "error no gpx element: not a GPX file\n"},
        {read_tsk, "points in order",
         "<Task type=\"RT\">\n<Point type=\"Start\"><Waypoint name=\"A\" altitude=\"450\">"
         "<Location latitude=\"46.5\" longitude=\"9.25\"/></Waypoint></Point>\n" +
             tsk_point + "</Task>",
         "task : [A 46.5 9.25 450 @line 2] [B 46.75 9.5 1200.0 @line 3]\n"},
        {read_tsk, "a point without a location is skipped",
         "<Task>\n<Point type=\"Area\"><Waypoint name=\"X\"/></Point>\n" + tsk_point + "</Task>",
         "task : [B 46.75 9.5 1200.0 @line 3]\nskip line 2: Waypoint without Location (task 0)\n"},
        {read_tsk, "no task", "<Tasks/>", "error no Task element: not a task file\n"},
        {read_xctsk, "take-off first, the rest in order",
         R"({"version":1,"turnpoints":[{"type":"TAKEOFF","waypoint":{"name":"T","lat":46.5,)"
         R"("lon":9.25,"altSmoothed":450}},{"type":"SSS","waypoint":{"name":"S","lat":46.75,)"
         R"("lon":9.5}}]})",
         "task  (take-off first): [T 46.5 9.25 450 @turnpoint 1] [S 46.75 9.5 - @turnpoint 2]\n"},
        {read_xctsk, "a turnpoint without a position is skipped",
         R"({"turnpoints":[{"waypoint":{"name":"A","lon":9}},{"waypoint":{"lat":"46.5","lon":9}}]})",
         "task : [Turnpoint 2 46.5 9 - @turnpoint 2]\n"
         "skip turnpoint 1: waypoint without lat (task 0)\n"},
        {read_xctsk, "broken JSON", "{\n\"turnpoints\": [", "error line 2: not JSON\n"},
        {read_xctsk, "the QR code form: a bad polyline is skipped, named",
         R"(XCTSK:{"version":2,"t":[{"n":"A","z":"_`tt@cp~xG_cB_X"},{"n":"B","z":"??"}]})",
         "task : [A 46.2005 8.7912 1600 @turnpoint 1]\n"
         "skip turnpoint 2: z \"??\" is not a position and radius (task 0)\n"},
        {read_xctsk, "the QR code form of another version", R"(XCTSK:{"version":3,"t":[]})",
         "error XCTSK: version 3 is not read: version 2 is\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(described(c.read(c.bytes)), c.want) << c.what;
}

TEST(Readers, WrittenAsACupFile) {
    // The task's second point has the name of the first, elsewhere.
    auto point = [](const char* lat, const char* elevation, const char* place) {
        FormatPoint p;
        p.name = "Col, high";
        p.lat = lat;
        p.lon = "9.25";
        p.elevation = elevation;
        p.place = place;
        return p;
    };
    FormatContent c;
    c.waypoints = {point("46.5", "450", "line 2")};
    c.tasks.resize(1);
    c.tasks[0].name = "T";
    c.tasks[0].place = "line 3";
    c.tasks[0].points = {point("46.5", "450", "line 4"), point("46.6", "", "line 5")};
    std::vector<std::string> places;
    EXPECT_EQ(write_cup(c, "file", places),
              "name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc\r\n"
              "\"Col, high\",\"Col, hig\",,46.5,9.25,450m,1,,,,\r\n"
              "-----Related Tasks-----\r\n"
              "\"T\",\"???\",\"Col, high\",\"Col, high\",\"???\"\r\n"
              "Point=2,\"Col, high\",\"Col, hig\",,46.6,9.25,,1,,,,\r\n");
    EXPECT_EQ(places, (std::vector<std::string>{"", "line 2", "", "line 3", "line 5"}));
}

}  // namespace
