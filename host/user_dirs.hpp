// Where the program keeps the user's settings, and whether a window can be shown at all.
#pragma once

#include <string>

// The folder for the program's saved settings, created when missing (host path, no trailing
// separator); "" when there is none to be had.
std::string settings_folder();

// The user's own folder for the logs when the current folder cannot be written, created when
// missing (host path); "" when there is none to be had.
std::string log_folder();

// Where a file dialog starts when nothing else tells: the user's Documents folder on Windows,
// the home folder elsewhere (host path); "" when there is none.
std::string documents_folder();

// Why no window can be opened, in words for the user ("" when a window system is there to
// ask: then a refusal comes from the window system itself).
std::string no_window_reason();

// Why the window system refused a window, naming the display asked, for a user who started the
// program on a display that is gone or not theirs.
std::string window_refused_reason();
