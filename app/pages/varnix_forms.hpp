// The converter form: runs until the user closes the window.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "include/fault.hpp"

// Reads the converter's definition, finds its items, opens the window with the choices of the
// last run and runs it; saves the choices when the window closes. Returns the fault that kept
// the window from opening or running; none when the user closed it.
Fault varnix_forms();

// The landscape list of a form: the installed landscapes (the engine's fill_list hook).
bool landscape_list(int n, std::vector<std::string>& lines);

// --- the steps of varnix_forms, for tests ------------------------------------------------------

// "Varnix_form.frm" next to the executable, else in ../share/varnix/ beside its folder (an
// installed program); the first when neither exists.
std::string converter_form_file();
// The numbers (from 1) of the read definition's input boxes and texts named so, in the slots
// given; false when one is missing.
using NamedItems = std::initializer_list<std::pair<std::string_view, int*>>;
bool find_named_items(NamedItems boxes, NamedItems texts);
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
