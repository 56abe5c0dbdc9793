// The form window's life. No window system is attached yet: starting reports that no window
// could be made (id 0), and everything that needs a window refuses.
#include "gui/form_view.hpp"
#include "host/diag.hpp"

int frm_start_graphics(std::string_view font_file, std::string_view title) {
    FormView.font_name.assign(font_file);
    FormView.Title.assign(title);
    FormView.windowInfo.id = 0;
    diag("frm_start_graphics: no window system, no window for", FormView.Title);
    return FormView.windowInfo.id;
}

int frm_new_form_gr() { return FormView.windowInfo.id; }

int frm_do_graphics() {
    if (FormView.windowInfo.id == 0) return 0;
    return FormView.ExitStat;
}
