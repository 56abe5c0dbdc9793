// The converter window's application side: the two hooks the form engine calls
// (frm_callback, check_values_app, declared in forms/my_forms.hpp) and what they keep between
// calls. The window itself is started by varnix_forms (app/varnix_forms.hpp).
#pragma once

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
    TextField<24> c_in1, c_in2;    // the two input texts as last read
    TextField<24> c_out1, c_out2;  // the two result texts
};
extern ConverterState converter;

// Back to the start-up state (tests).
void reset_converter();

// The result texts for a position typed in input type k_it and wanted in output type k_ot,
// with the conversion set up for common_data.landscape when the two differ in kind. Fourteen
// "X" when the position does not decode or the conversion fails.
void convert_position(int k_it, int k_ot, TextField<24>& in1, TextField<24>& in2,
                      TextField<24>& out1, TextField<24>& out2);

// The labels of the result lines for output type k_ot ("X=" / "Y=", else "Lat=" / "Lon=").
std::string_view result_label_1(int k_ot);
std::string_view result_label_2(int k_ot);
// The labels of the input boxes for input type k_it ("Lat" / "Lon", "X" / "Y").
std::string_view input_label_1(int k_it);
std::string_view input_label_2(int k_it);
