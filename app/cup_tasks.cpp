#include "app/cup_tasks.hpp"

#include <algorithm>
#include <unordered_map>

#include "app/read_batch.hpp"
#include "host/console.hpp"
#include "host/files.hpp"
#include "host/messages.hpp"
#include "util/cp1252.hpp"
#include "util/numbers.hpp"
#include "util/text.hpp"

namespace {

// File text (UTF-8 or Windows-1252) as message text.
std::string shown(std::string_view text) { return utf8_or_cp1252_to_cp1252(trim(text)); }

}  // namespace

const CupTask* pick_task(const std::vector<CupTask>& tasks, std::string_view selector,
                         std::string& error) {
    selector = trim(selector);
    std::int32_t n = 0;
    if (is_uint(selector) && read_free_int(selector, n) && n >= 1 &&
        std::size_t(n) <= tasks.size()) {
        return &tasks[std::size_t(n - 1)];
    }
    for (const CupTask& t : tasks)
        if (shown(t.name) == selector) return &t;
    for (const CupTask& t : tasks)
        if (case_blind_compare(shown(t.name), selector)) return &t;
    error = "No task " + std::string(selector) + " among the " + std::to_string(tasks.size()) +
            " tasks";
    return nullptr;
}

std::vector<CupRecord> route_records(const CupTask& task, const std::vector<CupRecord>& records,
                                     const CupColumns& cols, std::string& error) {
    std::unordered_map<std::string, std::size_t> by_name;
    std::vector<CupField> fields;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (is_cup_comment(records[i].text)) continue;
        split_cup_fields(records[i].text, fields);
        if (std::size_t(cols.name) < fields.size())
            by_name.try_emplace(std::string(trim(fields[std::size_t(cols.name)].value)), i);
    }
    std::vector<CupRecord> route;
    for (std::size_t at : task_route(task)) {
        auto inline_point = std::find_if(task.inline_points.begin(), task.inline_points.end(),
                                         [&](const auto& p) { return p.first == at; });
        if (inline_point != task.inline_points.end()) {
            route.push_back(inline_point->second);
            continue;
        }
        auto it = by_name.find(std::string(trim(task.points[at])));
        if (it == by_name.end()) {
            error = "Task " + shown(task.name) + " (line " + std::to_string(task.line) +
                    ") names the waypoint " + shown(task.points[at]) + ", which is not in the file";
            return {};
        }
        route.push_back(records[it->second]);
    }
    return route;
}

RunOutcome list_cup_tasks(const std::string& infile, const std::string* bytes) {
    using Stop = RunOutcome::Stop;
    LineReader in(LineReader::Encoding::bytes);
    if (bytes) {
        in.open_bytes(*bytes);
    } else if (!file_exists(infile) || !in.open(open_file(infile, "rb"))) {
        return RunOutcome::stopped(Stop::reported,
                                   batch_file_message(BatchFileFailure::open_input, infile));
    }
    CupReader reader(in);
    CupRecord rec;
    while (reader.next(rec)) {
    }
    const std::vector<CupTask> tasks = read_cup_tasks(reader.task_section());
    if (in.failed()) {
        return RunOutcome::stopped(Stop::reported,
                                   batch_file_message(BatchFileFailure::read_input, infile));
    }
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        const std::vector<std::size_t> route = task_route(tasks[i]);
        std::string line = std::to_string(i + 1) + " \"" + shown(tasks[i].name) +
                           "\": " + std::to_string(route.size()) + " points:";
        for (std::size_t k = 0; k < route.size(); ++k) {
            // A point defined in place (Point=) may be unnamed on the task line.
            const std::string name = shown(tasks[i].points[route[k]]);
            line += k == 0 ? " " : " > ";
            line += name.empty() ? "point " + std::to_string(route[k]) : name;
        }
        console_line(line);
    }
    if (tasks.empty()) run_message(" " + path_text(infile) + " holds no task");
    return {};
}
