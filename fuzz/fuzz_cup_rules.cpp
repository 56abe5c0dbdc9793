// Fuzzes a .cup file read as plain records (waypoints, tasks, their Options, ObsZone= and
// STARTS= lines): no crash, and what it gives holds (fuzz_format_checks.hpp). The writers are
// fuzzed with the other task formats' readers.
#include "formats/cup_rules.hpp"
#include "fuzz/fuzz_format_checks.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FormatContent c = read_cup_records(as_text(data, size));
    for (const FormatPoint& p : c.waypoints) check_point(p);
    for (const FormatTask& t : c.tasks) {
        require(!t.has_takeoff || !t.points.empty(), "a take-off is a point of its task");
        for (const FormatPoint& p : t.points) check_point(p);
        for (const FormatPoint& p : t.optional_starts) check_point(p);
    }
    for (const FormatFault& f : c.skipped)
        require(!f.place.empty() && !f.what.empty() && f.task < int(c.tasks.size()),
                "a fault says where and what");
    return 0;
}
