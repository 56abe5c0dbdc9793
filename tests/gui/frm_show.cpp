// frm_show: runs a form definition file in a window, for trying forms by hand and for the
// window tests that drive it.
//
//   frm_show FORM.frm [--values FILE] [--png FILE] [--once]
//
//   --values FILE  saved values read before the window opens
//   --png FILE     the first frame written to FILE as a PNG
//   --once         ends after the first frame (with --png: a screenshot; alone: a timing)
//
// Output, one plain line each, flushed as it happens (texts are the form's Windows-1252
// bytes; a text is always last on its line, so it may hold blanks):
//   window ID WIDTH HEIGHT          the window is made (ID 0: none could be made)
//   frame NS                        the first frame is on screen (CLOCK_REALTIME nanoseconds)
//   callback NCLA NUM VALUE         the application callback (1 input, 6 button; NUM from 1)
//   check NUM IVAL RVAL TEXT        the application's value check (always accepts)
//   exit STATUS                     the event loop ended with STATUS (-999: window closed)
//   value NUM NAME IVAL RVAL TEXT   every input at the end, in order (lists count from 1)
// Exit status: 0 after a run, 2 when the file cannot be read, 3 when no window can be made.
#include <time.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "forms/my_forms.hpp"
#include "gui/form_view.hpp"
#include "host/install.hpp"
#include "host/messages.hpp"
#include "tests/gui/png_write.hpp"

namespace {

void line(const std::string& s) {
    std::fwrite(s.data(), 1, s.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::string num(float v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", double(v));
    return buf;
}

struct Options {
    std::string form, values, png;
    bool once = false;
} opt;

bool first_frame = true;

void show_frame(pCpw cpw, int win) {
    drawWindowOne();
    if (first_frame && !opt.png.empty()) {
        const auto& w = form_view().windowInfo;
        if (!write_png_bottom_up(opt.png, w.width, w.height, frm_read_back()))
            std::fprintf(stderr, "frm_show: cannot write %s\n", opt.png.c_str());
    }
    cpwSwapWindowBuffers(cpw, win);
    if (!first_frame) return;
    first_frame = false;
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    line("frame " + std::to_string(ts.tv_sec * 1000000000LL + ts.tv_nsec));
    if (opt.once) cpwBreakMainLoop(cpw);
}

int usage() {
    std::fprintf(stderr, "usage: frm_show FORM.frm [--values FILE] [--png FILE] [--once]\n");
    return 2;
}

void callback(int ncla, int n, int& value) {
    line("callback " + std::to_string(ncla) + " " + std::to_string(n) + " " +
         std::to_string(value));
}

int check(int n, std::string_view, int& ival, float& rval, TextField<255>& cval, std::string&) {
    line("check " + std::to_string(n) + " " + std::to_string(ival) + " " + num(rval) + " " +
         cval.str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const auto form = frm_create_context();
    frm_set_context(form.get());
    for (int a = 1; a < argc; ++a) {
        const std::string arg = argv[a];
        if ((arg == "--values" || arg == "--png") && a + 1 < argc)
            (arg == "--values" ? opt.values : opt.png) = argv[++a];
        else if (arg == "--once")
            opt.once = true;
        else if (opt.form.empty() && !arg.starts_with("--"))
            opt.form = arg;
        else
            return usage();
    }
    if (opt.form.empty()) return usage();

    frm_set_app_hooks({callback, check, {}, [](int, std::vector<std::string>& lines) {
                           return installed_landscapes(lines, false);
                       }});
    const int faults = frm_read_form(opt.form);
    if (frm_get_count() == 0) {
        std::fprintf(stderr, "frm_show: %s: no input boxes read (%d faults, see frm_forms.log)\n",
                     opt.form.c_str(), faults);
        return 2;
    }
    if (faults != 0)
        std::fprintf(stderr, "frm_show: %s: %d faults, see frm_forms.log\n", opt.form.c_str(),
                     faults);
    if (!opt.values.empty() && frm_read_form_data(opt.values) != 0)
        std::fprintf(stderr, "frm_show: %s: saved values not read\n", opt.values.c_str());

    const int id = frm_create_form();
    const auto& w = form_view().windowInfo;
    line("window " + std::to_string(id) + " " + std::to_string(w.width) + " " +
         std::to_string(w.height));
    if (id == 0) return 3;
    cpwDisplayCallback(form_view().cpw, show_frame);

    line("exit " + std::to_string(frm_do_form()));
    for (int n = 1; n <= frm_get_count(); ++n) {
        int iv = 0, it = 0;
        float rv = 0;
        std::string cv, name;
        frm_get_cur_value(n, iv, rv, cv, it);
        frm_get_name(n, name);
        line("value " + std::to_string(n) + " " + name + " " + std::to_string(iv) + " " + num(rv) +
             " " + cv);
    }
    return 0;
}
