// The file page: its definition, what a chosen file fills in (landscape, tasks, output, picture),
// Convert through the command line's own file job, and what happened, shown in the window.
#include "app/pages/file_page.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/jobs/conversion_setup.hpp"
#include "app/jobs/file_job.hpp"
#include "app/jobs/pilot_words.hpp"
#include "app/jobs/run_log.hpp"
#include "app/pages/form_glue.hpp"
#include "app/pages/task_picture.hpp"
#include "formats/records.hpp"
#include "forms/my_forms.hpp"
#include "geo/UTM.hpp"
#include "host/diag.hpp"
#include "host/files.hpp"
#include "host/install.hpp"
#include "host/log_files.hpp"
#include "host/messages.hpp"
#include "host/user_dirs.hpp"
#include "include/common_data.hpp"
#include "util/cp1252.hpp"
#include "util/i18n.hpp"
#include "util/text.hpp"

namespace {

constexpr std::string_view title = "Varnix";
constexpr std::string_view form_file_name = "Varnix_files.frm";
constexpr std::string_view all_waypoints = "All waypoints";

struct FilePage {
    std::unique_ptr<FormContext> form;
    FormContext* converter = nullptr;                          // the form the page was reached from
    int n_in = 0, n_lnd = 0, n_tsk = 0, n_out = 0, n_cup = 0;  // input boxes
    int t_sum = 0, t_msg = 0;                                  // text lines
    int t_cupname = 0;                  // the waypoint file's name, beside its tick box
    std::string output;                 // the output proposed for it (host path)
    OpenedFile file;                    // the file shown, read once; path "" none
    std::vector<std::string> warnings;  // the first of the last Convert
    std::size_t warning_count = 0;      // all of them
};

FilePage page;

std::string value_of(int n) { return std::string(trim(current_value(n).cv)); }
int entry_of(int n) { return current_value(n).iv; }

void set_line(int t, std::string_view text) {
    frm_set_prop(sec_text, t, prop_txt, 0, 0, text, true);
}

bool find_page_items() {
    return find_named_items(
        {{"IN", &page.n_in},
         {"LND", &page.n_lnd},
         {"TSK", &page.n_tsk},
         {"OUT", &page.n_out},
         {"CUP", &page.n_cup}},
        {{"SUM", &page.t_sum}, {"MSG", &page.t_msg}, {"CUPN", &page.t_cupname}});
}

std::string file_name_of(const std::string& path) {
    return path_text(path.substr(path_name_start(path)));
}

// --- the picture ---------------------------------------------------------------------------------

// The landscape chosen in the list as a value; false when it cannot be set up.
bool chosen_landscape(LandscapeSetup& land) {
    const std::string name = value_of(page.n_lnd);
    return !name.empty() && landscape_setup(text_path(name), land).empty();
}

// The task the list shows: its index in the file's tasks, -1 for all waypoints.
int chosen_task() {
    const FileContents& c = page.file.contents;
    if (c.is_flight_plan) return c.tasks.empty() ? -1 : 0;
    const int entry = entry_of(page.n_tsk);  // 1: all waypoints
    const int task = entry - 2;
    return task >= 0 && task < int(c.tasks.size()) ? task : -1;
}

// A task point's observation zone as the picture draws it.
TaskZone picture_zone(const ObsZone& z) {
    using S = ObsZone::Shape;
    TaskZone t;
    t.radius = z.radius;
    t.inner_radius = z.inner_radius;
    const double opening = std::fmod(z.end_radial - z.start_radial + 360, 360);
    switch (z.shape) {
        case S::cylinder:
        case S::mat_cylinder:
            t.kind = TaskZone::cylinder;
            break;
        case S::line:
            t.kind = TaskZone::line;
            t.line_length = z.length;
            break;
        case S::sector:
            t.kind = TaskZone::sector;
            t.angle = opening > 0 ? opening : 90;
            break;
        case S::annular_sector:
            t.kind = TaskZone::annular_sector;
            t.angle = opening > 0 ? opening : 90;
            break;
        case S::symmetric_quadrant:
            t.kind = TaskZone::sector;
            t.angle = z.angle > 0 ? z.angle : 90;
            break;
        case S::fai_sector:
            t.kind = TaskZone::fai_sector;
            break;
        case S::keyhole:  // 10 km sector, 500 m cylinder
            t.kind = TaskZone::keyhole;
            t.radius = 10000;
            t.inner_radius = 500;
            break;
        case S::custom_keyhole:
        case S::bga_fixed_course:
        case S::bga_enhanced_option:
        case S::bga_start:
            t.kind = TaskZone::keyhole;
            break;
        case S::none:
            t.kind = TaskZone::point;
            break;
    }
    return t;
}

void show_picture() {
    PictureItems items;
    const FileContents& c = page.file.contents;
    LandscapeSetup land;
    if (!page.file.path.empty() && chosen_landscape(land)) {
        TaskPicture in;
        in.xmax = land.xmax;
        in.ymax = land.ymax;
        in.points.reserve(c.points.size());
        in.names = c.names;  // the same text, the same places in it
        for (const FilePoint& p : c.points) {
            float x = p.a, y = p.b;
            if (!p.has_xy) to_xy(land.projection, p.a, p.b, x, y);
            in.points.push_back({x, y, p.name_at, p.name_size, !land.outside(x, y)});
        }
        const int task = chosen_task();
        in.all_waypoints = task < 0;
        if (task >= 0) {
            in.route = c.tasks[std::size_t(task)].points;
            for (const ObsZone& z : c.tasks[std::size_t(task)].zones)
                in.zones.push_back(picture_zone(z));
        }
        items = task_picture(in);
    }
    frm_set_picture(1, std::move(items));
}

// --- choosing a file -----------------------------------------------------------------------------

// The task list: a line per task with its length in the chosen landscape's plane. `entry`: the
// line to show (0: a file with tasks starts on its first task).
void fill_task_list(int entry = 0) {
    const FileContents& c = page.file.contents;
    LandscapeSetup land;
    const bool planar = chosen_landscape(land);
    std::vector<std::string> lines{std::string(all_waypoints)};
    if (!c.is_flight_plan)
        for (std::size_t t = 0; t < c.tasks.size(); ++t)
            lines.push_back(task_line(
                int(t) + 1, c.tasks[t].name, c.tasks[t].points.size(), !c.tasks[t].broken.empty(),
                task_length(c, c.tasks[t], planar ? &land.projection : nullptr)));
    if (entry == 0) entry = lines.size() > 1 ? 2 : 1;
    frm_set_list(page.n_tsk, lines, entry);
}

void clear_results() {
    set_line(page.t_msg, "");
    page.warnings.clear();
    page.warning_count = 0;
}

// The result lines of the file and the task chosen: what it holds, and what cannot be read.
void show_file_lines() {
    const FileContents& c = page.file.contents;
    set_line(page.t_sum, contents_text(c.points.size(), c.tasks.size(), c.fault_count));
    const int task = chosen_task();
    if (!c.error.empty())
        set_line(page.t_msg, "Not all of the file could be read");
    else if (task >= 0 && !c.tasks[std::size_t(task)].broken.empty())
        set_line(page.t_msg, "This task lost a point: " + c.tasks[std::size_t(task)].broken);
    else
        set_line(page.t_msg, "");
}

// The converter's landscape follows the page's, so the choice is saved with the converter's.
void remember_landscape() {
    if (page.converter == nullptr) return;
    const std::string name = value_of(page.n_lnd);
    FormContext* const here = frm_current_context();
    frm_set_context(page.converter);
    const int entry = frm_find_entry(common_data.n_lnd, name);
    if (entry != 0) {
        frm_set_value(common_data.n_lnd, entry, 0, "", true);
        common_data.landscape = text_path(name);
    }
    frm_set_context(here);
}

// The file's own landscape, else the installed one that holds most of its points, else the one
// used last.
void preselect_landscape() {
    const FileContents& c = page.file.contents;
    int entry = 0;
    if (!c.landscape.empty()) entry = frm_find_entry(page.n_lnd, path_text(c.landscape));
    if (entry == 0 && !page.file.path.empty() && !c.points.empty()) {
        std::string why;
        const std::string install = active_install_folder(why);
        if (!install.empty()) {
            std::vector<std::string> names;
            installed_landscapes(names, false);
            const std::string best = landscape_holding(c, chosen_task(), names, install);
            if (!best.empty()) entry = frm_find_entry(page.n_lnd, best);
        }
    }
    if (entry == 0 && !common_data.landscape.blank())
        entry = frm_find_entry(page.n_lnd, path_text(common_data.landscape.view()));
    if (entry != 0) frm_set_value(page.n_lnd, entry, 0, "", true);
}

std::string last_file_record() {
    const std::string folder = settings_folder();
    return folder.empty() ? std::string() : path_join(folder, "Varnix_files.dat");
}

// The last file opened, for the next time the page is reached without one.
void remember_file(const std::string& path) {
    const std::string record = last_file_record();
    if (record.empty()) return;
    std::error_code ec;
    const std::filesystem::path whole = std::filesystem::absolute(fs_path(path), ec);
    AsideFile out;
    if (ec || !out.open(record)) return;
    out.write(path_from_fs(whole));
    out.commit();
}

std::string last_file() {
    const std::string record = last_file_record();
    std::string path;
    if (std::FILE* f = record.empty() || !file_exists(record) ? nullptr : open_file(record, "rb")) {
        char buf[4096];
        path.assign(buf, std::fread(buf, 1, sizeof buf, f));
        std::fclose(f);
    }
    return file_exists(path) ? path : std::string();
}

// The output the box shows. A box shows a path as text; the path itself is kept while the box
// shows it unchanged.
std::string chosen_output() {
    const std::string out_text = value_of(page.n_out);
    return out_text == path_text(page.output) ? page.output : text_path(out_text);
}

void show_outputs() {
    const bool cup = !page.file.contents.is_flight_plan && entry_of(page.n_cup) != 0;
    std::string shown;
    if (cup && !page.file.path.empty()) {
        shown = file_name_of(
            waypoint_output_name(page.file.path, chosen_output(), text_path(value_of(page.n_lnd))));
    }
    set_line(page.t_cupname, shown);
}

void open_input(const std::string& path) {
    page.file = open_job_file(path);
    clear_results();
    remember_file(path);
    frm_set_value(page.n_in, 0, 0, path_text(path), true);
    fill_task_list();
    preselect_landscape();
    fill_task_list(entry_of(page.n_tsk));  // the lengths in the landscape's plane
    const bool plan = page.file.contents.is_flight_plan;
    page.output = default_output(path, plan);
    frm_set_value(page.n_out, 0, 0, path_text(page.output), true);
    frm_set_prop(sec_inpt, page.n_cup, prop_act, plan ? 0 : 1, 0, "", true);
    frm_set_title(std::string(title) + " \x97 " + file_name_of(path));
    show_file_lines();
    show_outputs();
    if (!page.file.contents.error.empty())
        error_message_tit(s_error, title, message_literal(page.file.contents.error), false);
    show_picture();
}

// --- Convert -------------------------------------------------------------------------------------

// One question for every file the job would replace; true to go on.
bool may_replace(const std::vector<std::string>& files) {
    if (files.empty()) return true;
    std::string text;
    for (const std::string& f : files) text += message_literal(path_text(f)) + "/";
    text +=
        files.size() == 1 ? "This file exists. Replace it?" : "These files exist. Replace them?";
    return error_message_tit(s_yesno, title, text, false) == 1;
}

JobChoices page_choices() {
    JobChoices choices;
    choices.landscape = text_path(value_of(page.n_lnd));
    choices.outfile = chosen_output();
    choices.cup = entry_of(page.n_cup) != 0;
    choices.task = chosen_task();
    return choices;
}

void convert_page() {
    if (page.file.path.empty()) {
        error_message_tit(s_warning, title, "Choose an input file first", false);
        return;
    }
    // What is converted is what the page shows: a file changed since is shown again first.
    if (page.file.changed()) {
        const std::string path = page.file.path;
        open_input(path);
        set_line(page.t_msg,
                 "The file changed since it was opened: it was read again. Convert converts what "
                 "it holds now");
        return;
    }
    const JobPlan plan = plan_job(page.file, page_choices());
    if (!plan.refusal.empty()) {
        set_line(page.t_msg, "Not converted");
        error_message_tit(s_warning, title, plan.refusal, false);
        return;
    }
    if (!may_replace(plan.replaces)) return;

    // All of them in the run log, for later.
    const FileJobReport r =
        run_plan(plan, page.file, [](const std::string& w) { run_log_line(w); });
    page.warnings = r.warnings;
    page.warning_count = r.warning_count;
    std::string msg;
    if (r.status == 2) {
        set_line(page.t_sum, "Stopped: nothing usable was written");
        msg = "";
    } else {
        set_line(page.t_sum, outcome_line(r.written, r.outside, r.skipped));
        if (r.warning_count == 1)
            msg = "1 warning: the Warnings button shows it";
        else if (r.warning_count > 1)
            msg = std::to_string(r.warning_count) + " warnings: the Warnings button lists them";
        else
            msg = "Written: " + file_name_of(plan.job.outfile);
    }
    set_line(page.t_msg, msg);
    if (!r.error.empty()) error_message_tit(s_error, title, message_literal(r.error), false);
}

// The last Convert's warnings over the page, every one whole, and where the log keeps them all.
void list_warnings() {
    if (page.warnings.empty()) {
        frm_show_lines("Warnings", {"No warnings"});
        return;
    }
    std::vector<std::string> lines;
    for (const std::string& w : page.warnings) lines.emplace_back(trim(w));
    if (page.warning_count > lines.size())
        lines.push_back(plural(static_cast<long long>(page.warning_count - lines.size()),
                               "{1} more warning", "{1} more warnings"));
    lines.push_back("All of them are in " + path_text(log_file_path(run_log_name())));
    frm_show_lines("Warnings", lines);
}

// --- hooks ---------------------------------------------------------------------------------------

void page_callback(int ncla, int n, int& value) {
    if (ncla == sec_inpt) {
        if (n == page.n_in) {
            const std::string shown = value_of(n);
            if (!shown.empty() && shown != path_text(page.file.path)) open_input(text_path(shown));
        } else if (n == page.n_lnd || n == page.n_tsk) {
            clear_results();
            if (page.file.path.empty()) return;
            show_file_lines();
            show_outputs();
            if (n == page.n_lnd) {
                remember_landscape();
                fill_task_list(entry_of(page.n_tsk));
            }
            show_picture();
        } else if (n == page.n_cup || n == page.n_out) {
            show_outputs();
        }
        return;
    }
    if (ncla != sec_butt) return;
    if (value == butt_convert_file)
        convert_page();
    else if (value == butt_warnings)
        list_warnings();
    else if (value == butt_files && page.converter != nullptr)
        frm_switch_form(page.converter);
}

void page_drop(const std::vector<std::string>& paths) {
    if (!paths.empty()) open_input(paths.front());
}

int page_check(int, std::string_view, int&, float&, TextField<255>&, std::string& msg) {
    msg.clear();
    return 1;
}

// Reads the page's definition into a context of its own; false when it cannot be used.
bool make_page() {
    FormContext* const converter = frm_current_context();
    auto form = frm_create_context();
    frm_set_context(form.get());
    frm_context().frm999.qline = false;  // a window's messages are boxes
    const std::string fnam = file_page_form_file();
    diag(fnam);
    bool ok = frm_read_form(fnam) == 0;
    if (ok && !find_page_items()) {
        error_message_tit(s_error, title, "*** Form definition file corrupted ***", false);
        ok = false;
    }
    if (ok) {
        frm_set_app_hooks({page_callback, page_check, page_drop, landscape_list});
        set_line(page.t_sum, "Choose an input file: a waypoint, batch, task or flight-plan file");
        set_line(page.t_msg, "");
    }
    frm_set_context(converter);
    if (!ok) return false;
    page.form = std::move(form);
    page.converter = converter;
    return true;
}

}  // namespace

std::string file_page_form_file() {
    const std::string converter = converter_form_file();
    return converter.substr(0, path_name_start(converter)) + std::string(form_file_name);
}

std::string task_line(int number, std::string_view name, std::size_t points, bool broken,
                      double length_m) {
    std::string line = std::to_string(number) + " " + std::string(trim(name)) + " (" +
                       std::to_string(points) + ")";
    if (std::isfinite(length_m)) {
        char km[32];
        std::snprintf(km, sizeof km, " %.1f km", length_m / 1000);
        line += km;
    }
    return line + (broken ? " - a point lost" : "");
}

std::string outcome_line(int written, int outside, int skipped) {
    return "Points written: " + std::to_string(written) +
           ", outside the landscape: " + std::to_string(outside) +
           ", lines skipped: " + std::to_string(skipped);
}

bool show_file_page(const std::string& file) {
    if (!page.form && !make_page()) return false;
    if (frm_current_context() != page.form.get()) {
        page.converter = frm_current_context();
        frm_switch_form(page.form.get());
        // The converter's choice is the one used last, unless a file names its own.
        if (page.file.path.empty()) {
            const std::string last = file.empty() ? last_file() : std::string();
            if (!last.empty())
                open_input(last);
            else
                preselect_landscape();
        }
    }
    if (!file.empty()) open_input(file);
    return true;
}

void leave_file_page() {
    if (page.converter != nullptr) frm_set_context(page.converter);
}
