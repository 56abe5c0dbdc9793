// Checking what the user typed into a box, range checks, and stepping with the arrows.
#include <algorithm>
#include <cmath>

#include "forms/my_forms_internal.hpp"
#include "host/console.hpp"
#include "host/files.hpp"
#include "util/numbers.hpp"

using namespace frm_detail;

namespace {

constexpr std::size_t max_msg = 256;

bool lower_absent(float v) { return v <= -no_limit; }
bool upper_absent(float v) { return v >= no_limit; }

void refuse(std::string& msg, std::string_view text) {
    msg = text;
    console_line(msg);
}

int check_int(int n, const TextField<255>& text, int& ival, std::string& cval, std::string& msg) {
    if (text.blank()) return 1;
    std::int32_t v;
    if (!read_free_int(text.view(), v)) {
        refuse(msg, "Integer value required");
        return 0;
    }
    ctx().frmi01.inpt_ival[n] = v;
    ctx().frmi01.inpt_rval[n] = float(v);
    ctx().frmc01.inpt_cval[n] = text;
    ival = v;
    cval = i2b(v);
    return 1;
}

int check_flt(int n, const TextField<255>& text, float& rval, std::string& cval, std::string& msg) {
    if (text.blank()) return 1;
    float x;
    if (!read_free_number(text.view(), x)) {
        refuse(msg, "Floating-point value required");
        return 0;
    }
    ctx().frmi01.inpt_ival[n] = round_to_int(x);
    ctx().frmi01.inpt_rval[n] = x;
    ctx().frmc01.inpt_cval[n] = text;
    rval = x;
    cval = real_text(x);
    return 1;
}

// Key codes whose key part lies in -382..382 are stored; keys past 255 are moved down by 128
// into the range the key names use.
void check_key(int n, const TextField<255>& text, int& ival, float rval) {
    int l = split_key_code(ival).key;
    if (l < -382 || l > 382) return;
    if (l > 255) ival -= 128;
    ctx().frmc01.inpt_cval[n] = text;
    ctx().frmi01.inpt_ival[n] = ival;
    ctx().frmi01.inpt_rval[n] = rval;
}

bool names_folder(std::string_view path) {
    return !path.empty() && (path.back() == '\\' || path.back() == '/');
}

// The bound as the range message shows it.
std::string bound_text(int typ, float bound) {
    return typ == typ_int ? i2b(round_to_int(bound)) : f2b(bound, "(F16.6)");
}

bool is_live_box(int n) { return n >= 1 && n <= std::min(ctx().frm000.nb_inpt, max_inpt); }

}  // namespace

int check_values(int n_c, int kact, int& ival, float& rval, std::string& cval, std::string& msg) {
    int n = n_c + 1;
    msg.clear();
    if (!is_live_box(n)) return 0;
    TextField<255> text(cval);
    cval = text.str();
    ctx().frmi01.inpt_act[n] = kact;

    int ok = 1;
    if (kact != 0) {
        switch (ctx().frmi01.inpt_typ[n]) {
            case typ_int:
                ok = check_int(n, text, ival, cval, msg);
                break;
            case typ_flt:
                ok = check_flt(n, text, rval, cval, msg);
                break;
            case typ_chr:
                ctx().frmc01.inpt_cval[n] = text;
                ctx().frmi01.inpt_ival[n] = 0;
                ctx().frmi01.inpt_rval[n] = 0;
                break;
            case typ_tck:
                if (ival != 0 && ival != 1) {
                    refuse(msg, "Value must be 0/1");
                    ok = 0;
                    break;
                }
                ctx().frmi01.inpt_ival[n] = ival;
                ctx().frmc01.inpt_cval[n] = i2b(ival);
                ctx().frmi01.inpt_rval[n] = float(ival);
                break;
            case typ_key:
                check_key(n, text, ival, rval);
                break;
            case typ_col: {
                int rgb;
                if (text[0] != '#' || !read_hex6(text.padded().substr(1, 6), rgb)) {
                    refuse(msg, "Format: #RRGGBB");
                    ok = 0;
                    break;
                }
                ctx().frmc01.inpt_cval[n] = text;
                ctx().frmi01.inpt_ival[n] = rgb;
                ctx().frmi01.inpt_rval[n] = float(rgb);
                break;
            }
            case typ_ifp:
                if (text.blank() || names_folder(text.view())) {
                    ctx().frmc01.inpt_cval[n].clear();
                } else if (!file_exists(text_path(text.view()))) {
                    refuse(msg, "File does not exist");
                    ok = 0;
                } else {
                    ctx().frmc01.inpt_cval[n] = text;
                }
                break;
            case typ_ofp:
            case typ_fld:
                ctx().frmc01.inpt_cval[n] = text;
                break;
            case typ_ddl:
                ctx().frmi01.inpt_ival[n] = ival + 1;
                ctx().frmi01.inpt_rval[n] = float(ival + 1);
                ctx().frmc01.inpt_cval[n] = text;
                break;
            default:
                break;
        }
    }
    if (ok == 1 && app_hooks().check_values_app) {
        const TextField<255> before = ctx().frmc01.inpt_cval[n];
        ok = app_hooks().check_values_app(n, ctx().frmc01.inpt_txt[n].view(),
                                          ctx().frmi01.inpt_ival[n], ctx().frmi01.inpt_rval[n],
                                          ctx().frmc01.inpt_cval[n], msg);
        // A text the application rewrote (a normalised notation) is what the box shows.
        if (ctx().frmc01.inpt_cval[n] != before) cval = ctx().frmc01.inpt_cval[n].str();
    }
    if (msg.size() > max_msg) msg.resize(max_msg);
    return ok;
}

bool check_minmax_0(float x, float xmin, float xmax) {
    return !(xmin < xmax) || (xmin <= x && x <= xmax);
}

int check_minmax(int n_c, int /*ival*/, float /*rval*/, std::string_view /*cval*/,
                 std::string& msg) {
    int n = n_c + 1;
    msg.clear();
    if (!is_live_box(n)) return 1;
    int typ = ctx().frmi01.inpt_typ[n];
    if (typ != typ_int && typ != typ_flt) return 1;
    float lo = ctx().frmi01.inpt_min[n], hi = ctx().frmi01.inpt_max[n];
    if (check_minmax_0(ctx().frmi01.inpt_rval[n], lo, hi)) return 1;
    if (lower_absent(lo))
        msg = "Value must be <= " + bound_text(typ, hi);
    else if (upper_absent(hi))
        msg = "Value must be >= " + bound_text(typ, lo);
    else
        msg = "Value must be in [" + bound_text(typ, lo) + "," + bound_text(typ, hi) + "]";
    console_line(msg);
    return 0;
}

double get_incr(double val) {
    if (val == 0 || !std::isfinite(val)) return 1.0;
    double l = std::log10(std::fabs(val) / 25);
    double p = l > 0 ? std::trunc(l) : std::floor(l);
    double m = std::pow(10.0, l - p);
    // Thresholds: geometric means of neighbouring mantissas 1, 2, 5, 10.
    double mantissa = m > 7.071 ? 10 : m > 3.1623 ? 5 : m > 1.414 ? 2 : 1;
    return mantissa * std::pow(10.0, p);
}

int incrm_val(int n_c, int& ival, float& rval, std::string& cval, int incr) {
    int n = n_c + 1;
    if (!is_live_box(n)) return 0;
    int typ = ctx().frmi01.inpt_typ[n];
    float lo = ctx().frmi01.inpt_min[n], hi = ctx().frmi01.inpt_max[n];
    if (typ == typ_int) {
        long long stored = ctx().frmi01.inpt_ival[n];
        long long step = std::llabs(stored) >= 30 ? round_to_int(get_incr(double(stored))) : 1;
        std::int32_t read;
        if (!read_free_int(cval, read)) return 0;
        // Wide arithmetic, then the bounds, then the 32-bit range: no overflow on the way.
        double v = double(read) + double(incr) * double(step);
        v = std::max(v, double(round_to_int(lo)));
        v = std::min(v, double(round_to_int(hi)));
        std::int32_t iv = round_to_int(v);
        ctx().frmi01.inpt_ival[n] = iv;
        ctx().frmi01.inpt_rval[n] = float(iv);
        cval = i2b(iv);
        ctx().frmc01.inpt_cval[n] = cval;
        ival = iv;
        return 1;
    }
    if (typ == typ_flt) {
        float stored = ctx().frmi01.inpt_rval[n];
        double step;
        if (std::fabs(stored) < 1.0e-10f)
            step = lo < hi ? get_incr((double(hi) - double(lo)) * 0.5) : 1.0;
        else
            step = get_incr(stored);
        float x;
        if (!read_free_number(cval, x)) {
            console_line("Floating-point value required");
            return 0;
        }
        x = float(double(x) + incr * step);
        if (std::isnan(x) || x < lo)
            x = lo;
        else if (x > hi)
            x = hi;
        ctx().frmi01.inpt_rval[n] = x;
        ctx().frmi01.inpt_ival[n] = round_to_int(x);
        rval = x;
        cval = real_text(x);
        ctx().frmc01.inpt_cval[n] = cval;
        return 1;
    }
    return 0;
}
