#include "app/jobs/file_job.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_map>

#include "app/jobs/conversion_setup.hpp"
#include "app/jobs/cup_tasks.hpp"
#include "app/jobs/fpl_file.hpp"
#include "app/jobs/run_log.hpp"
#include "formats/batch_items.hpp"
#include "formats/cup_file.hpp"
#include "formats/cup_rules.hpp"
#include "formats/cup_write.hpp"
#include "formats/gpx.hpp"
#include "formats/tsk.hpp"
#include "formats/xctsk.hpp"
#include "geo/decode_coord.hpp"
#include "geo/lengths.hpp"
#include "geo/task_length.hpp"
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

namespace {

bool convert_bytes(const std::string& infile, FileKind kind, std::string_view bytes,
                   ConvertedInput& in, RunOutcome& outcome) {
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

}  // namespace

bool convert_input(const std::string& infile, FileKind kind, ConvertedInput& in,
                   RunOutcome& outcome) {
    std::string bytes;
    if (!read_whole_file(infile, bytes)) {
        outcome = RunOutcome::stopped(RunOutcome::Stop::reported,
                                      batch_file_message(BatchFileFailure::open_input, infile));
        return false;
    }
    return convert_bytes(infile, kind, bytes, in, outcome);
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
    // A task that lost a point is marked, as the file page marks it.
    std::vector<std::string> broken;
    for (const FileTask& t : read_file_contents(infile).tasks) broken.push_back(t.broken);
    const FileKind kind = input_kind(infile);
    if (ConvertedInput utf8; kind == FileKind::cup && utf16_cup(infile, utf8))
        return list_cup_tasks(infile, &utf8.cup, &broken);
    if (kind == FileKind::cup || !holds_tasks(kind))
        return list_cup_tasks(infile, nullptr, &broken);
    ConvertedInput in;
    RunOutcome outcome;
    if (!convert_input(infile, kind, in, outcome)) return outcome;
    for (const FormatFault& f : in.notes)
        run_message(" Warning: " + path_text(infile) + ", " + f.place + ": " + f.what);
    return list_cup_tasks(infile, &in.cup, &broken);
}

RunOutcome convert_file(const BatchOptions& options) {
    const FileKind kind = input_kind(options.infile);
    if (kind == FileKind::flight_plan)
        return convert_flight_plan(options.infile, options.outfile, &options);
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

void log_run_files(const std::string& infile, const std::string& outfile,
                   std::string_view landscape) {
    run_log_line(path_text(infile));
    run_log_line(path_text(outfile));
    run_log_line(path_text(landscape.empty() ? common_data.landscape.view() : landscape));
}

namespace {

// The job with its landscape as a value; the report's counts and status from the outcome.
void run_job(const FileJob& job, FileJobReport& report, const WarningSink& warn,
             const OpenedFile* read) {
    log_run_files(job.infile, job.outfile, job.landscape);
    const std::string refused = task_refusal(job.infile, job.task);
    if (!refused.empty()) {
        report.status = int(ExitStatus::stopped);
        report.error = refused;
        return;
    }
    if (trim_right(job.landscape).size() > common_data.landscape.capacity) {
        report.status = int(ExitStatus::stopped);
        report.error = "Landscape names are limited to " +
                       std::to_string(common_data.landscape.capacity) + " characters";
        return;
    }
    LandscapeSetup land;
    const std::string why = landscape_setup(job.landscape, land);
    if (!why.empty()) {
        report.status = int(ExitStatus::stopped);
        report.error = why;
        return;
    }
    BatchOptions options;
    options.infile = job.infile;
    options.outfile = job.outfile;
    options.qcup = job.cup;
    options.qline = false;
    options.task = job.task;
    options.all_warnings = true;
    options.projection = &land.projection;
    options.xmax = land.xmax;
    options.ymax = land.ymax;
    options.landscape = job.landscape;
    options.report = [&warn](std::string_view line) { warn(std::string(line)); };
    RunOutcome outcome;
    if (read && !read->held) read = nullptr;  // what could not be read is read as ever
    if (read && read->bytes.empty() && read->converted.cup.empty()) read = nullptr;
    if (read && !read->bytes.empty()) {
        options.bytes = &read->bytes;
        outcome = read_batch(options);
    } else if (read && read->kind != FileKind::flight_plan) {
        options.converted = &read->converted;
        if (options.task.empty() && read->converted.tasks_only) options.task = "1";
        outcome = read_batch(options);
    } else {
        outcome = convert_file(options);
    }
    report.status = int(outcome.status);
    report.written = outcome.written;
    report.outside = outcome.outside;
    report.skipped = outcome.skipped;
    report.outputs = outcome.outputs;
    if (outcome.stop != RunOutcome::Stop::none) report.error = outcome.shown();
    // The program log keeps a reported stop, as on the command line.
    if (outcome.stop == RunOutcome::Stop::reported) log_message_f(outcome.text);
}

FileJobReport run_job_on(const FileJob& job, const WarningSink& on_warning,
                         const OpenedFile* read) {
    FileJobReport report;
    run_job(
        job, report,
        [&](const std::string& line) {
            if (on_warning) on_warning(line);
            if (++report.warning_count <= FileJobReport::warnings_kept)
                report.warnings.push_back(line);
        },
        read);
    run_log_close();  // the next job rewrites it, as the next command would
    return report;
}

}  // namespace

FileJobReport run_file_job(const FileJob& job, const WarningSink& on_warning) {
    return run_job_on(job, on_warning, nullptr);
}

FileJobReport run_plan(const JobPlan& plan, const OpenedFile& file, const WarningSink& on_warning) {
    return run_job_on(plan.job, on_warning, &file);
}

// --- contents ----------------------------------------------------------------------------------

namespace {

std::string file_fault(const std::string& infile, int line, const std::string& what) {
    return path_text(infile) + ", line " + std::to_string(line) + ": " + what;
}

void add_fault(FileContents& c, std::string text) {
    if (++c.fault_count <= FileContents::faults_kept) c.faults.push_back(std::move(text));
}

// A point of the batch layout or of a .cup record, when its coordinates read as a position.
bool decode_point(BatchPoint& p, FileContents& c, std::string& fault, bool cup_input) {
    float lat = 0, lon = 0;
    int type = 0;
    const TextField<20> lat_text = p.c_lat, lon_text = p.c_lon;
    decode_coord(p.c_lat, p.c_lon, lat, lon, type);
    fault = coordinate_fault(lat_text.view(), lon_text.view(), lat, lon, type, cup_input);
    if (!fault.empty()) return false;
    c.add(is_ascii(p.name) ? p.name : utf8_or_cp1252_to_utf8(p.name), lat, lon, false);
    return true;
}

// The input's lines: its bytes when they were kept, else the file itself.
bool open_lines(LineReader& in, const std::string& infile, const std::string* bytes) {
    if (bytes) {
        in.open_bytes(*bytes);
        return true;
    }
    return file_exists(infile) && in.open(open_file(infile, "rb"));
}

void read_batch_contents(const std::string& infile, FileContents& c, const std::string* bytes) {
    LineReader in(LineReader::Encoding::bytes);
    if (!open_lines(in, infile, bytes)) {
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
            if (key == "Landscape") c.landscape = utf8_or_cp1252_to_cp1252(val);
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
        if (!decode_point(p, c, fault, false)) {
            c.error = file_fault(infile, in.line_number(), fault);
            return;
        }
    }
    if (in.failed())
        c.error = message_shown(batch_file_message(BatchFileFailure::read_input, infile));
}

// `places`: a converted input's place in its source of each line ("" none).
std::string place_of(const std::vector<std::string>& places, int line) {
    if (line >= 1 && std::size_t(line) <= places.size() && !places[std::size_t(line - 1)].empty())
        return places[std::size_t(line - 1)];
    return "line " + std::to_string(line);
}

// The waypoints read one record at a time, so that a million of them cost their points alone;
// the tasks after them find their points by name.
void read_cup_contents(const std::string& infile, FileContents& c, const std::string* bytes,
                       const ConvertedInput* given) {
    static const std::vector<std::string> no_places;
    const std::vector<std::string>& places = given ? given->places : no_places;
    LineReader in(LineReader::Encoding::bytes);
    if (given) {
        in.open_bytes(given->cup);
    } else if (!open_lines(in, infile, bytes)) {
        c.error = message_shown(batch_file_message(BatchFileFailure::open_input, infile));
        return;
    }
    if (given) {
        for (const FormatFault& f : given->skipped)
            if (f.task < 0) add_fault(c, f.text());
    }
    CupReader reader(in);
    CupRecord rec;
    std::vector<CupField> fields;
    std::string fault;
    BatchPoint p;
    // Waypoints that cannot be read, by name: what a task naming one is told (the first ones).
    constexpr std::size_t bad_names_kept = 10000;
    std::vector<std::pair<std::string, std::string>> bad;
    while (reader.next(rec)) {
        if (is_cup_comment(rec.text)) continue;
        const bool parsed = parse_cup_record(rec.text, reader.columns(), fields, p, fault);
        if (parsed && decode_point(p, c, fault, true)) continue;
        const std::string why = place_of(places, rec.line) + ": " + fault;
        add_fault(c, why);  // the conversion skips it too
        if (parsed && bad.size() < bad_names_kept) bad.emplace_back(trim(p.name), why);
    }
    if (in.failed()) {
        c.error = message_shown(batch_file_message(BatchFileFailure::read_input, infile));
        return;
    }
    const std::vector<CupTask> tasks = read_cup_tasks(reader.task_section());

    // The first waypoint of each name a task needs.
    std::unordered_map<std::string, int> by_name;
    for (const CupTask& task : tasks)
        for (const std::string& name : task.points)
            by_name.try_emplace(std::string(trim(name)), -1);
    for (std::size_t k = 0; k < c.points.size(); ++k) {
        auto it = by_name.find(std::string(trim(c.name(c.points[k]))));
        if (it != by_name.end() && it->second < 0) it->second = int(k);
    }
    const std::vector<CupRecord>& section = reader.task_section();
    for (const CupTask& task : tasks) {
        FileTask t;
        t.name = utf8_or_cp1252_to_cp1252(trim(task.name));
        // The zones its ObsZone= lines give, by the place of each point on the task line.
        FormatTask rules;
        rules.has_takeoff = true;
        rules.points.resize(task.points.size());
        read_cup_rules(task, section, rules);
        const std::vector<std::size_t> route = task_route(task);
        for (std::size_t k = 0; k < route.size(); ++k) {
            std::size_t at = route[k];
            // A take-off that is also the start is one turnpoint: the start's zone.
            if (at == 0 && task.points.size() > 1 && trim(task.points[1]) == trim(task.points[0]))
                at = 1;
            t.zones.push_back(at < rules.points.size() ? rules.points[at].zone : ObsZone{});
        }
        auto lose = [&t](std::string why) {
            t.points.push_back(-1);
            if (t.broken.empty()) t.broken = std::move(why);
        };
        for (std::size_t at : task_route(task)) {
            const std::string name(trim(task.points[at]));
            auto inline_point = std::find_if(task.inline_points.begin(), task.inline_points.end(),
                                             [&](const auto& ip) { return ip.first == at; });
            if (inline_point != task.inline_points.end()) {
                BatchPoint ip;
                if (parse_cup_record(inline_point->second.text, reader.columns(), fields, ip,
                                     fault) &&
                    decode_point(ip, c, fault, true)) {
                    t.points.push_back(int(c.points.size()) - 1);
                } else {
                    lose("point \"" + name + "\", " + place_of(places, inline_point->second.line) +
                         ": " + fault);
                }
                continue;
            }
            if (auto it = by_name.find(name); it != by_name.end() && it->second >= 0) {
                t.points.push_back(it->second);
                continue;
            }
            auto why = std::find_if(bad.begin(), bad.end(),
                                    [&](const auto& b) { return b.first == name; });
            if (why != bad.end())
                lose("point \"" + name + "\", " + why->second);
            else
                lose("point \"" + name + "\": no waypoint of this name can be read");
        }
        c.tasks.push_back(std::move(t));
    }
    // A point a task file's reader could not read: the task lost it.
    if (given) {
        for (const FormatFault& f : given->skipped) {
            if (f.task < 0 || std::size_t(f.task) >= c.tasks.size()) continue;
            FileTask& t = c.tasks[std::size_t(f.task)];
            if (t.broken.empty()) t.broken = f.text();
        }
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
        if (!p.has_x || !p.has_y) {
            const std::string what = "turnpoint " + std::to_string(p.number) + " has no " +
                                     (p.has_x ? "TPPosY" : "TPPosX");
            add_fault(c, "line " + std::to_string(p.line) + ": " + what);
            continue;
        }
        task.points.push_back(int(c.points.size()));
        c.add(cp1252_to_utf8(p.has_name && !trim(p.name).empty() ? p.name
                                                                 : "TP" + std::to_string(p.number)),
              p.x, p.y, true);
    }
    c.tasks.push_back(std::move(task));
}

}  // namespace

void FileContents::add(std::string_view name, float a, float b, bool has_xy) {
    FilePoint p;
    p.a = a;
    p.b = b;
    p.has_xy = has_xy;
    p.name_at = std::uint32_t(names.size());
    p.name_size = std::uint16_t(std::min<std::size_t>(name.size(), UINT16_MAX));
    names.append(name.substr(0, p.name_size));
    points.push_back(p);
}

FileContents read_file_contents(const std::string& infile) {
    return open_job_file(infile).contents;
}

std::string default_output(const std::string& infile, bool flight_plan_input) {
    if (flight_plan_input && !is_flight_plan_name(infile)) {
        const std::size_t start = path_name_start(infile);
        const std::size_t dot = infile.find('.', start);
        return (dot == std::string::npos ? infile : infile.substr(0, dot)) + ".cup";
    }
    return batch_output_name(infile);
}

OpenedFile open_job_file(const std::string& path, std::uintmax_t hold_max) {
    OpenedFile f;
    f.path = path;
    // The stamp first: a change made while reading shows as a change.
    f.stamp = file_stamp(path);
    f.kind = input_kind(path);
    FileContents& c = f.contents;
    if (f.kind == FileKind::flight_plan) {
        read_plan_contents(path, c);
        return f;
    }
    // A .cup saved as UTF-16 is read whole, as the UTF-8 .cup the batch reads.
    if (ConvertedInput utf8; f.kind == FileKind::cup && utf16_cup(path, utf8)) {
        f.converted = std::move(utf8);
        f.held = true;
        read_cup_contents(path, c, nullptr, &f.converted);
        return f;
    }
    if ((f.kind == FileKind::cup || f.kind == FileKind::batch) && f.stamp.size > hold_max) {
        // Too large to keep twice: read as it streams by, and read again by the job.
        if (f.kind == FileKind::cup)
            read_cup_contents(path, c, nullptr, nullptr);
        else
            read_batch_contents(path, c, nullptr);
        return f;
    }
    if (!read_whole_file(path, f.bytes)) {
        c.error = message_shown(batch_file_message(BatchFileFailure::open_input, path));
        return f;
    }
    f.held = true;
    // A UTF-16 .cup is held as its UTF-8, which the job then reads.
    if (std::string utf8; f.kind == FileKind::cup && utf16_to_utf8(f.bytes, utf8))
        f.bytes = std::move(utf8);
    if (f.kind == FileKind::cup) {
        read_cup_contents(path, c, &f.bytes, nullptr);
    } else if (f.kind == FileKind::batch) {
        read_batch_contents(path, c, &f.bytes);
    } else {
        RunOutcome outcome;
        if (convert_bytes(path, f.kind, f.bytes, f.converted, outcome)) {
            read_cup_contents(path, c, nullptr, &f.converted);
        } else {
            c.error = outcome.shown();
            f.held = false;
        }
        f.bytes.clear();  // the .cup made of it is what the job reads
        f.bytes.shrink_to_fit();
    }
    return f;
}

JobPlan plan_job(const OpenedFile& file, const JobChoices& choices) {
    JobPlan plan;
    const FileContents& c = file.contents;
    FileJob& job = plan.job;
    job.landscape = choices.landscape;
    job.infile = file.path;
    job.outfile = choices.outfile;
    job.cup = !c.is_flight_plan && choices.cup;
    const bool has_task =
        !c.is_flight_plan && choices.task >= 0 && std::size_t(choices.task) < c.tasks.size();
    if (has_task) job.task = std::to_string(choices.task + 1);
    if (job.outfile.empty()) {
        plan.refusal = "Choose an output file first";
        return plan;
    }
    plan.writes.push_back(job.outfile);
    if (job.cup)
        plan.writes.push_back(waypoint_output_name(job.infile, job.outfile, job.landscape));
    if (has_task && !c.tasks[std::size_t(choices.task)].broken.empty()) {
        const FileTask& t = c.tasks[std::size_t(choices.task)];
        plan.refusal = broken_task_message(t.name, t.broken, file.path);
        return plan;
    }
    for (const std::string& f : plan.writes) {
        if (is_read_only(f)) {
            plan.refusal = message_literal(path_text(f)) +
                           " is read-only: it is not replaced/Choose another name";
            return plan;
        }
        if (file_exists(f)) plan.replaces.push_back(f);
    }
    return plan;
}

double task_length(const FileContents& c, const FileTask& task, const Utm000* projection) {
    if (!task.broken.empty()) return std::nan("");
    std::vector<PlaneXY> xy;
    std::vector<LatLon> ll;
    for (int k : task.points) {
        if (k < 0 || std::size_t(k) >= c.points.size()) return std::nan("");
        const FilePoint& p = c.points[std::size_t(k)];
        if (p.has_xy) {
            xy.push_back({p.a, p.b});
        } else if (projection) {
            double x = 0, y = 0;
            to_xy_d(*projection, p.a, p.b, x, y);
            xy.push_back({x, y});
        } else {
            ll.push_back({p.a, p.b});
        }
    }
    return ll.empty() ? route_length(xy) : task_length_m(ll);
}

std::string landscape_holding(const FileContents& c, int task,
                              const std::vector<std::string>& landscapes,
                              std::string_view install) {
    // A sample is enough to tell the landscapes apart, and a million points stay quick.
    constexpr std::size_t sample = 2000;
    std::vector<int> which;
    if (task >= 0 && std::size_t(task) < c.tasks.size()) {
        for (int k : c.tasks[std::size_t(task)].points)
            if (k >= 0) which.push_back(k);
    }
    if (which.empty()) {
        const std::size_t step = std::max<std::size_t>(1, c.points.size() / sample);
        for (std::size_t k = 0; k < c.points.size(); k += step) which.push_back(int(k));
    }
    std::string best;
    int best_count = 0;
    bool tie = false;
    for (const std::string& name : landscapes) {
        LandscapeSetup land;
        if (!landscape_setup(text_path(name), land, install).empty()) continue;
        int count = 0;
        for (int k : which) {
            const FilePoint& p = c.points[std::size_t(k)];
            float x = p.a, y = p.b;
            if (!p.has_xy) to_xy(land.projection, p.a, p.b, x, y);
            if (!land.outside(x, y)) ++count;
        }
        if (count > best_count) {
            best = name;
            best_count = count;
            tie = false;
        } else if (count == best_count && count > 0) {
            tie = true;
        }
    }
    return tie ? std::string() : best;
}
