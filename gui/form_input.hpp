// Mouse and keyboard handlers of the form window, registered with the toolkit by the window's
// life (form_window.cpp) and acting on form_view().
#pragma once

#include <cstdint>
#include <string_view>

#include "toolkit/cpw.hpp"

// Mouse: state 0 press, 1 release, 2 wheel (x then carries the wheel steps); button 0 left,
// 1 middle, 2 right; positions from the top-left as the toolkit reports them.
void frm_mouseclick(pCpw cpw, int win, int state, int button, int x, int y);
void frm_mousemove(pCpw cpw, int win, int x, int y);
void frm_mousedrag(pCpw cpw, int win, int button, int x, int y);
void frm_mouseentry(pCpw cpw, int win, int state);  // 0 entered, 1 left

// What the keys reach besides the focused input: the buttons and the open list.
// Presses button b (from 0) as a click does: validation, callback, end of the loop by its type.
void frm_press_button(pCpw cpw, int b);
// Picture n's view: zoomed by `factor` about the pixel (x, y) (y up), moved by (dx, dy)
// pixels, fitted to its items again.
void frm_picture_zoom(int n, double factor, int x, int y);
void frm_picture_pan(int n, int dx, int dy);
void frm_picture_home(int n);
// Chooses line `line` (from 0) of the open list as a click does; a line it lacks closes it.
void frm_list_choose(int line);
void frm_list_close();
// Highlights line `line` of the open list, scrolling it into view.
void frm_list_highlight(int line);
// Acts on input i as a click on it does: opens its list or dialog, ticks it, starts a key
// capture. Text and number inputs, and disabled ones, are left alone.
void frm_activate_input(pCpw cpw, int i);
// Hands a path typed into a file box to the application (its callback), once the typing is
// done: Enter, Tab, a click elsewhere, the dialog of another box. Nothing when none waits.
void frm_hand_over_typed_path();
// Gives the focus to the form's first widget for keys: the first enabled text or number input
// in Tab order, its value selected, else the first widget in that order.
void frm_focus_first();

// Keyboard: installs (1) or removes (0) the form's key handler; key events reach
// frm_KdbHookProc only while it is installed.
void frm_StartKbdHook(int flag);
bool frm_kbd_hook_installed();
void frm_KdbHookProc(const CpwKeyInfo& key);
// The handlers' clock (milliseconds): the key handler's and the double-click's; elapsed_ms
// unless a test sets another. Null restores.
void frm_set_key_clock(std::int32_t (*clock)());
std::int32_t frm_clock();

// --- editing the focused input at its caret (form_edit.cpp) -------------------------------------

// The user changed input i's value: a refusal shown for it no longer applies.
void value_edited(int i);
// Scrolls the focused input so that its caret shows, keeping the box filled with text.
void keep_caret_visible();
// Brings the focused input's scroll offset, caret and selection within its value; false when
// no input has a caret.
bool caret_in_value();
// Characters a number input accepts: digits, "+", "-", ".", "E".
bool IsNum(int c);
// Replaces the selection by c, or inserts c at the caret; nothing at the value's capacity.
void InsertChar(int c);
// Removes the selection, or the character before the caret.
void DeleteChar();
// Inserts a pasted text at the caret: up to its first line end, control characters left out.
void insert_pasted(std::string_view text);
