// The converter window as the main flow starts it. Where the window code lives is the build's
// choice: linked into the executable (window_linked.cpp), or in a module opened only when the
// window opens (window_loaded.cpp), so that a command-line run loads no window library.
#pragma once

#include "include/fault.hpp"

// Runs varnix_forms; returns the fault it ended with (none when the window was closed).
Fault run_window_mode();

// The window module's entry point, resolved by this name. It fills `end` and returns: a fault
// is handed back as a value, never thrown across the module's edge.
extern "C" void varnix_window_main(Fault* end);
