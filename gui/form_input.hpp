// Mouse and keyboard handlers of the form window, registered with the toolkit by the window's
// life (form_window.cpp) and acting on FormView.
#pragma once

#include "toolkit/cpw.hpp"

// Mouse: state 0 press, 1 release, 2 wheel (x then carries the wheel steps); button 0 left,
// 1 middle, 2 right; positions from the top-left as the toolkit reports them.
void frm_mouseclick(pCpw cpw, int win, int state, int button, int x, int y);
void frm_mousemove(pCpw cpw, int win, int x, int y);
void frm_mousedrag(pCpw cpw, int win, int button, int x, int y);
void frm_mouseentry(pCpw cpw, int win, int state);  // 0 entered, 1 left

// Keyboard: installs (1) or removes (0) the form's key handler; key events reach
// frm_KdbHookProc only while it is installed.
void frm_StartKbdHook(int flag);
void frm_KdbHookProc(const CpwKeyInfo& key);
