#include "app/jobs/cup_tasks.hpp"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

#include "app/jobs/job_messages.hpp"
#include "geo/decode_coord.hpp"
#include "geo/task_length.hpp"
#include "host/console.hpp"
#include "host/files.hpp"
#include "host/messages.hpp"
#include "util/cp1252.hpp"
#include "util/numbers.hpp"
#include "util/text.hpp"

namespace {

// File text (UTF-8 or Windows-1252) as message text.
std::string shown(std::string_view text) { return utf8_or_cp1252_to_cp1252(trim(text)); }

// The task's length in km with one decimal, "?" when a point of it is not a position.
std::string length_text(const CupTask& task, const std::vector<CupRecord>& records,
                        const CupColumns& cols) {
    std::string error;
    std::vector<std::string> notes;
    std::vector<CupField> fields;
    std::vector<LatLon> points;
    for (const CupRecord& r : route_records(task, records, cols, error, notes)) {
        BatchPoint p;
        std::string fault;
        float lat = 0, lon = 0;
        int type = 0;
        if (!parse_cup_record(r.text, cols, fields, p, fault)) return "?";
        decode_coord(p.c_lat, p.c_lon, lat, lon, type);
        if (type == 0 || lat == coord_invalid || lon == coord_invalid) return "?";
        points.push_back({lat, lon});
    }
    if (!error.empty()) return "?";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", task_length_m(points) / 1000);
    return buf;
}

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

namespace {

// The waypoints of a file by name: the first record of each name, and another of the same name
// at another place, when there is one.
struct NamedWaypoint {
    std::size_t first = 0, elsewhere = SIZE_MAX;
};

std::unordered_map<std::string, NamedWaypoint> waypoints_by_name(
    const std::vector<CupRecord>& records, const CupColumns& cols) {
    std::unordered_map<std::string, NamedWaypoint> by_name;
    std::vector<CupField> fields, first_fields;
    auto place = [&](const std::vector<CupField>& f) {
        const std::size_t lat = std::size_t(cols.lat), lon = std::size_t(cols.lon);
        return lat < f.size() && lon < f.size()
                   ? std::string(trim(f[lat].value)) + "," + std::string(trim(f[lon].value))
                   : std::string();
    };
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (is_cup_comment(records[i].text)) continue;
        split_cup_fields(records[i].text, fields);
        if (std::size_t(cols.name) >= fields.size()) continue;
        auto [it, added] =
            by_name.try_emplace(std::string(trim(fields[std::size_t(cols.name)].value)));
        if (added) {
            it->second.first = i;
        } else if (it->second.elsewhere == SIZE_MAX) {
            split_cup_fields(records[it->second.first].text, first_fields);
            if (place(first_fields) != place(fields)) it->second.elsewhere = i;
        }
    }
    return by_name;
}

}  // namespace

std::vector<CupRecord> route_records(const CupTask& task, const std::vector<CupRecord>& records,
                                     const CupColumns& cols, std::string& error,
                                     std::vector<std::string>& notes) {
    const auto by_name = waypoints_by_name(records, cols);
    std::vector<CupRecord> route;
    std::vector<std::string> noted;
    for (std::size_t at : task_route(task)) {
        auto inline_point = std::find_if(task.inline_points.begin(), task.inline_points.end(),
                                         [&](const auto& p) { return p.first == at; });
        if (inline_point != task.inline_points.end()) {
            route.push_back(inline_point->second);
            continue;
        }
        const std::string name(trim(task.points[at]));
        auto it = by_name.find(name);
        if (it == by_name.end()) {
            error = "Task " + shown(task.name) + " (line " + std::to_string(task.line) +
                    ") names the waypoint " + shown(task.points[at]) + ", which is not in the file";
            return {};
        }
        const NamedWaypoint& w = it->second;
        if (w.elsewhere != SIZE_MAX && std::find(noted.begin(), noted.end(), name) == noted.end()) {
            noted.push_back(name);
            notes.push_back("the file holds the waypoint " + shown(name) + " at two places (lines " +
                            std::to_string(records[w.first].line) + " and " +
                            std::to_string(records[w.elsewhere].line) + "): task " +
                            shown(task.name) + " uses the first");
        }
        route.push_back(records[w.first]);
    }
    return route;
}

std::vector<CupRecord> start_records(const CupTask& task, const std::vector<CupRecord>& section,
                                     const std::vector<CupRecord>& records,
                                     const CupColumns& cols) {
    const auto by_name = waypoints_by_name(records, cols);
    std::vector<CupRecord> starts;
    std::vector<CupField> fields;
    for (std::size_t i = task.first; i < task.last && i < section.size(); ++i) {
        const std::string_view text = section[i].text;
        if (!text.starts_with("STARTS=")) continue;
        split_cup_fields(text.substr(7), fields);
        for (const CupField& f : fields) {
            auto it = by_name.find(std::string(trim(f.value)));
            if (it != by_name.end()) starts.push_back(records[it->second.first]);
        }
    }
    return starts;
}

RunOutcome list_cup_tasks(const std::string& infile, const std::string* bytes,
                          const std::vector<std::string>* broken) {
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
    std::vector<CupRecord> records;
    while (reader.next(rec)) records.push_back(std::move(rec));
    const std::vector<CupTask> tasks = read_cup_tasks(reader.task_section());
    if (in.failed()) {
        return RunOutcome::stopped(Stop::reported,
                                   batch_file_message(BatchFileFailure::read_input, infile));
    }
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        const std::vector<std::size_t> route = task_route(tasks[i]);
        std::string line = std::to_string(i + 1) + " \"" + shown(tasks[i].name) +
                           "\": " + std::to_string(route.size()) + " points, " +
                           length_text(tasks[i], records, reader.columns()) + " km:";
        for (std::size_t k = 0; k < route.size(); ++k) {
            // A point defined in place (Point=) may be unnamed on the task line.
            const std::string name = shown(tasks[i].points[route[k]]);
            line += k == 0 ? " " : " > ";
            line += name.empty() ? "point " + std::to_string(route[k]) : name;
        }
        if (broken && i < broken->size() && !(*broken)[i].empty())
            line += " - a point lost: " + (*broken)[i];
        console_line(line);
    }
    if (tasks.empty()) run_message(" " + path_text(infile) + " holds no task");
    return {};
}
