// The converter window's application side: the two hooks the form engine calls
// (frm_callback, check_values_app) and what they keep between calls. The window itself is
// started by varnix_forms (app/varnix_forms.hpp).
#pragma once

#include <string>
#include <vector>
#include <string_view>

#include "util/text_field.hpp"

// Output types of the "OT" choice.
enum OutputType : int {
    ot_xy = 1,       // X=, Y= in metres, two decimals
    ot_dms = 2,      // degrees, minutes, seconds with hundredths
    ot_decimal = 3,  // decimal degrees, six decimals
    ot_cup = 4,      // waypoint-file notation
    ot_vlro = 5,     // simulator notation
};
// Input types of the "IT" choice.
enum InputKind : int { it_latlon = 1, it_xy = 2 };

// Button types the converter reacts to.
inline constexpr int butt_copy = 3;
inline constexpr int butt_convert = 102;

// What the converter keeps between hook calls.
struct ConverterState {
    TextField<24> c_in1, c_in2;     // the two input texts as last read
    TextField<24> c_out1, c_out2;   // the two result texts
    bool has_result = false;        // the result lines show a conversion, the one Copy copies
    bool result_projected = false;  // that conversion depended on the landscape
    TextField<80> refused_setup;    // landscape whose set-up failed at this Convert's checks
    std::string setup_reason;       // and why, as the set-up said it
    bool reason_shown = false;      // the result lines say why a box of this Convert was refused
};
extern ConverterState converter;

// Back to the start-up state (tests).
void reset_converter();

// The hooks (forms/my_forms.hpp FormAppHooks). After a user action: ncla sec_inpt = input box
// num (val: its integer, a list entry from 1), sec_butt = button num (val: its type code).
void frm_callback(int ncla, int num, int& val);
// The check of a typed position, keyed on the box's label ("Lat", "Lon", "X", "Y"): 1 accepts,
// 0 refuses with the reason in msg. A text that reads may be rewritten normalised in cval.
int check_values_app(int n, std::string_view label, int& ival, float& rval, TextField<255>& cval,
                     std::string& msg);
// Hands the two hooks to the form engine.
void use_converter_hooks();


// The result lines back to their labels for the output type shown; nothing left to copy.
void clear_result();

// The result texts for a position typed in input type k_it and wanted in output type k_ot,
// with the conversion set up for common_data.landscape when the two differ in kind. False, and
// fourteen "X", when the position does not decode or the conversion fails.
bool convert_position(int k_it, int k_ot, TextField<24>& in1, TextField<24>& in2,
                      TextField<24>& out1, TextField<24>& out2);

// The labels of the result lines for output type k_ot ("X=" / "Y=", else "Lat=" / "Lon=").
std::string_view result_label_1(int k_ot);
std::string_view result_label_2(int k_ot);
// The labels of the input boxes for input type k_it ("Lat" / "Lon", "X" / "Y").
std::string_view input_label_1(int k_it);
std::string_view input_label_2(int k_it);
