// The form model's records and their reset.
#include <memory>

#include "forms/my_forms.hpp"
#include "forms/my_forms_internal.hpp"
#include "util/renew.hpp"

Frm000 frm000;
Frm999 frm999;
Frmc00 frmc00;
Frmc01 frmc01;
Frmi01 frmi01;
Frmi02 frmi02;
Frmi03 frmi03;
Frmt01 frmt01;

namespace {
FormAppHooks hooks;
}  // namespace

void frm_set_app_hooks(FormAppHooks h) { hooks = std::move(h); }
const FormAppHooks& frm_detail::app_hooks() { return hooks; }

namespace {

// The records as frm_init_form leaves them, made once. A definition is read after every reset;
// copying these back is a copy per record instead of constructing thousands of text fields.
struct BlankModel {
    Frmc00 c00;
    Frmc01 c01;
    Frmi01 i01;
    Frmi02 i02;
    decltype(Frmi03::ddl_txt) ddl_txt;
    Frmt01 t01;

    BlankModel() {
        i01.inpt_min.fill(no_limit_min);
        i01.inpt_max.fill(no_limit_max);
        i01.inpt_act.fill(1);
        i01.inpt_dep.fill(-1);
        OneBased<int, 4> no_pos;
        no_pos.fill(-1);
        i01.inpt_pos.fill(no_pos);
        i01.inpt_ddl.fill(-1);
    }
};

}  // namespace

void frm_init_form() {
    static const auto blank = std::make_unique<const BlankModel>();  // 140 kB: not on the stack
    Frm999 kept = frm999;
    renew(frm000);
    renew(frm999);
    frm999.window_id = kept.window_id;
    frm999.qfr = kept.qfr;
    frmc00 = blank->c00;
    frmc01 = blank->c01;
    frmi01 = blank->i01;
    frmi02 = blank->i02;
    frmi03.ddl_txt = blank->ddl_txt;  // ddl_nbli is kept
    frmt01 = blank->t01;
}

void reset_form_model() {
    hooks = {};
    renew(frm999);
    renew(frmi03);
    frm_init_form();
}
