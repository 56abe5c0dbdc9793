// The converter's hooks: what the input-type, output-type and landscape choices change, the
// Convert and Copy buttons, and the checks of the typed position.
#include "app/converter.hpp"

#include <string>

#include "app/Varnix.hpp"
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
constexpr int class_button = 6;

// The current value of box n as the window holds it.
struct BoxValue {
    int iv = 0;
    float rv = 0;
    std::string cv;
};
BoxValue current(int n) {
    BoxValue b;
    int type = 0;
    frm_get_cur_value(n, b.iv, b.rv, b.cv, type);
    return b;
}

void set_line(int n, std::string_view text) {
    frm_set_prop(sec_text, n, prop_txt, 0, 0, text, true);
}
void set_label(int n, std::string_view text) {
    frm_set_prop(sec_inpt, n, prop_txt, 0, 0, text, true);
}

void take_chosen_landscape() {
    std::string name = current(common_data.n_lnd).cv;
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

void copy_result() {
    std::string text = std::string(trim(converter.c_out1.view())) + "," +
                       std::string(trim(converter.c_out2.view()));
    // The window stays: losing the clipboard is no reason to lose the form.
    int status = wr_clp_form(text);
    diag("wr_clp", status, text.size(), text);
}

void convert() {
    const auto& cd = common_data;
    converter.c_in1 = current(cd.n_ic1).cv;
    converter.c_in2 = current(cd.n_ic2).cv;
    int k_it = current(cd.n_it).iv;
    int k_ot = current(cd.n_ot).iv;
    diag("K_IT", k_it);
    diag("K_OT", k_ot);
    if (needs_projection(k_it, k_ot)) take_chosen_landscape();
    convert_position(k_it, k_ot, converter.c_in1, converter.c_in2, converter.c_out1,
                     converter.c_out2);
}

}  // namespace

void reset_converter() { converter = ConverterState{}; }

std::string_view result_label_1(int k_ot) { return k_ot == ot_xy ? "X=" : "Lat="; }
std::string_view result_label_2(int k_ot) { return k_ot == ot_xy ? "Y=" : "Lon="; }
std::string_view input_label_1(int k_it) { return k_it == it_xy ? "X" : "Lat"; }
std::string_view input_label_2(int k_it) { return k_it == it_xy ? "Y" : "Lon"; }

void convert_position(int k_it, int k_ot, TextField<24>& in1, TextField<24>& in2,
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
        return;
    }
    format_result(k_ot, x, y, lat, lon, out1, out2);
}

void frm_callback(int ncla, int num, int& val) {
    const auto& cd = common_data;
    if (ncla == sec_inpt) {
        std::string name;
        frm_get_name(num, name);
        diag("APPLICATION CALLBACK : INPUT BOX", num, cd.n_ot, val);
        diag(name);
        if (num == cd.n_it && (val == it_latlon || val == it_xy)) {
            set_label(cd.n_ic1, input_label_1(val));
            set_label(cd.n_ic2, input_label_2(val));
        } else if (num == cd.n_ot && val >= ot_xy) {
            set_line(cd.n_oc1, result_label_1(val));
            set_line(cd.n_oc2, result_label_2(val));
        } else if (num == cd.n_lnd) {
            BoxValue lnd = current(num);
            diag("LND : ", lnd.iv, lnd.cv);
            take_chosen_landscape();
        }
        return;
    }
    if (ncla != class_button) return;
    diag("APPLICATION CALLBACK : BUTTON", num, val);
    if (val == butt_copy)
        copy_result();
    else if (val == butt_convert)
        convert();
    set_line(cd.n_oc1, converter.c_out1.view());
    set_line(cd.n_oc2, converter.c_out2.view());
}

int check_values_app(int /*n*/, std::string_view label, int& ival, float& rval,
                     TextField<255>& cval, std::string& msg) {
    const auto& cd = common_data;
    diag("check_values_app : APP : ", label, ival, rval, cval.view());
    diag("LND : ", cd.landscape.view());
    msg.clear();
    int result = 1;
    const std::string_view lab = trim(label);
    if (lab == "X" || lab == "Y") {
        float v = 0;
        if (!read_free_number(cval.view(), v)) {
            result = 0;
            msg = "Floating-point value required";
        } else if (!cd.landscape.blank()) {
            // A set-up that failed has said why already; its extent is not to be trusted.
            if (init_conv() != 1) {
                result = 0;
            } else {
                float vmax = lab == "X" ? cd.xmax : cd.ymax;
                if (v < 0 || v > vmax) {
                    result = 0;
                    msg = std::string(lab) + "-value must be in [0," + f2b(vmax, "(F16.6)") + "]";
                }
            }
        }
    } else if (lab == "Lat" || lab == "Lon") {
        float v = 0;
        const TextField<255> typed = cval;
        if (what_format(cval, v, lab == "Lat" ? "NS" : "WE") == fmt_unknown) {
            result = 0;
            msg = "Invalid Lat/Lon format";
            // Only a text that reads is shown normalised: a refused one stays as typed, so
            // the user corrects what they wrote, not a dot the check put in.
            cval = typed;
        }
    }
    diag(result, msg);
    return result;
}
