// Fuzzes the task section of .cup files alone (the lines after "-----Related Tasks-----"):
// task lines, options, observation zones and points defined in place. Beyond "no crash": every
// task covers lines of the section, one after the other, its route stays within its points, and
// a task that cannot be picked says why.
#include <cstdint>
#include <string>
#include <vector>

#include "formats/cup_file.hpp"
#include "app/jobs/cup_tasks.hpp"
#include "fuzz/fuzz_check.hpp"
#include "fuzz/fuzz_cup_checks.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<CupTask> tasks = read_cup_tasks(as_text(data, size));
    check_tasks(tasks, SIZE_MAX);  // the lines are not counted here
    for (const char* selector : {"1", "2", "Task"}) {
        std::string error;
        if (pick_task(tasks, selector, error) == nullptr)
            require(!error.empty(), "a task not found says why");
    }
    return 0;
}
