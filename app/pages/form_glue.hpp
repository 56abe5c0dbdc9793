// What the pages share with the form engine: a box's value, the named items of a definition,
// the landscape list, and where the definitions are. The converter, the file page and the
// window's run all use these; none of them is used here.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The value of box n as the window shows it now (frm_get_cur_value), or as the model holds it
// (frm_get_value).
struct BoxValue {
    int iv = 0;
    float rv = 0;
    std::string cv;
    int type = 0;
};
BoxValue current_value(int n);
BoxValue model_value(int n);

// The landscape list of a form: the installed landscapes (the engine's fill_list hook).
bool landscape_list(int n, std::vector<std::string>& lines);

// "Varnix_form.frm" next to the executable, else in ../share/varnix/ beside its folder (an
// installed program); the first when neither exists.
std::string converter_form_file();
// The numbers (from 1) of the read definition's input boxes and texts named so, in the slots
// given; false when one is missing.
using NamedItems = std::initializer_list<std::pair<std::string_view, int*>>;
bool find_named_items(NamedItems boxes, NamedItems texts);
