// A task read from each task format and written in each: read back, it is the same task as far
// as the format written can hold it, and each rule it cannot hold is named in a note.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "formats/cup_rules.hpp"
#include "formats/cup_write.hpp"
#include "formats/gpx.hpp"
#include "formats/task_write.hpp"
#include "formats/tsk.hpp"
#include "formats/xctsk.hpp"

namespace {

std::string tsk_point(const char* type, const char* name, const char* lat, const char* lon,
                      const char* zone) {
    return std::string("<Point type=\"") + type + "\"><Waypoint name=\"" + name +
           "\" comment=\"c " + name + "\" altitude=\"450\"><Location latitude=\"" + lat +
           "\" longitude=\"" + lon + "\"/></Waypoint><ObservationZone " + zone + "/></Point>\n";
}

// Every zone XCSoar has, one a point, in a racing task.
const std::string tsk_zones =
    "<Task type=\"RT\">\n" + tsk_point("Start", "S", "46.5", "9.25", "type=\"BGAStartSector\"") +
    tsk_point("Turn", "T1", "46.6", "9.3", "type=\"FAISector\"") +
    tsk_point("Turn", "T2", "46.7", "9.3", "type=\"Keyhole\"") +
    tsk_point("Turn", "T3", "46.7", "9.4",
              "type=\"CustomKeyhole\" radius=\"12000\" inner_radius=\"1000\"") +
    tsk_point("Turn", "T4", "46.6", "9.5", "type=\"BGAFixedCourse\"") +
    tsk_point("Turn", "T5", "46.5", "9.5", "type=\"BGAEnhancedOption\"") +
    tsk_point("Turn", "T6", "46.4", "9.4",
              "type=\"SymmetricQuadrant\" radius=\"8000\" angle=\"60\"") +
    tsk_point("Turn", "T7", "46.4", "9.3", "type=\"MatCylinder\"") +
    tsk_point("Turn", "T8", "46.45", "9.2",
              "type=\"Sector\" radius=\"5000\" start_radial=\"300\" end_radial=\"60\"") +
    tsk_point("Finish", "F", "46.5", "9.25", "type=\"Line\" length=\"1000\"") + "</Task>\n";

// As XCSoar saves an AAT task: its rules, areas, and an optional start after the finish.
const std::string tsk_aat =
    "<Task type=\"AAT\" aat_min_time=\"10800\" start_max_height=\"2500\" "
    "start_max_height_ref=\"MSL\" start_open_time=\"12:30\" start_close_time=\"14:00\" "
    "finish_min_height=\"300\" finish_min_height_ref=\"MSL\">\n" +
    tsk_point("Start", "Home", "46.5", "9.25", "type=\"Line\" length=\"10000\"") +
    tsk_point("Area", "A1", "46.6", "9.4", "type=\"Cylinder\" radius=\"20000\"") +
    tsk_point("Area", "A2", "46.4", "9.45",
              "type=\"Sector\" radius=\"15000\" start_radial=\"300\" end_radial=\"60\" "
              "inner_radius=\"3000\"") +
    tsk_point("Finish", "Home", "46.5", "9.25", "type=\"Cylinder\" radius=\"3000\"") +
    tsk_point("OptionalStart", "Other", "46.52", "9.3", "type=\"Line\" length=\"10000\"") +
    "</Task>\n";

const std::string xctsk_v1 =
    R"({"taskType":"CLASSIC","version":1,"earthModel":"WGS84","turnpoints":[)"
    R"({"type":"TAKEOFF","radius":400,"waypoint":{"name":"Cimetta","description":"launch",)"
    R"("lat":46.2005,"lon":8.7912,"altSmoothed":1600}},)"
    R"({"type":"SSS","radius":3000,"waypoint":{"name":"Start","lat":46.25,"lon":8.85,)"
    R"("altSmoothed":1200}},)"
    R"({"radius":1000,"waypoint":{"name":"Biasca","lat":46.36,"lon":8.97,"altSmoothed":300}},)"
    R"({"type":"ESS","radius":2000,"waypoint":{"name":"Magadino","lat":46.1597,"lon":8.8806,)"
    R"("altSmoothed":197}},)"
    R"({"radius":400,"waypoint":{"name":"Goal","lat":46.1603,"lon":8.7872,"altSmoothed":198}}],)"
    R"("sss":{"type":"ELAPSED-TIME","direction":"ENTER","timeGates":["11:30:00Z","11:45:00Z"]},)"
    R"("goal":{"type":"LINE","deadline":"17:00:00Z"}})";

// The same task as a QR code carries it (one time gate).
const std::string xctsk_qr =
    R"(XCTSK:{"taskType":"CLASSIC","version":2,"t":[)"
    R"({"z":"_`tt@cp~xG_cB_X","n":"Cimetta","d":"launch"},)"
    R"({"z":"oo_u@oehyG_jAozD","n":"Start","t":2},{"z":"o}vu@_u}yGwQo}@","n":"Biasca"},)"
    R"({"z":"wneu@cqvxGiK_|B","n":"Magadino","t":3},{"z":"_gst@{tvxGkK_X","n":"Goal"}],)"
    R"("s":{"g":["11:30:00Z"],"d":1,"t":2},"g":{"t":1}})";

const std::string cup_rules =
    "name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc\r\n"
    "\"Home\",H,,4630.000N,00915.000E,450m,5,,,,\"Club field\"\r\n"
    "\"Peak\",P,,4636.000N,00924.000E,2100m,7,,,,\r\n"
    "\"Pass\",S,,4624.000N,00927.000E,1800m,6,,,,\r\n"
    "\"Other\",O,,4631.200N,00918.000E,500m,1,,,,\r\n"
    "-----Related Tasks-----\r\n"
    "\"Tri\",\"Home\",\"Home\",\"Peak\",\"Pass\",\"Home\",\"Home\"\r\n"
    "Options,NoStart=12:00:00,TaskTime=02:30:00,WpDis=False\r\n"
    "ObsZone=0,Style=2,R1=2500m,A1=90,MaxAlt=2000m,Line=1\r\n"
    "ObsZone=1,Style=0,R1=20km,A1=45,A12=90\r\n"
    "ObsZone=2,Style=1,R1=10000m,A1=45,R2=500m,A2=180\r\n"
    "ObsZone=3,Style=3,R1=500m,A1=180\r\n"
    "STARTS=\"Other\"\r\n";

const std::string gpx_route =
    "<gpx version=\"1.1\"><rte><name>Loop</name>"
    "<rtept lat=\"46.5\" lon=\"9.25\"><ele>450</ele><name>Home</name><desc>field</desc></rtept>"
    "<rtept lat=\"46.6\" lon=\"9.4\"><name>Peak</name></rtept>"
    "<rtept lat=\"46.5\" lon=\"9.25\"><ele>450</ele><name>Home</name><desc>field</desc></rtept>"
    "</rte></gpx>";

enum class Out { cup, tsk, xctsk, gpx };

FormatContent read_as(Out out, const std::string& bytes) {
    switch (out) {
        case Out::cup:
            return read_cup_records(bytes);
        case Out::tsk:
            return read_tsk(bytes);
        case Out::xctsk:
            return read_xctsk(bytes);
        case Out::gpx:
            return read_gpx(bytes);
    }
    return {};
}

std::string written(Out out, const FormatContent& c, std::vector<FormatFault>& notes) {
    std::vector<std::string> places;
    switch (out) {
        case Out::cup:
            return write_cup(c, "task", places, &notes);
        case Out::tsk:
            return write_tsk(c.tasks[0], 0, notes);
        case Out::xctsk:
            return write_xctsk(c.tasks[0], 0, notes);
        case Out::gpx:
            return write_gpx(c, notes);
    }
    return {};
}

// What format `out` can hold of `t`.
FormatTask kept(FormatTask t, Out out) {
    using S = ObsZone::Shape;
    TaskRules& r = t.rules;
    const bool lines_only_at_goal = out == Out::xctsk;
    if (out != Out::xctsk) {
        r.start_kind.clear();
        r.start_direction.clear();
        r.end_of_speed = -1;
        r.time_gates.clear();
    }
    if (out == Out::cup) {
        r.start_close = -1;
        r.finish_min_height = -1;
        if (r.type != "AAT") r.type = "RT";
        for (FormatPoint& p : t.optional_starts) p.zone = {};
        if (t.has_takeoff) t.points[0].zone = {};
        for (FormatPoint& p : t.points)
            if (p.zone.shape == S::mat_cylinder) p.zone = {S::cylinder, 1609.344};
    }
    if (out == Out::tsk && t.has_takeoff) {
        t.points.erase(t.points.begin());
        t.has_takeoff = false;
        if (r.end_of_speed >= 0) --r.end_of_speed;
    }
    if (out == Out::xctsk) {
        TaskRules x;
        x.start_open = r.time_gates.empty() ? r.start_open : r.time_gates[0];
        x.time_gates = r.time_gates;
        if (x.time_gates.empty() && x.start_open >= 0) x.time_gates = {x.start_open};
        x.start_kind = r.start_kind;
        x.start_direction = r.start_direction;
        x.end_of_speed = r.end_of_speed;
        r = x;
        t.optional_starts.clear();
        for (std::size_t i = 0; i < t.points.size(); ++i) {
            ObsZone& z = t.points[i].zone;
            const bool goal_line = z.shape == S::line && i + 1 == t.points.size();
            if (z.shape != S::cylinder && !(lines_only_at_goal && goal_line)) z = {};
        }
    }
    if (out == Out::gpx) {
        r = {};
        t.optional_starts.clear();
        t.has_takeoff = false;
        for (FormatPoint& p : t.points) {
            p.role = PointRole::point;
            p.zone = {};
        }
    }
    return t;
}

std::string number(const std::string& text) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.5f", text.empty() ? 0.0 : std::strtod(text.c_str(), nullptr));
    return buf;
}

std::string zone_text(const ObsZone& z) {
    return std::to_string(int(z.shape)) + " r" + number_text(z.radius) + " i" +
           number_text(z.inner_radius) + " l" + number_text(z.length) + " " +
           number_text(z.start_radial) + "-" + number_text(z.end_radial) + " a" +
           number_text(z.angle);
}

// A task as one line per point and one of rules: what a reader and a pilot care about, the
// notation of numbers aside.
std::string summary(const FormatTask& t) {
    std::string s = t.has_takeoff ? "take-off first\n" : "";
    for (std::size_t i = 0; i < t.points.size(); ++i) {
        const FormatPoint& p = t.points[i];
        PointRole role = role_in_task(t, i);
        if (role == PointRole::area && t.rules.type != "AAT") role = PointRole::turn;
        s += p.name + " " + number(p.lat) + " " + number(p.lon) + " " + number(p.elevation) + " '" +
             p.comment + "' role " + std::to_string(int(role)) + " zone " + zone_text(p.zone) +
             "\n";
    }
    for (const FormatPoint& p : t.optional_starts)
        s += "optional " + p.name + " " + number(p.lat) + " zone " + zone_text(p.zone) + "\n";
    const TaskRules& r = t.rules;
    s += "type " + (r.type.empty() ? std::string("RT") : r.type) + " aat " +
         std::to_string(r.aat_min_time) + " open " + std::to_string(r.start_open) + "-" +
         std::to_string(r.start_close) + " heights " + number_text(r.start_max_height) + " " +
         number_text(r.finish_min_height) + " sss " +
         (r.start_kind.empty() ? "RACE" : r.start_kind) + " " +
         (r.start_direction.empty() ? "EXIT" : r.start_direction) + " ess " +
         std::to_string(r.end_of_speed) + " gates";
    for (int g : r.time_gates) s += " " + std::to_string(g);
    return s;
}

TEST(TaskRoundTrip, EveryFormatIntoEveryFormat) {
    const struct {
        const char* input;
        const std::string& bytes;
        FormatContent (*read)(std::string_view);
    } inputs[] = {
        {"tsk zones", tsk_zones, read_tsk},   {"tsk aat", tsk_aat, read_tsk},
        {"xctsk", xctsk_v1, read_xctsk},      {"xctsk qr", xctsk_qr, read_xctsk},
        {"cup", cup_rules, read_cup_records}, {"gpx", gpx_route, read_gpx},
    };
    // Per input and output, the notes the conversion must give: pieces of their texts.
    const struct {
        const char* input;
        Out out;
        std::vector<std::string> notes;
    } rows[] = {
        {"tsk zones", Out::cup, {"MAT cylinder written as a cylinder"}},
        {"tsk zones", Out::tsk, {}},
        {"tsk zones", Out::xctsk, {"zone FAISector left out", "zone MatCylinder"}},
        {"tsk zones", Out::gpx, {"GPX route holds the points only"}},
        {"tsk aat",
         Out::cup,
         {"optional starts kept aside", "closing time", "minimum height",
          "zones of its optional starts"}},
        {"tsk aat", Out::tsk, {"optional starts kept aside"}},
        {"tsk aat",
         Out::xctsk,
         {"task type AAT", "AAT time", "closing time", "optional starts", "zone Line left out",
          "zone Sector left out"}},
        {"tsk aat", Out::gpx, {"GPX route holds the points only"}},
        {"xctsk", Out::cup, {"start gates after the first", "speed section", "take-off's zone"}},
        {"xctsk", Out::tsk, {"take-off Cimetta left out", "speed section", "start gates"}},
        {"xctsk", Out::xctsk, {}},
        {"xctsk", Out::gpx, {"GPX route holds the points only"}},
        {"xctsk qr", Out::cup, {"speed section", "take-off's zone"}},
        {"xctsk qr", Out::tsk, {"take-off Cimetta left out", "speed section"}},
        {"xctsk qr", Out::xctsk, {}},
        {"xctsk qr", Out::gpx, {"GPX route holds the points only"}},
        {"cup", Out::cup, {}},
        {"cup", Out::tsk, {"take-off Home left out"}},
        {"cup",
         Out::xctsk,
         {"task type AAT", "AAT time", "maximum height", "optional starts", "zone Line left out",
          "zone Sector left out", "zone Keyhole left out"}},
        {"cup", Out::gpx, {"GPX route holds the points only"}},
        {"gpx", Out::cup, {}},
        {"gpx", Out::tsk, {}},
        {"gpx", Out::xctsk, {}},
        {"gpx", Out::gpx, {}},
    };
    for (const auto& row : rows) {
        const auto* in = &inputs[0];
        while (std::string(in->input) != row.input) ++in;
        const FormatContent read = in->read(in->bytes);
        ASSERT_TRUE(read.error.empty() && read.skipped.empty() && read.tasks.size() == 1)
            << row.input << ": " << read.error;
        std::vector<FormatFault> notes = read.notes;
        const std::string bytes = written(row.out, read, notes);
        const FormatContent back = read_as(row.out, bytes);
        const std::string what = std::string(row.input) + " as " + std::to_string(int(row.out));
        ASSERT_TRUE(back.error.empty() && back.skipped.empty() && back.tasks.size() == 1)
            << what << ": " << back.error << "\n"
            << bytes;
        EXPECT_EQ(summary(back.tasks[0]), summary(kept(read.tasks[0], row.out))) << what << "\n"
                                                                                 << bytes;
        std::string said;
        for (const FormatFault& n : notes) said += n.what + "\n";
        for (const std::string& piece : row.notes)
            EXPECT_NE(said.find(piece), std::string::npos) << what << " says " << piece << ":\n"
                                                           << said;
        EXPECT_EQ(notes.size() == 0, row.notes.empty()) << what << ":\n" << said;
    }
}

}  // namespace
