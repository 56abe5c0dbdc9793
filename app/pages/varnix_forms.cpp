// The converter window: its definition file, the seven items it works with, the choices
// remembered between runs, and the run of the form.
#include "app/pages/varnix_forms.hpp"

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/pages/converter.hpp"
#include "app/pages/file_page.hpp"
#include "forms/my_forms.hpp"
#include "host/console.hpp"
#include "host/diag.hpp"
#include "host/files.hpp"
#include "host/install.hpp"
#include "host/messages.hpp"
#include "host/user_dirs.hpp"
#include "include/common_data.hpp"
#include "util/text.hpp"

namespace {

constexpr std::string_view title = "Varnix";
constexpr std::string_view saved_file_name = "Varnix_form.dat";

// A start that cannot go on: the box and the same words on the console. The box breaks lines
// at "/", so a path in it is given apart as `literal`.
Fault form_start_fault(std::string_view literal, std::string_view msg) {
    error_message_tit(s_error, title, message_literal(literal) + std::string(msg), false);
    console_line(std::string(literal) + std::string(msg));
    return {Fault::Code::reported, ""};
}

std::string four_digits(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d", v);
    return buf;
}

// What the window starts with: the saved choices, or the defaults.
struct Choices {
    int it = it_latlon;
    int ot = ot_xy;
    int lnd = 1;  // entry of the landscape list, from 1
    std::string ic1, ic2;
};

std::string text_of(int n) { return std::string(trim(model_value(n).cv)); }

std::string saved_values_file() {
    std::string folder = settings_folder();
    return folder.empty() ? std::string() : path_join(folder, saved_file_name);
}

// The saved choices when the saved file is readable and still fits the installation; the
// defaults otherwise, without a word: a file from another installation is no fault of the user.
Choices restored_choices() {
    const auto& cd = common_data;
    Choices c;
    c.ic1 = text_of(cd.n_ic1);
    c.ic2 = text_of(cd.n_ic2);
    std::string file = saved_values_file();
    if (file.empty() || !file_exists(file) || frm_read_form_data(file) != 0) return c;
    int lnd = frm_find_entry(cd.n_lnd, text_of(cd.n_lnd));
    if (lnd == 0) return c;
    c.lnd = lnd;
    int it = model_value(cd.n_it).iv, ot = model_value(cd.n_ot).iv;
    if (it == it_latlon || it == it_xy) c.it = it;
    if (ot >= ot_xy && ot <= ot_vlro) c.ot = ot;
    c.ic1 = text_of(cd.n_ic1);
    c.ic2 = text_of(cd.n_ic2);
    return c;
}

void set_choice(int n, int value) {
    int status = frm_set_value(n, value, 0, "", true);
    BoxValue shown = current_value(n);
    diag("frm_set_value", status, "frm_get_cur_value", shown.iv, shown.cv);
}

void show_choices(const Choices& c) {
    auto& cd = common_data;
    set_choice(cd.n_it, c.it);
    set_choice(cd.n_ot, c.ot);
    set_choice(cd.n_lnd, c.lnd);
    frm_set_value(cd.n_ic1, 0, 0, c.ic1, true);
    frm_set_value(cd.n_ic2, 0, 0, c.ic2, true);
    frm_set_prop(sec_inpt, cd.n_ic1, prop_txt, 0, 0, input_label_1(c.it), true);
    frm_set_prop(sec_inpt, cd.n_ic2, prop_txt, 0, 0, input_label_2(c.it), true);
    clear_result();
    // The range checks of a typed X or Y follow the landscape the list shows.
    int iv = 0, it = 0;
    float rv = 0;
    std::string name;
    frm_get_cur_value(cd.n_lnd, iv, rv, name, it);
    cd.landscape = text_path(name);
}

}  // namespace

// Written aside and renamed, so a failed write never leaves half a file.
void save_choices() {
    const auto& cd = common_data;
    std::string file = saved_values_file();
    if (file.empty()) return;
    for (int n : {cd.n_it, cd.n_ot, cd.n_ic1, cd.n_ic2, cd.n_lnd}) {
        BoxValue shown = current_value(n);
        frm_set_value(n, shown.iv, shown.rv, shown.cv, false);
    }
    std::string aside = file + ".new";
    if (frm_write_form_data(aside) != 0 || !replace_file(aside, file)) {
        diag("saved values not written:", path_text(file));
        remove_file(aside);
    }
}

void show_start_choices() { show_choices(restored_choices()); }

bool find_converter_items() {
    auto& cd = common_data;
    const bool found = find_named_items({{"LND", &cd.n_lnd},
                                         {"IC1", &cd.n_ic1},
                                         {"IC2", &cd.n_ic2},
                                         {"IT", &cd.n_it},
                                         {"OT", &cd.n_ot}},
                                        {{"OC1", &cd.n_oc1}, {"OC2", &cd.n_oc2}});
    diag("NI", frm_get_count());
    diag(cd.n_oc1, cd.n_oc2);
    return found;
}

void add_version_to_title() {
    std::string line;
    frm_get_txt_name(1, line);
    frm_set_prop(sec_text, 1, prop_txt, 0, 0,
                 std::string(trim_right(line)) + " - V" + common_data.cvers.str(), true);
}

namespace {

// The window's run on the current form: the fault that kept it from opening or running.
Fault run_converter() {
    auto& cd = common_data;
    std::string fnam = converter_form_file();
    diag(fnam);
    if (frm_read_form(fnam) != 0) return form_start_fault(path_text(fnam), "/ Error reading");

    int form_version = frm_get_version();
    diag("Versions :", cd.nvers, form_version);
    if (form_version / 100 != cd.nvers / 100)
        return form_start_fault("", "Version numbers do not match:/App:" + four_digits(cd.nvers) +
                                        "/Form:" + four_digits(form_version));

    if (!find_converter_items()) {
        error_message_tit(s_error, title, "*** Form definition file corrupted ***", false);
        return {Fault::Code::stop, "*** Form definition file corrupted  ***"};
    }
    add_version_to_title();
    // Without an installation the engine would show a window with no landscapes, no choices
    // and no buttons, which only its close box could end: say so and stop instead.
    if (!require_volaro_install(title, false)) return {Fault::Code::reported, ""};

    use_converter_hooks();
    if (frm_create_form() == 0) {
        std::string why = no_window_reason();
        if (why.empty()) {
            why = frm_create_failure();
            if (why.empty()) why = window_refused_reason();
            error_message_tit(s_error, title,
                              "The converter window could not be opened:/" + message_literal(why),
                              false);
        }
        return {Fault::Code::stop, "frm_create_form: " + why};
    }
    show_start_choices();
    // A file opened with Varnix: the window opens on the file page, on that file.
    if (!cd.open_file.empty()) show_file_page(cd.open_file);

    const int status = frm_do_form();
    leave_file_page();  // the window may have closed on the file page
    if (status == 0) return {Fault::Code::stop, "frm_do_form"};
    save_choices();
    return {};
}

}  // namespace

Fault varnix_forms() {
    const auto form = frm_create_context();
    FormContext* const outer = frm_current_context();
    frm_set_context(form.get());
    frm_context().frm999.qline = common_data.qline;
    Fault end = run_converter();
    frm_set_context(outer);
    return end;
}
