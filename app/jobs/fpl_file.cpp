#include "app/jobs/fpl_file.hpp"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>

#include "app/jobs/conversion_setup.hpp"
#include "app/jobs/pilot_words.hpp"
#include "app/jobs/read_batch.hpp"
#include "app/jobs/run_log.hpp"
#include "formats/batch_items.hpp"
#include "formats/task_write.hpp"
#include "geo/UTM.hpp"
#include "host/console.hpp"
#include "host/files.hpp"
#include "host/messages.hpp"
#include "include/common_data.hpp"
#include "util/numbers.hpp"
#include "util/text.hpp"

namespace {

// The take-off or landing field of a task line when the place is not known.
constexpr std::string_view unknown_place = "???";

// Two turnpoints are one waypoint when they share a name and a position.
constexpr float same_place_m = 1.0f;

class PlanConversion {
  public:
    PlanConversion(const std::string& infile, const std::string& outfile, const BatchOptions* given)
        : infile_(infile), outfile_(outfile), given_(given), shown_in_(path_text(infile)) {}

    RunOutcome run() {
        RunOutcome outcome = convert();
        outcome.written = points_;
        outcome.skipped = skipped_;
        outcome.outside = outside_;
        return outcome;
    }

  private:
    RunOutcome convert() {
        using Stop = RunOutcome::Stop;
        std::error_code ec;
        if (std::filesystem::equivalent(fs_path(infile_), fs_path(outfile_), ec)) {
            return RunOutcome::stopped(Stop::message, "The waypoint file " + path_text(outfile_) +
                                                          " would overwrite the flight plan");
        }
        LineReader in;
        if (!file_exists(infile_) || !in.open(open_file(infile_, "rb"))) {
            return RunOutcome::stopped(Stop::reported,
                                       batch_file_message(BatchFileFailure::open_input, infile_));
        }
        const FlightPlan plan = read_flight_plan(in);
        if (in.failed()) {
            return RunOutcome::stopped(Stop::reported,
                                       batch_file_message(BatchFileFailure::read_input, infile_));
        }
        for (const auto& [line, fault] : plan.faults) skip(line, fault);
        std::string body, task = "\"";
        append_task_name(task);
        for (const FlightPlanPoint& p : plan.points) add_point(p, body);
        // The flight begins at the plan's first turnpoint and ends at its last: they are the
        // task's take-off and landing as well as its start and finish, when the plan names
        // them. Readers take the task line's second field as the take-off and its last as the
        // landing, so start, turnpoints and finish then read as the plan has them.
        if (!route_.empty()) {
            append_task_point(task, route_.front().second ? route_.front().first : unknown_place);
            for (const auto& [name, named] : route_) append_task_point(task, name);
            append_task_point(task, route_.back().second ? route_.back().first : unknown_place);
        }
        if (points_ == 0)
            return RunOutcome::stopped(Stop::message, "No turnpoint in flight plan " + shown_in_);
        return write(body, task);
    }

    void append_task_name(std::string& task) {
        // The task is named after the file: its name without folder and extension.
        std::string_view name = shown_in_;
        const std::size_t slash = name.find_last_of("/\\");
        if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
        name.remove_suffix(4);  // ".fpl"
        for (char c : name) task += c == '"' ? std::string("\"\"") : std::string(1, c);
        task += '"';
    }

    void add_point(const FlightPlanPoint& p, std::string& body) {
        const std::string n = std::to_string(p.number);
        if (!p.has_x || !p.has_y) {
            // A value that is no number has had its warning and its count.
            if (!p.faulty)
                skip(p.line, "turnpoint " + n + " has no " + (p.has_x ? "TPPosY" : "TPPosX"));
            return;
        }
        float lat = 0, lon = 0;
        int status = 1;
        if (given_ && given_->projection)
            to_latlon(*given_->projection, p.x, p.y, lat, lon);
        else
            status = xytolatlon(p.x, p.y, lat, lon);
        if (status != 1 || !std::isfinite(lat) || !std::isfinite(lon)) {
            skip(p.line, "turnpoint " + n + ": X/Y cannot be converted");
            return;
        }
        if (!p.has_z) warn(p.line, "turnpoint " + n + " has no TPPosZ: elevation 0");
        const bool outside = given_ && given_->projection
                                 ? !(p.x >= 0 && p.x <= given_->xmax && p.y >= 0 &&
                                     p.y <= given_->ymax)
                                 : outside_landscape(p.x, p.y);
        if (outside) {
            ++outside_;
            const std::string landscape = given_ && given_->projection
                                              ? given_->landscape
                                              : std::string(common_data.landscape.view());
            warn(p.line, "point " + p.name + " lies outside landscape " + path_text(landscape));
        }
        const bool named = p.has_name && !trim(p.name).empty();
        FormatPoint fp{named ? p.name : "TP" + n,
                       degrees_text(lat),
                       degrees_text(lon),
                       p.has_z ? degrees_text(p.z) : "",
                       "line " + std::to_string(p.line),
                       "",
                       PointRole::point,
                       {}};
        BatchPoint wp;
        wp.name = named ? p.name : "TP" + n;
        wp.alt = p.z;
        // A waypoint file needs unique names: the same name at another place gets a number.
        std::string name = wp.name;
        for (int k = 2;; ++k) {
            auto it = placed_.find(name);
            if (it == placed_.end()) break;
            if (std::hypot(it->second.first - p.x, it->second.second - p.y) < same_place_m) {
                route_.emplace_back(name, named);
                fp.name = name;
                task_.points.push_back(std::move(fp));
                ++points_;
                return;
            }
            name = wp.name + " (" + std::to_string(k) + ")";
        }
        wp.name = name;
        placed_[name] = {p.x, p.y};
        append_waypoint(body, wp, lat, lon);
        route_.emplace_back(name, named);
        fp.name = name;
        task_.points.push_back(std::move(fp));
        ++points_;
    }

    static void append_task_point(std::string& task, std::string_view name) {
        task += ',';
        append_csv_field(task, name, true);
    }

    void skip(int line, const std::string& what) {
        ++skipped_;
        say(" Warning: " + shown_in_ + ", line " + std::to_string(line) + ": line skipped: " +
            what);
    }
    void warn(int line, const std::string& what) {
        say(" Warning: " + shown_in_ + ", line " + std::to_string(line) + ": " + what);
    }
    void say(const std::string& line) const {
        if (given_ && given_->report)
            given_->report(line);
        else
            run_message(line);
    }

    // The plan in the task format the output's name asks for (.tsk, .xctsk, .gpx), else as a
    // .cup file.
    std::string output_bytes(const std::string& body, const std::string& task) {
        std::vector<FormatFault> notes;
        std::string_view stem = shown_in_;
        stem.remove_prefix(std::min(stem.size(), stem.find_last_of("/\\") + 1));
        task_.name = stem.substr(0, stem.size() - 4);
        std::string bytes;
        switch (task_format_of(outfile_)) {
            case TaskFormat::tsk:
                bytes = write_tsk(task_, 0, notes);
                break;
            case TaskFormat::xctsk:
                bytes = write_xctsk(task_, 0, notes);
                break;
            case TaskFormat::gpx:
                bytes = write_gpx(FormatContent{{}, {task_}, {}, {}, ""}, notes);
                break;
            case TaskFormat::none:
                return std::string(cup_header) + "\r\n" + body + "-----Related Tasks-----\r\n" +
                       task + "\r\n";
        }
        for (const FormatFault& f : notes) say(" Warning: " + shown_in_ + ": " + f.what);
        return bytes;
    }

    RunOutcome write(const std::string& body, const std::string& task) {
        using Stop = RunOutcome::Stop;
        AsideFile out;
        if (!out.open(outfile_)) {
            return RunOutcome::stopped(
                Stop::reported,
                batch_file_message(BatchFileFailure::open_output, outfile_, out.failure_reason()));
        }
        out.write(output_bytes(body, task));
        if (!out.commit())
            return RunOutcome::stopped(Stop::reported,
                                       write_failure_message(outfile_, out.failure_reason()));
        RunOutcome done;
        done.outputs.push_back(outfile_);
        run_log_line(std::to_string(points_) + " points read in batch file");
        if (skipped_ > 0) {
            const std::string count = lines_skipped_text(std::size_t(skipped_), shown_in_);
            say(" " + count);
            run_log_line(count);
            done.status = ExitStatus::lines_skipped;
        }
        return done;
    }

    const std::string& infile_;
    const std::string& outfile_;
    const BatchOptions* given_;
    const std::string shown_in_;
    std::map<std::string, std::pair<float, float>> placed_;
    std::vector<std::pair<std::string, bool>> route_;  // the task's points, and named by the plan
    FormatTask task_;  // the same as plain records, for the other task formats
    int points_ = 0, skipped_ = 0, outside_ = 0;
};

}  // namespace

RunOutcome convert_flight_plan(const std::string& infile, const std::string& outfile,
                               const BatchOptions* given) {
    return PlanConversion(infile, outfile, given).run();
}
