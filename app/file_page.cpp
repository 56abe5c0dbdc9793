// The file page: its definition, what a chosen file fills in (landscape, tasks, output, picture),
// Convert through the command line's own file job, and what happened, shown in the window.
#include "app/file_page.hpp"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/Varnix.hpp"
#include "app/converter.hpp"
#include "app/file_job.hpp"
#include "app/run_log.hpp"
#include "app/task_picture.hpp"
#include "app/varnix_forms.hpp"
#include "forms/my_forms.hpp"
#include "geo/UTM.hpp"
#include "host/diag.hpp"
#include "host/files.hpp"
#include "host/messages.hpp"
#include "include/common_data.hpp"
#include "util/cp1252.hpp"
#include "util/text.hpp"

namespace {

constexpr std::string_view title = "Varnix";
constexpr std::string_view form_file_name = "Varnix_files.frm";
constexpr std::string_view all_waypoints = "All waypoints";
constexpr std::size_t warnings_listed = 15;  // a box longer than this leaves the screen

struct FilePage {
    std::unique_ptr<FormContext> form;
    FormContext* converter = nullptr;                          // the form the page was reached from
    int n_in = 0, n_lnd = 0, n_tsk = 0, n_out = 0, n_cup = 0;  // input boxes
    int t_sum = 0, t_msg = 0;                                  // text lines
    std::string input;   // the file shown (host path), "" none
    std::string output;  // the output proposed for it (host path)
    FileContents contents;
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
    return find_named_items({{"IN", &page.n_in},
                             {"LND", &page.n_lnd},
                             {"TSK", &page.n_tsk},
                             {"OUT", &page.n_out},
                             {"CUP", &page.n_cup}},
                            {{"SUM", &page.t_sum}, {"MSG", &page.t_msg}});
}

std::string file_name_of(const std::string& path) {
    return path_text(path.substr(path_name_start(path)));
}

// --- the picture ---------------------------------------------------------------------------------

// The landscape chosen in the list, set up for conversion; false (the user was told) when it
// cannot be.
bool chosen_landscape_ready() {
    const std::string name = value_of(page.n_lnd);
    if (name.empty()) return false;
    common_data.landscape = text_path(name);
    return init_conv() == 1;
}

// The task the list shows: its index in the file's tasks, -1 for all waypoints.
int chosen_task() {
    if (page.contents.is_flight_plan) return page.contents.tasks.empty() ? -1 : 0;
    const int entry = entry_of(page.n_tsk);  // 1: all waypoints
    const int task = entry - 2;
    return task >= 0 && task < int(page.contents.tasks.size()) ? task : -1;
}

void show_picture() {
    PictureItems items;
    const FileContents& c = page.contents;
    if (!page.input.empty() && chosen_landscape_ready()) {
        TaskPicture in;
        in.xmax = common_data.xmax;
        in.ymax = common_data.ymax;
        in.points.reserve(c.points.size());
        for (const FilePoint& p : c.points) {
            float x = p.x, y = p.y;
            if (!p.has_xy) latlontoxy(p.lat, p.lon, x, y);
            in.points.push_back({x, y, cp1252_to_utf8(p.name), !outside_landscape(x, y)});
        }
        const int task = chosen_task();
        in.all_waypoints = task < 0;
        if (task >= 0) in.route = c.tasks[task].points;
        items = task_picture(in);
    }
    frm_set_picture(1, std::move(items));
}

// --- choosing a file -----------------------------------------------------------------------------

void fill_task_list() {
    const FileContents& c = page.contents;
    std::vector<std::string> lines{std::string(all_waypoints)};
    if (!c.is_flight_plan)
        for (std::size_t t = 0; t < c.tasks.size(); ++t)
            lines.push_back(task_line(int(t) + 1, c.tasks[t].name, c.tasks[t].points.size()));
    // A file with tasks starts on its first task.
    frm_set_list(page.n_tsk, lines, lines.size() > 1 ? 2 : 1);
}

void preselect_landscape() {
    int entry = 0;
    if (!page.contents.landscape.empty())
        entry = frm_find_entry(page.n_lnd, path_text(page.contents.landscape));
    if (entry == 0 && !common_data.landscape.blank())
        entry = frm_find_entry(page.n_lnd, path_text(common_data.landscape.view()));
    if (entry != 0) frm_set_value(page.n_lnd, entry, 0, "", true);
}

void open_input(const std::string& path) {
    page.input = path;
    page.warnings.clear();
    page.warning_count = 0;
    page.contents = read_file_contents(path);
    frm_set_value(page.n_in, 0, 0, path_text(path), true);
    fill_task_list();
    preselect_landscape();
    const bool plan = page.contents.is_flight_plan;
    page.output = default_output(path, plan);
    frm_set_value(page.n_out, 0, 0, path_text(page.output), true);
    frm_set_prop(sec_inpt, page.n_cup, prop_act, plan ? 0 : 1, 0, "", true);
    frm_set_title(std::string(title) + " \x97 " + file_name_of(path));
    set_line(page.t_sum, std::to_string(page.contents.points.size()) + " points, " +
                             std::to_string(page.contents.tasks.size()) + " tasks");
    set_line(page.t_msg, "");
    if (!page.contents.error.empty()) {
        set_line(page.t_msg, "Not all of the file could be read");
        error_message_tit(s_error, title, message_literal(page.contents.error), false);
    }
    show_picture();
}

// --- Convert -------------------------------------------------------------------------------------

// Asks before a file the user has is replaced; true to go on.
bool may_replace(const std::vector<std::string>& files) {
    for (const std::string& f : files) {
        if (!file_exists(f)) continue;
        const int answer = error_message_tit(
            s_yesno, title, message_literal(path_text(f)) + "/This file exists. Replace it?",
            false);
        if (answer != 1) return false;
    }
    return true;
}

void convert_page() {
    if (page.input.empty()) {
        error_message_tit(s_warning, title, "Choose an input file first", false);
        return;
    }
    FileJob job;
    job.landscape = text_path(value_of(page.n_lnd));
    job.infile = page.input;
    // A box shows a path as text; the path itself is kept while the box shows it unchanged.
    const std::string out_text = value_of(page.n_out);
    job.outfile = out_text == path_text(page.output) ? page.output : text_path(out_text);
    job.cup = !page.contents.is_flight_plan && entry_of(page.n_cup) != 0;
    const int task = chosen_task();
    if (task >= 0 && !page.contents.is_flight_plan) job.task = std::to_string(task + 1);
    if (job.outfile.empty()) {
        error_message_tit(s_warning, title, "Choose an output file first", false);
        return;
    }
    std::vector<std::string> replaced{job.outfile};
    if (job.cup) replaced.push_back(cup_file_name(job.outfile));
    if (!may_replace(replaced)) return;

    // All of them in the run log, for later.
    const FileJobReport r = run_file_job(job, [](const std::string& w) { run_log_line(w); });
    page.warnings = r.warnings;
    page.warning_count = r.warning_count;
    set_line(page.t_sum, outcome_line(r.written, r.outside, r.skipped));
    std::string msg;
    if (r.status == 2)
        msg = "Stopped: nothing usable was written";
    else if (r.warning_count == 1)
        msg = "1 warning: the Warnings button shows it";
    else if (r.warning_count > 1)
        msg = std::to_string(r.warning_count) + " warnings: the Warnings button lists them";
    else
        msg = "Written: " + file_name_of(job.outfile);
    set_line(page.t_msg, msg);
    if (!r.error.empty()) error_message_tit(s_error, title, message_literal(r.error), false);
    show_picture();  // the landscape may have been another
}

void list_warnings() {
    if (page.warnings.empty()) {
        error_message_tit(s_info, title, "No warnings", false);
        return;
    }
    std::string text;
    const std::size_t n = std::min(page.warnings.size(), warnings_listed);
    for (std::size_t k = 0; k < n; ++k) text += message_literal(trim(page.warnings[k])) + "/";
    if (page.warning_count > n) text += std::to_string(page.warning_count - n) + " more/";
    text += "All of them are in Varnix.log";
    error_message_tit(s_warning, title, text, false);
}

// --- hooks ---------------------------------------------------------------------------------------

void page_callback(int ncla, int n, int& value) {
    if (ncla == sec_inpt) {
        if (n == page.n_in) {
            const std::string shown = value_of(n);
            if (!shown.empty() && shown != path_text(page.input)) open_input(text_path(shown));
        } else if (n == page.n_lnd || n == page.n_tsk) {
            show_picture();
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

std::string task_line(int number, std::string_view name, std::size_t points) {
    return std::to_string(number) + " " + std::string(trim(name)) + " (" + std::to_string(points) +
           ")";
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
        if (page.input.empty()) preselect_landscape();
    }
    if (!file.empty()) open_input(file);
    return true;
}

void leave_file_page() {
    if (page.converter != nullptr) frm_set_context(page.converter);
}
