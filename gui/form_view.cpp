// The FormView tables: registration by the model and the updates it forwards. Labels, list
// entries, text lines and captions are shown in the pilot's language (util/i18n.hpp); the
// model keeps the form file's own texts.
#include "gui/form_view.hpp"

#include <algorithm>

#include "host/keys.hpp"
#include "util/i18n.hpp"
#include "util/renew.hpp"

namespace {

void assign_cut(std::string& dst, std::string_view src, std::size_t max) {
    dst.assign(src.substr(0, std::min(src.size(), max)));
}

int clamp_count(int count, int rows) { return std::clamp(count, 0, rows); }

// The text a key input shows: the key's name, or six question marks when it has none.
std::string key_text(int code) {
    std::string name;
    get_key_name(code, name);
    return name.empty() ? "??????" : name;
}

FormViewState* current = nullptr;

}  // namespace

FormViewState& form_view() {
    if (current == nullptr) std::abort();  // a programming error: no form made current
    return *current;
}
void set_form_view(FormViewState* view) { current = view; }

// The model's table and the key handler's memory have resets of their own.
void reset_form_view() {
    auto& v = form_view();
    FormModelOps ops = std::move(v.model_ops);
    const KeyboardState kbd = v.kbd;
    renew(v);
    v.model_ops = std::move(ops);
    v.kbd = kbd;
}

void start_hand_over() {
    auto& v = form_view();
    v.nb_inpt = v.nb_subt = v.nb_sepa = v.nb_butt = v.nb_rdio = 0;
    v.scaled = false;
    v.ddl_nbli.fill(0);
    v.ddl_inpt.fill(-1);
    for (auto& list : v.ddl_txt)
        for (auto& line : list) line.clear();
    v.LndDDL = -1;
    for (auto& name : v.lnd_nam) name.clear();
    v.nb_pict = 0;
    for (auto& items : v.pict) items = {};
    v.pict_view.fill({});
    v.pict_moved.fill(false);
    v.pict_beyond.fill(0);
    for (auto& placed : v.pict_labels) placed.clear();
    v.GrowPict = v.FocusPict = v.PanPict = -1;
    v.min_width = v.min_height = 0;  // not laid out yet
}

void set_opt(int active, int font_size, int debug) {
    form_view().ActWin = active;
    form_view().font_size = form_view().font_points = font_size;
    form_view().debug = debug != 0;
}

void add_inpt(int count, int index, std::string_view label, std::string_view value,
              const std::array<int, 4>& pos, int ival, float rval, int siz, int typ, int arr,
              int act, int dep, int ddl, std::string_view ext) {
    auto& v = form_view();
    v.nb_inpt = clamp_count(count, max_inpt);
    if (index < 0 || index >= max_inpt) return;
    assign_cut(v.inpt_txt[index], translate_label(label), view_label_len);
    if (typ == typ_key && ival != 0)
        v.inpt_cval[index] = key_text(ival);
    else
        assign_cut(v.inpt_cval[index], value, view_value_len);
    v.inpt_msg[index].clear();
    v.inpt_pos[index] = {pos[0], pos[1], 0, 0};
    v.inpt_ptx[index] = {pos[2], pos[3]};
    v.inpt_ovr[index] = {};
    v.inpt_ival[index] = ival;
    v.inpt_rval[index] = rval;
    v.inpt_siz[index] = siz;
    v.inpt_typ[index] = typ;
    v.inpt_arr[index] = arr;
    v.inpt_act[index] = act;
    v.inpt_dep[index] = dep;
    v.inpt_ddl[index] = ddl;
    assign_cut(v.inpt_ext[index], ext, view_ext_len);
    v.inpt_dlg[index].clear();
    v.inpt_OK[index] = 1;
    v.inpt_inc[index] = 0;
}

void add_ddl(int list, int count, int line, std::string_view text) {
    if (list < 0 || list >= max_ddl) return;
    form_view().ddl_nbli[list] = clamp_count(count, max_ddl_lines);
    if (line < 0 || line >= max_ddl_lines) return;
    assign_cut(form_view().ddl_txt[list][line], translate(text), view_filter_len);
}

void add_lnd(int list, int count, int line, std::string_view text) {
    if (list < 0 || list >= max_ddl) return;
    form_view().LndDDL = list;
    form_view().ddl_nbli[list] = clamp_count(count, max_lnd_lines);
    if (line < 0 || line >= max_lnd_lines) return;
    form_view().lnd_nam[line].assign(text);
}

void add_rdio(int count, const std::array<int, max_rdio>& member_count,
              const std::array<std::array<int, max_rdio_memb>, max_rdio>& members) {
    auto& v = form_view();
    v.rdio_set.fill(-1);
    v.nb_rdio = clamp_count(count, max_rdio);
    int largest = 0;
    for (int g = 0; g < v.nb_rdio; ++g) {
        v.tick_rdio_count[g] = clamp_count(member_count[g], max_rdio_memb);
        for (int j = 0; j < v.tick_rdio_count[g]; ++j) {
            int i = members[g][j] - 1;
            if (i < 0 || i >= max_inpt) {  // a name that matched no input
                v.tick_rdio[g][j] = -1;
                continue;
            }
            v.tick_rdio[g][j] = i;
            v.rdio_set[i] = g;
            largest = std::max(largest, v.inpt_siz[i]);
        }
    }
    set_radio_vertices(largest);
}

void add_sepa(int count, const std::array<Rect, max_sepa>& pos) {
    form_view().nb_sepa = clamp_count(count, max_sepa);
    std::copy_n(pos.begin(), form_view().nb_sepa, form_view().sepa_pos.begin());
}

void add_pict(int count, int index, const Rect& pos, bool grow) {
    auto& v = form_view();
    v.nb_pict = clamp_count(count, max_pict);
    if (index < 0 || index >= max_pict) return;
    v.pict_pos[index] = pos;
    if (grow) v.GrowPict = index;
}

void set_pict(int index, PictureItems items) {
    auto& v = form_view();
    if (index < 0 || index >= v.nb_pict) return;
    v.pict[index] = std::move(items);
    v.pict_dots[index].valid = false;
    v.pict_view[index] = {};  // new contents are fitted afresh
    v.pict_moved[index] = false;
    v.pict_beyond[index] = 0;
    frm_post_redraw();
}

void set_list_lines(int list, const std::vector<std::string>& lines) {
    if (list < 0 || list >= max_ddl) return;
    const int count = clamp_count(int(lines.size()), max_ddl_lines);
    for (int e = 0; e < count; ++e) add_ddl(list, count, e, lines[e]);
    if (count == 0) form_view().ddl_nbli[list] = 0;
    frm_post_redraw();
}

void add_subt(int count, int index, std::string_view text, int x, int y) {
    form_view().nb_subt = clamp_count(count, max_titl);
    if (index < 0 || index >= max_titl) return;
    assign_cut(form_view().subt_txt[index], translate(text), view_label_len);
    form_view().subt_pos[index] = {x, y};
}

void add_butt(int count, int index, std::string_view caption, int x, int y, int width, int type) {
    form_view().nb_butt = clamp_count(count, max_butt);
    if (index < 0 || index >= max_butt) return;
    assign_cut(form_view().butt_txt[index], translate(caption), view_value_len);
    form_view().butt_pos[index] = {x, y, 0, 0};
    form_view().butt_siz[index] = width;
    form_view().butt_typ[index] = type;
}

void set_inpt_props(int index, std::string_view label, int enabled, int type, std::string_view ext,
                    int redraw) {
    auto& v = form_view();
    if (index < 0 || index >= v.nb_inpt) return;
    assign_cut(v.inpt_txt[index], translate_label(label), view_label_len);
    assign_cut(v.inpt_ext[index], ext, view_ext_len);
    v.inpt_act[index] = enabled;
    v.inpt_typ[index] = type;
    if (redraw) frm_post_redraw();
}

void set_inpt_val(int index, int ival, float rval, std::string_view text) {
    auto& v = form_view();
    if (index < 0 || index >= v.nb_inpt) return;
    v.inpt_ival[index] = ival;
    v.inpt_rval[index] = rval;
    int list = v.inpt_ddl[index];
    if (v.inpt_typ[index] == typ_ddl) {
        // The landscape list keeps its lines apart from the other lists.
        bool known = list >= 0 && list < max_ddl && ival >= 0 && ival < v.ddl_nbli[list];
        if (!known)
            v.inpt_cval[index].clear();
        else if (list == v.LndDDL)
            v.inpt_cval[index] = v.lnd_nam[ival];
        else
            v.inpt_cval[index] = v.ddl_txt[list][ival];
    } else if (v.inpt_typ[index] == typ_key) {
        v.inpt_cval[index] = ival != 0 ? key_text(ival) : std::string();
    } else {
        assign_cut(v.inpt_cval[index], text, view_value_len);
    }
    if (v.PathTyped == index) v.PathTyped = -1;  // the application's value replaces the typing
    check_depend();
    frm_post_redraw();
}

void set_inpt_dialog_title(int index, std::string_view title) {
    if (index < 0 || index >= max_inpt) return;
    assign_cut(form_view().inpt_dlg[index], translate(title), view_label_len);
}

bool is_file_box(int typ) { return typ == typ_ifp || typ == typ_ofp || typ == typ_fld; }

void set_subt(int index, std::string_view text, int redraw) {
    if (index < 0 || index >= form_view().nb_subt) return;
    assign_cut(form_view().subt_txt[index], translate(text), view_label_len);
    if (redraw) frm_post_redraw();
}

int get_box_val(int index, int& ival, float& rval, std::string& text) {
    if (index < 0 || index >= max_inpt) return 0;
    const auto& v = form_view();
    ival = v.inpt_ival[index] + (v.inpt_typ[index] == typ_ddl ? 1 : 0);
    rval = v.inpt_rval[index];
    text = v.inpt_cval[index];
    return 1;
}

void check_depend() {
    auto& v = form_view();
    auto is_tick = [&](int i) { return i >= 0 && i < max_inpt && v.inpt_typ[i] == typ_tck; };
    for (int i = 0; i < v.nb_inpt; ++i) {
        int d = v.inpt_dep[i];
        if (d >= 0 && d < dep_inverted && is_tick(d))
            v.inpt_act[i] = v.inpt_ival[d];
        else if (d >= dep_inverted && d < 2 * dep_inverted && is_tick(d - dep_inverted))
            v.inpt_act[i] = v.inpt_ival[d - dep_inverted] == 0 ? 1 : 0;
    }
}
