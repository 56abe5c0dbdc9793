#include "fuzz/fuzz_support.hpp"

#include "forms/my_forms.hpp"
#include "fuzz/fuzz_check.hpp"
#include "gui/form_view.hpp"

void check_tables() {
    require(frm_context().frm000.nb_inpt >= 0 && frm_context().frm000.nb_inpt <= max_inpt,
            "nb_inpt");
    require(frm_context().frm000.nb_rdio >= 0 && frm_context().frm000.nb_rdio <= max_rdio,
            "nb_rdio");
    require(frm_context().frm000.nb_sepa >= 0 && frm_context().frm000.nb_sepa <= max_sepa,
            "nb_sepa");
    require(frm_context().frm000.nb_titl >= 0 && frm_context().frm000.nb_titl <= max_titl,
            "nb_titl");
    require(frm_context().frm000.nb_butt >= 0 && frm_context().frm000.nb_butt <= max_butt,
            "nb_butt");
    for (int i = 1; i <= frm_context().frm000.nb_inpt; ++i) {
        int k = frm_context().frmi01.inpt_ddl[i];
        require(k == -1 || (k >= 1 && k <= max_ddl), "inpt_ddl");
        require(k == -1 || frm_context().frmi01.inpt_typ[i] == typ_ddl,
                "list of a box that is no list");
    }
    for (int k = 1; k <= max_ddl; ++k)
        require(frm_context().frmi03.ddl_nbli[k] >= 0 &&
                    frm_context().frmi03.ddl_nbli[k] <= max_ddl_lines,
                "ddl_nbli");
    for (int g = 1; g <= frm_context().frm000.nb_rdio; ++g) {
        int m = frm_context().frmt01.tick_rdio_count[g];
        require(m >= 0 && m <= max_rdio_memb, "tick_rdio_count");
        for (int j = 1; j <= m; ++j) {
            int b = frm_context().frmt01.tick_rdio[g][j];
            require(b == -1 || (b >= 1 && b <= frm_context().frm000.nb_inpt), "tick_rdio");
        }
    }
    const FormViewState& v = form_view();
    require(v.nb_inpt >= 0 && v.nb_inpt <= max_inpt, "view nb_inpt");
    require(v.nb_rdio >= 0 && v.nb_rdio <= max_rdio, "view nb_rdio");
    require(v.NCRad >= 0 && v.NCRad <= max_radio_vertices, "view NCRad");
    require(v.nb_subt >= 0 && v.nb_subt <= max_titl, "view nb_subt");
    require(v.nb_sepa >= 0 && v.nb_sepa <= max_sepa, "view nb_sepa");
    require(v.nb_butt >= 0 && v.nb_butt <= max_butt, "view nb_butt");
    for (int i = 0; i < v.nb_inpt; ++i) {
        require(v.inpt_ddl[i] >= -1 && v.inpt_ddl[i] < max_ddl, "view inpt_ddl");
        require(v.rdio_set[i] >= -1 && v.rdio_set[i] < max_rdio, "view rdio_set");
    }
}
