// Keyboard handling of the form. Not wired yet: the handler is accepted and does nothing.
#include "gui/form_input.hpp"

void frm_StartKbdHook(int) {}
void frm_KdbHookProc(const CpwKeyInfo&) {}
