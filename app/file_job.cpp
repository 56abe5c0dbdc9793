#include "app/file_job.hpp"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

#include "app/Varnix.hpp"
#include "app/cup_tasks.hpp"
#include "app/fpl_file.hpp"
#include "app/run_log.hpp"
#include "formats/batch_items.hpp"
#include "formats/cup_file.hpp"
#include "formats/cup_write.hpp"
#include "formats/gpx.hpp"
#include "formats/tsk.hpp"
#include "formats/xctsk.hpp"
#include "geo/decode_coord.hpp"
#include "host/files.hpp"
#include "host/messages.hpp"
#include "include/common_data.hpp"
#include "util/cp1252.hpp"
#include "util/line_reader.hpp"
#include "util/text.hpp"

namespace {

bool has_extension(std::string_view name, std::string_view ext) {
    return name.size() > ext.size() &&
           case_blind_compare(name.substr(name.size() - ext.size()), ext);
}

// The whole file, or false when it cannot be opened or read.
bool read_whole_file(const std::string& path, std::string& bytes) {
    std::FILE* f = file_exists(path) ? open_file(path, "rb") : nullptr;
    if (!f) return false;
    char buf[1 << 16];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, f)) bytes.append(buf, n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

bool holds_tasks(FileKind kind) {
    return kind == FileKind::cup || kind == FileKind::tsk || kind == FileKind::gpx ||
           kind == FileKind::xctsk;
}

// The file's name without folder and extension: the name of a task file's one task.
std::string file_stem(const std::string& infile) {
    std::string_view name = std::string_view(infile).substr(path_name_start(infile));
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
    return utf8_or_cp1252_to_cp1252(path_text(name));
}

}  // namespace

FileKind input_kind(const std::string& infile) {
    char head[512];
    std::size_t n = 0;
    if (std::FILE* f = file_exists(infile) ? open_file(infile, "rb") : nullptr) {
        n = std::fread(head, 1, sizeof head, f);
        std::fclose(f);
    }
    std::string_view start(head, n);
    if (start.starts_with("\xEF\xBB\xBF")) start.remove_prefix(3);
    start.remove_prefix(std::min(start.size(), start.find_first_not_of(" \t\r\n")));
    if (start.starts_with('<')) {
        if (start.find("<gpx") != std::string_view::npos) return FileKind::gpx;
        if (start.find("<Task") != std::string_view::npos) return FileKind::tsk;
    }
    if (start.starts_with("XCTSK:")) return FileKind::xctsk;
    if (start.starts_with('{') && !has_extension(infile, ".gpx") && !has_extension(infile, ".tsk"))
        return FileKind::xctsk;
    if (has_extension(infile, ".gpx")) return FileKind::gpx;
    if (has_extension(infile, ".tsk")) return FileKind::tsk;
    if (has_extension(infile, ".xctsk")) return FileKind::xctsk;
    if (is_flight_plan_name(infile)) return FileKind::flight_plan;
    if (is_cup_input(infile)) return FileKind::cup;
    return FileKind::batch;
}

bool convert_input(const std::string& infile, FileKind kind, ConvertedInput& in,
                   RunOutcome& outcome) {
    std::string bytes;
    if (!read_whole_file(infile, bytes)) {
        outcome = RunOutcome::stopped(RunOutcome::Stop::reported,
                                      batch_file_message(BatchFileFailure::open_input, infile));
        return false;
    }
    const FormatContent content = kind == FileKind::gpx   ? read_gpx(bytes)
                                  : kind == FileKind::tsk ? read_tsk(bytes)
                                                          : read_xctsk(bytes);
    if (!content.error.empty()) {
        outcome = RunOutcome::stopped(
            RunOutcome::Stop::reported,
            "*** Error reading batch file :" + message_literal(path_text(infile)) + ", " +
                message_literal(content.error) + " ***");
        return false;
    }
    in.cup = write_cup(content, file_stem(infile), in.places, &in.cup_losses);
    in.skipped = content.skipped;
    in.notes = content.notes;
    in.tasks_only = content.waypoints.empty() && !content.tasks.empty();
    return true;
}

namespace {

// A .cup file saved as UTF-16, as the UTF-8 .cup the batch reads; false for any other file.
bool utf16_cup(const std::string& infile, ConvertedInput& in) {
    char mark[2] = {};
    std::FILE* f = file_exists(infile) ? open_file(infile, "rb") : nullptr;
    if (!f) return false;
    const bool utf16 =
        std::fread(mark, 1, 2, f) == 2 &&
        ((mark[0] == '\xFF' && mark[1] == '\xFE') || (mark[0] == '\xFE' && mark[1] == '\xFF'));
    std::fclose(f);
    std::string bytes;
    return utf16 && read_whole_file(infile, bytes) && utf16_to_utf8(bytes, in.cup);
}

}  // namespace

RunOutcome list_tasks(const std::string& infile) {
    const FileKind kind = input_kind(infile);
    if (ConvertedInput utf8; kind == FileKind::cup && utf16_cup(infile, utf8))
        return list_cup_tasks(infile, &utf8.cup);
    if (kind == FileKind::cup || !holds_tasks(kind)) return list_cup_tasks(infile);
    ConvertedInput in;
    RunOutcome outcome;
    if (!convert_input(infile, kind, in, outcome)) return outcome;
    for (const FormatFault& f : in.notes)
        run_message(" Warning: " + path_text(infile) + ", " + f.place + ": " + f.what);
    return list_cup_tasks(infile, &in.cup);
}

RunOutcome convert_file(const BatchOptions& options) {
    const FileKind kind = input_kind(options.infile);
    if (kind == FileKind::flight_plan) return convert_flight_plan(options.infile, options.outfile);
    ConvertedInput in;
    if (kind == FileKind::cup && utf16_cup(options.infile, in)) {
        BatchOptions converted = options;
        converted.converted = &in;
        return read_batch(converted);
    }
    if (kind == FileKind::batch || kind == FileKind::cup) return read_batch(options);
    RunOutcome outcome;
    if (!convert_input(options.infile, kind, in, outcome)) return outcome;
    BatchOptions converted = options;
    converted.converted = &in;
    // A task file is its task; a GPX file without waypoints of its own, its first route.
    if (converted.task.empty() && in.tasks_only) converted.task = "1";
    return read_batch(converted);
}

std::string task_refusal(const std::string& infile, const std::string& task) {
    if (task.empty() || holds_tasks(input_kind(infile))) return {};
    return "-task picks a task of a .cup input; " + path_text(infile) + " is no .cup file";
}

void log_run_files(const std::string& infile, const std::string& outfile) {
    run_log_line(path_text(infile));
    run_log_line(path_text(outfile));
    run_log_line(path_text(common_data.landscape.view()));
}

namespace {

// The job's messages, gathered while it runs; the console and the boxes get them back after.
class ReportSink {
  public:
    ReportSink(FileJobReport& report, const WarningSink& on_warning) {
        set_message_sink([&report, &on_warning](int status, std::string_view text) {
            if (status == s_error && report.error.empty()) {
                report.error = trim(text);
                return;
            }
            const std::string line(text);
            if (on_warning) on_warning(line);
            if (++report.warning_count <= FileJobReport::warnings_kept)
                report.warnings.push_back(line);
        });
    }
    ReportSink(const ReportSink&) = delete;
    ReportSink& operator=(const ReportSink&) = delete;
    ~ReportSink() { set_message_sink({}); }
};

// The job with the landscape set; the report's counts and status filled from the outcome.
void run_job(const FileJob& job, FileJobReport& report) {
    log_run_files(job.infile, job.outfile);
    const std::string refused = task_refusal(job.infile, job.task);
    if (!refused.empty()) {
        report.status = int(ExitStatus::stopped);
        report.error = refused;
        return;
    }
    if (init_conv() != 1) {
        report.status = int(ExitStatus::stopped);
        // init_conv has said why (in the report) unless the installation's own check did.
        if (report.error.empty()) report.error = std::string(init_conv_failure());
        if (report.error.empty())
            report.error = "Landscape " + path_text(common_data.landscape.view()) +
                           " impossible to initialize coordinates conversion";
        return;
    }
    BatchOptions options;
    options.infile = job.infile;
    options.outfile = job.outfile;
    options.qcup = job.cup;
    options.qline = false;
    options.task = job.task;
    options.all_warnings = true;
    const RunOutcome outcome = convert_file(options);
    report.status = int(outcome.status);
    report.written = outcome.written;
    report.outside = outcome.outside;
    report.skipped = outcome.skipped;
    report.outputs = outcome.outputs;
    if (outcome.stop != RunOutcome::Stop::none) report.error = outcome.shown();
    // The program log keeps a reported stop, as on the command line.
    if (outcome.stop == RunOutcome::Stop::reported) log_message_f(outcome.text);
}

}  // namespace

FileJobReport run_file_job(const FileJob& job, const WarningSink& on_warning) {
    FileJobReport report;
    const auto landscape = common_data.landscape;
    const bool qline = common_data.qline;
    {
        ReportSink sink(report, on_warning);
        common_data.qline = false;
        if (trim_right(job.landscape).size() > common_data.landscape.capacity) {
            report.status = int(ExitStatus::stopped);
            report.error = "Landscape names are limited to " +
                           std::to_string(common_data.landscape.capacity) + " characters";
        } else {
            common_data.landscape = job.landscape;
            run_job(job, report);
        }
    }
    run_log_close();  // the next job rewrites it, as the next command would
    common_data.landscape = landscape;
    common_data.qline = qline;
    return report;
}

// --- contents ----------------------------------------------------------------------------------

namespace {

std::string file_fault(const std::string& infile, int line, const std::string& what) {
    return path_text(infile) + ", line " + std::to_string(line) + ": " + what;
}

// A point of the batch layout or of a .cup record, when its coordinates read as a position.
bool decode_point(BatchPoint& p, FilePoint& out, std::string& fault, bool cup_input) {
    float lat = 0, lon = 0;
    int type = 0;
    const TextField<20> lat_text = p.c_lat, lon_text = p.c_lon;
    decode_coord(p.c_lat, p.c_lon, lat, lon, type);
    fault = coordinate_fault(lat_text.view(), lon_text.view(), lat, lon, type, cup_input);
    if (!fault.empty()) return false;
    out.name = utf8_or_cp1252_to_cp1252(p.name);
    out.lat = lat;
    out.lon = lon;
    return true;
}

void read_batch_contents(const std::string& infile, FileContents& c) {
    LineReader in;
    if (!file_exists(infile) || !in.open(open_file(infile, "rb"))) {
        c.error = message_shown(batch_file_message(BatchFileFailure::open_input, infile));
        return;
    }
    std::string line, key, val, fault;
    std::vector<std::string> scratch;
    BatchPoint p;
    while (in.next(line)) {
        if (in.line_number() == 1) {
            extract_key_val(
                std::string_view(line).substr(0, std::min<std::size_t>(line.size(), 132)), key,
                val);
            if (key == "Landscape") c.landscape = val;
        }
        const LineResult r = parse_batch_line(line, scratch, p);
        if (r == LineResult::skip || r == LineResult::landscape_skipped) continue;
        if (r != LineResult::point) {
            c.error =
                file_fault(infile, in.line_number(),
                           r == LineResult::too_many_items ? "more than 5 items (a decimal comma?)"
                                                           : describe_bad_batch_line(line));
            return;
        }
        FilePoint fp;
        if (!decode_point(p, fp, fault, false)) {
            c.error = file_fault(infile, in.line_number(), fault);
            return;
        }
        c.points.push_back(std::move(fp));
    }
    if (in.failed())
        c.error = message_shown(batch_file_message(BatchFileFailure::read_input, infile));
}

void read_cup_contents(const std::string& infile, FileContents& c, std::string_view given = {}) {
    std::string bytes;
    if (given.empty() && !read_whole_file(infile, bytes)) {
        c.error = message_shown(batch_file_message(BatchFileFailure::open_input, infile));
        return;
    }
    CupContent cup = read_cup(given.empty() ? std::string_view(bytes) : given);
    std::unordered_map<std::string, int> by_name;  // the first waypoint of a name
    std::string fault;
    for (BatchPoint& p : cup.waypoints) {
        const std::string name = std::string(trim(p.name));
        FilePoint fp;
        if (!decode_point(p, fp, fault, true)) continue;  // the conversion skips it too
        by_name.try_emplace(name, int(c.points.size()));
        c.points.push_back(std::move(fp));
    }
    std::vector<CupField> fields;
    for (const CupTask& task : cup.tasks) {
        FileTask t;
        t.name = utf8_or_cp1252_to_cp1252(trim(task.name));
        for (std::size_t at : task_route(task)) {
            auto inline_point = std::find_if(task.inline_points.begin(), task.inline_points.end(),
                                             [&](const auto& ip) { return ip.first == at; });
            if (inline_point != task.inline_points.end()) {
                BatchPoint p;
                FilePoint fp;
                if (parse_cup_record(inline_point->second.text, cup.columns, fields, p, fault) &&
                    decode_point(p, fp, fault, true)) {
                    t.points.push_back(int(c.points.size()));
                    c.points.push_back(std::move(fp));
                }
                continue;
            }
            auto it = by_name.find(std::string(trim(task.points[at])));
            if (it != by_name.end()) t.points.push_back(it->second);
        }
        c.tasks.push_back(std::move(t));
    }
}

void read_plan_contents(const std::string& infile, FileContents& c) {
    LineReader in;
    if (!file_exists(infile) || !in.open(open_file(infile, "rb"))) {
        c.error = message_shown(batch_file_message(BatchFileFailure::open_input, infile));
        return;
    }
    const FlightPlan plan = read_flight_plan(in);
    if (in.failed()) {
        c.error = message_shown(batch_file_message(BatchFileFailure::read_input, infile));
        return;
    }
    c.landscape = plan.landscape;
    c.is_flight_plan = true;
    FileTask task;
    std::string_view stem = std::string_view(infile).substr(path_name_start(infile));
    stem.remove_suffix(4);  // ".fpl"
    task.name = path_text(stem);
    for (const FlightPlanPoint& p : plan.points) {
        if (!p.has_x || !p.has_y) continue;
        FilePoint fp;
        fp.name = p.has_name && !trim(p.name).empty() ? p.name : "TP" + std::to_string(p.number);
        fp.has_xy = true;
        fp.x = p.x;
        fp.y = p.y;
        task.points.push_back(int(c.points.size()));
        c.points.push_back(std::move(fp));
    }
    c.tasks.push_back(std::move(task));
}

}  // namespace

FileContents read_file_contents(const std::string& infile) {
    FileContents c;
    const FileKind kind = input_kind(infile);
    if (kind == FileKind::flight_plan) {
        read_plan_contents(infile, c);
    } else if (kind == FileKind::cup) {
        read_cup_contents(infile, c);
    } else if (kind == FileKind::batch) {
        read_batch_contents(infile, c);
    } else {
        ConvertedInput in;
        RunOutcome outcome;
        if (convert_input(infile, kind, in, outcome))
            read_cup_contents(infile, c, in.cup);
        else
            c.error = outcome.shown();
    }
    return c;
}

std::string default_output(const std::string& infile, bool flight_plan_input) {
    if (flight_plan_input && !is_flight_plan_name(infile)) {
        const std::size_t start = path_name_start(infile);
        const std::size_t dot = infile.find('.', start);
        return (dot == std::string::npos ? infile : infile.substr(0, dot)) + ".cup";
    }
    return batch_output_name(infile);
}
