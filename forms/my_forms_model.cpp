// The form model's records and their reset.
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

void frm_init_form() {
    Frm999 kept = frm999;
    renew(frm000);
    renew(frm999);
    frm999.window_id = kept.window_id;
    frm999.qfr = kept.qfr;
    renew(frmc00);
    renew(frmc01);

    renew(frmi01);
    frmi01.inpt_min.fill(no_limit_min);
    frmi01.inpt_max.fill(no_limit_max);
    frmi01.inpt_act.fill(1);
    frmi01.inpt_dep.fill(-1);
    OneBased<int, 4> no_pos;
    no_pos.fill(-1);
    frmi01.inpt_pos.fill(no_pos);
    frmi01.inpt_ddl.fill(-1);

    renew(frmi02);
    renew(frmi03.ddl_txt);  // ddl_nbli is kept
    renew(frmt01);
}

void reset_form_model() {
    hooks = {};
    renew(frm999);
    renew(frmi03);
    frm_init_form();
}
