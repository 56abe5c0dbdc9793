// Fuzzes the flight-plan reader (the TPName/TPPosX/TPPosY/TPPosZ keys of a fragment Varnix
// wrote or of a simulator flight plan). Beyond "no crash": turnpoints come in ascending
// number, each with a key or a fault on its line, and a plan written back with its keys reads
// back as the same plan.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <string>
#include <vector>

#include "app/jobs/fpl_file.hpp"
#include "fuzz/fuzz_check.hpp"
#include "util/cp1252.hpp"

namespace {

void append_key(std::string& out, const char* key, int number, std::string_view value) {
    out += key;
    out += std::to_string(number);
    out += '=';
    out += value;
    out += "\r\n";
}

void append_number(std::string& out, const char* key, int number, float v) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);  // shortest text that reads back
    append_key(out, key, number, std::string_view(buf, std::size_t(r.ptr - buf)));
}

std::string written(const FlightPlan& plan) {
    std::string out;
    if (!plan.landscape.empty()) out += "Landscape=" + plan.landscape + "\r\n";
    for (const FlightPlanPoint& p : plan.points) {
        if (p.has_name) append_key(out, "TPName", p.number, p.name);
        if (p.has_x) append_number(out, "TPPosX", p.number, p.x);
        if (p.has_y) append_number(out, "TPPosY", p.number, p.y);
        if (p.has_z) append_number(out, "TPPosZ", p.number, p.z);
    }
    return out;
}

bool has_key(const FlightPlanPoint& p) { return p.has_name || p.has_x || p.has_y || p.has_z; }

// A text read back: CRs at its end go with the line end, and a line that is UTF-8 as a whole is
// read as UTF-8 (bytes taken as Windows-1252 may read otherwise on a line of their own).
bool same_text(std::string_view a, std::string_view b) {
    while (a.ends_with('\r')) a.remove_suffix(1);
    return a == b || !is_ascii(a);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FlightPlan plan = read_flight_plan(as_text(data, size));
    for (std::size_t i = 0; i < plan.points.size(); ++i) {
        const FlightPlanPoint& p = plan.points[i];
        require(i == 0 || plan.points[i - 1].number < p.number, "turnpoints in ascending number");
        require(has_key(p) || std::any_of(plan.faults.begin(), plan.faults.end(),
                                          [&](const auto& f) { return f.first == p.line; }),
                "a turnpoint has a key, or its line a fault");
        require(p.line >= 1, "a turnpoint's line");
        require(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z),
                "positions are numbers");
    }

    const FlightPlan again = read_flight_plan(written(plan));
    require(again.faults.empty(), "a written plan reads without a fault");
    require(same_text(plan.landscape, again.landscape), "the landscape reads back");
    std::vector<FlightPlanPoint> keyed;  // a turnpoint whose only key was unreadable is not written
    std::copy_if(plan.points.begin(), plan.points.end(), std::back_inserter(keyed), has_key);
    require(again.points.size() == keyed.size(), "every turnpoint reads back");
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        const FlightPlanPoint& a = keyed[i];
        const FlightPlanPoint& b = again.points[i];
        require(a.number == b.number && a.has_name == b.has_name && a.has_x == b.has_x &&
                    a.has_y == b.has_y && a.has_z == b.has_z,
                "a turnpoint reads back with its keys");
        require(same_text(a.name, b.name), "a name reads back");
        require(a.x == b.x && a.y == b.y && a.z == b.z, "a position reads back");
    }
    return 0;
}
