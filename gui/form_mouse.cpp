// Mouse interaction on the form. Not wired yet: the handlers are registered and do nothing.
#include "gui/form_input.hpp"

void frm_mouseclick(pCpw, int, int, int, int, int) {}
void frm_mousemove(pCpw, int, int, int) {}
void frm_mousedrag(pCpw, int, int, int, int) {}
void frm_mouseentry(pCpw, int, int) {}
