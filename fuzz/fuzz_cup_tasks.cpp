// Fuzzes the task section of .cup files alone (the lines after "-----Related Tasks-----"):
// task lines, options, observation zones and points defined in place. Beyond "no crash": every
// task covers lines of the section, one after the other, and its route stays within its points.
#include <string>
#include <vector>

#include "app/cup_file.hpp"
#include "app/cup_tasks.hpp"
#include "fuzz/fuzz_check.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<CupTask> tasks = read_cup_tasks(as_text(data, size));
    std::size_t previous_last = 0;
    for (const CupTask& t : tasks) {
        require(t.first >= previous_last && t.first < t.last, "tasks follow one another");
        previous_last = t.last;
        for (const auto& [at, rec] : t.inline_points)
            require(at < t.points.size(), "an inline point replaces a point of its task");
        const std::vector<std::size_t> route = task_route(t);
        for (std::size_t k = 0; k < route.size(); ++k)
            require(route[k] < t.points.size() && (k == 0 || route[k - 1] < route[k]),
                    "a route follows its task's points in order");
    }
    for (const char* selector : {"1", "2", "Task"}) {
        std::string error;
        if (pick_task(tasks, selector, error) == nullptr)
            require(!error.empty(), "a task not found says why");
    }
    return 0;
}
