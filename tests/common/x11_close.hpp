// The close request a window manager sends (WM_DELETE_WINDOW): the test X servers run no window
// manager, so the window tests send it themselves. Kept apart from the tests, whose names
// Xlib's macros spoil.
#pragma once

// False when no display can be opened.
bool send_close_request(unsigned long window);
