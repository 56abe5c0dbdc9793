// Mouse interaction on the form: focus, caret and selection, tick boxes and radio groups,
// drop-down lists, step arrows, dialogs, the message pop-up and the validating buttons.
//
// Positions arrive from the top-left and are flipped to the drawing's y-up pixels first.
// Hit tests are strict on every side and the first match in index order wins. The rectangles
// of overflow markers, the open list and its scroll bar are the ones the last redraw left.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

#include "gui/form_input.hpp"
#include "gui/form_ops.hpp"
#include "gui/form_view.hpp"
#include "host/diag.hpp"
#include "host/dialogs.hpp"
#include "host/messages.hpp"
#include "util/i18n.hpp"

namespace {

// A second press on the same text within this time and this many pixels is a double-click.
constexpr int double_click_ms = 500;
constexpr int double_click_px = 4;
constexpr double wheel_zoom = 1.25;  // a picture's scale per notch of the wheel

FormModelOps& model_ops() { return form_view().model_ops; }

bool inside(const Rect& r, int x, int y) { return r[0] < x && x < r[2] && r[1] < y && y < r[3]; }

// get_box_num: the input whose box contains the point, or -1.
int input_at(int x, int y) {
    const auto& v = form_view();
    for (int i = 0; i < v.nb_inpt; ++i)
        if (inside(v.inpt_pos[i], x, y)) return i;
    return -1;
}

int button_at(int x, int y) {
    const auto& v = form_view();
    for (int b = 0; b < v.nb_butt; ++b)
        if (inside(v.butt_pos[b], x, y)) return b;
    return -1;
}

int overflow_at(int x, int y) {
    const auto& v = form_view();
    for (int i = 0; i < v.nb_inpt; ++i)
        if (v.inpt_ovr[i] != Rect{} && inside(v.inpt_ovr[i], x, y)) return i;
    return -1;
}

void callback(int ncla, int n, int& value) {
    if (model_ops().callback) model_ops().callback(ncla, n, value);
}

// --- the open list ----------------------------------------------------------------------------

bool list_open() { return form_view().CurDDL >= 0 && form_view().CurDDL < max_ddl; }
int list_lines() { return list_open() ? form_view().ddl_nbli[form_view().CurDDL] : 0; }
bool list_scrolls() { return list_lines() > list_rows; }
int row_height() {
    const int q = open_list_input();
    return q < 0 ? 0 : form_view().inpt_pos[q][3] - form_view().inpt_pos[q][1];
}
int list_top() { return form_view().ddl_pos[1]; }
int list_bottom() { return form_view().ddl_pos[3]; }
bool in_scroll_column(int x) {
    const auto& v = form_view();
    return v.ddl_pos[2] - v.DxScrl < x && x < v.ddl_pos[2];
}
void set_list_offset(int offset) {
    form_view().ddl_offset = std::clamp(offset, 0, std::max(0, list_lines() - list_rows));
}
// The list line under y, or -1.
int line_at(int y) {
    const int rh = row_height();
    if (rh <= 0) return -1;
    const int line = form_view().ddl_offset + (list_top() - y) / rh;
    return line < list_lines() ? line : -1;
}

void close_list() {
    auto& v = form_view();
    frm_StartKbdHook(0);
    v.CurDDL_N = v.CurDDL = v.CurInpt = -1;
    v.ddl_offset = 0;
    v.ddl_pos = {-1, -1, -1, -1};
}

void choose_line(int line) {
    auto& v = form_view();
    const int q = open_list_input();
    const bool landscapes = v.CurDDL == v.LndDDL;
    if (q >= 0 && line < (landscapes ? max_lnd_lines : max_ddl_lines)) {
        v.inpt_ival[q] = line;
        v.inpt_cval[q] = landscapes ? v.lnd_nam[line] : v.ddl_txt[v.CurDDL][line];
        value_edited(q);
        int value = line + 1;
        callback(sec_inpt, q + 1, value);
    }
    close_list();
}

// A release while the list is open: its scroll arrows, a line, or a click elsewhere.
void list_release(int x, int y) {
    const auto& v = form_view();
    const bool column = list_scrolls() && in_scroll_column(x);
    if (column && list_bottom() < y && y < list_bottom() + v.DxScrl) {
        set_list_offset(v.ddl_offset + 1);
    } else if (column && list_top() - v.DxScrl < y && y < list_top()) {
        set_list_offset(v.ddl_offset - 1);
    } else if (v.ddl_pos[0] < x && x < v.ddl_pos[2] - v.DxScrl && list_bottom() < y &&
               y < list_top() && line_at(y) >= 0) {
        choose_line(line_at(y));
    } else if (!v.ScrollDrag) {
        close_list();
    }
}

// --- dialogs ------------------------------------------------------------------------------------

// What a file box's dialog is titled when its definition gives no title: what it chooses.
std::string dialog_title(int i) {
    const auto& v = form_view();
    if (!v.inpt_dlg[i].empty()) return v.inpt_dlg[i];
    return v.inpt_typ[i] == typ_fld   ? "Choose a folder"
           : v.inpt_typ[i] == typ_ofp ? "Save as"
                                      : "Open a file";
}

// The dialog of file box i. A path chosen is handed to the application at once; Cancel leaves
// the box as it was, without a word.
void choose_file(pCpw cpw, int win, int i) {
    auto& v = form_view();
    frm_StartKbdHook(0);
    const int typ = v.inpt_typ[i];
    const std::string title = dialog_title(i);
    std::optional<std::string> chosen;
    if (typ == typ_fld) {
        chosen = tinyfd_selectFolderDialog(title, v.inpt_cval[i]);
    } else {
        std::vector<std::string> patterns;  // "*.a;*.b" or "*.a *.b"
        std::string_view ext = v.inpt_ext[i];
        while (!ext.empty()) {
            const std::size_t end = std::min(ext.find(';'), ext.find(' '));
            if (end != 0) patterns.emplace_back(ext.substr(0, end));
            ext.remove_prefix(end == std::string_view::npos ? ext.size() : end + 1);
        }
        chosen = typ == typ_ifp ? tinyfd_openFileDialog(title, v.inpt_cval[i], patterns, "")
                                : tinyfd_saveFileDialog(title, v.inpt_cval[i], patterns, "");
    }
    v.CurInptOld = -1;
    cpwSetCursor(cpw, cpw_cursor_arrow, win);
    if (!chosen) return;
    v.inpt_cval[i] = chosen->substr(0, view_value_len);
    v.inpt_ofs[i] = 0;
    if (v.PathTyped == i) v.PathTyped = -1;
    value_edited(i);
    int value = v.inpt_ival[i];
    callback(sec_inpt, i + 1, value);
}

// The enabled file box whose "..." button is under the point, or -1.
int browse_at(int x, int y) {
    const auto& v = form_view();
    for (int i = 0; i < v.nb_inpt; ++i)
        if (v.inpt_act[i] && is_file_box(v.inpt_typ[i]) && inside(browse_button(i), x, y)) return i;
    return -1;
}

void choose_colour(int i) {
    auto& v = form_view();
    std::optional<std::string> chosen = tinyfd_colorChooser("choose a nice color", v.inpt_cval[i]);
    std::optional<int> rgb = chosen ? parse_hex_colour(*chosen) : std::nullopt;
    if (!rgb) return;
    v.inpt_cval[i] = *chosen;
    v.inpt_ival[i] = *rgb;
    value_edited(i);
}

// --- the focused input ------------------------------------------------------------------------

// Character position under x in a text input: within the box's characters and the value, so
// a click or a drag past either end lands on that end.
int char_position(int i, int x) {
    const auto& v = form_view();
    const int p = v.DxI > 0 ? (x - v.inpt_pos[i][0] - v.Yoffset) / v.DxI : 0;
    const int room = std::max(0, int(v.inpt_cval[i].size()) - v.inpt_ofs[i]);
    return std::clamp(p, 0, std::max(0, std::min(room, v.inpt_siz[i])));
}

// The selection between where the left button went down and x.
void select_to(int i, int x) {
    auto& v = form_view();
    const int p = char_position(i, x);
    v.CurPos_1 = std::min(v.SelAnchor, p);
    v.CurPos_2 = std::max(v.SelAnchor, p);
    v.SelFixed = v.inpt_ofs[i] + v.SelAnchor;
}

// What a double-click takes together: letters and digits with the points and underscores
// within numbers and names; blanks; anything else.
int char_class(unsigned char c) {
    if (std::isalnum(c) || c == '.' || c == '_' || (c >= 0xC0 && c != 0xD7 && c != 0xF7)) return 0;
    return c == ' ' ? 1 : 2;
}

// The run of characters of one class under x: a word, a number, a gap.
void select_word(int i, int x) {
    auto& v = form_view();
    const std::string& s = v.inpt_cval[i];
    const int len = int(s.size());
    int& ofs = v.inpt_ofs[i];
    const int c = std::min(ofs + char_position(i, x), len - 1);  // past the end: the last one
    if (c < 0) return;
    const int cls = char_class(static_cast<unsigned char>(s[c]));
    int from = c, to = c + 1;
    while (from > 0 && char_class(static_cast<unsigned char>(s[from - 1])) == cls) --from;
    while (to < len && char_class(static_cast<unsigned char>(s[to])) == cls) ++to;
    ofs = std::min(ofs, from);
    v.CurPos_1 = from - ofs;
    v.CurPos_2 = to - ofs;
    v.SelFixed = -1;
}

// A press on text input i: the second of a double-click when the last was on it just now.
bool double_click(int i, int x) {
    auto& v = form_view();
    PressMemory& last = v.LastPress;
    const std::int32_t now = frm_clock();
    const bool twice = last.inpt == i && now - last.at <= double_click_ms &&
                       std::abs(x - last.x) <= double_click_px;
    last = {now, i, x, twice};
    return twice;
}

void tick(int i) {
    auto& v = form_view();
    const int g = v.rdio_set[i];
    if (g < 0 || g >= v.nb_rdio) {
        v.inpt_ival[i] = v.inpt_ival[i] ? 0 : 1;
    } else if (v.inpt_ival[i] == 0) {
        for (int j = 0; j < v.tick_rdio_count[g]; ++j)
            if (int m = v.tick_rdio[g][j]; m >= 0 && m < max_inpt) v.inpt_ival[m] = 0;
        v.inpt_ival[i] = 1;
    }
    check_depend();
    value_edited(i);
}

void focused_input(bool press, int x) {
    auto& v = form_view();
    const int i = v.CurInpt;
    const bool release = !press;
    switch (v.inpt_typ[i]) {
        case typ_ddl:
            if (release && v.inpt_ddl[i] >= 0 && v.inpt_ddl[i] < max_ddl) {
                v.CurDDL = v.inpt_ddl[i];
                frm_StartKbdHook(1);
            }
            break;
        case typ_tck:
            if (release) tick(i);
            break;
        case typ_key:
            frm_StartKbdHook(1);
            v.CurPos_1 = v.CurPos_2 = -1;
            break;
        case typ_col:
            if (release) choose_colour(i);
            break;
        default: {  // numbers, text and paths
            if (press && double_click(i, x)) {
                select_word(i, x);
            } else if (press) {
                v.CurPos_1 = v.SelAnchor = char_position(i, x);
                v.DragInpt = i;
            } else if (v.SelAnchor >= 0) {
                select_to(i, x);
            } else if (!v.LastPress.word || v.LastPress.inpt != i) {
                v.CurPos_2 = char_position(i, x);  // pressed elsewhere: no caret
            }  // else the word a double-click selected stays selected
            if (v.CurPos_1 >= 0 && v.CurPos_2 >= 0) {
                caret_in_value();  // a press elsewhere may have left a position past this value
                frm_StartKbdHook(1);
            } else {
                frm_StartKbdHook(0);
            }
            break;
        }
    }
    // A path reaches the application when its typing is done, not at every click into it.
    if (release && v.CurInpt >= 0 && !is_file_box(v.inpt_typ[v.CurInpt])) {
        // The application counts list lines from 1, as a line choice reports them.
        const int q = v.CurInpt;
        int value = v.inpt_ival[q] + (v.inpt_typ[q] == typ_ddl ? 1 : 0);
        callback(sec_inpt, q + 1, value);
    }
}

// --- buttons and arrows -------------------------------------------------------------------------

// The model's value check of input i; the model may normalise the value (its hook may even
// set it anew), so it works on a copy that then replaces the view's.
bool check_value(int i) {
    auto& v = form_view();
    v.inpt_msg[i].clear();
    if (!model_ops().check_values) return true;
    int ival = v.inpt_ival[i];
    float rval = v.inpt_rval[i];
    std::string cval = v.inpt_cval[i], msg;
    const bool ok = model_ops().check_values(i, v.inpt_act[i], ival, rval, cval, msg) != 0;
    v.inpt_ival[i] = ival;
    v.inpt_rval[i] = rval;
    v.inpt_cval[i] = cval.substr(0, view_value_len);
    v.inpt_msg[i] = translate(msg);
    return ok;
}

// Value and range checks of every input; each input's flag and message are kept for drawing.
bool validate_all() {
    auto& v = form_view();
    bool all = true;
    for (int i = 0; i < v.nb_inpt; ++i) {
        bool ok = check_value(i);
        if (ok && model_ops().check_minmax)
            ok = model_ops().check_minmax(i, v.inpt_ival[i], v.inpt_rval[i], v.inpt_cval[i],
                                          v.inpt_msg[i]) != 0;
        v.inpt_msg[i] = translate(v.inpt_msg[i]);
        v.inpt_OK[i] = ok;
        all = all && ok;
    }
    return all;
}

}  // namespace

void frm_press_button(pCpw cpw, int b) {
    auto& v = form_view();
    if (b < 0 || b >= v.nb_butt) return;
    const int type = v.butt_typ[b];
    // Released: a dialog the application opens now must not show the button held down.
    v.CurButt = -1;
    frm_post_redraw();
    v.ExitStat = type;
    if (type < 0) {
        cpwBreakMainLoop(cpw);
        return;
    }
    const bool validates = type == butt_ok || type > butt_validates;
    if (validates && !validate_all()) return;
    callback(sec_butt, b + 1, v.ExitStat);
    if (type == butt_ok || type > butt_ends_form) cpwBreakMainLoop(cpw);
}

namespace {

// get_arrow: the step arrow under the point, one step per press.
void press_arrow(int x, int y) {
    auto& v = form_view();
    for (int i = 0; i < v.nb_inpt; ++i) {
        if (!v.inpt_arr[i]) continue;
        if (!v.inpt_act[i]) {
            v.inpt_inc[i] = 0;
            continue;
        }
        const auto& [x0, y0, x1, y1] = v.inpt_pos[i];
        const int mid = (y0 + y1) / 2;
        if (x < x1 + 2 || x > x1 + 2 * v.DxI - 2) continue;
        int dir = 0;
        if (y >= mid + 1 && y <= y1 - 1)
            dir = 1;
        else if (y >= y0 + 1 && y <= mid + 1)
            dir = -1;
        if (dir == 0) continue;
        v.CurInpt = i;
        v.inpt_inc[i] = dir;
        bool ok = check_value(i);
        if (ok && model_ops().incrm_val) {
            int ival = v.inpt_ival[i];
            float rval = v.inpt_rval[i];
            std::string cval = v.inpt_cval[i];
            ok = model_ops().incrm_val(i, ival, rval, cval, dir) != 0;
            v.inpt_ival[i] = ival;
            v.inpt_rval[i] = rval;
            v.inpt_cval[i] = cval.substr(0, view_value_len);
        }
        // A value that cannot be stepped shows why, as an invalid one does.
        v.inpt_OK[i] = ok;
        return;
    }
}

// --- the left and right buttons ---------------------------------------------------------------

// The "..." button of a file box: pressed like a button, its dialog opens on the release over it.
bool browse_button_event(pCpw cpw, int win, bool press, int x, int y) {
    auto& v = form_view();
    if (press) {
        const int i = list_open() ? -1 : browse_at(x, y);
        if (i < 0) return false;
        frm_hand_over_typed_path();
        v.BrowseHeld = i;
        v.CurInpt = v.CurButt = -1;
        v.FocusButt = -1;
        return true;
    }
    const int held = v.BrowseHeld;
    if (held < 0) return false;
    v.BrowseHeld = -1;
    if (browse_at(x, y) == held) {
        frm_post_redraw();  // released: the dialog does not show the button held down
        choose_file(cpw, win, held);
    }
    return true;
}

void left_button(pCpw cpw, int win, bool press, int x, int y) {
    auto& v = form_view();
    if (browse_button_event(cpw, win, press, x, y)) return;
    if (press) {
        v.CurPos_1 = v.CurPos_2 = v.SelAnchor = v.DragInpt = v.SelFixed = -1;
        v.FocusButt = -1;  // the pointer decides the focus afresh
        v.CurOvfl = overflow_at(x, y);
        const bool thumb =
            list_scrolls() && v.DxScrl > 0 && in_scroll_column(x) && v.YScrl0 < y && y < v.YScrl1;
        v.ScrollDrag = thumb ? 1 : 0;
        v.DyScrl0 = thumb ? y - v.YScrl0 : -1;
    } else {
        v.CurOvfl = -1;
    }

    if (!list_open()) {
        // A selection being dragged keeps its input wherever the button comes up, and the
        // button it comes up over is not pressed.
        const bool dragged = !press && v.DragInpt >= 0 && v.DragInpt < v.nb_inpt;
        v.CurButt = dragged ? -1 : button_at(x, y);
        const int h = dragged ? v.DragInpt : input_at(x, y);
        if (press && v.PathTyped >= 0 && h != v.PathTyped) frm_hand_over_typed_path();
        if (press && (h < 0 || (v.inpt_typ[h] > typ_chr && !is_file_box(v.inpt_typ[h]))))
            v.LastPress = {};  // no double-click
        if (h < 0 || !v.inpt_act[h]) {
            v.CurInpt = -1;
        } else {
            if (press) v.CurInptOld = v.CurInpt;
            v.CurInpt = h;
        }
    } else if (!press) {
        list_release(x, y);
    }

    if (v.CurInpt >= 0 && v.CurInpt < v.nb_inpt) {
        focused_input(press, x);
    } else if (!press) {
        for (int& inc : v.inpt_inc) inc = 0;
        const int b = v.CurButt;
        v.CurButt = -1;
        if (b >= 0) frm_press_button(cpw, b);
    } else {
        press_arrow(x, y);
    }
    if (!press) v.DragInpt = v.SelAnchor = -1;
}

// The reason of a refused value pops up while the pointer rests on its box (and on a right
// press there); a refusal without a reason has nothing to show.
bool show_reason(int x, int y) {
    auto& v = form_view();
    const int h = input_at(x, y);
    if (h < 0 || v.inpt_OK[h] || v.inpt_msg[h].empty()) return false;
    if (v.MsgInpt != h || v.xmsg < 0) {
        v.MsgInpt = h;
        v.xmsg = x;
        v.ymsg = y;
    }
    return true;
}

void hide_reason() { form_view().xmsg = form_view().ymsg = -1; }

void right_button(bool press, int x, int y) {
    auto& v = form_view();
    if (press && show_reason(x, y)) return;
    if (press && input_at(x, y) >= 0) return;  // a valid box changes nothing
    // A release leaves the reason up while the pointer still rests on its box.
    if (!press && v.xmsg >= 0 && input_at(x, y) == v.MsgInpt) return;
    hide_reason();
}

}  // namespace

void set_form_model_ops(FormModelOps ops) { model_ops() = std::move(ops); }
const FormModelOps& form_model_ops() { return model_ops(); }

void frm_mouseclick(pCpw cpw, int win, int state, int button, int x, int y) {
    auto& v = form_view();
    if (lines_panel_mouse(state, button, x, v.windowInfo.height - y)) return;
    // The left button decides afresh whether keys go to an input; the others leave the focused
    // input its keys, so typing goes on after a right click or a turn of the wheel.
    if (!list_open() && button == cpw_button_left && state != cpw_wheel) frm_StartKbdHook(0);
    if (state == cpw_wheel) {
        if (!list_open()) {
            const int n = picture_at(v.pointer[0], v.pointer[1]);
            if (n >= 0) frm_picture_zoom(n, std::pow(wheel_zoom, x), v.pointer[0], v.pointer[1]);
            return;
        }
        if (list_scrolls()) {
            set_list_offset(v.ddl_offset - x);
        } else {
            // Without a scroll bar the wheel walks the hovered line, within the list.
            const long line = long(v.CurDDL_N) - x;
            v.CurDDL_N = int(std::clamp(line, 0L, long(std::max(0, list_lines() - 1))));
        }
        frm_post_redraw();
        return;
    }
    const int yf = v.windowInfo.height - y;
    v.pointer = {x, yf};
    if (button == cpw_button_left && !list_open()) {
        // A press on a picture gives it the keys and starts a drag that pans it.
        v.PanPict = state == cpw_press ? picture_at(x, yf) : -1;
        if (state == cpw_press) v.FocusPict = v.PanPict;
        v.pan_at = {x, yf};
    }
    if (button == cpw_button_left) {
        left_button(cpw, win, state == cpw_press, x, yf);
        frm_post_redraw();
    } else if (button == cpw_button_right) {
        right_button(state == cpw_press, x, yf);
        frm_post_redraw();
    }
}

void frm_mousemove(pCpw, int, int x, int y) {
    auto& v = form_view();
    if (v.panel.shown) return;
    const int yf = v.windowInfo.height - y;
    v.pointer = {x, yf};
    if (!list_open()) {
        const bool was = v.xmsg >= 0;
        if (!show_reason(x, yf)) hide_reason();
        if (was || v.xmsg >= 0) frm_post_redraw();
        return;
    }
    if (!(v.ddl_pos[0] < x && x < v.ddl_pos[2] && list_bottom() < yf && yf < list_top())) return;
    const int line = line_at(yf);
    if (line < 0) return;
    v.CurDDL_N = line;
    frm_post_redraw();
}

void frm_mousedrag(pCpw, int, int button, int x, int y) {
    auto& v = form_view();
    if (v.panel.shown) return;
    v.pointer = {x, v.windowInfo.height - y};
    if (button == cpw_button_left && v.PanPict >= 0 && v.PanPict < v.nb_pict) {
        const int yf = v.windowInfo.height - y;
        frm_picture_pan(v.PanPict, x - v.pan_at[0], yf - v.pan_at[1]);
        v.pan_at = {x, yf};
        return;
    }
    if (button == cpw_button_left && !list_open() && v.DragInpt >= 0 && v.DragInpt == v.CurInpt &&
        v.SelAnchor >= 0) {
        select_to(v.CurInpt, x);
        frm_post_redraw();
        return;
    }
    if (button != cpw_button_left || !list_scrolls() || v.DyScrl0 < 0 || !in_scroll_column(x))
        return;
    const int yf = v.windowInfo.height - y;
    const double track = list_top() - list_bottom() - 2.0 * v.DxScrl - (v.YScrl1 - v.YScrl0);
    if (track <= 0) return;
    double f = 1.0 - (yf - v.DyScrl0 - list_bottom() - v.DxScrl) / track;
    f = std::clamp(f, 0.0, 1.0);
    set_list_offset(int(std::trunc((list_lines() - list_rows) * f)));
    v.ScrollDrag = 1;
    frm_post_redraw();
}

// The pointer leaving (or the window losing the keyboard) ends hovering and closes an open
// list; the focused input keeps its caret and keys, so typing goes on whatever the pointer does.
void frm_mouseentry(pCpw, int, int state) {
    auto& v = form_view();
    if (state != cpw_left) return;
    v.CurDDL_N = -1;
    hide_reason();
    if (list_open()) close_list();
    frm_post_redraw();
}

void frm_picture_zoom(int n, double factor, int x, int y) {
    auto& v = form_view();
    if (n < 0 || n >= v.nb_pict || !(v.pict_view[n].ppu > 0)) return;
    v.pict_view[n] = picture_zoom(v.pict_view[n], picture_inner(n), factor, x, y);
    v.pict_moved[n] = true;
    frm_post_redraw();
}

void frm_picture_pan(int n, int dx, int dy) {
    auto& v = form_view();
    if (n < 0 || n >= v.nb_pict || (dx == 0 && dy == 0)) return;
    v.pict_view[n] = picture_pan(v.pict_view[n], dx, dy);
    v.pict_moved[n] = true;
    frm_post_redraw();
}

void frm_picture_home(int n) {
    auto& v = form_view();
    if (n < 0 || n >= v.nb_pict) return;
    v.pict_view[n] = {};  // fitted again by the next drawing
    v.pict_moved[n] = false;
    frm_post_redraw();
}

void frm_list_choose(int line) {
    if (!list_open()) return;
    if (line >= 0 && line < list_lines()) {
        choose_line(line);
    } else {
        close_list();
    }
    frm_post_redraw();
}

void frm_activate_input(pCpw cpw, int i) {
    auto& v = form_view();
    if (i < 0 || i >= v.nb_inpt || !v.inpt_act[i] || v.inpt_typ[i] <= typ_chr) return;
    v.FocusButt = -1;
    if (is_file_box(v.inpt_typ[i])) {
        frm_hand_over_typed_path();
        choose_file(cpw, v.windowInfo.id, i);
    } else {
        v.CurInpt = v.CurInptOld = i;
        focused_input(false, 0);
    }
    frm_post_redraw();
}

void frm_hand_over_typed_path() {
    auto& v = form_view();
    const int i = v.PathTyped;
    v.PathTyped = -1;
    if (i < 0 || i >= v.nb_inpt) return;
    int value = v.inpt_ival[i];
    callback(sec_inpt, i + 1, value);
}

void frm_list_close() {
    if (list_open()) close_list();
    frm_post_redraw();
}

void frm_list_highlight(int line) {
    auto& v = form_view();
    if (!list_open() || list_lines() <= 0) return;
    v.CurDDL_N = std::clamp(line, 0, list_lines() - 1);
    // The highlighted line stays among the shown ones.
    if (v.CurDDL_N < v.ddl_offset) set_list_offset(v.CurDDL_N);
    if (v.CurDDL_N >= v.ddl_offset + list_rows) set_list_offset(v.CurDDL_N - list_rows + 1);
    frm_post_redraw();
}
