// Pointer, focus and key input from the host turned into events.
//
// Motion and drag are reported only while the window has the focus. A button press captures
// the pointer until the last button is released; while captured, the pointer leaving the client
// area is not a leave (the drag goes on), and a leave follows the release if it is still out.
#include <algorithm>
#include <cmath>

#include "host/keys.hpp"
#include "toolkit/cpw_state.hpp"

namespace {
CpwWindow* find(pCpw cpw, int win) {
    return cpw_state_valid(cpw) ? cpw_list_find(cpw, win) : nullptr;
}

void entry(pCpw cpw, int win, int state) {
    cpw_event_insert(cpw, win, cpw_ev_mouse_entry, {state});
}

// The drag button code: the one button held, or -1 for a combination.
int drag_button(int buttons) {
    switch (buttons) {
        case 1 << cpw_button_left:
            return cpw_button_left;
        case 1 << cpw_button_middle:
            return cpw_button_middle;
        case 1 << cpw_button_right:
            return cpw_button_right;
        default:
            return -1;
    }
}
}  // namespace

void cpw_input_focus(pCpw cpw, int win, bool focused) {
    CpwWindow* w = find(cpw, win);
    if (w == nullptr || w->focused == focused) return;
    w->focused = focused;
    if (!focused && w->buttons != 0) {
        w->buttons = 0;
        w->left_while_captured = false;
        cpw->host->capture_pointer(w->host.get(), false);
    }
    entry(cpw, win, focused ? cpw_entered : cpw_left);
}

void cpw_input_pointer_inside(pCpw cpw, int win, bool inside) {
    CpwWindow* w = find(cpw, win);
    if (w == nullptr) return;
    w->pointer_inside = inside;
    if (w->buttons != 0) {
        w->left_while_captured = !inside;
        return;
    }
    if (w->focused) entry(cpw, win, inside ? cpw_entered : cpw_left);
}

void cpw_input_pointer_pos(pCpw cpw, int win, int x, int y) {
    CpwWindow* w = find(cpw, win);
    if (w == nullptr || !w->focused) return;
    if (w->buttons != 0)
        cpw_event_insert(cpw, win, cpw_ev_mouse_drag, {drag_button(w->buttons), x, y});
    else
        cpw_event_insert(cpw, win, cpw_ev_mouse_move, {x, y});
}

void cpw_input_button(pCpw cpw, int win, int button, bool pressed, int x, int y) {
    CpwWindow* w = find(cpw, win);
    if (w == nullptr || button < cpw_button_left || button > cpw_button_right) return;
    const int bit = 1 << button;
    if (pressed) {
        if (w->buttons == 0) cpw->host->capture_pointer(w->host.get(), true);
        w->buttons |= bit;
    } else {
        if ((w->buttons & bit) == 0) return;  // pressed elsewhere, or before a focus loss
        w->buttons &= ~bit;
    }
    cpw_event_insert(cpw, win, cpw_ev_mouse_click,
                     {pressed ? cpw_press : cpw_release, button, x, y});
    if (!pressed && w->buttons == 0) {
        cpw->host->capture_pointer(w->host.get(), false);
        if (w->left_while_captured && w->focused) entry(cpw, win, cpw_left);
        w->left_while_captured = false;
    }
}

void cpw_input_wheel(pCpw cpw, int win, double steps) {
    CpwWindow* w = find(cpw, win);
    if (w == nullptr || !std::isfinite(steps)) return;
    w->wheel_rest += steps;
    const double whole = std::trunc(w->wheel_rest);
    if (whole == 0) return;
    w->wheel_rest -= whole;
    const int n = static_cast<int>(std::clamp(whole, -1000.0, 1000.0));
    cpw_event_insert(cpw, win, cpw_ev_mouse_click, {cpw_wheel, cpw_button_middle, n, 0});
}

void cpw_input_key(pCpw cpw, int win, const CpwKeyInfo& k) {
    if (find(cpw, win) == nullptr) return;
    const int scan = (k.scan & 0xFF) | (k.extended ? 0x100 : 0);
    cpw_event_insert(cpw, win, k.system ? cpw_ev_system_key : cpw_ev_key,
                     {k.pressed ? 1 : 0, k.vk, scan, k.ch, k.mods});
}

int cpw_scan_from_evdev(int evdev) { return scan_from_evdev(evdev); }
