// The form window's life: fonts and metrics, the one window (created once per process and
// reused by every later form), the toolkit handlers, and the event loop.
#include <algorithm>
#include <string>

#include "gui/form_input.hpp"
#include "gui/form_view.hpp"
#include "host/diag.hpp"
#include "host/dialogs.hpp"
#include "host/messages.hpp"

namespace {

constexpr const char* label_font_fallback = "arial.ttf";
constexpr const char* value_font = "cour.ttf";

// A face by file name through the toolkit's font path (fontconfig stands in for missing files).
CpwFontFace load_font(const std::string& file) {
    auto& v = form_view();
    if (file.empty()) return nullptr;
    return cpwLoadFont(v.cpw, file.c_str(), cpw_font_location_system, nullptr);
}

void load_fonts() {
    auto& v = form_view();
    cpwFontMode(v.cpw, cpw_font_render_mode, 0);
    cpwFontMode(v.cpw, cpw_font_alignment, 0);
    cpwFontMode(v.cpw, cpw_font_size, std::max(1, v.font_size));
    cpwFontMode(v.cpw, cpw_font_kerning, 1);
    cpwFontMode(v.cpw, cpw_font_pixmap_format, 0x1908);  // GL_RGBA
    cpwFontMode(v.cpw, cpw_font_advance_mult, 1);
    cpwFontMode(v.cpw, cpw_font_flag27, 1);

    v.Txt_Font = load_font(v.font_name);
    if (v.Txt_Font == nullptr) {
        log_message("************* Txt_Font : " + v.font_name +
                    " could not be loaded - arial.ttf selected *************");
        v.font_name = label_font_fallback;
        v.Txt_Font = load_font(v.font_name);
    }
    v.Inp_Font = load_font(value_font);
    if (v.Inp_Font == nullptr) {
        log_message(std::string("************* Inp_Font : ") + value_font +
                    " could not be loaded - arial.ttf selected *************");
        v.font_name = label_font_fallback;
        v.Inp_Font = load_font(v.font_name);
    }
}

void register_handlers(pCpw cpw) {
    cpwCreateCallback(cpw, frm_window);
    cpwDisplayCallback(cpw, frm_draw);
    cpwReshapeCallback(cpw, frm_reshape);
    cpwMouseClickCallback(cpw, frm_mouseclick);
    cpwMouseEntryCallback(cpw, frm_mouseentry);
    cpwMouseMoveCallback(cpw, frm_mousemove);
    cpwMouseDragCallback(cpw, frm_mousedrag);
    cpwKeyCallback(cpw, [](pCpw, int, const CpwKeyInfo& key) { frm_KdbHookProc(key); });
    cpwDropCallback(cpw, [](pCpw, int, const std::vector<std::string>& paths) {
        if (const auto& drop = form_view().model_ops.drop) drop(paths);
    });
}

// While a message box or chooser is up the form is still drawn, its input held back; then the
// form has the keyboard again.
void wait_for_dialogs() {
    set_dialog_waiter([] { cpwModalPump(form_view().cpw); },
                      [] {
                          auto& v = form_view();
                          if (v.windowInfo.id != 0) cpwFocusWindow(v.cpw, v.windowInfo.id);
                          frm_post_redraw();
                      });
}

// A form with a growing picture lets the user make the window larger than the form.
void allow_resize() {
    auto& v = form_view();
    cpwSetWindowResizable(v.cpw, v.windowInfo.id, v.GrowPict >= 0 ? 1 : 0, v.min_width,
                          v.min_height);
}

// The window still exists (the user may have closed it).
bool have_window() {
    auto& v = form_view();
    return v.windowInfo.id != 0 && cpwGetWindowSize(v.cpw, v.windowInfo.id, nullptr, nullptr);
}

}  // namespace

int frm_start_graphics(std::string_view font_file, std::string_view title) {
    auto& v = form_view();
    v.font_name.assign(font_file);
    v.Title.assign(title);
    if (have_window()) return frm_new_form_gr();  // one window per process

    v.windowInfo.id = 0;
    if (cpwInitContext(&v.cpw) == 0) return 0;
    frm_apply_scale(cpwGetContentScale(v.cpw));
    load_fonts();
    frm_metrics();
    form_setup();

    cpwInitWindowProperty(v.cpw, cpw_wprop_fixed_size, v.GrowPict < 0 ? 1 : 0, 0);
    cpwInitWindowProperty(v.cpw, cpw_wprop_title_only, v.ActWin == 0 ? 1 : 0, 0);
    register_handlers(v.cpw);
    const int id = cpwCreateWindowEx(v.cpw, v.Title.c_str(), v.windowInfo.x, v.windowInfo.y,
                                     v.windowInfo.width, v.windowInfo.height);
    if (v.debug) diag("\nhwnd", id);
    v.windowInfo.id = id;
    if (id != 0) {
        allow_resize();
        wait_for_dialogs();
    }
    frm_focus_first();
    return id;
}

int frm_new_form_gr() {
    auto& v = form_view();
    if (!have_window()) return 0;
    frm_apply_scale(cpwGetContentScale(v.cpw));
    frm_metrics();  // the new form may have another font size
    // A form shown before is laid out again from its own size, not from a resized window's.
    if (v.min_width > 0) form_fit(v.min_width, v.min_height);
    form_setup();
    allow_resize();
    cpwReshapeWindow(v.cpw, v.windowInfo.width, v.windowInfo.height, v.windowInfo.id);
    frm_focus_first();
    return v.windowInfo.id;
}

int frm_take_window(FormViewState& from, std::string_view title) {
    auto& v = form_view();
    if (&v == &from) return frm_new_form_gr();
    if (from.windowInfo.id == 0) return 0;
    v.cpw = from.cpw;
    v.windowInfo.id = from.windowInfo.id;
    v.font_name = from.font_name;
    v.Txt_Font = from.Txt_Font;
    v.Inp_Font = from.Inp_Font;
    v.Title.assign(title);
    from.windowInfo.id = 0;
    from.CurDDL = from.CurOvfl = from.CurButt = -1;  // nothing stays open on the form left
    v.redraw = true;
    const int id = frm_new_form_gr();
    frm_set_window_title(title);
    return id;
}

void frm_set_window_title(std::string_view title) {
    auto& v = form_view();
    v.Title.assign(title);
    if (have_window()) cpwSetWindowTitle(v.cpw, v.Title.c_str(), v.windowInfo.id);
}

int frm_do_graphics() {
    if (!have_window()) return 0;
    pCpw cpw = form_view().cpw;
    cpwShowWindow(cpw, form_view().windowInfo.id);
    cpwMainLoop(cpw);
    // The loop may end on another form than the one it began with (a page of the window).
    auto& v = form_view();
    if (have_window()) cpwHideWindow(v.cpw, v.windowInfo.id);
    return v.ExitStat;
}

std::string frm_window_failure() {
    return form_view().cpw != nullptr ? cpwGetHostError(form_view().cpw) : std::string();
}

void frm_post_redraw() {
    auto& v = form_view();
    v.redraw = true;
    if (have_window()) cpwPostRedisplay(v.cpw);
}

void frm_draw(pCpw cpw, int win) {
    drawWindowOne();
    cpwSwapWindowBuffers(cpw, win);
}

void frm_reshape(pCpw, int, int width, int height) {
    auto& v = form_view();
    v.windowInfo.width = width == 0 ? 1 : width;
    v.windowInfo.height = height == 0 ? 1 : height;
    form_fit(v.windowInfo.width, v.windowInfo.height);
    set2DMatrix();
    frm_gl_viewport(v.windowInfo.width, v.windowInfo.height);
}

void frm_window(pCpw cpw, int win, int flag) {
    auto& v = form_view();
    if (flag == 1) {
        frm_gl_setup();
        return;
    }
    cpwDestroyWindow(cpw, win);
    if (win == v.windowInfo.id) v.windowInfo.id = 0;
    v.ExitStat = exit_closed;
    cpwBreakMainLoop(cpw);
}
