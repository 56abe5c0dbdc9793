// The form's keyboard handler: while installed it receives every key event of the form window
// (the toolkit's key events stand in for a system-wide hook, which Linux desktops do not
// offer), edits the focused input, scrolls an open list and captures key combinations.
#include <algorithm>
#include <string>

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
    vk_left = 0x25,
    vk_right = 0x27,
    vk_up = 0x26,
    vk_down = 0x28,
    vk_delete = 0x2E,
    vk_rmenu = 0xA5,  // right Alt, AltGr
};
enum : int { ch_copy = 3, ch_paste = 22, ch_cut = 24 };
constexpr int scan_right_shift = 0x36;
constexpr int long_press_ms = 900;

struct KeyboardState {
    bool installed = false;
    std::int32_t LastDwnTime = 0;
    int scancode_old = 0;
    bool AltGr_Down_SVE = false;
    // The character each key produced when pressed: a release carries none, and the top row
    // names its key by that character when it has no plain code.
    int pressed_char[512] = {};
    std::int32_t (*clock)() = elapsed_ms;
};
KeyboardState kbd;

bool is_text(int typ) { return typ >= typ_undef && typ <= typ_chr; }

// The scan code as the handler counts it: extended keys + 256, except the right Shift key.
int key_scan(const CpwKeyInfo& k) {
    const int scan = k.scan & 0xFF;
    return k.extended && scan != scan_right_shift ? scan + 0x100 : scan;
}

void list_keys(int vk) {
    auto& v = FormView;
    const int last_first = v.ddl_nbli[v.CurDDL] - list_rows;
    if (vk == vk_up && v.ddl_offset > 0) --v.ddl_offset;
    if (vk == vk_down && v.ddl_offset < last_first) ++v.ddl_offset;
}

// Caret one to the left or right; at an edge of the visible part the text scrolls instead.
void move_caret(int i, int dir) {
    auto& v = FormView;
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

std::string selected_text(int i) {
    const auto& v = FormView;
    const std::string& text = v.inpt_cval[i];
    const std::size_t from = std::min<std::size_t>(v.inpt_ofs[i] + v.CurPos_1, text.size());
    return text.substr(from, std::max(0, v.CurPos_2 - v.CurPos_1));
}

void text_keys(int i, const CpwKeyInfo& k) {
    auto& v = FormView;
    if (!caret_in_value()) return;
    const int len = int(v.inpt_cval[i].size());
    const bool selection = v.CurPos_2 > v.CurPos_1;

    switch (k.vk) {
        case vk_back:
            DeleteChar();
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
    if (v.inpt_typ[i] != typ_chr && !IsNum(k.ch)) return;
    InsertChar(k.ch);
}

void key_press(const CpwKeyInfo& k) {
    auto& v = FormView;
    const int scan = key_scan(k);
    if (scan != kbd.scancode_old) kbd.LastDwnTime = kbd.clock();
    kbd.scancode_old = scan;
    kbd.pressed_char[scan & 0x1FF] = k.ch;

    const int i = v.CurInpt;
    if (v.CurDDL >= 0 && v.CurDDL < max_ddl) {
        list_keys(k.vk);
    } else if (i >= 0 && i < v.nb_inpt) {
        const int typ = v.inpt_typ[i];
        if (typ == typ_key) {
            kbd.AltGr_Down_SVE = k.vk == vk_rmenu;
        } else if (typ == typ_ifp || typ == typ_ofp || typ == typ_fld) {
            if (k.vk == vk_delete) {
                v.inpt_cval[i].clear();
                v.CurInpt = -1;
            }
        } else if (is_text(typ) && v.CurPos_1 >= 0) {
            text_keys(i, k);
        }
    }
    frm_post_redraw();
}

// The key part of a captured code: a character code, or minus the scan code.
int key_part(const CpwKeyInfo& k, int scan) {
    const int top_row = k.scan & 0xFF;
    if (!k.extended && top_row >= 2 && top_row <= 13) {
        if (k.vk > 0 && k.vk <= 128) return k.vk;
        if (int ch = kbd.pressed_char[scan & 0x1FF]; ch > 0) return ch;
        return -scan;
    }
    const bool plain_code =
        k.vk == ' ' || (k.vk >= '0' && k.vk <= '9') || (k.vk >= 'A' && k.vk <= 'Z');
    return plain_code ? k.vk : -scan;
}

void key_release(const CpwKeyInfo& k) {
    auto& v = FormView;
    const int i = v.CurInpt;
    if (i < 0 || i >= v.nb_inpt || v.inpt_typ[i] != typ_key) return;
    const int scan = key_scan(k);
    int bits = 0;
    if (!is_key_mod(scan, k.vk)) {
        // AltGr counts as Ctrl, as the keyboard reports it on Windows, except for itself.
        if ((k.mods & (cpw_mod_ctrl | cpw_mod_altgr)) && k.vk != vk_rmenu) bits |= 1;
        if (k.mods & cpw_mod_shift) bits |= 2;
        if (k.mods & cpw_mod_alt) bits |= 4;
    }
    if (kbd.clock() - kbd.LastDwnTime > long_press_ms) bits |= 8;
    const int code = key_mod_factor * bits + key_part(k, scan);
    v.inpt_ival[i] = code;
    std::string name;
    get_key_name(code, name);
    v.inpt_cval[i] = name.empty() ? "??????" : name;
    diag("key captured", code, v.inpt_cval[i]);
    if (kbd.AltGr_Down_SVE) {
        kbd.AltGr_Down_SVE = false;  // AltGr alone goes on to the key it is held for
    } else {
        v.CurInpt = -1;
        frm_StartKbdHook(0);
    }
    frm_post_redraw();
}

}  // namespace

void frm_StartKbdHook(int flag) {
    if (kbd.installed) diag("STOP HOOK");
    kbd.installed = flag != 0;
    if (kbd.installed) diag("START HOOK");
    kbd.LastDwnTime = 0;
    kbd.AltGr_Down_SVE = false;
    kbd.scancode_old = 0;
}

bool frm_kbd_hook_installed() { return kbd.installed; }

void frm_set_key_clock(std::int32_t (*clock)()) { kbd.clock = clock ? clock : elapsed_ms; }

void frm_KdbHookProc(const CpwKeyInfo& key) {
    if (!kbd.installed) return;
    if (key.pressed)
        key_press(key);
    else
        key_release(key);
}
