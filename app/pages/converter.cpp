// The converter's hooks: what the input-type, output-type and landscape choices change, the
// Convert and Copy buttons, and the checks of the typed position.
#include "app/pages/converter.hpp"

#include <string>

#include "app/jobs/conversion_setup.hpp"
#include "app/pages/file_page.hpp"
#include "app/pages/form_glue.hpp"
#include "forms/my_forms.hpp"
#include "geo/UTM.hpp"
#include "geo/decode_coord.hpp"
#include "host/clipboard.hpp"
#include "host/diag.hpp"
#include "host/files.hpp"
#include "host/messages.hpp"
#include "include/common_data.hpp"
#include "util/numbers.hpp"
#include "util/text.hpp"

ConverterState converter;

namespace {

constexpr std::string_view title = "Varnix";
constexpr std::string_view failed_result = "XXXXXXXXXXXXXX";  // fourteen: a failed conversion
constexpr std::size_t landscape_name_len = 64;                // what the list holds of a name
constexpr std::string_view nothing_to_copy = "Nothing to copy: convert a position first";

void set_line(int n, std::string_view text) {
    frm_set_prop(sec_text, n, prop_txt, 0, 0, text, true);
}
void set_label(int n, std::string_view text) {
    frm_set_prop(sec_inpt, n, prop_txt, 0, 0, text, true);
}

void take_chosen_landscape() {
    std::string name = current_value(common_data.n_lnd).cv;
    if (name.size() > landscape_name_len) name.resize(landscape_name_len);
    common_data.landscape = text_path(name);  // the list shows folder names as text
}

bool needs_projection(int k_it, int k_ot) {
    return (k_it == it_latlon && k_ot == ot_xy) ||
           (k_it == it_xy && k_ot >= ot_dms && k_ot <= ot_vlro);
}

void format_result(int k_ot, float x, float y, float lat, float lon, TextField<24>& out1,
                   TextField<24>& out2) {
    switch (k_ot) {
        case ot_xy:
            out1 = "X=" + f2b(x, "(F16.2)");
            out2 = "Y=" + f2b(y, "(F16.2)");
            break;
        case ot_dms:
            out1 = "Lat=" + std::string(dms_d(lat, 1).view());
            out2 = "Lon=" + std::string(dms_d(lon, 2).view());
            break;
        case ot_decimal:
            out1 = "Lat=" + f2b(lat, "(F16.6)");
            out2 = "Lon=" + f2b(lon, "(F16.6)");
            break;
        case ot_cup:
            out1 = "Lat=" + std::string(lat_cu(lat).view());
            out2 = "Lon=" + std::string(lon_cu(lon).view());
            break;
        case ot_vlro:
            out1 = "Lat=" + std::string(lat_vlro(lat).view());
            out2 = "Lon=" + std::string(lon_vlro(lon).view());
            break;
    }
}

// The result lines as they stand: c_out1 and c_out2.
void show_result() {
    set_line(common_data.n_oc1, converter.c_out1.view());
    set_line(common_data.n_oc2, converter.c_out2.view());
}

// Why a box was refused, in the result lines: seen without pointing at the red box.
void show_refusal(const std::string& reason) {
    set_line(common_data.n_oc1, reason);
    set_line(common_data.n_oc2, "");
    converter.reason_shown = true;
}

// Only a real result is copied, exactly as shown; without one the clipboard keeps what it
// holds and the result lines say why.
void copy_result() {
    if (!converter.has_result) {
        set_line(common_data.n_oc1, nothing_to_copy);
        set_line(common_data.n_oc2, "");
        return;
    }
    std::string text = std::string(trim(converter.c_out1.view())) + "," +
                       std::string(trim(converter.c_out2.view()));
    // The window stays: losing the clipboard is no reason to lose the form.
    int status = wr_clp_form(text);
    diag("wr_clp", status, text.size(), text);
    show_result();
}

void convert() {
    const auto& cd = common_data;
    converter.c_in1 = current_value(cd.n_ic1).cv;
    converter.c_in2 = current_value(cd.n_ic2).cv;
    int k_it = current_value(cd.n_it).iv;
    int k_ot = current_value(cd.n_ot).iv;
    diag("K_IT", k_it);
    diag("K_OT", k_ot);
    converter.result_projected = needs_projection(k_it, k_ot);
    if (converter.result_projected) take_chosen_landscape();
    converter.has_result = convert_position(k_it, k_ot, converter.c_in1, converter.c_in2,
                                            converter.c_out1, converter.c_out2);
    show_result();
}

// The input type the boxes hold now, as their labels say (the checks go by the label too).
int shown_input_type() {
    std::string label;
    int iv = 0;
    float rv = 0;
    frm_get_prop(sec_inpt, common_data.n_ic1, prop_txt, iv, rv, label);
    return trim(label) == input_label_1(it_xy) ? it_xy : it_latlon;
}

// The typed position in input type `to`, so the two boxes still describe the same point under
// their new labels; boxes that hold no position are cleared. False, and the boxes as they
// were, when the landscape cannot be set up (its message said why): the choice goes back.
bool retype_position(int to) {
    const auto& cd = common_data;
    const int from = shown_input_type();
    if (to == from) return true;
    TextField<24> in1 = current_value(cd.n_ic1).cv, in2 = current_value(cd.n_ic2).cv;
    if (in1.blank() && in2.blank()) return true;
    float x = 0, y = 0, lat = coord_invalid, lon = coord_invalid;
    bool valid;
    if (from == it_latlon) {
        int type = 0;
        decode_coord(in1, in2, lat, lon, type);
        valid = lat != coord_invalid && lon != coord_invalid;
    } else {
        valid = read_free_number(in1.view(), x) && read_free_number(in2.view(), y);
    }
    std::string out1, out2;
    if (valid) {
        take_chosen_landscape();
        if (init_conv() != 1) return false;
        if (from == it_latlon && latlontoxy(lat, lon, x, y) == 1) {
            out1 = f2b(x, "(F16.2)");
            out2 = f2b(y, "(F16.2)");
        } else if (from == it_xy && xytolatlon(x, y, lat, lon) == 1) {
            out1 = f2b(lat, "(F16.6)");
            out2 = f2b(lon, "(F16.6)");
        }
    }
    frm_set_value(cd.n_ic1, 0, 0, out1, true);
    frm_set_value(cd.n_ic2, 0, 0, out2, true);
    return true;
}

// A latitude and longitude pasted together into the first box: the latitude stays, the
// longitude goes to the second box (checked next, as the window checks in order).
void take_pasted_pair(TextField<255>& cval) {
    float v = 0;
    TextField<255> alone = cval;
    std::string_view lat, lon;
    if (what_format(alone, v, "NS") != fmt_unknown || !split_coord_pair(cval.view(), lat, lon))
        return;
    frm_set_value(common_data.n_ic2, 0, 0, lon, true);
    cval = TextField<255>(lat);
}

// The typed X or Y is checked against the landscape's extent. The set-up is tried once per
// Convert (the window checks its boxes in order, IC1 first), so a landscape that cannot be
// set up raises one message box, and each box refused for it gives the reason.
int check_extent(std::string_view lab, float v, std::string& msg) {
    const auto& cd = common_data;
    if (converter.refused_setup != cd.landscape) {
        converter.refused_setup.clear();
        if (init_conv() != 1) {
            converter.refused_setup = cd.landscape;
            converter.setup_reason = init_conv_failure();
        }
    }
    if (!converter.refused_setup.blank()) {
        msg = converter.setup_reason;
        return 0;
    }
    float vmax = lab == "X" ? cd.xmax : cd.ymax;
    if (v >= 0 && v <= vmax) return 1;
    msg = std::string(lab) + "-value must be in [0," + f2b(vmax, "(F16.6)") + "]";
    return 0;
}

}  // namespace

void reset_converter() { converter = ConverterState{}; }

void use_converter_hooks() {
    // A file dropped on the converter opens on the file page.
    auto drop = [](const std::vector<std::string>& paths) {
        if (!paths.empty()) show_file_page(paths.front());
    };
    frm_set_app_hooks({frm_callback, check_values_app, drop, landscape_list});
}

void clear_result() {
    const int k_ot = current_value(common_data.n_ot).iv;
    converter.c_out1 = result_label_1(k_ot);
    converter.c_out2 = result_label_2(k_ot);
    converter.has_result = converter.result_projected = false;
    show_result();
}

std::string_view result_label_1(int k_ot) { return k_ot == ot_xy ? "X=" : "Lat="; }
std::string_view result_label_2(int k_ot) { return k_ot == ot_xy ? "Y=" : "Lon="; }
std::string_view input_label_1(int k_it) { return k_it == it_xy ? "X" : "Lat"; }
std::string_view input_label_2(int k_it) { return k_it == it_xy ? "Y" : "Lon"; }

bool convert_position(int k_it, int k_ot, TextField<24>& in1, TextField<24>& in2,
                      TextField<24>& out1, TextField<24>& out2) {
    float x = 0, y = 0, lat = 0, lon = 0;
    // An output type the window does not know (a changed definition file) has no result.
    bool ok = k_ot >= ot_xy && k_ot <= ot_vlro && (k_it == it_latlon || k_it == it_xy);
    if (ok && k_it == it_xy) {
        ok = read_free_number(in1.view(), x) && read_free_number(in2.view(), y);
        diag("X,Y : ", x, y);
    } else if (ok) {
        int type = 0;
        decode_coord(in1, in2, lat, lon, type);
        diag("Type, Lat, Lon : ", type, lat, lon);
        // Never project the invalid marker, whatever the checks let through.
        ok = lat != coord_invalid && lon != coord_invalid;
    }
    if (ok && needs_projection(k_it, k_ot)) {
        ok = init_conv() == 1;
        if (ok && k_it == it_latlon) {
            ok = latlontoxy(lat, lon, x, y) == 1;
            if (ok && outside_landscape(x, y))
                error_message_tit(s_info, title, "*** Outside landscape ***", common_data.qline);
        } else if (ok) {
            ok = xytolatlon(x, y, lat, lon) == 1;
        }
    }
    if (!ok) {
        out1 = failed_result;
        out2 = failed_result;
        return false;
    }
    format_result(k_ot, x, y, lat, lon, out1, out2);
    return true;
}

void frm_callback(int ncla, int num, int& val) {
    const auto& cd = common_data;
    if (ncla == sec_inpt) {
        std::string name;
        frm_get_name(num, name);
        diag("APPLICATION CALLBACK : INPUT BOX", num, cd.n_ot, val);
        diag(name);
        if (num == cd.n_it && (val == it_latlon || val == it_xy)) {
            if (!retype_position(val)) {
                val = shown_input_type();
                frm_set_value(cd.n_it, val, 0, "", true);
            }
            set_label(cd.n_ic1, input_label_1(val));
            set_label(cd.n_ic2, input_label_2(val));
        } else if (num == cd.n_ot && val >= ot_xy) {
            // The lines show the new labels: the result of the old notation is gone.
            clear_result();
        } else if (num == cd.n_lnd) {
            BoxValue lnd = current_value(num);
            diag("LND : ", lnd.iv, lnd.cv);
            const TextField<80> before = cd.landscape;
            take_chosen_landscape();
            // X/Y of another landscape would be a wrong answer, not an old one.
            if (cd.landscape != before && converter.result_projected) clear_result();
        }
        return;
    }
    if (ncla != sec_butt) return;
    diag("APPLICATION CALLBACK : BUTTON", num, val);
    if (val == butt_copy)
        copy_result();
    else if (val == butt_files)
        show_file_page("");
    else if (val == butt_convert)
        convert();
    else
        show_result();
}

int check_values_app(int n, std::string_view label, int& ival, float& rval, TextField<255>& cval,
                     std::string& msg) {
    const auto& cd = common_data;
    diag("check_values_app : APP : ", label, ival, rval, cval.view());
    diag("LND : ", cd.landscape.view());
    msg.clear();
    if (n == cd.n_ic1) {  // a new Convert's checks begin
        converter.refused_setup.clear();
        converter.reason_shown = false;
    }
    int result = 1;
    const std::string_view lab = trim(label);
    if (lab == "X" || lab == "Y") {
        float v = 0;
        if (!read_free_number(cval.view(), v)) {
            result = 0;
            msg = "Floating-point value required";
        } else if (!cd.landscape.blank()) {
            result = check_extent(lab, v, msg);
        }
    } else if (lab == "Lat" || lab == "Lon") {
        float v = 0;
        const TextField<255> typed = cval;
        if (n == cd.n_ic1 && lab == "Lat") take_pasted_pair(cval);
        // One coordinate with a decimal comma ("46,5"): as French and German pilots write it.
        if (const std::string pointed = decimal_comma_as_point(cval.view()); !pointed.empty())
            cval = TextField<255>(pointed);
        if (what_format(cval, v, lab == "Lat" ? "NS" : "WE") == fmt_unknown) {
            result = 0;
            msg = "Invalid Lat/Lon format";
            // Only a text that reads is shown normalised: a refused one stays as typed, so
            // the user corrects what they wrote, not a dot the check put in.
            cval = typed;
        }
    }
    // A refused position ends the Convert before it starts: the lines must not keep showing
    // the result of another position beside the red box, and they say why the box is red
    // (the first box refused, as the checks go in order).
    if (result == 0 && !converter.reason_shown) {
        clear_result();
        show_refusal(msg);
    }
    diag(result, msg);
    return result;
}
