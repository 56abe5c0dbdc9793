// The form's keyboard handler: while installed it receives every key event of the form window
// (the toolkit's key events stand in for a system-wide hook, which Linux desktops do not
// offer), edits the focused input, scrolls an open list and captures key combinations.
#include <algorithm>
#include <string>
#include <vector>

#include "gui/form_input.hpp"
#include "gui/form_view.hpp"
#include "host/clipboard.hpp"
#include "host/diag.hpp"
#include "host/keys.hpp"
#include "host/timing.hpp"
#include "util/numbers.hpp"

namespace {

// Windows virtual-key codes the handler tells apart.
enum : int {
    vk_back = 0x08,
    vk_tab = 0x09,
    vk_return = 0x0D,
    vk_escape = 0x1B,
    vk_end = 0x23,
    vk_home = 0x24,
    vk_left = 0x25,
    vk_right = 0x27,
    vk_up = 0x26,
    vk_down = 0x28,
    vk_delete = 0x2E,
    vk_rmenu = 0xA5,  // right Alt, AltGr
    vk_space = 0x20,
    vk_f4 = 0x73,  // a file box's dialog, as F4 opens a list on Windows
    vk_add = 0x6B,  // keypad +
    vk_subtract = 0x6D,
};
enum : int { ch_select_all = 1, ch_copy = 3, ch_paste = 22, ch_cut = 24 };
constexpr int scan_right_shift = 0x36;
constexpr int long_press_ms = 900;
// Letters typed into an open list within this time of each other make one search.
constexpr int type_ahead_ms = 1000;
constexpr int picture_steps = 8;            // an arrow moves a picture by this part of it
constexpr double picture_zoom_step = 1.25;  // + and - scale a picture by this

KeyboardState& keyboard() { return form_view().kbd; }
std::int32_t key_clock() { return keyboard().clock ? keyboard().clock() : elapsed_ms(); }

bool is_text(int typ) { return typ >= typ_undef && typ <= typ_chr; }
// Boxes the keys edit: numbers, text, and the paths of file boxes.
bool is_typed(int typ) { return is_text(typ) || is_file_box(typ); }

// The scan code as the handler counts it: extended keys + 256, except the right Shift key.
int key_scan(const CpwKeyInfo& k) {
    const int scan = k.scan & 0xFF;
    return k.extended && scan != scan_right_shift ? scan + 0x100 : scan;
}

// The line the list's keys start from: the highlighted one, else the input's own.
int list_cursor() {
    const auto& v = form_view();
    if (v.CurDDL_N >= 0) return v.CurDDL_N;
    const int q = open_list_input();
    return q >= 0 ? v.inpt_ival[q] : 0;
}

int upper(int c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }

// The next line after the cursor, round the end, whose text starts with c (any case).
int line_starting_with(int c) {
    const int n = form_view().ddl_nbli[form_view().CurDDL];
    const int from = list_cursor();
    for (int k = 1; k <= n; ++k) {
        const int line = (from + k) % n;
        const std::string_view t = open_list_line(line);
        if (!t.empty() && upper(static_cast<unsigned char>(t[0])) == upper(c)) return line;
    }
    return -1;
}

bool starts_with(std::string_view line, std::string_view typed) {
    if (line.size() < typed.size()) return false;
    for (std::size_t n = 0; n < typed.size(); ++n)
        if (upper(static_cast<unsigned char>(line[n])) !=
            upper(static_cast<unsigned char>(typed[n])))
            return false;
    return true;
}

// The line the letters typed so far find: one letter, or the same one repeated, steps to the
// next line starting with it; more letters find the first line from the cursor on that starts
// with all of them.
int typed_line(const std::string& typed) {
    const auto first = static_cast<unsigned char>(typed[0]);
    if (std::all_of(typed.begin(), typed.end(),
                    [&](char c) { return upper(static_cast<unsigned char>(c)) == upper(first); }))
        return line_starting_with(first);
    const int n = form_view().ddl_nbli[form_view().CurDDL];
    const int from = std::max(0, list_cursor());
    for (int k = 0; k < n; ++k)
        if (const int line = (from + k) % n; starts_with(open_list_line(line), typed)) return line;
    return -1;
}

void type_ahead(int c) {
    auto& kb = keyboard();
    const std::int32_t now = key_clock();
    if (now - kb.typed_at > type_ahead_ms) kb.typed.clear();
    if (c == ' ' && kb.typed.empty()) return;  // a blank only within a name
    kb.typed_at = now;
    kb.typed += char(c);
    if (const int line = typed_line(kb.typed); line >= 0) frm_list_highlight(line);
}

// The list closed by a key keeps the focus, so that Tab goes on from it.
template <class Close>
void close_keeping_focus(Close close) {
    const int q = open_list_input();
    close();
    if (q >= 0) form_view().CurInpt = q;
}

// An open list: Up and Down move the highlight, Enter chooses it, Escape closes the list,
// letters find the line that starts with them.
void list_keys(const CpwKeyInfo& k) {
    switch (k.vk) {
        case vk_up:
            frm_list_highlight(list_cursor() - 1);
            return;
        case vk_down:
            frm_list_highlight(list_cursor() + 1);
            return;
        case vk_return:
            close_keeping_focus([] { frm_list_choose(list_cursor()); });
            return;
        case vk_escape:
            close_keeping_focus([] { frm_list_close(); });
            return;
        default:
            break;
    }
    if (k.ch >= 0x20 && k.ch <= 0xFF && k.ch != 0x7F) type_ahead(k.ch);
}

// Caret one to the left or right; at an edge of the visible part the text scrolls instead.
void move_caret(int i, int dir) {
    auto& v = form_view();
    const int len = int(v.inpt_cval[i].size());
    int& ofs = v.inpt_ofs[i];
    if (dir < 0) {
        if (v.CurPos_1 > 0)
            --v.CurPos_1;
        else if (ofs > 0)
            --ofs;
    } else if (ofs + v.CurPos_1 < len) {
        if (v.CurPos_1 < v.inpt_siz[i])
            ++v.CurPos_1;
        else
            ++ofs;
    }
    v.CurPos_2 = v.CurPos_1;
}

// The whole value selected, as desktop fields take the focus: typing replaces it.
void select_all(int i) {
    auto& v = form_view();
    v.inpt_ofs[i] = 0;
    v.CurPos_1 = 0;
    v.CurPos_2 = int(v.inpt_cval[i].size());
    v.SelFixed = -1;
}

// Shift with Left, Right, Home or End moves one end of the selection (the caret, when there is
// none); the other stays where the selection began. The moving end is kept in view as long as
// the fixed one stays in it; past the box the selection runs to the box's edge.
void extend_selection(int i, int vk) {
    auto& v = form_view();
    const int ofs = v.inpt_ofs[i], len = int(v.inpt_cval[i].size());
    const int a = ofs + v.CurPos_1, b = ofs + v.CurPos_2;
    const bool fixed_right = a != b && v.SelFixed == b;
    const int fixed = fixed_right ? b : a;
    int moving = fixed_right ? a : b;
    if (vk == vk_left) moving = std::max(0, moving - 1);
    if (vk == vk_right) moving = std::min(len, moving + 1);
    if (vk == vk_home) moving = 0;
    if (vk == vk_end) moving = len;
    const int from = std::min(fixed, moving), to = std::max(fixed, moving);
    int shown = ofs;
    if (moving < shown) shown = moving;
    if (moving > shown + v.inpt_siz[i]) shown = std::min(from, moving - v.inpt_siz[i]);
    v.inpt_ofs[i] = shown;
    v.CurPos_1 = from - shown;
    v.CurPos_2 = to - shown;
    v.SelFixed = fixed;
}

std::string selected_text(int i) {
    const auto& v = form_view();
    const std::string& text = v.inpt_cval[i];
    const std::size_t from = std::min<std::size_t>(v.inpt_ofs[i] + v.CurPos_1, text.size());
    return text.substr(from, std::max(0, v.CurPos_2 - v.CurPos_1));
}

void text_keys(int i, const CpwKeyInfo& k) {
    auto& v = form_view();
    if (!caret_in_value()) return;
    const int len = int(v.inpt_cval[i].size());
    const bool selection = v.CurPos_2 > v.CurPos_1;

    const bool shift = (k.mods & cpw_mod_shift) != 0;
    if (shift && (k.vk == vk_left || k.vk == vk_right || k.vk == vk_home || k.vk == vk_end)) {
        extend_selection(i, k.vk);
        return;
    }
    switch (k.vk) {
        case vk_back:
            DeleteChar();
            return;
        case vk_home:
            v.inpt_ofs[i] = 0;
            v.CurPos_1 = v.CurPos_2 = 0;
            return;
        case vk_end:
            v.CurPos_1 = v.CurPos_2 = len - v.inpt_ofs[i];
            return;
        case vk_delete:
            if (!selection) {
                if (v.inpt_ofs[i] + v.CurPos_1 >= len) return;  // nothing right of the caret
                move_caret(i, +1);
            }
            DeleteChar();
            return;
        case vk_left:
            move_caret(i, -1);
            return;
        case vk_right:
            move_caret(i, +1);
            return;
        default:
            break;
    }
    switch (k.ch) {
        case ch_select_all:
            select_all(i);
            return;
        case ch_copy:
            if (selection) wr_clp_form(selected_text(i));
            return;
        case ch_cut:
            if (selection && wr_clp_form(selected_text(i)) == 0) DeleteChar();
            return;
        case ch_paste: {
            std::string pasted;
            if (rd_clp_form(pasted) == 0) insert_pasted(pasted);
            return;
        }
        default:
            break;
    }
    // Only what the key gives alone or with Shift: no Ctrl, AltGr or Alt combinations.
    const bool plain = (k.mods & (cpw_mod_ctrl | cpw_mod_altgr | cpw_mod_alt)) == 0;
    const bool printable = k.ch >= 0x20 && k.ch != 0x7F && k.ch <= 0xFF;
    if (!plain || !printable) return;
    if (v.inpt_typ[i] != typ_chr && !is_file_box(v.inpt_typ[i]) && !IsNum(k.ch)) return;
    InsertChar(k.ch);
}

void key_press(const CpwKeyInfo& k) {
    auto& v = form_view();
    const int scan = key_scan(k);
    if (scan != keyboard().scancode_old) keyboard().LastDwnTime = key_clock();
    keyboard().scancode_old = scan;
    keyboard().pressed_char[scan & 0x1FF] = k.ch;

    const int i = v.CurInpt;
    if (v.CurDDL >= 0 && v.CurDDL < max_ddl) {
        list_keys(k);
    } else if (i >= 0 && i < v.nb_inpt) {
        const int typ = v.inpt_typ[i];
        if (typ == typ_key) {
            keyboard().AltGr_Down_SVE = k.vk == vk_rmenu;
        } else if (is_file_box(typ) && k.vk == vk_f4) {
            frm_activate_input(v.cpw, i);
        } else if (is_typed(typ) && v.CurPos_1 >= 0) {
            const std::string before = v.inpt_cval[i];
            text_keys(i, k);
            keep_caret_visible();
            if (v.inpt_cval[i] != before) {
                value_edited(i);
                if (is_file_box(typ)) v.PathTyped = i;  // handed over when the typing is done
            }
        }
    }
    frm_post_redraw();
}

// The key part of a captured code: a character code, or minus the scan code.
int key_part(const CpwKeyInfo& k, int scan) {
    const int top_row = k.scan & 0xFF;
    if (!k.extended && top_row >= 2 && top_row <= 13) {
        if (k.vk > 0 && k.vk <= 128) return k.vk;
        if (int ch = keyboard().pressed_char[scan & 0x1FF]; ch > 0) return ch;
        return -scan;
    }
    const bool plain_code =
        k.vk == ' ' || (k.vk >= '0' && k.vk <= '9') || (k.vk >= 'A' && k.vk <= 'Z');
    return plain_code ? k.vk : -scan;
}

void key_release(const CpwKeyInfo& k) {
    auto& v = form_view();
    const int i = v.CurInpt;
    if (i < 0 || i >= v.nb_inpt || v.inpt_typ[i] != typ_key) return;
    // The release of the key that started the capture (Space) is not what the user captures.
    if (keyboard().scancode_old == 0) return;
    const int scan = key_scan(k);
    int bits = 0;
    if (!is_key_mod(scan, k.vk)) {
        // AltGr counts as Ctrl, as the keyboard reports it on Windows, except for itself.
        if ((k.mods & (cpw_mod_ctrl | cpw_mod_altgr)) && k.vk != vk_rmenu) bits |= 1;
        if (k.mods & cpw_mod_shift) bits |= 2;
        if (k.mods & cpw_mod_alt) bits |= 4;
    }
    if (key_clock() - keyboard().LastDwnTime > long_press_ms) bits |= 8;
    const int code = key_mod_factor * bits + key_part(k, scan);
    v.inpt_ival[i] = code;
    std::string name;
    get_key_name(code, name);
    v.inpt_cval[i] = name.empty() ? "??????" : name;
    value_edited(i);
    diag("key captured", code, v.inpt_cval[i]);
    if (keyboard().AltGr_Down_SVE) {
        keyboard().AltGr_Down_SVE = false;  // AltGr alone goes on to the key it is held for
    } else {
        v.CurInpt = -1;
        frm_StartKbdHook(0);
    }
    frm_post_redraw();
}

// --- keys of the whole form -------------------------------------------------------------------

// A place the focus can be in: an input, a button, or a picture.
struct Stop {
    int input = -1, button = -1, picture = -1;
    bool operator==(const Stop&) const = default;
};

// Tab order: the enabled inputs and the buttons, top to bottom, then left to right.
std::vector<Stop> tab_stops() {
    const auto& v = form_view();
    std::vector<Stop> stops;
    for (int i = 0; i < v.nb_inpt; ++i)
        if (v.inpt_act[i]) stops.push_back({i, -1});
    for (int b = 0; b < v.nb_butt; ++b) stops.push_back({-1, b});
    for (int n = 0; n < v.nb_pict; ++n) stops.push_back({-1, -1, n});
    const auto corner = [&](const Stop& s) -> Rect {
        if (s.picture >= 0) {  // ordered by its top edge
            const Rect& r = v.pict_pos[s.picture];
            return {r[0], r[3], r[2], r[3]};
        }
        return s.input >= 0 ? v.inpt_pos[s.input] : v.butt_pos[s.button];
    };
    std::stable_sort(stops.begin(), stops.end(), [&](const Stop& a, const Stop& b) {
        const Rect ra = corner(a), rb = corner(b);
        return ra[1] != rb[1] ? ra[1] > rb[1] : ra[0] < rb[0];
    });
    return stops;
}

void focus(const Stop& s) {
    auto& v = form_view();
    v.CurInpt = v.CurInptOld = s.input;
    v.FocusButt = s.button;
    v.FocusPict = s.picture;
    v.CurPos_1 = v.CurPos_2 = -1;
    v.SelFixed = -1;
    const int typ = s.input >= 0 ? v.inpt_typ[s.input] : -1;
    if (s.input >= 0 && is_typed(typ)) select_all(s.input);
    frm_StartKbdHook(s.input >= 0 && is_typed(typ) ? 1 : 0);
}

void tab_focus(int dir) {
    const auto& v = form_view();
    frm_hand_over_typed_path();
    const std::vector<Stop> stops = tab_stops();
    if (stops.empty()) return;
    const Stop now = v.FocusPict >= 0 ? Stop{-1, -1, v.FocusPict}
                                      : Stop{v.FocusButt >= 0 ? -1 : v.CurInpt, v.FocusButt};
    const auto at = std::find(stops.begin(), stops.end(), now);
    const int n = int(stops.size());
    const int k = at == stops.end() ? (dir > 0 ? 0 : n - 1) : int(at - stops.begin()) + dir;
    focus(stops[std::size_t((k % n + n) % n)]);
    keyboard().tabbed = true;
}

int first_button(bool closing) {
    const auto& v = form_view();
    for (int b = 0; b < v.nb_butt; ++b)
        if ((v.butt_typ[b] < 0) == closing) return b;
    return -1;
}

// The focused button, or -1.
int focused_button() {
    const auto& v = form_view();
    return v.FocusButt >= 0 && v.FocusButt < v.nb_butt ? v.FocusButt : -1;
}

// The focused input that a key presses as a click would (not a box typed into), or -1.
int focused_widget() {
    const auto& v = form_view();
    const int i = v.CurInpt;
    return i >= 0 && i < v.nb_inpt && v.inpt_act[i] && !is_typed(v.inpt_typ[i]) ? i : -1;
}

// Enter: the focused button; a list or tick box reached by Tab; a path just typed; else the
// default button.
void enter_key() {
    auto& v = form_view();
    if (v.PathTyped >= 0 && v.PathTyped == v.CurInpt) {
        frm_hand_over_typed_path();
        return;
    }
    if (const int b = focused_button(); b >= 0) {
        frm_press_button(v.cpw, b);
        return;
    }
    const int i = focused_widget();
    if (i >= 0 && keyboard().tabbed && (v.inpt_typ[i] == typ_ddl || v.inpt_typ[i] == typ_tck)) {
        frm_activate_input(v.cpw, i);
        return;
    }
    if (const int b = first_button(false); b >= 0) frm_press_button(v.cpw, b);
}

// Space: presses the focused button or acts on the focused widget; false when a text box has
// the focus (or nothing has), which takes the blank as typed.
bool space_key() {
    auto& v = form_view();
    if (const int b = focused_button(); b >= 0) {
        frm_press_button(v.cpw, b);
        return true;
    }
    const int i = focused_widget();
    if (i < 0) return false;
    frm_activate_input(v.cpw, i);
    return true;
}

// Home, +, - and the arrows zoom and pan the focused picture. True when the key did.
bool picture_keys(const CpwKeyInfo& k) {
    auto& v = form_view();
    const int n = v.FocusPict;
    if (n < 0 || n >= v.nb_pict) return false;
    const Rect r = picture_inner(n);
    const int cx = (r[0] + r[2]) / 2, cy = (r[1] + r[3]) / 2;
    const int step_x = std::max(1, (r[2] - r[0]) / picture_steps);
    const int step_y = std::max(1, (r[3] - r[1]) / picture_steps);
    // The arrows look that way: the picture moves the other.
    if (k.vk == vk_home)
        frm_picture_home(n);
    else if (k.ch == '+' || k.vk == vk_add)
        frm_picture_zoom(n, picture_zoom_step, cx, cy);
    else if (k.ch == '-' || k.vk == vk_subtract)
        frm_picture_zoom(n, 1 / picture_zoom_step, cx, cy);
    else if (k.vk == vk_left)
        frm_picture_pan(n, step_x, 0);
    else if (k.vk == vk_right)
        frm_picture_pan(n, -step_x, 0);
    else if (k.vk == vk_up)
        frm_picture_pan(n, 0, -step_y);
    else if (k.vk == vk_down)
        frm_picture_pan(n, 0, step_y);
    else
        return false;
    return true;
}

// Tab, Enter and Escape, unless a key box is capturing them. True when the key was one of them.
bool form_keys(const CpwKeyInfo& k) {
    auto& v = form_view();
    const int i = v.CurInpt;
    const bool capturing =
        keyboard().installed && i >= 0 && i < v.nb_inpt && v.inpt_typ[i] == typ_key;
    if (capturing || (k.mods & (cpw_mod_ctrl | cpw_mod_alt | cpw_mod_altgr))) return false;
    if (v.CurDDL >= 0 && v.CurDDL < max_ddl) return false;  // the list's own keys
    if (picture_keys(k)) return true;
    switch (k.vk) {
        case vk_tab:
            tab_focus(k.mods & cpw_mod_shift ? -1 : 1);
            break;
        case vk_return:
            enter_key();
            break;
        case vk_space:
            if (!space_key()) return false;
            break;
        case vk_escape:
            if (const int b = first_button(true); b >= 0) {
                frm_press_button(v.cpw, b);
            } else if (v.ActWin != 0) {  // as the close box, where there is one
                v.ExitStat = exit_closed;
                cpwBreakMainLoop(v.cpw);
            }
            break;
        default:
            return false;
    }
    frm_post_redraw();
    return true;
}

}  // namespace

void frm_StartKbdHook(int flag) {
    if (keyboard().installed) diag("STOP HOOK");
    keyboard().installed = flag != 0;
    if (keyboard().installed) diag("START HOOK");
    keyboard().LastDwnTime = 0;
    keyboard().AltGr_Down_SVE = false;
    keyboard().scancode_old = 0;
    keyboard().tabbed = false;
    keyboard().typed.clear();
}

std::int32_t frm_clock() { return key_clock(); }

void frm_focus_first() {
    auto& v = form_view();
    v.CurDDL = v.CurDDL_N = -1;
    const std::vector<Stop> stops = tab_stops();
    const auto text = std::find_if(stops.begin(), stops.end(), [&](const Stop& s) {
        return s.input >= 0 && is_text(v.inpt_typ[s.input]);
    });
    if (text != stops.end())
        focus(*text);
    else if (!stops.empty())
        focus(stops.front());
    else
        focus({});
}

bool frm_kbd_hook_installed() { return keyboard().installed; }

void frm_set_key_clock(std::int32_t (*clock)()) { keyboard().clock = clock; }

void frm_KdbHookProc(const CpwKeyInfo& key) {
    if (lines_panel_key(key)) return;
    if (key.pressed && form_keys(key)) return;
    if (!keyboard().installed) return;
    if (key.pressed)
        key_press(key);
    else
        key_release(key);
}
