// The converter window as the main flow starts it. Where the window code lives is the build's
// choice: linked into the executable (window_linked.cpp), or in a module opened only when the
// window opens (window_loaded.cpp), so that a command-line run loads no window library.
#pragma once

// Runs varnix_forms; failures end the program.
void run_window_mode();

// The window module's entry point, resolved by this name.
extern "C" void varnix_window_main();
