// The call interface of a form: counts, names, values and properties, window life.
#include <algorithm>

#include "forms/my_forms_internal.hpp"
#include "gui/form_view.hpp"
#include "host/diag.hpp"
#include "host/messages.hpp"
#include "util/numbers.hpp"
#include "util/text.hpp"

using namespace frm_detail;

namespace {

bool is_box(int n) { return n >= 1 && n <= ctx().frm000.nb_inpt && n <= max_inpt; }

void trace(std::string_view what, int n, int v) {
    if (ctx().frm999.qdebug) diag("frm:", what, n, v);
}

void forward_props(int n, bool qrefresh) {
    set_inpt_props(n - 1, ctx().frmc01.inpt_txt[n].view(), ctx().frmi01.inpt_act[n],
                   ctx().frmi01.inpt_typ[n], ctx().frmc01.inpt_ext[n].view(), log2int(qrefresh));
}

}  // namespace

bool is_landscape_list(int n) {
    return n >= 1 && n <= max_inpt && ctx().frmi01.inpt_typ[n] == typ_ddl &&
           ctx().frmc01.inpt_txt[n] == std::string_view("Landscape");
}

int frm_create_form() {
    // Console text is converted at the console boundary, so French needs no code page switch.
    ctx().frm999.qfr = IsLanguageFrench();
    if (ctx().frm000.nb_inpt == 0) return 0;
    set_opt(ctx().frm999.iact, ctx().frm000.f_size, log2int(ctx().frm999.qdebug));
    load_form();
    ctx().frm999.window_id =
        frm_start_graphics(ctx().frmc00.f_name.view(), ctx().frmc00.wintit.view());
    trace("create_form window", ctx().frm999.window_id, ctx().frm000.nb_inpt);
    return ctx().frm999.window_id;
}

std::string frm_create_failure() { return frm_window_failure(); }

int frm_new_form() {
    if (ctx().frm999.window_id == 0) return 0;
    load_form();
    return frm_new_form_gr();
}

int frm_switch_form(FormContext* to) {
    FormContext* const from = frm_current_context();
    if (to == nullptr || from == nullptr || from->frm999.window_id == 0) return 0;
    if (to == from) return from->frm999.window_id;
    frm_set_context(to);
    ctx().frm999.qfr = from->frm999.qfr;
    // A form shown before comes back as the user left it; a new one is registered first.
    if (ctx().FormView.nb_inpt == 0) {
        set_opt(ctx().frm999.iact, ctx().frm000.f_size, log2int(ctx().frm999.qdebug));
        load_form();
    }
    ctx().frm999.window_id = frm_take_window(from->FormView, ctx().frmc00.wintit.view());
    from->frm999.window_id = 0;
    return ctx().frm999.window_id;
}

int frm_set_list(int n, const std::vector<std::string>& lines, int entry) {
    if (!is_box(n) || ctx().frmi01.inpt_typ[n] != typ_ddl) return 0;
    const int k = ctx().frmi01.inpt_ddl[n];
    if (k < 1 || k > max_ddl) return 0;
    const int count = std::min(int(lines.size()), max_ddl_lines);
    ctx().frmi03.ddl_nbli[k] = count;
    for (int e = 1; e <= max_ddl_lines; ++e)
        ctx().frmi03.ddl_txt[k][e] = e <= count ? std::string_view(lines[e - 1]) : "";
    set_list_lines(k - 1, lines);
    if (entry >= 1 && entry <= count) return frm_set_value(n, entry, 0, "", true);
    ctx().frmi01.inpt_ival[n] = 0;
    ctx().frmc01.inpt_cval[n] = "";
    set_inpt_val(n - 1, -1, 0, "");
    return 1;
}

int frm_set_picture(int p, PictureItems items) {
    if (p < 1 || p > ctx().frm000.nb_pict) return 0;
    set_pict(p - 1, std::move(items));
    return 1;
}

void frm_set_title(std::string_view title) {
    ctx().frmc00.wintit = title;
    frm_set_window_title(ctx().frmc00.wintit.view());
}

void frm_show_lines(std::string_view title, const std::vector<std::string>& lines) {
    show_lines(title, lines);
}

int frm_do_form() {
    if (ctx().frm999.window_id == 0) return 0;
    return frm_do_graphics();
}

int frm_get_count() { return ctx().frm000.nb_inpt; }
int frm_get_txt_count() { return ctx().frm000.nb_titl; }
int frm_get_version() { return ctx().frm000.nvers; }

int frm_set_count(int nn) {
    if (nn > max_inpt) return 0;
    ctx().frm000.nb_inpt = nn;
    return 1;
}

int frm_get_number(std::string_view name) {
    for (int i = 1; i <= std::min(ctx().frm000.nb_inpt, max_inpt); ++i)
        if (ctx().frmc01.inpt_nam[i] == name) return i;
    return 0;
}

int frm_get_name(int n, std::string& nam) {
    if (n < 1 || n > max_inpt) return 0;
    nam = ctx().frmc01.inpt_nam[n].str();
    return 1;
}

int frm_get_txt_name(int n, std::string& nam) {
    if (n < 1 || n > max_titl) return 0;
    nam = ctx().frmc01.titl_txt[n].str();
    return 1;
}

int frm_get_value(int n, int& iv, float& rv, std::string& cv, int& it) {
    if (!is_box(n)) return 0;
    iv = ctx().frmi01.inpt_ival[n];
    rv = ctx().frmi01.inpt_rval[n];
    cv = ctx().frmc01.inpt_cval[n].str();
    it = ctx().frmi01.inpt_typ[n];
    return 1;
}

int frm_get_cur_value(int n, int& iv, float& rv, std::string& cv, int& it) {
    if (!is_box(n)) return 0;
    get_box_val(n - 1, iv, rv, cv);
    it = ctx().frmi01.inpt_typ[n];
    return 1;
}

int frm_set_value(int n, int iv, float rv, std::string_view cv, bool qupd) {
    if (!is_box(n)) return 0;
    int typ = ctx().frmi01.inpt_typ[n];
    bool blank = is_blank(cv);
    std::string text;
    int v = iv;
    switch (typ) {
        case typ_ddl: {
            int entry = std::max(iv, 1);
            int k = ctx().frmi01.inpt_ddl[n];
            if (!is_landscape_list(n)) {
                if (k < 1 || k > max_ddl ||
                    entry > std::min(ctx().frmi03.ddl_nbli[k], max_ddl_lines))
                    return 0;  // no such entry
                text = ctx().frmi03.ddl_txt[k][entry].str();
            } else if (k < 1 || k > max_ddl) {
                return 0;
            } else if (entry <= std::min(form_view().ddl_nbli[k - 1], max_lnd_lines)) {
                // A landscape list has its entries on the view side only; the text is the name.
                text = form_view().lnd_nam[entry - 1];
            }
            v = iv - 1;
            break;
        }
        case typ_int:
            text = blank ? i2b(iv) : std::string(cv);
            break;
        case typ_flt:
            text = blank ? set_value_text(rv) : std::string(cv);
            break;
        case typ_col:
            if (iv < 0 || iv > 0xFFFFFF) return 0;  // not a colour: no six-digit text
            text = blank ? colour_text(iv) : std::string(cv);
            break;
        case typ_key:
            break;
        default:
            text = cv;
            break;
    }
    ctx().frmi01.inpt_rval[n] = rv;
    ctx().frmi01.inpt_ival[n] = iv;
    ctx().frmc01.inpt_cval[n] = text;
    trace("set_value", n, iv);
    if (qupd) set_inpt_val(n - 1, v, rv, ctx().frmc01.inpt_cval[n].view());
    return 1;
}

int frm_find_entry(int n, std::string_view text) {
    if (!is_box(n) || ctx().frmi01.inpt_typ[n] != typ_ddl || text.empty()) return 0;
    const int k = ctx().frmi01.inpt_ddl[n];
    if (k < 1 || k > max_ddl) return 0;
    if (is_landscape_list(n)) {
        const int lines = std::min(form_view().ddl_nbli[k - 1], max_lnd_lines);
        for (int e = 1; e <= lines; ++e)
            if (form_view().lnd_nam[e - 1] == text) return e;
        return 0;
    }
    for (int e = 1; e <= std::min(ctx().frmi03.ddl_nbli[k], max_ddl_lines); ++e)
        if (ctx().frmi03.ddl_txt[k][e] == text) return e;
    return 0;
}

int frm_set_prop(int ncla, int n, int npro, int iv, float rv, std::string_view cv, bool qrefresh) {
    if (ncla == sec_text) {
        if (npro != prop_txt || n < 1 || n > std::min(ctx().frm000.nb_titl, max_titl)) return 0;
        ctx().frmc01.titl_txt[n] = cv;
        set_subt(n - 1, ctx().frmc01.titl_txt[n].view(), log2int(qrefresh));
        return 1;
    }
    if (ncla != sec_inpt || !is_box(n)) return 0;
    switch (npro) {
        case prop_act:
            ctx().frmi01.inpt_act[n] = iv;
            break;
        case prop_typ:
            ctx().frmi01.inpt_typ[n] = iv;
            break;
        case prop_min:
            ctx().frmi01.inpt_min[n] = rv;
            return 1;
        case prop_max:
            ctx().frmi01.inpt_max[n] = rv;
            return 1;
        case prop_txt:
            ctx().frmc01.inpt_txt[n] = cv;
            break;
        case prop_ext:
            ctx().frmc01.inpt_ext[n] = cv;
            break;
        case prop_nam:
            ctx().frmc01.inpt_nam[n] = cv;
            break;
        default:
            return 0;
    }
    trace("set_prop", n, npro);
    forward_props(n, qrefresh);
    return 1;
}

int frm_get_prop(int ncla, int n, int npro, int& iv, float& rv, std::string& cv) {
    if (ncla == sec_text && npro == prop_txt) {
        if (n < 1 || n > std::min(ctx().frm000.nb_titl, max_titl)) return 0;
        cv = ctx().frmc01.titl_txt[n].str();
        return 1;
    }
    if (ncla != sec_inpt) return 1;  // nothing to give, nothing refused
    if (!is_box(n)) return 0;
    switch (npro) {
        case prop_act:
            iv = ctx().frmi01.inpt_act[n];
            break;
        case prop_typ:
            iv = ctx().frmi01.inpt_typ[n];
            break;
        case prop_min:
            rv = ctx().frmi01.inpt_min[n];
            break;
        case prop_max:
            rv = ctx().frmi01.inpt_max[n];
            break;
        case prop_txt:
            cv = ctx().frmc01.inpt_txt[n].str();
            break;
        case prop_ext:
            cv = ctx().frmc01.inpt_ext[n].str();
            break;
        case prop_nam:
            cv = ctx().frmc01.inpt_nam[n].str();
            break;
        case prop_var:
            cv = ctx().frmc01.inpt_var[n].str();
            break;
        default:
            return 0;
    }
    return 1;
}
