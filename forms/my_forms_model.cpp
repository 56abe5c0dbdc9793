// The form model's records and their reset.
#include <memory>

#include "forms/my_forms.hpp"
#include "forms/my_forms_internal.hpp"
#include "util/renew.hpp"

using frm_detail::ctx;

namespace {
FormContext* current = nullptr;
}  // namespace

std::unique_ptr<FormContext> frm_create_context() {
    auto form = std::make_unique<FormContext>();
    FormContext* was = current;
    current = form.get();
    reset_form_model();
    current = was;
    return form;
}

void frm_set_context(FormContext* form) {
    current = form;
    set_form_view(form != nullptr ? &form->FormView : nullptr);
}

FormContext& frm_context() {
    if (current == nullptr) std::abort();  // a programming error: no form made current
    return *current;
}

FormContext* frm_current_context() { return current; }

void frm_set_app_hooks(FormAppHooks h) { ctx().hooks = std::move(h); }
const FormAppHooks& frm_detail::app_hooks() { return ctx().hooks; }

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
    Frm999 kept = ctx().frm999;
    renew(ctx().frm000);
    renew(ctx().frm999);
    ctx().frm999.window_id = kept.window_id;
    ctx().frm999.qfr = kept.qfr;
    ctx().frm999.qline = kept.qline;
    ctx().frmc00 = blank->c00;
    ctx().frmc01 = blank->c01;
    ctx().frmi01 = blank->i01;
    ctx().frmi02 = blank->i02;
    ctx().frmi03.ddl_txt = blank->ddl_txt;  // ddl_nbli is kept
    ctx().frmt01 = blank->t01;
}

void reset_form_model() {
    ctx().hooks = {};
    renew(ctx().frm999);
    renew(ctx().frmi03);
    frm_init_form();
}
