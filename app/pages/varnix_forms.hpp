// The converter form: runs until the user closes the window.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/pages/form_glue.hpp"
#include "include/fault.hpp"

// Reads the converter's definition, finds its items, opens the window with the choices of the
// last run and runs it; saves the choices when the window closes. Returns the fault that kept
// the window from opening or running; none when the user closed it.
Fault varnix_forms();

// --- the steps of varnix_forms, for tests ------------------------------------------------------

// Finds the seven named items of the read definition (common_data.n_*); false when one is
// missing.
bool find_converter_items();
// Text line 1 gets " - V" and the program's version.
void add_version_to_title();
// Shows the choices of the last run (saved values) in the created window, or the defaults:
// latitude/longitude in, X/Y out, the first landscape.
void show_start_choices();
// Keeps the window's choices and typed position for the next start.
void save_choices();
