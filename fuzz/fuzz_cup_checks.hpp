// What the .cup targets assert of the tasks read from a task section.
#pragma once

#include <cstddef>
#include <vector>

#include "formats/cup_file.hpp"
#include "fuzz/fuzz_check.hpp"

// Tasks cover lines of the section (`section_lines` of them), one task after the other; an
// inline point replaces a point of its task; a route follows its task's points in order.
inline void check_tasks(const std::vector<CupTask>& tasks, std::size_t section_lines) {
    std::size_t previous_last = 0;
    for (const CupTask& t : tasks) {
        require(t.first >= previous_last && t.first < t.last && t.last <= section_lines,
                "tasks follow one another within the section");
        previous_last = t.last;
        for (const auto& [at, rec] : t.inline_points)
            require(at < t.points.size(), "an inline point replaces a point of its task");
        const std::vector<std::size_t> route = task_route(t);
        for (std::size_t k = 0; k < route.size(); ++k)
            require(route[k] < t.points.size() && (k == 0 || route[k - 1] < route[k]),
                    "a route follows its task's points in order");
    }
}
