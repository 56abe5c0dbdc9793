// Fuzzes a .cup file read as plain records (waypoints, tasks, their Options, ObsZone= and
// STARTS= lines): no crash, and what it gives holds and is written out whole in every task
// format (fuzz_format_checks.hpp).
#include "formats/cup_rules.hpp"
#include "fuzz/fuzz_format_checks.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FormatContent c = read_cup_records(as_text(data, size));
    for (const FormatTask& t : c.tasks)
        for (const FormatPoint& p : t.points) check_point(p);
    check_task_writers(c);
    return 0;
}
