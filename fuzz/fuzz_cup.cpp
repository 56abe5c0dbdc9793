// Fuzzes the .cup reader as a batch run takes a file: header and columns, records (a quoted
// field may run over several lines), waypoints, the task section and the route of each task.
// Beyond "no crash": every record is a waypoint or a skipped line, a route stays within its
// task, and a waypoint written back keeps every field of its record but the latitude and
// longitude, which read back as the position that was read, and an elevation that cannot be
// read, which is written empty; a record read the quick way reads
// the same the long way.
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "formats/cup_file.hpp"
#include "app/cup_tasks.hpp"
#include "fuzz/fuzz_check.hpp"
#include "fuzz/fuzz_cup_checks.hpp"
#include "geo/decode_coord.hpp"

namespace {

// Half a thousandth of a minute, and a float's step near 180 degrees.
constexpr float cu_tolerance = 0.0005f / 60 + 3e-5f;

void check_position(std::string_view text, float value, std::string_view c_ori) {
    TextField<20> field(text);
    float again = coord_invalid;
    what_format(field, again, c_ori);
    require(again != coord_invalid && std::fabs(again - value) <= cu_tolerance,
            "a written position reads back");
}

void check_written(const CupRecord& rec, const BatchPoint& read, const CupColumns& cols) {
    BatchPoint p = read;
    float lat = 0, lon = 0;
    int type = 0;
    decode_coord(p.c_lat, p.c_lon, lat, lon, type);
    if (lat == coord_invalid || lon == coord_invalid) return;  // the batch stops there

    std::string out;
    append_cup_waypoint(out, rec.text, p, lat, lon);
    require(out.ends_with("\r\n"), "a waypoint line ends with CR LF");
    out.resize(out.size() - 2);
    static std::vector<CupField> before, after;
    const bool closed = split_cup_fields(rec.text, before);
    // A quote left open in a position field goes with the text the position is rewritten from.
    const int open_field = closed ? -1 : int(before.size()) - 1;
    const bool rewritten = open_field == cols.lat || open_field == cols.lon;
    const bool closed_after = split_cup_fields(out, after);
    require(closed_after == closed || (rewritten && closed_after), "quotes stay as they were");
    require(after.size() == before.size(), "a written waypoint keeps every column");
    const bool blanked = !read.elevation_fault.empty() && read.elev_end > read.elev_begin;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (int(i) == cols.lat || int(i) == cols.lon) continue;
        if (int(i) == cols.elev && blanked)
            require(after[i].value.empty(), "an elevation that cannot be read is written empty");
        else
            require(after[i].value == before[i].value, "a written waypoint keeps every field");
    }
    check_position(after[std::size_t(cols.lat)].value, lat, "NS");
    check_position(after[std::size_t(cols.lon)].value, lon, "WE");
}

// A record read the quick way reads the same the long way, and is written back as it stands.
void check_quick(const CupRecord& rec, const CupColumns& cols) {
    UsualPoint quick;
    bool no_elevation = false;
    if (!read_usual_cup_record(rec.text, cols, quick, no_elevation)) return;
    static std::vector<CupField> scratch;
    BatchPoint p;
    std::string fault;
    require(parse_cup_record(rec.text, cols, scratch, p, fault), "a quick record is a waypoint");
    float lat = 0, lon = 0;
    int type = 0;
    decode_coord(p.c_lat, p.c_lon, lat, lon, type);
    require(type == fmt_waypoint && lat == quick.lat && lon == quick.lon && p.name == quick.name &&
                p.alt == quick.alt && p.alt_empty == no_elevation,
            "the quick way reads the record the long way reads");
    std::string out;
    append_cup_waypoint(out, rec.text, p, lat, lon);
    require(out == rec.text + "\r\n", "a quick record is written as it stands");
}

// A run converts one task: its route looked up among the records.
void check_route(const CupTask& t, const CupContent& c) {
    std::string error;
    std::vector<std::string> notes;
    const std::vector<CupRecord> records = route_records(t, c.records, c.columns, error, notes);
    require(records.empty() || (records.size() == task_route(t).size() && error.empty()),
            "a route's records: all of them, or none and a reason");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const CupContent c = read_cup(as_text(data, size));
    require(c.records.size() == c.waypoints.size() + c.skipped.size(),
            "every record is a waypoint or a skipped line");
    const CupColumns& cols = c.columns;
    require(cols.name >= 0 && cols.lat >= 0 && cols.lon >= 0 && cols.name != cols.lat &&
                cols.name != cols.lon && cols.lat != cols.lon,
            "name, lat and lon are three columns");
    for (const CupRecord& r : c.records) check_quick(r, cols);
    for (const BatchPoint& p : c.waypoints) {
        require(p.nump >= 0 && std::size_t(p.nump) < c.records.size(), "a waypoint's record");
        check_written(c.records[std::size_t(p.nump)], p, cols);
    }
    check_tasks(c.tasks, c.task_section.size());
    std::string error;
    const CupTask* first = pick_task(c.tasks, "1", error);
    require((first != nullptr) == !c.tasks.empty(), "the first task is task 1");
    if (first != nullptr) check_route(*first, c);
    return 0;
}
