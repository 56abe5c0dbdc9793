// Hand-over of the model to the view, with the lists the application fills.
#include <algorithm>
#include <array>
#include <string>

#include "forms/my_forms_internal.hpp"
#include "gui/form_ops.hpp"
#include "gui/form_view.hpp"
#include "host/diag.hpp"
#include "host/files.hpp"
#include "host/messages.hpp"
#include "util/text.hpp"

using namespace frm_detail;

namespace {

// Fills list k of box n with what the application lists for it; false when it has nothing.
bool load_app_list(int n, int k) {
    std::vector<std::string> lines;
    ctx().frmi03.ddl_nbli[k] = 0;
    if (!app_hooks().fill_list || !app_hooks().fill_list(n, lines)) return false;
    const int count = std::min(int(lines.size()), max_lnd_lines);
    ctx().frmi03.ddl_nbli[k] = count;
    for (int c = 0; c < count; ++c) add_lnd(k - 1, count, c, lines[c]);
    return true;
}

}  // namespace

int load_form() {
    start_hand_over();
    // The hook is looked up at each call: the application may hand it over after the form.
    auto callback = [](int ncla, int n, int& value) {
        if (app_hooks().frm_callback) app_hooks().frm_callback(ncla, n, value);
    };
    auto drop = [](const std::vector<std::string>& paths) {
        if (app_hooks().frm_drop) app_hooks().frm_drop(paths);
    };
    set_form_model_ops({check_values, check_minmax, incrm_val, callback, drop});
    for (int p = 1; p <= ctx().frm000.nb_pict; ++p) {
        const auto& r = ctx().frmi02.pict_pos[p];
        add_pict(ctx().frm000.nb_pict, p - 1, {r[1], r[2], r[3], r[4]},
                 ctx().frmi02.pict_grow[p] != 0);
    }
    for (int t = 1; t <= ctx().frm000.nb_titl; ++t)
        add_subt(ctx().frm000.nb_titl, t - 1, ctx().frmc01.titl_txt[t].view(),
                 ctx().frmi02.titl_pos[t][1], ctx().frmi02.titl_pos[t][2]);

    std::array<Rect, max_sepa> sepa{};
    for (int s = 1; s <= max_sepa; ++s)
        for (int c = 1; c <= 4; ++c) sepa[s - 1][c - 1] = ctx().frmi02.sepa_pos[s][c];
    add_sepa(ctx().frm000.nb_sepa, sepa);

    int nboxes = std::min(ctx().frm000.nb_inpt, max_inpt);
    for (int i = 1; i <= nboxes; ++i) {
        const auto& p = ctx().frmi01.inpt_pos[i];
        bool ddl = ctx().frmi01.inpt_typ[i] == typ_ddl;
        int list = ctx().frmi01.inpt_ddl[i] >= 1 ? ctx().frmi01.inpt_ddl[i] - 1 : -1;
        std::string_view value = ctx().frmc01.inpt_cval[i].view();
        add_inpt(ctx().frm000.nb_inpt, i - 1, ctx().frmc01.inpt_txt[i].view(),
                 trim_right(value.substr(0, std::min<std::size_t>(value.size(), 127))),
                 {p[1], p[2], p[3], p[4]}, ctx().frmi01.inpt_ival[i] - (ddl ? 1 : 0),
                 ctx().frmi01.inpt_rval[i], ctx().frmi01.inpt_siz[i], ctx().frmi01.inpt_typ[i],
                 ctx().frmi01.inpt_arr[i], ctx().frmi01.inpt_act[i], ctx().frmi01.inpt_dep[i], list,
                 ctx().frmc01.inpt_ext[i].view());
        set_inpt_dialog_title(i - 1, ctx().frmc01.inpt_tit[i].view());
    }

    for (int i = 1; i <= nboxes; ++i) {
        int k = ctx().frmi01.inpt_ddl[i];
        if (ctx().frmi01.inpt_typ[i] != typ_ddl || k < 1 || k > max_ddl) continue;
        if (is_landscape_list(i)) {
            if (!load_app_list(i, k)) return 0;
            continue;
        }
        for (int e = 1; e <= ctx().frmi03.ddl_nbli[k] && e <= max_ddl_lines; ++e)
            add_ddl(k - 1, ctx().frmi03.ddl_nbli[k], e - 1, ctx().frmi03.ddl_txt[k][e].view());
    }

    std::array<int, max_rdio> counts{};
    std::array<std::array<int, max_rdio_memb>, max_rdio> members{};
    for (int g = 1; g <= max_rdio; ++g) {
        counts[g - 1] = ctx().frmt01.tick_rdio_count[g];
        for (int m = 1; m <= max_rdio_memb; ++m)
            members[g - 1][m - 1] = ctx().frmt01.tick_rdio[g][m];
    }
    add_rdio(ctx().frm000.nb_rdio, counts, members);

    for (int b = 1; b <= ctx().frm000.nb_butt; ++b)
        add_butt(ctx().frm000.nb_butt, b - 1, ctx().frmc01.butt_txt[b].view(),
                 ctx().frmi02.butt_pos[b][1], ctx().frmi02.butt_pos[b][2], ctx().frmi02.butt_siz[b],
                 ctx().frmi02.butt_typ[b]);
    return 1;
}
